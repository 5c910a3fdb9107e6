// Threads, events, waits and critical sections behave as the Win32 functions do.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "w32/handles.h"
#include "w32/threads.h"
#include "w32/errors.h"

namespace {

using Steady = std::chrono::steady_clock;

struct Gate {
    HANDLE release = w32::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Gate() { w32::CloseHandle(release); }
};

DWORD WINAPI WaitForGateThenReturn77(LPVOID arg) {
    w32::WaitForSingleObject(static_cast<Gate*>(arg)->release, INFINITE);
    return 77;
}

TEST(Threads, ExitCodeIsStillActiveUntilTheThreadReturns) {
    Gate gate;
    DWORD id = 0;
    HANDLE t = w32::CreateThread(nullptr, 4096, WaitForGateThenReturn77, &gate, 0, &id);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(id, 0u);
    DWORD code = 0;
    ASSERT_TRUE(w32::GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 259u);
    EXPECT_EQ(w32::WaitForSingleObject(t, 30), WAIT_TIMEOUT);
    w32::SetEvent(gate.release);
    EXPECT_EQ(w32::WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    ASSERT_TRUE(w32::GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 77u);
    // A finished thread stays signalled.
    EXPECT_EQ(w32::WaitForSingleObject(t, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(w32::CloseHandle(t));
}

DWORD WINAPI Return5(LPVOID arg) {
    static_cast<std::atomic<bool>*>(arg)->store(true);
    return 5;
}

TEST(Threads, SuspendedThreadWaitsForResume) {
    std::atomic<bool> ran{false};
    HANDLE t = w32::CreateThread(nullptr, 0, Return5, &ran, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(t, nullptr);
    // Held: it neither ends nor runs its first line.
    EXPECT_EQ(w32::WaitForSingleObject(t, 50), WAIT_TIMEOUT);
    EXPECT_FALSE(ran.load());
    EXPECT_EQ(w32::ResumeThread(t), 1u);
    EXPECT_EQ(w32::WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(ran.load());
    w32::CloseHandle(t);
}

TEST(Threads, IdlePriorityIsKept) {
    Gate gate;
    HANDLE t = w32::CreateThread(nullptr, 0, WaitForGateThenReturn77, &gate, 0, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(w32::SetThreadPriority(t, THREAD_PRIORITY_IDLE));
    EXPECT_EQ(w32::GetThreadPriority(t), THREAD_PRIORITY_IDLE);
    w32::SetEvent(gate.release);
    EXPECT_EQ(w32::WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    w32::CloseHandle(t);
}

TEST(Events, WaitTimesOutAfterAboutItsTime) {
    HANDLE e = w32::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Steady::time_point start = Steady::now();
    EXPECT_EQ(w32::WaitForSingleObject(e, 50), WAIT_TIMEOUT);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
    EXPECT_GE(ms, 40);
    EXPECT_LT(ms, 2000);
    w32::CloseHandle(e);
}

TEST(Events, ManualResetStaysSignalledUntilReset) {
    HANDLE e = w32::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(w32::WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(w32::WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    w32::ResetEvent(e);
    EXPECT_EQ(w32::WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    w32::CloseHandle(e);
}

TEST(Events, AutoResetReleasesOneWaiterPerSet) {
    HANDLE e = w32::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE passed = w32::CreateEventA(nullptr, FALSE, FALSE, nullptr);  // one set per waiter let by
    std::atomic<int> released{0};
    auto waiter = [&] {
        if (w32::WaitForSingleObject(e, 30000) == WAIT_OBJECT_0) {
            ++released;
            w32::SetEvent(passed);
        }
    };
    std::thread a(waiter), b(waiter);
    // Whether or not both wait yet, one set lets exactly one of them by.
    w32::SetEvent(e);
    ASSERT_EQ(w32::WaitForSingleObject(passed, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(w32::WaitForSingleObject(passed, 50), WAIT_TIMEOUT);
    EXPECT_EQ(released.load(), 1);
    w32::SetEvent(e);
    a.join();
    b.join();
    EXPECT_EQ(released.load(), 2);
    // Each release consumed the signal.
    EXPECT_EQ(w32::WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    w32::CloseHandle(passed);
    w32::CloseHandle(e);
}

TEST(Waits, AnyReportsTheSignalledIndexAndAllNeedsEveryObject) {
    HANDLE events[2] = {w32::CreateEventA(nullptr, TRUE, FALSE, nullptr),
                        w32::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    EXPECT_EQ(w32::WaitForMultipleObjects(2, events, FALSE, 0), WAIT_TIMEOUT);
    w32::SetEvent(events[1]);
    EXPECT_EQ(w32::WaitForMultipleObjects(2, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(w32::WaitForMultipleObjects(2, events, TRUE, 20), WAIT_TIMEOUT);
    w32::SetEvent(events[0]);
    EXPECT_EQ(w32::WaitForMultipleObjects(2, events, TRUE, 0), WAIT_OBJECT_0);
    w32::CloseHandle(events[0]);
    w32::CloseHandle(events[1]);
}

TEST(Waits, UnknownHandleFails) {
    HANDLE e = w32::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    w32::CloseHandle(e);
    EXPECT_EQ(w32::WaitForSingleObject(e, 0), WAIT_FAILED);
    EXPECT_FALSE(w32::CloseHandle(e));
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(CriticalSections, AreRecursiveAndExcludeOtherThreads) {
    CRITICAL_SECTION cs;
    w32::InitializeCriticalSection(&cs);
    w32::EnterCriticalSection(&cs);
    w32::EnterCriticalSection(&cs);  // the owner may enter again
    std::atomic<int> otherGotIt{-1};
    std::thread other([&] {
        otherGotIt = w32::TryEnterCriticalSection(&cs) ? 1 : 0;
        if (otherGotIt == 1) {
            w32::LeaveCriticalSection(&cs);
        }
    });
    other.join();
    EXPECT_EQ(otherGotIt.load(), 0);
    w32::LeaveCriticalSection(&cs);
    w32::LeaveCriticalSection(&cs);

    long counter = 0;
    auto add = [&] {
        for (int i = 0; i < 20000; ++i) {
            w32::EnterCriticalSection(&cs);
            counter = counter + 1;
            w32::LeaveCriticalSection(&cs);
        }
    };
    std::thread a(add), b(add);
    a.join();
    b.join();
    EXPECT_EQ(counter, 40000);
    w32::DeleteCriticalSection(&cs);
}

}  // namespace
