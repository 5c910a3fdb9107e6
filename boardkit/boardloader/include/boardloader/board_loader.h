// The board-loader routines: board PIC frames, T89C51Rx2 boot-loader records with their echo
// check, and the boot loader's 'U' synchronisation, each one exchange on a CComms in synchronous
// mode. Linked into the board debugger and the loaders of boards that carry the debug board's PIC.
#pragma once

#include "comms/comms.h"
#include "loader/loader_abi.h"

// Every routine that takes a text buffer writes one result line into it, cut to this size
// (terminator included); the buffer must hold at least this much.
constexpr int kBoardTextSize = 80;

// The arrangements of the debug board's microcontroller (the kernel link's DetectBoard finds
// which); setChipTypeViaPic takes one.
enum BoardKind : int {
    BOARD_KIND_UNKNOWN = 0,     // nothing detected yet
    BOARD_KIND_RX2_DIRECT = 1,  // a T89C51Rx2 whose boot loader answers on the line
    BOARD_KIND_RX2_PIC = 2,     // a T89C51Rx2 behind the board PIC, reached after set type 2
    BOARD_KIND_S53_PIC = 3,     // an AT89S53 or AT89S8252 programmed through PIC frames
};

// Command bytes of the board PIC's frames.
enum PicCommand : BYTE {
    PIC_SET_TYPE = 0x01,  // 01 type sum -> 01 status sum
    PIC_WRITE = 0x02,     // 02 space count addrLo addrHi data... sum -> 02 status sum
    PIC_READ = 0x03,      // 03 space count addrLo addrHi sum -> 03 status data... sum
    PIC_VERSION = 0x05,   // 05 -> 05 c c c c sum
};

// What the PIC serves after PIC_SET_TYPE: an AT89S53/AT89S8252 programmed through its frames, or
// the line passed through to a T89C51Rx2's boot loader.
constexpr BYTE kPicTypeDirect = 1;
constexpr BYTE kPicTypePassThrough = 2;

// Program memory as the PIC writes it: space 1 below 0x2000, space 5 from there to 0x3000; a
// frame carries at most 32 bytes and never crosses 0x2000.
constexpr BYTE kPicSpaceLow = 1;
constexpr BYTE kPicSpaceHigh = 5;
constexpr unsigned kPicSpaceBoundary = 0x2000;
constexpr unsigned kPicMemoryEnd = 0x3000;
constexpr int kPicMaxBlock = 32;
// The PIC needs this long before bytes 1, 5, 15 and 25 of a write frame (it stores as it goes).
constexpr DWORD kPicPauseMs = 7;

// The boot loader's records that need no data of the caller.
#define ISP_ERASE_BOOT_VECTOR ":020000030400F7"
#define ISP_PROGRAM_BOOT_VECTOR ":030000030601FCF7"
#define ISP_PROGRAM_STATUS ":03000003060000F4"
#define ISP_READ_BOOT_VECTOR ":020000050702F0"
#define ISP_READ_STATUS ":020000050701F1"
// What the boot vector and status byte hold when the chip starts its own program after a reset.
constexpr BYTE kIspBootVector = 0xFC;
constexpr BYTE kIspStatusByte = 0x00;
// Program records carry at most this many bytes; a display record reads back at most as many.
constexpr int kIspMaxBlock = 16;

// The 8-bit sum of `length` bytes into *sum: 0 for a length of 0 or less. Frames are short: at
// most 255 bytes are summed.
void additiveChecksum(const BYTE* data, int length, BYTE* sum);

// One PIC_WRITE frame of `count` (1 to 32) bytes at `address`, its bytes paced for the PIC.
// LDR_ERR_DOWNLOAD for a block that crosses 0x2000 or passes 0x3000; a failed write or read
// passes its CommsResult on; a reply with a wrong sum LDR_ERR_CHECKSUM, a wrong command byte
// LDR_ERR_PIC_VERSION, a failure status LDR_ERR_CHECKSUM.
int writeBlockViaPic(CComms& comms, unsigned address, int count, const BYTE* data, char* text);

// One PIC_SET_TYPE frame for `type` sent and its 3-byte reply read into `reply`, which the caller
// judges (what a failed read left of it included): 0, or the failed write's or read's code.
int exchangeSetTypeViaPic(CComms& comms, BYTE type, BYTE reply[3]);

// One PIC_SET_TYPE frame: type 2 when `kind` is BOARD_KIND_RX2_PIC, else type 1. Codes as
// writeBlockViaPic's.
int setChipTypeViaPic(CComms& comms, int kind, char* text);

// One PIC_VERSION exchange; on success the text names the four version characters. A wrong
// command byte LDR_ERR_PIC_VERSION, a wrong sum LDR_ERR_CHECKSUM, a failed write or read its
// CommsResult.
int readPicVersion(CComms& comms, char* text);

// One boot-loader record, character by character, each echo compared, then the 3-byte reply.
// 0 when the reply is '.' and all of it came; the read's CommsResult when it starts with '.' but
// came short; LDR_ERR_DOWNLOAD when it starts with anything else, and when the record was cut
// short by a failed write, a failed read or a wrong echo (then no reply is read: none was asked
// for).
int sendIspRecord(CComms& comms, const char* record);

// Builds and sends one program-data record of `count` (at most 255) bytes at `address`.
int writeDataIsp(CComms& comms, unsigned address, int count, const BYTE* data, char* text);

// Erases boot vector and status byte, then programs them to 0xFC and 0x00, stopping at the first
// failure, with a 10 s time-out per byte (the chip erases slowly) that is back at 20 ms on every
// path. The result of the last record sent.
int programBootVectorIsp(CComms& comms, char* text);

// Up to three 'U's, each with its echo read; an echo of 'U' ends them. 0 also when every echo was
// wrong (the next record's own echo check catches a wrong baud rate); a failed write or read
// passes its code on.
int syncIspU(CComms& comms, char* text);

// Sends text character by character with each echo compared, reading no reply: 0,
// LDR_ERR_DOWNLOAD for a wrong echo, or a failed write's or read's code. An empty text sends
// nothing.
int sendIspLine(CComms& comms, const char* line);

// Reads back `count` (1 to 16) bytes at `address` through a display record into buffer.
int readBlockIsp(CComms& comms, unsigned address, int count, BYTE* buffer, char* text);

// Sends a read record (ISP_READ_BOOT_VECTOR, ISP_READ_STATUS) and takes the leading hexadecimal
// number of its 5-character reply as the byte.
int readSpecialByteIsp(CComms& comms, BYTE* value, const char* record, char* text);

// The system's text for a Win32 error code into `text` (its line end kept as the system gives
// it), or an empty text when the system has none.
void systemErrorText(DWORD error, char* text, int size);
