// Line output of the stand-in debugger host.
#include "transcript.h"

namespace simhost {

void Transcript::Line(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_lock);
    FlushLocked();
    // Every line leaves at once: a reader at the other end of a pipe sees a long run's progress,
    // and a simhost that is killed has lost nothing it printed.
    m_out << text << '\n' << std::flush;
}

void Transcript::Serial(int32_t channel, const uint8_t* bytes, size_t count) {
    if (bytes == nullptr || count == 0) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_serialPending && channel != m_serialChannel) {
        FlushLocked();
    }
    m_serialPending = true;
    m_serialChannel = channel;
    m_serialBytes.append(reinterpret_cast<const char*>(bytes), count);
    // Dropped in stretches, so that each byte is moved at most once or twice.
    if (m_serialBytes.size() >= 2 * kSerialKept) {
        DropOldestSerial();
    }
}

void Transcript::DropOldestSerial() {
    if (m_serialBytes.size() > kSerialKept) {
        const size_t dropped = m_serialBytes.size() - kSerialKept;
        m_serialBytes.erase(0, dropped);
        m_serialDropped += dropped;
    }
}

void Transcript::Flush() {
    std::lock_guard<std::mutex> lock(m_lock);
    FlushLocked();
}

void Transcript::FlushLocked() {
    if (!m_serialPending) {
        return;
    }
    m_serialPending = false;
    DropOldestSerial();
    if (m_serialDropped != 0) {
        m_out << "serial " << m_serialChannel << ": " << m_serialDropped
              << " earlier bytes dropped (the last " << m_serialBytes.size() << " follow)\n";
    }
    m_out << "serial " << m_serialChannel << ": \"" << Escape(m_serialBytes) << "\"\n"
          << std::flush;
    m_serialBytes.clear();
    m_serialDropped = 0;
}

}  // namespace simhost
