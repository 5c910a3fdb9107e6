// Real input for window tests: mouse and keyboard events through SendInput, so that they reach
// windows the way a user's do (hit testing, capture, focus, the cursor position of each message).
// Tests that use it hold the desktop's input lock (ctest resource "desktop_input").
#pragma once

#include "classlib/classlib.h"

#include <initializer_list>

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

// Makes the window the foreground window and waits (pumping) until it is; false when it did
// not become it in time.
bool BringToForeground(CWnd* pWnd);

// A point of a window's client area in screen coordinates.
CPoint ClientToScreenPoint(CWnd* pWnd, CPoint client);

}  // namespace guitest
