// The text boot loader's board hands the line to the program it took once a reset passes without
// the host calling on the loader: what a board with a talking program builds on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boards/prompt_boot_loader_board.h"
#include "comms/comms.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

// A program that answers each byte with its complement once it runs.
class TalkingProgramBoard : public boards::PromptBootLoaderBoard {
public:
    TalkingProgramBoard()
        : PromptBootLoaderBoard(boards::LineSettings{19200}, boards::PromptBootLoaderSettings()) {}
    int m_starts = 0;

protected:
    void ProgramStarted() override { ++m_starts; }
    void ProgramByte(BYTE byte, bool) override { Send(std::vector<BYTE>{BYTE(~byte)}); }
};

class PromptBootLoaderTest : public ::testing::Test {
protected:
    static const int kCom = 42;

    void SetUp() override {
        ASSERT_TRUE(w32test::vport::Attach(kCom, &m_board));
        ASSERT_EQ(m_port.SetCommPort("COM42: baud=19200 parity=N data=8 stop=1"), COMMS_OK);
        m_port.SetTimeOut(100);
    }
    void TearDown() override {
        m_port.Deinstall();
        w32test::vport::Detach(kCom);
    }
    // Everything the board says within `ms` (the read's time-out lets the board's time pass).
    std::string Listen(DWORD ms) {
        m_port.SetTimeOut(ms);
        std::string heard;
        BYTE b = 0;
        while (m_port.Read(&b) == 0) {
            heard += static_cast<char>(b);
        }
        return heard;
    }
    void Send(const std::string& text) {
        m_port.Write(reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()));
    }
    void Reset() {
        m_port.ResetRTS();
        m_port.SetRTS();
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    TalkingProgramBoard m_board;
    CComms m_port;
};

TEST_F(PromptBootLoaderTest, AfterACompleteLoadAQuietResetStartsTheProgram) {
    Reset();
    EXPECT_EQ(Listen(200), "\r\nBrontal-E Boot Loader 1.0\r\n>");
    Send("E");
    EXPECT_EQ(Listen(500), "\r\n>");
    Send("L:0100000055AA:00000001FF");
    EXPECT_EQ(Listen(100), ".T");
    EXPECT_EQ(m_board.Flash()[0], 0x55);

    // The host calls on the loader within its window: the loader keeps the line.
    Reset();
    Listen(200);
    Send("\r");
    EXPECT_EQ(Listen(1500), "\r\nBrontal-E Boot Loader 1.0\r\n>");
    EXPECT_EQ(m_board.m_starts, 0);
    EXPECT_TRUE(m_board.LoaderRunning());

    // A reset left alone hands the line to the program, which answers from then on.
    Reset();
    Listen(1500);
    EXPECT_EQ(m_board.m_starts, 1);
    EXPECT_TRUE(m_board.ProgramRunning());
    Send("A");
    EXPECT_EQ(Listen(50), std::string(1, static_cast<char>(~'A')));
}

TEST_F(PromptBootLoaderTest, WithoutACompleteLoadTheLoaderKeepsTheLine) {
    Reset();
    Listen(1500);
    EXPECT_EQ(m_board.m_starts, 0);
    EXPECT_TRUE(m_board.LoaderRunning());
    Send("L:0100000055AA");
    EXPECT_EQ(Listen(100), ".");
    Reset();
    Listen(1500);
    EXPECT_EQ(m_board.m_starts, 0);
}

}  // namespace
