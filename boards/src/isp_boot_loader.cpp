// The T89C51Rx2's boot loader: rate detection, echoes, records and their replies.
#include "boards/isp_boot_loader.h"

#include <cstdio>
#include <vector>

namespace boards {
namespace {

constexpr uint64_t kProgramMicros = 2000;
constexpr uint64_t kEraseChipMicros = 1500000;
constexpr uint64_t kSpecialBytesMicros = 20000;
constexpr uint64_t kQuickMicros = 100;

bool Digit(char c, unsigned* value) {
    if (c >= '0' && c <= '9') {
        *value = static_cast<unsigned>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
        *value = static_cast<unsigned>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
        *value = static_cast<unsigned>(c - 'a' + 10);
    } else {
        return false;
    }
    return true;
}

// The record's bytes (count, address, type, data, checksum); false when a digit is not one.
bool RecordBytes(const std::string& record, std::vector<BYTE>* bytes) {
    bytes->clear();
    for (size_t i = 1; i + 1 < record.size(); i += 2) {
        unsigned high = 0;
        unsigned low = 0;
        if (!Digit(record[i], &high) || !Digit(record[i + 1], &low)) {
            return false;
        }
        bytes->push_back(static_cast<BYTE>(high << 4 | low));
    }
    return true;
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

bool TakeIspSettings(BoardOptions& options, IspSettings* settings, std::string* error) {
    return options.TakeNumber("isp-max-baud", &settings->maxBaud, error) &&
           TakeByte(options, "boot-vector", &settings->bootVector, error) &&
           TakeByte(options, "status-byte", &settings->statusByte, error) &&
           options.TakeNumber("bad-echo", &settings->badEcho, error) &&
           options.TakeNumber("bad-reply", &settings->badReply, error) &&
           options.TakeNumber("bad-read", &settings->badRead, error);
}

IspBootLoader::IspBootLoader(Board& board, const IspSettings& settings)
    : m_board(board),
      m_settings(settings),
      m_bootVector(settings.bootVector),
      m_statusByte(settings.statusByte) {}

void IspBootLoader::Reset() {
    m_rateFixed = false;
    m_wrongRate = false;
    m_runRequested = false;
    m_record.clear();
}

void IspBootLoader::Take(BYTE byte, const LineSettings& host) {
    if (!m_rateFixed) {
        // The loader times the bits of a 'U' to learn the rate; anything else goes unnoticed.
        if (byte != 'U') {
            return;
        }
        m_rateFixed = true;
        m_rate = host;
        m_wrongRate = host.baud > m_settings.maxBaud;
    }
    ++m_taken;
    if (m_wrongRate || host != m_rate) {
        // What it takes for a character is not what was sent, and its echo reaches the host as
        // garbage too.
        m_record.clear();
        Echo(static_cast<BYTE>(~byte));
        return;
    }
    Echo(m_settings.badEcho == m_taken ? static_cast<BYTE>(byte ^ 0x01) : byte);
    TakeRecordCharacter(static_cast<char>(byte));
}

void IspBootLoader::Echo(BYTE byte) { m_board.Send(std::vector<BYTE>{byte}); }

void IspBootLoader::Answer(uint64_t delayMicros, const std::string& text) {
    m_board.SendAfter(delayMicros, text);
}

void IspBootLoader::TakeRecordCharacter(char c) {
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
    // ':' count(2) address(4) type(2) data(2 per byte) checksum(2).
    if (m_record.size() < 3) {
        return;
    }
    unsigned high = 0;
    unsigned low = 0;
    if (!Digit(m_record[1], &high) || !Digit(m_record[2], &low)) {
        m_record.clear();
        Answer(kQuickMicros, "X\r\n");
        return;
    }
    size_t length = 11 + 2 * (high << 4 | low);
    if (m_record.size() == length) {
        CarryOut();
        m_record.clear();
    }
}

void IspBootLoader::CarryOut() {
    ++m_records;
    std::vector<BYTE> bytes;
    BYTE sum = 0;
    bool readable = RecordBytes(m_record, &bytes);
    for (BYTE b : bytes) {
        sum = static_cast<BYTE>(sum + b);
    }
    if (!readable || sum != 0 || m_settings.badReply == m_records) {
        Answer(kQuickMicros, "X\r\n");
        return;
    }
    const unsigned count = bytes[0];
    const unsigned address = static_cast<unsigned>(bytes[1]) << 8 | bytes[2];
    const BYTE type = bytes[3];
    const BYTE* data = bytes.data() + 4;
    char text[16];
    switch (type) {
        case 0x00:
            for (unsigned i = 0; i < count; ++i) {
                m_flash[(address + i) & 0xFFFF] = data[i];
            }
            Answer(kProgramMicros, ".\r\n");
            return;
        case 0x01:
        case 0x02:
            Answer(kQuickMicros, ".\r\n");
            return;
        case 0x03:
            if (count == 1 && data[0] == 0x07) {
                m_flash.clear();
                Answer(kEraseChipMicros, ".\r\n");
                return;
            }
            if (count == 2 && data[0] == 0x04 && data[1] == 0x00) {
                m_bootVector = 0xFF;
                m_statusByte = 0xFF;
                Answer(kSpecialBytesMicros, ".\r\n");
                return;
            }
            if (count == 3 && data[0] == 0x06 && (data[1] == 0x00 || data[1] == 0x01)) {
                (data[1] == 0x01 ? m_bootVector : m_statusByte) = data[2];
                Answer(kSpecialBytesMicros, ".\r\n");
                return;
            }
            break;
        case 0x04:
            if (count == 5) {
                unsigned first = static_cast<unsigned>(data[0]) << 8 | data[1];
                unsigned last = static_cast<unsigned>(data[2]) << 8 | data[3];
                if (first <= last) {
                    Answer(kQuickMicros, Display(first, last));
                    return;
                }
            }
            break;
        case 0x05:
            if (count == 2 && data[0] == 0x07 && (data[1] == 0x01 || data[1] == 0x02)) {
                std::snprintf(text, sizeof text, "%02X.\r\n",
                              data[1] == 0x02 ? m_bootVector : m_statusByte);
                Answer(kQuickMicros, text);
                return;
            }
            break;
        default:
            break;
    }
    Answer(kQuickMicros, "X\r\n");
}

std::string IspBootLoader::Display(unsigned first, unsigned last) const {
    char text[8];
    std::snprintf(text, sizeof text, "%04X=", first);
    std::string reply = std::string("\r\n") + text;
    for (unsigned address = first; address <= last; ++address) {
        BYTE value = Cell(address);
        if (address == m_settings.badRead) {
            value = static_cast<BYTE>(value + 1);
        }
        std::snprintf(text, sizeof text, "%02X", value);
        reply += text;
    }
    return reply + "\r\n";
}

BYTE IspBootLoader::Cell(unsigned address) const {
    auto found = m_flash.find(address);
    return found == m_flash.end() ? 0xFF : found->second;
}

}  // namespace boards
