// The read-time-out rules of COMMTIMEOUTS, as one deadline per step of a read.
#include "read_timeouts.h"

#include <algorithm>

namespace w32 {
namespace serial {

ReadTimeouts::ReadTimeouts(const COMMTIMEOUTS& t, DWORD requested, uint64_t startMicros) {
    const uint64_t kMicrosPerMs = 1000;
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
        t.ReadTotalTimeoutConstant == 0) {
        // Return at once with whatever has arrived.
        m_endsWithAnyByte = true;
        m_totalDeadline = startMicros;
        return;
    }
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD) {
        // Wait up to the constant for a first byte, and return with it.
        m_endsWithAnyByte = true;
        m_totalDeadline = startMicros + t.ReadTotalTimeoutConstant * kMicrosPerMs;
        return;
    }
    if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0) {
        uint64_t totalMs = static_cast<uint64_t>(t.ReadTotalTimeoutMultiplier) * requested +
                           t.ReadTotalTimeoutConstant;
        m_totalDeadline = startMicros + totalMs * kMicrosPerMs;
    }
    if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD) {
        m_intervalMicros = static_cast<uint64_t>(t.ReadIntervalTimeout) * kMicrosPerMs;
    }
}

uint64_t ReadTimeouts::Deadline(DWORD got, uint64_t lastByteMicros) const {
    if (got == 0 || m_intervalMicros == 0) {
        return m_totalDeadline;
    }
    return std::min(m_totalDeadline, lastByteMicros + m_intervalMicros);
}

}  // namespace serial
}  // namespace w32
