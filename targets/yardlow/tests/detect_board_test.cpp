// Board detection against each arrangement of the debug board: the lines it prints, the kind and
// rate it finds, and how each failure ends.
#include <gtest/gtest.h>

#include "board_fixture.h"
#include "boardloader/kernel_link.h"
#include "boards/corvanec_boards.h"
#include "recorded_lines.h"
#include "w32/errors.h"

namespace {

using boardtest::OnBoard;
using boardtest::RecordedLines;
using Lines = std::vector<std::string>;

const Lines kOpening = {"Setting board to PROGRAM mode...", "Waiting for board to initialize...",
                        "Detecting microcontroller type and baud rate..."};

Lines Join(const Lines& a, const Lines& b) {
    Lines all = a;
    all.insert(all.end(), b.begin(), b.end());
    return all;
}

class Detection : public OnBoard {
protected:
    void SetUp() override {
        // The port as a target leaves it before detection: set up, not open.
        m_settings.port = boardtest::kCom - 1;
        m_settings.baud = 9600;
        m_settings.dataBits = 8;
        m_comms.SetCommPort(&m_settings);
        m_comms.Deinstall();
    }
    int Detect() { return m_link.DetectBoard(m_comms); }
    DWORD PortBaud() {
        comm_settings settings = {};
        m_comms.GetCommPort(&settings);
        return settings.baud;
    }

    comm_settings m_settings = {};
    RecordedLines m_lines;
    CKernelLink m_link{m_lines};
};

TEST_F(Detection, ABootLoaderOnTheLineIsFoundAtItsFastestRate) {
    Attach("corvanec2", "isp-max-baud=38400");
    ASSERT_EQ(Detect(), 0);
    EXPECT_EQ(m_link.GetBoardKind(), BOARD_KIND_RX2_DIRECT);
    EXPECT_EQ(m_lines.m_lines,
              Join(kOpening, {" ", "T89C51Rx2 DETECTED ON CORVANEC2 BOARD", "Trying 115200 baud...",
                              "Trying 57600 baud...", "Trying 38400 baud...",
                              "DOWNLOAD BAUD RATE IS AUTO-DETECTED AS 38400 BAUD", " "}));
    EXPECT_EQ(PortBaud(), 38400u);
    EXPECT_TRUE(m_comms.IsInitialized());
    EXPECT_TRUE(m_board->Rts());
}

TEST_F(Detection, APicThatServesItsChipIsKind3AtThePortsRate) {
    Attach("corvanec", "baud=19200 chip=at89s53");
    ASSERT_EQ(Detect(), 0);
    EXPECT_EQ(m_link.GetBoardKind(), BOARD_KIND_S53_PIC);
    EXPECT_EQ(m_lines.m_lines,
              Join(kOpening, {"Trying 19200 baud...", "PIC Version=1.05", " ",
                              "AT89S53 OR AT89S8252 DETECTED ON CORVANEC BOARD",
                              "DOWNLOAD BAUD RATE IS AUTO-DETECTED AS 19200 BAUD", " "}));
    EXPECT_TRUE(m_board->Rts());
}

TEST_F(Detection, AnOlderPicIsFoundAt9600) {
    Attach("corvanec", "chip=at89s53");
    ASSERT_EQ(Detect(), 0) << ::testing::PrintToString(m_lines.m_lines) << m_board->Log().Text();
    EXPECT_EQ(m_lines.m_lines,
              Join(kOpening, {"Trying 19200 baud...", "Trying 9600 baud...", "PIC Version=1.05",
                              " ", "AT89S53 OR AT89S8252 DETECTED ON CORVANEC BOARD",
                              "DOWNLOAD BAUD RATE IS AUTO-DETECTED AS 9600 BAUD", " "}));
    EXPECT_EQ(PortBaud(), 9600u);
}

TEST_F(Detection, ABootLoaderBehindThePicIsSearchedThroughThePassThrough) {
    Attach("corvanec", "baud=19200 isp-max-baud=57600");
    ASSERT_EQ(Detect(), 0);
    EXPECT_EQ(m_link.GetBoardKind(), BOARD_KIND_RX2_PIC);
    EXPECT_EQ(m_lines.m_lines,
              Join(kOpening, {"Trying 19200 baud...", "PIC Version=1.05", " ",
                              "T89C51Rx2 DETECTED ON CORVANEC BOARD", "Trying 115200 baud...",
                              "Trying 57600 baud...",
                              "DOWNLOAD BAUD RATE IS AUTO-DETECTED AS 57600 BAUD", " "}));
    EXPECT_EQ(PortBaud(), 57600u);
    EXPECT_EQ(BoardAs<boards::CorvanecBoard>().CurrentMode(), boards::BoardPic::Mode::PassThrough);
}

TEST_F(Detection, ABootLoaderBehindThePicThatFollowsNoRateIsReported) {
    Attach("corvanec", "baud=19200 isp-max-baud=1200");
    EXPECT_EQ(Detect(), LDR_ERR_DOWNLOAD);
    const Lines& lines = m_lines.m_lines;
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(Lines(lines.end() - 9, lines.end()),
              Lines({"Trying 115200 baud...", "Trying 57600 baud...", "Trying 38400 baud...",
                     "Trying 28800 baud...", "Trying 19200 baud...", "Trying 9600 baud...",
                     "Trying 4800 baud...", "ERROR: T89C51Rx2 not detected on CORVANEC board",
                     "NOTE: Please check T89C51Rx2 on CORVANEC board"}));
}

TEST_F(Detection, APicThatTakesNoTypeCannotEnterTheLoader) {
    Attach("corvanec", "baud=19200 pic-fault=bad-status pic-frame=1");
    EXPECT_EQ(Detect(), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(m_lines.m_lines, Join(kOpening, {"Trying 19200 baud...", "PIC Version=1.05",
                                               "ERROR: Can not enter to Loader Mode of T89C51Rx2",
                                               "NOTE: Please check PIC version (1.05 or later)"}));
}

TEST_F(Detection, ASilentBoardIsNotDetected) {
    Attach("corvanec", "silent-at=1");
    EXPECT_EQ(Detect(), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(m_lines.m_lines,
              Join(kOpening, {"Trying 19200 baud...", "Trying 9600 baud...",
                              "ERROR: CORVANEC board not detected",
                              "NOTE: Please check COM port under Tools->Options->Loader",
                              "NOTE: Please check power and communication cables"}));
}

TEST_F(Detection, APortThatDoesNotOpenIsNamed) {
    EXPECT_EQ(Detect(), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(m_lines.m_lines, Lines({"WARNING: Can not open COM7",
                                      "Please check COM port under Tools->Options->Loader"}));
}

TEST_F(Detection, AFailedProgramModeSaysWhyByTheSystemsError) {
    struct Case {
        DWORD error;
        std::string line;
    };
    char system[256];
    systemErrorText(ERROR_GEN_FAILURE, system, sizeof system);
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, "Error changing to Program Mode, ec=1041, COM Port may not exist"},
        {ERROR_ACCESS_DENIED,
         "Error changing to Program Mode, ec=1041, COM Port may be in use by another program"},
        {ERROR_GEN_FAILURE,
         "Error changing to Program Mode, ec=1041, WIN32 Error=31 " + std::string(system)}};
    Attach("corvanec", "");
    for (const Case& c : cases) {
        m_lines.m_lines.clear();
        ASSERT_TRUE(
            w32test::vport::FailNext(boardtest::kCom, w32test::vport::CallKind::Lines, 1, c.error));
        EXPECT_EQ(Detect(), LDR_ERR_PROGRAM_MODE);
        EXPECT_EQ(m_lines.m_lines, Lines({"Setting board to PROGRAM mode...", c.line}));
    }
}

TEST_F(Detection, AFailedPurgeEndsIt) {
    Attach("corvanec", "");
    ASSERT_TRUE(w32test::vport::FailNext(boardtest::kCom, w32test::vport::CallKind::Purge, 1,
                                         ERROR_GEN_FAILURE));
    EXPECT_EQ(Detect(), LDR_ERR_PURGE);
    EXPECT_EQ(m_lines.m_lines.back(), "Error purging receive buffer, ec=1017");
}

}  // namespace
