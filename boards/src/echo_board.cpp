// The echo board: every byte back as it came.
#include "boards/echo_board.h"

namespace boards {

void EchoBoard::OnByte(BYTE byte, bool) { Send(std::vector<BYTE>{byte}); }

std::unique_ptr<Board> MakeEchoBoard(BoardOptions& options, std::string*) {
    return std::make_unique<EchoBoard>(options.Framing());
}

}  // namespace boards
