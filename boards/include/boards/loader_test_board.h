// The board of the loader frame's test plug-in: takes a program as HEX text while RTS is on.
#pragma once

#include <memory>
#include <string>

#include "boards/board.h"
#include "boards/catalogue.h"
#include "boards/hex_text_memory.h"
#include "boards/program_store.h"

namespace boards {

// RTS on puts it in program mode (a new load begins); RTS off, or the port closing, ends it.
// In program mode every byte is HEX text; the end record is answered with 'K' when every line of
// the load was good, else 'E'. Bytes outside program mode are ignored; garbled bytes spoil their
// line.
class LoaderTestBoard : public Board, public ProgramStore {
public:
    // `silent`: it never answers.
    LoaderTestBoard(const LineSettings& line, bool silent);

    const std::map<uint32_t, uint8_t>& LoadedCells() const override { return m_memory.Cells(); }
    bool InProgramMode() const { return m_programMode; }

protected:
    void OnRts(bool on) override;
    void OnClose() override;
    void OnByte(BYTE byte, bool garbled) override;

private:
    bool m_silent;
    bool m_programMode = false;
    bool m_loadSpoilt = false;
    HexTextMemory m_memory;
};

// The catalogue's maker: at the options' framing; "silent=1" makes a board that never answers.
std::unique_ptr<Board> MakeLoaderTestBoard(BoardOptions& options, std::string* error);

}  // namespace boards
