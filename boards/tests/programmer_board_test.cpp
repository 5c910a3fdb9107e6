// The programmer board's length-prefixed packets and the Kestrix start, as a host sees them.
#include <gtest/gtest.h>

#include <algorithm>
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

// ---- the controller's packets for the PIC and HC908 chips ----

// A controller packet: the bytes and their 8-bit sum.
std::vector<BYTE> WithSum(std::vector<BYTE> bytes) {
    BYTE sum = 0;
    for (BYTE b : bytes) {
        sum = static_cast<BYTE>(sum + b);
    }
    bytes.push_back(sum);
    return bytes;
}

class ControllerTest : public ProgrammerBoardTest {
protected:
    // Sends the packet, with its sum unless it is a single command byte; the reply's bytes (as
    // many as came of `replyLength`).
    std::vector<BYTE> Send(const std::vector<BYTE>& bytes, size_t replyLength) {
        std::vector<BYTE> packet = bytes.size() == 1 ? bytes : WithSum(bytes);
        EXPECT_EQ(m_port.Write(static_cast<const BYTE*>(packet.data()),
                               static_cast<DWORD>(packet.size())),
                  COMMS_OK);
        std::vector<BYTE> reply(replyLength, 0);
        DWORD got = 0;
        m_port.Read(reply.data(), static_cast<DWORD>(reply.size()), got);
        reply.resize(got);
        return reply;
    }
    BYTE SetType(BYTE type) { return Send({1, type}, 3).at(1); }
    BYTE Write(BYTE kind, WORD address, const std::vector<BYTE>& data) {
        std::vector<BYTE> packet = {2, kind, static_cast<BYTE>(data.size()),
                                    static_cast<BYTE>(address), static_cast<BYTE>(address >> 8)};
        packet.insert(packet.end(), data.begin(), data.end());
        return Send(packet, 3).at(1);
    }
    // The status, then the data.
    std::vector<BYTE> Read(BYTE kind, WORD address, BYTE n) {
        std::vector<BYTE> reply =
            Send({3, kind, n, static_cast<BYTE>(address), static_cast<BYTE>(address >> 8)}, n + 3u);
        return std::vector<BYTE>(reply.begin() + 1, reply.end() - 1);
    }
};

TEST_F(ControllerTest, PicSelectorsNameOneAreaByDirection) {
    ProgrammerBoard& board = Put();
    ASSERT_EQ(SetType(14), 0);
    // Code: written as 2, read as 4.
    ASSERT_EQ(Write(2, 0x0010, {0x12, 0x34}), 0);
    EXPECT_EQ(Read(4, 0x0010, 2), (std::vector<BYTE>{0, 0x12, 0x34}));
    EXPECT_EQ(board.Memory(2)[0x0011], 0x34);
    // Data: written as 0xFF, read as 5, one cell in the even place of each pair.
    ASSERT_EQ(Write(0xFF, 0x0004, {0xA1, 0x3F, 0xB2, 0x3F}), 0);
    EXPECT_EQ(board.Memory(1)[0x0004], 0xA1);
    EXPECT_EQ(board.Memory(1)[0x0005], 0xB2);
    std::vector<BYTE> data = Read(5, 0x0004, 4);
    ASSERT_EQ(data.size(), 5u);
    EXPECT_EQ(data[0], 0);
    EXPECT_EQ(data[1], 0xA1);
    EXPECT_EQ(data[3], 0xB2);
    // Configuration: written as 0, read as 0xFF.
    ASSERT_EQ(Write(0, 0x0000, {0x3F, 0x72}), 0);
    EXPECT_EQ(Read(0xFF, 0x0000, 2), (std::vector<BYTE>{0, 0x3F, 0x72}));
    EXPECT_EQ(board.Memory(4)[0x0001], 0x72);
    // A selector of the other direction is refused.
    EXPECT_EQ(Write(4, 0x0000, {1}), 1);
    EXPECT_EQ(Read(2, 0x0000, 1).at(0), 1);
}

// An image the HC908 chip accepts: its bytes and the CRC-CCITT of them, high byte first.
std::vector<BYTE> LoaderImage(size_t size, BYTE fill) {
    std::vector<BYTE> image(size - 2, fill);
    uint16_t crc = 0xFFFF;
    for (BYTE b : image) {
        crc = static_cast<uint16_t>(crc ^ (b << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<uint16_t>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    image.push_back(static_cast<BYTE>(crc >> 8));
    image.push_back(static_cast<BYTE>(crc));
    return image;
}

class Hc908Test : public ControllerTest {
protected:
    void Upload(const std::vector<BYTE>& image, WORD at) {
        for (size_t sent = 0; sent < image.size(); sent += 32) {
            size_t piece = std::min<size_t>(32, image.size() - sent);
            ASSERT_EQ(Write(1, static_cast<WORD>(at + sent),
                            std::vector<BYTE>(image.begin() + sent, image.begin() + sent + piece)),
                      0);
        }
    }
    // Images, the start flag at the board word + 4, and the start: its status.
    BYTE Start(const std::vector<BYTE>& image1, const std::vector<BYTE>& image2) {
        Upload(image1, 0x40);
        Upload(image2, 0x100);
        EXPECT_EQ(Write(1, 0x0240 + 4, {1, 0}), 0);
        return Send({6}, 3).at(1);
    }
};

TEST_F(Hc908Test, TheChipRunsOnlyIntactLoaderImages) {
    ProgrammerBoard& board = Put();
    ASSERT_EQ(SetType(3), 0);
    std::vector<BYTE> image1 = LoaderImage(177, 0x9D);
    std::vector<BYTE> image2 = LoaderImage(315, 0x9D);
    std::vector<BYTE> damaged = image2;
    damaged[100] ^= 0x01;
    EXPECT_EQ(Start(image1, damaged), 1);
    EXPECT_FALSE(board.ResidentLoaderRunning());
    // Images of each other's length in each other's place fail their checks too.
    EXPECT_EQ(Start(LoaderImage(177, 0x81), LoaderImage(177, 0x81)), 1);
    EXPECT_EQ(Start(image1, image2), 0);
    EXPECT_TRUE(board.ResidentLoaderRunning());
}

TEST_F(Hc908Test, FlashWrittenAsKindTwoReadsBackAsKindOne) {
    ProgrammerBoard& board = Put();
    ASSERT_EQ(SetType(3), 0);
    // No flash write before the loader runs.
    EXPECT_EQ(Write(2, 0x8000, {0x55}), 1);
    ASSERT_EQ(Start(LoaderImage(177, 0x9D), LoaderImage(315, 0x9D)), 0);
    ASSERT_EQ(Write(2, 0x8000, {0x55, 0x66}), 0);
    EXPECT_EQ(Read(1, 0x8000, 2), (std::vector<BYTE>{0, 0x55, 0x66}));
    EXPECT_EQ(board.Memory(1)[0x8001], 0x66);
}

}  // namespace
