// The one interface through which the chip's engine advances each of its on-chip peripherals:
// the registers a part serves, its machine cycles (one at a time, or many at once while it is
// quiet), the work it does around each instruction, and its reset.
#pragma once

#include <cstdint>

#include "ostrel/cpu_state.h"
#include "simtarget/sim_status.h"

namespace ostrel {

class CChip;

// One machine cycle, as the parts see it.
struct MachineCycle {
    int cycleClass;  // of the instruction it belongs to: 1, 2, 3 (four cycles); 1 in idle
    int index;       // 1 for an instruction's first cycle, 2 to 4 for later ones and the entry's
    int32_t count;   // what a running timer adds in it
};

class CChipPart {
public:
    // More machine cycles than any program waits for: a part that nothing will change.
    static constexpr uint32_t kQuietForever = 0xFFFFFFFFu;

    // --- registers: the chip routes the addresses a part claims to it, the part up to date ---
    // A read of `address` by the program, of the bits in `mask` (0xFF for the whole byte); the
    // register's byte by default.
    virtual uint8_t ReadRegister(uint8_t address, uint8_t mask);
    // A write of `address` by the program (a bit write comes as the whole new byte); stored by
    // default.
    virtual void WriteRegister(uint8_t address, uint8_t value);

    // --- time ---
    // A machine cycle comes in three beats, each run for every part in the chip's order before
    // the next: what the cycle before left pending, then the counting, then the samples and
    // latches that the next cycle compares with. A part names the beats it acts in.
    enum Beat : uint32_t { kBeginBeat = 1, kMidBeat = 2, kEndBeat = 4 };
    virtual uint32_t Beats() const { return 0; }
    virtual void BeginCycle(const MachineCycle&) {}
    virtual void MidCycle(const MachineCycle&) {}
    virtual void EndCycle(const MachineCycle&) {}
    // Machine cycles from now in which the part changes nothing but its own counts, whatever the
    // instructions they belong to: the chip may let them pass at once with PassCycles.
    virtual uint32_t QuietCycles() const { return kQuietForever; }
    virtual void PassCycles(uint32_t) {}

    // --- instructions (parts that watch each instruction) ---
    // A failure ends the step: nothing later runs and the chip is left as it is.
    virtual SimStatus BeforeInstruction() { return SIM_OK; }
    virtual SimStatus AfterInstruction(int /*cycleClass*/) { return SIM_OK; }
    virtual void EndInstruction(int /*cycleClass*/) {}

    // --- life ---
    // A program freshly loaded into new memory: the part as at construction.
    virtual void PowerOn() { Reset(); }
    // The chip's reset.
    virtual void Reset() = 0;

protected:
    explicit CChipPart(CChip& chip);
    ~CChipPart() = default;
    CChipPart(const CChipPart&) = delete;
    CChipPart& operator=(const CChipPart&) = delete;

    // The 256 special-function-register bytes, where the part's registers live.
    uint8_t* Sfr() const { return m_cpu.sfr; }

    CChip& m_chip;
    const engine::Cpu& m_cpu;
};

}  // namespace ostrel
