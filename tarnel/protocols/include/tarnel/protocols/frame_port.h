// The main frame's own serial port: opened only by the Set Mode command, which switches the
// board between program mode (RTS high) and run mode (RTS low), and closed by the other board
// commands so that the programming thread can open the same port by name.
#pragma once

#include <string>

#include "comms/comms.h"

class CFramePort {
public:
    // What one Set Mode did.
    enum SetModeResult {
        kPortNotOpened,  // the port cannot be opened: the mode is unchanged
        kRunMode,        // RTS went low: the board runs its program
        kProgramMode,    // RTS went high: the board takes programming commands
        kLineFailed,     // RTS could not be switched: the mode is unchanged
    };

    CFramePort();
    CFramePort(const CFramePort&) = delete;
    CFramePort& operator=(const CFramePort&) = delete;

    // Nothing when the port is open on exactly `commPort`. Otherwise closes it and opens
    // `commPort` at 19200 baud, 8 data bits, no parity, one stop bit; once open it remembers the
    // name and pulses RTS high for 100 ms. False when the port cannot be opened.
    bool EnsureOpen(const char* commPort);
    // Closes the port; the mode is kept, so the next Set Mode flips from the last one.
    void Close();
    bool IsOpen();

    // EnsureOpen, then the other mode than the last (run mode the first time).
    SetModeResult SetMode(const char* commPort);
    bool IsRunMode() const { return m_run; }
    // The name the port was last opened on, "----" before the first open.
    const std::string& OpenedName() const { return m_openedName; }

private:
    CComms m_port;
    std::string m_openedName;
    bool m_run = false;
};
