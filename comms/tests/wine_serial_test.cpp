// The serial-port object on the system's own COM port functions: under wine, a COM port that
// pty_board.py has put a pseudo-terminal behind, with an echoing board on its far end.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "comms/comms.h"
#include "w32/clock.h"

namespace {

using Steady = std::chrono::steady_clock;

// The COM number the script set up (0 when the program runs on its own).
int PtyCom() {
    const char* com = std::getenv("FWT_PTY_COM");
    return com != nullptr ? std::atoi(com) : 0;
}

class CommsOnWinePort : public ::testing::Test {
protected:
    void SetUp() override {
        if (PtyCom() == 0) {
            GTEST_SKIP() << "needs pty_board.py to put a terminal behind a COM port";
        }
        text_ = "COM" + std::to_string(PtyCom()) + ": baud=19200 parity=N data=8 stop=1";
    }
    std::string Exchange(CComms& c, const std::string& out, DWORD expected) {
        EXPECT_EQ(
            c.PutPacket(reinterpret_cast<const BYTE*>(out.data()), static_cast<DWORD>(out.size())),
            COMMS_OK);
        std::string in(expected, '\0');
        DWORD got = 0;
        c.Read(reinterpret_cast<BYTE*>(&in[0]), expected, got);
        in.resize(got);
        return in;
    }

    std::string text_;
};

TEST_F(CommsOnWinePort, OpensWithItsSettingsAndCarriesData) {
    CComms c;
    ASSERT_EQ(c.SetCommPort(text_.c_str()), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(200), COMMS_OK);
    EXPECT_EQ(Exchange(c, "hello", 5), "hello");
    EXPECT_EQ(Exchange(c, "\x05", 7), "B19200\n");
    DCB dcb{};
    ASSERT_TRUE(w32::GetCommState(c.GetHandle(), &dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u);
    EXPECT_EQ(dcb.ByteSize, 8);
}

TEST_F(CommsOnWinePort, BaudChangeReachesTheTerminal) {
    CComms c;
    ASSERT_EQ(c.SetCommPort(text_.c_str()), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(200), COMMS_OK);
    ASSERT_EQ(c.ChangeBaudRate(57600), COMMS_OK);
    EXPECT_EQ(Exchange(c, "\x05", 7), "B57600\n");
}

TEST_F(CommsOnWinePort, ReadTimesOutWhenNothingComes) {
    CComms c;
    ASSERT_EQ(c.SetCommPort(text_.c_str()), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(100), COMMS_OK);
    ASSERT_EQ(c.PurgeRcvBuffer(), COMMS_OK);
    BYTE buffer[2];
    DWORD got = 9;
    Steady::time_point start = Steady::now();
    EXPECT_EQ(c.Read(buffer, 2, got), COMMS_READ_TIMEOUT);
    EXPECT_EQ(got, 0u);
    EXPECT_GE(Steady::now() - start, std::chrono::milliseconds(150));
}

TEST_F(CommsOnWinePort, LinesFailForLackOfModemLines) {
    // The terminal behind the port has no RTS, DTR, CTS or DSR, and the system says so.
    CComms c;
    ASSERT_EQ(c.SetCommPort(text_.c_str()), COMMS_OK);
    EXPECT_EQ(c.SetRTS(), COMMS_SET_RTS_FAILED);
    EXPECT_EQ(c.ResetDTR(), COMMS_CLEAR_DTR_FAILED);
    EXPECT_EQ(c.GetModemStatus(), COMMS_MODEM_STATUS_FAILED);
}

DWORD received = 0;

LRESULT CALLBACK CountReceived(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMM_RXCHAR) {
        received += static_cast<DWORD>(wParam);
    }
    return 0;
}

TEST_F(CommsOnWinePort, AsynchronousModeReceivesThroughItsThread) {
    HWND window = w32::CreateMessageWindow(CountReceived);
    ASSERT_NE(window, nullptr);
    CComms c;
    ASSERT_EQ(c.SetAsyncMode(), COMMS_OK);
    c.SetHWND(window);
    ASSERT_EQ(c.SetCommPort(text_.c_str()), COMMS_OK);
    // The receive thread starts listening a second after the open and drops what came before:
    // say it again until the echo is heard.
    Steady::time_point giveUp = Steady::now() + std::chrono::seconds(8);
    MSG msg{};
    while (received < 4 && Steady::now() < giveUp) {
        ASSERT_EQ(c.PutPacket(reinterpret_cast<const BYTE*>("ping"), 4), COMMS_OK);
        w32::Sleep(400);
        while (w32::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            w32::DispatchMessageA(&msg);
        }
    }
    EXPECT_GE(received, 4u);
    BYTE got[4] = {};
    EXPECT_EQ(c.Read(got, 4), COMMS_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(got), 4), "ping");
    Steady::time_point start = Steady::now();
    EXPECT_EQ(c.Deinstall(), COMMS_OK);
    EXPECT_LT(Steady::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(c.IsSecondThreadAlive());
    w32::DestroyMessageWindow(window);
}

}  // namespace
