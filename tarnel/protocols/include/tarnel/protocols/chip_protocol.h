// Chips programmed through the board's packets (PIC, AT89S8252/53, Kestrix) and the serial boot
// loader of the 8051 flash chips.
//
// Boot-loader lines are Intel-HEX records in upper-case hexadecimal, written one character at a
// time; the chip echoes each character and answers a whole line with three characters, the first
// '.' when it carried the line out. The operations that take `text` write their result text of
// at most 80 characters there (the buffer holds kTextSize bytes; null: no text).
#pragma once

#include "tarnel/protocols/board_protocol.h"

class CChipProtocol : public CBoardProtocol {
public:
    static constexpr DWORD kTextSize = 81;

    // The device code of the job this object serves (it decides the AT89S8252/53 address limit
    // and the form of the display line).
    explicit CChipProtocol(BYTE deviceCode);

    // ---- board packets ----

    // Command 2 per packet. Device codes 160 and 161 skip a block that ends beyond 0xF7FF (it
    // counts as written). A block that runs from below 0x2000 to above it goes as two packets,
    // the first up to 0x2000. The reply's status is kept.
    int WriteBlock(CComms& port, WORD address, DWORD length, const BYTE* data) override;
    // Command 3, split at 0x2000 the same way; the data of both parts go to `destination`.
    int ReadBlock(CComms& port, WORD address, DWORD length, BYTE* destination) override;
    // Command 10: the board answers with the chip's bytes, which replace `data`.
    int CompareBlock(CComms& port, WORD address, DWORD length, BYTE* data);
    // PIC (chip types 14, 16): the memory kind; other chips: 5 from 0x2000 on, else the kind.
    BYTE ReadKindAt(WORD address) override;
    BYTE MemoryKindAt(WORD address) override;
    // Up to 10 tries of RTS on, 200 ms, purge, set chip type; RTS off and 200 ms between tries.
    int EnterLoader(CComms& port, const char* filePrefix) override;

    // ---- boot-loader lines ----

    // Sends the line checking each echo, then reads the three-character answer (also after a
    // failed character, so that the next line starts in step). The port's code when the port
    // failed, BOARD_LINE_FAILED for an echo that differs or an answer without '.', else the
    // result of reading the answer.
    int SendLine(CComms& port, const char* line);
    // The same without an answer: the port's code, BOARD_LINE_FAILED for a differing echo, or 0.
    int SendEcho(CComms& port, const char* line);
    // Up to ten 'U' for the chip to find the rate; an echoed 'U' succeeds. Ten other echoes
    // succeed as well (the next command then meets the wrong rate).
    int Sync(CComms& port, char* text);
    int SetFrequency(CComms& port, char* text);
    // The slow operations read with 10000 ms per byte and leave the port at 20 ms per byte.
    int EraseChip(CComms& port, char* text);
    // The end record: boot vector and status byte erased, vector 0xFC, status byte 0.
    int ProgramSpecialBytes(CComms& port, char* text);
    int SetSecurityBits(CComms& port, char* text);
    // One data line of `count` (at most 255) bytes.
    int WriteHexRecords(CComms& port, WORD address, DWORD count, const BYTE* data, char* text);
    // A display line for `count` bytes; the answer's hexadecimal digits go to `destination`.
    int ReadRecord(CComms& port, WORD address, DWORD count, BYTE* destination, char* text);
    // Leaves the loader: the port is opened again at 9600 (chip type 12) or 19200 baud with the
    // time-outs it had, then 'R' (or 'H') with RTS held up and two RTS pulses start the chip.
    // `port` must be the object that owns the handle. The result of the last RTS lowering.
    int ResetToRun(CComms& port);

    void SetMemoryKind(BYTE kind) { m_memoryKind = kind; }
    BYTE MemoryKind() const { return m_memoryKind; }
    BYTE DeviceCode() const { return m_deviceCode; }

private:
    // Sends the characters, each with its echo checked: 0, the port's code, or BOARD_LINE_FAILED.
    int SendCharacters(CComms& port, const char* line);
    // SendLine with the slow time-out around it.
    int SlowLine(CComms& port, const char* line);
    // The packets of one block, split at 0x2000.
    int SplitBlock(CComms& port, BYTE command, WORD address, DWORD length, const BYTE* data,
                   BYTE* replyData);

    BYTE m_memoryKind;
    BYTE m_deviceCode;
};
