// The table of the board catalogue: one line per kind of simulated board.
#include "boards/boot_loader.h"
#include "boards/brontal_board.h"
#include "boards/catalogue.h"
#include "boards/corvanec_boards.h"
#include "boards/debug_kernel.h"
#include "boards/echo_board.h"
#include "boards/loader_test_board.h"
#include "boards/memory_board.h"
#include "boards/programmer_board.h"
#include "boards/prompt_boot_loader_board.h"
#include "boards/resident_program_board.h"
#include "boards/rom_monitor.h"
#include "boards/sim_kernel_board.h"

namespace boards {

const std::vector<BoardKind>& BoardKinds() {
    static const std::vector<BoardKind> kinds = {
        {"echo", "sends every byte back as it came", MakeEchoBoard},
        {"loader-test", "the loader frame's test board: HEX text into memory while RTS is on",
         MakeLoaderTestBoard},
        {"programmer", "the programmer board's controller: packets by memory kind, EEPROM, HC908",
         MakeProgrammerBoard},
        {"boot-loader", "an 8051 flash chip's serial boot loader: echoed Intel-HEX lines",
         MakeBootLoaderBoard},
        {"memory-board", "the RAM and flash memory board: 32-bit packets at 115200 baud",
         MakeMemoryBoard},
        {"drive", "the drive: the memory board's packets, whole 512-byte sectors", MakeDrive},
        {"corvanec", "the debug board: its PIC, a T89C51Rx2 boot loader or an AT89S53 behind it",
         MakeCorvanecBoard},
        {"corvanec2", "the debug board whose T89C51Rx2 boot loader answers on the line",
         MakeCorvanec2Board},
        {"brontal-g", "the 8051 board's program monitor: bytes into RAM and back while RTS is on",
         MakeBrontalBoard},
        {"saltrem-a", "the resident program of the text loaders: HEX text into memory after 'L'",
         MakeSaltremBoard},
        {"saltrem-a-pic", "the board PIC in front of the text loaders' resident program (type 3)",
         MakeSaltremPicBoard},
        {"brontal-e", "the 8051 board's text boot loader: '>' prompts, registers, erase, HEX lines",
         MakePromptBootLoaderBoard},
        {"rom-monitor",
         "the 8051 board's ROM monitor: echoes, '*', HEX text after 'L', the program really runs",
         MakeRomMonitorBoard},
        {"debug-kernel",
         "the debug board running the debug kernel: the program really runs on its 8051",
         MakeDebugKernelBoard},
        {"sim-kernel", "an 8051 running the simulation kernel in its flash: its ports on the line",
         MakeSimKernelBoard},
    };
    return kinds;
}

}  // namespace boards
