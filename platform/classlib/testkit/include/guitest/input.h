// Real input for window tests: mouse and keyboard events through SendInput, so that they reach
// windows the way a user's do (hit testing, capture, focus, the cursor position of each message).
// Tests that use it hold the desktop's input lock (ctest resource "desktop_input").
#pragma once

#include "classlib/classlib.h"

#include <atomic>
#include <functional>
#include <initializer_list>
#include <thread>
#include <vector>

namespace guitest {

void MoveMouse(CPoint screen);
void Click(CPoint screen, bool right = false);
void DoubleClick(CPoint screen);
// Press at one point, move in steps to the other, release there.
void Drag(CPoint from, CPoint to, int steps = 8);

void KeyDown(WORD vk);
void KeyUp(WORD vk);
// Presses the keys in order and releases them in reverse: {VK_CONTROL, VK_F4}.
void KeyChord(std::initializer_list<WORD> keys);
void PressKey(WORD vk);
// Types printable ASCII text key by key (shift where the layout needs it).
void TypeText(const char* text);

// Input sent from a thread of its own, step by step with a pause after each, while this thread
// keeps taking messages (in a wait or in a modal loop that some input started, such as a drag):
// each step is seen before the next one comes, as a user's would be.
class InputScript {
public:
    InputScript() = default;
    ~InputScript();  // waits for the steps to be sent
    InputScript(const InputScript&) = delete;
    InputScript& operator=(const InputScript&) = delete;

    InputScript& MoveTo(CPoint screen);
    // Moves in steps from one point to another (the button state stays as it is).
    InputScript& Glide(CPoint from, CPoint to, int steps = 6);
    InputScript& Press(CPoint screen, bool right = false);
    InputScript& Release(CPoint screen, bool right = false);
    // Makes the window the foreground window again (other programs may take it for a moment)
    // and waits until it is, before the keys that follow.
    InputScript& Foreground(CWnd* pWnd);
    InputScript& KeyDown(WORD vk);
    InputScript& KeyUp(WORD vk);
    InputScript& Pause(DWORD ms);

    // Sends the steps with stepMs after each and pumps until all are sent and handled (or the
    // time runs out); true when all were sent in time.
    bool Run(DWORD stepMs = 40, DWORD timeoutMs = 10000);

private:
    std::vector<std::function<void()>> m_steps;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Makes the window the foreground window and waits (pumping) until it is and stays so for a
// moment; false when it did not become it in time.
bool BringToForeground(CWnd* pWnd);

// A point of a window's client area in screen coordinates.
CPoint ClientToScreenPoint(CWnd* pWnd, CPoint client);

}  // namespace guitest
