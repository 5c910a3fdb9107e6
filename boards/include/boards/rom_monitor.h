// The 8051 board with a resident ROM monitor: the resident program in the monitor's dialect (its
// load command takes the HEX text) with the monitor's own commands on top, echoed and ended with
// the prompt '*'; the user's program, loaded from 0x1000 up, really runs on the chip (BoardChip)
// in single steps and in runs to the monitor's four breakpoints.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "boards/board.h"
#include "boards/board_chip.h"
#include "boards/catalogue.h"
#include "boards/resident_program.h"
#include "boards/resident_program_board.h"

namespace boards {

// How the monitor misbehaves, from its `at`-th command on (S, G, R, C, A, B, L counted from 1
// since the board was made; 0 or 1: from the first), except Vanish.
struct MonitorFaults {
    enum class Fault {
        None,
        BadBreakEcho,  // 'B' is answered "B-" (not "B ") and the command dropped
        ShortDump,     // the dump line lacks its R7 field
        LowPc,         // the dump gives the PC's low 12 bits (below 0x1000)
        NoPrompt,      // the monitor's own answers carry no prompt '*'
        Chatter,       // a step is answered with 'S' and 1023 '.', no prompt
        Silent,        // the monitor's commands are answered with nothing, echoes included
        Vanish,        // the board is gone once a load has taken `at` bytes of HEX text: every
                       // host call on its port fails from then on
    };
    Fault fault = Fault::None;
    uint32_t at = 0;
};

// The monitor's commands (host to monitor; every character echoed; answers end "\r\n*"):
//   S                      one instruction of the program
//   G, then ' '            "G " after G; the blank runs the program to a breakpoint, where the
//                          monitor answers "\r\n*"
//   R                      "R PC=%04X SP=%02X A=%02X B=%02X PSW=%02X DPTR=%04X R0=%02X ...
//   R7=%02X*"
//                          (R0 to R7: internal RAM 0x00 to 0x07)
//   C, letter, hex digits  "C " after C, "X=" after the letter; A, B, S (SP), W (PSW): two
//                          digits; D (DPTR), P (PC): four
//   A, two hex digits      "A " after A; after the address and after each data byte (two hex
//                          digits) "\r\nAA:VV " shows the next cell; CR ends the alteration
//   B, n (0-3), four hex   "B " after B, "n " after the digit; address 0000 clears breakpoint n
// A wrong argument is answered "?\r\n*". Everything else is the resident program's (lines ended
// by CR answered with '*'; 'L' CR and the HEX text: the load, '*' after its end record). Before
// a step or run the chip's program memory takes what the loads stored.
class RomMonitor : public ResidentProgram {
public:
    RomMonitor(Board& board, const MonitorFaults& faults);

    BoardChip& Chip() { return m_chip; }
    const BoardChip& Chip() const { return m_chip; }
    uint16_t Breakpoint(int n) const { return m_breakpoints[n]; }
    bool Faulty(MonitorFaults::Fault fault) const;
    // RTS on: the chip held, whatever it did stops.
    void Hold();
    // RTS off: the monitor starts again (registers reset, PC 0x1000, breakpoints cleared, the
    // memory kept) and prompts.
    void Start();

protected:
    bool OwnCommand(BYTE byte) override;

private:
    enum class State {
        Idle,
        GoBlank,
        ChangeLetter,
        ChangeDigits,
        AlterAddress,
        AlterData,
        BreakDigit,
        BreakAddress
    };

    bool Command(BYTE byte);
    void Argument(BYTE byte);
    void Answer(std::string text);
    void Done() { Answer("\r\n*"); }
    void Refuse();
    void Step();
    void Run();
    void LoadCode();
    std::string Dump();
    std::string Cell();
    void ApplyChange();
    void Noted(const char* format, unsigned value);

    MonitorFaults m_faults;
    BoardChip m_chip;
    State m_state = State::Idle;
    uint32_t m_commands = 0;
    char m_letter = 0;
    std::string m_digits;
    size_t m_wanted = 0;
    uint8_t m_cell = 0;
    int m_breakpoint = 0;
    uint16_t m_breakpoints[4] = {};
};

// The resident program's board without a program-mode line, with the monitor as its program:
// RTS on holds the chip, off restarts the monitor; while the program runs, the line's bytes go
// to the chip's serial receiver.
class RomMonitorBoard : public ResidentProgramBoard {
public:
    RomMonitorBoard(const LineSettings& line, const MonitorFaults& faults);

    RomMonitor& Monitor() { return *m_monitor; }
    const RomMonitor& Monitor() const { return *m_monitor; }

protected:
    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;

private:
    void Vanish();

    MonitorFaults m_faults;
    RomMonitor* m_monitor;
    bool m_held = false;
    bool m_gone = false;
    uint32_t m_loadBytes = 0;
};

// Takes monitor-fault=bad-b-echo|short-dump|low-pc|no-prompt|chatter|silent|vanish and
// monitor-fault-at=N out of a board's options.
bool TakeMonitorFaults(BoardOptions& options, MonitorFaults* faults, std::string* error);

// The catalogue's maker of kind rom-monitor: the framing keys and the monitor's faults.
std::unique_ptr<Board> MakeRomMonitorBoard(BoardOptions& options, std::string* error);

}  // namespace boards
