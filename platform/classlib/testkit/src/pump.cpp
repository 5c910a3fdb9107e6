// Message pumping and waiting for window tests.
#include "guitest/pump.h"

namespace guitest {

namespace {

bool g_quitSeen = false;

}  // namespace

CWinThread* Thread() { return AfxGetThread(); }

bool PumpPending() {
    CWinThread* thread = Thread();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (thread == nullptr) {
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
            if (msg.message == WM_QUIT) {
                g_quitSeen = true;
                return false;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        } else if (!thread->PumpMessage()) {
            g_quitSeen = true;
            return false;
        }
    }
    return true;
}

void RunIdle() {
    CWinThread* thread = Thread();
    if (thread == nullptr) {
        return;
    }
    for (LONG count = 0; thread->OnIdle(count); ++count) {
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending();
        if (condition()) {
            return true;
        }
        if (::GetTickCount() - start >= timeoutMs) {
            return condition();
        }
        RunIdle();
        // Sleep until input or a message arrives, at most a few milliseconds: conditions may
        // also change through other threads.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

bool QuitSeen() {
    bool seen = g_quitSeen;
    g_quitSeen = false;
    return seen;
}

}  // namespace guitest
