// The memory board and drive packets, the resynchronisation and the drive's sector buffer.
#include "tarnel/protocols/memory_board_protocol.h"

#include <cstring>
#include <vector>

#include "tarnel/protocols/port_reopen.h"
#include "w32/clock.h"

namespace {

const BYTE kErase = 2;
const BYTE kWrite = 3;
const BYTE kRead = 4;
const BYTE kResync = 0xA5;
const DWORD kResyncBaud = 115200;
const DWORD kEraseTimeOut = 10000;
const DWORD kHeaderPauseMs = 5;

BYTE Negated(BYTE sum) { return static_cast<BYTE>(0x100 - sum); }

}  // namespace

CMemoryBoardProtocol::CMemoryBoardProtocol()
    : m_writeBuffer{}, m_fillCount(0), m_sector(0), m_runStart(0) {}

CMemoryBoardProtocol::~CMemoryBoardProtocol() = default;

int CMemoryBoardProtocol::Header(CComms& port, BYTE command, DWORD address, WORD length) {
    BYTE header[9] = {command,
                      0,
                      static_cast<BYTE>(address),
                      static_cast<BYTE>(address >> 8),
                      static_cast<BYTE>(address >> 16),
                      static_cast<BYTE>(address >> 24),
                      static_cast<BYTE>(length),
                      static_cast<BYTE>(length >> 8),
                      0};
    header[8] = Negated(port.Bcc(header, 8));
    return port.Write(static_cast<const BYTE*>(header), sizeof header);
}

int CMemoryBoardProtocol::Reply(CComms& port, BYTE command) {
    BYTE reply[3] = {0, 0, 0};
    int result = port.Read(reply, sizeof reply);
    if (result != COMMS_OK) {
        return result;
    }
    if (port.Bcc(reply, sizeof reply) != 0) {
        return BOARD_CHECK_WRONG;
    }
    if (reply[0] != command) {
        return BOARD_WRONG_REPLY;
    }
    return reply[1] == 0 ? BOARD_OK : BOARD_FAILED;
}

int CMemoryBoardProtocol::Resync(CComms& port) {
    // The steps before the answer are not judged on their own: whatever failed shows in the echo.
    ReopenPortAt(port, kResyncBaud);
    port.SetRTS();
    w32::Sleep(100);
    port.ResetRTS();
    w32::Sleep(100);
    port.PurgeRcvBuffer();
    BYTE sync = kResync;
    port.Write(static_cast<const BYTE*>(&sync), 1);
    BYTE echo = 0;
    int result = port.Read(&echo, 1);
    if (result != COMMS_OK) {
        return result;
    }
    return echo == kResync ? BOARD_OK : BOARD_WRONG_REPLY;
}

int CMemoryBoardProtocol::Erase(CComms& port) {
    port.SetTimeOut(kEraseTimeOut);
    int result = Header(port, kErase, 0, 0);
    return result != COMMS_OK ? result : Reply(port, kErase);
}

int CMemoryBoardProtocol::Write(CComms& port, DWORD address, WORD length, const BYTE* data) {
    int result = Header(port, kWrite, address, length);
    if (result != COMMS_OK) {
        return result;
    }
    w32::Sleep(kHeaderPauseMs);  // the board gets ready for the data
    std::vector<BYTE> run(data, data + length);
    run.push_back(Negated(port.Bcc(data, length)));
    result = port.Write(run.data(), static_cast<DWORD>(run.size()));
    return result != COMMS_OK ? result : Reply(port, kWrite);
}

int CMemoryBoardProtocol::Read(CComms& port, DWORD address, WORD length, BYTE* destination) {
    int result = Header(port, kRead, address, length);
    if (result != COMMS_OK) {
        return result;
    }
    BYTE sum = 0;
    for (DWORD i = 0; i < length; ++i) {
        result = port.Read(destination + i, 1);
        if (result != COMMS_OK) {
            return result;
        }
        sum = static_cast<BYTE>(sum + destination[i]);
    }
    BYTE check = 0;
    result = port.Read(&check, 1);
    if (result != COMMS_OK) {
        return result;
    }
    if (static_cast<BYTE>(sum + check) != 0) {
        return BOARD_CHECK_WRONG;
    }
    return Reply(port, kRead);
}

int CMemoryBoardProtocol::ReadBlock(CComms& port, DWORD address, WORD length, BYTE* destination) {
    return Read(port, address, length, destination);
}

int CMemoryBoardProtocol::WriteBlock(CComms& port, DWORD address, WORD length, const BYTE* data,
                                     BOOL direct) {
    if (direct) {
        return Write(port, address, length, data);
    }
    for (DWORD i = 0; i < length; ++i) {
        DWORD at = address + i;
        DWORD sector = at - at % kSector;
        bool follows = sector == m_sector && at % kSector == m_runStart + m_fillCount;
        if (m_fillCount > 0 && !follows) {
            int result = FlushBlocks(port);
            if (result != BOARD_OK) {
                return result;
            }
        }
        if (m_fillCount == 0) {
            m_sector = sector;
            m_runStart = at % kSector;
        }
        m_writeBuffer[at % kSector] = data[i];
        ++m_fillCount;
        if (m_fillCount == kSector) {
            int result = FlushBlocks(port);
            if (result != BOARD_OK) {
                return result;
            }
        }
    }
    return BOARD_OK;
}

int CMemoryBoardProtocol::FlushBlocks(CComms& port) {
    if (m_fillCount == 0) {
        return BOARD_OK;
    }
    DWORD runStart = m_runStart;
    DWORD runLength = m_fillCount;
    m_fillCount = 0;
    if (runLength == kSector) {
        return Write(port, m_sector, kSector, m_writeBuffer);
    }
    // The job covers the sector in part: the rest keeps what the drive holds.
    BYTE sector[kSector];
    int result = Read(port, m_sector, kSector, sector);
    if (result != BOARD_OK) {
        return result;
    }
    std::memcpy(sector + runStart, m_writeBuffer + runStart, runLength);
    return Write(port, m_sector, kSector, sector);
}
