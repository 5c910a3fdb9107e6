// The Gristan chips' partition: which part of their shared RAM is program memory, the rules of
// MCON after an instruction, and the rebuilding of program memory and data space when MCON moves
// the split.
#include "ostrel/mcon_register.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "ostrel/chip.h"
#include "ostrel/sfr.h"

namespace ostrel {

namespace {

constexpr uint32_t kPartitionStep = 2048;
constexpr uint32_t kNarrowRangeLimit = 8192;

uint8_t Restore(uint8_t now, uint8_t before, uint8_t mask) {
    return static_cast<uint8_t>((now & ~mask) | (before & mask));
}

// Copies what fits of `view` into `save` from address 0; the rest of `save` is kept.
void Keep(const MemoryView& view, uint8_t* save) {
    std::copy_n(view.bytes, std::min(view.size, CMconRegister::kRamSize), save);
}

}  // namespace

uint32_t CMconRegister::PartitionFor(uint8_t mcon) const {
    // While PAA is set the split stands at the lowest step.
    const uint32_t pa = (mcon & sfr::MCON_PAA) != 0 ? 1 : mcon >> 4;
    uint32_t partition = pa == 15 ? kRamSize : pa * kPartitionStep;
    if (!m_range32k || (mcon & sfr::MCON_RANGE) == 0) {
        partition = std::min(partition, kNarrowRangeLimit);
    }
    return partition;
}

CMconRegister::CMconRegister(CChip& chip, bool range32k)
    : CChipPart(chip),
      m_range32k(range32k),
      m_programSave(new (std::nothrow) uint8_t[kRamSize]()),
      m_dataSave(new (std::nothrow) uint8_t[kRamSize]()) {}

void CMconRegister::PowerOn() {
    // The program as loaded may reach past the first partition: all of it is kept.
    if (CanKeepBytes()) {
        std::memset(m_programSave.get(), 0, kRamSize);
        std::memset(m_dataSave.get(), 0, kRamSize);
    }
    m_partition = kStartPartition;
    m_valid = 1;
    m_latched = sfr::MCON_RESET;
    m_heldByAccess = 0;
    Sfr()[sfr::MCON] = sfr::MCON_RESET;
}

void CMconRegister::Reset() {
    Sfr()[sfr::MCON] = sfr::MCON_RESET;
    m_latched = sfr::MCON_RESET;
    m_heldByAccess = 0;
    Repartition(kStartPartition);
}

void CMconRegister::ClearData() {
    if (m_dataSave) {
        std::memset(m_dataSave.get(), 0, kRamSize);
    }
}

SimStatus CMconRegister::BeforeInstruction() {
    if (m_valid == 0 || m_chip.Registers().Pc() >= m_partition) {
        return SIM_OUT_OF_RANGE;
    }
    m_before = Sfr()[sfr::MCON];
    return SIM_OK;
}

SimStatus CMconRegister::AfterInstruction(int) {
    uint8_t* const s = Sfr();
    // A step must look at MCON again when it differs from the latch, or when the partition in
    // force was set while PAA was (and PAA may have been cleared since).
    if (s[sfr::MCON] != m_latched || m_heldByAccess != 0) {
        // Bits that the step may not change go back to what they were, then MCON is latched and
        // the RAM split by it.
        uint8_t mcon = s[sfr::MCON];
        const CTimedAccess* timedAccess = m_chip.TimedAccess();
        if (timedAccess == nullptr || !timedAccess->IsOpen()) {
            mcon = Restore(mcon, m_before, sfr::MCON_PAA);
        }
        if ((m_before & sfr::MCON_PAA) == 0) {
            mcon = Restore(mcon, m_before, sfr::MCON_PA);
        }
        mcon = static_cast<uint8_t>((mcon & ~sfr::MCON_BIT0) | sfr::MCON_RANGE);
        s[sfr::MCON] = mcon;
        // With PAA set the latch keeps the partition MCON had, so that clearing PAA moves the
        // split to what PA says by then.
        m_heldByAccess = (mcon & sfr::MCON_PAA) != 0 ? 1 : 0;
        if (m_heldByAccess == 0) {
            m_latched = mcon;
        }
        Repartition(PartitionFor(mcon));
    }
    return m_valid != 0 ? SIM_OK : SIM_OUT_OF_RANGE;
}

bool CMconRegister::Repartition(uint32_t partition) {
    if (partition == m_partition) {
        return true;
    }
    if (!CanKeepBytes()) {
        return false;
    }
    // The RAM keeps program and data by address: what the new split leaves out is saved, what it
    // brings back comes from the saved bytes.
    const engine::Cpu& memory = m_chip.Memory();
    const bool separateData = !m_chip.ExternalDataIsCode();
    Keep({memory.code, memory.codeSize}, m_programSave.get());
    if (separateData) {
        Keep({memory.xdata, memory.xdataSize}, m_dataSave.get());
    }
    const uint32_t dataSize = separateData ? kRamSize - partition : 0;
    if (!m_chip.Host().ResizeCodeAndData(partition, dataSize)) {
        return false;
    }
    const engine::Cpu& rebound = m_chip.Memory();
    std::copy_n(m_programSave.get(), std::min(partition, rebound.codeSize), rebound.code);
    if (separateData) {
        std::copy_n(m_dataSave.get(), std::min(dataSize, rebound.xdataSize), rebound.xdata);
    }
    m_partition = partition;
    m_valid = partition != 0 ? 1 : 0;
    return true;
}

}  // namespace ostrel
