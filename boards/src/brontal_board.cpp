// The Brontal-G program monitor: counter, write, read.
#include "boards/brontal_board.h"

#include <vector>

namespace boards {
namespace {

constexpr BYTE kSetCounter = 0x04;
constexpr BYTE kWriteByte = 0x02;
constexpr BYTE kReadByte = 0x01;
constexpr uint64_t kReplyMicros = 100;

size_t CommandLength(BYTE command) {
    switch (command) {
        case kSetCounter:
            return 3;
        case kWriteByte:
            return 2;
        case kReadByte:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

BrontalBoard::BrontalBoard(const LineSettings& line, const Faults& faults)
    : Board(line), m_faults(faults) {}

void BrontalBoard::OnRts(bool on) {
    m_monitor = on;
    m_command.clear();
}

void BrontalBoard::OnByte(BYTE byte, bool garbled) {
    ++m_received;
    if (m_faults.silentAt != 0 && m_received >= m_faults.silentAt) {
        return;
    }
    if (!m_monitor || garbled) {
        return;
    }
    if (m_command.empty() && CommandLength(byte) == 0) {
        return;
    }
    m_command.push_back(byte);
    if (m_command.size() == CommandLength(m_command[0])) {
        CarryOut();
        m_command.clear();
    }
}

void BrontalBoard::CarryOut() {
    ++m_commands;
    if (m_commands == m_faults.badAck) {
        SendAfter(kReplyMicros, "?");
        return;
    }
    switch (m_command[0]) {
        case kSetCounter:
            m_counter = static_cast<uint16_t>(m_command[1] << 8 | m_command[2]);
            SendAfter(kReplyMicros, "!");
            break;
        case kWriteByte:
            m_ram[m_counter] = m_command[1];
            ++m_counter;
            SendAfter(kReplyMicros, "!");
            break;
        case kReadByte: {
            auto found = m_ram.find(m_counter);
            BYTE value = found == m_ram.end() ? 0 : found->second;
            if (m_counter == m_faults.badRead) {
                value = static_cast<BYTE>(~value);
            }
            ++m_counter;
            SendAfter(kReplyMicros, std::vector<BYTE>{value});
            break;
        }
        default:
            break;
    }
}

std::unique_ptr<Board> MakeBrontalBoard(BoardOptions& options, std::string* error) {
    BrontalBoard::Faults faults;
    if (!options.TakeNumber("silent-at", &faults.silentAt, error) ||
        !options.TakeNumber("bad-ack", &faults.badAck, error) ||
        !options.TakeNumber("bad-read", &faults.badRead, error)) {
        return nullptr;
    }
    return std::make_unique<BrontalBoard>(options.Framing(), faults);
}

}  // namespace boards
