// The system's serial and file functions, for handles that are not the layer's own ports: the
// real functions on Windows; on Linux every handle of a port is the layer's, so these fail.
#pragma once

#include "w32/serial.h"

namespace w32 {
namespace serial {
namespace os {

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue);
BOOL GetCommState(HANDLE port, LPDCB dcb);
BOOL SetCommState(HANDLE port, LPDCB dcb);
BOOL GetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts);
BOOL SetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts);
BOOL PurgeComm(HANDLE port, DWORD flags);
BOOL EscapeCommFunction(HANDLE port, DWORD function);
BOOL GetCommModemStatus(HANDLE port, LPDWORD status);
BOOL ClearCommError(HANDLE port, LPDWORD errors, LPCOMSTAT status);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
               LPOVERLAPPED overlapped);
BOOL SetCommMask(HANDLE port, DWORD mask);
BOOL WaitCommEvent(HANDLE port, LPDWORD events, LPOVERLAPPED overlapped);
BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait);

}  // namespace os
}  // namespace serial
}  // namespace w32
