// A board that sends every byte it receives straight back, garbled ones included.
#pragma once

#include "boards/board.h"

namespace boards {

class EchoBoard : public Board {
public:
    using Board::Board;

protected:
    void OnByte(BYTE byte, bool garbled) override;
};

}  // namespace boards
