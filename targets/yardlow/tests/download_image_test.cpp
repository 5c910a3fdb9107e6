// Kernel and program into each arrangement of the debug board: memory equal to the image, boot
// vector and status byte, loader mode left, the kernel started and its version checked.
#include <gtest/gtest.h>

#include <algorithm>

#include "board_fixture.h"
#include "boardloader/kernel_link.h"
#include "boards/corvanec_boards.h"
#include "recorded_lines.h"

namespace {

using boardtest::OnBoard;
using boardtest::RecordedLines;
using Lines = std::vector<std::string>;

std::vector<BYTE> Image(size_t size) {
    std::vector<BYTE> image(size);
    for (size_t i = 0; i < size; ++i) {
        image[i] = static_cast<BYTE>(i * 13 + 5);
    }
    return image;
}

bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class Download : public OnBoard {
protected:
    void Detected(const std::string& kind, const std::string& options) {
        Attach(kind, options);
        comm_settings settings = {};
        settings.port = boardtest::kCom - 1;
        settings.baud = 19200;
        settings.dataBits = 8;
        m_comms.SetCommPort(&settings);
        ASSERT_EQ(m_link.DetectBoard(m_comms), 0);
        m_lines.m_lines.clear();
        m_board->Log().Clear();
    }
    const std::map<uint32_t, uint8_t>& Memory() {
        return dynamic_cast<boards::ProgramStore&>(*m_board).LoadedCells();
    }
    void ExpectMemoryHolds(unsigned start, const std::vector<BYTE>& image) {
        for (size_t i = 0; i < image.size(); ++i) {
            auto found = Memory().find(static_cast<uint32_t>(start + i));
            ASSERT_NE(found, Memory().end()) << "address " << start + i;
            ASSERT_EQ(found->second, image[i]) << "address " << start + i;
        }
    }
    // How many program-data records (type 00) the board received since the log was cleared.
    size_t DataRecords() {
        std::string text = HostText();
        size_t count = 0;
        for (size_t at = text.find(':'); at != std::string::npos; at = text.find(':', at + 1)) {
            count += text.compare(at + 7, 2, "00") == 0 ? 1 : 0;
        }
        return count;
    }

    RecordedLines m_lines;
    CKernelLink m_link{m_lines};
};

TEST_F(Download, AnAt89s53IsWrittenThroughPicFramesAndItsKernelStarts) {
    Detected("corvanec", "baud=19200 chip=at89s53");
    std::vector<BYTE> image = Image(100);
    ASSERT_EQ(m_link.DownloadImage(m_comms, 0x0000, 100, image.data()), 0);
    ExpectMemoryHolds(0, image);
    EXPECT_EQ(m_lines.m_lines,
              Lines({"Downloading '100' bytes to the board...", "Download complete...",
                     "Setting board to RUN mode", "Kernel version: V1.06"}));
    EXPECT_TRUE(m_comms.IsInitialized());
    EXPECT_FALSE(m_board->Rts());
    EXPECT_EQ(BoardAs<boards::CorvanecBoard>().CurrentMode(), boards::BoardPic::Mode::Run);
}

TEST_F(Download, TheDirectBootLoaderGetsEveryChunkThatDiffersAndTheBootVector) {
    Detected("corvanec2", "isp-max-baud=57600");
    std::vector<BYTE> image = Image(600);
    ASSERT_EQ(m_link.DownloadImage(m_comms, 0x0100, 600, image.data()), 0);
    ExpectMemoryHolds(0x0100, image);
    EXPECT_EQ(DataRecords(), 38u);  // 37 of 16 bytes and one of 8
    const Lines& lines = m_lines.m_lines;
    EXPECT_TRUE(Has(lines, "Downloaded 512 of 600 bytes...")) << lines.size();
    EXPECT_EQ(
        Lines(lines.end() - 6, lines.end()),
        Lines({"Programming Boot Vector(to FC) and Status Byte(to 00)",
               "Success Special Bytes Programming", "Deactivate loader mode",
               "Download complete...", "Setting board to RUN mode", "Kernel version: V1.06"}));
    auto& board = BoardAs<boards::Corvanec2Board>();
    EXPECT_EQ(board.BootLoader().StatusByte(), 0x00);
    EXPECT_TRUE(board.Running());

    // The same image again: every chunk reads back equal, nothing is written, the boot vector
    // and status byte are only checked.
    ASSERT_EQ(m_link.DetectBoard(m_comms), 0);
    m_lines.m_lines.clear();
    m_board->Log().Clear();
    ASSERT_EQ(m_link.DownloadImage(m_comms, 0x0100, 600, image.data()), 0);
    EXPECT_EQ(DataRecords(), 0u);
    EXPECT_TRUE(Has(m_lines.m_lines, "Unchanged Boot Vector(FC) and Status Byte(00)"));
}

TEST_F(Download, AChunkThatReadsBackDifferentIsWrittenAgain) {
    Detected("corvanec2", "bad-read=0x0123");
    std::vector<BYTE> image = Image(64);
    ASSERT_EQ(m_link.DownloadImage(m_comms, 0x0100, 64, image.data()), 0);
    ASSERT_EQ(m_link.DetectBoard(m_comms), 0);
    m_board->Log().Clear();
    ASSERT_EQ(m_link.DownloadImage(m_comms, 0x0100, 64, image.data()), 0);
    EXPECT_EQ(DataRecords(), 1u);
    EXPECT_NE(HostText().find(":10012000"), std::string::npos);
}

TEST_F(Download, TheBootLoaderBehindThePicIsLeftThroughThePic) {
    Detected("corvanec", "baud=19200 isp-max-baud=38400");
    std::vector<BYTE> image = Image(40);
    ASSERT_EQ(m_link.DownloadImage(m_comms, 0x0000, 40, image.data()), 0);
    ExpectMemoryHolds(0, image);
    EXPECT_EQ(BoardAs<boards::CorvanecBoard>().CurrentMode(), boards::BoardPic::Mode::Run);
    // Leaving: the port back at 19200, the 'R' to the PIC and the RTS pulse before run mode.
    std::string events = m_board->Log().Events();
    size_t leave = events.find("settings 19200 8N1\n");
    ASSERT_NE(leave, std::string::npos) << events;
    size_t r = events.find("rts 1\nhost> 52 'R'\nrts 0\n", leave);
    ASSERT_NE(r, std::string::npos) << events;
    EXPECT_NE(events.find("rts 1\nrts 0\npurge rx\nhost> E4\nhost> E4\n", r), std::string::npos)
        << events;
}

TEST_F(Download, AnOldKernelEndsTheDownloadWith1AndThePortClosed) {
    Detected("corvanec", "baud=19200 chip=at89s53 kernel=5");
    std::vector<BYTE> image = Image(8);
    EXPECT_EQ(m_link.DownloadImage(m_comms, 0x0000, 8, image.data()), 1);
    EXPECT_EQ(Lines(m_lines.m_lines.end() - 3, m_lines.m_lines.end()),
              Lines({"!!!! Old kernel version: V1.05 !!!!",
                     "Please use kernel version V1.06 or later", "Kernel version: V1.05"}));
    EXPECT_FALSE(m_comms.IsInitialized());
}

TEST_F(Download, ANoKernelAnswerEndsWithTheReadsCodeAfterLeavingAgain) {
    Detected("corvanec2", "kernel-baud=9600");
    std::vector<BYTE> image = Image(8);
    EXPECT_EQ(m_link.DownloadImage(m_comms, 0x0000, 8, image.data()), COMMS_READ_TIMEOUT);
    const Lines& lines = m_lines.m_lines;
    EXPECT_EQ(
        Lines(lines.end() - 3, lines.end()),
        Lines({"Setting board to RUN mode", "Deactivate loader mode", "Download complete..."}));
    EXPECT_FALSE(m_comms.IsInitialized());
}

TEST_F(Download, AChunkThatFailsEndsTheDownloadWith2143AndThePortClosed) {
    Detected("corvanec2", "");
    ASSERT_TRUE(w32test::vport::FailNext(boardtest::kCom, w32test::vport::CallKind::Write, 2,
                                         ERROR_GEN_FAILURE));
    std::vector<BYTE> image = Image(32);
    EXPECT_EQ(m_link.DownloadImage(m_comms, 0x0000, 32, image.data()), LDR_ERR_DOWNLOAD);
    EXPECT_EQ(m_lines.m_lines,
              Lines({"Downloading '32' bytes to the board...", "*** Error Command Line ***",
                     "Error downloading program, ec=2143", "Deactivate loader mode",
                     "Download complete..."}));
    EXPECT_FALSE(m_comms.IsInitialized());
}

TEST_F(Download, AKind3BlockPast3000IsRefused) {
    Detected("corvanec", "baud=19200 chip=at89s53");
    std::vector<BYTE> image = Image(0x40);
    EXPECT_EQ(m_link.DownloadImage(m_comms, 0x2FE0, 0x40, image.data()), LDR_ERR_DOWNLOAD);
    EXPECT_TRUE(Has(m_lines.m_lines, "Error downloading program, ec=2143"));
    ExpectMemoryHolds(0x2FE0, std::vector<BYTE>(image.begin(), image.begin() + 0x20));
}

TEST_F(Download, WithTheDownloadFlagOffOnlyTheBootVectorIsChecked) {
    Detected("corvanec2", "boot-vector=0xFC status-byte=0");
    m_link.SetDownloadFlag(0);
    std::vector<BYTE> image = Image(32);
    ASSERT_EQ(m_link.DownloadImage(m_comms, 0x0000, 32, image.data()), 0);
    EXPECT_TRUE(Memory().empty());
    EXPECT_EQ(m_lines.m_lines.front(), "Unchanged Boot Vector(FC) and Status Byte(00)");
}

TEST_F(Download, LeavingLoaderModeDependsOnTheKind) {
    Detected("corvanec", "baud=19200 chip=at89s53");
    EXPECT_EQ(m_link.LeaveLoaderMode(m_comms), 0);
    EXPECT_TRUE(m_lines.m_lines.empty());
    EXPECT_TRUE(m_board->Log().Events().empty());
}

}  // namespace
