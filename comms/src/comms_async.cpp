// The asynchronous receive mode of the serial-port object.
#include <cstdlib>

#include "comms/comms.h"

int CComms::SetBufferSize(DWORD size) {
    if (size == 0) {
        return COMMS_BUFFER_TOO_SMALL;
    }
    bool locked = m_async && m_lockExists;
    if (locked) {
        w32::EnterCriticalSection(&m_lock);
    }
    std::free(m_ring);
    m_ring = static_cast<BYTE*>(std::malloc(static_cast<size_t>(size) + 1));
    m_ringRead = m_ring;
    m_ringWrite = m_ring;
    m_ringPeek = m_ring;
    m_ringNonEmpty = 0;
    m_ringSize = m_ring != nullptr ? size + 1 : 0;
    if (locked) {
        w32::LeaveCriticalSection(&m_lock);
    }
    return m_ring != nullptr ? COMMS_OK : COMMS_NO_BUFFER;
}

void CComms::SetHWND(HWND window) { m_window = window; }
void CComms::Set_WM_COMM_RXCHAR(UINT message) { m_rxCharMessage = message; }
void CComms::Set_WM_COMM_BUFFER_OVERLOAD(UINT message) { m_overloadMessage = message; }

int CComms::AsyncInit() { return COMMS_OPEN_FAILED; }
int CComms::WriteAsync(const BYTE*, DWORD) { return COMMS_WRITE_FAILED; }
int CComms::ReadQueue(BYTE*, DWORD, DWORD& got) {
    got = 0;
    return COMMS_OK;
}
void CComms::StopReceiveThread() {}
