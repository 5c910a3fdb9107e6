// A board that sends every byte it receives straight back, garbled ones included.
#pragma once

#include <memory>
#include <string>

#include "boards/board.h"
#include "boards/catalogue.h"

namespace boards {

class EchoBoard : public Board {
public:
    using Board::Board;

protected:
    void OnByte(BYTE byte, bool garbled) override;
};

// The catalogue's maker: an echo board at the options' framing; it takes no keys of its own.
std::unique_ptr<Board> MakeEchoBoard(BoardOptions& options, std::string* error);

}  // namespace boards
