// Threads, events, waits and critical sections: Win32 names and semantics on every build.
#pragma once

#include "w32/api.h"
#include "w32/types.h"

#if !defined(_WIN32)
typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID);

// Storage of a critical section; the lock itself lives behind `impl`.
struct CRITICAL_SECTION {
    void* impl;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;
#endif

namespace w32 {

#if defined(_WIN32)
using ::CreateEventA;
using ::CreateThread;
using ::DeleteCriticalSection;
using ::EnterCriticalSection;
using ::GetCurrentThreadId;
using ::GetExitCodeThread;
using ::GetThreadPriority;
using ::InitializeCriticalSection;
using ::LeaveCriticalSection;
using ::ResetEvent;
using ::ResumeThread;
using ::SetEvent;
using ::SetThreadPriority;
using ::TryEnterCriticalSection;
using ::WaitForMultipleObjects;
using ::WaitForSingleObject;
#else
// Starts `start(param)` on a new thread. The handle is signalled when the thread ends; its exit
// code reads STILL_ACTIVE (259) until then. `stackSize` 0 takes the default; small sizes are
// raised to what the system needs. CREATE_SUSPENDED holds the thread until ResumeThread.
W32_API HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                            LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags,
                            LPDWORD threadId);
W32_API DWORD ResumeThread(HANDLE thread);
W32_API BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
// Priorities are kept per thread; THREAD_PRIORITY_IDLE also moves the thread to the system's
// idle scheduling class where it is allowed.
W32_API BOOL SetThreadPriority(HANDLE thread, int priority);
W32_API int GetThreadPriority(HANDLE thread);
W32_API DWORD GetCurrentThreadId();

// Events: manual reset stays signalled until ResetEvent; auto reset releases one waiter and
// resets itself. Names are ignored (no event is shared between processes).
W32_API HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                            LPCSTR name);
W32_API BOOL SetEvent(HANDLE event);
W32_API BOOL ResetEvent(HANDLE event);

// Waits on events and threads. Time-outs are in real milliseconds (INFINITE waits for ever).
// Returns WAIT_OBJECT_0 + index, WAIT_TIMEOUT, or WAIT_FAILED for a bad handle.
W32_API DWORD WaitForSingleObject(HANDLE h, DWORD ms);
W32_API DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms);

// Recursive locks owned by one thread at a time.
W32_API void InitializeCriticalSection(LPCRITICAL_SECTION cs);
W32_API void DeleteCriticalSection(LPCRITICAL_SECTION cs);
W32_API void EnterCriticalSection(LPCRITICAL_SECTION cs);
W32_API void LeaveCriticalSection(LPCRITICAL_SECTION cs);
W32_API BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs);
#endif

}  // namespace w32
