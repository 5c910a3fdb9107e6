// The simulated-board base: recording, dispatching host events, sending at the board's times.
#include "boards/board.h"

#include <cstdio>

#include "w32/clock.h"

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

Board::Board(const LineSettings& listenAt) : boardLine_(listenAt) {}

uint64_t Board::Now() const { return inHandler_ ? now_ : w32::clock::NowMicros(); }

void Board::SendAt(uint64_t atTime, const std::vector<BYTE>& bytes) {
    if (cable_ == nullptr || bytes.empty()) {
        return;
    }
    std::vector<uint64_t> arrivals(bytes.size());
    cable_->SendToHost(bytes.data(), bytes.size(), atTime, arrivals.data());
    for (size_t i = 0; i < bytes.size(); ++i) {
        log_.Add(arrivals[i], ByteText("board>", bytes[i]));
    }
}

void Board::SendAt(uint64_t atTime, std::string_view text) {
    SendAt(atTime, std::vector<BYTE>(text.begin(), text.end()));
}

void Board::After(uint64_t delayMicros, std::function<void()> fn) {
    if (cable_ == nullptr) {
        return;
    }
    cable_->At(Now() + delayMicros, [this, fn = std::move(fn)](uint64_t time) {
        bool outer = inHandler_;
        uint64_t outerNow = now_;
        inHandler_ = true;
        now_ = time;
        fn();
        inHandler_ = outer;
        now_ = outerNow;
    });
}

void Board::Listen(const LineSettings& line) {
    boardLine_ = line;
    uint64_t from = Now();
    if (cable_ != nullptr) {
        from = cable_->SetDeviceLine(line, from);
    }
    log_.Add(from, "listen " + FramingText(line));
}

void Board::SetModemLines(DWORD lines) {
    modemLines_ = lines;
    if (cable_ != nullptr) {
        cable_->SetModemStatus(lines, Now());
    }
    log_.Add(Now(), ModemText(lines));
}

void Board::Attached(w32::vport::Cable& cable) {
    cable_ = &cable;
    cable.SetDeviceLine(boardLine_, 0);
    cable.SetModemStatus(modemLines_, 0);
}

void Board::Detached() { cable_ = nullptr; }

void Board::OnHostEvent(const w32::vport::HostEvent& e) {
    using w32::vport::EventKind;
    inHandler_ = true;
    now_ = e.time;
    switch (e.kind) {
        case EventKind::Open:
            hostOpen_ = true;
            hostLine_ = e.settings;
            log_.Add(e.time, "open " + FramingText(e.settings));
            OnOpen();
            break;
        case EventKind::Close:
            hostOpen_ = false;
            log_.Add(e.time, "close");
            OnClose();
            break;
        case EventKind::Byte:
            log_.Add(e.time, ByteText("host>", e.byte) + (e.garbled ? " garbled" : ""));
            OnByte(e.byte, e.garbled);
            break;
        case EventKind::Rts:
            rts_ = e.on;
            log_.Add(e.time, e.on ? "rts 1" : "rts 0");
            OnRts(e.on);
            break;
        case EventKind::Dtr:
            dtr_ = e.on;
            log_.Add(e.time, e.on ? "dtr 1" : "dtr 0");
            OnDtr(e.on);
            break;
        case EventKind::Settings:
            hostLine_ = e.settings;
            log_.Add(e.time, "settings " + FramingText(e.settings));
            OnHostSettings(e.settings);
            break;
        case EventKind::Purge:
            log_.Add(e.time, PurgeText(e.purgeFlags));
            OnPurge(e.purgeFlags);
            break;
    }
    inHandler_ = false;
}

}  // namespace boards
