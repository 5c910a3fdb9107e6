// MCON of the Gristan chips: the split of their one 32 KB RAM between program memory and the
// data space that MOVX reaches.
#pragma once

#include <array>
#include <cstdint>

namespace ostrel {

class CGristanTarget;

class CMconRegister {
public:
    // The RAM that program and data share, and the program part at start and after a reset.
    static constexpr uint32_t kRamSize = 0x8000;
    static constexpr uint32_t kStartPartition = 8192;
    static constexpr uint8_t kStartValue = 0xF8;

    // Bits of MCON.
    static constexpr uint8_t kPartitionBits = 0xF0;    // PA: the partition in 2 KB steps
    static constexpr uint8_t kRange = 0x08;            // with the 32 KB range: above 8 KB allowed
    static constexpr uint8_t kPartitionAccess = 0x02;  // PAA: PA may be changed
    static constexpr uint8_t kBit0 = 0x01;

    CMconRegister(CGristanTarget& target, bool range32k) : target_(target), range32k_(range32k) {}
    CMconRegister(const CMconRegister&) = delete;
    CMconRegister& operator=(const CMconRegister&) = delete;

    // Program memory's size in bytes; the PC must stay below it.
    uint32_t Partition() const { return partition_; }
    // Cleared while the partition leaves program memory no byte at all.
    bool Valid() const { return valid_ != 0; }
    uint8_t Latched() const { return latched_; }
    // Whether a step must look at MCON again: it differs from the latch, or the partition in
    // force was set while PAA was (and PAA may have been cleared since).
    bool NeedsUpdate(uint8_t mcon) const { return mcon != latched_ || heldByAccess_ != 0; }

    // The program's MCON after the step's own rules: latch it and split the RAM by it.
    void Update(uint8_t mcon);
    // A freshly loaded program: its spaces are what they were loaded as, the partition starts.
    void StartLoaded();
    // The chip's reset: the partition back to its start, the latch at MCON's reset value.
    void Reset();
    // Data-space bytes kept apart while a partition hides them are gone too.
    void ClearData() { dataSave_.fill(0); }

    // The partition that MCON names on this chip.
    uint32_t PartitionFor(uint8_t mcon) const;

private:
    // Rebuilds program memory and the data space for `partition` bytes of program; both keep
    // their contents by address across the change. False when memory could not be had (the
    // spaces are left as they were).
    bool Repartition(uint32_t partition);

    uint32_t partition_ = kStartPartition;
    CGristanTarget& target_;
    bool range32k_;
    uint8_t valid_ = 1;
    uint8_t latched_ = kStartValue;
    uint8_t heldByAccess_ = 0;
    // Program and data contents by address, for the parts a partition leaves out.
    std::array<uint8_t, kRamSize> programSave_{};
    std::array<uint8_t, kRamSize> dataSave_{};
};

}  // namespace ostrel
