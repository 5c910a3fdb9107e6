// The interrupt controller: IE and IP, the running interrupt level, the external interrupt pins
// INT0 and INT1, the one-instruction wait of the latched requests, and the choice of the source
// that an interrupt entry takes.
#pragma once

#include <cstdint>

#include "ostrel/chip_part.h"

namespace ostrel {

// The interrupt sources that wait one instruction before they compete, in this order.
enum DelayFlag : int {
    kDelayExternal0 = 0,
    kDelayExternal1 = 1,
    kDelayTimer0 = 2,
    kDelayTimer1 = 3,
    kDelayFlagCount = 4,
};

class CInterruptController final : public CChipPart {
public:
    explicit CInterruptController(CChip& chip) : CChipPart(chip) {}

    // 0 none, 1 a low-priority routine runs, 2 high, 3 high over low.
    uint8_t Level() const { return m_level; }
    void SetLevel(uint8_t level) { m_level = level; }
    // RETI: high over low returns to low, any other level to none.
    void EndRoutine() { m_level = static_cast<uint8_t>(m_level > 1 ? m_level - 2 : 0); }

    bool DelayFlag(int which) const { return m_delay[which] != 0; }
    void SetDelayFlag(int which, bool on) { m_delay[which] = on ? 1 : 0; }
    // P3 as the last machine cycle ended: the INT0 and INT1 pins the next cycle compares with.
    uint8_t PreviousPins() const { return m_previousPins; }

    // Set when the instruction in hand wrote IE or IP; the chip clears it before each one.
    bool WrittenByInstruction() const { return m_written != 0; }
    void ForgetWrite() { m_written = 0; }

    // Whether any source asks for an interrupt now, or a latched request has not been recorded
    // yet; when neither, Choose would change nothing.
    bool AnyRequest() const;
    // The pending, enabled source that an entry takes after an instruction of `cycleClass`, by
    // priority and polling order: its vector, or -1. The level becomes the source's priority on
    // top of the level at the start. Sources seen for the first time after a one-cycle
    // instruction wait one instruction. Every latched request is recorded (RecordRequests), so
    // also while EA is clear.
    int32_t Choose(int cycleClass);
    // Sets the delay flag of every source whose request is latched, enabled or not: a request
    // that was pending while EA was clear, or through the instruction after a write of IE or IP
    // or after RETI, has waited its instruction and competes as soon as interrupts are taken.
    void RecordRequests();
    // The sources beyond the 8051's own (Timer 2): may replace `*vector` and raise the level as
    // Choose does, given the level it started from.
    void ChooseExtra(int32_t* vector, uint8_t startLevel);
    // The entry to `vector` happened: the request it took is acknowledged in TCON.
    void Acknowledge(int32_t vector);

    void WriteRegister(uint8_t address, uint8_t value) override;
    uint32_t Beats() const override { return kMidBeat | kEndBeat; }
    void MidCycle(const MachineCycle& cycle) override;
    void EndCycle(const MachineCycle& cycle) override;
    uint32_t QuietCycles() const override;
    // IE, IP and the level 0, no delay, the pins sampled high.
    void Reset() override;
    // As Reset, with the delay flags as a new chip has them.
    void PowerOn() override;

private:
    // The latched requests (TCON bits) whose delay flags are still clear.
    uint8_t UnrecordedRequests() const;

    uint8_t m_level = 0;
    uint8_t m_delay[kDelayFlagCount] = {0, 1, 0, 1};
    uint8_t m_previousPins = 0xFF;
    uint8_t m_written = 0;
};

}  // namespace ostrel
