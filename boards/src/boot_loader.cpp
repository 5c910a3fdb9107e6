// The 8051 flash chips' serial boot loader, and a board that carries one alone.
#include "boards/boot_loader.h"

#include <cstdio>

namespace boards {
namespace {

const char kDone[] = ".\r\n";
const char kNotDone[] = "X\r\n";
// Answers that take no time worth modelling (display, reads, end and frequency records, refusals).
constexpr uint64_t kQuickMicros = 100;

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

bool TakeByte(BoardOptions& options, const char* key, BYTE* value, std::string* error) {
    uint32_t number = *value;
    if (!options.TakeNumber(key, &number, error)) {
        return false;
    }
    if (number > 0xFF) {
        *error = std::string(key) + " must be a byte";
        return false;
    }
    *value = static_cast<BYTE>(number);
    return true;
}

}  // namespace

bool TakeBootLoaderKeys(BoardOptions& options, BootLoaderOptions* chip, std::string* error) {
    return options.TakeNumber("isp-max-baud", &chip->maxBaud, error) &&
           TakeByte(options, "boot-vector", &chip->bootVector, error) &&
           TakeByte(options, "status-byte", &chip->statusByte, error) &&
           options.TakeNumber("bad-echo", &chip->badEcho, error) &&
           options.TakeNumber("bad-reply", &chip->badReply, error) &&
           options.TakeNumber("bad-read", &chip->badRead, error);
}

LineSettings ByteFraming(const LineSettings& host, bool garbled) {
    LineSettings line = host;
    if (garbled) {
        line.baud = 0;
    }
    return line;
}

BootLoader::BootLoader(Host& host, const BootLoaderOptions& options)
    : m_host(host),
      m_options(options),
      m_flash(options.flashSize, 0xFF),
      m_bootVector(options.bootVector),
      m_statusByte(options.statusByte) {}

void BootLoader::EnterLoader() {
    m_running = false;
    m_locked = false;
    m_wrongRate = false;
    m_runRequested = false;
    m_record.clear();
    m_awaitingZero = false;
}

void BootLoader::WriteCell(uint32_t address, uint8_t value) {
    if (address < m_flash.size()) {
        m_flash[address] = value;
        m_programmed[address] = value;
    }
}

void BootLoader::LockAt(DWORD baud) {
    m_locked = true;
    m_wrongRate = false;
    m_rate = LineSettings{baud};
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

void BootLoader::OnByte(BYTE byte, const LineSettings& host) {
    if (m_running) {
        return;  // the chip's own program has the line
    }
    if (!m_locked) {
        // The loader times the bits of a 'U' to learn the rate; of anything else it notices only
        // a request to run.
        if (host.baud == 0 || byte != 'U') {
            if (host.baud != 0 && (byte == 'R' || byte == 'H')) {
                m_runRequested = true;
            }
            return;
        }
        m_locked = true;
        m_rate = host;
        m_wrongRate = host.baud > m_options.maxBaud;
        char note[48];
        std::snprintf(note, sizeof note, "loader rate %lu", static_cast<unsigned long>(host.baud));
        m_host.Note(note);
    }
    if (m_awaitingZero) {
        m_awaitingZero = false;
        if (byte == 0 && host == m_rate && !m_wrongRate) {
            Say(DisplayText(), kQuickMicros);
            return;
        }
    }
    ++m_taken;
    if (m_wrongRate || host != m_rate) {
        // What it takes for a character is not what was sent, and its echo reaches the host as
        // garbage too.
        m_record.clear();
        Echo(static_cast<BYTE>(~byte));
        return;
    }
    Echo(m_options.badEcho == m_taken ? static_cast<BYTE>(byte ^ 0x01) : byte);
    TakeRecordCharacter(static_cast<char>(byte));
}

void BootLoader::TakeRecordCharacter(char c) {
    if (c == ':') {
        m_record = ":";
        return;
    }
    if (m_record.empty()) {
        if (c == 'R' || c == 'H') {
            m_runRequested = true;
        }
        return;
    }
    m_record += c;
    if (m_record.size() < 3) {
        return;
    }
    int high = HexValue(m_record[1]);
    int low = HexValue(m_record[2]);
    if (high < 0 || low < 0) {
        m_record.clear();
        Say(kNotDone, kQuickMicros);
        return;
    }
    // ':' count(2) address(4) type(2) data(2 per byte) checksum(2).
    if (m_record.size() == 11 + 2 * static_cast<size_t>(high * 16 + low)) {
        CarryOut();
        m_record.clear();
    }
}

void BootLoader::OnRtsFalling() {
    if (m_running) {
        return;
    }
    if (m_runRequested || (m_options.bootsOnClearStatus && m_statusByte == 0)) {
        m_running = true;
        m_runRequested = false;
        m_record.clear();
        m_host.Note("program runs");
        m_host.ProgramStarted();
        return;
    }
    EnterLoader();
}

bool BootLoader::Decode(std::vector<BYTE>* bytes) const {
    bytes->clear();
    for (size_t i = 1; i + 1 < m_record.size(); i += 2) {
        int high = HexValue(m_record[i]);
        int low = HexValue(m_record[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes->push_back(static_cast<BYTE>(high * 16 + low));
    }
    return true;
}

std::string BootLoader::DisplayText() const {
    char text[8];
    std::snprintf(text, sizeof text, "%04X=", static_cast<unsigned>(m_displayFrom));
    std::string reply = std::string("\r\n") + text;
    for (uint32_t address = m_displayFrom; address <= m_displayTo; ++address) {
        BYTE value = m_flash[address];
        if (address == m_options.badRead) {
            value = static_cast<BYTE>(value + 1);
        }
        std::snprintf(text, sizeof text, "%02X", value);
        reply += text;
    }
    return reply + "\r\n";
}

void BootLoader::CarryOut() {
    ++m_records;
    std::vector<BYTE> b;
    BYTE sum = 0;
    bool readable = Decode(&b);
    for (BYTE x : b) {
        sum = static_cast<BYTE>(sum + x);
    }
    if (!readable || sum != 0 || m_options.badReply == m_records) {
        Say(kNotDone, kQuickMicros);
        return;
    }
    const size_t count = b[0];
    const uint32_t address = static_cast<uint32_t>(b[1]) << 8 | b[2];
    const BYTE type = b[3];
    const BYTE* data = b.data() + 4;
    switch (type) {
        case 0x00:
            if (address + count <= m_flash.size()) {
                for (size_t i = 0; i < count; ++i) {
                    m_flash[address + i] = data[i];
                    m_programmed[static_cast<uint32_t>(address + i)] = data[i];
                }
                Say(kDone, m_options.programMicros);
                return;
            }
            break;
        case 0x01:
            Say(kDone, kQuickMicros);
            return;
        case 0x02:
            if (count == 1) {
                m_frequency = data[0];
                Say(kDone, kQuickMicros);
                return;
            }
            break;
        case 0x03:
            if (count == 1 && data[0] == 0x07) {
                m_flash.assign(m_flash.size(), 0xFF);
                m_programmed.clear();
                Say(kDone, m_options.eraseMicros);
                return;
            }
            if (count == 2 && data[0] == 0x04 && data[1] == 0x00) {
                m_bootVector = 0xFF;
                m_statusByte = 0xFF;
            } else if (count == 3 && data[0] == 0x06 && data[1] == 0x01) {
                m_bootVector = data[2];
            } else if (count == 3 && data[0] == 0x06 && data[1] == 0x00) {
                m_statusByte = data[2];
            } else if (count == 2 && data[0] == 0x05 && data[1] == 0x01) {
                m_securityBits = true;
            } else {
                break;
            }
            Say(kDone, m_options.specialMicros);
            return;
        case 0x04:
            if (count == 5) {
                m_displayFrom = static_cast<uint32_t>(data[0]) << 8 | data[1];
                m_displayTo = static_cast<uint32_t>(data[2]) << 8 | data[3];
                if (m_displayFrom <= m_displayTo && m_displayTo < m_flash.size()) {
                    if (m_options.displayAfterZero) {
                        m_awaitingZero = true;
                    } else {
                        Say(DisplayText(), kQuickMicros);
                    }
                    return;
                }
            }
            break;
        case 0x05:
            if (count == 2 && data[0] == 0x07 && (data[1] == 0x01 || data[1] == 0x02)) {
                char text[16];
                std::snprintf(text, sizeof text, "%02X.\r\n",
                              data[1] == 0x02 ? m_bootVector : m_statusByte);
                Say(text, kQuickMicros);
                return;
            }
            break;
        default:
            break;
    }
    Say(kNotDone, kQuickMicros);
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
    m_chip.OnByte(byte, ByteFraming(HostLine(), garbled));
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
        !options.TakeNumber("erase-us", &erase, error) ||
        !TakeBootLoaderKeys(options, &chip, error) || !faults.Take(options, error)) {
        return nullptr;
    }
    chip.bootsOnClearStatus = boots != 0;
    chip.eraseMicros = erase;
    auto board = std::make_unique<BootLoaderBoard>(chip, options.Framing());
    faults.ApplyTo(*board);
    return board;
}

}  // namespace boards
