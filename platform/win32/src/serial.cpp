// The serial functions of the layer: the layer's own ports answer them, other handles go to the
// system's functions.
#include "w32/serial.h"

#include "com_names.h"
#include "serial_port.h"
#include "serial_system.h"
#include "vport_open.h"
#include "w32/errors.h"
#include "w32/threads.h"

namespace w32 {
namespace {

std::shared_ptr<serial::Port> PortOf(HANDLE h) { return handles::LookupAs<serial::Port>(h); }

// Our calls complete before they return: an overlapped caller finds the result in its record
// (Internal 0 or the error, InternalHigh the count) and its event set.
BOOL Complete(BOOL ok, DWORD count, LPDWORD out, LPOVERLAPPED overlapped) {
    if (out != nullptr) {
        *out = count;
    }
    if (overlapped != nullptr) {
        overlapped->Internal = ok ? 0 : GetLastError();
        overlapped->InternalHigh = count;
        if (overlapped->hEvent != nullptr) {
            DWORD error = GetLastError();
            SetEvent(overlapped->hEvent);
            SetLastError(error);
        }
    }
    return ok;
}

BOOL BadArgument() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile) {
    int com = serial::ComNumberOfName(name);
    if (com != 0) {
        HANDLE h = INVALID_HANDLE_VALUE;
        if (vport::OpenIfAttached(com, &h)) {
            return h;
        }
        if (vport::RefusedAsReal(com)) {
            return INVALID_HANDLE_VALUE;
        }
        return serial::OpenSystemPort(com, name, access, shareMode, security, disposition, flags,
                                      templateFile);
    }
    return serial::os::CreateFileA(name, access, shareMode, security, disposition, flags,
                                   templateFile);
}

BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue) {
    auto p = PortOf(port);
    return p ? p->Setup(inQueue, outQueue) : serial::os::SetupComm(port, inQueue, outQueue);
}

BOOL GetCommState(HANDLE port, LPDCB dcb) {
    auto p = PortOf(port);
    if (!p) {
        return serial::os::GetCommState(port, dcb);
    }
    return dcb == nullptr ? BadArgument() : p->GetState(dcb);
}

BOOL SetCommState(HANDLE port, LPDCB dcb) {
    auto p = PortOf(port);
    if (!p) {
        return serial::os::SetCommState(port, dcb);
    }
    return dcb == nullptr ? BadArgument() : p->SetState(*dcb);
}

BOOL GetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts) {
    auto p = PortOf(port);
    if (!p) {
        return serial::os::GetCommTimeouts(port, timeouts);
    }
    if (timeouts == nullptr) {
        return BadArgument();
    }
    *timeouts = p->Timeouts();
    return TRUE;
}

BOOL SetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts) {
    auto p = PortOf(port);
    if (!p) {
        return serial::os::SetCommTimeouts(port, timeouts);
    }
    if (timeouts == nullptr) {
        return BadArgument();
    }
    p->SetTimeouts(*timeouts);
    return TRUE;
}

BOOL PurgeComm(HANDLE port, DWORD flags) {
    auto p = PortOf(port);
    return p ? p->Purge(flags) : serial::os::PurgeComm(port, flags);
}

BOOL EscapeCommFunction(HANDLE port, DWORD function) {
    auto p = PortOf(port);
    return p ? p->Escape(function) : serial::os::EscapeCommFunction(port, function);
}

BOOL GetCommModemStatus(HANDLE port, LPDWORD status) {
    auto p = PortOf(port);
    if (!p) {
        return serial::os::GetCommModemStatus(port, status);
    }
    return status == nullptr ? BadArgument() : p->ModemStatus(status);
}

BOOL ClearCommError(HANDLE port, LPDWORD errors, LPCOMSTAT status) {
    auto p = PortOf(port);
    return p ? p->ClearError(errors, status) : serial::os::ClearCommError(port, errors, status);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    auto p = PortOf(file);
    if (!p) {
        return serial::os::ReadFile(file, buffer, toRead, read, overlapped);
    }
    if (buffer == nullptr && toRead != 0) {
        return Complete(BadArgument(), 0, read, overlapped);
    }
    DWORD got = 0;
    BOOL ok = p->Read(static_cast<BYTE*>(buffer), toRead, &got);
    return Complete(ok, got, read, overlapped);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
               LPOVERLAPPED overlapped) {
    auto p = PortOf(file);
    if (!p) {
        return serial::os::WriteFile(file, buffer, toWrite, written, overlapped);
    }
    if (buffer == nullptr && toWrite != 0) {
        return Complete(BadArgument(), 0, written, overlapped);
    }
    DWORD count = 0;
    BOOL ok = p->Write(static_cast<const BYTE*>(buffer), toWrite, &count);
    return Complete(ok, count, written, overlapped);
}

BOOL SetCommMask(HANDLE port, DWORD mask) {
    auto p = PortOf(port);
    return p ? p->SetMask(mask) : serial::os::SetCommMask(port, mask);
}

BOOL WaitCommEvent(HANDLE port, LPDWORD events, LPOVERLAPPED overlapped) {
    auto p = PortOf(port);
    if (!p) {
        return serial::os::WaitCommEvent(port, events, overlapped);
    }
    if (events == nullptr) {
        return Complete(BadArgument(), 0, nullptr, overlapped);
    }
    BOOL ok = p->WaitEvent(events);
    return Complete(ok, 0, nullptr, overlapped);
}

BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait) {
    auto p = PortOf(file);
    if (!p) {
        return serial::os::GetOverlappedResult(file, overlapped, transferred, wait);
    }
    if (overlapped == nullptr) {
        return BadArgument();
    }
    if (transferred != nullptr) {
        *transferred = static_cast<DWORD>(overlapped->InternalHigh);
    }
    if (overlapped->Internal != 0) {
        SetLastError(static_cast<DWORD>(overlapped->Internal));
        return FALSE;
    }
    return TRUE;
}

}  // namespace w32
