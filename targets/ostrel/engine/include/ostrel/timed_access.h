// TA of the Gristan chips: writing 0xAA and then 0x55 to it opens a window of a few machine
// cycles in which the bits of PCON, IP and MCON that timed access guards may change; outside a
// window an instruction's change of them is undone.
#pragma once

#include <cstdint>

#include "ostrel/chip_part.h"

namespace ostrel {

class CTimedAccess final : public CChipPart {
public:
    explicit CTimedAccess(CChip& chip) : CChipPart(chip) {}

    bool IsOpen() const { return m_open != 0; }

    // Notes the guarded bits before the instruction.
    SimStatus BeforeInstruction() override;
    // The second cycle of a two-cycle instruction, then the guarded bits back unless open.
    SimStatus AfterInstruction(int cycleClass) override;
    // The instruction's time; TA back to its idle value.
    void EndInstruction(int cycleClass) override;
    // Closed, TA at its idle value.
    void Reset() override;

private:
    // `cycles` machine cycles after an instruction of `cycleClass`: arms on 0xAA, opens on 0x55
    // while armed, closes when the window has run out, and puts TA back to its idle value.
    void Tick(int cycleClass, int32_t cycles);

    uint8_t m_open = 0;
    int32_t m_arming = 0;  // cycles left in which 0x55 opens the window
    int32_t m_window = 0;  // cycles left of the window
    uint8_t m_previous = 0;
    uint8_t m_pconBefore = 0;
    uint8_t m_ipBefore = 0;
};

}  // namespace ostrel
