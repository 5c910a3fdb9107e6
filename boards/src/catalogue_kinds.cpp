// The table of the board catalogue: one line per kind of simulated board.
#include "boards/catalogue.h"
#include "boards/echo_board.h"
#include "boards/loader_test_board.h"

namespace boards {

const std::vector<BoardKind>& BoardKinds() {
    static const std::vector<BoardKind> kinds = {
        {"echo", "sends every byte back as it came", MakeEchoBoard},
        {"loader-test", "the loader frame's test board: HEX text into memory while RTS is on",
         MakeLoaderTestBoard},
    };
    return kinds;
}

}  // namespace boards
