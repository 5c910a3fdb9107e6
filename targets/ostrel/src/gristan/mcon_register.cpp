// The Gristan chips' partition: which part of their shared RAM is program memory, and the
// rebuilding of program memory and data space when MCON moves the split.
#include "gristan/mcon_register.h"

#include <algorithm>

#include "target_variants.h"

namespace ostrel {

namespace {

constexpr uint32_t kPartitionStep = 2048;
constexpr uint32_t kNarrowRangeLimit = 8192;

// Copies what fits of `segment` into `save` from address 0; the rest of `save` is kept.
template <size_t N>
void Keep(CMemorySegment* segment, std::array<uint8_t, N>& save) {
    if (segment == nullptr) {
        return;
    }
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    segment->GetBuffer(&bytes, &size);
    std::copy_n(bytes, std::min<uint32_t>(size, N), save.begin());
}

}  // namespace

uint32_t CMconRegister::PartitionFor(uint8_t mcon) const {
    // While PAA is set the split stands at the lowest step.
    const uint32_t pa = (mcon & kPartitionAccess) != 0 ? 1 : mcon >> 4;
    uint32_t partition = pa == 15 ? kRamSize : pa * kPartitionStep;
    if (!range32k_ || (mcon & kRange) == 0) {
        partition = std::min(partition, kNarrowRangeLimit);
    }
    return partition;
}

void CMconRegister::Update(uint8_t mcon) {
    // With PAA set the latch keeps the partition MCON had, so that clearing PAA moves the split
    // to what PA says by then.
    heldByAccess_ = (mcon & kPartitionAccess) != 0 ? 1 : 0;
    if (heldByAccess_ == 0) {
        latched_ = mcon;
    }
    Repartition(PartitionFor(mcon));
}

void CMconRegister::StartLoaded() {
    partition_ = kStartPartition;
    valid_ = 1;
    latched_ = kStartValue;
    heldByAccess_ = 0;
    programSave_.fill(0);
    dataSave_.fill(0);
}

void CMconRegister::Reset() {
    latched_ = kStartValue;
    heldByAccess_ = 0;
    Repartition(kStartPartition);
}

bool CMconRegister::Repartition(uint32_t partition) {
    if (partition == partition_) {
        return true;
    }
    // The RAM keeps program and data by address: what the new split leaves out is saved, what
    // it brings back comes from the saved bytes. Program memory as loaded may reach past the
    // first partition; all of it is kept.
    CProgramMemory* oldProgram = target_.ProgramMemory();
    const bool separateData = target_.GetExtMemMode() != ExtMemMode::Overlapped;
    Keep(oldProgram, programSave_);
    if (separateData) {
        Keep(target_.Space(kSpaceExternalData), dataSave_);
    }

    std::unique_ptr<CProgramMemory> program = CProgramMemory::Create(partition, &target_);
    std::unique_ptr<CMemorySegment> data;
    if (separateData) {
        data = CMemorySegment::Create(kRamSize - partition, &target_);
    }
    if (!program || (separateData && !data)) {
        return false;
    }
    program->WriteBlock(0, partition, programSave_.data());
    program->SetLowest(oldProgram->GetLowest());
    if (data) {
        data->WriteBlock(0, kRamSize - partition, dataSave_.data());
    }
    target_.ReplaceCodeAndData(std::move(program), std::move(data));
    partition_ = partition;
    valid_ = partition != 0 ? 1 : 0;
    return true;
}

}  // namespace ostrel
