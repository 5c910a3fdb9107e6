// The four memory spaces of a single-chip target: names, sizes and the host-side copies.
#include "simtarget/chip_spaces.h"

#include <cstring>

using namespace chip_spaces;

namespace {

const char* const kSpaceNames[kMemorySpaceCount] = {
    "Special Function Registers Memory", "Program Memory", "Internal Ram", "External Data Ram"};

}  // namespace

CMemorySegment* CChipSpaces::Segment(int32_t space) const {
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

uint8_t CChipSpaces::SpaceInfo(int32_t space, const char** name, uint32_t* size) const {
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

uint8_t CChipSpaces::ProgramByte(uint32_t address) const {
    return m_program != nullptr ? m_program->ReadByte(address & 0xFFFF) : 0;
}

SimStatus CChipSpaces::BeginRead(bool loaded, uint32_t address, uint32_t* countRead, int32_t space,
                                 CMemorySegment** segment) const {
    if (!loaded) {
        return SIM_NOT_LOADED;
    }
    if (countRead != nullptr) {
        *countRead = 0;
    }
    *segment = Segment(space);
    if (*segment == nullptr || !(*segment)->IsAddressValid(address)) {
        return SIM_OUT_OF_RANGE;
    }
    return SIM_OK;
}

SimStatus CChipSpaces::ReadHostCopy(bool loaded, uint32_t address, uint8_t* buffer, uint32_t count,
                                    uint32_t* countRead, int32_t space) const {
    CMemorySegment* segment = nullptr;
    const SimStatus begun = BeginRead(loaded, address, countRead, space, &segment);
    if (begun != SIM_OK) {
        return begun;
    }
    return CopyOut(*segment, address, buffer, count, countRead);
}

SimStatus CChipSpaces::CopyOut(CMemorySegment& segment, uint32_t address, uint8_t* buffer,
                               uint32_t count, uint32_t* countRead) {
    const uint32_t available = segment.GetSize() - address;
    const uint32_t n = count < available ? count : available;
    std::memcpy(buffer, segment.PointerAt(address), n);
    if (countRead != nullptr) {
        *countRead = n;
    }
    return SIM_OK;
}

SimStatus CChipSpaces::BeginWrite(bool loaded, uint32_t* countWritten, int32_t space,
                                  uint32_t count) {
    if (countWritten != nullptr) {
        *countWritten = 0;
    }
    if (!loaded) {
        return SIM_NOT_LOADED;
    }
    if (space < 0 || space >= kMemorySpaceCount) {
        return SIM_BAD_SPACE;
    }
    if (space == kSpaceSfr && count > 1) {
        return SIM_BAD_LENGTH;
    }
    return SIM_OK;
}
