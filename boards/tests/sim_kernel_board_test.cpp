// The simulation kernel's board: its options, its chip reset by short RTS pulses and its boot
// loader by long ones, a kernel loaded through the boot loader, its rate, its pins, its silence.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "boards/catalogue.h"
#include "boards/sim_kernel_board.h"
#include "comms/comms.h"
#include "w32/clock.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

constexpr int kCom = 33;
const std::string kKernel = std::string(FWT_SOURCE_DIR) + "/targets/ostrel/kernel/Pindrake.hex";

class SimKernelBoardTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_port.Deinstall();
        if (m_board != nullptr) {
            w32test::vport::Detach(kCom);
        }
    }
    void Attach(const std::string& options) {
        std::string error;
        auto board = boards::MakeBoard("sim-kernel", options, &error);
        ASSERT_NE(board, nullptr) << error;
        m_board.reset(static_cast<boards::SimKernelBoard*>(board.release()));
        ASSERT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
    }
    void Open(DWORD baud) {
        comm_settings settings = {kCom - 1, baud, 8, 0, 0, {0, 0}};
        ASSERT_EQ(m_port.SetCommPort(&settings), 0);
        m_port.SetTimeOut(10);
    }
    // What the board has sent so far.
    std::string Hear() {
        std::string heard;
        BYTE b = 0;
        while (m_port.Read(&b) == 0) {
            heard += static_cast<char>(b);
        }
        return heard;
    }
    // The board's answer to `command`: its bytes, at most `count`.
    std::string Ask(BYTE command, DWORD count) {
        m_port.Write(command);
        BYTE reply[8] = {};
        DWORD got = 0;
        m_port.Read(reply, count, got);
        return std::string(reinterpret_cast<char*>(reply), got);
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<boards::SimKernelBoard> m_board;
    CComms m_port;
};

TEST_F(SimKernelBoardTest, OptionsItCannotUseAreRefusedWithAReason) {
    struct Case {
        const char* options;
        const char* error;
    };
    const Case cases[] = {
        {"p1=0x100", "p1 must be a byte"},
        {"reply=XY", "reply must be one character"},  // the boot loader's keys
        {"image=/no/such/file.hex", "cannot read image '/no/such/file.hex'"},
        {"image=" FWT_SOURCE_DIR "/boards/README.md",
         "image '" FWT_SOURCE_DIR "/boards/README.md' is no Intel HEX program"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(boards::MakeBoard("sim-kernel", c.options, &error), nullptr) << c.options;
        EXPECT_EQ(error, c.error);
    }
}

TEST_F(SimKernelBoardTest, AShortRtsPulseRestartsTheKernelAndAHeldOneStartsTheBootLoader) {
    Attach("baud=38400 image=" + kKernel);
    EXPECT_TRUE(m_board->Running());
    Open(19200);
    EXPECT_EQ(Ask(0x7F, 5), "");  // noise to the chip's receiver
    m_port.Deinstall();
    Open(38400);
    EXPECT_EQ(Ask(0x7F, 5), "V1.00");
    ASSERT_EQ(m_port.SetRTS(), 0);
    EXPECT_FALSE(m_board->Running());
    EXPECT_EQ(Ask(0x7F, 5), "");
    w32::Sleep(100);
    EXPECT_EQ(Hear(), "\r\nBrontal-E Boot Loader 1.0\r\n>");
    ASSERT_EQ(m_port.ResetRTS(), 0);  // after the boot loader: held in reset
    EXPECT_FALSE(m_board->Running());
    EXPECT_EQ(Ask(0x7F, 5), "");
    ASSERT_EQ(m_port.SetRTS(), 0);
    w32::Sleep(99);
    ASSERT_EQ(m_port.ResetRTS(), 0);
    EXPECT_TRUE(m_board->Running());
    EXPECT_EQ(Ask(0x7F, 5), "V1.00");
}

TEST_F(SimKernelBoardTest, AKernelLoadedThroughTheBootLoaderRunsAfterTheNextShortPulse) {
    Attach("baud=19200");
    Open(19200);
    m_port.SetRTS();
    w32::Sleep(100);
    EXPECT_EQ(Hear(), "\r\nBrontal-E Boot Loader 1.0\r\n>");
    m_port.Write(static_cast<BYTE>('L'));
    std::ifstream image(kKernel);
    std::string replies;
    for (std::string line; std::getline(image, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
            line.pop_back();
        }
        m_port.Write(reinterpret_cast<const BYTE*>(line.data()), static_cast<DWORD>(line.size()));
        BYTE reply = 0;
        m_port.Read(&reply);
        replies += static_cast<char>(reply);
    }
    EXPECT_EQ(replies, std::string(replies.size() - 1, '.') + "T");
    EXPECT_FALSE(m_board->Running());
    m_port.ResetRTS();
    m_port.SetRTS();
    w32::Sleep(50);
    m_port.ResetRTS();
    EXPECT_TRUE(m_board->Running());
    EXPECT_EQ(Ask(0x7F, 5), "V1.00");
}

TEST_F(SimKernelBoardTest, APinReadsItsLatchAndWhatTheOutsideDrivesIt) {
    Attach("baud=19200 p3=0xF0 image=" + kKernel);
    Open(19200);
    EXPECT_EQ(Ask(0x30, 1), "\xF0");
    m_port.Write(static_cast<BYTE>(0xB0));  // the latch of P3 := 3C
    m_port.Write(static_cast<BYTE>(0x3C));
    EXPECT_EQ(Ask(0x30, 1), "\x30");
    EXPECT_EQ(m_board->Latch(3), 0x3C);
    m_board->Drive(3, 0xFF);
    EXPECT_EQ(Ask(0x30, 1), "\x3C");
    EXPECT_EQ(m_board->Pins(3), 0x3C);
    // A reset sets the latches again, and the log notes each change.
    m_port.SetRTS();
    m_port.ResetRTS();
    EXPECT_TRUE(m_board->Running());
    EXPECT_EQ(m_board->Latch(3), 0xFF);
    EXPECT_NE(m_board->Log().Events().find("port P3 3C\n"), std::string::npos);
    EXPECT_NE(m_board->Log().Events().find("port P3 FF\n"), std::string::npos);
}

TEST_F(SimKernelBoardTest, WithoutAProgramOrFromItsSilentByteOnTheBoardSaysNothing) {
    Attach("baud=19200");
    EXPECT_FALSE(m_board->Running());
    Open(19200);
    EXPECT_EQ(Ask(0x7F, 5), "");
    TearDown();
    Attach("baud=19200 silent-at=2 image=" + kKernel);
    Open(19200);
    EXPECT_EQ(Ask(0x7F, 5), "V1.00");
    EXPECT_EQ(Ask(0x7F, 5), "");
}

}  // namespace
