// The text loaders' boards: the resident program behind its program-mode line or the board PIC.
#include "boards/resident_program_board.h"

namespace boards {
namespace {

constexpr BYTE kResidentProgramType = 3;

}  // namespace

ResidentProgramBoard::ResidentProgramBoard(const LineSettings& line, ModeLine modeLine,
                                           const ProgramMaker& make)
    : Board(line), m_modeLine(modeLine), m_programMode(modeLine == ModeLine::None) {
    m_program = make(*this);
}

ResidentProgramBoard::ResidentProgramBoard(const LineSettings& line, ModeLine modeLine,
                                           const ResidentProgramSettings& settings)
    : ResidentProgramBoard(line, modeLine, [settings](Board& board) {
          return std::make_unique<ResidentProgram>(board, settings);
      }) {}

void ResidentProgramBoard::ModeLineChanged(bool on) {
    if (on == m_programMode) {
        return;
    }
    m_programMode = on;
    if (on) {
        m_program->Restart();
        Log().Add(Now(), "program mode");
    } else {
        Log().Add(Now(), "program runs");
    }
}

void ResidentProgramBoard::OnRts(bool on) {
    if (m_modeLine == ModeLine::Rts) {
        ModeLineChanged(on);
    }
}

void ResidentProgramBoard::OnDtr(bool on) {
    if (m_modeLine == ModeLine::Dtr) {
        ModeLineChanged(on);
    }
}

void ResidentProgramBoard::OnByte(BYTE byte, bool garbled) {
    if (m_programMode) {
        m_program->Take(byte, garbled);
    }
}

PicResidentProgramBoard::PicResidentProgramBoard(const LineSettings& picLine,
                                                 const PicSettings& pic,
                                                 const ResidentProgramSettings& settings)
    : BoardPic(picLine, pic), m_program(*this, settings) {}

BYTE PicResidentProgramBoard::SetType(BYTE type) { return type == kResidentProgramType ? 0 : 1; }

bool PicResidentProgramBoard::PassesThrough(BYTE type) const {
    return type == kResidentProgramType;
}

void PicResidentProgramBoard::EnterPassThrough(BYTE) {
    m_program.Restart();
    Log().Add(Now(), "program mode");
}

void PicResidentProgramBoard::PassThroughByte(BYTE byte, const LineSettings& host) {
    m_program.Take(byte, host != PicLine());
}

void PicResidentProgramBoard::Released() { Log().Add(Now(), "program runs"); }

ResidentProgramSettings RomMonitorSettings() {
    ResidentProgramSettings settings;
    settings.logName = "monitor";
    settings.wakeByCr = false;
    settings.unlock = false;
    settings.echo = true;
    settings.prompt = '*';
    return settings;
}

std::unique_ptr<Board> MakeSaltremBoard(BoardOptions& options, std::string* error) {
    ResidentProgramBoard::ModeLine line = ResidentProgramBoard::ModeLine::Rts;
    std::string text;
    if (options.Take("line", &text)) {
        if (text == "dtr") {
            line = ResidentProgramBoard::ModeLine::Dtr;
        } else if (text != "rts") {
            *error = "line must be rts or dtr";
            return nullptr;
        }
    }
    return std::make_unique<ResidentProgramBoard>(options.Framing(), line,
                                                  ResidentProgramSettings());
}

std::unique_ptr<Board> MakeSaltremPicBoard(BoardOptions& options, std::string* error) {
    PicSettings pic;
    if (!TakePicSettings(options, &pic, error)) {
        return nullptr;
    }
    return std::make_unique<PicResidentProgramBoard>(options.Framing(), pic,
                                                     ResidentProgramSettings());
}

}  // namespace boards
