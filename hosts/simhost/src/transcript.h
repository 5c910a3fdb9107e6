// The stand-in debugger host's output: one line per event, serial bytes gathered into lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

#include "hostscript/escape.h"

namespace simhost {

using hostscript::Escape;

// Lines may come from several threads (stop-after's stop, a target's own threads): each is
// written whole.
class Transcript {
public:
    explicit Transcript(std::ostream& out) : m_out(out) {}

    // One line of output, flushed (any serial bytes gathered so far are written first).
    void Line(const std::string& text);
    // Bytes the target sent: consecutive bytes of one channel are gathered into one line
    // `serial <channel>: "<bytes>"`, written before the next other line or at Flush.
    void Serial(int32_t channel, const uint8_t* bytes, size_t count);
    void Flush();

private:
    void FlushLocked();

    std::mutex m_lock;
    std::ostream& m_out;
    bool m_serialPending = false;
    int32_t m_serialChannel = 0;
    std::string m_serialBytes;
};

}  // namespace simhost
