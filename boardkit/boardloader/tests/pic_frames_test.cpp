// The board PIC's frames against the simulated debug board: bytes, pauses on the virtual clock,
// the space and bounds rules, and a code for each way a reply can be spoilt.
#include <gtest/gtest.h>

#include "board_fixture.h"
#include "boards/corvanec_boards.h"

namespace {

using boardtest::Arrival;
using boardtest::OnBoard;

std::vector<BYTE> Pattern(int count, BYTE first) {
    std::vector<BYTE> data;
    for (int i = 0; i < count; ++i) {
        data.push_back(static_cast<BYTE>(first + 7 * i));
    }
    return data;
}

class PicFrames : public OnBoard {
protected:
    // An AT89S53 board that the PIC serves itself (set type 1 accepted).
    void ServedChip(const std::string& extra = "") {
        Attach("corvanec", "baud=19200 chip=at89s53 " + extra);
        OpenInProgramMode(19200);
        ASSERT_EQ(setChipTypeViaPic(m_comms, BOARD_KIND_S53_PIC, m_text), 0) << m_text;
        EXPECT_STREQ(m_text, "Success setting type");
        m_comms.SetTimeOut(100);
        m_board->Log().Clear();
    }
    const std::map<uint32_t, uint8_t>& Memory() {
        return BoardAs<boards::CorvanecBoard>().LoadedCells();
    }
};

TEST_F(PicFrames, AWriteFrameGoesOutBytePausedBeforeBytes1_5_15_25) {
    ServedChip();
    std::vector<BYTE> data = Pattern(32, 0x40);
    ASSERT_EQ(writeBlockViaPic(m_comms, 0x0100, 32, data.data(), m_text), 0) << m_text;
    EXPECT_STREQ(m_text, "Success writing 32 bytes, 0100-011F");

    std::vector<BYTE> frame = {0x02, 0x01, 0x20, 0x00, 0x01};
    frame.insert(frame.end(), data.begin(), data.end());
    BYTE sum = 0;
    for (BYTE b : frame) {
        sum = static_cast<BYTE>(sum + b);
    }
    frame.push_back(sum);
    std::vector<Arrival> sent = HostBytes();
    ASSERT_EQ(sent.size(), frame.size());
    const uint64_t characterMicros = 521;  // 10 bits at 19200 baud
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].byte, frame[i]) << "byte " << i;
        if (i == 0) {
            continue;
        }
        uint64_t gap = sent[i].time - sent[i - 1].time;
        if (i == 1 || i == 5 || i == 15 || i == 25) {
            EXPECT_GE(gap, 7000u + characterMicros) << "byte " << i;
            EXPECT_LT(gap, 8000u + characterMicros) << "byte " << i;
        } else {
            EXPECT_LT(gap, 2 * characterMicros) << "byte " << i;
        }
    }
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(Memory().at(0x0100 + i), data[i]);
    }
}

TEST_F(PicFrames, ABlockStaysInsideItsSpaceAndBelow3000) {
    ServedChip();
    std::vector<BYTE> data = Pattern(32, 1);
    // Across 0x2000: refused before a byte is sent.
    EXPECT_EQ(writeBlockViaPic(m_comms, 0x1FF8, 16, data.data(), m_text), LDR_ERR_DOWNLOAD);
    EXPECT_STREQ(m_text, "*** Error *** Address=1FF8 numBytes=0010");
    EXPECT_TRUE(HostBytes().empty());
    // Up to 0x2000 in space 1, from there up to 0x3000 in space 5.
    EXPECT_EQ(writeBlockViaPic(m_comms, 0x1FF8, 8, data.data(), m_text), 0) << m_text;
    EXPECT_EQ(HostBytes()[1].byte, 1);
    m_board->Log().Clear();
    EXPECT_EQ(writeBlockViaPic(m_comms, 0x2FE0, 32, data.data(), m_text), 0) << m_text;
    EXPECT_EQ(HostBytes()[1].byte, 5);
    EXPECT_EQ(Memory().at(0x2FFF), data[31]);
    m_board->Log().Clear();
    EXPECT_EQ(writeBlockViaPic(m_comms, 0x2FF0, 32, data.data(), m_text), LDR_ERR_DOWNLOAD);
    EXPECT_STREQ(m_text, "*** Error *** Address=2FF0 numBytes=0020");
    EXPECT_EQ(writeBlockViaPic(m_comms, 0x0000, 33, data.data(), m_text), LDR_ERR_DOWNLOAD);
    EXPECT_TRUE(HostBytes().empty());
}

TEST_F(PicFrames, TheBoardMissesAWriteFrameSentWithoutItsPauses) {
    // The test board's own rule, on which the pacing check above rests.
    ServedChip();
    BYTE frame[] = {0x02, 0x01, 0x01, 0x00, 0x02, 0xAA, 0x00};
    for (int i = 0; i < 6; ++i) {
        frame[6] = static_cast<BYTE>(frame[6] + frame[i]);
    }
    ASSERT_EQ(m_comms.Write(frame, 7), 0);
    BYTE reply[3] = {};
    ASSERT_EQ(m_comms.Read(reply, 3), 0);
    EXPECT_EQ(reply[1], 1);
    EXPECT_EQ(Memory().count(0x0200), 0u);
}

struct SpoiltReply {
    const char* fault;
    int frame;
    int expected;
};

class SpoiltReplies : public PicFrames, public ::testing::WithParamInterface<SpoiltReply> {};

TEST_P(SpoiltReplies, EndTheExchangeWithTheirCode) {
    const SpoiltReply& c = GetParam();
    Attach("corvanec", std::string("baud=19200 chip=at89s53 pic-fault=") + c.fault +
                           " pic-frame=" + std::to_string(c.frame));
    OpenInProgramMode(19200);
    int result = 0;
    if (c.frame == 5) {
        result = readPicVersion(m_comms, m_text);
        EXPECT_EQ(std::string(m_text),
                  "*** Error in retrieving PIC version, ec=" + std::to_string(c.expected) + " ***");
    } else if (c.frame == 1) {
        result = setChipTypeViaPic(m_comms, BOARD_KIND_S53_PIC, m_text);
        EXPECT_EQ(std::string(m_text, 23), "*** Set type Error ***,");
    } else {
        ASSERT_EQ(setChipTypeViaPic(m_comms, BOARD_KIND_S53_PIC, m_text), 0);
        BYTE data[4] = {1, 2, 3, 4};
        result = writeBlockViaPic(m_comms, 0x0010, 4, data, m_text);
        EXPECT_EQ(std::string(m_text, 23), "*** Error *** buf[0]=02") << m_text;
    }
    EXPECT_EQ(result, c.expected) << m_text;
}

INSTANTIATE_TEST_SUITE_P(Faults, SpoiltReplies,
                         ::testing::Values(SpoiltReply{"bad-sum", 1, LDR_ERR_CHECKSUM},
                                           SpoiltReply{"bad-command", 1, LDR_ERR_PIC_VERSION},
                                           SpoiltReply{"bad-status", 1, LDR_ERR_CHECKSUM},
                                           SpoiltReply{"short", 1, COMMS_READ_TIMEOUT},
                                           SpoiltReply{"bad-sum", 2, LDR_ERR_CHECKSUM},
                                           SpoiltReply{"bad-status", 2, LDR_ERR_CHECKSUM},
                                           SpoiltReply{"short", 2, COMMS_READ_TIMEOUT},
                                           SpoiltReply{"bad-sum", 5, LDR_ERR_CHECKSUM},
                                           SpoiltReply{"bad-command", 5, LDR_ERR_PIC_VERSION},
                                           SpoiltReply{"short", 5, COMMS_READ_TIMEOUT}));

TEST_F(PicFrames, VersionAndSetTypeTexts) {
    Attach("corvanec", "baud=19200 pic-version=2.10");
    OpenInProgramMode(19200);
    ASSERT_EQ(readPicVersion(m_comms, m_text), 0);
    EXPECT_STREQ(m_text, "PIC Version=2.10");
    // A T89C51Rx2 board refuses type 1: its reply's status says so.
    EXPECT_EQ(setChipTypeViaPic(m_comms, BOARD_KIND_S53_PIC, m_text), LDR_ERR_CHECKSUM);
    EXPECT_STREQ(m_text, "*** Set type Error ***, buffer[0]=01 buffer[1]=01");
    EXPECT_EQ(setChipTypeViaPic(m_comms, BOARD_KIND_RX2_PIC, m_text), 0);
    EXPECT_EQ(HostBytes().back().byte, 0x03);  // 01 02 and their sum
}

TEST(AdditiveChecksum, SumsBytesModulo256AndNothingForNoLength) {
    BYTE data[] = {0xF0, 0x20, 0x01};
    BYTE sum = 0xAA;
    additiveChecksum(data, 3, &sum);
    EXPECT_EQ(sum, 0x11);
    additiveChecksum(data, 0, &sum);
    EXPECT_EQ(sum, 0);
    additiveChecksum(data, -4, &sum);
    EXPECT_EQ(sum, 0);
}

}  // namespace
