// Message pumping for window tests: run the queue dry, run idle time, and wait for a condition
// while the thread's messages keep flowing as they do in the application's own loop.
#pragma once

#include "classlib/classlib.h"

#include <functional>

namespace guitest {

// The thread whose loop the helpers imitate: the current one, else the application.
CWinThread* Thread();

// Takes and dispatches every message that is waiting (through pre-translation, as the loop
// does). FALSE when a WM_QUIT was taken; the quit is remembered, see QuitSeen.
bool PumpPending();

// Both idle steps of the loop: command-item update, then temporary-object cleanup.
void RunIdle();

// Pumps messages and idle time until the condition holds or the time runs out (milliseconds
// of real time); the condition's last answer. A WM_QUIT taken meanwhile is remembered.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Pumps for a while whatever happens: for things that must NOT happen within that time.
void PumpFor(DWORD ms);

// Whether a WM_QUIT was taken by the helpers since the last call (clears the mark).
bool QuitSeen();

}  // namespace guitest
