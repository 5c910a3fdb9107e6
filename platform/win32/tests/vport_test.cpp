// Virtual serial ports: the cable's timing, framing and time-outs as a simulated board sees them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "boards/board.h"
#include "boards/echo_board.h"
#include "port_text.h"
#include "w32/clock.h"
#include "w32test/clock.h"
#include "w32/errors.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32/threads.h"
#include "w32test/vport.h"

namespace {

using boards::Transcript;
using Steady = std::chrono::steady_clock;

const uint64_t kCharAt9600 = 1042;  // 10 bits at 9600 baud, rounded up to whole microseconds

// A board put on a COM number for one test, and a port opened on it.
class Rig {
public:
    Rig(int com, std::shared_ptr<boards::Board> board) : m_com(com), m_board(std::move(board)) {
        EXPECT_TRUE(w32test::vport::Attach(m_com, m_board.get()));
    }
    ~Rig() {
        if (m_port != INVALID_HANDLE_VALUE) {
            w32::CloseHandle(m_port);
        }
        w32test::vport::Detach(m_com);
    }

    HANDLE Open() {
        std::string name = "\\\\.\\COM" + std::to_string(m_com);
        m_port = w32::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(m_port, INVALID_HANDLE_VALUE);
        return m_port;
    }
    void Close() {
        w32::CloseHandle(m_port);
        m_port = INVALID_HANDLE_VALUE;
    }

    void SetFraming(DWORD baud, BYTE parity = NOPARITY, BYTE stopBits = ONESTOPBIT) {
        DCB dcb{};
        ASSERT_TRUE(w32::GetCommState(m_port, &dcb));
        dcb.BaudRate = baud;
        dcb.Parity = parity;
        dcb.StopBits = stopBits;
        ASSERT_TRUE(w32::SetCommState(m_port, &dcb));
    }
    void SetTimeouts(DWORD interval, DWORD multiplier, DWORD constant) {
        COMMTIMEOUTS t{interval, multiplier, constant, 0, 0};
        ASSERT_TRUE(w32::SetCommTimeouts(m_port, &t));
    }
    void Write(const std::string& text) { WriteText(m_port, text); }
    std::string Read(DWORD count) { return ReadText(m_port, count); }

    HANDLE port() const { return m_port; }

private:
    int m_com;
    std::shared_ptr<boards::Board> m_board;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

// Sends the scripted replies at fixed delays after the host opens the port.
class ScriptedBoard : public boards::Board {
public:
    struct Step {
        uint64_t delayMicros;
        std::string bytes;
    };
    explicit ScriptedBoard(std::vector<Step> script) : m_script(std::move(script)) {}

protected:
    void OnOpen() override {
        for (const Step& s : m_script) {
            SendAfter(s.delayMicros, s.bytes);
        }
    }

private:
    std::vector<Step> m_script;
};

long long RealMsSince(Steady::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
}

TEST(VirtualPort, EchoConversationIsStampedWithCharacterTimes) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<boards::EchoBoard>();
    Rig rig(21, board);
    rig.Open();
    DCB dcb{};
    ASSERT_TRUE(w32::GetCommState(rig.port(), &dcb));
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    ASSERT_TRUE(w32::SetCommState(rig.port(), &dcb));
    rig.SetTimeouts(0, 100, 0);
    rig.Write("AB");
    EXPECT_EQ(rig.Read(2), "AB");
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), SETRTS));
    rig.Close();
    EXPECT_EQ(board->Log().Text(),
              "   0.000 open 9600 8N1\n"
              "   0.000 dtr 1\n"
              "   1.042 host> 41 'A'\n"
              "   2.084 board> 41 'A'\n"
              "   2.084 host> 42 'B'\n"
              "   3.126 board> 42 'B'\n"
              "   3.126 rts 1\n"
              "   3.126 dtr 0\n"
              "   3.126 rts 0\n"
              "   3.126 close\n");
}

TEST(VirtualPort, WriteReturnsWhenItsLastByteHasLeft) {
    w32test::clock::VirtualTimeScope virtualTime;
    Rig rig(21, std::make_shared<boards::Board>());
    rig.Open();
    uint64_t before = w32test::clock::NowMicros();
    rig.Write(std::string(100, 'x'));
    EXPECT_EQ(w32test::clock::NowMicros() - before, 100 * kCharAt9600);
}

// At 10000 baud a bit takes 100 us: a character is start bit, data bits, parity bit and stop
// bits, one and a half stop bits counting as such.
TEST(VirtualPort, CharacterTimeCountsEveryBitOfTheFraming) {
    struct Case {
        BYTE dataBits;
        BYTE parity;
        BYTE stopBits;
        uint64_t micros;
    };
    const Case cases[] = {
        {8, NOPARITY, ONESTOPBIT, 1000},    {5, NOPARITY, ONESTOPBIT, 700},
        {5, NOPARITY, ONE5STOPBITS, 750},   {6, ODDPARITY, ONESTOPBIT, 900},
        {7, EVENPARITY, TWOSTOPBITS, 1100},
    };
    w32test::clock::VirtualTimeScope virtualTime;
    Rig rig(21, std::make_shared<boards::Board>());
    rig.Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.dataBits) << " data, parity " << int(c.parity)
                                        << ", stop code " << int(c.stopBits));
        DCB dcb{};
        ASSERT_TRUE(w32::GetCommState(rig.port(), &dcb));
        dcb.BaudRate = 10000;
        dcb.ByteSize = c.dataBits;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stopBits;
        ASSERT_TRUE(w32::SetCommState(rig.port(), &dcb));
        uint64_t before = w32test::clock::NowMicros();
        rig.Write("xyz");
        EXPECT_EQ(w32test::clock::NowMicros() - before, 3 * c.micros);
    }
}

TEST(VirtualPort, TenSecondReadTimeoutCostsNoRealTime) {
    w32test::clock::VirtualTimeScope virtualTime;
    Rig rig(21, std::make_shared<boards::Board>());
    rig.Open();
    rig.SetTimeouts(0, 0, 10000);
    Steady::time_point start = Steady::now();
    uint64_t before = w32test::clock::NowMicros();
    EXPECT_EQ(rig.Read(1), "");
    EXPECT_EQ(w32test::clock::NowMicros() - before, 10000000u);
    EXPECT_LT(RealMsSince(start), 1000);
}

TEST(VirtualPort, ReadTimeoutsFollowCommTimeouts) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<ScriptedBoard>(
        std::vector<ScriptedBoard::Step>{{10000, "AB"}, {500000, "C"}});
    Rig rig(21, board);

    // Interval: the pause after "AB" ends the read 100 ms after B arrived.
    rig.Open();
    uint64_t opened = w32test::clock::NowMicros();
    rig.SetTimeouts(100, 0, 0);
    EXPECT_EQ(rig.Read(3), "AB");
    EXPECT_EQ(w32test::clock::NowMicros(), opened + 10000 + 2 * kCharAt9600 + 100000);
    rig.Close();

    // Total: multiplier 10 per byte plus 50 for 3 bytes ends at 80 ms with what came.
    rig.Open();
    opened = w32test::clock::NowMicros();
    rig.SetTimeouts(0, 10, 50);
    EXPECT_EQ(rig.Read(3), "AB");
    EXPECT_EQ(w32test::clock::NowMicros(), opened + 80000);
    rig.Close();

    // MAXDWORD, 0, 0: at once, with whatever has arrived.
    rig.Open();
    rig.SetTimeouts(MAXDWORD, 0, 0);
    EXPECT_EQ(rig.Read(3), "");
    w32::Sleep(20);
    EXPECT_EQ(rig.Read(3), "AB");
    rig.Close();

    // MAXDWORD, MAXDWORD, constant: returns with the first byte to come, or after the constant.
    rig.Open();
    opened = w32test::clock::NowMicros();
    rig.SetTimeouts(MAXDWORD, MAXDWORD, 5);
    EXPECT_EQ(rig.Read(3), "");
    EXPECT_EQ(w32test::clock::NowMicros(), opened + 5000);
    rig.SetTimeouts(MAXDWORD, MAXDWORD, 1000);
    EXPECT_EQ(rig.Read(3), "A");
    EXPECT_EQ(w32test::clock::NowMicros(), opened + 10000 + kCharAt9600);
    rig.Close();

    // All zero: waits for every byte, however long it takes.
    rig.Open();
    rig.SetTimeouts(0, 0, 0);
    EXPECT_EQ(rig.Read(3), "ABC");
}

TEST(VirtualPort, ReadWithNoLimitAndNothingComingReturnsInsteadOfHanging) {
    w32test::clock::VirtualTimeScope virtualTime;
    Rig rig(21, std::make_shared<boards::Board>());
    rig.Open();
    rig.SetTimeouts(0, 0, 0);
    EXPECT_EQ(rig.Read(4), "");
}

TEST(VirtualPort, MismatchedFramingGarblesBytesBothWays) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<boards::EchoBoard>(w32test::vport::LineSettings{19200});
    Rig rig(21, board);
    rig.Open();
    rig.SetTimeouts(0, 100, 0);
    rig.Write("A");
    std::string echo = rig.Read(1);
    ASSERT_EQ(echo.size(), 1u);
    EXPECT_NE(echo, "A");  // garbled on the way out and again on the way back
    EXPECT_NE(board->Log().Events().find("host> 9C garbled\n"), std::string::npos);
    DWORD errors = 0;
    ASSERT_TRUE(w32::ClearCommError(rig.port(), &errors, nullptr));
    EXPECT_TRUE(errors & CE_FRAME);

    rig.SetFraming(19200);
    rig.Write("A");
    EXPECT_EQ(rig.Read(1), "A");

    rig.SetFraming(19200, EVENPARITY);
    rig.Write("A");
    EXPECT_NE(rig.Read(1), "A");
    rig.SetFraming(19200, NOPARITY, TWOSTOPBITS);
    rig.Write("A");
    EXPECT_NE(rig.Read(1), "A");
}

// Answers 'B' with "OK" and then listens at 115200 baud, as boot loaders do after a baud command.
class BaudSwitchBoard : public boards::Board {
protected:
    void OnOpen() override { Listen(w32test::vport::LineSettings{9600}); }
    void OnByte(BYTE b, bool garbled) override {
        if (!garbled && b == 'B') {
            Send("OK");
            Listen(w32test::vport::LineSettings{115200});
        } else if (!garbled) {
            Send(std::vector<BYTE>{b});
        }
    }
};

TEST(VirtualPort, BoardSwitchesBaudAfterItsReply) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<BaudSwitchBoard>();
    Rig rig(21, board);
    rig.Open();
    rig.SetTimeouts(0, 100, 0);
    rig.Write("B");
    EXPECT_EQ(rig.Read(2), "OK");
    rig.SetFraming(115200);
    rig.Write("x");
    EXPECT_EQ(rig.Read(1), "x");

    // A host that switches before the reply is through reads the rest of it garbled.
    rig.Close();
    rig.Open();
    rig.SetTimeouts(0, 100, 0);
    rig.Write("B");
    rig.SetFraming(115200);
    std::string reply = rig.Read(2);
    EXPECT_EQ(reply.size(), 2u);
    EXPECT_NE(reply, "OK");
    // The board switched once its reply had gone out at the old rate.
    EXPECT_GE(board->Log().TimeOf("listen 115200"), board->Log().TimeOf("board> 4B 'K'"));
}

TEST(VirtualPort, LineChangesComeAfterTheBytesOnTheWire) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<boards::Board>();
    Rig rig(21, board);
    rig.Open();
    rig.Write("XYZ");
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), SETRTS));
    ASSERT_TRUE(w32::PurgeComm(rig.port(), PURGE_RXCLEAR));
    EXPECT_EQ(board->Log().Events(),
              "open 9600 8N1\nhost> 58 'X'\nhost> 59 'Y'\nhost> 5A 'Z'\nrts 1\npurge rx\n");
    EXPECT_GE(board->Log().TimeOf("rts 1"), board->Log().TimeOf("host> 5A"));
}

TEST(VirtualPort, SetCommStateMovesALineOnlyWhenItsControlModeChanges) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<boards::Board>();
    Rig rig(21, board);
    HANDLE port = rig.Open();
    DCB dcb{};
    ASSERT_TRUE(w32::GetCommState(port, &dcb));
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    ASSERT_TRUE(w32::SetCommState(port, &dcb));
    ASSERT_TRUE(w32::EscapeCommFunction(port, SETRTS));
    ASSERT_TRUE(w32::EscapeCommFunction(port, CLRDTR));
    // A new rate with the same control modes: RTS stays up, DTR stays down.
    board->Log().Clear();
    dcb.BaudRate = 57600;
    ASSERT_TRUE(w32::SetCommState(port, &dcb));
    EXPECT_EQ(board->Log().Events(), "settings 57600 8N1\n");
    EXPECT_TRUE(board->Rts());
    EXPECT_FALSE(board->Dtr());
    // A mode that changes drives its line; ENABLE on a line already up changes nothing.
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ASSERT_TRUE(w32::SetCommState(port, &dcb));
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    ASSERT_TRUE(w32::SetCommState(port, &dcb));
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ASSERT_TRUE(w32::SetCommState(port, &dcb));
    EXPECT_EQ(board->Log().Events(), "settings 57600 8N1\nrts 0\n");
}

// Counts the bytes it has heard, for a test on another thread.
class CountingBoard : public boards::Board {
public:
    std::atomic<int> bytes{0};

protected:
    void OnByte(BYTE, bool) override { ++bytes; }
};

TEST(VirtualPort, LineChangeFromAnotherThreadWaitsForTheBytesOnTheWire) {
    ASSERT_FALSE(w32test::clock::IsVirtual());
    auto board = std::make_shared<CountingBoard>();
    Rig rig(21, board);
    HANDLE port = rig.Open();
    std::thread writer([&] { rig.Write(std::string(40, 'w')); });  // about 42 ms on the wire
    // The board hears of every byte as the write starts; the write then waits for them to go.
    while (board->bytes.load() < 40) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(w32::EscapeCommFunction(port, SETRTS));
    writer.join();
    std::string events = board->Log().Events();
    EXPECT_EQ(events.find("rts 1"), events.size() - 6) << events;
}

// Wants 'R' more than 100 ms after RTS falls, as a board that needs time to leave reset.
class ResetTimingBoard : public boards::Board {
public:
    bool tooEarly = false;

protected:
    void OnRts(bool on) override {
        if (!on) {
            m_fell = Now();
        }
    }
    void OnByte(BYTE b, bool) override {
        if (b == 'R' && Now() - m_fell <= 100000) {
            tooEarly = true;
        }
    }

private:
    uint64_t m_fell = 0;
};

TEST(VirtualPort, BoardMeasuresPausesOnTheClock) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<ResetTimingBoard>();
    Rig rig(21, board);
    rig.Open();
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), SETRTS));
    w32::Sleep(50);
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), CLRRTS));
    w32::Sleep(80);
    rig.Write("R");
    EXPECT_TRUE(board->tooEarly);
    EXPECT_LT(board->Log().TimeOf("host> 52") - board->Log().TimeOf("rts 0"), 100000u);

    board->tooEarly = false;
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), SETRTS));
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), CLRRTS));
    w32::Sleep(120);
    rig.Write("R");
    EXPECT_FALSE(board->tooEarly);
}

TEST(VirtualPort, PurgeDropsArrivedBytesButNotThoseOnTheWire) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<ScriptedBoard>(
        std::vector<ScriptedBoard::Step>{{1000, "abc"}, {100000, "123456"}});
    Rig rig(21, board);
    rig.Open();
    uint64_t opened = w32test::clock::NowMicros();
    w32::Sleep(50);
    ASSERT_TRUE(w32::PurgeComm(rig.port(), PURGE_RXABORT | PURGE_RXCLEAR));
    // Half-way through "123456": three bytes have arrived, three are on the wire.
    w32test::clock::AdvanceToMicros(opened + 100000 + 3 * kCharAt9600);
    ASSERT_TRUE(w32::PurgeComm(rig.port(), PURGE_RXABORT | PURGE_RXCLEAR));
    rig.SetTimeouts(0, 0, 1000);
    EXPECT_EQ(rig.Read(6), "456");
}

// Raises CTS and DSR 5 ms after DTR rises.
class HandshakeBoard : public boards::Board {
protected:
    void OnDtr(bool on) override {
        After(5000, [this, on] { SetModemLines(on ? MS_CTS_ON | MS_DSR_ON : 0); });
    }
};

TEST(VirtualPort, ModemLinesChangeAtTheBoardsTime) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<HandshakeBoard>();
    Rig rig(21, board);
    rig.Open();
    DWORD lines = 99;
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), SETDTR));
    ASSERT_TRUE(w32::GetCommModemStatus(rig.port(), &lines));
    EXPECT_EQ(lines, 0u);
    w32::Sleep(4);
    ASSERT_TRUE(w32::GetCommModemStatus(rig.port(), &lines));
    EXPECT_EQ(lines, 0u);
    w32::Sleep(1);
    ASSERT_TRUE(w32::GetCommModemStatus(rig.port(), &lines));
    EXPECT_EQ(lines, static_cast<DWORD>(MS_CTS_ON | MS_DSR_ON));
}

// Prompts 200 ms after DTR rises unless the host spoke first.
class PromptBoard : public boards::Board {
protected:
    void OnDtr(bool on) override {
        if (on) {
            m_spoke = false;
            After(200000, [this] {
                if (!m_spoke) {
                    Send("*");
                }
            });
        }
    }
    void OnByte(BYTE, bool) override { m_spoke = true; }

private:
    bool m_spoke = false;
};

TEST(VirtualPort, BoardTimersRunWhenTheHostWaitsPastThem) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<PromptBoard>();
    Rig rig(21, board);
    rig.Open();
    rig.SetTimeouts(0, 0, 1000);
    uint64_t start = w32test::clock::NowMicros();
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), SETDTR));
    EXPECT_EQ(rig.Read(1), "*");
    EXPECT_EQ(w32test::clock::NowMicros() - start, 200000 + kCharAt9600);

    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), CLRDTR));
    ASSERT_TRUE(w32::EscapeCommFunction(rig.port(), SETDTR));
    rig.Write("?");
    EXPECT_EQ(rig.Read(1), "");  // the timer ran and stayed quiet
}

TEST(VirtualPort, WaitingThreadWakesForBytesAnotherThreadCaused) {
    w32test::clock::VirtualTimeScope virtualTime;
    Rig rig(21, std::make_shared<boards::EchoBoard>());
    HANDLE port = rig.Open();
    ASSERT_TRUE(w32::SetCommMask(port, EV_RXCHAR));
    std::atomic<int> stage{0};
    DWORD first = 0;
    DWORD second = 99;
    std::thread waiter([&] {
        w32::WaitCommEvent(port, &first, nullptr);
        stage = 1;
        w32::WaitCommEvent(port, &second, nullptr);
        stage = 2;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(stage.load(), 0);
    rig.Write("Q");
    {
        // The waiter needs the clock to reach the echo's arrival.
        w32test::clock::OutsideWaitScope waiting;
        while (stage.load() < 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    EXPECT_EQ(first, static_cast<DWORD>(EV_RXCHAR));
    EXPECT_EQ(rig.Read(1), "Q");
    // Changing the mask ends a pending wait with no event.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(stage.load(), 1);
    ASSERT_TRUE(w32::SetCommMask(port, 0));
    waiter.join();
    EXPECT_EQ(second, 0u);
}

TEST(VirtualPort, OverlappedCallsCompleteAndSignalTheirEvent) {
    w32test::clock::VirtualTimeScope virtualTime;
    Rig rig(21, std::make_shared<boards::EchoBoard>());
    HANDLE port = rig.Open();
    OVERLAPPED o{};
    o.hEvent = w32::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    EXPECT_TRUE(w32::WriteFile(port, "hi", 2, nullptr, &o));
    EXPECT_EQ(w32::WaitForSingleObject(o.hEvent, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(w32::GetOverlappedResult(port, &o, &n, TRUE));
    EXPECT_EQ(n, 2u);
    w32::ResetEvent(o.hEvent);
    char buffer[2] = {};
    EXPECT_TRUE(w32::ReadFile(port, buffer, 2, nullptr, &o));
    EXPECT_TRUE(w32::GetOverlappedResult(port, &o, &n, TRUE));
    EXPECT_EQ(std::string(buffer, n), "hi");
    w32::CloseHandle(o.hEvent);
}

TEST(VirtualPort, PortsOpenOnceAndFailWhenTheBoardIsGone) {
    w32test::clock::VirtualTimeScope virtualTime;
    HANDLE none = w32::CreateFileA("\\\\.\\COM199", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(none, INVALID_HANDLE_VALUE);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    auto board = std::make_shared<boards::EchoBoard>();
    Rig rig(22, board);
    boards::EchoBoard another;
    EXPECT_FALSE(w32test::vport::Attach(22, &another));
    HANDLE port = rig.Open();
    HANDLE second = w32::CreateFileA("COM22", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    ASSERT_TRUE(w32test::vport::Detach(22));
    EXPECT_FALSE(w32test::vport::IsAttached(22));
    DWORD n = 0;
    EXPECT_FALSE(w32::WriteFile(port, "x", 1, &n, nullptr));
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_TRUE(w32test::vport::Attach(22, board.get()));  // the rig detaches it again
}

// One host call of each kind that can be made to fail, as a test drives the port.
struct FaultCase {
    w32test::vport::CallKind kind;
    const char* name;
    BOOL (*call)(HANDLE port);
    const char* heard;  // what the board logs of one successful call
};

const FaultCase kFaultCases[] = {
    {w32test::vport::CallKind::Write, "write",
     [](HANDLE p) {
         DWORD n = 9;
         BOOL ok = w32::WriteFile(p, "w", 1, &n, nullptr);
         EXPECT_EQ(n, ok ? 1u : 0u);
         return ok;
     },
     "host> 77 'w'\n"},
    {w32test::vport::CallKind::Read, "read",
     [](HANDLE p) {
         char b[4];
         DWORD n = 9;
         BOOL ok = w32::ReadFile(p, b, 4, &n, nullptr);
         EXPECT_EQ(n, 0u);
         return ok;
     },
     ""},
    {w32test::vport::CallKind::Purge, "purge",
     [](HANDLE p) { return w32::PurgeComm(p, PURGE_TXCLEAR); }, "purge tx\n"},
    {w32test::vport::CallKind::Lines, "lines",
     [](HANDLE p) {
         BOOL ok = w32::EscapeCommFunction(p, SETRTS);
         return ok && w32::EscapeCommFunction(p, CLRRTS) ? TRUE : FALSE;
     },
     "rts 1\nrts 0\n"},
    {w32test::vport::CallKind::Settings, "settings",
     [](HANDLE p) {
         DCB dcb{};
         EXPECT_TRUE(w32::GetCommState(p, &dcb));
         dcb.BaudRate = dcb.BaudRate == 9600 ? 19200 : 9600;
         return w32::SetCommState(p, &dcb);
     },
     "settings 19200 8N1\n"},
};

TEST(VirtualPortFaults, NextCallsOfOneKindFailWithTheChosenErrorAndDoNothingElse) {
    w32test::clock::VirtualTimeScope virtualTime;
    for (const FaultCase& c : kFaultCases) {
        SCOPED_TRACE(c.name);
        auto board = std::make_shared<boards::Board>();
        Rig rig(21, board);
        HANDLE port = rig.Open();
        rig.SetTimeouts(0, 0, 10);
        board->Log().Clear();
        const DWORD kError = 1167;  // the device is not connected
        ASSERT_TRUE(w32test::vport::FailNext(21, c.kind, 2, kError));
        for (int i = 0; i < 2; ++i) {
            w32::SetLastError(0);
            EXPECT_FALSE(c.call(port));
            EXPECT_EQ(w32::GetLastError(), kError);
        }
        EXPECT_EQ(board->Log().Events(), "");
        // The other kinds were never touched (a change of framing is made twice, so that the
        // board still understands the host), and the third call goes through.
        for (const FaultCase& other : kFaultCases) {
            int times = other.kind == w32test::vport::CallKind::Settings ? 2 : 1;
            for (int i = 0; i < times && other.kind != c.kind; ++i) {
                EXPECT_TRUE(other.call(port)) << other.name;
            }
        }
        board->Log().Clear();
        EXPECT_TRUE(c.call(port));
        EXPECT_EQ(board->Log().Events(), c.heard);
    }
}

TEST(VirtualPortFaults, OpenFaultsFailCreateFileUntilUsedUpOrTakenBack) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<boards::Board>();
    Rig rig(21, board);
    ASSERT_TRUE(
        w32test::vport::FailNext(21, w32test::vport::CallKind::Open, 1, ERROR_ACCESS_DENIED));
    HANDLE h = w32::CreateFileA("COM21", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(board->Log().Events(), "");
    rig.Open();
    rig.Close();

    ASSERT_TRUE(
        w32test::vport::FailNext(21, w32test::vport::CallKind::Open, 5, ERROR_FILE_NOT_FOUND));
    ASSERT_TRUE(w32test::vport::FailNext(21, w32test::vport::CallKind::Open, 0, 0));
    rig.Open();
    EXPECT_EQ(board->Log().Events(), "open 9600 8N1\nclose\nopen 9600 8N1\n");

    EXPECT_FALSE(w32test::vport::FailNext(23, w32test::vport::CallKind::Open, 1, 5));
    EXPECT_FALSE(w32test::vport::FailNext(21, static_cast<w32test::vport::CallKind>(99), 1, 5));
}

TEST(VirtualPortFaults, FaultsEndWithTheAttachment) {
    w32test::clock::VirtualTimeScope virtualTime;
    boards::EchoBoard board;
    ASSERT_TRUE(w32test::vport::Attach(24, &board));
    ASSERT_TRUE(w32test::vport::FailNext(24, w32test::vport::CallKind::Open, 1, 5));
    ASSERT_TRUE(w32test::vport::Detach(24));
    ASSERT_TRUE(w32test::vport::Attach(24, &board));
    HANDLE h = w32::CreateFileA("COM24", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    w32::CloseHandle(h);
    w32test::vport::Detach(24);
}

// Refuses the host's next read once it has heard a byte, as a port that hiccups mid-reply.
class HiccupBoard : public boards::EchoBoard {
protected:
    void OnByte(BYTE b, bool garbled) override {
        EchoBoard::OnByte(b, garbled);
        FailNext(w32test::vport::CallKind::Read, 1, ERROR_OPERATION_ABORTED);
    }
};

TEST(VirtualPortFaults, ABoardCanMakeTheHostsNextCallFail) {
    w32test::clock::VirtualTimeScope virtualTime;
    auto board = std::make_shared<HiccupBoard>();
    Rig rig(21, board);
    HANDLE port = rig.Open();
    rig.SetTimeouts(0, 0, 100);
    rig.Write("e");
    char b = 0;
    DWORD n = 0;
    EXPECT_FALSE(w32::ReadFile(port, &b, 1, &n, nullptr));
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
    EXPECT_EQ(rig.Read(1), "e");  // the echo waited for the next read
}

TEST(VirtualPort, RefusesFramingsTheDriverRefuses) {
    Rig rig(21, std::make_shared<boards::Board>());
    HANDLE port = rig.Open();
    DCB dcb{};
    ASSERT_TRUE(w32::GetCommState(port, &dcb));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    dcb.StopBits = ONE5STOPBITS;  // with 8 data bits
    EXPECT_FALSE(w32::SetCommState(port, &dcb));
    dcb.StopBits = ONESTOPBIT;
    dcb.ByteSize = 9;
    EXPECT_FALSE(w32::SetCommState(port, &dcb));
    dcb.ByteSize = 5;
    dcb.StopBits = ONE5STOPBITS;
    EXPECT_TRUE(w32::SetCommState(port, &dcb));
}

TEST(VirtualPort, RealTimeCableWaitsOnTheRealClock) {
    ASSERT_FALSE(w32test::clock::IsVirtual());
    Rig rig(21, std::make_shared<boards::EchoBoard>());
    rig.Open();
    rig.SetTimeouts(0, 0, 500);
    Steady::time_point start = Steady::now();
    rig.Write("hello");  // 5 characters of 1.04 ms
    EXPECT_GE(RealMsSince(start), 4);
    EXPECT_EQ(rig.Read(5), "hello");
    rig.SetTimeouts(0, 0, 60);
    start = Steady::now();
    EXPECT_EQ(rig.Read(1), "");
    EXPECT_GE(RealMsSince(start), 55);
}

TEST(VirtualPortFaults, RefusedRealPortsAreNotOpenedAndTheGuardIsTold) {
    struct Guard : w32test::vport::RealPortGuard {
        std::vector<int> refused;
        void Refused(int comNumber) override { refused.push_back(comNumber); }
    } guard;
    boards::EchoBoard board;
    ASSERT_TRUE(w32test::vport::Attach(22, &board));
    w32test::vport::RefuseRealPorts(&guard);
    auto open = [](const char* name) {
        return w32::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    };
    // COM201 names no device here: even unguarded it would touch no hardware.
    EXPECT_EQ(open("\\\\.\\COM201"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    HANDLE attached = open("COM22");  // a board's port opens as ever
    EXPECT_NE(attached, INVALID_HANDLE_VALUE);
    w32::CloseHandle(attached);
    w32test::vport::RefuseRealPorts(nullptr);
    open("COM201");
    EXPECT_EQ(guard.refused, std::vector<int>{201});
    w32test::vport::Detach(22);
}

}  // namespace
