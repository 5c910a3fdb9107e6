// MCON of the Gristan chips: the split of their one 32 KB RAM between program memory and the
// data space that MOVX reaches, checked before each instruction and moved after one that changed
// MCON.
#pragma once

#include <cstdint>
#include <memory>

#include "ostrel/chip_part.h"

namespace ostrel {

class CMconRegister final : public CChipPart {
public:
    // The RAM that program and data share, and the program part at start and after a reset.
    static constexpr uint32_t kRamSize = 0x8000;
    static constexpr uint32_t kStartPartition = 8192;

    // `range32k`: the 32 KB models, whose program part may grow past 8 KB. Changes of PAA need
    // an open timed-access window.
    CMconRegister(CChip& chip, bool range32k);

    // Program memory's size in bytes; the PC must stay below it.
    uint32_t Partition() const { return m_partition; }
    // Cleared while the partition leaves program memory no byte at all.
    bool Valid() const { return m_valid != 0; }
    // The partition that MCON names on this chip.
    uint32_t PartitionFor(uint8_t mcon) const;
    // Data-space bytes kept apart while a partition hides them are gone too.
    void ClearData();
    // Whether the bytes a partition leaves out can be kept (no split moves without them).
    bool CanKeepBytes() const { return m_programSave != nullptr && m_dataSave != nullptr; }

    // Outside the partition no instruction runs; notes MCON.
    SimStatus BeforeInstruction() override;
    // MCON's rules after an instruction that changed it, and the new split.
    SimStatus AfterInstruction(int cycleClass) override;
    // The partition back to its start, MCON at its reset value.
    void Reset() override;
    // A freshly loaded program: its spaces are what they were loaded as, the partition starts.
    void PowerOn() override;

private:
    // Rebuilds program memory and the data space for `partition` bytes of program; both keep
    // their contents by address across the change. False when memory could not be had (the
    // spaces are left as they were).
    bool Repartition(uint32_t partition);

    bool m_range32k;
    uint32_t m_partition = kStartPartition;
    uint8_t m_valid = 1;
    uint8_t m_latched = 0;
    uint8_t m_heldByAccess = 0;
    uint8_t m_before = 0;
    // Program and data contents by address, for the parts a partition leaves out.
    std::unique_ptr<uint8_t[]> m_programSave;
    std::unique_ptr<uint8_t[]> m_dataSave;
};

}  // namespace ostrel
