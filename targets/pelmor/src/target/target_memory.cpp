// The four memory spaces: reads from the host-side copies, writes through the monitor first.
#include "monitor_target.h"

namespace pelmor {

SimStatus SIM_CALL CMonitorTarget::ReadMemory(uint32_t address, uint8_t* buffer, uint32_t count,
                                              uint32_t* countRead, int32_t space) {
    return ReadHostCopy(IsLoaded(), address, buffer, count, countRead, space);
}

SimStatus SIM_CALL CMonitorTarget::WriteMemory(uint32_t address, const uint8_t* bytes,
                                               uint32_t count, uint32_t* countWritten,
                                               int32_t space) {
    const SimStatus begun = BeginWrite(IsLoaded(), countWritten, space, count);
    if (begun != SIM_OK) {
        return begun;
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
