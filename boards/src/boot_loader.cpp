// The 8051 flash chips' serial boot loader, and a board that carries one alone.
#include "boards/boot_loader.h"

#include <cstdio>

namespace boards {
namespace {

const char kDone[] = ".\r\n";
const char kChecksumWrong[] = "X\r\n";
const char kRefused[] = "?\r\n";

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

BootLoader::BootLoader(Host& host, const BootLoaderOptions& options)
    : m_host(host), m_options(options), m_flash(options.flashSize, 0xFF) {}

void BootLoader::EnterLoader() {
    m_running = false;
    m_locked = false;
    m_runRequested = false;
    m_line.clear();
    m_awaitingZero = false;
}

void BootLoader::Echo(BYTE byte) {
    Reply r;
    r.bytes = {byte};
    r.echo = true;
    m_host.Answer(r);
}

void BootLoader::Say(const std::string& text, uint64_t delayMicros) {
    Reply r;
    r.bytes.assign(text.begin(), text.end());
    r.statusAt = 0;
    r.failureValue = 'X';
    r.delayMicros = delayMicros;
    m_host.Answer(r);
}

void BootLoader::OnByte(BYTE byte) {
    if (m_running) {
        return;  // the chip's own program has the line
    }
    if (!m_locked) {
        if (byte == 'U') {
            m_locked = true;
            m_lockedBaud = m_hostBaud;
            char note[48];
            std::snprintf(note, sizeof note, "loader rate %lu",
                          static_cast<unsigned long>(m_lockedBaud));
            m_host.Note(note);
            Echo(byte);
        } else if (byte == 'R' || byte == 'H') {
            m_runRequested = true;
        }
        return;
    }
    if (m_awaitingZero) {
        m_awaitingZero = false;
        if (byte == 0) {
            Say(DisplayText(), m_options.lineMicros);
            return;
        }
    }
    if (m_line.empty()) {
        if (byte == ':') {
            m_line = ":";
            Echo(byte);
        } else if (byte == 'U') {
            Echo(byte);
        } else if (byte == 'R' || byte == 'H') {
            m_runRequested = true;
        }
        return;
    }
    m_line += static_cast<char>(byte);
    Echo(byte);
    if (m_line.size() == 3 && (HexValue(m_line[1]) < 0 || HexValue(m_line[2]) < 0)) {
        m_line.clear();
        Say(kRefused, m_options.lineMicros);
        return;
    }
    if (m_line.size() >= 3) {
        size_t count = static_cast<size_t>(HexValue(m_line[1]) * 16 + HexValue(m_line[2]));
        if (m_line.size() == 11 + 2 * count) {
            CarryOut();
            m_line.clear();
        }
    }
}

void BootLoader::OnRtsFalling() {
    if (m_running) {
        return;
    }
    if (m_runRequested || (m_options.bootsOnClearStatus && m_statusByte == 0)) {
        m_running = true;
        m_runRequested = false;
        m_line.clear();
        m_host.Note("program runs");
        m_host.ProgramStarted();
        return;
    }
    EnterLoader();
}

bool BootLoader::Decode(std::vector<BYTE>& bytes) const {
    bytes.clear();
    for (size_t i = 1; i + 1 < m_line.size(); i += 2) {
        int high = HexValue(m_line[i]);
        int low = HexValue(m_line[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes.push_back(static_cast<BYTE>(high * 16 + low));
    }
    return true;
}

std::string BootLoader::DisplayText() const {
    char text[8];
    std::snprintf(text, sizeof text, "%04X = ", static_cast<unsigned>(m_displayFrom));
    std::string reply = text;
    for (uint32_t a = m_displayFrom; a <= m_displayTo; ++a) {
        std::snprintf(text, sizeof text, "%02X", m_flash[a]);
        reply += text;
    }
    return reply + "\r\n";
}

void BootLoader::CarryOut() {
    std::vector<BYTE> b;
    if (!Decode(b)) {
        Say(kRefused, m_options.lineMicros);
        return;
    }
    BYTE sum = 0;
    for (BYTE x : b) {
        sum = static_cast<BYTE>(sum + x);
    }
    if (sum != 0) {
        Say(kChecksumWrong, m_options.lineMicros);
        return;
    }
    size_t count = b[0];
    uint32_t address = static_cast<uint32_t>(b[1]) << 8 | b[2];
    BYTE type = b[3];
    const BYTE* data = b.data() + 4;
    bool done = false;
    uint64_t delay = m_options.lineMicros;
    switch (type) {
        case 0x00:
            if (address + count <= m_flash.size()) {
                for (size_t i = 0; i < count; ++i) {
                    m_flash[address + i] = data[i];
                }
                done = true;
            }
            break;
        case 0x02:
            if (count == 1) {
                m_frequency = data[0];
                done = true;
            }
            break;
        case 0x03:
            if (count == 1 && data[0] == 0x07) {
                m_flash.assign(m_flash.size(), 0xFF);
                delay = m_options.eraseMicros;
                done = true;
            } else if (count == 2 && data[0] == 0x04 && data[1] == 0x00) {
                m_bootVector = 0xFF;
                m_statusByte = 0xFF;
                done = true;
            } else if (count == 3 && data[0] == 0x06 && data[1] == 0x01) {
                m_bootVector = data[2];
                done = true;
            } else if (count == 3 && data[0] == 0x06 && data[1] == 0x00) {
                m_statusByte = data[2];
                done = true;
            } else if (count == 2 && data[0] == 0x05 && data[1] == 0x01) {
                m_securityBits = true;
                done = true;
            }
            break;
        case 0x04:
            if (count == 5) {
                m_displayFrom = static_cast<uint32_t>(data[0]) << 8 | data[1];
                m_displayTo = static_cast<uint32_t>(data[2]) << 8 | data[3];
                if (m_displayFrom <= m_displayTo && m_displayTo < m_flash.size()) {
                    if (m_options.displayAfterZero) {
                        m_awaitingZero = true;
                    } else {
                        Say(DisplayText(), delay);
                    }
                    return;
                }
            }
            break;
        default:
            break;
    }
    Say(done ? kDone : kRefused, delay);
}

// ---- the board with the loader alone ----

BootLoaderBoard::BootLoaderBoard(const BootLoaderOptions& options, const LineSettings& line)
    : Board(line), m_chip(*this, options) {}

void BootLoaderBoard::Misbehave(const Misbehaviour& m) {
    m_shaper.Set(m);
    if (m.fault == Fault::WrongBaud) {
        m_chip.LockAt(m.wrongBaud);
        Listen(LineSettings{m.wrongBaud});
    }
}

void BootLoaderBoard::Follow() {
    if (!m_chip.Locked()) {
        if (BoardLine() != HostLine()) {
            Listen(HostLine());
        }
    } else if (BoardLine().baud != m_chip.LockedBaud()) {
        Listen(LineSettings{m_chip.LockedBaud()});
    }
}

void BootLoaderBoard::OnByte(BYTE byte, bool garbled) {
    if (garbled && m_shaper.Get().fault == Fault::WrongBaud) {
        Send(std::vector<BYTE>{byte});  // what a confused line gives back
        return;
    }
    m_chip.HostRate(HostLine().baud);
    m_chip.OnByte(byte);
    Follow();
}

void BootLoaderBoard::OnRts(bool on) {
    if (!on) {
        m_chip.OnRtsFalling();
        Follow();
    }
}

void BootLoaderBoard::Answer(Reply reply) {
    if (m_shaper.Shape(reply)) {
        SendAfter(reply.delayMicros, reply.bytes);
    }
}

void BootLoaderBoard::ProgramStarted() {}

void BootLoaderBoard::Note(const std::string& what) { Log().Add(Now(), what); }

std::unique_ptr<Board> MakeBootLoaderBoard(BoardOptions& options, std::string* error) {
    BootLoaderOptions chip;
    std::string family;
    if (options.Take("chip", &family)) {
        if (family != "p89" && family != "t89") {
            *error = "chip must be p89 or t89";
            return nullptr;
        }
        chip.displayAfterZero = family == "p89";
    }
    uint32_t boots = 0;
    uint32_t erase = static_cast<uint32_t>(chip.eraseMicros);
    Misconduct faults;
    if (!options.TakeNumber("boots-on-status", &boots, error) ||
        !options.TakeNumber("erase-us", &erase, error) || !faults.Take(options, error)) {
        return nullptr;
    }
    chip.bootsOnClearStatus = boots != 0;
    chip.eraseMicros = erase;
    auto board = std::make_unique<BootLoaderBoard>(chip, options.Framing());
    faults.ApplyTo(*board);
    return board;
}

}  // namespace boards
