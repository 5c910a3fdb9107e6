// The length-prefixed packets against the programmer board: what goes on the wire, and the heads
// of its replies (the echo, the board's own error, a silent board).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "boards/programmer_board.h"
#include "protocol_rig.h"
#include "tarnel/protocols/length_packet.h"

namespace {

using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;
using protocol_test::HostBytes;

class LengthPacketTest : public protocol_test::ProtocolRig {
protected:
    void PutProgrammer(const ProgrammerBoardOptions& options = {}) {
        Put(std::make_unique<ProgrammerBoard>(options));
        Open();
    }
};

TEST_F(LengthPacketTest, APacketIsItsCountCommandFieldsAndACheckThatSumsToZero) {
    PutProgrammer();
    ASSERT_EQ(length_packet::Send(m_port, {length_packet::kBlankCheck, 1, 0x34, 0x12}), COMMS_OK);
    const std::vector<BYTE> sent = HostBytes(m_board->Log());
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(std::vector<BYTE>(sent.begin(), sent.end() - 1),
              (std::vector<BYTE>{4, length_packet::kBlankCheck, 1, 0x34, 0x12}));
    EXPECT_EQ(length_packet::Sum(sent.data(), sent.size()), 0);
}

TEST_F(LengthPacketTest, TheReplysHeadEchoesTheCommand) {
    PutProgrammer();
    BYTE reply[4] = {};
    BYTE error = 0;
    bool errorRead = true;
    ASSERT_EQ(length_packet::Send(m_port, {length_packet::kConnectionCheck, 0x5A}), COMMS_OK);
    EXPECT_EQ(
        length_packet::ReadHead(m_port, length_packet::kConnectionCheck, reply, &error, &errorRead),
        length_packet::Head::Good);
    EXPECT_FALSE(errorRead);
    ASSERT_EQ(m_port.Read(reply + 2, 2), COMMS_OK);
    EXPECT_EQ(reply[2], 0x5A);
    EXPECT_EQ(length_packet::Sum(reply, 4), 0);
}

TEST_F(LengthPacketTest, TheBoardsErrorEchoBringsItsCode) {
    ProgrammerBoardOptions failing;
    failing.boardError = 0x33;
    PutProgrammer(failing);
    BYTE reply[4] = {};
    BYTE error = 0;
    bool errorRead = false;
    ASSERT_EQ(length_packet::Send(m_port, {length_packet::kConnectionCheck, 0x5A}), COMMS_OK);
    EXPECT_EQ(
        length_packet::ReadHead(m_port, length_packet::kConnectionCheck, reply, &error, &errorRead),
        length_packet::Head::BoardError);
    EXPECT_TRUE(errorRead);
    EXPECT_EQ(error, 0x33);
}

TEST_F(LengthPacketTest, ASilentBoardOrAnotherEchoIsNoGoodHead) {
    PutProgrammer();
    BYTE reply[4] = {};
    BYTE error = 0;
    bool errorRead = false;
    EXPECT_EQ(
        length_packet::ReadHead(m_port, length_packet::kConnectionCheck, reply, &error, &errorRead),
        length_packet::Head::NoReply);
    ASSERT_EQ(length_packet::Send(m_port, {length_packet::kConnectionCheck, 1}), COMMS_OK);
    EXPECT_EQ(
        length_packet::ReadHead(m_port, length_packet::kBlankCheck, reply, &error, &errorRead),
        length_packet::Head::WrongEcho);
}

}  // namespace
