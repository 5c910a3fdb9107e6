// An 8051 on a simulated board: its program's serial output at the time it was sent, runs that
// end at marked addresses on the board's clock, and the program's serial input.
#include <gtest/gtest.h>

#include <string>

#include "boards/board_chip.h"
#include "ostrel/register_file.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

constexpr int kCom = 33;

// 0000: MOV SCON,#50 / MOV SBUF,#'A' / loop: JNB RI,loop / MOV A,SBUF / stop: SJMP stop
const std::map<uint32_t, uint8_t> kProgram = {
    {0x00, 0x75}, {0x01, 0x98}, {0x02, 0x50}, {0x03, 0x75}, {0x04, 0x99}, {0x05, 'A'}, {0x06, 0x30},
    {0x07, 0x98}, {0x08, 0xFD}, {0x09, 0xE5}, {0x0A, 0x99}, {0x0B, 0x80}, {0x0C, 0xFE}};

class ChipOnBoard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(w32test::vport::Attach(kCom, &m_board));
        m_port = w32::CreateFileA("COM33", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE);
        COMMTIMEOUTS t{0, 0, 100, 0, 0};
        ASSERT_TRUE(w32::SetCommTimeouts(m_port, &t));
    }
    void TearDown() override {
        w32::CloseHandle(m_port);
        w32test::vport::Detach(kCom);
    }
    std::string Read(DWORD count) {
        char bytes[16] = {};
        DWORD n = 0;
        EXPECT_TRUE(w32::ReadFile(m_port, bytes, count, &n, nullptr));
        return std::string(bytes, n);
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    boards::Board m_board;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

TEST_F(ChipOnBoard, ARunSendsTheProgramsOutputAndEndsAtAMarkedAddressOnTheBoardsClock) {
    boards::BoardChip chip(m_board);
    chip.LoadFlash(kProgram);
    EXPECT_EQ(chip.Code()[0x0D], 0xFF);  // erased past the program
    chip.Reset();
    chip.SetStop(0x000B, true);
    bool ended = false;
    chip.Run(1000, 0, [&](boards::BoardChip::RunEnd end, uint64_t) {
        EXPECT_EQ(end, boards::BoardChip::RunEnd::Stopped);
        ended = true;
    });
    EXPECT_TRUE(chip.Running());
    EXPECT_EQ(Read(1), "A");
    EXPECT_FALSE(ended);  // it waits for a byte
    DWORD n = 0;
    ASSERT_TRUE(w32::WriteFile(m_port, "z", 1, &n, nullptr));
    chip.Receive('z');
    EXPECT_EQ(Read(1), "");  // lets the clock pass the next slice
    EXPECT_TRUE(ended);
    EXPECT_FALSE(chip.Running());
    EXPECT_EQ(chip.Registers().Acc(), 'z');
    EXPECT_GT(chip.RanMicros(), 0u);
}

TEST_F(ChipOnBoard, ARunGivenATimeEndsWhenTheProgramHasRunThatLong) {
    boards::BoardChip chip(m_board);
    chip.LoadFlash(kProgram);
    chip.Reset();
    uint64_t endedAt = 0;
    chip.Run(0, 50000, [&](boards::BoardChip::RunEnd end, uint64_t at) {
        EXPECT_EQ(end, boards::BoardChip::RunEnd::TimeUp);
        endedAt = at;
    });
    Read(2);
    EXPECT_NE(endedAt, 0u);
    EXPECT_GE(chip.RanMicros(), 50000u);
    EXPECT_LT(chip.RanMicros(), 53000u);
}

TEST_F(ChipOnBoard, StartUpCodeRunsAtOnceAndSetsTheLinesRate) {
    boards::BoardChip chip(m_board);
    // MOV TMOD,#20 / MOV TH1,#FD / ORL PCON,#80 / SJMP $
    chip.LoadFlash({{0, 0x75},
                    {1, 0x89},
                    {2, 0x20},
                    {3, 0x75},
                    {4, 0x8D},
                    {5, 0xFD},
                    {6, 0x43},
                    {7, 0x87},
                    {8, 0x80},
                    {9, 0x80},
                    {10, 0xFE}});
    chip.Reset();
    EXPECT_EQ(chip.LineBaud(), 0u);
    EXPECT_TRUE(chip.RunTo(0x0009, 10));
    EXPECT_EQ(chip.LineBaud(), 19200u);
    EXPECT_FALSE(chip.RunTo(0x0100, 10));
}

}  // namespace
