// The ROM monitor's board: its own commands with echoes and prompt on top of the resident
// program's load, and the user's program stepped and run on the chip.
#include "boards/rom_monitor.h"

#include <algorithm>
#include <cstdio>

#include "ostrel/register_file.h"

namespace boards {

namespace {

// A step's or run's answer comes a short time after the instruction that ended it.
constexpr uint64_t kAnswerMicros = 200;
constexpr uint16_t kUserStart = 0x1000;
constexpr size_t kChatterBytes = 1024;

bool IsHexDigit(BYTE byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'F') ||
           (byte >= 'a' && byte <= 'f');
}

uint32_t HexValue(const std::string& digits) {
    return static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
}

// The resident program's settings under the monitor: the monitor echoes for itself, so that a
// silent one says nothing at all.
ResidentProgramSettings MonitorSettings() {
    ResidentProgramSettings settings = RomMonitorSettings();
    settings.echo = false;
    return settings;
}

}  // namespace

RomMonitor::RomMonitor(Board& board, const MonitorFaults& faults)
    : ResidentProgram(board, MonitorSettings()), m_faults(faults), m_chip(board) {
    m_chip.Reset();
    m_chip.Registers().SetPc(kUserStart);
}

bool RomMonitor::Faulty(MonitorFaults::Fault fault) const {
    return m_faults.fault == fault && m_commands >= m_faults.at;
}

void RomMonitor::Answer(std::string text) {
    if (Faulty(MonitorFaults::Fault::Silent)) {
        return;
    }
    if (Faulty(MonitorFaults::Fault::NoPrompt)) {
        text.erase(std::remove(text.begin(), text.end(), '*'), text.end());
    }
    if (!text.empty()) {
        OnBoard().Send(text);
    }
}

void RomMonitor::Refuse() {
    m_state = State::Idle;
    Answer("?\r\n*");
}

void RomMonitor::Noted(const char* format, unsigned value) {
    char note[64];
    std::snprintf(note, sizeof note, format, value);
    Note(note);
}

void RomMonitor::Hold() {
    m_chip.Halt();
    Note("held");
}

void RomMonitor::Start() {
    Restart();
    m_chip.Reset();
    m_chip.Registers().SetPc(kUserStart);
    for (uint16_t& address : m_breakpoints) {
        if (address != 0) {
            m_chip.SetStop(address, false);
        }
        address = 0;
    }
    m_state = State::Idle;
    Note("restarted");
    Answer("\r\n*");
}

bool RomMonitor::OwnCommand(BYTE byte) {
    if (m_state != State::Idle) {
        Argument(byte);
        return true;
    }
    return Command(byte);
}

bool RomMonitor::Command(BYTE byte) {
    const char c = static_cast<char>(byte);
    const bool ours = c == 'S' || c == 'G' || c == 'R' || c == 'C' || c == 'A' || c == 'B';
    if (ours || c == 'L') {
        ++m_commands;
    }
    m_digits.clear();
    switch (c) {
        case 'S':
            if (Faulty(MonitorFaults::Fault::Chatter)) {
                Answer("S" + std::string(kChatterBytes - 1, '.'));
                LoadCode();
                m_chip.Step(kAnswerMicros, false);
                return true;
            }
            Answer("S");
            Step();
            return true;
        case 'G':
            Answer("G ");
            m_state = State::GoBlank;
            return true;
        case 'R':
            Answer(Dump());
            return true;
        case 'C':
            Answer("C ");
            m_state = State::ChangeLetter;
            return true;
        case 'A':
            Answer("A ");
            m_state = State::AlterAddress;
            return true;
        case 'B':
            if (Faulty(MonitorFaults::Fault::BadBreakEcho)) {
                Answer("B-");
                return true;
            }
            Answer("B ");
            m_state = State::BreakDigit;
            return true;
        default:
            // The resident program's lines (its load among them) with their echo.
            Answer(std::string(1, c));
            return false;
    }
}

void RomMonitor::Argument(BYTE byte) {
    const char c = static_cast<char>(byte);
    switch (m_state) {
        case State::GoBlank:
            Answer(std::string(1, c));
            m_state = State::Idle;
            if (c == ' ') {
                Run();
            } else {
                Done();
            }
            return;
        case State::ChangeLetter:
            m_letter = c;
            if (c == 'A' || c == 'B' || c == 'S' || c == 'W') {
                m_wanted = 2;
            } else if (c == 'D' || c == 'P') {
                m_wanted = 4;
            } else {
                Answer(std::string(1, c));
                Refuse();
                return;
            }
            Answer(std::string(1, c) + "=");
            m_state = State::ChangeDigits;
            return;
        case State::BreakDigit:
            if (c < '0' || c > '3') {
                Answer(std::string(1, c));
                Refuse();
                return;
            }
            m_breakpoint = c - '0';
            Answer(std::string(1, c) + " ");
            m_wanted = 4;
            m_state = State::BreakAddress;
            return;
        case State::AlterData:
            if (c == '\r') {
                m_state = State::Idle;
                Done();
                return;
            }
            break;
        default:
            break;
    }
    // Hex digits of a change, an alteration or a breakpoint.
    if (!IsHexDigit(byte)) {
        Answer(std::string(1, c));
        Refuse();
        return;
    }
    m_digits += c;
    if (m_state == State::AlterAddress || m_state == State::AlterData) {
        if (m_digits.size() < 2) {
            Answer(std::string(1, c));
            return;
        }
        const uint8_t value = static_cast<uint8_t>(HexValue(m_digits));
        m_digits.clear();
        if (m_state == State::AlterAddress) {
            m_cell = value;
            m_state = State::AlterData;
        } else {
            m_chip.InternalRam()[m_cell] = value;
            m_cell = static_cast<uint8_t>(m_cell + 1);
        }
        Answer(std::string(1, c) + Cell());
        return;
    }
    Answer(std::string(1, c));
    if (m_digits.size() < m_wanted) {
        return;
    }
    ApplyChange();
    m_state = State::Idle;
    Done();
}

std::string RomMonitor::Cell() {
    char text[16];
    std::snprintf(text, sizeof text, "\r\n%02X:%02X ", m_cell, m_chip.InternalRam()[m_cell]);
    return text;
}

void RomMonitor::ApplyChange() {
    const uint32_t value = HexValue(m_digits);
    ostrel::CRegisterFile& r = m_chip.Registers();
    if (m_state == State::BreakAddress) {
        uint16_t& address = m_breakpoints[m_breakpoint];
        if (address != 0) {
            m_chip.SetStop(address, false);
        }
        address = static_cast<uint16_t>(value);
        for (uint16_t set : m_breakpoints) {
            if (set != 0) {
                m_chip.SetStop(set, true);
            }
        }
        char note[48];
        std::snprintf(note, sizeof note, "breakpoint %d at %04X", m_breakpoint, address);
        Note(note);
        return;
    }
    switch (m_letter) {
        case 'A':
            r.SetAcc(static_cast<uint8_t>(value));
            break;
        case 'B':
            r.SetB(static_cast<uint8_t>(value));
            break;
        case 'S':
            r.SetSp(static_cast<uint8_t>(value));
            break;
        case 'W':
            r.SetPsw(static_cast<uint8_t>(value));
            break;
        case 'D':
            r.SetDptr(static_cast<uint16_t>(value));
            break;
        default:
            r.SetPc(static_cast<uint16_t>(value));
            break;
    }
}

std::string RomMonitor::Dump() {
    ostrel::CRegisterFile& r = m_chip.Registers();
    const std::vector<uint8_t>& ram = m_chip.InternalRam();
    uint16_t pc = r.Pc();
    if (Faulty(MonitorFaults::Fault::LowPc)) {
        pc &= 0x0FFF;
    }
    char line[128];
    int length = std::snprintf(line, sizeof line,
                               "R PC=%04X SP=%02X A=%02X B=%02X PSW=%02X DPTR=%04X R0=%02X "
                               "R1=%02X R2=%02X R3=%02X R4=%02X R5=%02X R6=%02X",
                               pc, r.Sp(), r.Acc(), r.B(), r.Psw(), r.Dptr(), ram[0], ram[1],
                               ram[2], ram[3], ram[4], ram[5], ram[6]);
    if (!Faulty(MonitorFaults::Fault::ShortDump)) {
        length += std::snprintf(line + length, sizeof line - length, " R7=%02X", ram[7]);
    }
    std::snprintf(line + length, sizeof line - length, "*");
    return line;
}

void RomMonitor::LoadCode() {
    std::vector<uint8_t>& code = m_chip.Code();
    for (const auto& cell : Memory()) {
        code[cell.first & 0xFFFF] = cell.second;
    }
}

void RomMonitor::Step() {
    LoadCode();
    const uint64_t took = m_chip.Step(kAnswerMicros, false);
    Noted("step to %04X", m_chip.Registers().Pc());
    if (!Faulty(MonitorFaults::Fault::Silent)) {
        OnBoard().SendAfter(took, Faulty(MonitorFaults::Fault::NoPrompt) ? "\r\n" : "\r\n*");
    }
}

void RomMonitor::Run() {
    LoadCode();
    Note("run");
    m_chip.Run(kAnswerMicros, 0, [this](BoardChip::RunEnd end, uint64_t at) {
        char note[64];
        if (end != BoardChip::RunEnd::Stopped) {
            std::snprintf(note, sizeof note, "monitor: the program stopped the chip at %04X",
                          m_chip.Registers().Pc());
            OnBoard().Log().Add(at, note);
            return;
        }
        std::snprintf(note, sizeof note, "monitor: break at %04X", m_chip.Registers().Pc());
        OnBoard().Log().Add(at, note);
        if (!Faulty(MonitorFaults::Fault::Silent)) {
            OnBoard().SendAt(at + kAnswerMicros,
                             Faulty(MonitorFaults::Fault::NoPrompt) ? "\r\n" : "\r\n*");
        }
    });
}

RomMonitorBoard::RomMonitorBoard(const LineSettings& line, const MonitorFaults& faults)
    : ResidentProgramBoard(
          line, ModeLine::None,
          [faults](Board& board) { return std::make_unique<RomMonitor>(board, faults); }),
      m_faults(faults) {
    m_monitor = &static_cast<RomMonitor&>(Program());
}

void RomMonitorBoard::OnRts(bool on) {
    m_held = on;
    if (on) {
        m_monitor->Hold();
    } else if (!m_gone) {
        m_monitor->Start();
    }
}

void RomMonitorBoard::OnByte(BYTE byte, bool garbled) {
    if (m_held || m_gone) {
        return;
    }
    if (m_monitor->Chip().Running()) {
        if (!garbled) {
            m_monitor->Chip().Receive(byte);
        }
        return;
    }
    ResidentProgramBoard::OnByte(byte, garbled);
    if (m_faults.fault == MonitorFaults::Fault::Vanish && m_monitor->Loading() &&
        ++m_loadBytes == std::max<uint32_t>(m_faults.at, 1)) {
        Vanish();
    }
}

void RomMonitorBoard::Vanish() {
    m_gone = true;
    m_monitor->Chip().SetMuted(true);
    Log().Add(Now(), "monitor: the board is gone");
    for (CallKind kind : {CallKind::Open, CallKind::Write, CallKind::Read, CallKind::Purge,
                          CallKind::Lines, CallKind::Settings}) {
        FailNext(kind, 0xFFFFFFFF, ERROR_GEN_FAILURE);
    }
}

bool TakeMonitorFaults(BoardOptions& options, MonitorFaults* faults, std::string* error) {
    std::string text;
    if (options.Take("monitor-fault", &text)) {
        using Fault = MonitorFaults::Fault;
        const std::pair<const char*, Fault> names[] = {{"bad-b-echo", Fault::BadBreakEcho},
                                                       {"short-dump", Fault::ShortDump},
                                                       {"low-pc", Fault::LowPc},
                                                       {"no-prompt", Fault::NoPrompt},
                                                       {"chatter", Fault::Chatter},
                                                       {"silent", Fault::Silent},
                                                       {"vanish", Fault::Vanish}};
        bool known = false;
        for (const auto& name : names) {
            if (text == name.first) {
                faults->fault = name.second;
                known = true;
            }
        }
        if (!known) {
            *error =
                "monitor-fault must be bad-b-echo, short-dump, low-pc, no-prompt, chatter, "
                "silent or vanish";
            return false;
        }
    }
    return options.TakeNumber("monitor-fault-at", &faults->at, error);
}

std::unique_ptr<Board> MakeRomMonitorBoard(BoardOptions& options, std::string* error) {
    MonitorFaults faults;
    if (!TakeMonitorFaults(options, &faults, error)) {
        return nullptr;
    }
    return std::make_unique<RomMonitorBoard>(options.Framing(), faults);
}

}  // namespace boards
