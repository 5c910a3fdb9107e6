// The serial-port object on a real terminal device: a Linux pseudo-terminal mapped to COM41.
#include <gtest/gtest.h>

#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

#include "comms/comms.h"
#include "pty_far_end.h"

namespace {

using Steady = std::chrono::steady_clock;

class CommsOnPty : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(far_.ok()); }
    std::string FarRead(size_t count) { return far_.Read(count); }
    void FarWrite(const std::string& data) { far_.Write(data); }

    w32::testing::PtyFarEnd far_{41};
    const int master_ = far_.fd();
};

TEST_F(CommsOnPty, OpensAtTheTextsBaudAndCarriesData) {
    CComms c;
    ASSERT_EQ(c.SetCommPort("COM41: baud=57600 parity=N data=8 stop=1"), COMMS_OK);
    struct termios t {};
    ASSERT_EQ(tcgetattr(master_, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B57600));

    ASSERT_EQ(c.PutPacket(reinterpret_cast<const BYTE*>("hello\r\n"), 7), COMMS_OK);
    EXPECT_EQ(FarRead(7), "hello\r\n");
    FarWrite("ok\r");
    BYTE line[16] = {};
    DWORD count = 0;
    EXPECT_EQ(c.GetString(line, count), COMMS_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(line), count), "ok\r");

    EXPECT_EQ(c.ChangeBaudRate(9600), COMMS_OK);
    ASSERT_EQ(tcgetattr(master_, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
}

TEST_F(CommsOnPty, ReadTimesOutAfterPartialData) {
    CComms c;
    ASSERT_EQ(c.SetCommPort("COM41: baud=19200"), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(50), COMMS_OK);
    FarWrite("xy");
    BYTE buffer[4];
    DWORD got = 0;
    Steady::time_point start = Steady::now();
    EXPECT_EQ(c.Read(buffer, 4, got), COMMS_READ_TIMEOUT);
    EXPECT_EQ(got, 2u);
    EXPECT_GE(Steady::now() - start, std::chrono::milliseconds(90));
}

TEST_F(CommsOnPty, LinesFailForLackOfModemLines) {
    // A pseudo-terminal has no RTS, DTR, CTS or DSR.
    CComms c;
    ASSERT_EQ(c.SetCommPort("COM41: baud=19200"), COMMS_OK);
    EXPECT_EQ(c.SetRTS(), COMMS_SET_RTS_FAILED);
    EXPECT_EQ(c.ResetDTR(), COMMS_CLEAR_DTR_FAILED);
    EXPECT_EQ(c.GetModemStatus(), COMMS_MODEM_STATUS_FAILED);
    EXPECT_FALSE(c.GetRTS());
}

TEST_F(CommsOnPty, OneAndAHalfStopBitsCannotBeSet) {
    CComms c;
    EXPECT_EQ(c.SetCommPort("COM41: baud=19200 data=5 stop=1.5"), COMMS_SET_STATE_FAILED);
    EXPECT_FALSE(c.IsInitialized());
}

TEST_F(CommsOnPty, AsynchronousModeReceivesThroughItsThread) {
    CComms c;
    ASSERT_EQ(c.SetAsyncMode(), COMMS_OK);
    ASSERT_EQ(c.SetCommPort("COM41: baud=19200"), COMMS_OK);
    ASSERT_EQ(c.PutPacket(reinterpret_cast<const BYTE*>("ping"), 4), COMMS_OK);
    EXPECT_EQ(FarRead(4), "ping");
    // The receive thread starts listening a second after the open and drops what came before:
    // the far end says it again until it is heard.
    Steady::time_point giveUp = Steady::now() + std::chrono::seconds(8);
    while (c.BytesInReceiveBuffer() < 4 && Steady::now() < giveUp) {
        FarWrite("pong");
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    BYTE got[4] = {};
    EXPECT_EQ(c.Read(got, 4), COMMS_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(got), 4), "pong");
    Steady::time_point start = Steady::now();
    EXPECT_EQ(c.Deinstall(), COMMS_OK);
    EXPECT_LT(Steady::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(c.IsSecondThreadAlive());
}

TEST_F(CommsOnPty, ClosingStraightAfterAWriteLosesNoByte) {
    std::string data;
    for (int i = 0; i < 8480; ++i) {
        data += static_cast<char>(i % 251);
    }
    CComms c;
    ASSERT_EQ(c.SetCommPort("COM41: baud=115200"), COMMS_OK);
    ASSERT_EQ(
        c.PutPacket(reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())),
        COMMS_OK);
    EXPECT_EQ(c.Deinstall(), COMMS_OK);
    EXPECT_EQ(FarRead(data.size()), data);
}

uint64_t ProcessCpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000u + static_cast<uint64_t>(t.tv_nsec) / 1000u;
}

TEST_F(CommsOnPty, ReceiveThreadOfAHungUpPortWaitsInsteadOfSpinning) {
    CComms c;
    ASSERT_EQ(c.SetAsyncMode(), COMMS_OK);
    ASSERT_EQ(c.SetCommPort("COM41: baud=19200"), COMMS_OK);
    // Once the thread hears the far end, it is in its loop.
    Steady::time_point giveUp = Steady::now() + std::chrono::seconds(8);
    while (c.BytesInReceiveBuffer() == 0 && Steady::now() < giveUp) {
        FarWrite("?");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_GT(c.BytesInReceiveBuffer(), 0u);
    far_.HangUp();
    uint64_t cpuBefore = ProcessCpuMicros();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(ProcessCpuMicros() - cpuBefore, 100000u);
    EXPECT_TRUE(c.IsSecondThreadAlive());
    Steady::time_point start = Steady::now();
    EXPECT_EQ(c.Deinstall(), COMMS_OK);
    EXPECT_LT(Steady::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(c.IsSecondThreadAlive());
}

}  // namespace
