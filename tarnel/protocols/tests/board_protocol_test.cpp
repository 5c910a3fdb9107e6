// The programmer board's packets, the HC908 resident-loader entry and the serial EEPROM against
// the simulated programmer board.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "boards/misbehaviour.h"
#include "boards/programmer_board.h"
#include "protocol_rig.h"
#include "tarnel/protocols/board_protocol.h"
#include "tarnel/protocols/resident_loader_images.h"

namespace {

using boards::Fault;
using boards::Misbehaviour;
using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;
using protocol_test::FixedReplyBoard;
using protocol_test::HostBytes;
using protocol_test::LineEvents;

class BoardProtocolTest : public protocol_test::ProtocolRig {
protected:
    ProgrammerBoard& PutProgrammer(const ProgrammerBoardOptions& options = {}) {
        return Put(std::make_unique<ProgrammerBoard>(options));
    }
};

BYTE Sum(const std::vector<BYTE>& bytes) {
    BYTE sum = 0;
    for (BYTE b : bytes) {
        sum = static_cast<BYTE>(sum + b);
    }
    return sum;
}

// The packet as the host must send it: the bytes and their 8-bit sum.
std::vector<BYTE> Packet(std::vector<BYTE> bytes) {
    bytes.push_back(Sum(bytes));
    return bytes;
}

TEST_F(BoardProtocolTest, WriteBlockSendsKindCountAddressDataAndSum) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    CBoardProtocol protocol;
    const BYTE data[3] = {0x11, 0x22, 0x33};
    EXPECT_EQ(protocol.WriteBlock(m_port, 0x8123, 3, data), BOARD_OK);
    EXPECT_EQ(HostBytes(board.Log()), Packet({2, 2, 3, 0x23, 0x81, 0x11, 0x22, 0x33}));
    EXPECT_EQ(board.Memory(2)[0x8124], 0x22);

    // No data: the five header bytes and their sum.
    board.Log().Clear();
    EXPECT_EQ(protocol.WriteBlock(m_port, 0x0040, 0, data), BOARD_OK);
    EXPECT_EQ(HostBytes(board.Log()), Packet({2, 1, 0, 0x40, 0x00}));
}

TEST_F(BoardProtocolTest, WritesGoToFlashOrRamByAddress) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    CBoardProtocol protocol;
    struct Case {
        WORD address;
        BYTE kind;
    };
    const Case cases[] = {{0x0000, 1}, {0x7FFF, 1}, {0x8000, 2}, {0xFDFF, 2},
                          {0xFE00, 1}, {0xFFDB, 1}, {0xFFDC, 2}, {0xFFFF, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        board.Log().Clear();
        const BYTE data = 0x5A;
        ASSERT_EQ(protocol.WriteBlock(m_port, c.address, 1, &data), BOARD_OK);
        std::vector<BYTE> sent = HostBytes(board.Log());
        ASSERT_EQ(sent.size(), 7u);
        EXPECT_EQ(sent[1], c.kind);
        EXPECT_EQ(board.Memory(c.kind)[c.address], 0x5A);
    }
}

TEST_F(BoardProtocolTest, ReadBlockReadsKindOneAndCopiesOnlyAGoodReply) {
    ProgrammerBoard& board = PutProgrammer();
    board.Memory(1)[0x9000] = 0xA1;
    board.Memory(1)[0x9001] = 0xB2;
    Open();
    CBoardProtocol protocol;
    BYTE data[2] = {0, 0};
    EXPECT_EQ(protocol.ReadBlock(m_port, 0x9000, 2, data), BOARD_OK);
    EXPECT_EQ(HostBytes(board.Log()), Packet({3, 1, 2, 0x00, 0x90}));
    EXPECT_EQ(data[0], 0xA1);
    EXPECT_EQ(data[1], 0xB2);

    Misbehaviour m;
    m.fault = Fault::WrongCheck;
    board.Misbehave(m);
    BYTE untouched[2] = {7, 7};
    EXPECT_EQ(protocol.ReadBlock(m_port, 0x9000, 2, untouched), BOARD_CHECK_WRONG);
    EXPECT_EQ(untouched[0], 7);
}

TEST_F(BoardProtocolTest, ABlockTooLongForItsCountIsRefusedUnsent) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    CBoardProtocol protocol;
    std::vector<BYTE> data(256, 0x42);
    EXPECT_EQ(protocol.WriteBlock(m_port, 0x0000, 256, data.data()), BOARD_TOO_LONG);
    EXPECT_EQ(protocol.ReadBlock(m_port, 0x0000, 256, data.data()), BOARD_TOO_LONG);
    EXPECT_TRUE(HostBytes(board.Log()).empty());

    EXPECT_EQ(protocol.WriteBlock(m_port, 0x0000, 255, data.data()), BOARD_OK);
    EXPECT_EQ(HostBytes(board.Log())[2], 255);
}

TEST_F(BoardProtocolTest, ChipTypesOfTheBootLoaderChipsGoAsTwo) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    struct Case {
        BYTE type;
        BYTE sent;
    };
    const Case cases[] = {{10, 2}, {12, 2}, {15, 2}, {1, 1}, {3, 3}, {14, 14}, {16, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        board.Log().Clear();
        CBoardProtocol protocol;
        protocol.SetType(c.type);
        EXPECT_EQ(protocol.SetChipType(m_port), BOARD_OK);
        EXPECT_EQ(HostBytes(board.Log()), Packet({1, c.sent}));
    }
}

TEST_F(BoardProtocolTest, RefusedChipTypeKeepsItsStatus) {
    ProgrammerBoardOptions options;
    options.chipTypes = {1};
    PutProgrammer(options);
    Open();
    CBoardProtocol protocol;
    protocol.SetType(12);
    EXPECT_EQ(protocol.SetChipType(m_port), BOARD_FAILED);
    EXPECT_EQ(protocol.LastStatus(), 1);
}

TEST_F(BoardProtocolTest, RepliesAreJudgedCheckByteFirstThenCommandThenStatus) {
    struct Case {
        std::vector<BYTE> reply;  // to the set-chip-type packet
        int result;
    };
    const Case cases[] = {
        {{0x41, 1, 0x00}, BOARD_CHECK_WRONG},  // wrong command, failure and a wrong check
        {{0x41, 1, 0x42}, BOARD_WRONG_REPLY},  // wrong command and failure, check right
        {{0x01, 1, 0x02}, BOARD_FAILED},
        {{0x01, 0, 0x01}, BOARD_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        Put(std::make_unique<FixedReplyBoard>(c.reply));
        Open();
        CBoardProtocol protocol;
        EXPECT_EQ(protocol.SetChipType(m_port), c.result);
        m_port.Deinstall();
    }
}

TEST_F(BoardProtocolTest, SingleByteCommandsAndTheirAnswers) {
    ProgrammerBoardOptions options;
    options.version = {'V', '1', '.', '2'};
    options.boardWord = 0x1234;
    ProgrammerBoard& board = PutProgrammer(options);
    board.Memory(2)[0x8000] = 0x00;
    Open();
    CBoardProtocol protocol;

    DWORD version = 0;
    EXPECT_EQ(protocol.ReadVersionBlock(m_port, &version), BOARD_OK);
    EXPECT_EQ(version, 0x322E3156u);  // 'V' lowest
    WORD word = 0;
    EXPECT_EQ(protocol.ReadBoardWord(m_port, &word), BOARD_OK);
    EXPECT_EQ(word, 0x1234);
    EXPECT_EQ(protocol.Erase(m_port), BOARD_OK);
    EXPECT_EQ(board.Memory(2)[0x8000], 0xFF);
    EXPECT_EQ(protocol.StartLoader(m_port), BOARD_FAILED);  // nothing uploaded
    EXPECT_EQ(HostBytes(board.Log()), (std::vector<BYTE>{5, 7, 4, 6}));
}

// Each fault of the board ends a write in its own result, in bounded time, and the port can be
// closed and opened again afterwards.
TEST_F(BoardProtocolTest, EachMisbehaviourEndsInItsCode) {
    struct Case {
        Fault fault;
        int result;
    };
    const Case cases[] = {
        {Fault::WrongCheck, BOARD_CHECK_WRONG},  {Fault::WrongCommand, BOARD_WRONG_REPLY},
        {Fault::FailureStatus, BOARD_FAILED},    {Fault::NoAnswer, COMMS_READ_TIMEOUT},
        {Fault::LateAnswer, COMMS_READ_TIMEOUT}, {Fault::TruncatedAnswer, COMMS_READ_TIMEOUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        ProgrammerBoard& board = PutProgrammer();
        Misbehaviour m;
        m.fault = c.fault;
        m.keepBytes = 2;
        board.Misbehave(m);
        Open();
        CBoardProtocol protocol;
        const BYTE data[4] = {1, 2, 3, 4};
        EXPECT_EQ(protocol.WriteBlock(m_port, 0x0100, 4, data), c.result);
        // Three reply bytes at 100 ms each, and one more wait for the bytes a short read missed.
        EXPECT_LE(Elapsed(), 500000u);
        ExpectPortFreeAfterClose();
    }
}

TEST_F(BoardProtocolTest, ABoardAtAnotherRateGivesGarbageNotSuccess) {
    ProgrammerBoard& board = PutProgrammer();
    Misbehaviour m;
    m.fault = Fault::WrongBaud;
    m.wrongBaud = 9600;
    board.Misbehave(m);
    Open();
    CBoardProtocol protocol;
    const BYTE data[2] = {1, 2};
    int result = protocol.WriteBlock(m_port, 0x0100, 2, data);
    EXPECT_TRUE(result == BOARD_CHECK_WRONG || result == BOARD_WRONG_REPLY) << result;
    EXPECT_LE(Elapsed(), 400000u);
    ExpectPortFreeAfterClose();
}

// ---- the HC908 resident loader ----

class ResidentLoaderTest : public BoardProtocolTest {
protected:
    void SetUp() override {
        std::random_device random;
        m_folder = std::filesystem::temp_directory_path() /
                   ("board_protocol_test_" + std::to_string(random()));
        std::filesystem::create_directories(m_folder);
        m_prefix = (m_folder / "loader").string();
        WriteImage("1.bin", kResidentLoaderImage1.data(), CBoardProtocol::kLoaderImage1Size);
        WriteImage("2.bin", kResidentLoaderImage2.data(), CBoardProtocol::kLoaderImage2Size);
    }
    void TearDown() override {
        BoardProtocolTest::TearDown();
        std::filesystem::remove_all(m_folder);
    }
    // The program's own loader images, which the board's chip runs.
    void WriteImage(const std::string& suffix, const BYTE* image, size_t size) {
        std::ofstream file(m_prefix + suffix, std::ios::binary);
        file.write(reinterpret_cast<const char*>(image), static_cast<std::streamsize>(size));
    }

    std::filesystem::path m_folder;
    std::string m_prefix;
};

// The packets of the upload: which addresses and lengths, in order.
std::vector<std::pair<int, int>> WritePackets(const std::vector<BYTE>& sent) {
    std::vector<std::pair<int, int>> writes;
    for (size_t i = 0; i < sent.size();) {
        switch (sent[i]) {
            case 1:
                i += 3;
                break;
            case 2:
                writes.push_back({sent[i + 3] | sent[i + 4] << 8, sent[i + 2]});
                i += 6 + sent[i + 2];
                break;
            default:
                i += 1;
                break;
        }
    }
    return writes;
}

TEST_F(ResidentLoaderTest, UploadsBothImagesAndStartsTheLoader) {
    ProgrammerBoardOptions options;
    options.boardWord = 0x0240;
    ProgrammerBoard& board = PutProgrammer(options);
    Open();
    LowerRtsAndForget();
    CBoardProtocol protocol;
    ASSERT_EQ(protocol.EnterLoader(m_port, m_prefix.c_str()), BOARD_OK);
    EXPECT_STREQ(protocol.LoaderVersion(), "RL07");
    EXPECT_TRUE(board.ResidentLoaderRunning());

    std::vector<std::pair<int, int>> expected = {
        {0x40, 32},  {0x60, 32},  {0x80, 32},  {0xA0, 32},  {0xC0, 32},  {0xE0, 17},
        {0x100, 32}, {0x120, 32}, {0x140, 32}, {0x160, 32}, {0x180, 32}, {0x1A0, 32},
        {0x1C0, 32}, {0x1E0, 32}, {0x200, 32}, {0x220, 27}, {0x244, 2}};
    EXPECT_EQ(WritePackets(HostBytes(board.Log())), expected);
    EXPECT_EQ(board.Memory(1)[0x40 + 176], kResidentLoaderImage1[176]);
    EXPECT_EQ(board.Memory(1)[0x244], 1);

    // RTS goes up first; the chip type follows 200 ms later; after the start RTS falls 100 ms on
    // and the version is asked 100 ms after that.
    const boards::Transcript& log = board.Log();
    uint64_t rtsUp = log.TimeOf("rts 1");
    EXPECT_EQ(log.TimeOf("purge rx") - rtsUp, 200000u);
    uint64_t started = log.TimeOf("resident loader runs");
    uint64_t rtsDown = log.TimeOf("rts 0", started);
    EXPECT_GE(rtsDown - started, 100000u);
    EXPECT_LT(rtsDown - started, 110000u);
    EXPECT_EQ(log.TimeOf("host> 05", rtsDown) - rtsDown, 100000u + 521u);
}

TEST_F(ResidentLoaderTest, ChipTypeIsTriedEvery3200MsUntilAccepted) {
    ProgrammerBoardOptions options;
    options.acceptSetTypeAt = 3;
    ProgrammerBoard& board = PutProgrammer(options);
    Open();
    CBoardProtocol protocol;
    ASSERT_EQ(protocol.EnterLoader(m_port, m_prefix.c_str()), BOARD_OK);
    EXPECT_EQ(board.SetTypeTries(), 3);
    std::vector<uint64_t> purges;
    for (const boards::Record& r : board.Log().Records()) {
        if (r.what == "purge rx") {
            purges.push_back(r.time);
        }
    }
    ASSERT_EQ(purges.size(), 3u);
    // A refused try costs its exchange and 3000 ms, then 200 ms before the next purge.
    EXPECT_GE(purges[1] - purges[0], 3200000u);
    EXPECT_LT(purges[1] - purges[0], 3220000u);
}

TEST_F(ResidentLoaderTest, TenRefusalsEndWithoutTouchingTheFiles) {
    ProgrammerBoardOptions options;
    options.acceptSetTypeAt = 11;
    ProgrammerBoard& board = PutProgrammer(options);
    Open();
    CBoardProtocol protocol;
    EXPECT_EQ(protocol.EnterLoader(m_port, "no/such/folder/"), BOARD_NO_ANSWER);
    EXPECT_EQ(board.SetTypeTries(), 10);
    EXPECT_LE(Elapsed(), 10 * 3300000u);
}

TEST_F(ResidentLoaderTest, MissingOrShortImageFiles) {
    PutProgrammer();
    Open();
    CBoardProtocol protocol;
    EXPECT_EQ(protocol.EnterLoader(m_port, (m_folder / "absent").string().c_str()),
              BOARD_LOADER_FILE_MISSING);
    WriteImage("2.bin", kResidentLoaderImage2.data(), CBoardProtocol::kLoaderImage2Size - 1);
    EXPECT_EQ(protocol.EnterLoader(m_port, m_prefix.c_str()), BOARD_LOADER_FILE_SHORT);
}

TEST_F(ResidentLoaderTest, AFailedVersionReadFailsTheEntry) {
    ProgrammerBoard& board = PutProgrammer();
    Misbehaviour m;
    m.fault = Fault::TruncatedAnswer;
    m.keepBytes = 3;
    m.atReply = 21;  // set type, 16 image pieces, board word, start flag, start, version
    board.Misbehave(m);
    Open();
    CBoardProtocol protocol;
    EXPECT_EQ(protocol.EnterLoader(m_port, m_prefix.c_str()), COMMS_READ_TIMEOUT);
    EXPECT_TRUE(board.ResidentLoaderRunning());
    EXPECT_STREQ(protocol.LoaderVersion(), "");
}

TEST_F(ResidentLoaderTest, AFailedPieceEndsTheUploadWithItsCode) {
    ProgrammerBoard& board = PutProgrammer();
    Misbehaviour m;
    m.fault = Fault::FailureStatus;
    m.atReply = 4;
    board.Misbehave(m);
    Open();
    CBoardProtocol protocol;
    EXPECT_EQ(protocol.EnterLoader(m_port, m_prefix.c_str()), BOARD_FAILED);
    EXPECT_EQ(WritePackets(HostBytes(board.Log())).size(), 3u);
    EXPECT_FALSE(board.ResidentLoaderRunning());
}

// ---- the serial EEPROM ----

TEST_F(BoardProtocolTest, EepromUsesKindThreeEverywhereAndNoChipType) {
    ProgrammerBoard& board = PutProgrammer();
    Open();
    LowerRtsAndForget();
    CEepromProtocol eeprom;
    ASSERT_EQ(eeprom.EnterLoader(m_port, nullptr), BOARD_OK);
    EXPECT_TRUE(HostBytes(board.Log()).empty());
    EXPECT_EQ(board.Log().TimeOf("purge rx") - board.Log().TimeOf("rts 1"), 200000u);

    const BYTE data[2] = {0xDE, 0xAD};
    for (WORD address : {0x0000, 0x1FFE}) {
        board.Log().Clear();
        ASSERT_EQ(eeprom.WriteBlock(m_port, address, 2, data), BOARD_OK);
        EXPECT_EQ(HostBytes(board.Log())[1], 3);
        BYTE back[2] = {0, 0};
        ASSERT_EQ(eeprom.ReadBlock(m_port, address, 2, back), BOARD_OK);
        EXPECT_EQ(back[1], 0xAD);
    }
    EXPECT_EQ(board.Memory(3)[0x1FFF], 0xAD);
    // The EEPROM ends at 0x2000: the board refuses what lies beyond.
    EXPECT_EQ(eeprom.WriteBlock(m_port, 0x1FFF, 2, data), BOARD_FAILED);
}

}  // namespace
