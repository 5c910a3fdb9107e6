// Asynchronous receive mode over a virtual port: the receive thread, the ring and its messages.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "boards/echo_board.h"
#include "comms/comms.h"
#include "w32test/clock.h"
#include "w32test/handles.h"
#include "w32/messages.h"
#include "w32test/vport.h"

namespace {

const int kCom = 2;

// Echoes at the port object's default rate and counts purges, which tell when the receive thread
// has started listening (it purges once it is up, after the open's own purge).
class ListeningEcho : public boards::EchoBoard {
public:
    ListeningEcho() : EchoBoard(w32test::vport::LineSettings{19200}) {}
    std::atomic<int> purges{0};

protected:
    void OnPurge(DWORD) override { ++purges; }
};

struct Posted {
    std::vector<UINT> messages;
    DWORD received = 0;
};
thread_local Posted posted;

LRESULT CALLBACK RecordPosts(HWND, UINT message, WPARAM wParam, LPARAM) {
    posted.messages.push_back(message);
    if (message == WM_COMM_RXCHAR) {
        posted.received += static_cast<DWORD>(wParam);
    }
    return 0;
}

void PumpMessages() {
    MSG msg{};
    while (w32::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        w32::DispatchMessageA(&msg);
    }
}

int Count(UINT message) {
    int n = 0;
    for (UINT m : posted.messages) {
        n += m == message ? 1 : 0;
    }
    return n;
}

// Polls (in real time) until `done` holds; false after five seconds. The receive thread works on
// the virtual clock meanwhile.
template <typename Done>
bool WaitFor(Done done) {
    w32test::clock::OutsideWaitScope waiting;
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class AsyncComms : public ::testing::Test {
protected:
    void SetUp() override {
        posted = Posted();
        ASSERT_TRUE(w32test::vport::Attach(kCom, board_.get()));
        window_ = w32::CreateMessageWindow(RecordPosts);
        ASSERT_NE(window_, nullptr);
        port_.CurrPort(kCom - 1);
        ASSERT_EQ(port_.SetAsyncMode(), COMMS_OK);
        port_.SetHWND(window_);
        ASSERT_EQ(port_.Initialize(), COMMS_OK);
        ASSERT_TRUE(WaitFor([&] { return board_->purges.load() >= 2; }));
    }
    void TearDown() override {
        port_.Deinstall();
        w32::DestroyMessageWindow(window_);
        w32test::vport::Detach(kCom);
    }
    void Send(const std::vector<BYTE>& bytes) {
        ASSERT_EQ(port_.Write(bytes.data(), static_cast<DWORD>(bytes.size())), COMMS_OK);
        EXPECT_EQ(port_.GetNumWritten(), bytes.size());
    }
    // Waits until the receive thread has reported `count` bytes in all.
    bool Received(DWORD count) {
        return WaitFor([&] {
            PumpMessages();
            return posted.received >= count;
        });
    }

    w32test::clock::VirtualTimeScope virtualTime_;
    std::shared_ptr<ListeningEcho> board_ = std::make_shared<ListeningEcho>();
    HWND window_ = nullptr;
    CComms port_;
};

std::vector<BYTE> Pattern(size_t n) {
    std::vector<BYTE> bytes(n);
    for (size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<BYTE>(i % 251);
    }
    return bytes;
}

TEST_F(AsyncComms, FullRingReportsOverloadOnceAndKeepsTheNewestBytes) {
    std::vector<BYTE> sent = Pattern(4097);
    Send(std::vector<BYTE>(sent.begin(), sent.begin() + 4096));
    ASSERT_TRUE(Received(4096));
    EXPECT_EQ(port_.BytesInReceiveBuffer(), 4096u);
    EXPECT_EQ(Count(WM_COMM_BUFFER_OVERLOAD), 1);

    Send(std::vector<BYTE>(sent.begin() + 4096, sent.end()));
    ASSERT_TRUE(Received(4097));
    EXPECT_EQ(Count(WM_COMM_BUFFER_OVERLOAD), 1);
    EXPECT_EQ(port_.BytesInReceiveBuffer(), 4096u);

    // The oldest byte made room for the newest; nothing else was lost.
    std::vector<BYTE> got(4096);
    DWORD n = 0;
    EXPECT_EQ(port_.Read(got.data(), 4096, n), COMMS_OK);
    EXPECT_EQ(n, 4096u);
    EXPECT_EQ(got, std::vector<BYTE>(sent.begin() + 1, sent.end()));
    EXPECT_TRUE(port_.IsReceiveBufferEmpty());
}

TEST_F(AsyncComms, ReadsWaitTheirPollsAndReportShortData) {
    BYTE buffer[4];
    DWORD n = 9;
    uint64_t before = w32test::clock::NowMicros();
    EXPECT_EQ(port_.Read(buffer, 4, n), COMMS_READ_TIMEOUT);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(w32test::clock::NowMicros(), before);  // polls 0: one try, no wait

    port_.SetAsyncTimeOut(10);
    before = w32test::clock::NowMicros();
    EXPECT_EQ(port_.Read(buffer, 4, n), COMMS_READ_TIMEOUT);
    EXPECT_EQ(w32test::clock::NowMicros() - before, 10000u);

    Send({'x', 'y'});
    ASSERT_TRUE(Received(2));
    EXPECT_EQ(port_.Read(buffer, 4, n), COMMS_READ_TIMEOUT);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(port_.GetNumRead(), 2u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(buffer[1], 'y');
}

TEST_F(AsyncComms, ReadsAndPeeksTakeWhatTheRingHoldsWithoutWaitingForMore) {
    port_.SetAsyncTimeOut(10);
    BYTE b = 0;
    uint64_t before = w32test::clock::NowMicros();
    EXPECT_EQ(port_.PeekChar(&b), COMMS_NOTHING_TO_PEEK);  // the polls are the reads' alone
    EXPECT_EQ(w32test::clock::NowMicros(), before);

    Send({'x', 'y'});
    ASSERT_TRUE(Received(2));
    BYTE buffer[4] = {};
    DWORD n = 0;
    before = w32test::clock::NowMicros();
    EXPECT_EQ(port_.Read(buffer, 4, n), COMMS_READ_TIMEOUT);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(w32test::clock::NowMicros(), before);
}

TEST_F(AsyncComms, AWriteCutShortByItsTimeOutSucceedsAndOnlyItsCountTellsIt) {
    // A write limit of 1 ms lets one byte of four out at 19200 baud (521 us each).
    COMMTIMEOUTS t{0, 0, 0, 0, 1};
    ASSERT_EQ(port_.SetTimeOut(&t), COMMS_OK);
    BYTE data[] = {1, 2, 3, 4};
    DWORD written = 9;
    EXPECT_EQ(port_.Write(data, 4, written), COMMS_OK);
    EXPECT_EQ(written, 1u);
    EXPECT_EQ(port_.GetNumWritten(), 1u);
}

TEST_F(AsyncComms, PeekLooksAheadWithoutConsuming) {
    Send({'a', 'b', 'c'});
    ASSERT_TRUE(Received(3));
    BYTE b = 0;
    ASSERT_EQ(port_.PeekChar(&b), COMMS_OK);
    EXPECT_EQ(b, 'a');
    ASSERT_EQ(port_.PeekChar(&b), COMMS_OK);
    EXPECT_EQ(b, 'b');
    EXPECT_EQ(port_.BytesInReceiveBuffer(), 3u);
    ASSERT_EQ(port_.Read(&b), COMMS_OK);
    EXPECT_EQ(b, 'a');
    // After a read, peeking starts behind the byte read.
    ASSERT_EQ(port_.PeekChar(&b), COMMS_OK);
    EXPECT_EQ(b, 'b');
    BYTE two[2];
    ASSERT_EQ(port_.Read(two, 2), COMMS_OK);
    EXPECT_EQ(port_.PeekChar(&b), COMMS_NOTHING_TO_PEEK);

    Send({'d', 'e'});
    ASSERT_TRUE(Received(5));
    port_.FlushReceiveBuffer();
    EXPECT_TRUE(port_.IsReceiveBufferEmpty());
    EXPECT_EQ(port_.PeekChar(&b), COMMS_NOTHING_TO_PEEK);
}

TEST_F(AsyncComms, ClosingStopsTheWaitingThreadAndReturnsToSynchronousMode) {
    ASSERT_TRUE(port_.IsSecondThreadAlive());
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port_.Deinstall(), COMMS_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(port_.IsSecondThreadAlive());
    EXPECT_FALSE(port_.IsInitialized());
    BYTE b = 0;
    EXPECT_EQ(port_.PeekChar(&b), COMMS_NOTHING_TO_PEEK);
    EXPECT_EQ(port_.BytesInReceiveBuffer(), 0u);
    // The next open is synchronous again.
    ASSERT_EQ(port_.Initialize(), COMMS_OK);
    EXPECT_FALSE(port_.IsSecondThreadAlive());
}

TEST_F(AsyncComms, NullBuffersAreRefusedAndTheRingStaysAsItWas) {
    Send({'a', 'b'});
    ASSERT_TRUE(Received(2));
    EXPECT_EQ(port_.Read(nullptr, 2), COMMS_READ_FAILED);
    EXPECT_EQ(port_.GetNumRead(), 0u);
    EXPECT_EQ(port_.GetString(nullptr), COMMS_READ_FAILED);
    DWORD count = 9;
    EXPECT_EQ(port_.GetStringCR(nullptr, count), COMMS_READ_FAILED);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(port_.PeekChar(nullptr), COMMS_NO_BUFFER);
    port_.Enqueue(nullptr, 3);
    EXPECT_EQ(port_.BytesInReceiveBuffer(), 2u);
    BYTE b = 0;
    ASSERT_EQ(port_.PeekChar(&b), COMMS_OK);
    EXPECT_EQ(b, 'a');
    BYTE two[2] = {};
    ASSERT_EQ(port_.Read(two, 2), COMMS_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(two), 2), "ab");
}

TEST_F(AsyncComms, ARingTooLargeForItsSizeIsRefusedAndTheOldOneStays) {
    // 0xFFFFFFFF usable bytes would make a ring size of 2^32, which wraps to 0.
    EXPECT_EQ(port_.SetBufferSize(0xFFFFFFFFu), COMMS_NO_BUFFER);
    Send({'x', 'y'});
    ASSERT_TRUE(Received(2));
    BYTE two[2] = {};
    ASSERT_EQ(port_.Read(two, 2), COMMS_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(two), 2), "xy");
}

#if !defined(_WIN32)
uint64_t ProcessCpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000u + static_cast<uint64_t>(t.tv_nsec) / 1000u;
}
#endif

TEST_F(AsyncComms, ThreadPollingAPortWithoutItsBoardNeitherSpinsNorRunsTheClockAway) {
    ASSERT_TRUE(w32test::vport::Detach(kCom));
    // The receive thread's waits now fail and it polls every 50 ms; this thread is busy in real
    // time meanwhile, so virtual time stands still and the poller sleeps.
    uint64_t before = w32test::clock::NowMicros();
#if !defined(_WIN32)
    uint64_t cpuBefore = ProcessCpuMicros();
#endif
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(w32test::clock::NowMicros(), before);
#if !defined(_WIN32)
    EXPECT_LT(ProcessCpuMicros() - cpuBefore, 150000u);
#endif
    EXPECT_EQ(port_.Deinstall(), COMMS_OK);
    EXPECT_FALSE(port_.IsSecondThreadAlive());
    // The poller's last sleep and the closing thread's last 1 ms step, at most.
    EXPECT_LE(w32test::clock::NowMicros() - before, 51000u);
}

#if !defined(_WIN32)
// Here the layer's handle count covers threads (on Windows they are the system's).
TEST(AsyncCommsThread, AThreadThatEndsOnItsOwnLeavesNoHandleBehind) {
    w32test::clock::VirtualTimeScope virtualTime;
    boards::EchoBoard board;
    ASSERT_TRUE(w32test::vport::Attach(kCom, &board));
    DWORD before = w32test::handles::OpenCount();
    {
        CComms port;
        port.CurrPort(kCom - 1);
        ASSERT_EQ(port.SetAsyncMode(), COMMS_OK);
        ASSERT_EQ(port.Initialize(), COMMS_OK);
        // The board goes before the thread listens (it waits a second first): the thread cannot
        // set its mask and ends on its own.
        ASSERT_TRUE(w32test::vport::Detach(kCom));
        ASSERT_TRUE(WaitFor([&] { return !port.IsSecondThreadAlive(); }));
        port.Deinstall();
    }
    EXPECT_EQ(w32test::handles::OpenCount(), before);
}
#endif

TEST(AsyncCommsRing, RingSizeAndSynchronousObjects) {
    CComms c;
    EXPECT_EQ(c.SetBufferSize(0), COMMS_BUFFER_TOO_SMALL);
    EXPECT_EQ(c.SetBufferSize(16), COMMS_OK);
    BYTE b = 0;
    EXPECT_EQ(c.PeekChar(&b), COMMS_NOTHING_TO_PEEK);
    EXPECT_EQ(c.BytesInReceiveBuffer(), 0u);
    EXPECT_TRUE(c.IsReceiveBufferEmpty());
    EXPECT_FALSE(c.IsSecondThreadAlive());
    c.Enqueue(reinterpret_cast<const BYTE*>("x"), 1);  // no ring lock: nothing happens
    EXPECT_TRUE(c.IsReceiveBufferEmpty());
}

}  // namespace
