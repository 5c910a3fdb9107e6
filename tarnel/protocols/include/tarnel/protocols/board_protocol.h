// The programmer board's packet protocol, and the serial EEPROM spoken through it.
//
// A packet is a command byte, its fields (low byte first) and a check byte, the 8-bit sum of every
// byte before it; the board answers with the command byte, mostly a status byte (0 = done), and a
// check byte formed the same way. Replies are checked in this order: a failed write or read of
// the port returns its CommsResult (1022 when the board does not answer in time); a wrong check
// byte gives BOARD_CHECK_WRONG; a reply that does not begin with the command byte
// BOARD_WRONG_REPLY; a status other than 0 BOARD_FAILED.
//
// The objects hold no port: every operation is given the open CComms of its caller, and reads
// with the time-outs the caller has set. A job builds one object on its stack and drops it.
#pragma once

#include "comms/comms.h"
#include "tarnel/protocols/board_result.h"

class CBoardProtocol {
public:
    // The board's count is one byte: a longer block is refused (BOARD_TOO_LONG).
    static constexpr DWORD kMaxBlock = 255;
    // The two resident-loader images of the HC908 chip, read from prefix + "1.bin" and "2.bin".
    static constexpr DWORD kLoaderImage1Size = 177;
    static constexpr DWORD kLoaderImage2Size = 315;

    CBoardProtocol();
    virtual ~CBoardProtocol();

    // Command 2 with the memory kind of MemoryKindAt(address); the 3-byte reply is checked.
    virtual int WriteBlock(CComms& port, WORD address, DWORD length, const BYTE* data);
    // Command 3 with the kind of ReadKindAt(address); length + 3 bytes come back, and the data go
    // to `destination` only when the reply is good.
    virtual int ReadBlock(CComms& port, WORD address, DWORD length, BYTE* destination);
    // Brings the HC908 chip into its RAM-resident loader (uploading the two image files found
    // under `filePrefix`); LoaderVersion() then holds the loader's four characters.
    virtual int EnterLoader(CComms& port, const char* filePrefix);
    // Memory kinds: 1 for every read; writes to the HC908 flash (0x8000 up to 0xFE00, and from
    // 0xFFDC) use 2, every other address 1.
    virtual BYTE ReadKindAt(WORD address);
    virtual BYTE MemoryKindAt(WORD address);

    // Command 1 with the chip type (types 10, 12 and 15 go as 2); the reply's status is kept.
    int SetChipType(CComms& port);
    int Erase(CComms& port);
    // Command 5: the four bytes, the first the lowest (no status in this reply).
    int ReadVersionBlock(CComms& port, DWORD* result);
    int StartLoader(CComms& port);
    // Command 7: high byte x 256 + low byte.
    int ReadBoardWord(CComms& port, WORD* result);

    // The board's code for the chip (default 3), set by the caller from the device code.
    void SetType(BYTE type) { m_chipType = type; }
    BYTE Type() const { return m_chipType; }
    // The status byte of the last set-chip-type reply (and, in the chip protocol, block reply).
    BYTE LastStatus() const { return m_lastStatus; }
    // The resident loader's version as EnterLoader last read it, NUL-terminated.
    const char* LoaderVersion() const { return m_loaderVersion; }

protected:
    // Sends `request` (the check byte is appended here) and reads `replyLength` bytes into the
    // cleared `reply`, checking them in the order above. `status`, when given, receives the
    // status byte of a reply whose check and command bytes are right.
    int Exchange(CComms& port, const BYTE* request, DWORD requestLength, BYTE* reply,
                 DWORD replyLength, bool hasStatus, BYTE* status);
    // One block packet: command 2 (write), 3 (read) or 10 (compare) of `length` bytes; for 3
    // and 10 the board's data bytes go to `replyData` when the reply is good.
    int BlockPacket(CComms& port, BYTE command, BYTE kind, WORD address, DWORD length,
                    const BYTE* data, BYTE* replyData, BYTE* status);
    // A single-byte command answered by command, status, check.
    int SimpleCommand(CComms& port, BYTE command);

    BYTE m_chipType;
    BYTE m_lastStatus;
    char m_loaderVersion[5];
};

// The serial EEPROM: the board's packets with memory kind 3 at every address, and no chip type.
class CEepromProtocol : public CBoardProtocol {
public:
    BYTE ReadKindAt(WORD address) override;
    BYTE MemoryKindAt(WORD address) override;
    // Raises RTS, waits 200 ms and empties the receive buffer.
    int EnterLoader(CComms& port, const char* filePrefix) override;
};
