// When a serial read ends, from the port's COMMTIMEOUTS: shared by every kind of port.
#pragma once

#include <cstdint>

#include "w32/serial.h"

namespace w32 {
namespace serial {

constexpr uint64_t kNoDeadline = UINT64_MAX;

// The time limits of one read of `requested` bytes that starts at `startMicros`.
class ReadTimeouts {
public:
    ReadTimeouts(const COMMTIMEOUTS& timeouts, DWORD requested, uint64_t startMicros);

    // The read returns as soon as it holds any byte (and takes what is waiting with it).
    bool EndsWithAnyByte() const { return m_endsWithAnyByte; }

    // When the read ends if no further byte comes: it holds `got` bytes, the last of which came
    // at `lastByteMicros`. kNoDeadline when it may wait for ever.
    uint64_t Deadline(DWORD got, uint64_t lastByteMicros) const;

private:
    bool m_endsWithAnyByte = false;
    uint64_t m_totalDeadline = kNoDeadline;
    uint64_t m_intervalMicros = 0;  // 0: no limit between bytes
};

}  // namespace serial
}  // namespace w32
