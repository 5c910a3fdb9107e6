// Serial ports over a Linux pseudo-terminal: data, baud rates and time-outs as on Windows; a
// pseudo-terminal has no modem lines, so the line functions fail on it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <string>

#include "port_text.h"
#include "pty_far_end.h"
#include "w32/errors.h"
#include "w32/handles.h"
#include "w32/serial.h"

namespace {

using Steady = std::chrono::steady_clock;

long long RealMsSince(Steady::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
}

// A pseudo-terminal whose far side the test holds, mapped to COM 40 through the environment.
class PtyPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_far.ok());
        m_port = w32::CreateFileA("\\\\.\\COM40", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (m_port != INVALID_HANDLE_VALUE) {
            w32::CloseHandle(m_port);
        }
    }

    std::string FarRead(size_t count, int ms = 1000) { return m_far.Read(count, ms); }
    void FarWrite(const std::string& data) { m_far.Write(data); }
    std::string Read(DWORD count) { return ReadText(m_port, count); }

    w32::testing::PtyFarEnd m_far{40};
    const int m_master = m_far.fd();
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

TEST_F(PtyPort, BytesTravelBothWaysUnchanged) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    DWORD written = 0;
    ASSERT_TRUE(w32::WriteFile(m_port, all.data(), 256, &written, nullptr));
    EXPECT_EQ(written, 256u);
    EXPECT_EQ(FarRead(256), all);  // raw: no line editing, no CR/LF translation
    FarWrite(all);
    COMMTIMEOUTS t{0, 0, 1000, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(m_port, &t));
    EXPECT_EQ(Read(256), all);
}

TEST_F(PtyPort, FramingReachesTheTerminalAndComesBack) {
    DCB dcb{};
    ASSERT_TRUE(w32::GetCommState(m_port, &dcb));
    dcb.BaudRate = 19200;
    dcb.StopBits = TWOSTOPBITS;
    ASSERT_TRUE(w32::SetCommState(m_port, &dcb));
    struct termios t {};
    ASSERT_EQ(tcgetattr(m_master, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    DCB back{};
    ASSERT_TRUE(w32::GetCommState(m_port, &back));
    EXPECT_EQ(back.BaudRate, 19200u);
    EXPECT_EQ(back.StopBits, TWOSTOPBITS);
    // A pseudo-terminal keeps 8 data bits without parity whatever it is asked for.
    EXPECT_EQ(back.ByteSize, 8);

    // Rates termios has no name for still reach the device.
    back.BaudRate = 28800;
    ASSERT_TRUE(w32::SetCommState(m_port, &back));
    ASSERT_TRUE(w32::GetCommState(m_port, &dcb));
    EXPECT_EQ(dcb.BaudRate, 28800u);

    // termios has no one and a half stop bits.
    dcb.StopBits = ONE5STOPBITS;
    EXPECT_FALSE(w32::SetCommState(m_port, &dcb));
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PtyPort, ReadsTimeOutWithWhatCame) {
    COMMTIMEOUTS t{0, 0, 100, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(m_port, &t));
    Steady::time_point start = Steady::now();
    EXPECT_EQ(Read(4), "");
    EXPECT_GE(RealMsSince(start), 95);

    FarWrite("ab");
    start = Steady::now();
    EXPECT_EQ(Read(4), "ab");
    EXPECT_GE(RealMsSince(start), 95);

    // The interval ends a read soon after the last byte, long before the total.
    t = COMMTIMEOUTS{50, 0, 5000, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(m_port, &t));
    FarWrite("cd");
    start = Steady::now();
    EXPECT_EQ(Read(4), "cd");
    EXPECT_LT(RealMsSince(start), 2000);

    t = COMMTIMEOUTS{MAXDWORD, 0, 0, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(m_port, &t));
    EXPECT_EQ(Read(4), "");
}

TEST_F(PtyPort, ModemLineFunctionsFailForLackOfLines) {
    // A pseudo-terminal has no RTS, DTR, CTS or DSR: the system refuses to touch them.
    EXPECT_FALSE(w32::EscapeCommFunction(m_port, SETRTS));
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    DWORD lines = 0;
    EXPECT_FALSE(w32::GetCommModemStatus(m_port, &lines));
    // Setting the framing still works; it has no lines to drive.
    DCB dcb{};
    ASSERT_TRUE(w32::GetCommState(m_port, &dcb));
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    EXPECT_TRUE(w32::SetCommState(m_port, &dcb));
}

TEST_F(PtyPort, OpensOnceAtATime) {
    HANDLE second = w32::CreateFileA("COM40", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    w32::CloseHandle(m_port);
    m_port = w32::CreateFileA("COM40", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    EXPECT_NE(m_port, INVALID_HANDLE_VALUE);
}

TEST_F(PtyPort, PurgeDropsWaitingInput) {
    ASSERT_TRUE(w32::SetCommMask(m_port, EV_RXCHAR));
    FarWrite("stale");
    DWORD events = 0;
    ASSERT_TRUE(w32::WaitCommEvent(m_port, &events, nullptr));  // the bytes have come
    COMSTAT status{};
    ASSERT_TRUE(w32::ClearCommError(m_port, nullptr, &status));
    EXPECT_EQ(status.cbInQue, 5u);
    ASSERT_TRUE(w32::PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR));
    ASSERT_TRUE(w32::ClearCommError(m_port, nullptr, &status));
    EXPECT_EQ(status.cbInQue, 0u);
}

TEST_F(PtyPort, EventWaitWakesForInputAndForAMaskChange) {
    using namespace std::chrono_literals;
    ASSERT_TRUE(w32::SetCommMask(m_port, EV_RXCHAR));
    DWORD events = 99;
    std::promise<void> started;
    auto wait = [&] {
        started.set_value();
        return w32::WaitCommEvent(m_port, &events, nullptr);
    };
    std::future<BOOL> waiting = std::async(std::launch::async, wait);
    started.get_future().wait();
    EXPECT_EQ(waiting.wait_for(50ms), std::future_status::timeout);  // nothing has come yet
    FarWrite("x");
    ASSERT_EQ(waiting.wait_for(30s), std::future_status::ready);
    EXPECT_TRUE(waiting.get());
    EXPECT_EQ(events, static_cast<DWORD>(EV_RXCHAR));
    EXPECT_EQ(Read(1), "x");

    events = 99;
    started = std::promise<void>();
    waiting = std::async(std::launch::async, wait);
    started.get_future().wait();
    EXPECT_EQ(waiting.wait_for(50ms), std::future_status::timeout);  // nothing more comes
    w32::SetCommMask(m_port, 0);
    ASSERT_EQ(waiting.wait_for(30s), std::future_status::ready);
    EXPECT_TRUE(waiting.get());
    EXPECT_EQ(events, 0u);
}

TEST_F(PtyPort, AHungUpFarEndFailsReadsAndEventWaitsAtOnce) {
    COMMTIMEOUTS t{0, 0, 5000, 0, 0};
    ASSERT_TRUE(w32::SetCommTimeouts(m_port, &t));
    ASSERT_TRUE(w32::SetCommMask(m_port, EV_RXCHAR));
    FarWrite("ab");
    EXPECT_EQ(Read(2), "ab");
    m_far.HangUp();
    Steady::time_point start = Steady::now();
    char b = 0;
    DWORD n = 9;
    EXPECT_FALSE(w32::ReadFile(m_port, &b, 1, &n, nullptr));
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_EQ(n, 0u);
    DWORD events = 99;
    EXPECT_FALSE(w32::WaitCommEvent(m_port, &events, nullptr));
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_LT(RealMsSince(start), 1000);  // not the read's five seconds
}

TEST_F(PtyPort, TransmitPurgeKeepsTheBytesAWriteHandedOver) {
    // A pseudo-terminal's far end reads the bytes whenever it likes: they have left the port.
    std::string data;
    for (int i = 0; i < 8480; ++i) {
        data += static_cast<char>('a' + i % 26);
    }
    DWORD written = 0;
    ASSERT_TRUE(
        w32::WriteFile(m_port, data.data(), static_cast<DWORD>(data.size()), &written, nullptr));
    ASSERT_EQ(written, data.size());
    ASSERT_TRUE(w32::PurgeComm(m_port, PURGE_TXABORT | PURGE_TXCLEAR));
    ASSERT_TRUE(w32::CloseHandle(m_port));
    m_port = INVALID_HANDLE_VALUE;
    EXPECT_EQ(FarRead(data.size()), data);
}

TEST(TtyNames, UnmappedPortsAndNonSerialDevicesDoNotOpen) {
    HANDLE h = w32::CreateFileA("\\\\.\\COM77", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    setenv("COM77", "/dev/null", 1);
    h = w32::CreateFileA("\\\\.\\COM77", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    unsetenv("COM77");
    h = w32::CreateFileA("/etc/passwd", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
}

}  // namespace
