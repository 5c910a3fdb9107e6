// The four memory spaces: host-side copies, and the board's memory through the kernel.
#include "kernel_target.h"

namespace yardlow {

namespace {

// A read of this many bytes is served from the host-side copy of any space.
constexpr uint32_t kWholeSpace = 0x10000;

}  // namespace

RegisterSpaces CKernelTarget::Spaces() {
    RegisterSpaces spaces;
    spaces.internalRam = m_internalRam.get();
    // "DPTR->" is the external-data byte DPTR points at.
    spaces.atDptr = m_externalData.get();
    return spaces;
}

SimStatus SIM_CALL CKernelTarget::ReadMemory(uint32_t address, uint8_t* buffer, uint32_t count,
                                             uint32_t* countRead, int32_t space) {
    CMemorySegment* segment = nullptr;
    const SimStatus begun = BeginRead(IsLoaded(), address, countRead, space, &segment);
    if (begun != SIM_OK) {
        return begun;
    }
    if (count == kWholeSpace || space == kSpaceSfr) {
        // From the host-side copy, cut at the end of the space.
        return CopyOut(*segment, address, buffer, count, countRead);
    }
    if (OpenPort() != 0) {
        return SIM_OUT_OF_RANGE;
    }
    PrepareExchange();
    // What the board's program memory holds under a planted breakpoint is the program's byte.
    if (space == kSpaceProgram && !RestoreLeftoverSlots()) {
        return SIM_OUT_OF_RANGE;
    }
    bool read = false;
    {
        Executing executing(*this);
        if (space == kSpaceProgram) {
            read = m_link.ReadCodeMemory(count, address, buffer);
        } else if (space == kSpaceInternalRam) {
            read = m_link.ReadIram(count, address, buffer);
        } else {
            read = m_link.ReadXdata(count, address, buffer);
        }
    }
    if (!read) {
        return SIM_OUT_OF_RANGE;
    }
    if (space == kSpaceExternalData) {
        // The host-side copy follows what the board holds; nothing goes back to the board.
        segment->WriteBlock(address, count, buffer);
    }
    if (countRead != nullptr) {
        *countRead = count;
    }
    return SIM_OK;
}

SimStatus SIM_CALL CKernelTarget::WriteMemory(uint32_t address, const uint8_t* bytes,
                                              uint32_t count, uint32_t* countWritten,
                                              int32_t space) {
    const SimStatus begun = BeginWrite(IsLoaded(), countWritten, space, count);
    if (begun != SIM_OK) {
        return begun;
    }
    CMemorySegment* segment = Segment(space);
    if (segment == nullptr || !segment->IsRangeValid(address, count)) {
        return SIM_OUT_OF_RANGE;
    }
    if (space == kSpaceProgram) {
        // Program memory belongs to the download: the kernel writes it only for breakpoints.
        return SIM_NOT_SUPPORTED;
    }
    if (space != kSpaceSfr && count != 0) {
        // The model's SFRs reach the board with the next register block; RAM and external data
        // are written there now, and the host-side copy follows only what the board took.
        const int opened = OpenPort();
        if (opened != 0) {
            return static_cast<SimStatus>(opened);
        }
        PrepareExchange();
        Executing executing(*this);
        const bool written = space == kSpaceInternalRam ? m_link.WriteIram(count, address, bytes)
                                                        : m_link.WriteXdata(count, address, bytes);
        if (!written) {
            return SIM_EXECUTION_STOPPED;
        }
    }
    segment->WriteBlock(address, count, bytes);
    if (countWritten != nullptr) {
        *countWritten = count;
    }
    return SIM_OK;
}

}  // namespace yardlow
