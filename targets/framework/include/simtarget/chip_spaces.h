// CChipSpaces: the four memory spaces a single-chip 8051 target shows the host, kept as host-side
// copies, with the checks every read and write of them begins with.
#pragma once

#include <cstdint>
#include <memory>

#include "simtarget/memory_segment.h"
#include "simtarget/sim_status.h"

namespace chip_spaces {

// Indices of the four memory spaces the host sees.
enum MemorySpaceIndex : int32_t {
    kSpaceSfr = 0,
    kSpaceProgram = 1,
    kSpaceInternalRam = 2,
    kSpaceExternalData = 3,
    kMemorySpaceCount = 4,
};

}  // namespace chip_spaces

// A target derives it beside its target base and creates the four segments when it loads. It has
// no virtual operation, so the slots of the target's table stay where the target base puts them.
class CChipSpaces {
public:
    // The segment of `space`; null for an unknown space or one not created yet.
    CMemorySegment* Segment(int32_t space) const;
    // The host's GetMemorySpaceInfo: 0 for an unknown space, else the name and the size (0 before
    // the space exists).
    uint8_t SpaceInfo(int32_t space, const char** name, uint32_t* size) const;
    // The program byte at `address` (within 64 KiB); 0 before the program memory exists.
    uint8_t ProgramByte(uint32_t address) const;

    // What every read begins with: SIM_NOT_LOADED, *countRead 0, then SIM_OUT_OF_RANGE for an
    // unknown space or an address outside it; SIM_OK with the space's segment in *segment.
    SimStatus BeginRead(bool loaded, uint32_t address, uint32_t* countRead, int32_t space,
                        CMemorySegment** segment) const;
    // A read served from the host-side copy alone, cut at the end of the space.
    SimStatus ReadHostCopy(bool loaded, uint32_t address, uint8_t* buffer, uint32_t count,
                           uint32_t* countRead, int32_t space) const;
    // The host-side copy's bytes from `address`, cut at the end of `segment`.
    static SimStatus CopyOut(CMemorySegment& segment, uint32_t address, uint8_t* buffer,
                             uint32_t count, uint32_t* countRead);
    // What every write begins with: *countWritten 0, then SIM_NOT_LOADED, SIM_BAD_SPACE for an
    // unknown space, SIM_BAD_LENGTH for more than one SFR byte; SIM_OK otherwise.
    static SimStatus BeginWrite(bool loaded, uint32_t* countWritten, int32_t space, uint32_t count);

protected:
    CChipSpaces() = default;
    ~CChipSpaces() = default;
    CChipSpaces(const CChipSpaces&) = delete;
    CChipSpaces& operator=(const CChipSpaces&) = delete;

    std::unique_ptr<CMemorySegment> m_sfrSpace;
    std::unique_ptr<CProgramMemory> m_program;
    std::unique_ptr<CMemorySegment> m_internalRam;
    std::unique_ptr<CMemorySegment> m_externalData;
};
