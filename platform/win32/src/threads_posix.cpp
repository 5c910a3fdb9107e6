// Threads, events, waits and critical sections over POSIX threads.
#include "w32/threads.h"

#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <mutex>
#include <new>
#include <vector>

#include "w32/errors.h"
#include "waitable_posix.h"

namespace w32 {

namespace waits {
std::mutex& Lock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::condition_variable& Changed() {
    static std::condition_variable* changed = new std::condition_variable;
    return *changed;
}
}  // namespace waits

namespace {

class ThreadObject : public Waitable {
public:
    LPTHREAD_START_ROUTINE start = nullptr;
    LPVOID param = nullptr;
    bool suspended = false;  // guarded by waits::Lock()
    bool finished = false;   // guarded by waits::Lock()
    DWORD exitCode = STILL_ACTIVE;
    std::atomic<int> priority{THREAD_PRIORITY_NORMAL};
    pthread_t thread{};
    DWORD id = 0;

    bool IsSignalled() const override { return finished; }
};

class EventObject : public Waitable {
public:
    bool manualReset = false;
    bool signalled = false;  // guarded by waits::Lock()

    bool IsSignalled() const override { return signalled; }
    void Consume() override {
        if (!manualReset) {
            signalled = false;
        }
    }
};

std::atomic<DWORD> nextThreadId{1};
thread_local DWORD currentThreadId = 0;

void* ThreadMain(void* arg) {
    // The thread holds its own object until it ends, whatever happens to its handles.
    std::shared_ptr<ThreadObject>* holder = static_cast<std::shared_ptr<ThreadObject>*>(arg);
    std::shared_ptr<ThreadObject> self = std::move(*holder);
    delete holder;
    currentThreadId = self->id;
    {
        std::unique_lock<std::mutex> lock(waits::Lock());
        waits::Changed().wait(lock, [&] { return !self->suspended; });
    }
    DWORD code = self->start(self->param);
    {
        std::lock_guard<std::mutex> lock(waits::Lock());
        self->exitCode = code;
        self->finished = true;
    }
    waits::Changed().notify_all();
    return nullptr;
}

std::shared_ptr<Waitable> LookupWaitable(HANDLE h) { return handles::LookupAs<Waitable>(h); }

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID param, DWORD flags, LPDWORD threadId) {
    if (start == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<ThreadObject>();
    object->start = start;
    object->param = param;
    object->suspended = (flags & CREATE_SUSPENDED) != 0;
    object->id = nextThreadId++;

    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    if (stackSize != 0) {
        // A Win32 stack of a few KB grows on demand; here the size is fixed, so give room.
        size_t size = std::max<size_t>(stackSize, 256 * 1024);
        pthread_attr_setstacksize(&attr, size);
    }
    auto* holder = new (std::nothrow) std::shared_ptr<ThreadObject>(object);
    if (holder == nullptr) {
        pthread_attr_destroy(&attr);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HANDLE h = handles::Register(object);
    int rc = pthread_create(&object->thread, &attr, ThreadMain, holder);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete holder;
        CloseHandle(h);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (threadId != nullptr) {
        *threadId = object->id;
    }
    return h;
}

DWORD ResumeThread(HANDLE thread) {
    auto t = handles::LookupAs<ThreadObject>(thread);
    if (!t) {
        SetLastError(ERROR_INVALID_HANDLE);
        return static_cast<DWORD>(-1);
    }
    DWORD previous;
    {
        std::lock_guard<std::mutex> lock(waits::Lock());
        previous = t->suspended ? 1 : 0;
        t->suspended = false;
    }
    waits::Changed().notify_all();
    return previous;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    auto t = handles::LookupAs<ThreadObject>(thread);
    if (!t || exitCode == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(waits::Lock());
    *exitCode = t->finished ? t->exitCode : STILL_ACTIVE;
    return TRUE;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    auto t = handles::LookupAs<ThreadObject>(thread);
    if (!t) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    bool valid = (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST) ||
                 priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL;
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    t->priority = priority;
    bool finished;
    {
        std::lock_guard<std::mutex> lock(waits::Lock());
        finished = t->finished;
    }
    if (!finished) {
#if defined(SCHED_IDLE)
        // Best effort: the idle class lets a background thread yield the processor; the
        // requested priority is kept whether or not the system agrees.
        sched_param param{};
        int policy = priority == THREAD_PRIORITY_IDLE ? SCHED_IDLE : SCHED_OTHER;
        pthread_setschedparam(t->thread, policy, &param);
#endif
    }
    return TRUE;
}

int GetThreadPriority(HANDLE thread) {
    auto t = handles::LookupAs<ThreadObject>(thread);
    if (!t) {
        SetLastError(ERROR_INVALID_HANDLE);
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    return t->priority;
}

DWORD GetCurrentThreadId() {
    if (currentThreadId == 0) {
        currentThreadId = nextThreadId++;
    }
    return currentThreadId;
}

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR) {
    auto event = std::make_shared<EventObject>();
    event->manualReset = manualReset != FALSE;
    event->signalled = initialState != FALSE;
    return handles::Register(event);
}

namespace {
BOOL SetEventState(HANDLE h, bool signalled) {
    auto e = handles::LookupAs<EventObject>(h);
    if (!e) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> lock(waits::Lock());
        e->signalled = signalled;
    }
    if (signalled) {
        waits::Changed().notify_all();
    }
    return TRUE;
}
}  // namespace

BOOL SetEvent(HANDLE event) { return SetEventState(event, true); }
BOOL ResetEvent(HANDLE event) { return SetEventState(event, false); }

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* list, BOOL waitAll, DWORD ms) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || list == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<Waitable>> objects;
    for (DWORD i = 0; i < count; ++i) {
        auto w = LookupWaitable(list[i]);
        if (!w) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(w));
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock<std::mutex> lock(waits::Lock());
    for (;;) {
        if (waitAll) {
            bool all = std::all_of(objects.begin(), objects.end(),
                                   [](const auto& o) { return o->IsSignalled(); });
            if (all) {
                for (auto& o : objects) {
                    o->Consume();
                }
                return WAIT_OBJECT_0;
            }
        } else {
            for (DWORD i = 0; i < count; ++i) {
                if (objects[i]->IsSignalled()) {
                    objects[i]->Consume();
                    return WAIT_OBJECT_0 + i;
                }
            }
        }
        if (ms == 0) {
            return WAIT_TIMEOUT;
        }
        if (ms == INFINITE) {
            waits::Changed().wait(lock);
        } else if (waits::Changed().wait_until(lock, deadline) == std::cv_status::timeout) {
            // One last look: the change may have come with the time-out.
            ms = 0;
        }
    }
}

DWORD WaitForSingleObject(HANDLE h, DWORD ms) { return WaitForMultipleObjects(1, &h, FALSE, ms); }

void InitializeCriticalSection(LPCRITICAL_SECTION cs) { cs->impl = new std::recursive_mutex; }

void DeleteCriticalSection(LPCRITICAL_SECTION cs) {
    delete static_cast<std::recursive_mutex*>(cs->impl);
    cs->impl = nullptr;
}

void EnterCriticalSection(LPCRITICAL_SECTION cs) {
    static_cast<std::recursive_mutex*>(cs->impl)->lock();
}

void LeaveCriticalSection(LPCRITICAL_SECTION cs) {
    static_cast<std::recursive_mutex*>(cs->impl)->unlock();
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs) {
    return static_cast<std::recursive_mutex*>(cs->impl)->try_lock() ? TRUE : FALSE;
}

}  // namespace w32
