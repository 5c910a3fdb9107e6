// The programming thread at the edges: skipped and failed jobs, STOP at every block, boards that
// fall silent, the block walk's blocks and the ends of the PIC areas.
#include <gtest/gtest.h>

#include "boards/programmer_board.h"
#include "programming_rig.h"
#include "protocol_rig.h"

namespace {

using boards::Fault;
using boards::Misbehaviour;
using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;
using programming_test::Count;
using programming_test::Describe;
using programming_test::Held;
using programming_test::Posted;
using programming_test::Values;
using programming_test::WithoutPositions;

typedef std::vector<std::string> Lines;

// The block packets the board received (command 2 write, 3 read): address and count, in order.
struct Packet {
    int command;
    int address;
    int count;
    bool operator==(const Packet& o) const {
        return command == o.command && address == o.address && count == o.count;
    }
};

std::ostream& operator<<(std::ostream& out, const Packet& p) {
    return out << "{" << p.command << ", " << p.address << ", " << p.count << "}";
}

std::vector<Packet> BlockPackets(const std::vector<BYTE>& sent) {
    std::vector<Packet> packets;
    for (size_t i = 0; i < sent.size();) {
        BYTE command = sent[i];
        if (command == 1) {
            i += 3;
        } else if (command == 2 || command == 3) {
            packets.push_back({command, sent[i + 3] | sent[i + 4] << 8, sent[i + 2]});
            i += command == 2 ? 6u + sent[i + 2] : 6u;
        } else {
            i += 1;
        }
    }
    return packets;
}

class ProgrammingEdgesTest : public programming_test::ProgrammingRig {
protected:
    ProgrammerBoard& PutProgrammer(ProgrammerBoardOptions options = {}) {
        return Put(std::make_unique<ProgrammerBoard>(options));
    }
    std::vector<Packet> Packets() { return BlockPackets(protocol_test::HostBytes(m_board->Log())); }
};

TEST_F(ProgrammingEdgesTest, AFailedChipEntrySkipsOnlyItsJob) {
    // The second job's Kestrix board never says 'R'; the third job still runs.
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> first(16, 1), second(16, 2), third(16, 3);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobRead, 160, kMemoryCode, &first));
    jobs.push_back(Job(kJobRead, 169, kMemoryCode, &second));
    jobs.push_back(Job(kJobRead, 161, kMemoryCode, &third));
    EXPECT_EQ(WithoutPositions(Run(std::move(jobs))),
              (Lines{"46", "15=16", "16", "60 'Read started ( Kestrix ID )...'", "15=16",
                     "61 'Target board is not accessible.'",
                     "61 'Please make sure the power supply is plugged'",
                     "61 'and the communications cable is connected.'",
                     "61 'Also, make sure that you selected the correct communications port.'",
                     "59 'Kestrix error'", "21", "46", "15=16", "16"}));
    EXPECT_EQ(second, std::vector<BYTE>(16, 2));
    EXPECT_EQ(board.ChipType(), 1);

    // A Kestrix board that answers another byte than 'R' is just as inaccessible.
    ProgrammerBoardOptions options;
    options.kestrix = true;
    ProgrammerBoard& kestrix = PutProgrammer(options);
    Misbehaviour m;
    m.fault = Fault::WrongCommand;
    kestrix.Misbehave(m);
    std::vector<Posted> posted = Run(Job(kJobRead, 169, kMemoryCode, &second));
    EXPECT_EQ(Count(posted, kStatusAdviceText), 4);
    EXPECT_EQ(Describe(posted).back(), "21");
}

TEST_F(ProgrammingEdgesTest, AFailedReadEndsTheRunAndFreesTheJobsLeft) {
    ProgrammerBoard& board = PutProgrammer();
    Misbehaviour m;
    m.fault = Fault::WrongCheck;
    m.atReply = 3;  // set type, first block, second block
    board.Misbehave(m);
    std::vector<BYTE> area(64, 0), other(16, 0);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobRead, 160, kMemoryCode, &area));
    jobs.push_back(Job(kJobWrite, 160, kMemoryCode, &other));
    jobs.push_back(Job(kJobCheckConnection));
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              (Lines{"46", "15=64", "9=16", "59 'Read Error'", "17"}));
    EXPECT_EQ(m_queue->GetCount(), 0);
    EXPECT_EQ(Packets().size(), 2u);
    ExpectPortFree();
}

TEST_F(ProgrammingEdgesTest, ABoardFallingSilentMidJobFailsItWithinItsTimeOuts) {
    ProgrammerBoard& board = PutProgrammer();
    Misbehaviour m;
    m.fault = Fault::NoAnswer;
    m.atReply = 4;
    m.replies = 0;  // from the third block on, nothing
    board.Misbehave(m);
    std::vector<BYTE> area(128, 0x5A);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobWrite, 160, kMemoryCode, &area));
    jobs.push_back(Job(kJobVerify, 160, kMemoryCode, &area));
    uint64_t start = Now();
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              (Lines{"49", "6=128", "9=16", "9=32", "59 'Write Error'", "8"}));
    // 100 ms per byte for the three bytes of the missing reply, and a little wire time.
    EXPECT_LT(Now() - start, 600000u);
    EXPECT_EQ(Packets().size(), 3u);
    ExpectPortFree();
}

TEST_F(ProgrammingEdgesTest, WriteBlocksEndAtSixteenCellLinesAndUnmarkedCells) {
    PutProgrammer();
    std::vector<BYTE> area(40, 0xA5), marks(40, 0);
    for (int i = 4; i <= 23; ++i) {
        marks[i] = 1;
    }
    std::vector<Posted> posted = Run(Job(kJobWrite, 160, kMemoryCode, &area, &marks));
    EXPECT_EQ(Packets(), (std::vector<Packet>{{2, 4, 12}, {2, 16, 8}}));
    // Each block's position is the cell that closed it, plus one; then the area's size.
    EXPECT_EQ(Values(posted, kStatusPosition), (std::vector<LPARAM>{16, 25, 40}));
}

TEST_F(ProgrammingEdgesTest, AWriteFromStartAddressEightFollowsTheAddressLines) {
    PutProgrammer();
    std::vector<BYTE> area(40, 0x3C);
    Run(Job(kJobWrite, 160, kMemoryCode, &area, nullptr, 8));
    EXPECT_EQ(Packets(), (std::vector<Packet>{{2, 8, 8}, {2, 16, 16}, {2, 32, 16}}));
}

TEST_F(ProgrammingEdgesTest, AWriteWithNoMarkedCellSendsNothing) {
    PutProgrammer();
    std::vector<BYTE> area(40, 0x3C), marks(40, 0);
    EXPECT_EQ(Describe(Run(Job(kJobWrite, 160, kMemoryCode, &area, &marks))),
              (Lines{"49", "6=40", "9=40", "7"}));
    EXPECT_TRUE(Packets().empty());
}

TEST_F(ProgrammingEdgesTest, ReadSetsTheMarksOfWhatItRead) {
    ProgrammerBoard& board = PutProgrammer();
    board.Memory(1)[20] = 0x42;
    std::vector<BYTE> area(24, 0), marks(24, 0);
    Run(Job(kJobRead, 160, kMemoryCode, &area, &marks, 8));
    EXPECT_EQ(marks, (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(area[20], 0x42);
    EXPECT_EQ(Packets(), (std::vector<Packet>{{3, 8, 16}}));
}

// STOP pressed when block `block` (1-based) of a 64-byte job has reached the board.
class StopTest : public ProgrammingEdgesTest {
protected:
    // The bytes through block `block`: the set-type packet, then the block packets.
    static size_t Through(int block, size_t packetBytes) { return 3 + block * packetBytes; }

    std::vector<Posted> RunStopped(JobOp op, int block, size_t packetBytes) {
        m_cancel = 0;
        auto& board = Put(std::make_unique<Held<ProgrammerBoard>>());
        board.Memory(1).assign(board.Memory(1).size(), 0x77);
        board.CancelAt(Through(block, packetBytes), &m_cancel);
        std::vector<std::unique_ptr<JobRequest>> jobs;
        jobs.push_back(Job(op, 160, kMemoryCode, &m_area));
        jobs.push_back(Job(kJobCheckConnection));  // freed by the STOP
        return Run(std::move(jobs));
    }

    std::vector<BYTE> m_area = std::vector<BYTE>(64, 0x77);
};

TEST_F(StopTest, StopDuringAWriteEndsItAfterTheBlockUnderWay) {
    for (int block = 1; block <= 4; ++block) {
        SCOPED_TRACE(block);
        std::vector<Posted> posted = RunStopped(kJobWrite, block, 22);
        EXPECT_EQ(WithoutPositions(posted), (Lines{"49", "6=64", "53"}));
        EXPECT_EQ(Count(posted, kStatusPosition), block);
        EXPECT_EQ(Packets().size(), static_cast<size_t>(block));
        EXPECT_EQ(m_queue->GetCount(), 0);
        ExpectPortFree();
    }
}

TEST_F(StopTest, StopDuringAReadEndsItBeforeTheNextBlock) {
    for (int block = 1; block <= 3; ++block) {
        SCOPED_TRACE(block);
        std::vector<Posted> posted = RunStopped(kJobRead, block, 6);
        EXPECT_EQ(WithoutPositions(posted), (Lines{"46", "15=64", "53"}));
        EXPECT_EQ(Packets().size(), static_cast<size_t>(block));
    }
}

TEST_F(StopTest, StopAfterTheLastBlockStillEndsTheOperation) {
    // The read was done: its end status goes out, and the run ends there.
    std::vector<Posted> posted = RunStopped(kJobRead, 4, 6);
    EXPECT_EQ(WithoutPositions(posted), (Lines{"46", "15=64", "16"}));
    EXPECT_EQ(Packets().size(), 4u);
    EXPECT_EQ(m_queue->GetCount(), 0);
}

TEST_F(StopTest, StopDuringAVerifyEndsItWithoutItsCount) {
    for (int block = 1; block <= 4; ++block) {
        SCOPED_TRACE(block);
        std::vector<Posted> posted = RunStopped(kJobVerify, block, 6);
        EXPECT_EQ(WithoutPositions(posted), (Lines{"43", "52=64", "53"}));
        EXPECT_EQ(Packets().size(), static_cast<size_t>(block));
    }
}

TEST_F(ProgrammingEdgesTest, PicBlocksNeverRunPastTheEndOfTheArea) {
    ProgrammerBoard& board = PutProgrammer();
    // 40 code bytes: a 32-byte block and an 8-byte one; 20 data cells: 16 and 4, two bytes each.
    std::vector<BYTE> code(40, 0x11), data(20, 0x22);
    std::vector<BYTE> codeBack(40, 0), dataBack(20, 0);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobWrite, 9, kMemoryCode, &code));
    jobs.push_back(Job(kJobRead, 9, kMemoryCode, &codeBack));
    jobs.push_back(Job(kJobWrite, 9, kMemoryData, &data));
    jobs.push_back(Job(kJobRead, 9, kMemoryData, &dataBack));
    jobs.push_back(Job(kJobVerify, 9, kMemoryData, &data));
    std::vector<Posted> posted = Run(std::move(jobs));
    EXPECT_EQ(Count(posted, kStatusVerifyDone), 1);
    EXPECT_EQ(codeBack, code);
    EXPECT_EQ(dataBack, data);
    EXPECT_EQ(Packets(), (std::vector<Packet>{{2, 0, 16},
                                              {2, 16, 16},
                                              {2, 32, 8},
                                              {3, 0, 32},
                                              {3, 32, 8},
                                              {2, 0, 32},
                                              {2, 16, 8},
                                              {3, 0, 32},
                                              {3, 16, 8},
                                              {3, 0, 32},
                                              {3, 16, 8}}));
    EXPECT_EQ(board.Memory(1)[20], 0xFF);  // nothing beyond the area
}

TEST_F(ProgrammingEdgesTest, APicCalibrationReadThatFailsIsNotUsed) {
    ProgrammerBoard& board = PutProgrammer();
    board.Memory(4)[12] = 0x34;
    board.Memory(4)[13] = 0x12;
    Misbehaviour m;
    m.fault = Fault::FailureStatus;
    m.atReply = 2;  // set type, then the chip's configuration
    board.Misbehave(m);
    std::vector<BYTE> area(16, 0x3F);
    std::vector<Posted> posted = Run(Job(kJobWrite, 9, kMemorySpecial, &area));
    EXPECT_EQ(Count(posted, kStatusWriteDone), 1);
    EXPECT_EQ(area, std::vector<BYTE>(16, 0x3F));
    EXPECT_EQ(board.Memory(4)[12], 0x3F);

    board.Misbehave(m);
    posted = Run(Job(kJobVerify, 9, kMemorySpecial, &area));
    EXPECT_EQ(area, std::vector<BYTE>(16, 0x3F));
    EXPECT_EQ(Count(posted, kStatusVerifyDone), 1);
}

TEST_F(ProgrammingEdgesTest, OperationCodesBeyondTheTableOnlyFreeTheJob) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(static_cast<JobOp>(9)));
    jobs.push_back(Job(kJobCheckConnection));
    EXPECT_EQ(Describe(Run(std::move(jobs))), (Lines{"3", "14", "4"}));
    EXPECT_EQ(protocol_test::HostBytes(board.Log()).size(), 4u);
}

TEST_F(ProgrammingEdgesTest, AnUnknownDeviceCodeHasNoProgrammingMode) {
    PutProgrammer();
    std::vector<BYTE> area(16, 0);
    EXPECT_EQ(Describe(Run(Job(kJobRead, 200, kMemoryCode, &area))),
              (Lines{"46", "15=16", "59 'Unknown Program Mode'", "21"}));
}

}  // namespace
