// Serial ports with the Win32 communications functions: real ports and virtual ports alike.
//
// "\\.\COMn" (or "COMn") opens COM port n. When a simulated board is attached to that number
// (w32test/vport.h) the handle is a virtual port; otherwise Windows opens the real
// port and Linux opens the tty that COM n maps to: the device named by the environment variable
// COMn (for example COM5=/dev/ttyUSB0), else /dev/ttyS0../dev/ttyS3 for COM1..COM4. In the shipped
// 32-bit build these names are the system's own functions.
//
// Read time-outs follow COMMTIMEOUTS everywhere:
//  - ReadIntervalTimeout MAXDWORD with both totals 0: the read returns at once with what has come.
//  - ReadIntervalTimeout and ReadTotalTimeoutMultiplier MAXDWORD with a constant below MAXDWORD:
//    returns at once when bytes are waiting, else with the first byte or after the constant.
//  - Otherwise the whole read may take multiplier * bytes asked + constant milliseconds (no limit
//    when both are 0), and once a byte has come a pause longer than the interval (0: none) ends it.
// A read that ends by a time-out succeeds with the bytes it got, possibly none.
// Writes on the layer's own ports return when the last byte has left (or when the write time-out,
// multiplier * bytes + constant, ends the write with fewer bytes written).
//
// Overlapped handles (FILE_FLAG_OVERLAPPED) are served by the layer's own ports too: reads, writes
// and WaitCommEvent complete before they return, set the record's event and leave the count in it
// for GetOverlappedResult.
//
// On Linux, a port without modem lines (a pseudo-terminal) fails EscapeCommFunction and
// GetCommModemStatus; 1.5 stop bits and baud rates without a termios speed fail SetCommState.
#pragma once

#include "w32/api.h"
#include "w32/types.h"

#if !defined(_WIN32)
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
typedef DCB* LPDCB;

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
typedef COMMTIMEOUTS* LPCOMMTIMEOUTS;

struct COMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
};
typedef COMSTAT* LPCOMSTAT;

struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
typedef OVERLAPPED* LPOVERLAPPED;

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_FLAG_OVERLAPPED 0x40000000u

#define NOPARITY 0
#define ODDPARITY 1
#define EVENPARITY 2
#define MARKPARITY 3
#define SPACEPARITY 4
#define ONESTOPBIT 0
#define ONE5STOPBITS 1
#define TWOSTOPBITS 2

#define DTR_CONTROL_DISABLE 0x00
#define DTR_CONTROL_ENABLE 0x01
#define DTR_CONTROL_HANDSHAKE 0x02
#define RTS_CONTROL_DISABLE 0x00
#define RTS_CONTROL_ENABLE 0x01
#define RTS_CONTROL_HANDSHAKE 0x02
#define RTS_CONTROL_TOGGLE 0x03

#define PURGE_TXABORT 0x0001u
#define PURGE_RXABORT 0x0002u
#define PURGE_TXCLEAR 0x0004u
#define PURGE_RXCLEAR 0x0008u

#define SETXOFF 1
#define SETXON 2
#define SETRTS 3
#define CLRRTS 4
#define SETDTR 5
#define CLRDTR 6
#define SETBREAK 8
#define CLRBREAK 9

#define MS_CTS_ON 0x0010u
#define MS_DSR_ON 0x0020u
#define MS_RING_ON 0x0040u
#define MS_RLSD_ON 0x0080u

#define CE_RXOVER 0x0001u
#define CE_OVERRUN 0x0002u
#define CE_RXPARITY 0x0004u
#define CE_FRAME 0x0008u
#define CE_BREAK 0x0010u

#define EV_RXCHAR 0x0001u
#define EV_RXFLAG 0x0002u
#define EV_TXEMPTY 0x0004u
#define EV_CTS 0x0008u
#define EV_DSR 0x0010u
#define EV_RLSD 0x0020u
#define EV_BREAK 0x0040u
#define EV_ERR 0x0080u
#define EV_RING 0x0100u
#endif

namespace w32 {

#if defined(_WIN32) && !W32_TEST_CONTROLS
using ::ClearCommError;
using ::CreateFileA;
using ::EscapeCommFunction;
using ::GetCommModemStatus;
using ::GetCommState;
using ::GetCommTimeouts;
using ::GetOverlappedResult;
using ::PurgeComm;
using ::ReadFile;
using ::SetCommMask;
using ::SetCommState;
using ::SetCommTimeouts;
using ::SetupComm;
using ::WaitCommEvent;
using ::WriteFile;
#else
// Opens "\\.\COMn" or "COMn" (any case). Other names: Windows opens them as the system does; Linux
// refuses them with ERROR_FILE_NOT_FOUND. A port is opened by one handle at a time
// (ERROR_ACCESS_DENIED for a second open); an unknown port gives ERROR_FILE_NOT_FOUND.
W32_API HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode,
                           LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                           HANDLE templateFile);

W32_API BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue);
W32_API BOOL GetCommState(HANDLE port, LPDCB dcb);
W32_API BOOL SetCommState(HANDLE port, LPDCB dcb);
W32_API BOOL GetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts);
W32_API BOOL SetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts);
W32_API BOOL PurgeComm(HANDLE port, DWORD flags);
// SETRTS, CLRRTS, SETDTR, CLRDTR on the layer's own ports; other functions fail there with
// ERROR_NOT_SUPPORTED.
W32_API BOOL EscapeCommFunction(HANDLE port, DWORD function);
W32_API BOOL GetCommModemStatus(HANDLE port, LPDWORD status);
W32_API BOOL ClearCommError(HANDLE port, LPDWORD errors, LPCOMSTAT status);
W32_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read,
                      LPOVERLAPPED overlapped);
W32_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                       LPOVERLAPPED overlapped);
// The layer's own ports report EV_RXCHAR only. Changing the mask ends a pending WaitCommEvent,
// which then succeeds with an event mask of 0.
W32_API BOOL SetCommMask(HANDLE port, DWORD mask);
// Waits until an event of the mask has happened since the last wait (or the mask changed).
W32_API BOOL WaitCommEvent(HANDLE port, LPDWORD events, LPOVERLAPPED overlapped);
W32_API BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred,
                                 BOOL wait);
#endif

}  // namespace w32
