// The boards of the text loaders: a resident program (see ResidentProgram) behind a program-mode
// line, alone on the line (the Saltrem-A boards, the 8051 board's ROM monitor) or behind the board
// PIC (the Saltrem-A board with a PIC, which must first be told to pass the line through).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "boards/board.h"
#include "boards/board_pic.h"
#include "boards/catalogue.h"
#include "boards/program_store.h"
#include "boards/resident_program.h"

namespace boards {

// The resident program listens at the board's framing. The program-mode line, when the board has
// one (RTS or DTR), restarts the resident program when it rises and lets the downloaded program
// run when it falls (closing the port drops it too); while the downloaded program runs the board
// takes nothing. Without such a line the resident program always has the line.
class ResidentProgramBoard : public Board, public ProgramStore {
public:
    enum class ModeLine { None, Rts, Dtr };
    // Builds the resident program once the board is built (a monitor with commands of its own
    // derives from ResidentProgram and is made here).
    using ProgramMaker = std::function<std::unique_ptr<ResidentProgram>(Board& board)>;
    ResidentProgramBoard(const LineSettings& line, ModeLine modeLine, const ProgramMaker& make);
    ResidentProgramBoard(const LineSettings& line, ModeLine modeLine,
                         const ResidentProgramSettings& settings);

    const std::map<uint32_t, uint8_t>& LoadedCells() const override { return m_program->Memory(); }
    const ResidentProgram& Program() const { return *m_program; }
    ResidentProgram& Program() { return *m_program; }
    // Whether the resident program has the line (program mode).
    bool InProgramMode() const { return m_programMode; }

protected:
    void OnRts(bool on) override;
    void OnDtr(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;

private:
    void ModeLineChanged(bool on);

    ModeLine m_modeLine;
    std::unique_ptr<ResidentProgram> m_program;
    bool m_programMode;
};

// The board PIC (see BoardPic) in front of the resident program: set type 3 passes the line
// through to it (restarted), any other type is refused (status 1). RTS off lets the downloaded
// program run, and ends the pass-through.
class PicResidentProgramBoard : public BoardPic, public ProgramStore {
public:
    PicResidentProgramBoard(const LineSettings& picLine, const PicSettings& pic,
                            const ResidentProgramSettings& settings);

    const std::map<uint32_t, uint8_t>& LoadedCells() const override { return m_program.Memory(); }
    const ResidentProgram& Program() const { return m_program; }

protected:
    BYTE SetType(BYTE type) override;
    bool PassesThrough(BYTE type) const override;
    void EnterPassThrough(BYTE type) override;
    void PassThroughByte(BYTE byte, const LineSettings& host) override;
    // The resident program needs no run command: RTS off releases the chip.
    bool ChipAsksToRun() const override { return true; }
    void Released() override;

private:
    ResidentProgram m_program;
};

// The resident program's settings in the ROM monitor's dialect: awake from the start, no lock,
// every command character echoed, '*' as its prompt.
ResidentProgramSettings RomMonitorSettings();

// The catalogue's makers. saltrem-a: line=rts|dtr (its program-mode line, default rts).
// saltrem-a-pic: the board PIC's keys (TakePicSettings). (rom-monitor: rom_monitor.h.)
std::unique_ptr<Board> MakeSaltremBoard(BoardOptions& options, std::string* error);
std::unique_ptr<Board> MakeSaltremPicBoard(BoardOptions& options, std::string* error);

}  // namespace boards
