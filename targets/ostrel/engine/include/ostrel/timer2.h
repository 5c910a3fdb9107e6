// Timer 2 of the 8052 family: auto-reload (counting up, or up and down with DCEN), capture and
// baud-rate generation, with the external input T2EX (P1.1).
#pragma once

#include <cstdint>

#include "ostrel/chip_part.h"

namespace ostrel {

class CTimer2 final : public CChipPart {
public:
    // Variant 1 is the 8052, which has no T2MOD (Timer 2 reads it as 0); variant 2 has it.
    CTimer2(CChip& chip, int variant) : CChipPart(chip), m_variant(variant) {}

    int Variant() const { return m_variant; }

    // Whether TF2, or EXF2 outside the up-and-down counting, asks for the interrupt.
    bool InterruptRequested() const;
    // RCLK or TCLK: the serial port takes its clock from Timer 2's overflows.
    bool IsBaudRateGenerator() const;
    // 1 counting up, 0 down (only DCEN's counting looks at it).
    bool CountsUp() const { return m_countUp != 0; }

    // Timer 2's machine cycle comes after the 8051's own peripherals have finished theirs.
    uint32_t Beats() const override { return kEndBeat; }
    void EndCycle(const MachineCycle& cycle) override;
    uint32_t QuietCycles() const override;
    void PassCycles(uint32_t cycles) override;
    // Its six registers 0; its own state (latches, T2EX, direction) is left as it is.
    void Reset() override;
    void PowerOn() override;

private:
    // A change on T2EX waits one step, two when the instruction lasts two cycles.
    struct Pending {
        uint8_t active = 0;
        uint8_t steps = 0;

        // True in the step in which the wait ends.
        bool Ripen() {
            if (active == 0 || --steps != 0) {
                return false;
            }
            active = 0;
            return true;
        }
    };

    // What a step's counting needs to know of the controls and of T2EX.
    bool Counting() const;
    uint8_t T2modSeen() const;
    void Latch();
    void Step(int cycleClass, int32_t count);
    // The counting of one step by the mode of `t2con`; `edgeSeen` is a T2EX falling edge that
    // reaches the timer now, `flipped` a direction change that does.
    void Count(uint8_t t2con, int32_t count, bool edgeSeen, bool flipped);

    int m_variant;
    uint8_t m_latchedT2con = 0;
    uint8_t m_latchedT2mod = 0;
    uint8_t m_previousT2ex = 1;
    uint8_t m_countUp = 1;
    Pending m_edge;
    Pending m_directionChange;
};

}  // namespace ostrel
