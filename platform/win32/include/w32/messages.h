// Posted window and thread messages, and message-only windows that receive them.
//
// Each thread has one queue. A message-only window belongs to the thread that created it; a
// message posted to it goes to that thread's queue and reaches the window's procedure when the
// thread takes it with PeekMessageA or GetMessageA and hands it to DispatchMessageA. On Windows
// these are the system's functions and a real message-only window.
#pragma once

#include "w32/api.h"
#include "w32/types.h"

#if !defined(_WIN32)
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u
#define WM_NULL 0x0000
#define WM_QUIT 0x0012
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_THREAD_ID 1444L
#endif

namespace w32 {

// A window without a screen presence that only receives messages, owned by the calling thread.
// `procedure` gets every message dispatched to it. NULL on failure.
W32_API HWND CreateMessageWindow(WNDPROC procedure);
// Destroys a window made by CreateMessageWindow; messages still queued for it are dropped.
W32_API BOOL DestroyMessageWindow(HWND window);

#if defined(_WIN32)
using ::DispatchMessageA;
using ::GetMessageA;
using ::PeekMessageA;
using ::PostMessageA;
using ::PostThreadMessageA;
#else
// Queues a message for the window's thread (NULL: the calling thread, as a thread message).
// FALSE with ERROR_INVALID_WINDOW_HANDLE for an unknown window.
W32_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a thread message (hwnd NULL). FALSE with ERROR_INVALID_THREAD_ID when that thread has no
// queue yet: a thread gets one when it first looks at its messages or creates a window.
W32_API BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Takes (PM_REMOVE) or looks at (PM_NOREMOVE) the oldest message of the calling thread that
// matches: `window` NULL any message, (HWND)-1 thread messages only, else that window's; a range
// of 0, 0 any number. FALSE when none is queued; never waits.
W32_API BOOL PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT removeFlags);
// Waits (in real time) for a matching message and takes it: 0 for WM_QUIT, else 1.
W32_API BOOL GetMessageA(LPMSG msg, HWND window, UINT first, UINT last);
// Calls the procedure of the message's window; 0 for a thread message or an unknown window.
W32_API LRESULT DispatchMessageA(const MSG* msg);
#endif

}  // namespace w32
