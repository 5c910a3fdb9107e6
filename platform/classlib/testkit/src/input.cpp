// SendInput-based mouse and keyboard events.
#include "guitest/input.h"

#include "guitest/pump.h"

namespace guitest {

namespace {

void SendMouse(DWORD flags, CPoint screen) {
    // Absolute coordinates are normalised to 0..65535 over the primary screen.
    int cx = ::GetSystemMetrics(SM_CXSCREEN);
    int cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65535 + (cx - 1) / 2) / (cx - 1));
    input.mi.dy = static_cast<LONG>((screen.y * 65535 + (cy - 1) / 2) / (cy - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof(input));
}

void SendKey(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

}  // namespace

void MoveMouse(CPoint screen) {
    SendMouse(0, screen);
    PumpPending();
}

void Click(CPoint screen, bool right) {
    MoveMouse(screen);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, screen);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, screen);
    PumpPending();
}

void DoubleClick(CPoint screen) {
    MoveMouse(screen);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
        SendMouse(MOUSEEVENTF_LEFTUP, screen);
    }
    PumpPending();
}

void Drag(CPoint from, CPoint to, int steps) {
    MoveMouse(from);
    SendMouse(MOUSEEVENTF_LEFTDOWN, from);
    PumpPending();
    for (int i = 1; i <= steps; ++i) {
        CPoint p(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
        SendMouse(0, p);
        PumpPending();
    }
    SendMouse(MOUSEEVENTF_LEFTUP, to);
    PumpPending();
}

void KeyDown(WORD vk) { SendKey(vk, false); }
void KeyUp(WORD vk) { SendKey(vk, true); }

void KeyChord(std::initializer_list<WORD> keys) {
    for (WORD vk : keys) {
        SendKey(vk, false);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        --it;
        SendKey(*it, true);
    }
    PumpPending();
}

void PressKey(WORD vk) { KeyChord({vk}); }

void TypeText(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        SHORT scan = ::VkKeyScanA(*p);
        if (scan == -1) {
            continue;
        }
        WORD vk = LOBYTE(scan);
        if (HIBYTE(scan) & 1) {
            KeyChord({VK_SHIFT, vk});
        } else {
            KeyChord({vk});
        }
    }
}

// Scripts from another thread.

InputScript::~InputScript() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

InputScript& InputScript::MoveTo(CPoint screen) {
    m_steps.push_back([screen] { SendMouse(0, screen); });
    return *this;
}

InputScript& InputScript::Glide(CPoint from, CPoint to, int steps) {
    for (int i = 1; i <= steps; ++i) {
        MoveTo(CPoint(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps));
    }
    return *this;
}

InputScript& InputScript::Press(CPoint screen, bool right) {
    MoveTo(screen);
    m_steps.push_back([screen, right] {
        SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, screen);
    });
    return *this;
}

InputScript& InputScript::Release(CPoint screen, bool right) {
    m_steps.push_back(
        [screen, right] { SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, screen); });
    return *this;
}

InputScript& InputScript::Foreground(CWnd* pWnd) {
    HWND hWnd = pWnd->m_hWnd;
    m_steps.push_back([hWnd] {
        for (int waited = 0; waited < 2000 && ::GetForegroundWindow() != hWnd; waited += 10) {
            ::SetForegroundWindow(hWnd);
            ::Sleep(10);
        }
    });
    return *this;
}

InputScript& InputScript::KeyDown(WORD vk) {
    m_steps.push_back([vk] { SendKey(vk, false); });
    return *this;
}

InputScript& InputScript::KeyUp(WORD vk) {
    m_steps.push_back([vk] { SendKey(vk, true); });
    return *this;
}

InputScript& InputScript::Pause(DWORD ms) {
    m_steps.push_back([ms] { ::Sleep(ms); });
    return *this;
}

bool InputScript::Run(DWORD stepMs, DWORD timeoutMs) {
    m_done = false;
    m_thread = std::thread([this, stepMs] {
        for (const auto& step : m_steps) {
            step();
            ::Sleep(stepMs);
        }
        m_done = true;
    });
    bool sent = WaitUntil([this] { return m_done.load(); }, timeoutMs);
    m_thread.join();
    PumpPending();
    return sent;
}

bool BringToForeground(CWnd* pWnd) {
    HWND hWnd = pWnd->m_hWnd;
    // Window tests of other programs run beside this one and may take the foreground between
    // our request and its arrival, and a loaded machine can take seconds to deliver it: ask
    // again every few hundred milliseconds until the window has it, and has it still a moment
    // later (focus news of windows that went before may still be on its way).
    for (int attempt = 0; attempt < 40; ++attempt) {
        ::BringWindowToTop(hWnd);
        ::SetForegroundWindow(hWnd);
        ::SetActiveWindow(hWnd);
        if (!WaitUntil([hWnd] { return ::GetForegroundWindow() == hWnd; }, 250)) {
            continue;
        }
        PumpFor(50);
        if (::GetForegroundWindow() == hWnd) {
            return true;
        }
    }
    return false;
}

CPoint ClientToScreenPoint(CWnd* pWnd, CPoint client) {
    pWnd->ClientToScreen(&client);
    return client;
}

}  // namespace guitest
