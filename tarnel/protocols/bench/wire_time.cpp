// Wire time of a 64 KB write through each board protocol, on the virtual clock, against the
// line-rate limit of 10 bits a byte.
#include <cstdio>
#include <memory>
#include <vector>

#include "boards/boot_loader.h"
#include "boards/memory_board.h"
#include "boards/programmer_board.h"
#include "comms/comms.h"
#include "tarnel/protocols/board_protocol.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/protocols/memory_board_protocol.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

const int kCom = 9;
const DWORD kImage = 0x10000;
const DWORD kBlock = 16;  // the programming thread's blocks

std::vector<BYTE> Image() {
    std::vector<BYTE> image(kImage);
    for (DWORD i = 0; i < kImage; ++i) {
        image[i] = static_cast<BYTE>(i * 13 + 7);
    }
    return image;
}

// Opens the port at `baud`, runs `write` and prints its virtual time; false when it failed.
template <class Write>
bool Measure(const char* what, boards::Board& board, DWORD baud, Write write) {
    w32test::vport::Attach(kCom, &board);
    CComms port;
    char text[64];
    std::snprintf(text, sizeof text, "COM%d: baud=%lu parity=N data=8 stop=1", kCom,
                  static_cast<unsigned long>(baud));
    bool ok = port.SetCommPort(text) == COMMS_OK && port.SetTimeOut(100) == COMMS_OK;
    uint64_t start = w32test::clock::NowMicros();
    int result = ok ? write(port) : -1;
    double seconds = (w32test::clock::NowMicros() - start) / 1e6;
    double limit = kImage * 10.0 / baud;
    std::printf("%-44s %6lu baud  %8.2f s  limit %6.2f s  x%5.2f%s\n", what,
                static_cast<unsigned long>(baud), seconds, limit, seconds / limit,
                result == 0 ? "" : "  FAILED");
    port.Deinstall();
    w32test::vport::Detach(kCom);
    return result == 0;
}

}  // namespace

int main() {
    w32test::clock::VirtualTimeScope virtualTime;
    const std::vector<BYTE> image = Image();
    bool ok = true;

    for (DWORD baud : {19200u, 115200u}) {
        boards::ProgrammerBoardOptions options;
        options.line.baud = baud;
        boards::ProgrammerBoard board(options);
        ok &= Measure("board packets, 16-byte blocks", board, baud, [&](CComms& port) {
            CChipProtocol chip(9);  // a PIC: no address limit, one memory kind
            chip.SetType(14);
            chip.SetMemoryKind(2);
            for (DWORD a = 0; a < kImage; a += kBlock) {
                int r = chip.WriteBlock(port, static_cast<WORD>(a), kBlock, &image[a]);
                if (r != 0) {
                    return r;
                }
            }
            return 0;
        });
    }
    for (DWORD baud : {19200u, 115200u}) {
        boards::BootLoaderBoard chipBoard;
        ok &= Measure("boot-loader lines, 16 bytes a line", chipBoard, baud, [&](CComms& port) {
            CChipProtocol chip(171);
            chip.SetType(15);
            char text[CChipProtocol::kTextSize];
            int r = chip.Sync(port, text);
            port.SetTimeOut(20);
            for (DWORD a = 0; a < kImage && r == 0; a += kBlock) {
                r = chip.WriteHexRecords(port, static_cast<WORD>(a), kBlock, &image[a], text);
            }
            return r;
        });
    }
    for (bool drive : {false, true}) {
        boards::MemoryBoardOptions options;
        options.drive = drive;
        boards::MemoryBoard board(options);
        ok &= Measure(
            drive ? "drive, 16-byte blocks into 512-byte sectors" : "memory board, 16-byte blocks",
            board, boards::MemoryBoard::kBaud, [&](CComms& port) {
                CMemoryBoardProtocol protocol;
                for (DWORD a = 0; a < kImage; a += kBlock) {
                    int r = protocol.WriteBlock(port, a, kBlock, &image[a], drive ? FALSE : TRUE);
                    if (r != 0) {
                        return r;
                    }
                }
                return protocol.FlushBlocks(port);
            });
    }
    return ok ? 0 : 1;
}
