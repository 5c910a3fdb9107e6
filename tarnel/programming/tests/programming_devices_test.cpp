// Each device-code class written, read, verified, erased and blank-checked through the programming
// thread, against the simulated programmer board, memory board and drive.
#include <gtest/gtest.h>

#include <algorithm>

#include "boards/memory_board.h"
#include "boards/programmer_board.h"
#include "programming_rig.h"
#include "protocol_rig.h"

namespace {

using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;
using programming_test::Count;
using programming_test::Describe;
using programming_test::Posted;
using programming_test::Values;
using programming_test::WithoutPositions;

typedef std::vector<std::string> Lines;

std::vector<BYTE> Pattern(size_t size, BYTE seed) {
    std::vector<BYTE> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<BYTE>(seed + i * 7);
    }
    return bytes;
}

class ProgrammingDevicesTest : public programming_test::ProgrammingRig {
protected:
    ProgrammerBoard& PutProgrammer(ProgrammerBoardOptions options = {}) {
        return Put(std::make_unique<ProgrammerBoard>(options));
    }
    // Write, read back into a zeroed buffer, verify: what was posted, and what was read.
    std::vector<Posted> RoundTrip(BYTE device, BYTE kind, std::vector<BYTE>* area,
                                  std::vector<BYTE>* back) {
        back->assign(area->size(), 0);
        std::vector<std::unique_ptr<JobRequest>> jobs;
        jobs.push_back(Job(kJobWrite, device, kind, area));
        jobs.push_back(Job(kJobRead, device, kind, back));
        jobs.push_back(Job(kJobVerify, device, kind, area));
        return Run(std::move(jobs));
    }
};

TEST_F(ProgrammingDevicesTest, BoardProgrammedChipsWriteReadAndVerifyTheirAreas) {
    for (BYTE device : {160, 161}) {
        SCOPED_TRACE(device);
        ProgrammerBoard& board = PutProgrammer();
        std::vector<BYTE> area = Pattern(40, device);
        std::vector<BYTE> back;
        std::vector<Posted> posted = RoundTrip(device, kMemoryCode, &area, &back);
        EXPECT_EQ(WithoutPositions(posted),
                  (Lines{"49", "6=40", "7", "46", "15=40", "16", "43", "52=40", "54", "35"}));
        EXPECT_EQ(back, area);
        EXPECT_EQ(std::vector<BYTE>(board.Memory(1).begin(), board.Memory(1).begin() + 40), area);
        // Write, read and verify each give a position per block and their end.
        EXPECT_EQ(Values(posted, kStatusPosition),
                  (std::vector<LPARAM>{16, 32, 40, 40, 16, 32, 40, 16, 32, 40, 40}));
        EXPECT_EQ(board.ChipType(), 1);
    }
}

TEST_F(ProgrammingDevicesTest, TheDataAreaOfTheBoardChipsIsKindFive) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(20, 3);
    std::vector<BYTE> back;
    std::vector<Posted> posted = RoundTrip(160, kMemoryData, &area, &back);
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"50", "6=20", "7", "47", "15=20", "16", "44", "52=20", "54", "35"}));
    EXPECT_EQ(back, area);
    EXPECT_EQ(board.Memory(5)[19], area[19]);
}

TEST_F(ProgrammingDevicesTest, VerifyPostsEachDifferingCellAndTheRunGoesOnToTheNextArea) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(32, 1);
    std::vector<BYTE> data = Pattern(8, 2);
    std::vector<std::unique_ptr<JobRequest>> writes;
    writes.push_back(Job(kJobWrite, 160, kMemoryCode, &area));
    writes.push_back(Job(kJobWrite, 160, kMemoryData, &data));
    Run(std::move(writes));
    board.Memory(1)[5] ^= 0xFF;
    board.Memory(1)[30] ^= 0xFF;
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobVerify, 160, kMemoryCode, &area));
    jobs.push_back(Job(kJobVerify, 160, kMemoryData, &data));
    std::vector<Posted> posted = Run(std::move(jobs));
    // Code cells are reported with area code 5 in the top byte, data cells with 1.
    EXPECT_EQ(WithoutPositions(posted), (Lines{"43", "52=32", "55=83886085", "55=83886110", "54=2",
                                               "36", "44", "52=8", "54", "35"}));
    board.Memory(5)[3] ^= 0xFF;
    jobs.push_back(Job(kJobVerify, 160, kMemoryData, &data));
    jobs.push_back(Job(kJobVerify, 160, kMemoryCode, &area));
    posted = Run(std::move(jobs));
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"44", "52=8", "55=16777219", "54=1", "36", "43", "52=32", "55=83886085",
                     "55=83886110", "54=2", "36"}));
}

TEST_F(ProgrammingDevicesTest, EraseAndBlankCheckOfABoardProgrammedChip) {
    ProgrammerBoard& board = PutProgrammer();
    board.Memory(2)[0] = 0x00;
    board.Memory(2)[1] = 0x01;
    std::vector<BYTE> area(0x2000, 0);
    std::unique_ptr<JobRequest> blank = Job(kJobBlankCheck, 160, kMemoryCode, &area);
    blank->startCell = 0x2000;  // the chip's code size
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(std::move(blank));
    jobs.push_back(Job(kJobErase, 160, kMemoryCode, &area));
    // The blank check counts words of the code area: 0x1000 cells, two of them used.
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              (Lines{"23", "14", "14", "37=4094", "24", "40=8192", "1"}));
    EXPECT_EQ(board.Memory(2)[0], 0xFF);
    // Each job begins with the chip's type; the blank-check packet asks for kind 2 and 0x1000
    // cells, and the set-type packet for no chip releases the board.
    std::vector<BYTE> sent = protocol_test::HostBytes(board.Log());
    const std::vector<BYTE> expected = {1, 1, 2, 4,    6, 2, 0x00, 0x10, 0xE4,
                                        2, 2, 0, 0xFC, 1, 1, 2,    4};
    EXPECT_EQ(sent, expected);
}

TEST_F(ProgrammingDevicesTest, TheKestrixBoardStartsOnAnRtsPulseAndNamesItsAreas) {
    ProgrammerBoardOptions options;
    options.kestrix = true;
    ProgrammerBoard& board = PutProgrammer(options);
    std::vector<BYTE> id = Pattern(16, 9);
    std::vector<BYTE> config = Pattern(8, 4);
    std::vector<BYTE> back(8, 0);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobWrite, 169, kMemoryCode, &id));
    jobs.push_back(Job(kJobWrite, 169, kMemoryData, &config));
    jobs.push_back(Job(kJobRead, 169, kMemoryData, &back));
    jobs.push_back(Job(kJobVerify, 169, kMemoryCode, &id));
    jobs.push_back(Job(kJobVerify, 169, kMemoryData, &config));
    std::vector<Posted> posted = Run(std::move(jobs));
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"60 'Write started ( Kestrix ID )...'", "6=16", "7",
                     "60 'Write started ( Kestrix CONFIG )...'", "6=8", "7",
                     "60 'Read started ( Kestrix CONFIG )...'", "15=8", "16",
                     "60 'Verify started ( Kestrix ID)...'", "52=16", "54", "35",
                     "60 'Verify started ( Kestrix CONFIG )...'", "52=8", "54", "35"}));
    EXPECT_EQ(back, config);
    // The configuration lies behind the 16 ID bytes, in the board's data kind.
    EXPECT_EQ(board.Memory(5)[16], config[0]);
    EXPECT_EQ(board.Memory(1)[15], id[15]);
    EXPECT_EQ(board.ChipType(), 11);
}

TEST_F(ProgrammingDevicesTest, TheKestrixBoardCannotBeErased) {
    ProgrammerBoardOptions options;
    options.kestrix = true;
    PutProgrammer(options);
    std::vector<BYTE> area(16, 0);
    EXPECT_EQ(Describe(Run(Job(kJobErase, 169, kMemoryCode, &area))),
              (Lines{"40=16", "59 'Erase Error'", "2"}));
}

TEST_F(ProgrammingDevicesTest, PicCodeTravelsInSwappedWordsAndCountsWords) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(64, 0x20);
    std::vector<BYTE> back;
    std::vector<Posted> posted = RoundTrip(9, kMemoryCode, &area, &back);
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"49", "6=32", "7", "46", "15=32", "16", "43", "52=32", "54", "35"}));
    EXPECT_EQ(back, area);
    // The chip holds each word high byte first.
    EXPECT_EQ(board.Memory(2)[0], area[1]);
    EXPECT_EQ(board.Memory(2)[1], area[0]);
    // Positions count words, as the range does: the write's blocks, its end, the read's two
    // 32-cell blocks, the verify's blocks and end.
    EXPECT_EQ(Values(posted, kStatusPosition),
              (std::vector<LPARAM>{8, 16, 24, 32, 32, 16, 32, 8, 16, 24, 32, 32}));
}

TEST_F(ProgrammingDevicesTest, PicDataCellsTravelInBytePairs) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(24, 0x40);
    std::vector<BYTE> back;
    std::vector<Posted> posted = RoundTrip(10, kMemoryData, &area, &back);
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"50", "6=24", "7", "47", "15=24", "16", "44", "52=24", "54", "35"}));
    EXPECT_EQ(back, area);
    EXPECT_EQ(board.Memory(1)[23], area[23]);
    EXPECT_EQ(board.ChipType(), 16);
}

TEST_F(ProgrammingDevicesTest, PicSixteenKeepsTheChipsCalibrationWord) {
    ProgrammerBoard& board = PutProgrammer();
    board.Memory(4)[12] = 0x34;  // the chip's word, high byte first
    board.Memory(4)[13] = 0x12;
    std::vector<BYTE> area = Pattern(16, 0x50);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobWrite, 9, kMemorySpecial, &area));
    jobs.push_back(Job(kJobVerify, 9, kMemorySpecial, &area));
    std::vector<Posted> posted = Run(std::move(jobs));
    EXPECT_EQ(WithoutPositions(posted), (Lines{"51", "6=8", "7", "45", "52=8", "54", "35"}));
    EXPECT_EQ(area[12], 0x12);
    EXPECT_EQ(area[13], 0x34);
    EXPECT_EQ(board.Memory(4)[12], 0x34);
}

TEST_F(ProgrammingDevicesTest, PicEighteenConfigurationIsMaskedInTheAreaItself) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area(16, 0xFF);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobWrite, 10, kMemorySpecial, &area));
    jobs.push_back(Job(kJobVerify, 10, kMemorySpecial, &area));
    std::vector<Posted> posted = Run(std::move(jobs));
    EXPECT_EQ(WithoutPositions(posted), (Lines{"51", "6=8", "7", "45", "52=8", "54", "35"}));
    const std::vector<BYTE> masked = {0x27, 0x00, 0x0F, 0x0F, 0x01, 0x00, 0x00, 0x85,
                                      0xC0, 0x0F, 0xE0, 0x0F, 0x40, 0x0F, 0x00, 0x00};
    std::vector<BYTE> expected = masked;
    expected[7] |= 0x04;
    expected[13] |= 0x0F;
    expected[12] |= 0x40;
    EXPECT_EQ(area, expected);
    EXPECT_EQ(board.Memory(4)[0], area[1]);
}

TEST_F(ProgrammingDevicesTest, PicCalibrationCellsNeverDifferInAVerify) {
    for (BYTE device : {9, 10}) {
        SCOPED_TRACE(device);
        ProgrammerBoard& board = PutProgrammer();
        std::vector<BYTE> area(16, 0);
        Run(Job(kJobWrite, device, kMemorySpecial, &area));
        board.Memory(4)[12] ^= 0x55;
        board.Memory(4)[13] ^= 0xAA;
        std::vector<Posted> posted = Run(Job(kJobVerify, device, kMemorySpecial, &area));
        EXPECT_EQ(Count(posted, kStatusMismatch), 0);
        EXPECT_EQ(Count(posted, kStatusVerifyDone), 1);
    }
}

TEST_F(ProgrammingDevicesTest, APicCodeWordWithOneWrongByteMarksBothItsCells) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(32, 0x60);
    Run(Job(kJobWrite, 9, kMemoryCode, &area));
    board.Memory(2)[6] ^= 0x01;  // the chip's high byte of word 3: the area's cell 7
    std::vector<Posted> posted = Run(Job(kJobVerify, 9, kMemoryCode, &area));
    const LPARAM code = 5 << 24;
    EXPECT_EQ(Values(posted, kStatusMismatch), (std::vector<LPARAM>{code | 7, code | 6, code | 7}));
    EXPECT_EQ(Values(posted, kStatusDifferences), (std::vector<LPARAM>{1}));
    // A special cell is reported by its word.
    board.Memory(4)[3] = 0x99;
    std::vector<BYTE> special(16, 0xFF);
    posted = Run(Job(kJobVerify, 9, kMemorySpecial, &special));
    EXPECT_EQ(Values(posted, kStatusMismatch), (std::vector<LPARAM>{(4 << 24) | 1}));
}

TEST_F(ProgrammingDevicesTest, PicWordsAtAnOddStartPairTheAreasCellsNotTheJobs) {
    // A .bin image at base 3: its cell i is the area's cell 3 + i, whose word partner is the
    // area's cell (3 + i) ^ 1. The chip holds each word high byte first, so the area's cell c
    // lands at the chip's byte c ^ 1; the halves of the first and last word outside the job are
    // padding.
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(10, 0x11);
    std::unique_ptr<JobRequest> write = Job(kJobWrite, 9, kMemoryCode, &area, nullptr, 3);
    Run(std::move(write));
    const std::vector<BYTE>& chip = board.Memory(2);
    for (size_t i = 0; i < area.size(); ++i) {
        EXPECT_EQ(chip[(3 + i) ^ 1], area[i]) << i;
    }
    EXPECT_EQ(chip[3], 0x3F);   // the word of the area's cells 2 and 3
    EXPECT_EQ(chip[12], 0x3F);  // the word of the area's cells 12 and 13
    EXPECT_EQ(chip[14], 0xFF);

    // Verify pairs as the write did: it finds nothing, then exactly the changed cell and the
    // job's cells of its word.
    std::vector<Posted> posted = Run(Job(kJobVerify, 9, kMemoryCode, &area, nullptr, 3));
    EXPECT_EQ(Values(posted, kStatusDifferences), (std::vector<LPARAM>{0}));
    board.Memory(2)[4] ^= 0x01;  // the area's cell 5: the job's cell 2
    posted = Run(Job(kJobVerify, 9, kMemoryCode, &area, nullptr, 3));
    const LPARAM code = 5 << 24;
    EXPECT_EQ(Values(posted, kStatusMismatch), (std::vector<LPARAM>{code | 2, code | 1, code | 2}));
    EXPECT_EQ(Values(posted, kStatusDifferences), (std::vector<LPARAM>{1}));
    board.Memory(2)[4] ^= 0x01;
    board.Memory(2)[2] ^= 0x01;  // the area's cell 3: the job's cell 0, alone in the job
    posted = Run(Job(kJobVerify, 9, kMemoryCode, &area, nullptr, 3));
    EXPECT_EQ(Values(posted, kStatusMismatch), (std::vector<LPARAM>{code | 0, code | 0}));
}

TEST_F(ProgrammingDevicesTest, PicMarksFromAnOddCellSendTheWholeWordOfTheirFirstCell) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(32, 0x70);
    std::vector<BYTE> marks(32, 1);
    std::fill(marks.begin(), marks.begin() + 5, 0);
    std::fill(marks.begin() + 19, marks.begin() + 21, 0);
    Run(Job(kJobWrite, 9, kMemoryCode, &area, &marks));
    const std::vector<BYTE>& chip = board.Memory(2);
    for (size_t c = 0; c < 4; ++c) {
        EXPECT_EQ(chip[c], 0xFF) << c;  // whole words without a marked cell stay as they were
    }
    for (size_t c = 4; c < area.size(); ++c) {
        EXPECT_EQ(chip[c ^ 1], area[c]) << c;
    }
    std::vector<Posted> posted = Run(Job(kJobVerify, 9, kMemoryCode, &area, &marks));
    EXPECT_EQ(Values(posted, kStatusDifferences), (std::vector<LPARAM>{0}));
    board.Memory(2)[22] ^= 0x01;  // the area's cell 23, marked, in a block from cell 21
    posted = Run(Job(kJobVerify, 9, kMemoryCode, &area, &marks));
    const LPARAM code = 5 << 24;
    EXPECT_EQ(Values(posted, kStatusMismatch),
              (std::vector<LPARAM>{code | 23, code | 22, code | 23}));
}

TEST_F(ProgrammingDevicesTest, PicErasePostsItsChipsTextBeforeOrInPlaceOfTheStartStatus) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area(4096, 0);
    board.Memory(2)[0] = 0;
    EXPECT_EQ(Describe(Run(Job(kJobErase, 9, kMemoryCode, &area))),
              (Lines{"60 'Erase PIC16F877A...'", "40=2048", "1"}));
    EXPECT_EQ(board.Memory(2)[0], 0xFF);
    EXPECT_EQ(Describe(Run(Job(kJobErase, 10, kMemoryCode, &area))),
              (Lines{"60 'Erase PIC18F4xx...'", "1"}));
}

TEST_F(ProgrammingDevicesTest, TheSerialEepromNeedsNoModeAndCannotBeErased) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<BYTE> area = Pattern(48, 0x11);
    std::vector<BYTE> back;
    std::vector<Posted> posted = RoundTrip(162, kMemoryData, &area, &back);
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"50", "6=48", "7", "47", "15=48", "16", "44", "52=48", "54", "35"}));
    EXPECT_EQ(back, area);
    EXPECT_EQ(board.Memory(3)[47], area[47]);
    EXPECT_EQ(board.SetTypeTries(), 0);
    EXPECT_EQ(Describe(Run(Job(kJobErase, 162, kMemoryData, &area))),
              (Lines{"41=48", "59 'Erase Error'", "2"}));
}

TEST_F(ProgrammingDevicesTest, MemoryBoardAndDriveAt115200Baud) {
    for (bool drive : {false, true}) {
        SCOPED_TRACE(drive);
        boards::MemoryBoardOptions options;
        options.drive = drive;
        options.eraseMicros = 20000;
        boards::MemoryBoard& board = Put(std::make_unique<boards::MemoryBoard>(options));
        BYTE device = drive ? 254 : 253;
        std::vector<BYTE> area = Pattern(1024, 0x21);
        std::vector<BYTE> back;
        std::vector<std::unique_ptr<JobRequest>> jobs;
        jobs.push_back(Job(kJobErase, device, kMemoryData, &area));
        std::vector<Posted> posted = Run(std::move(jobs));
        EXPECT_EQ(Describe(posted), (Lines{"41=1024", "1"}));
        posted = RoundTrip(device, kMemoryData, &area, &back);
        EXPECT_EQ(WithoutPositions(posted),
                  (Lines{"50", "6=1024", "7", "47", "15=1024", "16", "44", "52=1024", "54", "35"}));
        EXPECT_EQ(back, area);
        EXPECT_EQ(board.Memory()[1023], area[1023]);
        // The run opens at 19200 baud; the resynchronisation goes on at 115200.
        std::vector<std::string> events = protocol_test::LineEvents(board.Log());
        EXPECT_EQ(events[1], "settings 19200 8N1");
        EXPECT_NE(std::find(events.begin(), events.end(), "settings 115200 8N1"), events.end());
        if (drive) {
            // Whole sectors only: two of them.
            ASSERT_EQ(board.Writes().size(), 2u);
            EXPECT_EQ(board.Writes()[1].address, 512u);
        }
    }
}

}  // namespace
