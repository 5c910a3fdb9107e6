// The asynchronous receive mode of the serial-port object: overlapped port, receive thread, ring.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "comms/comms.h"
#include "port_dcb.h"
#include "w32/clock.h"
#include "w32/errors.h"
#include "w32/handles.h"

namespace {

const DWORD kQueueSize = 4096;
const DWORD kDefaultRingSize = 4096;
const DWORD kThreadStack = 4096;

// Holds a critical section for the length of a block.
class Locked {
public:
    explicit Locked(CRITICAL_SECTION* lock) : lock_(lock) { w32::EnterCriticalSection(lock_); }
    ~Locked() { w32::LeaveCriticalSection(lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    CRITICAL_SECTION* lock_;
};

// Waits for a port event through an overlapped record, as an overlapped handle requires; the
// layer's own ports complete the wait before they return.
BOOL WaitForPortEvent(HANDLE port, DWORD* events, OVERLAPPED* overlapped) {
    if (w32::WaitCommEvent(port, events, overlapped)) {
        return TRUE;
    }
    if (w32::GetLastError() != ERROR_IO_PENDING) {
        return FALSE;
    }
    DWORD unused = 0;
    return w32::GetOverlappedResult(port, overlapped, &unused, TRUE);
}

}  // namespace

// ---- the ring ----

int CComms::SetBufferSize(DWORD size) {
    if (size == 0) {
        return COMMS_BUFFER_TOO_SMALL;
    }
    if (size == 0xFFFFFFFFu) {
        // The ring's size, one byte more, would not fit its 32-bit member: no such ring can be
        // made, and the one in use stays.
        return COMMS_NO_BUFFER;
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

// The window and its messages are read by the receive thread, so they change under the lock.
template <typename T>
void StoreShared(CRITICAL_SECTION* lock, T* member, T value) {
    if (lock != nullptr) {
        Locked locked(lock);
        *member = value;
    } else {
        *member = value;
    }
}

void CComms::SetHWND(HWND window) {
    StoreShared(m_async && m_lockExists ? &m_lock : nullptr, &m_window, window);
}

void CComms::Set_WM_COMM_RXCHAR(UINT message) {
    StoreShared(m_async && m_lockExists ? &m_lock : nullptr, &m_rxCharMessage, message);
}

void CComms::Set_WM_COMM_BUFFER_OVERLOAD(UINT message) {
    StoreShared(m_async && m_lockExists ? &m_lock : nullptr, &m_overloadMessage, message);
}

void CComms::Enqueue(const BYTE* data, DWORD length) {
    if (!m_lockExists || data == nullptr) {
        return;  // only an asynchronous port has a lock around its ring; nothing comes from null
    }
    HWND window = nullptr;
    UINT rxChar = 0;
    {
        Locked lock(&m_lock);
        if (m_ring == nullptr) {
            return;
        }
        BYTE* end = m_ring + m_ringSize - 1;
        for (DWORD i = 0; i < length; ++i) {
            bool full = m_ringNonEmpty && m_ringWrite == m_ringRead;
            if (full) {
                // The oldest unread byte makes room: reading and peeking go on from the next one.
                bool peekAtRead = m_ringPeek == m_ringRead;
                if (++m_ringRead == end) {
                    m_ringRead = m_ring;
                }
                if (peekAtRead) {
                    m_ringPeek = m_ringRead;
                }
            }
            m_ringNonEmpty = 1;
            *m_ringWrite = data[i];
            if (++m_ringWrite == end) {
                m_ringWrite = m_ring;
            }
            // Reported once, when the ring fills; while it stays full, the oldest bytes go.
            if (!full && m_ringWrite == m_ringRead && m_window != nullptr) {
                w32::PostMessageA(m_window, m_overloadMessage, 0, 0);
            }
        }
        window = m_window;
        rxChar = m_rxCharMessage;
    }
    if (window != nullptr) {
        w32::PostMessageA(window, rxChar, static_cast<WPARAM>(length), 0);
    }
}

int CComms::ReadQueue(BYTE* buffer, DWORD length, DWORD& got) {
    got = 0;
    if (length == 0) {
        return COMMS_OK;
    }
    for (DWORD tries = 0;; ++tries) {
        if (m_lockExists) {
            Locked lock(&m_lock);
            BYTE* end = m_ring + m_ringSize - 1;
            while (got < length && m_ringNonEmpty) {
                buffer[got++] = *m_ringRead;
                if (++m_ringRead == end) {
                    m_ringRead = m_ring;
                }
                m_ringPeek = m_ringRead;
                if (m_ringRead == m_ringWrite) {
                    m_ringNonEmpty = 0;
                }
            }
        }
        if (got > 0 || tries >= m_asyncPolls) {
            break;
        }
        w32::Sleep(1);
    }
    // Fewer bytes than asked is a time-out, as in synchronous mode.
    return got < length ? COMMS_READ_TIMEOUT : COMMS_OK;
}

int CComms::PeekChar(BYTE* byte) {
    if (!m_async || !m_lockExists) {
        return COMMS_NOTHING_TO_PEEK;
    }
    if (byte == nullptr) {
        return COMMS_NO_BUFFER;  // nowhere to put the byte; it stays to be peeked
    }
    Locked lock(&m_lock);
    if (m_ring == nullptr || m_ringPeek == m_ringWrite) {
        return COMMS_NOTHING_TO_PEEK;
    }
    *byte = *m_ringPeek;
    if (++m_ringPeek == m_ring + m_ringSize - 1) {
        m_ringPeek = m_ring;
    }
    return COMMS_OK;
}

DWORD CComms::BytesInReceiveBuffer() {
    if (!m_async || !m_lockExists) {
        return 0;
    }
    Locked lock(&m_lock);
    if (!m_ringNonEmpty) {
        return 0;
    }
    if (m_ringWrite > m_ringRead) {
        return static_cast<DWORD>(m_ringWrite - m_ringRead);
    }
    return m_ringSize - static_cast<DWORD>(m_ringRead - m_ringWrite) - 1;
}

BOOL CComms::IsReceiveBufferEmpty() {
    if (!m_async || !m_lockExists) {
        return TRUE;
    }
    Locked lock(&m_lock);
    return m_ringNonEmpty ? FALSE : TRUE;
}

void CComms::FlushReceiveBuffer() {
    if (!m_async || !m_lockExists) {
        return;
    }
    Locked lock(&m_lock);
    // The peek position goes with the others, or a later peek would show discarded bytes.
    m_ringRead = m_ring;
    m_ringWrite = m_ring;
    m_ringPeek = m_ring;
    m_ringNonEmpty = 0;
}

BOOL CComms::IsSecondThreadAlive() { return m_thread.load() != nullptr ? TRUE : FALSE; }

// ---- opening, the receive thread, closing ----

int CComms::AsyncInit() {
    int result = SetBufferSize(kDefaultRingSize);
    if (result != COMMS_OK) {
        return result;
    }
    w32::InitializeCriticalSection(&m_lock);
    m_lockExists = 1;
    for (OVERLAPPED* o : {&m_readOverlapped, &m_writeOverlapped}) {
        if (o->hEvent != nullptr) {
            w32::CloseHandle(o->hEvent);
        }
        *o = OVERLAPPED{};
    }
    m_writeOverlapped.hEvent = w32::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_writeOverlapped.hEvent == nullptr) {
        return COMMS_WRITE_EVENT_FAILED;
    }
    m_readOverlapped.hEvent = w32::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_readOverlapped.hEvent == nullptr) {
        return COMMS_READ_EVENT_FAILED;
    }

    char path[32];
    CurrPortName(path, sizeof path);
    HANDLE h = w32::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return COMMS_OPEN_FAILED;
    }
    m_hPort = h;
    m_open = 1;
    if (!w32::SetupComm(h, kQueueSize, kQueueSize)) {
        return COMMS_SET_STATE_FAILED;
    }
    if (!w32::PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) {
        return COMMS_OPEN_PURGE_FAILED;
    }
    const BOOL checkParity = TRUE;
    result = comms_internal::ApplyFraming(
        h, {m_baud, m_dataBits, m_parity, m_stopBits, m_rtsControl, m_dtrControl}, &checkParity);
    if (result != COMMS_OK) {
        return result;
    }
    if (!w32::SetCommTimeouts(h, &m_timeouts)) {
        return COMMS_TIMEOUTS_FAILED;
    }
    // The run flag is up before the thread looks at it; the thread value is in place before the
    // thread can clear it.
    m_threadRun = 1;
    HANDLE thread =
        w32::CreateThread(nullptr, kThreadStack, CommThread, this, CREATE_SUSPENDED, nullptr);
    if (thread == nullptr) {
        m_threadRun = 0;
        return COMMS_THREAD_FAILED;
    }
    // The value marks the thread alive until the thread clears it; nothing waits on the handle
    // (closing waits in sleeps), so it is closed at once, and a thread that ends on its own
    // leaves no handle behind.
    m_thread = thread;
    w32::ResumeThread(thread);
    w32::CloseHandle(thread);
    return COMMS_OK;
}

DWORD WINAPI CComms::CommThread(LPVOID self) {
    CComms* c = static_cast<CComms*>(self);
    HANDLE port = c->m_hPort;
    w32::Sleep(1000);
    DWORD errors = 0;
    w32::ClearCommError(port, &errors, nullptr);
    if (c->m_open) {
        w32::PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
        if (w32::SetCommMask(port, EV_RXCHAR) && c->m_threadRun) {
            while (c->m_threadRun) {
                DWORD events = 0;
                if (!WaitForPortEvent(port, &events, &c->m_readOverlapped)) {
                    w32::Sleep(50);
                    continue;
                }
                COMSTAT status{};
                w32::ClearCommError(port, &errors, &status);
                if (status.cbInQue == 0) {
                    continue;
                }
                if (events & EV_RXCHAR) {
                    DWORD got = 0;
                    do {
                        std::memset(c->m_rxBuffer, 0, sizeof c->m_rxBuffer);
                        c->ReadFromSys(c->m_rxBuffer, sizeof c->m_rxBuffer, &got);
                        if (got > 0) {
                            c->Enqueue(c->m_rxBuffer, got);
                        }
                    } while (got > 0);
                }
            }
        }
    }
    c->m_thread = nullptr;
    return 0;
}

int CComms::ReadFromSys(BYTE* buffer, DWORD length, DWORD* got) {
    *got = 0;
    DWORD errors = 0;
    COMSTAT status{};
    w32::ClearCommError(m_hPort, &errors, &status);
    DWORD wanted = status.cbInQue < length ? status.cbInQue : length;
    if (wanted == 0) {
        return COMMS_OK;
    }
    DWORD count = 0;
    if (w32::ReadFile(m_hPort, buffer, wanted, &count, &m_readOverlapped)) {
        *got = count;
        return COMMS_OK;
    }
    if (w32::GetLastError() == ERROR_IO_PENDING) {
        for (;;) {
            if (w32::GetOverlappedResult(m_hPort, &m_readOverlapped, &count, TRUE)) {
                *got = count;
                return COMMS_OK;
            }
            if (w32::GetLastError() != ERROR_IO_INCOMPLETE) {
                break;
            }
        }
    }
    w32::ClearCommError(m_hPort, &errors, nullptr);
    return COMMS_OK;
}

int CComms::WriteAsync(const BYTE* data, DWORD length) {
    m_written = 0;
    DWORD count = 0;
    if (w32::WriteFile(m_hPort, data, length, &count, &m_writeOverlapped)) {
        m_written = count;
        return COMMS_OK;
    }
    if (w32::GetLastError() == ERROR_IO_PENDING) {
        for (;;) {
            if (w32::GetOverlappedResult(m_hPort, &m_writeOverlapped, &count, TRUE)) {
                m_written += count;
                return COMMS_OK;
            }
            if (w32::GetLastError() != ERROR_IO_INCOMPLETE) {
                break;
            }
        }
    }
    DWORD errors = 0;
    w32::ClearCommError(m_hPort, &errors, nullptr);
    return COMMS_WRITE_FAILED;
}

void CComms::StopReceiveThread() {
    // Clearing the mask ends the thread's pending wait; it marks itself ended. The 1 ms sleeps
    // are on the layer's clock, so that under virtual time the thread's own sleeps can end.
    w32::SetCommMask(m_hPort, 0);
    while (m_thread.load() != nullptr) {
        w32::Sleep(1);
    }
}
