// Message queues per thread and message-only windows, for threads that post to each other.
#include "w32/messages.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "w32/clock.h"
#include "w32/errors.h"
#include "w32/threads.h"

namespace w32 {
namespace {

struct WindowEntry {
    WNDPROC procedure;
    DWORD thread;
};

struct MessageState {
    std::mutex lock;
    std::condition_variable posted;
    std::map<DWORD, std::deque<MSG>> queues;
    std::map<HWND, WindowEntry> windows;
    uintptr_t nextWindow = 0x10000;
};

MessageState& State() {
    static MessageState* state = new MessageState;  // outlives every static destructor
    return *state;
}

// A thread's queue and windows go away with the thread.
struct QueueOwner {
    DWORD thread = 0;
    ~QueueOwner() {
        if (thread == 0) {
            return;
        }
        MessageState& s = State();
        std::lock_guard<std::mutex> lock(s.lock);
        s.queues.erase(thread);
        for (auto it = s.windows.begin(); it != s.windows.end();) {
            it = it->second.thread == thread ? s.windows.erase(it) : std::next(it);
        }
    }
};
thread_local QueueOwner owner;

// The calling thread's queue, made on first use (State().lock held).
std::deque<MSG>& OwnQueue() {
    DWORD id = GetCurrentThreadId();
    owner.thread = id;
    return State().queues[id];
}

bool Matches(const MSG& m, HWND window, UINT first, UINT last) {
    if (window == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) {
        if (m.hwnd != nullptr) {
            return false;
        }
    } else if (window != nullptr && m.hwnd != window) {
        return false;
    }
    return (first == 0 && last == 0) || (m.message >= first && m.message <= last);
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m{};
    m.hwnd = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    return m;
}

// Takes the first matching message of the calling thread (State().lock held).
bool Take(MSG* msg, HWND window, UINT first, UINT last, bool remove) {
    std::deque<MSG>& queue = OwnQueue();
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (Matches(*it, window, first, last)) {
            *msg = *it;
            if (remove) {
                queue.erase(it);
            }
            return true;
        }
    }
    return false;
}

}  // namespace

HWND CreateMessageWindow(WNDPROC procedure) {
    if (procedure == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    MessageState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    OwnQueue();
    HWND window = reinterpret_cast<HWND>(s.nextWindow);
    s.nextWindow += 4;
    s.windows[window] = {procedure, GetCurrentThreadId()};
    return window;
}

BOOL DestroyMessageWindow(HWND window) {
    MessageState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    auto it = s.windows.find(window);
    if (it == s.windows.end()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto queue = s.queues.find(it->second.thread);
    if (queue != s.queues.end()) {
        std::deque<MSG>& q = queue->second;
        for (auto m = q.begin(); m != q.end();) {
            m = m->hwnd == window ? q.erase(m) : std::next(m);
        }
    }
    s.windows.erase(it);
    return TRUE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageState& s = State();
    {
        std::lock_guard<std::mutex> lock(s.lock);
        if (window == nullptr) {
            OwnQueue().push_back(MakeMessage(nullptr, message, wParam, lParam));
        } else {
            auto it = s.windows.find(window);
            if (it == s.windows.end()) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return FALSE;
            }
            s.queues[it->second.thread].push_back(MakeMessage(window, message, wParam, lParam));
        }
    }
    s.posted.notify_all();
    return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageState& s = State();
    {
        std::lock_guard<std::mutex> lock(s.lock);
        auto it = s.queues.find(threadId);
        if (it == s.queues.end()) {
            SetLastError(ERROR_INVALID_THREAD_ID);
            return FALSE;
        }
        it->second.push_back(MakeMessage(nullptr, message, wParam, lParam));
    }
    s.posted.notify_all();
    return TRUE;
}

BOOL PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT removeFlags) {
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MessageState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    return Take(msg, window, first, last, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT first, UINT last) {
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    MessageState& s = State();
    std::unique_lock<std::mutex> lock(s.lock);
    while (!Take(msg, window, first, last, true)) {
        s.posted.wait(lock);
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) {
        return 0;
    }
    WNDPROC procedure = nullptr;
    {
        MessageState& s = State();
        std::lock_guard<std::mutex> lock(s.lock);
        auto it = s.windows.find(msg->hwnd);
        if (it == s.windows.end()) {
            return 0;
        }
        procedure = it->second.procedure;
    }
    return procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

}  // namespace w32
