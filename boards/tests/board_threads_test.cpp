// A board's log, clock and line state read by one thread while another thread's host calls run
// the board: the case of a test watching a port served by a receive thread.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "boards/board.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

// Sends a byte every millisecond from its own timers once the host has opened the port.
class TickerBoard : public boards::Board {
protected:
    void OnOpen() override { Tick(); }

private:
    void Tick() {
        Send("t");
        After(1000, [this] { Tick(); });
    }
};

TEST(BoardThreads, LogClockAndLinesAreReadWhileAnotherThreadRunsTheBoard) {
    w32test::clock::VirtualTimeScope virtualTime;
    TickerBoard board;
    ASSERT_TRUE(w32test::vport::Attach(32, &board));
    HANDLE port = w32::CreateFileA("COM32", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS t{0, 0, 10, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(port, &t));

    std::atomic<bool> done{false};
    std::thread host([&] {
        // The host's reads pass the board's timers: the board runs on this thread.
        for (int i = 0; i < 200; ++i) {
            char b = 0;
            DWORD n = 0;
            w32::ReadFile(port, &b, 1, &n, nullptr);
            if (i == 100) {
                w32::EscapeCommFunction(port, SETRTS);
            }
        }
        done = true;
    });
    size_t lines = 0;
    uint64_t latest = 0;
    {
        w32test::clock::OutsideWaitScope watching;
        while (!done.load()) {
            lines = std::max(lines, board.Log().Records().size());
            latest = std::max(latest, board.Now());
            board.Log().TimeOf("rts 1");
            board.Rts();
            board.HostLine();
        }
        host.join();
    }
    EXPECT_GE(board.Log().Records().size(), lines);
    EXPECT_GE(board.Now(), latest);
    EXPECT_TRUE(board.Rts());
    EXPECT_NE(board.Log().TimeOf("rts 1"), boards::Transcript::kNever);
    w32::CloseHandle(port);
    w32test::vport::Detach(32);
}

}  // namespace
