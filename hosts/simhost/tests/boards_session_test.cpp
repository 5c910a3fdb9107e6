// simhost's board commands with a host talking to the board, and stop-after under virtual time:
// what a script alone cannot show, since the test target does no serial work of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "session.h"
#include "w32/clock.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/clock.h"

namespace {

// Runs `line` and gives what it printed.
std::string Printed(simhost::Session& session, std::ostringstream& out, const std::string& line) {
    size_t before = out.str().size();
    session.RunLine(line, 1);
    return out.str().substr(before);
}

TEST(SessionBoards, BoardLogShowsTheHostsTrafficOnTheVirtualClockSinceTheLastLog) {
    std::ostringstream out;
    simhost::Session session(out);
    Printed(session, out, "virtual-time on");
    ASSERT_EQ(Printed(session, out, "board echo COM47 baud=9600"),
              "> board echo COM47 baud=9600\nboard echo on COM47\n");
    HANDLE port = w32::CreateFileA("COM47", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS t{0, 0, 100, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(port, &t));
    DWORD n = 0;
    ASSERT_TRUE(w32::WriteFile(port, "ok", 2, &n, nullptr));
    char echo[2] = {};
    ASSERT_TRUE(w32::ReadFile(port, echo, 2, &n, nullptr));
    ASSERT_TRUE(w32::EscapeCommFunction(port, SETRTS));
    EXPECT_EQ(Printed(session, out, "board-log"),
              "> board-log\n"
              "board on COM47:\n"
              "     0.000 open 9600 8N1\n"
              "     1.042 host> 6F 'o'\n"
              "     2.084 board> 6F 'o'\n"
              "     2.084 host> 6B 'k'\n"
              "     3.126 board> 6B 'k'\n"
              "     3.126 rts 1\n");
    ASSERT_TRUE(w32::PurgeComm(port, PURGE_RXCLEAR));
    w32::CloseHandle(port);
    EXPECT_EQ(Printed(session, out, "board-log"),
              "> board-log\n"
              "board on COM47:\n"
              "     0.000 purge rx\n"
              "     0.000 rts 0\n"
              "     0.000 close\n");
    EXPECT_EQ(session.Finish(), 0);
    // The session takes its boards off their ports.
    EXPECT_EQ(w32::CreateFileA("COM47", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr),
              INVALID_HANDLE_VALUE);
}

TEST(SessionBoards, AnUnknownKindIsAnErrorThatNamesTheKindsThereAre) {
    std::ostringstream out;
    simhost::Session session(out);
    std::string printed = Printed(session, out, "board nosuch COM46");
    EXPECT_EQ(printed.find("> board nosuch COM46\nerror: line 1: unknown board 'nosuch' (boards: "
                           "echo "),
              0u)
        << printed;
    EXPECT_EQ(session.Finish(), 1);
}

class StopAfterInVirtualTime : public ::testing::Test {
protected:
    void SetUp() override {
        session.SetScriptFolder(
            (std::filesystem::path(FWT_SOURCE_DIR) / "hosts/simhost/tests/transcripts")
                .generic_string());
        for (const char* line : {"virtual-time on", "plugin fake_sim_plugin", "create FAKE51",
                                 "load program.hex", "reset"}) {
            session.RunLine(line, 1);
        }
    }
    std::ostringstream out;
    simhost::Session session{out};
};

TEST_F(StopAfterInVirtualTime, TheStopComesWhenTheClockReachesItsTimeAndNotBefore) {
    uint64_t armed = w32test::clock::NowMicros();
    Printed(session, out, "stop-after 100 break");
    // The session's thread is busy: no time passes, whatever the real time.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(w32test::clock::NowMicros(), armed);
    // It waits as a target waits for its board: the stop comes at 100 ms, during the wait.
    w32::Sleep(60);
    EXPECT_EQ(Printed(session, out, "pc"), "> pc\npc=0000\n");
    w32::Sleep(60);
    EXPECT_EQ(w32test::clock::NowMicros() - armed, 120000u);
    EXPECT_EQ(Printed(session, out, "pc"),
              "> pc\npc=0000\nstop-after: RequestBreak made\nstatus 0 OK\n");
    EXPECT_EQ(session.Finish(), 0);
}

TEST_F(StopAfterInVirtualTime, AStopNotReachedIsNotMadeAndCostsNoTime) {
    uint64_t armed = w32test::clock::NowMicros();
    Printed(session, out, "stop-after 3600000");
    EXPECT_EQ(Printed(session, out, "destroy"),
              "> destroy\nstop-after: not reached\ntarget 1 destroyed\n");
    EXPECT_EQ(w32test::clock::NowMicros(), armed);
    EXPECT_EQ(session.Finish(), 0);
}

}  // namespace
