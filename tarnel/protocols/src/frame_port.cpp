// The main frame's port and the Set Mode switch.
#include "tarnel/protocols/frame_port.h"

#include <cstdio>

#include "w32/clock.h"

namespace {

constexpr DWORD kResetPulseMs = 100;

}  // namespace

CFramePort::CFramePort() : m_openedName("----") {}

bool CFramePort::IsOpen() { return m_port.IsInitialized() != FALSE; }

bool CFramePort::EnsureOpen(const char* commPort) {
    const std::string name = commPort != nullptr ? commPort : "";
    // The whole name is compared: a port named longer than "COMn" is not taken for another.
    if (IsOpen() && m_openedName == name) {
        return true;
    }
    m_port.Deinstall();
    std::string text = name + ": baud=19200 parity=N data=8 stop=1";
    m_port.SetCommPort(text.c_str());
    if (!IsOpen()) {
        return false;
    }
    m_openedName = name;
    // A pulse on RTS resets the board.
    m_port.SetRTS();
    w32::Sleep(kResetPulseMs);
    m_port.ResetRTS();
    return true;
}

void CFramePort::Close() { m_port.Deinstall(); }

CFramePort::SetModeResult CFramePort::SetMode(const char* commPort) {
    if (!EnsureOpen(commPort)) {
        return kPortNotOpened;
    }
    m_run = !m_run;
    if (m_run) {
        if (m_port.ResetRTS() != 0) {
            m_run = false;
            return kLineFailed;
        }
        return kRunMode;
    }
    if (m_port.SetRTS() != 0) {
        m_run = true;
        return kLineFailed;
    }
    return kProgramMode;
}
