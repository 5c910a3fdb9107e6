// Handles that are not the layer's own ports are the system's: its functions serve them.
#include "serial_port.h"
#include "serial_system.h"

namespace w32 {
namespace serial {

HANDLE OpenSystemPort(int, LPCSTR name, DWORD access, DWORD shareMode,
                      LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                      HANDLE templateFile) {
    return ::CreateFileA(name, access, shareMode, security, disposition, flags, templateFile);
}

namespace os {

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile) {
    return ::CreateFileA(name, access, shareMode, security, disposition, flags, templateFile);
}
BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue) {
    return ::SetupComm(port, inQueue, outQueue);
}
BOOL GetCommState(HANDLE port, LPDCB dcb) { return ::GetCommState(port, dcb); }
BOOL SetCommState(HANDLE port, LPDCB dcb) { return ::SetCommState(port, dcb); }
BOOL GetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts) {
    return ::GetCommTimeouts(port, timeouts);
}
BOOL SetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts) {
    return ::SetCommTimeouts(port, timeouts);
}
BOOL PurgeComm(HANDLE port, DWORD flags) { return ::PurgeComm(port, flags); }
BOOL EscapeCommFunction(HANDLE port, DWORD function) {
    return ::EscapeCommFunction(port, function);
}
BOOL GetCommModemStatus(HANDLE port, LPDWORD status) { return ::GetCommModemStatus(port, status); }
BOOL ClearCommError(HANDLE port, LPDWORD errors, LPCOMSTAT status) {
    return ::ClearCommError(port, errors, status);
}
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    return ::ReadFile(file, buffer, toRead, read, overlapped);
}
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
               LPOVERLAPPED overlapped) {
    return ::WriteFile(file, buffer, toWrite, written, overlapped);
}
BOOL SetCommMask(HANDLE port, DWORD mask) { return ::SetCommMask(port, mask); }
BOOL WaitCommEvent(HANDLE port, LPDWORD events, LPOVERLAPPED overlapped) {
    return ::WaitCommEvent(port, events, overlapped);
}
BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait) {
    return ::GetOverlappedResult(file, overlapped, transferred, wait);
}

}  // namespace os
}  // namespace serial
}  // namespace w32
