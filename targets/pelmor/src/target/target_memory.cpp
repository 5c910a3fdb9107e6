// The four memory spaces: reads from the host-side copies, writes through the monitor first.
#include <cstring>

#include "monitor_target.h"

namespace pelmor {

namespace {

const char* const kSpaceNames[kMemorySpaceCount] = {
    "Special Function Registers Memory", "Program Memory", "Internal Ram", "External Data Ram"};

}  // namespace

CMemorySegment* CMonitorTarget::Segment(int32_t space) {
    switch (space) {
        case kSpaceSfr:
            return m_sfrSpace.get();
        case kSpaceProgram:
            return m_program.get();
        case kSpaceInternalRam:
            return m_internalRam.get();
        case kSpaceExternalData:
            return m_externalData.get();
        default:
            return nullptr;
    }
}

uint8_t SIM_CALL CMonitorTarget::GetMemorySpaceInfo(int32_t space, const char** name,
                                                    uint32_t* size) {
    if (space < 0 || space >= kMemorySpaceCount) {
        return 0;
    }
    CMemorySegment* segment = Segment(space);
    if (name != nullptr) {
        *name = kSpaceNames[space];
    }
    if (size != nullptr) {
        *size = segment != nullptr ? segment->GetSize() : 0;
    }
    return 1;
}

SimStatus SIM_CALL CMonitorTarget::ReadMemory(uint32_t address, uint8_t* buffer, uint32_t count,
                                              uint32_t* countRead, int32_t space) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (countRead != nullptr) {
        *countRead = 0;
    }
    CMemorySegment* segment = Segment(space);
    if (segment == nullptr || !segment->IsAddressValid(address)) {
        return SIM_OUT_OF_RANGE;
    }
    const uint32_t available = segment->GetSize() - address;
    const uint32_t n = count < available ? count : available;
    std::memcpy(buffer, segment->PointerAt(address), n);
    if (countRead != nullptr) {
        *countRead = n;
    }
    return SIM_OK;
}

SimStatus SIM_CALL CMonitorTarget::WriteMemory(uint32_t address, const uint8_t* bytes,
                                               uint32_t count, uint32_t* countWritten,
                                               int32_t space) {
    if (countWritten != nullptr) {
        *countWritten = 0;
    }
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (space < 0 || space >= kMemorySpaceCount) {
        return SIM_BAD_SPACE;
    }
    if (space == kSpaceSfr && count > 1) {
        return SIM_BAD_LENGTH;
    }
    if (space == kSpaceProgram || space == kSpaceExternalData) {
        // The monitor has no command that writes them.
        return SIM_NOT_SUPPORTED;
    }
    CMemorySegment* segment = Segment(space);
    if (segment == nullptr || !segment->IsRangeValid(address, count)) {
        return SIM_OUT_OF_RANGE;
    }
    if (count == 0) {
        return SIM_OK;
    }
    const int opened = PrepareExchange();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    DWORD written = 0;
    if (!m_link.WriteMemory(space, address, bytes, count, &written)) {
        return SIM_EXECUTION_STOPPED;
    }
    // The host-side copy follows only what the monitor took.
    segment->WriteBlock(address, count, bytes);
    if (countWritten != nullptr) {
        *countWritten = written;
    }
    return SIM_OK;
}

}  // namespace pelmor
