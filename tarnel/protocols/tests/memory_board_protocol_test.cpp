// The memory board's and the drive's protocol against the simulated boards: headers, the pause
// before data, replies, the resynchronisation at 115200 baud, and the drive's sector buffer.
#include <gtest/gtest.h>

#include "boards/memory_board.h"
#include "boards/misbehaviour.h"
#include "protocol_rig.h"
#include "tarnel/protocols/memory_board_protocol.h"
#include "tarnel/protocols/port_reopen.h"

namespace {

using boards::Fault;
using boards::MemoryBoard;
using boards::MemoryBoardOptions;
using boards::Misbehaviour;
using protocol_test::HostBytes;

class MemoryBoardTest : public protocol_test::ProtocolRig {
protected:
    // A board on a port already resynchronised at 115200 baud, 100 ms per byte.
    MemoryBoard& PutBoard(const MemoryBoardOptions& options = {}) {
        MemoryBoard& board = Put(std::make_unique<MemoryBoard>(options));
        Open(115200);
        return board;
    }
};

std::vector<BYTE> Pattern(size_t n, BYTE seed) {
    std::vector<BYTE> data(n);
    for (size_t i = 0; i < n; ++i) {
        data[i] = static_cast<BYTE>(seed + i * 3);
    }
    return data;
}

TEST_F(MemoryBoardTest, EraseHeaderAndItsLongTimeOut) {
    MemoryBoard& board = PutBoard();
    board.Memory()[0x100] = 0x00;
    CMemoryBoardProtocol protocol;
    EXPECT_EQ(protocol.Erase(m_port), BOARD_OK);
    EXPECT_EQ(HostBytes(board.Log()), (std::vector<BYTE>{2, 0, 0, 0, 0, 0, 0, 0, 0xFE}));
    EXPECT_EQ(board.Memory()[0x100], 0xFF);
    COMMTIMEOUTS t{};
    ASSERT_EQ(m_port.GetTimeOut(&t), COMMS_OK);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 10000u);
}

TEST_F(MemoryBoardTest, WriteSendsHeaderPausesThenDataAndCheck) {
    MemoryBoard& board = PutBoard();
    CMemoryBoardProtocol protocol;
    std::vector<BYTE> data = Pattern(16, 0x10);
    ASSERT_EQ(protocol.Write(m_port, 0x12340, 16, data.data()), BOARD_OK);

    std::vector<BYTE> sent = HostBytes(board.Log());
    ASSERT_EQ(sent.size(), 9u + 16 + 1);
    std::vector<BYTE> header(sent.begin(), sent.begin() + 9);
    EXPECT_EQ(header,
              (std::vector<BYTE>{3, 0, 0x40, 0x23, 0x01, 0x00, 0x10, 0x00,
                                 static_cast<BYTE>(0x100 - (3 + 0x40 + 0x23 + 0x01 + 0x10))}));
    BYTE sum = 0;
    for (size_t i = 9; i < sent.size(); ++i) {
        sum = static_cast<BYTE>(sum + sent[i]);
    }
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(board.Memory()[0x1234F], data[15]);

    // The data start 5 ms after the header has gone.
    std::vector<uint64_t> times;
    for (const boards::Record& r : board.Log().Records()) {
        if (r.what.compare(0, 5, "host>") == 0) {
            times.push_back(r.time);
        }
    }
    uint64_t character = 10000000 / 115200;
    EXPECT_GE(times[9] - times[8], 5000u + character - 1);
    EXPECT_LT(times[9] - times[8], 5000u + 2 * character);
}

TEST_F(MemoryBoardTest, ReadChecksTheDataBeforeTheReply) {
    MemoryBoard& board = PutBoard();
    std::vector<BYTE> data = Pattern(8, 0x40);
    std::copy(data.begin(), data.end(), board.Memory().begin() + 0x7FFF8);
    CMemoryBoardProtocol protocol;
    std::vector<BYTE> back(8, 0);
    ASSERT_EQ(protocol.ReadBlock(m_port, 0x7FFF8, 8, back.data()), BOARD_OK);
    EXPECT_EQ(back, data);
    EXPECT_EQ(HostBytes(board.Log()),
              (std::vector<BYTE>{4, 0, 0xF8, 0xFF, 0x07, 0x00, 0x08, 0x00,
                                 static_cast<BYTE>(0x100 - (4 + 0xF8 + 0xFF + 0x07 + 0x08))}));

    Misbehaviour m;
    m.fault = Fault::WrongCheck;  // the data's check byte
    board.Misbehave(m);
    EXPECT_EQ(protocol.Read(m_port, 0x7FFF8, 8, back.data()), BOARD_CHECK_WRONG);
    BYTE reply[3] = {};
    ASSERT_EQ(m_port.Read(reply, 3), COMMS_OK);  // the reply was left unread
    EXPECT_EQ(reply[0], 4);
}

TEST_F(MemoryBoardTest, RepliesAreJudgedBySumCommandAndStatus) {
    struct Case {
        Fault fault;
        int result;
    };
    const Case cases[] = {
        {Fault::WrongCheck, BOARD_CHECK_WRONG},  {Fault::WrongCommand, BOARD_WRONG_REPLY},
        {Fault::FailureStatus, BOARD_FAILED},    {Fault::NoAnswer, COMMS_READ_TIMEOUT},
        {Fault::LateAnswer, COMMS_READ_TIMEOUT}, {Fault::TruncatedAnswer, COMMS_READ_TIMEOUT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        MemoryBoard& board = PutBoard();
        Misbehaviour m;
        m.fault = c.fault;
        m.keepBytes = 2;
        board.Misbehave(m);
        CMemoryBoardProtocol protocol;
        std::vector<BYTE> data = Pattern(16, 1);
        EXPECT_EQ(protocol.Write(m_port, 0x200, 16, data.data()), c.result);
        EXPECT_LE(Elapsed(), 500000u);
        ExpectPortFreeAfterClose();
    }
}

TEST_F(MemoryBoardTest, ResyncOpensAt115200PulsesRtsAndSendsA5) {
    MemoryBoard& board = Put(std::make_unique<MemoryBoard>());
    Open(19200);
    ASSERT_EQ(m_port.SetTimeOut(1000), COMMS_OK);
    board.Log().Clear();
    CMemoryBoardProtocol protocol;
    ASSERT_EQ(protocol.Resync(m_port), BOARD_OK);

    std::vector<std::string> lines = protocol_test::LineEvents(board.Log());
    EXPECT_EQ(lines, (std::vector<std::string>{"purge rx", "purge tx", "dtr 0", "rts 0", "reset",
                                               "close", "open 9600 8N1", "settings 115200 8N1",
                                               "dtr 1", "rts 1", "rts 0", "reset", "purge rx"}));
    const boards::Transcript& log = board.Log();
    uint64_t up = log.TimeOf("rts 1");
    uint64_t down = log.TimeOf("rts 0", up + 1);
    EXPECT_EQ(down - up, 100000u);
    EXPECT_EQ(log.TimeOf("purge rx", down) - down, 100000u);
    EXPECT_EQ(HostBytes(log), std::vector<BYTE>{0xA5});
    EXPECT_NE(log.TimeOf("board> A5"), boards::Transcript::kNever);

    // The port keeps the caller's time-outs and serves the next packets.
    COMMTIMEOUTS t{};
    ASSERT_EQ(m_port.GetTimeOut(&t), COMMS_OK);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 1000u);
    std::vector<BYTE> data = Pattern(4, 9);
    EXPECT_EQ(protocol.Write(m_port, 0, 4, data.data()), BOARD_OK);
    ExpectPortFreeAfterClose();
}

TEST_F(MemoryBoardTest, ResyncFailures) {
    struct Case {
        Fault fault;
        int result;
    };
    const Case cases[] = {{Fault::WrongCommand, BOARD_WRONG_REPLY},
                          {Fault::NoAnswer, COMMS_READ_TIMEOUT},
                          {Fault::LateAnswer, COMMS_READ_TIMEOUT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        MemoryBoard& board = Put(std::make_unique<MemoryBoard>());
        Misbehaviour m;
        m.fault = c.fault;
        board.Misbehave(m);
        Open(19200);
        CMemoryBoardProtocol protocol;
        EXPECT_EQ(protocol.Resync(m_port), c.result);
        // The pulse, then the echo awaited with the re-open's 1000 ms per byte.
        EXPECT_LE(Elapsed(), 1300000u);
        // A failed resync leaves the port open at 115200 baud.
        EXPECT_TRUE(m_port.IsInitialized());
        EXPECT_EQ(board.HostLine().baud, 115200u);
        ExpectPortFreeAfterClose();
    }
}

TEST_F(MemoryBoardTest, ABoardAtAnotherRateFailsTheResync) {
    MemoryBoard& board = Put(std::make_unique<MemoryBoard>());
    Misbehaviour m;
    m.fault = Fault::WrongBaud;
    m.wrongBaud = 57600;
    board.Misbehave(m);
    Open(19200);
    CMemoryBoardProtocol protocol;
    EXPECT_EQ(protocol.Resync(m_port), BOARD_WRONG_REPLY);
}

TEST_F(MemoryBoardTest, TheMemoryBoardWritesEachBlockAtOnce) {
    MemoryBoard& board = PutBoard();
    CMemoryBoardProtocol protocol;
    std::vector<BYTE> data = Pattern(16, 0x21);
    ASSERT_EQ(protocol.WriteBlock(m_port, 0x30, 16, data.data(), TRUE), BOARD_OK);
    ASSERT_EQ(board.Writes().size(), 1u);
    EXPECT_EQ(board.Writes()[0].address, 0x30u);
    EXPECT_EQ(board.Writes()[0].length, 16u);
}

// ---- the drive's sectors ----

class DriveTest : public MemoryBoardTest {
protected:
    MemoryBoard& PutDrive() {
        MemoryBoardOptions options;
        options.drive = true;
        MemoryBoard& drive = PutBoard(options);
        // What the drive held before the job.
        for (size_t i = 0; i < drive.Memory().size(); ++i) {
            drive.Memory()[i] = static_cast<BYTE>(i * 7 + 1);
        }
        m_before = drive.Memory();
        return drive;
    }
    // The drive as it must be after the job wrote `data` at `address`.
    void Expect(uint32_t address, const std::vector<BYTE>& data) {
        std::copy(data.begin(), data.end(), m_before.begin() + address);
    }

    std::vector<BYTE> m_before;
};

TEST_F(DriveTest, ThirtyTwoBlocksOfASectorAreOneWrite) {
    MemoryBoard& drive = PutDrive();
    CMemoryBoardProtocol protocol;
    std::vector<BYTE> data = Pattern(512, 0x33);
    for (int i = 0; i < 32; ++i) {
        ASSERT_EQ(protocol.WriteBlock(m_port, 0x400 + 16 * i, 16, data.data() + 16 * i, FALSE),
                  BOARD_OK);
    }
    ASSERT_EQ(protocol.FlushBlocks(m_port), BOARD_OK);
    ASSERT_EQ(drive.Writes().size(), 1u);
    EXPECT_EQ(drive.Writes()[0].address, 0x400u);
    EXPECT_EQ(drive.Writes()[0].length, 512u);
    Expect(0x400, data);
    EXPECT_EQ(drive.Memory(), m_before);
}

TEST_F(DriveTest, BytesAfterAGapLandAtTheirAddresses) {
    MemoryBoard& drive = PutDrive();
    CMemoryBoardProtocol protocol;
    std::vector<BYTE> first = Pattern(16, 0x80);
    std::vector<BYTE> second = Pattern(32, 0xC0);
    ASSERT_EQ(protocol.WriteBlock(m_port, 0x200, 16, first.data(), FALSE), BOARD_OK);
    ASSERT_EQ(protocol.WriteBlock(m_port, 0x230, 16, second.data(), FALSE), BOARD_OK);
    ASSERT_EQ(protocol.WriteBlock(m_port, 0x240, 16, second.data() + 16, FALSE), BOARD_OK);
    ASSERT_EQ(protocol.FlushBlocks(m_port), BOARD_OK);
    Expect(0x200, first);
    Expect(0x230, second);
    EXPECT_EQ(drive.Memory(), m_before);
    // Written at the gap and at the end, each a whole sector.
    ASSERT_EQ(drive.Writes().size(), 2u);
    EXPECT_EQ(drive.Writes()[1].address, 0x200u);
}

TEST_F(DriveTest, AJobAcrossSectorsWritesEachWithWhatItDidNotCover) {
    MemoryBoard& drive = PutDrive();
    CMemoryBoardProtocol protocol;
    std::vector<BYTE> data = Pattern(48, 0x11);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(protocol.WriteBlock(m_port, 0x1F0 + 16 * i, 16, data.data() + 16 * i, FALSE),
                  BOARD_OK);
    }
    EXPECT_EQ(drive.Writes().size(), 1u);  // the first sector, when the job moved on
    ASSERT_EQ(protocol.FlushBlocks(m_port), BOARD_OK);
    ASSERT_EQ(drive.Writes().size(), 2u);
    EXPECT_EQ(drive.Writes()[0].address, 0x000u);
    EXPECT_EQ(drive.Writes()[1].address, 0x200u);
    Expect(0x1F0, data);
    EXPECT_EQ(drive.Memory(), m_before);
    // Nothing left: a second flush sends nothing.
    drive.Log().Clear();
    EXPECT_EQ(protocol.FlushBlocks(m_port), BOARD_OK);
    EXPECT_TRUE(HostBytes(drive.Log()).empty());
}

TEST_F(DriveTest, AFailedSectorReadStopsTheWrite) {
    MemoryBoard& drive = PutDrive();
    Misbehaviour m;
    m.fault = Fault::WrongCheck;  // the data run of the sector read
    drive.Misbehave(m);
    CMemoryBoardProtocol protocol;
    std::vector<BYTE> data = Pattern(16, 0x55);
    ASSERT_EQ(protocol.WriteBlock(m_port, 0x600, 16, data.data(), FALSE), BOARD_OK);
    EXPECT_EQ(protocol.FlushBlocks(m_port), BOARD_CHECK_WRONG);
    EXPECT_TRUE(drive.Writes().empty());
    EXPECT_EQ(drive.Memory(), m_before);
}

}  // namespace
