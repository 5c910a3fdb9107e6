// The memory board's and the drive's protocol: 9-byte headers with 32-bit addresses and 16-bit
// lengths at 115200 baud after a resynchronisation byte.
//
// Header: command, 0, address (4 bytes), length (2 bytes), check; every check byte is the negated
// 8-bit sum of what it covers, so that the bytes and their check add up to 0. Commands: 2 erase,
// 3 write (the data and their check follow the header), 4 read (the board sends the data and their
// check). Each ends with the reply command, status, check: BOARD_CHECK_WRONG when the three bytes
// do not add up to 0, BOARD_WRONG_REPLY for another command, BOARD_FAILED for a status not 0; a
// failed port write or read returns its CommsResult.
//
// The drive writes whole 512-byte sectors: WriteBlock gathers a job's blocks into a sector and
// writes it when the job moves to another sector, leaves a gap, or ends (FlushBlocks); a sector
// the job covers only in part is read first, so that the bytes outside the job keep their values.
#pragma once

#include "comms/comms.h"
#include "tarnel/protocols/board_result.h"

class CMemoryBoardProtocol {
public:
    static constexpr DWORD kSector = 512;

    CMemoryBoardProtocol();
    virtual ~CMemoryBoardProtocol();

    // Header, a 5 ms pause for the board to get ready, then the data and their check in one
    // write; the reply is checked.
    virtual int Write(CComms& port, DWORD address, WORD length, const BYTE* data);
    // Header; the data one byte at a time into `destination`, their check byte (BOARD_CHECK_WRONG
    // before the reply is read), then the reply.
    virtual int Read(CComms& port, DWORD address, WORD length, BYTE* destination);

    // Opens the port again at 115200 baud (keeping its time-outs), pulses RTS, empties the
    // receive buffer and sends 0xA5, which the board echoes (else BOARD_WRONG_REPLY). `port` must
    // be the object that owns the handle. A failed resync leaves the port open at 115200 baud.
    int Resync(CComms& port);
    // Sets the port's time-out to 10000 ms per byte, which stays, and erases the whole memory.
    int Erase(CComms& port);
    int ReadBlock(CComms& port, DWORD address, WORD length, BYTE* destination);
    // `direct` (the memory board): one Write at the block's address. Otherwise (the drive) the
    // bytes join the sector buffer, which is written as the header says.
    int WriteBlock(CComms& port, DWORD address, WORD length, const BYTE* data, BOOL direct);
    // Writes the sector still gathered for the drive, if any; a drive write job ends with it.
    int FlushBlocks(CComms& port);

private:
    int Header(CComms& port, BYTE command, DWORD address, WORD length);
    int Reply(CComms& port, BYTE command);

    BYTE m_writeBuffer[kSector];
    // Bytes of the job in the buffer: one run, from m_runStart within the sector at m_sector.
    DWORD m_fillCount;
    DWORD m_sector;
    DWORD m_runStart;
};
