// The simulated-board base: recording, dispatching host events, sending at the board's times.
#include "boards/board.h"

#include <algorithm>
#include <cstdio>
#include <string>

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

uint64_t Board::Now() const {
    return m_handlerThread.load() == std::this_thread::get_id() ? m_now
                                                                : w32test::clock::NowMicros();
}

LineSettings Board::HostLine() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_hostLine;
}

LineSettings Board::BoardLine() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_boardLine;
}

template <typename Handler>
void Board::AtTime(uint64_t time, Handler handler) {
    // Handlers nest when a timer fires inside one; the outer one's time comes back after.
    std::thread::id outerThread = m_handlerThread.load();
    uint64_t outerNow = m_now;
    m_now = time;
    m_handlerThread = std::this_thread::get_id();
    handler();
    m_handlerThread = outerThread;
    m_now = outerNow;
}

void Board::SendAt(uint64_t atTime, const std::vector<BYTE>& bytes) {
    w32test::vport::Cable* cable = m_cable.load();
    if (cable == nullptr || bytes.empty()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_toHostLock);
        if (m_toHostDamage != nullptr) {
            SendDamaged(*cable, atTime, bytes);
            return;
        }
    }
    std::vector<uint64_t> arrivals(bytes.size());
    cable->SendToHost(bytes.data(), bytes.size(), atTime, arrivals.data());
    for (size_t i = 0; i < bytes.size(); ++i) {
        m_log.Add(arrivals[i], ByteText("board>", bytes[i]));
    }
}

void Board::SendAt(uint64_t atTime, std::string_view text) {
    SendAt(atTime, std::vector<BYTE>(text.begin(), text.end()));
}

void Board::After(uint64_t delayMicros, std::function<void()> fn) {
    w32test::vport::Cable* cable = m_cable.load();
    if (cable == nullptr) {
        return;
    }
    uint64_t tag;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        tag = m_nextTimer++;
        m_timers.emplace(tag, std::move(fn));
    }
    cable->At(Now() + delayMicros, tag);
}

void Board::OnTimer(uint64_t time, uint64_t tag) {
    std::function<void()> fn;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        auto it = m_timers.find(tag);
        if (it == m_timers.end()) {
            return;
        }
        fn = std::move(it->second);
        m_timers.erase(it);
    }
    AtTime(time, fn);
}

void Board::Listen(const LineSettings& line) {
    uint64_t from = Now();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_boardLine = line;
    }
    w32test::vport::Cable* cable = m_cable.load();
    if (cable != nullptr) {
        from = cable->SetDeviceLine(line, from);
    }
    m_log.Add(from, "listen " + FramingText(line));
}

void Board::SetModemLines(DWORD lines) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_modemLines = lines;
    }
    w32test::vport::Cable* cable = m_cable.load();
    if (cable != nullptr) {
        cable->SetModemStatus(lines, Now());
    }
    m_log.Add(Now(), ModemText(lines));
}

void Board::FailNext(CallKind kind, DWORD count, DWORD error) {
    w32test::vport::Cable* cable = m_cable.load();
    if (cable != nullptr) {
        cable->FailNext(kind, count, error);
    }
}

void Board::ArmWriteFault() {
    if (m_failWriteAt != 0 && m_received + 1 == m_failWriteAt) {
        m_failWriteAt = 0;
        FailNext(CallKind::Write, 1, ERROR_GEN_FAILURE);
        m_log.Add(Now(), "the host's next write fails");
    }
}

void Board::Attached(w32test::vport::Cable& cable) {
    LineSettings line;
    DWORD modem;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        line = m_boardLine;
        modem = m_modemLines;
    }
    cable.SetDeviceLine(line, 0);
    cable.SetModemStatus(modem, 0);
    m_cable = &cable;
}

void Board::Detached() {
    m_cable = nullptr;
    std::lock_guard<std::mutex> lock(m_lock);
    m_timers.clear();
}

void Board::OnHostEvent(const w32test::vport::HostEvent& e) {
    using w32test::vport::EventKind;
    if (e.unchanged) {
        // A line call that left the line where it was: the board follows levels, so only a log
        // that was asked for every call notes it.
        if (m_logEveryLineCall) {
            const char* name = e.kind == EventKind::Rts ? "rts " : "dtr ";
            AtTime(e.time, [&] {
                m_log.Add(e.time, name + std::string(e.on ? "1" : "0") + " (unchanged)");
            });
        }
        return;
    }
    AtTime(e.time, [&] {
        switch (e.kind) {
            case EventKind::Open:
                m_hostOpen = true;
                SetHostLine(e.settings);
                m_log.Add(e.time, "open " + FramingText(e.settings));
                ArmWriteFault();
                OnOpen();
                break;
            case EventKind::Close:
                m_hostOpen = false;
                m_log.Add(e.time, "close");
                OnClose();
                break;
            case EventKind::Byte:
                HostByte(e.byte, e.garbled);
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
                SetHostLine(e.settings);
                m_log.Add(e.time, "settings " + FramingText(e.settings));
                OnHostSettings(e.settings);
                break;
            case EventKind::Purge:
                m_log.Add(e.time, PurgeText(e.purgeFlags));
                OnPurge(e.purgeFlags);
                break;
        }
    });
}

void Board::DamageLine(const LineDamageSettings& settings) {
    m_toBoardDamage = std::make_unique<LineDamage>(settings, false);
    std::lock_guard<std::mutex> lock(m_toHostLock);
    m_toHostDamage = std::make_unique<LineDamage>(settings, true);
}

void Board::HostByte(BYTE byte, bool garbled) {
    if (m_toBoardDamage == nullptr) {
        ReceiveByte(byte, garbled, false);
        return;
    }
    uint64_t now = Now();
    // A character's time at the host's framing: start, data, parity and stop bits.
    LineSettings line = HostLine();
    uint64_t bits = 1u + line.dataBits + (line.parity != NOPARITY ? 1u : 0u) +
                    (line.stopBits == ONESTOPBIT ? 1u : 2u);
    uint64_t character = bits * 1000000u / (line.baud != 0 ? line.baud : 1u);
    if (m_lostUntil != 0 && now <= m_lostUntil) {
        m_log.Add(now, "damage: " + ByteText("host>", byte) + " lost with its message");
        m_lostUntil = now + 2 * character;
        return;
    }
    LineDamage::Hit hit = m_toBoardDamage->Next();
    bool damaged = false;
    switch (hit.harm) {
        case Harm::Drop:
            m_log.Add(now, "damage: " + ByteText("host>", byte) + " lost");
            return;
        case Harm::Truncate:
            m_log.Add(now, "damage: " + ByteText("host>", byte) + " lost, the message cut short");
            m_lostUntil = now + 2 * character;
            return;
        case Harm::Flip:
            byte ^= hit.mask;
            damaged = true;
            break;
        case Harm::Delay:
            m_heldUntil = std::max(m_heldUntil, now + hit.delayMicros);
            m_log.Add(now, "damage: " + ByteText("host>", byte) + " held " +
                               std::to_string(m_heldUntil - now) + " us");
            break;
        case Harm::None:
            break;
    }
    if (now >= m_heldUntil) {
        ReceiveByte(byte, garbled, damaged);
        return;
    }
    // Behind a held byte: it comes when that one does, in the order they were sent. A byte still
    // held when the host closes the port is lost with the line.
    After(m_heldUntil - now, [this, byte, garbled, damaged] {
        if (!m_hostOpen.load()) {
            m_log.Add(Now(), "damage: " + ByteText("host>", byte) + " lost, the port closed");
            return;
        }
        ReceiveByte(byte, garbled, damaged);
    });
}

void Board::ReceiveByte(BYTE byte, bool garbled, bool damaged) {
    m_log.Add(Now(),
              ByteText("host>", byte) + (garbled ? " garbled" : "") + (damaged ? " damaged" : ""));
    ++m_received;
    ArmWriteFault();
    OnByte(byte, garbled);
}

void Board::SendDamaged(w32test::vport::Cable& cable, uint64_t atTime, std::vector<BYTE> bytes) {
    // The bytes leave in pieces: a hold ends one piece, and the next leaves that much later.
    std::vector<BYTE> piece;
    std::vector<bool> damaged;
    uint64_t from = atTime;
    auto flush = [&] {
        if (piece.empty()) {
            return;
        }
        std::vector<uint64_t> arrivals(piece.size());
        cable.SendToHost(piece.data(), piece.size(), from, arrivals.data());
        for (size_t i = 0; i < piece.size(); ++i) {
            m_log.Add(arrivals[i], ByteText("board>", piece[i]) + (damaged[i] ? " damaged" : ""));
        }
        from = arrivals.back();
        piece.clear();
        damaged.clear();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        LineDamage::Hit hit = m_toHostDamage->Next();
        BYTE byte = bytes[i];
        if (hit.harm == Harm::Drop) {
            m_log.Add(from, "damage: " + ByteText("board>", byte) + " lost");
            continue;
        }
        if (hit.harm == Harm::Truncate) {
            m_log.Add(from, "damage: " + ByteText("board>", byte) + " lost, the message cut short" +
                                " (" + std::to_string(bytes.size() - i) + " bytes)");
            break;
        }
        if (hit.harm == Harm::Delay) {
            flush();
            from += hit.delayMicros;
            m_log.Add(from, "damage: " + ByteText("board>", byte) + " held " +
                                std::to_string(hit.delayMicros) + " us");
        }
        if (hit.harm == Harm::Flip) {
            byte ^= hit.mask;
        }
        piece.push_back(byte);
        damaged.push_back(hit.harm == Harm::Flip);
    }
    flush();
}

void Board::SetHostLine(const LineSettings& line) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_hostLine = line;
}

}  // namespace boards
