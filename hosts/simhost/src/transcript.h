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
    // `serial <channel>: "<bytes>"`, written before the next other line or at Flush. Of a
    // stretch longer than kSerialKept bytes only the last kSerialKept are kept; the line is then
    // preceded by `serial <channel>: N earlier bytes dropped (the last K follow)`.
    void Serial(int32_t channel, const uint8_t* bytes, size_t count);
    void Flush();

    // A program that talks on and on during a long run must not fill the host's memory.
    static constexpr size_t kSerialKept = 16384;

private:
    void FlushLocked();
    // Keeps the last kSerialKept bytes of the gathered ones, counting the others.
    void DropOldestSerial();

    std::mutex m_lock;
    std::ostream& m_out;
    bool m_serialPending = false;
    int32_t m_serialChannel = 0;
    std::string m_serialBytes;
    size_t m_serialDropped = 0;
};

}  // namespace simhost
