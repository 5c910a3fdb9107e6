// The table of the board catalogue: one line per kind of simulated board.
#include "boards/catalogue.h"
#include "boards/echo_board.h"

namespace boards {

const std::vector<BoardKind>& BoardKinds() {
    static const std::vector<BoardKind> kinds = {
        {"echo", "sends every byte back as it came", MakeEchoBoard},
    };
    return kinds;
}

}  // namespace boards
