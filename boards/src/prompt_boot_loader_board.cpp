// The text boot loader with its '>' prompt: reset by RTS, commands, loads, and the hand-over to
// the downloaded program.
#include "boards/prompt_boot_loader_board.h"

#include <algorithm>
#include <cstdio>

namespace boards {
namespace {

constexpr BYTE kCr = 0x0D;
constexpr BYTE kLf = 0x0A;
constexpr size_t kFlashSize = 0x10000;
constexpr uint64_t kEraseMicros = 300000;
constexpr uint64_t kLineMicros = 1000;
constexpr size_t kChatterChunk = 64;
const char kChatter[] = "Brontal-E ";
const char kPromptEnd[] = "\r\n>";

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

// The value of `digits` hex digits from `text`; -1 when one is not a hex digit.
long HexNumber(const std::string& text, size_t from, size_t digits) {
    long value = 0;
    for (size_t i = from; i < from + digits; ++i) {
        int digit = HexValue(text[i]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

bool TakePromptBootLoaderSettings(BoardOptions& options, PromptBootLoaderSettings* settings,
                                  std::string* error) {
    uint32_t prompt = settings->prompt ? 1 : 0;
    uint32_t chatter = settings->chatter ? 1 : 0;
    if (!options.TakeNumber("pulse-max", &settings->pulseMaxMs, error) ||
        !options.TakeNumber("prompt", &prompt, error) ||
        !options.TakeNumber("chatter", &chatter, error) ||
        !options.TakeNumber("silent-at", &settings->silentAt, error) ||
        !options.TakeNumber("reply-at", &settings->replyAt, error) ||
        !options.TakeNumber("boot-window", &settings->bootWindowMs, error)) {
        return false;
    }
    settings->prompt = prompt != 0;
    settings->chatter = chatter != 0;
    std::string reply;
    if (options.Take("reply", &reply)) {
        if (reply.size() != 1) {
            *error = "reply must be one character";
            return false;
        }
        settings->reply = reply[0];
    }
    return true;
}

PromptBootLoaderBoard::PromptBootLoaderBoard(const LineSettings& line,
                                             const PromptBootLoaderSettings& settings)
    : Board(line), m_settings(settings), m_flash(kFlashSize, 0xFF), m_registers(256, 0) {}

uint64_t PromptBootLoaderBoard::CharacterMicros() const {
    LineSettings line = BoardLine();
    return 10000000ull / (line.baud != 0 ? line.baud : 1);
}

void PromptBootLoaderBoard::Answer(const std::string& text, uint64_t delayMicros) {
    if (!m_silent) {
        SendAfter(delayMicros, text);
    }
}

void PromptBootLoaderBoard::OnRts(bool on) {
    if (!on) {
        // Held in reset: whatever ran stops.
        ++m_epoch;
        m_rtsFellAt = Now();
        m_loaderRunning = false;
        m_programRunning = false;
        return;
    }
    // The first rise is the power coming up: no reset pulse to judge.
    uint64_t pulse = m_rtsFellAt == kNoFall ? 0 : Now() - m_rtsFellAt;
    if (pulse > uint64_t{m_settings.pulseMaxMs} * 1000) {
        Log().Add(Now(),
                  "boot loader: no start after a reset of " + std::to_string(pulse / 1000) + " ms");
        return;
    }
    uint32_t epoch = ++m_epoch;
    After(uint64_t{m_settings.startMs} * 1000, [this, epoch] {
        if (epoch == m_epoch) {
            Start();
        }
    });
}

void PromptBootLoaderBoard::Preload(const std::map<uint32_t, uint8_t>& cells) {
    for (const auto& cell : cells) {
        if (cell.first < m_flash.size()) {
            m_flash[cell.first] = cell.second;
            m_written[cell.first] = cell.second;
        }
    }
    m_loadComplete = !m_written.empty();
}

void PromptBootLoaderBoard::Start() {
    m_loaderRunning = true;
    m_heardSinceStart = false;
    m_command.clear();
    m_loading = false;
    Log().Add(Now(), "boot loader starts");
    if (m_settings.chatter) {
        Chatter(m_epoch);
        return;
    }
    Answer("\r\n" + m_settings.version + (m_settings.prompt ? kPromptEnd : "\r\n"), 0);
    if (m_loadComplete) {
        uint32_t epoch = m_epoch;
        After(uint64_t{m_settings.bootWindowMs} * 1000, [this, epoch] {
            if (epoch == m_epoch && !m_heardSinceStart) {
                m_loaderRunning = false;
                m_programRunning = true;
                Log().Add(Now(), "program runs");
                ProgramStarted();
            }
        });
    }
}

void PromptBootLoaderBoard::Chatter(uint32_t epoch) {
    if (epoch != m_epoch || !HostOpen()) {
        return;
    }
    std::string text;
    while (text.size() < kChatterChunk) {
        text += kChatter;
    }
    Answer(text, 0);
    After(text.size() * CharacterMicros(), [this, epoch] { Chatter(epoch); });
}

void PromptBootLoaderBoard::OnByte(BYTE byte, bool garbled) {
    ++m_received;
    if (m_settings.silentAt != 0 && m_received >= m_settings.silentAt) {
        m_silent = true;
    }
    if (m_programRunning) {
        ProgramByte(byte, garbled);
        return;
    }
    if (!m_loaderRunning || m_settings.chatter) {
        return;
    }
    m_heardSinceStart = true;
    if (m_loading) {
        // A character it could not read stands in as one no record holds.
        TakeRecordByte(garbled ? '?' : byte);
    } else if (!garbled) {
        TakeCommand(byte);
    }
}

void PromptBootLoaderBoard::TakeCommand(BYTE byte) {
    const std::string done = m_settings.prompt ? kPromptEnd : "\r\n";
    if (m_command.empty()) {
        switch (byte) {
            case kCr:
                Answer("\r\n" + m_settings.version + done);
                return;
            case kLf:
                return;
            case 'E':
                std::fill(m_flash.begin() + m_eraseFrom, m_flash.end(), 0xFF);
                m_written.clear();
                m_loadComplete = false;
                Log().Add(Now(), "boot loader: flash erased from " + Hex(m_eraseFrom, 4));
                Answer(done, kEraseMicros);
                return;
            case 'L':
                m_loading = true;
                m_record.clear();
                m_records = 0;
                m_base = 0;
                Log().Add(Now(), "boot loader: load begins");
                return;
            case 'R':
            case 'M':
                m_command = static_cast<char>(byte);
                return;
            default:
                Answer("?" + done);
                return;
        }
    }
    m_command += static_cast<char>(byte);
    size_t length = m_command[0] == 'M' ? 5 : m_command[1] == 'R' ? 4 : m_command[1] == 'W' ? 6 : 2;
    if (m_command.size() < length) {
        return;
    }
    std::string command;
    command.swap(m_command);
    if (command[0] == 'M' && HexNumber(command, 1, 4) >= 0) {
        m_eraseFrom = static_cast<uint32_t>(HexNumber(command, 1, 4));
        Answer(done);
    } else if (command.size() == 4 && HexNumber(command, 2, 2) >= 0) {
        Answer(Hex(m_registers[static_cast<size_t>(HexNumber(command, 2, 2))], 2) + done);
    } else if (command.size() == 6 && HexNumber(command, 2, 4) >= 0) {
        m_registers[static_cast<size_t>(HexNumber(command, 2, 2))] =
            static_cast<BYTE>(HexNumber(command, 4, 2));
        Log().Add(Now(),
                  "boot loader: register " + command.substr(2, 2) + " = " + command.substr(4, 2));
        Answer(done);
    } else {
        Answer("?" + done);
    }
}

void PromptBootLoaderBoard::TakeRecordByte(BYTE byte) {
    if (m_record.empty()) {
        if (byte == ':') {
            m_record = ":";
        }
        return;  // line ends and anything else between records
    }
    m_record += static_cast<char>(byte);
    if (m_record.size() < 3) {
        return;
    }
    long count = HexNumber(m_record, 1, 2);
    if (count < 0) {
        // Without its count the record's end cannot be known.
        m_record.clear();
        ++m_records;
        Answer("E");
        return;
    }
    if (m_record.size() == 11 + 2 * static_cast<size_t>(count)) {
        CarryOutRecord();
        m_record.clear();
    }
}

void PromptBootLoaderBoard::CarryOutRecord() {
    ++m_records;
    if (m_settings.replyAt != 0 && m_records == m_settings.replyAt) {
        Answer(std::string(1, m_settings.reply));
        if (m_settings.reply == 'T') {
            m_loading = false;
        }
        return;
    }
    std::vector<BYTE> bytes;
    BYTE sum = 0;
    for (size_t i = 1; i + 1 < m_record.size(); i += 2) {
        long value = HexNumber(m_record, i, 2);
        if (value < 0) {
            Answer("E");
            return;
        }
        bytes.push_back(static_cast<BYTE>(value));
        sum = static_cast<BYTE>(sum + value);
    }
    if (sum != 0) {
        Answer("E");
        return;
    }
    char reply = WriteRecord(bytes);
    Answer(std::string(1, reply), reply == '.' ? kLineMicros : kQuickMicros);
    if (reply == 'T') {
        m_loading = false;
        m_loadComplete = true;
        Log().Add(Now(), "boot loader: load complete, " + std::to_string(m_records) + " records");
    }
}

char PromptBootLoaderBoard::WriteRecord(const std::vector<BYTE>& bytes) {
    const size_t count = bytes[0];
    const uint32_t address = m_base + (static_cast<uint32_t>(bytes[1]) << 8 | bytes[2]);
    const BYTE* data = bytes.data() + 4;
    switch (bytes[3]) {
        case 0x00:
            if (address + count > m_flash.size()) {
                return 'X';
            }
            for (size_t i = 0; i < count; ++i) {
                if (m_flash[address + i] != 0xFF) {
                    Log().Add(Now(), "boot loader: " + Hex(address + static_cast<unsigned>(i), 4) +
                                         " is not erased");
                    return 'X';
                }
            }
            for (size_t i = 0; i < count; ++i) {
                m_flash[address + i] = data[i];
                m_written[static_cast<uint32_t>(address + i)] = data[i];
            }
            return '.';
        case 0x01:
            return 'T';
        case 0x02:
        case 0x04:
            if (count != 2) {
                return 'X';
            }
            m_base = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << (bytes[3] == 0x02 ? 4 : 16);
            return '.';
        case 0x03:
        case 0x05:
            return '.';
        default:
            return 'X';
    }
}

std::unique_ptr<Board> MakePromptBootLoaderBoard(BoardOptions& options, std::string* error) {
    PromptBootLoaderSettings settings;
    if (!TakePromptBootLoaderSettings(options, &settings, error)) {
        return nullptr;
    }
    return std::make_unique<PromptBootLoaderBoard>(options.Framing(), settings);
}

}  // namespace boards
