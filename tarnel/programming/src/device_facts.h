// What the programming core asks of each device code, one row per code: which back-end speaks to
// it, its chip type, its word areas, how it is erased, its block time-outs and its end record.
// Codes without a row get the row of an unknown device.
#pragma once

#include "tarnel/images/chip_table.h"
#include "w32/types.h"

// The protocol back-end of a device: who takes its blocks on the wire.
enum class BackendKind : BYTE {
    None,          // an unknown device: nothing is sent, every block fails
    Pic,           // PIC16/PIC18 through the board's packets, code and special in 16-bit words
    BoardChip,     // AT89S8252/53: the board programs the chip from its packets
    KestrixBoard,  // the Kestrix board: board packets, restarted by an RTS pulse
    SerialEeprom,  // the serial EEPROM's own packets
    FlashBoard,    // the HC908 flash board, with its RAM-resident loader
    BootLoader,    // 8051 flash chips through their own boot loader's lines
    MemoryBoard,   // the memory board and the drive
};

// How the chip is erased as a whole.
enum class EraseKind : BYTE {
    None,             // cannot be erased: the erase fails
    ChipPacket,       // the board's erase packet
    BootLoaderLines,  // the boot loader's erase line (slow)
    FlashBoard,       // the HC908 board's erase
    MemoryBoard,      // the memory board's erase
};

// What ends a write on a boot-loader chip.
enum class EndRecord : BYTE {
    None,             // nothing follows the blocks
    ThenLeaveLoader,  // the end record, then the chip leaves the loader the board held it in
    ThenRtsStart,     // the end record, then an RTS pulse starts the chip
};

struct DeviceFacts {
    BYTE code = kDeviceUnknown;
    BackendKind backend = BackendKind::None;
    // The chip type the protocol object gets (0: the object's default).
    BYTE chipType = 0;
    // The chip type of the security-bits operation (0: the object's default).
    BYTE securityChipType = 0;
    // The code and special areas hold 16-bit words: their packets swap the bytes of each word and
    // progress counts words.
    bool wordAreas = false;
    // The code and special areas' cells are counted in words (halved) in the range statuses.
    bool countsInWords = false;
    // The set-chip-type step brings the chip into its mode through the back-end; without, the
    // board gets a set-type packet with the code.
    bool entersThroughBackend = true;
    EraseKind erase = EraseKind::None;
    // The erase names the chip in a text ("Erase PIC16F877A..."; null: no text), and whether the
    // erase start status follows it.
    const char* eraseTitle = nullptr;
    bool eraseStartStatus = true;
    // Port time-outs in ms set before each write block, each read or verify block, and the mode
    // entry (0: the port's time-out as it is).
    DWORD writeTimeOut = 0;
    DWORD readTimeOut = 0;
    DWORD enterTimeOut = 0;
    EndRecord endRecord = EndRecord::None;
    // The board holds the chip in its loader; every operation ends by starting its program.
    bool leavesLoaderMode = false;
    // The (A)T89C51Rx2 boards: their entry texts, and their loader at 115200 baud.
    bool rx2Board = false;
    // The (A)T89C51RX2 loaders: their connection text, and no oscillator frequency.
    bool rx2Loader = false;
    // The rate of a run that this device's job starts.
    DWORD baud = 19200;
    // The data area lies behind this many ID bytes of the chip (0: at its start).
    BYTE dataBehindId = 0;
    // The start of a read, write or verify names the board's own areas in a text.
    bool namesAreasInStart = false;
    // A PIC16 keeps the chip's calibration word in its special area; a PIC18 masks its
    // configuration bytes.
    bool keepsCalibrationWord = false;
    // A write asks whether to erase the flash first.
    bool asksEraseFirst = false;
    // The memory board's blocks are written at once; the drive's gathered into sectors.
    bool writesDirect = false;
    bool flushesAfterWrite = false;
};

// The row of a device code (the low byte of a job's code); an unknown code gets a row that sends
// nothing, entered by a set-type packet below 160.
const DeviceFacts& FactsOf(BYTE code);
