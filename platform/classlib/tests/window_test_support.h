// Helpers of the class library's window tests: the test application and message pumping.
#pragma once

#include "classlib/classlib.h"

// Runs the thread's queue dry the way the application's loop does.
inline void PumpPending(CWinThread* thread) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!thread->PumpMessage()) {
            break;
        }
    }
}

// Both idle steps: command-item update, then temporary-object cleanup.
inline void RunIdle(CWinThread* thread) {
    for (LONG count = 0; thread->OnIdle(count); ++count) {
    }
}
