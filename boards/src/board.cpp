// The simulated-board base: recording, dispatching host events, sending at the board's times.
#include "boards/board.h"

#include <cstdio>

#include "w32test/clock.h"

namespace boards {
namespace {

std::string ByteText(const char* direction, BYTE b) {
    char text[32];
    if (b >= 0x20 && b < 0x7F && b != '\'') {
        std::snprintf(text, sizeof text, "%s %02X '%c'", direction, b, b);
    } else {
        std::snprintf(text, sizeof text, "%s %02X", direction, b);
    }
    return text;
}

std::string PurgeText(DWORD flags) {
    std::string text = "purge";
    if (flags & (PURGE_RXABORT | PURGE_RXCLEAR)) {
        text += " rx";
    }
    if (flags & (PURGE_TXABORT | PURGE_TXCLEAR)) {
        text += " tx";
    }
    return text;
}

std::string ModemText(DWORD lines) {
    std::string text = "modem";
    if (lines & MS_CTS_ON) {
        text += " CTS";
    }
    if (lines & MS_DSR_ON) {
        text += " DSR";
    }
    if (lines & MS_RING_ON) {
        text += " RING";
    }
    if (lines & MS_RLSD_ON) {
        text += " RLSD";
    }
    return text;
}

}  // namespace

std::string FramingText(const LineSettings& line) {
    static const char kParity[] = "NOEMS";
    static const char* const kStop[] = {"1", "1.5", "2"};
    char text[48];
    std::snprintf(text, sizeof text, "%lu %u%c%s", static_cast<unsigned long>(line.baud),
                  line.dataBits, line.parity < 5 ? kParity[line.parity] : '?',
                  line.stopBits < 3 ? kStop[line.stopBits] : "?");
    return text;
}

Board::Board(const LineSettings& listenAt) : m_boardLine(listenAt) {}

uint64_t Board::Now() const { return m_inHandler ? m_now : w32test::clock::NowMicros(); }

void Board::SendAt(uint64_t atTime, const std::vector<BYTE>& bytes) {
    if (m_cable == nullptr || bytes.empty()) {
        return;
    }
    std::vector<uint64_t> arrivals(bytes.size());
    m_cable->SendToHost(bytes.data(), bytes.size(), atTime, arrivals.data());
    for (size_t i = 0; i < bytes.size(); ++i) {
        m_log.Add(arrivals[i], ByteText("board>", bytes[i]));
    }
}

void Board::SendAt(uint64_t atTime, std::string_view text) {
    SendAt(atTime, std::vector<BYTE>(text.begin(), text.end()));
}

void Board::After(uint64_t delayMicros, std::function<void()> fn) {
    if (m_cable == nullptr) {
        return;
    }
    uint64_t tag = m_nextTimer++;
    m_timers.emplace(tag, std::move(fn));
    m_cable->At(Now() + delayMicros, tag);
}

void Board::OnTimer(uint64_t time, uint64_t tag) {
    auto it = m_timers.find(tag);
    if (it == m_timers.end()) {
        return;
    }
    std::function<void()> fn = std::move(it->second);
    m_timers.erase(it);
    bool outer = m_inHandler;
    uint64_t outerNow = m_now;
    m_inHandler = true;
    m_now = time;
    fn();
    m_inHandler = outer;
    m_now = outerNow;
}

void Board::Listen(const LineSettings& line) {
    m_boardLine = line;
    uint64_t from = Now();
    if (m_cable != nullptr) {
        from = m_cable->SetDeviceLine(line, from);
    }
    m_log.Add(from, "listen " + FramingText(line));
}

void Board::SetModemLines(DWORD lines) {
    m_modemLines = lines;
    if (m_cable != nullptr) {
        m_cable->SetModemStatus(lines, Now());
    }
    m_log.Add(Now(), ModemText(lines));
}

void Board::FailNext(CallKind kind, DWORD count, DWORD error) {
    if (m_cable != nullptr) {
        m_cable->FailNext(kind, count, error);
    }
}

void Board::Attached(w32test::vport::Cable& cable) {
    m_cable = &cable;
    cable.SetDeviceLine(m_boardLine, 0);
    cable.SetModemStatus(m_modemLines, 0);
}

void Board::Detached() {
    m_cable = nullptr;
    m_timers.clear();
}

void Board::OnHostEvent(const w32test::vport::HostEvent& e) {
    using w32test::vport::EventKind;
    m_inHandler = true;
    m_now = e.time;
    switch (e.kind) {
        case EventKind::Open:
            m_hostOpen = true;
            m_hostLine = e.settings;
            m_log.Add(e.time, "open " + FramingText(e.settings));
            OnOpen();
            break;
        case EventKind::Close:
            m_hostOpen = false;
            m_log.Add(e.time, "close");
            OnClose();
            break;
        case EventKind::Byte:
            m_log.Add(e.time, ByteText("host>", e.byte) + (e.garbled ? " garbled" : ""));
            OnByte(e.byte, e.garbled);
            break;
        case EventKind::Rts:
            m_rts = e.on;
            m_log.Add(e.time, e.on ? "rts 1" : "rts 0");
            OnRts(e.on);
            break;
        case EventKind::Dtr:
            m_dtr = e.on;
            m_log.Add(e.time, e.on ? "dtr 1" : "dtr 0");
            OnDtr(e.on);
            break;
        case EventKind::Settings:
            m_hostLine = e.settings;
            m_log.Add(e.time, "settings " + FramingText(e.settings));
            OnHostSettings(e.settings);
            break;
        case EventKind::Purge:
            m_log.Add(e.time, PurgeText(e.purgeFlags));
            OnPurge(e.purgeFlags);
            break;
    }
    m_inHandler = false;
}

}  // namespace boards
