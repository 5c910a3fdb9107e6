// Timer 0 and Timer 1: their counting in the four modes, the controls they take from TCON and
// TMOD as latched at machine-cycle boundaries, and their overflows (which raise TF0 and TF1, and
// clock the serial port from Timer 1).
#pragma once

#include <cstdint>

#include "ostrel/chip_part.h"

namespace ostrel {

class CTimers final : public CChipPart {
public:
    explicit CTimers(CChip& chip) : CChipPart(chip) {}

    // The copies of TCON and TMOD taken at machine-cycle boundaries: the timers run by their
    // TR, GATE and C/T bits, the interrupt controller takes TF0, TF1, IE0 and IE1 from them.
    uint8_t LatchedTcon() const { return m_latchedTcon; }
    uint8_t LatchedTmod() const { return m_latchedTmod; }
    void SetLatchedTcon(uint8_t value) { m_latchedTcon = value; }

    uint32_t Beats() const override { return kBeginBeat | kMidBeat | kEndBeat; }
    void BeginCycle(const MachineCycle& cycle) override;
    void MidCycle(const MachineCycle& cycle) override;
    void EndCycle(const MachineCycle& cycle) override;
    uint32_t QuietCycles() const override;
    void PassCycles(uint32_t cycles) override;
    // TCON, TMOD and the four count registers 0, the latches 0.
    void Reset() override;

private:
    uint8_t m_latchedTcon = 0;
    uint8_t m_latchedTmod = 0;
};

}  // namespace ostrel
