// The resident program of the 8051 boards that take a program as raw Intel HEX text, as a part of
// a simulated board: woken by a carriage return, unlocked by 'U', told to load by 'L', it stores
// the HEX text that follows into its memory line by line; 'H' ends a download. The ROM monitor is
// the same program in another dialect (every command character echoed, '*' as its prompt, no lock)
// and the base of a monitor with commands of its own.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "boards/board.h"
#include "boards/hex_text_memory.h"

namespace boards {

struct ResidentProgramSettings {
    const char* logName = "resident";  // how its notes begin in the board's log
    bool wakeByCr = true;              // after a restart it sleeps until a carriage return
    bool unlock = true;                // 'U' CR must come before a load is taken
    bool echo = false;                 // every command character is echoed
    char prompt = 0;                   // sent once a command line is done or a load ends; 0: none
};

// Commands are lines ended by CR (0x0D):
//   ""   (a bare CR)  wakes the program; awake, it answers with its prompt
//   "U"  unlocks it
//   "L"  starts a load (refused, with a note, while it is locked): the bytes that follow are Intel
//        HEX text (see HexTextMemory) until the end record, each line stored as it completes
// and 'H' at the start of a line ends the download at once (no CR follows it). Any other line is
// noted and answered with the prompt. During a load nothing is echoed or answered; a byte that
// cannot begin a HEX line (anything but ':', CR, LF) ends a load that has no end record and is
// taken as a command. Bytes that came garbled spoil their HEX line, or are dropped as commands.
// Every step leaves a note in the board's log ("resident: load complete, 12 lines").
class ResidentProgram {
public:
    ResidentProgram(Board& board, const ResidentProgramSettings& settings);
    virtual ~ResidentProgram() = default;
    ResidentProgram(const ResidentProgram&) = delete;
    ResidentProgram& operator=(const ResidentProgram&) = delete;

    // Started again (the board's reset released): asleep when it wakes by CR, locked, no command
    // or load under way. The memory stays.
    void Restart();
    // A byte from the host; `garbled` when it came at another framing than the board's.
    void Take(BYTE byte, bool garbled);

    const std::map<uint32_t, uint8_t>& Memory() const { return m_memory.Cells(); }
    bool Awake() const { return m_awake; }
    bool Unlocked() const { return m_unlocked; }
    bool Loading() const { return m_loading; }
    // Loads that ended with their end record, and whether 'H' ended a download since the restart.
    int CompletedLoads() const { return m_completedLoads; }
    bool DownloadEnded() const { return m_downloadEnded; }

protected:
    // A character outside a load (after its echo): a monitor with commands of its own takes them
    // here and returns true; false leaves it to the command lines above.
    virtual bool OwnCommand(BYTE /*byte*/) { return false; }
    // What derived monitors answer with and note.
    Board& OnBoard() { return m_board; }
    void Prompt();
    void Note(const std::string& what);

private:
    void TakeCommand(BYTE byte);
    void CarryOutLine();
    void TakeLoadByte(BYTE byte, bool garbled);
    void EndLoad(bool endRecord);

    Board& m_board;
    ResidentProgramSettings m_settings;
    HexTextMemory m_memory;
    std::string m_line;
    bool m_awake = false;
    bool m_unlocked = false;
    bool m_loading = false;
    bool m_downloadEnded = false;
    int m_loadLines = 0;
    int m_loadBadLines = 0;
    int m_completedLoads = 0;
};

}  // namespace boards
