// The programmer board's length-prefixed packets and the Kestrix start, as a host sees them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "boards/catalogue.h"
#include "boards/programmer_board.h"
#include "comms/comms.h"
#include "w32/clock.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace {

using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;

class ProgrammerBoardTest : public ::testing::Test {
protected:
    static const int kCom = 7;

    ProgrammerBoard& Put(const ProgrammerBoardOptions& options = {}) {
        auto board = std::make_unique<ProgrammerBoard>(options);
        ProgrammerBoard& made = *board;
        PutBoard(std::move(board));
        return made;
    }
    void PutBoard(std::unique_ptr<boards::Board> board) {
        m_board = std::move(board);
        ASSERT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
        EXPECT_EQ(m_port.SetCommPort("COM7: baud=19200 parity=N data=8 stop=1"), COMMS_OK);
        m_port.SetTimeOut(100);
    }
    void TearDown() override {
        m_port.Deinstall();
        w32test::vport::Detach(kCom);
    }

    // Sends the packet with the check byte that makes it add up to 0; reads `replyLength` bytes.
    std::vector<BYTE> Ask(std::vector<BYTE> packet, size_t replyLength) {
        BYTE sum = 0;
        for (BYTE b : packet) {
            sum = static_cast<BYTE>(sum + b);
        }
        packet.push_back(static_cast<BYTE>(0x100 - sum));
        EXPECT_EQ(m_port.Write(static_cast<const BYTE*>(packet.data()),
                               static_cast<DWORD>(packet.size())),
                  COMMS_OK);
        std::vector<BYTE> reply(replyLength, 0);
        DWORD got = 0;
        m_port.Read(reply.data(), static_cast<DWORD>(reply.size()), got);
        reply.resize(got);
        return reply;
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<boards::Board> m_board;
    CComms m_port;
};

TEST_F(ProgrammerBoardTest, ConnectionCheckEchoesTheSequenceByte) {
    Put();
    EXPECT_EQ(Ask({0x02, 0x00, 0x07}, 4), (std::vector<BYTE>{0x02, 0x00, 0x07, 0xF7}));
}

TEST_F(ProgrammerBoardTest, BlankCheckCountsTheCellsInUse) {
    ProgrammerBoard& board = Put();
    board.Memory(2)[0x00] = 0x12;
    board.Memory(2)[0x7F] = 0x00;
    board.Memory(2)[0x80] = 0x34;  // beyond the count asked
    EXPECT_EQ(Ask({0x04, 0x06, 0x02, 0x80, 0x00}, 5),
              (std::vector<BYTE>{0x03, 0x06, 0x02, 0x00, 0xF5}));
}

TEST_F(ProgrammerBoardTest, SetTypeZeroEndsTheChipType) {
    ProgrammerBoard& board = Put();
    // The controller's own set-chip-type packet, whose check byte is the plain sum.
    const BYTE setType[3] = {0x01, 0x01, 0x02};
    ASSERT_EQ(m_port.Write(setType, 3), COMMS_OK);
    BYTE reply[3] = {};
    ASSERT_EQ(m_port.Read(reply, 3), COMMS_OK);
    EXPECT_EQ(reply[1], 0x00);
    EXPECT_EQ(board.ChipType(), 1);
    EXPECT_EQ(Ask({0x02, 0x02, 0x00}, 4), (std::vector<BYTE>{0x02, 0x02, 0x00, 0xFC}));
    EXPECT_EQ(board.ChipType(), 0);
}

TEST_F(ProgrammerBoardTest, BoardErrorsComeAs0xEC) {
    Put();
    // A packet that does not add up to 0.
    std::vector<BYTE> bad = {0x02, 0x00, 0x05, 0x00};
    ASSERT_EQ(m_port.Write(static_cast<const BYTE*>(bad.data()), 4), COMMS_OK);
    BYTE reply[4] = {};
    ASSERT_EQ(m_port.Read(reply, 4), COMMS_OK);
    EXPECT_EQ(reply[1], 0xEC);
    EXPECT_EQ(static_cast<BYTE>(reply[0] + reply[1] + reply[2] + reply[3]), 0);

    m_port.Deinstall();
    w32test::vport::Detach(kCom);
    ProgrammerBoardOptions options;
    options.boardError = 0x21;
    Put(options);
    EXPECT_EQ(Ask({0x02, 0x00, 0x01}, 4), (std::vector<BYTE>{0x02, 0xEC, 0x21, 0xF1}));
}

TEST_F(ProgrammerBoardTest, KestrixAnswersRAfterTheRtsPulse) {
    ProgrammerBoardOptions options;
    options.kestrix = true;
    ProgrammerBoard& board = Put(options);
    m_port.SetTimeOut(1000);
    m_port.SetRTS();
    w32::Sleep(100);
    m_port.ResetRTS();
    uint64_t fell = w32test::clock::NowMicros();
    w32::Sleep(100);
    m_port.PurgeRcvBuffer();
    BYTE ready = 0;
    ASSERT_EQ(m_port.Read(&ready, 1), COMMS_OK);
    EXPECT_EQ(ready, 'R');
    uint64_t arrived = board.Log().TimeOf("board> 52");
    EXPECT_GE(arrived - fell, 300000u);
    EXPECT_LT(arrived - fell, 301000u);
}

TEST_F(ProgrammerBoardTest, TheCatalogueMakesTheProgrammersBoardsWithTheirFaults) {
    std::string error;
    auto board = boards::MakeBoard(
        "programmer", "baud=19200 version=ABCD tries=2 types=1,2 fault=wrong-check at=3", &error);
    ASSERT_NE(board, nullptr) << error;
    PutBoard(std::move(board));
    const BYTE setType[3] = {0x01, 0x01, 0x02};
    BYTE reply[3] = {};
    for (BYTE status : {1, 0}) {  // refused at the first try, accepted at the second
        ASSERT_EQ(m_port.Write(setType, 3), COMMS_OK);
        ASSERT_EQ(m_port.Read(reply, 3), COMMS_OK);
        EXPECT_EQ(reply[1], status);
    }
    const BYTE version = 0x05;
    ASSERT_EQ(m_port.Write(&version, 1), COMMS_OK);
    BYTE block[6] = {};
    ASSERT_EQ(m_port.Read(block, 6), COMMS_OK);
    EXPECT_EQ(std::string(block + 1, block + 5), "ABCD");
    EXPECT_NE(block[5], static_cast<BYTE>(5 + 'A' + 'B' + 'C' + 'D'));  // the third reply

    for (const char* kind : {"boot-loader", "memory-board", "drive"}) {
        EXPECT_NE(
            boards::MakeBoard(kind, "baud=115200 fault=late late-us=5000 flip=10 seed=3", &error),
            nullptr)
            << error;
    }
    EXPECT_EQ(boards::MakeBoard("programmer", "fault=sometimes", &error), nullptr);
    EXPECT_EQ(boards::MakeBoard("programmer", "types=1,x", &error), nullptr);
    EXPECT_EQ(boards::MakeBoard("programmer", "version=ABC", &error), nullptr);
    EXPECT_EQ(boards::MakeBoard("boot-loader", "chip=z80", &error), nullptr);
    EXPECT_EQ(boards::MakeBoard("drive", "loader=p89", &error), nullptr);
}

}  // namespace
