// Posted messages: per-thread queues, message-only windows and their window procedures.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "w32/messages.h"
#include "w32/threads.h"

namespace {

const UINT kPing = WM_USER + 7;
const UINT kOverload = WM_USER + 10;

thread_local std::vector<UINT> received;

LRESULT CALLBACK RecordingProcedure(HWND, UINT message, WPARAM wParam, LPARAM) {
    received.push_back(message);
    return static_cast<LRESULT>(wParam) + 1;
}

TEST(Messages, WindowGetsPostsFromAnotherThreadInOrder) {
    received.clear();
    HWND window = w32::CreateMessageWindow(RecordingProcedure);
    ASSERT_NE(window, nullptr);
    std::thread poster([window] {
        w32::PostMessageA(window, kPing, 1, 0);
        w32::PostMessageA(window, kOverload, 0, 0);
        w32::PostMessageA(window, kPing, 2, 0);
    });
    poster.join();
    MSG msg{};
    std::vector<WPARAM> counts;
    while (w32::PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, window);
        if (msg.message == kPing) {
            counts.push_back(msg.wParam);
        }
        w32::DispatchMessageA(&msg);
    }
    EXPECT_EQ(received, (std::vector<UINT>{kPing, kOverload, kPing}));
    EXPECT_EQ(counts, (std::vector<WPARAM>{1, 2}));
    EXPECT_FALSE(w32::PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_TRUE(w32::DestroyMessageWindow(window));
}

TEST(Messages, DispatchReturnsTheProcedureResult) {
    received.clear();
    HWND window = w32::CreateMessageWindow(RecordingProcedure);
    ASSERT_TRUE(w32::PostMessageA(window, kPing, 41, 0));
    MSG msg{};
    ASSERT_TRUE(w32::PeekMessageA(&msg, window, kPing, kPing, PM_REMOVE));
    EXPECT_EQ(w32::DispatchMessageA(&msg), 42);
    w32::DestroyMessageWindow(window);
}

TEST(Messages, PeekFiltersByRangeAndCanLeaveTheMessage) {
    HWND window = w32::CreateMessageWindow(RecordingProcedure);
    w32::PostMessageA(window, kOverload, 0, 0);
    w32::PostMessageA(window, kPing, 5, 0);
    MSG msg{};
    ASSERT_TRUE(w32::PeekMessageA(&msg, window, kPing, kPing, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    ASSERT_TRUE(w32::PeekMessageA(&msg, window, kPing, kPing, PM_REMOVE));
    EXPECT_FALSE(w32::PeekMessageA(&msg, window, kPing, kPing, PM_REMOVE));
    ASSERT_TRUE(w32::PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, kOverload);
    w32::DestroyMessageWindow(window);
}

TEST(Messages, ThreadMessagesReachAThreadWithAQueue) {
    std::atomic<DWORD> id{0};
    std::atomic<bool> ready{false};
    MSG got{};
    std::thread receiver([&] {
        MSG msg{};
        w32::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
        id = w32::GetCurrentThreadId();
        ready = true;
        while (w32::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            got = msg;
        }
    });
    while (!ready) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(w32::PostThreadMessageA(id, WM_USER + 1, 9, 0));
    EXPECT_TRUE(w32::PostThreadMessageA(id, WM_QUIT, 0, 0));
    receiver.join();
    EXPECT_EQ(got.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(got.wParam, 9u);
    EXPECT_EQ(got.hwnd, nullptr);
}

TEST(Messages, PostingToNoWindowOrNoQueueFails) {
    DWORD unknownThread = 0x7FFFFFF0;
    EXPECT_FALSE(w32::PostThreadMessageA(unknownThread, WM_USER, 0, 0));
    HWND window = w32::CreateMessageWindow(RecordingProcedure);
    ASSERT_TRUE(w32::DestroyMessageWindow(window));
    EXPECT_FALSE(w32::PostMessageA(window, kPing, 0, 0));
}

}  // namespace
