// The loader frame's test board: HEX text into memory while RTS is on.
#include "boards/loader_test_board.h"

namespace boards {

LoaderTestBoard::LoaderTestBoard(const LineSettings& line, bool silent)
    : Board(line), m_silent(silent) {}

void LoaderTestBoard::OnRts(bool on) {
    if (on && !m_programMode) {
        m_memory.Restart();
        m_loadSpoilt = false;
    }
    m_programMode = on;
}

void LoaderTestBoard::OnClose() { m_programMode = false; }

void LoaderTestBoard::OnByte(BYTE byte, bool garbled) {
    if (!m_programMode) {
        return;
    }
    // A garbled byte spoils its line: it stands in as a character no HEX line holds.
    HexTextMemory::Line line = m_memory.Take(garbled ? '?' : byte);
    if (line == HexTextMemory::Line::Bad) {
        m_loadSpoilt = true;
    }
    if (line == HexTextMemory::Line::End && !m_silent) {
        Send(m_loadSpoilt ? "E" : "K");
    }
}

std::unique_ptr<Board> MakeLoaderTestBoard(BoardOptions& options, std::string* error) {
    uint32_t silent = 0;
    if (!options.TakeNumber("silent", &silent, error)) {
        return nullptr;
    }
    return std::make_unique<LoaderTestBoard>(options.Framing(), silent != 0);
}

}  // namespace boards
