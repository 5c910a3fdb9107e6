// The echo board: every byte back as it came.
#include "boards/echo_board.h"

namespace boards {

void EchoBoard::OnByte(BYTE byte, bool) { Send(std::vector<BYTE>{byte}); }

}  // namespace boards
