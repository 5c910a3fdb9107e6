// The chip protocol's board packets: the 0x2000 split, the AT89S8252/53 limit, compare blocks,
// memory kinds and the loader entry, against the simulated programmer board.
#include <gtest/gtest.h>

#include "boards/misbehaviour.h"
#include "boards/programmer_board.h"
#include "protocol_rig.h"
#include "tarnel/protocols/chip_protocol.h"

namespace {

using boards::Fault;
using boards::Misbehaviour;
using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;
using protocol_test::HostBytes;

class ChipPacketTest : public protocol_test::ProtocolRig {
protected:
    ProgrammerBoard& PutProgrammer(const ProgrammerBoardOptions& options = {}) {
        return Put(std::make_unique<ProgrammerBoard>(options));
    }
};

// The block packets the host sent: command, kind, count and address of each.
struct Sent {
    BYTE command;
    BYTE kind;
    int count;
    int address;
    bool operator==(const Sent& o) const {
        return command == o.command && kind == o.kind && count == o.count && address == o.address;
    }
};

std::vector<Sent> BlockPackets(const std::vector<BYTE>& bytes) {
    std::vector<Sent> packets;
    for (size_t i = 0; i + 5 < bytes.size();) {
        Sent s{bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3] | bytes[i + 4] << 8};
        packets.push_back(s);
        i += (s.command == 3 ? 6 : 6 + s.count);
    }
    return packets;
}

std::vector<BYTE> Counting(size_t n) {
    std::vector<BYTE> data(n);
    for (size_t i = 0; i < n; ++i) {
        data[i] = static_cast<BYTE>(0x30 + i);
    }
    return data;
}

TEST_F(ChipPacketTest, ABlockAcross0x2000GoesAsTwoPacketsWithTheirKinds) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    CChipProtocol chip(160);
    chip.SetType(1);
    chip.SetMemoryKind(2);
    std::vector<BYTE> data = Counting(16);

    ASSERT_EQ(chip.WriteBlock(m_port, 0x1FF8, 16, data.data()), BOARD_OK);
    EXPECT_EQ(BlockPackets(HostBytes(board.Log())),
              (std::vector<Sent>{{2, 2, 8, 0x1FF8}, {2, 5, 8, 0x2000}}));
    EXPECT_EQ(board.Memory(2)[0x1FFF], data[7]);
    EXPECT_EQ(board.Memory(5)[0x2000], data[8]);

    board.Log().Clear();
    std::vector<BYTE> back(16, 0);
    ASSERT_EQ(chip.ReadBlock(m_port, 0x1FF8, 16, back.data()), BOARD_OK);
    EXPECT_EQ(BlockPackets(HostBytes(board.Log())),
              (std::vector<Sent>{{3, 2, 8, 0x1FF8}, {3, 5, 8, 0x2000}}));
    EXPECT_EQ(back, data);

    board.Log().Clear();
    ASSERT_EQ(chip.WriteBlock(m_port, 0x1FF0, 16, data.data()), BOARD_OK);
    EXPECT_EQ(BlockPackets(HostBytes(board.Log())), (std::vector<Sent>{{2, 2, 16, 0x1FF0}}));
}

TEST_F(ChipPacketTest, PicChipsUseTheirKindAboveTheSplitToo) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    CChipProtocol chip(9);
    chip.SetType(14);
    chip.SetMemoryKind(4);
    std::vector<BYTE> data = Counting(16);
    ASSERT_EQ(chip.WriteBlock(m_port, 0x2100, 16, data.data()), BOARD_OK);
    EXPECT_EQ(BlockPackets(HostBytes(board.Log())), (std::vector<Sent>{{2, 4, 16, 0x2100}}));
}

TEST_F(ChipPacketTest, At89BlocksEndingBeyond0xF7FFAreSkippedAsWritten) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    std::vector<BYTE> data = Counting(16);
    for (BYTE device : {160, 161}) {
        CChipProtocol chip(device);
        chip.SetType(1);
        EXPECT_EQ(chip.WriteBlock(m_port, 0xF7F0, 16, data.data()), BOARD_OK);
        EXPECT_TRUE(HostBytes(board.Log()).empty());
        EXPECT_EQ(chip.WriteBlock(m_port, 0xF7EF, 16, data.data()), BOARD_OK);
        EXPECT_EQ(BlockPackets(HostBytes(board.Log())).size(), 1u);
        board.Log().Clear();
    }
    // The limit belongs to the job's device code, whatever chip another setting names.
    CChipProtocol other(163);
    other.SetType(2);
    EXPECT_EQ(other.WriteBlock(m_port, 0xF7F0, 16, data.data()), BOARD_OK);
    EXPECT_EQ(BlockPackets(HostBytes(board.Log())), (std::vector<Sent>{{2, 5, 16, 0xF7F0}}));
}

TEST_F(ChipPacketTest, CompareBlockHandsBackTheChipsBytes) {
    ProgrammerBoard& board = PutProgrammer();
    board.Memory(1)[0x0010] = 0xAA;
    board.Memory(1)[0x0011] = 0xBB;
    Open();
    CChipProtocol chip(169);
    chip.SetType(11);
    BYTE data[2] = {0xAA, 0x00};
    ASSERT_EQ(chip.CompareBlock(m_port, 0x0010, 2, data), BOARD_OK);
    std::vector<BYTE> sent = HostBytes(board.Log());
    EXPECT_EQ(sent, (std::vector<BYTE>{10, 1, 2, 0x10, 0x00, 0xAA, 0x00,
                                       static_cast<BYTE>(10 + 1 + 2 + 0x10 + 0xAA)}));
    EXPECT_EQ(data[1], 0xBB);
}

TEST_F(ChipPacketTest, BlockRepliesKeepTheirStatus) {
    ProgrammerBoard& board = PutProgrammer();
    Misbehaviour m;
    m.fault = Fault::FailureStatus;
    board.Misbehave(m);
    Open();
    CChipProtocol chip(160);
    chip.SetType(1);
    std::vector<BYTE> data = Counting(4);
    EXPECT_EQ(chip.WriteBlock(m_port, 0x0000, 4, data.data()), BOARD_FAILED);
    EXPECT_EQ(chip.LastStatus(), 1);
    EXPECT_EQ(chip.WriteBlock(m_port, 0x0000, 4, data.data()), BOARD_OK);
    EXPECT_EQ(chip.LastStatus(), 0);
}

TEST_F(ChipPacketTest, ASplitPartTooLongForItsPacketRefusesTheBlock) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    CChipProtocol chip(160);
    chip.SetType(1);
    std::vector<BYTE> data = Counting(300);
    EXPECT_EQ(chip.WriteBlock(m_port, 0x1F00, 300, data.data()), BOARD_TOO_LONG);
    EXPECT_TRUE(HostBytes(board.Log()).empty());
    // 0x1F80..0x2000 and 0x2000..0x20AC each fit.
    EXPECT_EQ(chip.WriteBlock(m_port, 0x1F80, 300, data.data()), BOARD_OK);
}

TEST_F(ChipPacketTest, EnterLoaderPulsesRtsBetweenTries) {
    ProgrammerBoardOptions options;
    options.acceptSetTypeAt = 3;
    ProgrammerBoard& board = PutProgrammer(options);
    Open();
    LowerRtsAndForget();
    CChipProtocol chip(160);
    chip.SetType(1);
    ASSERT_EQ(chip.EnterLoader(m_port, nullptr), BOARD_OK);
    EXPECT_EQ(board.SetTypeTries(), 3);
    std::vector<std::string> lines = protocol_test::LineEvents(board.Log());
    EXPECT_EQ(lines, (std::vector<std::string>{"rts 1", "purge rx", "rts 0", "rts 1", "purge rx",
                                               "rts 0", "rts 1", "purge rx", "chip type 1"}));
    const boards::Transcript& log = board.Log();
    uint64_t down = log.TimeOf("rts 0");
    EXPECT_EQ(log.TimeOf("rts 1", down) - down, 200000u);
}

TEST_F(ChipPacketTest, EnterLoaderGivesUpAfterTenTries) {
    ProgrammerBoardOptions options;
    options.acceptSetTypeAt = 11;
    ProgrammerBoard& board = PutProgrammer(options);
    Open();
    CChipProtocol chip(160);
    chip.SetType(1);
    EXPECT_EQ(chip.EnterLoader(m_port, nullptr), BOARD_NO_ANSWER);
    EXPECT_EQ(board.SetTypeTries(), 10);
    EXPECT_LE(Elapsed(), 10 * 420000u);
}

}  // namespace
