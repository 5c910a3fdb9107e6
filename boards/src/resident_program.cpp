// The resident program of the HEX-text boards: command lines, the load, and its notes.
#include "boards/resident_program.h"

#include <vector>

namespace boards {
namespace {

constexpr BYTE kCr = 0x0D;
constexpr BYTE kLf = 0x0A;

bool BeginsHexText(BYTE byte) { return byte == ':' || byte == kCr || byte == kLf; }

}  // namespace

ResidentProgram::ResidentProgram(Board& board, const ResidentProgramSettings& settings)
    : m_board(board), m_settings(settings) {
    m_awake = !settings.wakeByCr;
}

void ResidentProgram::Restart() {
    m_awake = !m_settings.wakeByCr;
    m_unlocked = false;
    m_loading = false;
    m_downloadEnded = false;
    m_line.clear();
    m_memory.Restart();
}

void ResidentProgram::Prompt() {
    if (m_settings.prompt != 0) {
        m_board.Send(std::string(1, m_settings.prompt));
    }
}

void ResidentProgram::Note(const std::string& what) {
    m_board.Log().Add(m_board.Now(), std::string(m_settings.logName) + ": " + what);
}

void ResidentProgram::Take(BYTE byte, bool garbled) {
    if (m_loading) {
        if (garbled || !m_memory.AtLineStart() || BeginsHexText(byte)) {
            TakeLoadByte(byte, garbled);
            return;
        }
        EndLoad(false);
    }
    if (garbled) {
        return;  // a command character it could not read
    }
    TakeCommand(byte);
}

void ResidentProgram::TakeCommand(BYTE byte) {
    if (!m_awake) {
        if (byte == kCr) {
            m_awake = true;
            Note("awake");
            Prompt();
        }
        return;
    }
    if (m_settings.echo) {
        m_board.Send(std::vector<BYTE>{byte});
    }
    if (OwnCommand(byte)) {
        return;
    }
    if (byte == 'H' && m_line.empty()) {
        m_downloadEnded = true;
        Note("end of download");
        return;
    }
    if (byte != kCr) {
        if (byte != kLf || !m_line.empty()) {
            m_line += static_cast<char>(byte);
        }
        return;
    }
    CarryOutLine();
    m_line.clear();
}

void ResidentProgram::CarryOutLine() {
    if (m_line.empty()) {
        Prompt();
    } else if (m_line == "U") {
        m_unlocked = true;
        Note("unlocked");
        Prompt();
    } else if (m_line == "L") {
        if (m_settings.unlock && !m_unlocked) {
            Note("load refused: locked");
            Prompt();
            return;
        }
        m_loading = true;
        m_loadLines = m_memory.GoodLines();
        m_loadBadLines = m_memory.BadLines();
        m_memory.Restart();
        Note("load begins");
    } else {
        Note("command '" + m_line + "'");
        Prompt();
    }
}

void ResidentProgram::TakeLoadByte(BYTE byte, bool garbled) {
    // A garbled byte stands in as a character no HEX line holds: it spoils its line.
    switch (m_memory.Take(garbled ? '?' : byte)) {
        case HexTextMemory::Line::End:
            EndLoad(true);
            break;
        case HexTextMemory::Line::Bad:
            Note("bad line " + std::to_string(m_memory.GoodLines() + m_memory.BadLines() -
                                              m_loadLines - m_loadBadLines));
            break;
        default:
            break;
    }
}

void ResidentProgram::EndLoad(bool endRecord) {
    m_loading = false;
    int lines = m_memory.GoodLines() - m_loadLines;
    int bad = m_memory.BadLines() - m_loadBadLines;
    std::string what = endRecord ? "load complete, " : "load ends without an end record, ";
    what += std::to_string(lines) + (lines == 1 ? " line" : " lines");
    if (bad != 0) {
        what += ", " + std::to_string(bad) + " bad";
    }
    Note(what);
    if (endRecord) {
        ++m_completedLoads;
    }
    Prompt();
}

}  // namespace boards
