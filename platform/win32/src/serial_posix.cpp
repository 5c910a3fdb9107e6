// On Linux every port handle is the layer's own: handles of any other kind fail the serial
// functions, and only COM ports open.
#include "serial_system.h"
#include "w32/errors.h"

namespace w32 {
namespace serial {
namespace os {
namespace {

BOOL NotAPort() {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

}  // namespace

HANDLE CreateFileA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}
BOOL SetupComm(HANDLE, DWORD, DWORD) { return NotAPort(); }
BOOL GetCommState(HANDLE, LPDCB) { return NotAPort(); }
BOOL SetCommState(HANDLE, LPDCB) { return NotAPort(); }
BOOL GetCommTimeouts(HANDLE, LPCOMMTIMEOUTS) { return NotAPort(); }
BOOL SetCommTimeouts(HANDLE, LPCOMMTIMEOUTS) { return NotAPort(); }
BOOL PurgeComm(HANDLE, DWORD) { return NotAPort(); }
BOOL EscapeCommFunction(HANDLE, DWORD) { return NotAPort(); }
BOOL GetCommModemStatus(HANDLE, LPDWORD) { return NotAPort(); }
BOOL ClearCommError(HANDLE, LPDWORD, LPCOMSTAT) { return NotAPort(); }
BOOL ReadFile(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) { return NotAPort(); }
BOOL WriteFile(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) { return NotAPort(); }
BOOL SetCommMask(HANDLE, DWORD) { return NotAPort(); }
BOOL WaitCommEvent(HANDLE, LPDWORD, LPOVERLAPPED) { return NotAPort(); }
BOOL GetOverlappedResult(HANDLE, LPOVERLAPPED, LPDWORD, BOOL) { return NotAPort(); }

}  // namespace os
}  // namespace serial
}  // namespace w32
