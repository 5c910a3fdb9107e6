// The debug board's PIC: frames at its own rate, program and run modes, and the pass-through.
#include "boards/board_pic.h"

#include <cstdio>

namespace boards {
namespace {

constexpr BYTE kSetType = 0x01;
constexpr BYTE kWrite = 0x02;
constexpr BYTE kRead = 0x03;
constexpr BYTE kVersion = 0x05;
constexpr BYTE kTypeDirect = 1;
constexpr unsigned kSpaceBoundary = 0x2000;
constexpr unsigned kMemoryEnd = 0x3000;
constexpr unsigned kMaxBlock = 32;
constexpr uint64_t kPauseMicros = 7000;
constexpr uint64_t kReplyMicros = 500;
constexpr uint64_t kWriteMicros = 2000;

BYTE Sum(const std::vector<BYTE>& bytes, size_t count) {
    BYTE sum = 0;
    for (size_t i = 0; i < count; ++i) {
        sum = static_cast<BYTE>(sum + bytes[i]);
    }
    return sum;
}

bool PausedPosition(size_t position) {
    return position == 1 || position == 5 || position == 15 || position == 25;
}

}  // namespace

bool TakePicSettings(BoardOptions& options, PicSettings* settings, std::string* error) {
    std::string text;
    if (options.Take("pic-version", &text)) {
        if (text.size() != 4) {
            *error = "pic-version must be four characters";
            return false;
        }
        settings->version = text;
    }
    if (options.Take("pic-fault", &text)) {
        static const struct {
            const char* name;
            PicSettings::Fault fault;
        } kFaults[] = {{"bad-sum", PicSettings::Fault::BadSum},
                       {"bad-command", PicSettings::Fault::BadCommand},
                       {"bad-status", PicSettings::Fault::BadStatus},
                       {"short", PicSettings::Fault::Short}};
        bool known = false;
        for (const auto& entry : kFaults) {
            if (text == entry.name) {
                settings->fault = entry.fault;
                known = true;
            }
        }
        if (!known) {
            *error = "pic-fault must be bad-sum, bad-command, bad-status or short";
            return false;
        }
    }
    return options.TakeNumber("pic-frame", &settings->faultFrame, error) &&
           options.TakeNumber("pic-faults", &settings->faultCount, error) &&
           options.TakeNumber("silent-at", &settings->silentAt, error);
}

BoardPic::BoardPic(const LineSettings& picLine, const PicSettings& settings)
    : Board(picLine), m_picLine(picLine), m_settings(settings) {}

void BoardPic::FollowHost() {
    if (HostLine() != BoardLine()) {
        Listen(HostLine());
    }
}

void BoardPic::OnOpen() { FollowHost(); }

void BoardPic::OnHostSettings(const LineSettings&) { FollowHost(); }

void BoardPic::OnRts(bool on) {
    if (m_passThrough) {
        if (!on && (m_runAsked || ChipAsksToRun())) {
            m_passThrough = false;
            Release();
        }
        return;
    }
    if (on) {
        // The chip is held in reset; the PIC starts over.
        Hold();
        m_servedType = 0;
        m_frame.clear();
        m_frameLength = 0;
    } else if (!m_running) {
        Release();
    }
}

void BoardPic::Release() {
    m_running = true;
    Released();
}

void BoardPic::Hold() {
    if (m_running) {
        m_running = false;
        Held();
    }
}

void BoardPic::OnByte(BYTE byte, bool garbled) {
    ++m_received;
    if (m_settings.silentAt != 0 && m_received >= m_settings.silentAt) {
        m_silent = true;
    }
    if (m_silent) {
        return;
    }
    // A byte that came garbled (the host changed its framing under it) is noise to every part.
    LineSettings host = HostLine();
    if (garbled) {
        host.baud = 0;
    }
    if (m_passThrough) {
        // The PIC keeps listening at its own rate for the 'R' that gives the line back.
        if (host == m_picLine && byte == 'R') {
            m_runAsked = true;
        }
        PassThroughByte(byte, host);
        return;
    }
    if (host == m_picLine && !(m_running && ChipOwnsLine())) {
        TakeFrameByte(byte);
    } else {
        // At another rate the PIC sees garbage, and loses the frame it was reading.
        m_frame.clear();
        m_frameLength = 0;
    }
    if (m_running) {
        RunningByte(byte, host);
    }
}

void BoardPic::TakeFrameByte(BYTE byte) {
    const uint64_t now = Now();
    if (m_frame.empty()) {
        switch (byte) {
            case kSetType:
                m_frameLength = 3;
                break;
            case kVersion:
                m_frameLength = 1;
                break;
            case kRead:
                m_frameLength = 6;
                break;
            case kWrite:
                m_frameLength = 0;  // known once the count has come
                break;
            default:
                return;  // not a command: the PIC waits for one
        }
        m_frameLate = false;
    } else if (m_frame[0] == kWrite && PausedPosition(m_frame.size()) &&
               now - m_lastByteTime < kPauseMicros) {
        m_frameLate = true;
        char note[96];
        std::snprintf(note, sizeof note, "pic: write frame byte %zu came %llu us after byte %zu",
                      m_frame.size(), static_cast<unsigned long long>(now - m_lastByteTime),
                      m_frame.size() - 1);
        Log().Add(now, note);
    }
    m_frame.push_back(byte);
    m_lastByteTime = now;
    if (m_frame[0] == kWrite && m_frame.size() == 3) {
        m_frameLength = 6 + static_cast<size_t>(byte);
    }
    if (m_frameLength != 0 && m_frame.size() == m_frameLength) {
        CarryOutFrame();
        m_frame.clear();
        m_frameLength = 0;
    }
}

BYTE BoardPic::CheckBlock(BYTE space, unsigned count, unsigned address) const {
    if (count < 1 || count > kMaxBlock) {
        return 1;
    }
    if (space == 1) {
        return address + count <= kSpaceBoundary ? 0 : 1;
    }
    if (space == 5) {
        return address >= kSpaceBoundary && address + count <= kMemoryEnd ? 0 : 1;
    }
    return 1;
}

bool BoardPic::Spoils(BYTE command) {
    bool spoil = m_settings.fault != PicSettings::Fault::None &&
                 (m_settings.faultFrame == 0 || m_settings.faultFrame == command) &&
                 (m_settings.faultCount == 0 || m_spoilt < m_settings.faultCount);
    if (spoil) {
        ++m_spoilt;
    }
    return spoil;
}

void BoardPic::CarryOutFrame() {
    const BYTE command = m_frame[0];
    const bool spoil = Spoils(command);
    // A failure status is the PIC's own answer: it has not done what the frame asked.
    const bool refuse = spoil && m_settings.fault == PicSettings::Fault::BadStatus;
    const bool sumGood =
        !refuse && (command == kVersion || Sum(m_frame, m_frame.size() - 1) == m_frame.back());
    switch (command) {
        case kSetType: {
            BYTE type = m_frame[1];
            BYTE status = sumGood ? SetType(type) : 1;
            m_servedType = status == 0 ? type : 0;
            if (status == 0) {
                Hold();
            }
            Reply({kSetType, status}, spoil, kReplyMicros);
            if (status == 0 && PassesThrough(type)) {
                m_passThrough = true;
                m_runAsked = false;
                EnterPassThrough(type);
            }
            break;
        }
        case kWrite: {
            unsigned count = m_frame[2];
            unsigned address = static_cast<unsigned>(m_frame[3]) | m_frame[4] << 8;
            BYTE status = sumGood && !m_frameLate ? CheckBlock(m_frame[1], count, address) : 1;
            if (status == 0) {
                status = m_servedType == kTypeDirect
                             ? WriteProgram(address, std::vector<BYTE>(m_frame.begin() + 5,
                                                                       m_frame.end() - 1))
                             : 1;
            }
            Reply({kWrite, status}, spoil, kWriteMicros);
            break;
        }
        case kRead: {
            unsigned count = m_frame[2];
            unsigned address = static_cast<unsigned>(m_frame[3]) | m_frame[4] << 8;
            std::vector<BYTE> data(count, 0xFF);
            BYTE status = sumGood ? CheckBlock(m_frame[1], count, address) : 1;
            if (status == 0) {
                status = m_servedType == kTypeDirect ? ReadProgram(address, &data) : 1;
            }
            std::vector<BYTE> reply;
            reply.reserve(2 + data.size() + 1);
            reply.push_back(kRead);
            reply.push_back(status);
            for (BYTE b : data) {
                reply.push_back(b);
            }
            Reply(reply, spoil, kReplyMicros);
            break;
        }
        case kVersion: {
            std::vector<BYTE> reply;
            reply.reserve(6);
            reply.push_back(kVersion);
            for (char c : m_settings.version) {
                reply.push_back(static_cast<BYTE>(c));
            }
            Reply(reply, spoil, kReplyMicros);
            break;
        }
        default:
            break;
    }
}

void BoardPic::Reply(std::vector<BYTE> reply, bool spoil, uint64_t delayMicros) {
    if (spoil && m_settings.fault == PicSettings::Fault::BadCommand) {
        reply[0] = static_cast<BYTE>(reply[0] ^ 0x80);
    }
    reply.push_back(Sum(reply, reply.size()));
    if (spoil && m_settings.fault == PicSettings::Fault::BadSum) {
        reply.back() = static_cast<BYTE>(reply.back() + 1);
    } else if (spoil && m_settings.fault == PicSettings::Fault::Short) {
        reply.pop_back();
    }
    SendAfter(delayMicros, reply);
}

}  // namespace boards
