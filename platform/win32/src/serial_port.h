// The ports the layer serves itself (virtual ports everywhere, ttys on Linux) behind one interface.
#pragma once

#include <mutex>

#include "handle_table.h"
#include "w32/serial.h"

namespace w32 {
namespace serial {

// One open port behind a handle of the layer. Each call answers as the Win32 function of the same
// name does, setting the last error when it fails. Calls complete before they return.
class Port : public KernelObject {
public:
    virtual BOOL Setup(DWORD inQueue, DWORD outQueue) = 0;
    virtual BOOL GetState(DCB* dcb) = 0;
    virtual BOOL SetState(const DCB& dcb) = 0;
    virtual BOOL Purge(DWORD flags) = 0;
    virtual BOOL Escape(DWORD function) = 0;
    virtual BOOL ModemStatus(DWORD* status) = 0;
    virtual BOOL ClearError(DWORD* errors, COMSTAT* status) = 0;
    virtual BOOL Read(BYTE* buffer, DWORD count, DWORD* got) = 0;
    virtual BOOL Write(const BYTE* data, DWORD count, DWORD* written) = 0;
    virtual BOOL SetMask(DWORD mask) = 0;
    virtual BOOL WaitEvent(DWORD* events) = 0;

    COMMTIMEOUTS Timeouts() const {
        std::lock_guard<std::mutex> lock(m_timeoutsLock);
        return m_timeouts;
    }
    void SetTimeouts(const COMMTIMEOUTS& timeouts) {
        std::lock_guard<std::mutex> lock(m_timeoutsLock);
        m_timeouts = timeouts;
    }

private:
    mutable std::mutex m_timeoutsLock;
    COMMTIMEOUTS m_timeouts{};  // a freshly opened port waits for ever
};

// The system's own way to open "\\.\COMn" (n from 1) when no virtual port is attached: a handle,
// or INVALID_HANDLE_VALUE with the last error set.
HANDLE OpenSystemPort(int comNumber, LPCSTR name, DWORD access, DWORD shareMode,
                      LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                      HANDLE templateFile);

}  // namespace serial
}  // namespace w32
