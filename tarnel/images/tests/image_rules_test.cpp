// Tests of the image documents' rules without windows: areas, bounds, fills, mismatch and go-to
// cells, the jobs a request becomes, and how a .hex image is saved.
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "tarnel/images/hex_writer.h"
#include "tarnel/images/image_areas.h"
#include "tarnel/images/image_jobs.h"
#include "tarnel/images/image_save.h"

namespace {

using test_chips::kAt89S53;
using test_chips::kAt89S8252;
using test_chips::kMemoryBoard;
using test_chips::kPic16;
using test_chips::kPic18F452;

ImageArea AreaOf(size_t size, uint8_t mark) {
    ImageArea area;
    area.Allocate(size);
    std::fill(area.marks.begin(), area.marks.end(), mark);
    return area;
}

TEST(ImageAreas, ChipsHaveTheAreasOfTheirRows) {
    AreaChoice pic = ChipAreas(kPic16);
    EXPECT_TRUE(pic.data && pic.code && pic.special);
    AreaChoice at89s53 = ChipAreas(kAt89S53);
    EXPECT_TRUE(at89s53.code);
    EXPECT_EQ(at89s53.Count(), 1);
    EXPECT_EQ(ChipAreas("").Count(), 0);
}

TEST(ImageAreas, LengthsAreBoundedByTheLargestAreaOfTheTable) {
    EXPECT_EQ(LargestAreaSize(), 0x80000u);
    EXPECT_FALSE(IsNewBinLengthAllowed(0));
    EXPECT_TRUE(IsNewBinLengthAllowed(1));
    EXPECT_TRUE(IsNewBinLengthAllowed(0x80000));
    EXPECT_FALSE(IsNewBinLengthAllowed(0x80001));
    EXPECT_FALSE(IsNewBinLengthAllowed(0xFFFFFFFFu));
    EXPECT_TRUE(IsAreaLengthAllowed(0));
    EXPECT_TRUE(IsAreaLengthAllowed(0x80000));
    EXPECT_FALSE(IsAreaLengthAllowed(0x80001));
}

TEST(ImageAreas, FillCutsTheRangeToTheAreaAndFillsNothingWhenFirstPassesLast) {
    ImageArea area = AreaOf(16, kMarkEmpty);
    EXPECT_EQ(FillCells(area, 10, 1000, 0xAB, false), 6);
    EXPECT_EQ(area.cells[15], 0xAB);
    EXPECT_EQ(area.cells[9], 0);
    EXPECT_EQ(area.marks[15], kMarkEmpty);  // a .bin fill leaves the marks
    EXPECT_EQ(FillCells(area, -5, 1, 0x11, false), 2);
    EXPECT_EQ(area.cells[0], 0x11);
    EXPECT_EQ(FillCells(area, 9, 3, 0x22, false), 0);
    EXPECT_EQ(area.cells[5], 0);
    EXPECT_EQ(FillCells(area, 20, 30, 0x22, false), 0);
}

TEST(ImageAreas, AHexFillMarksEmptyCellsAsDataAndKeepsMismatches) {
    ImageArea area = AreaOf(4, kMarkEmpty);
    area.marks[2] = kMarkMismatch;
    FillCells(area, 0, 3, 0x5A, true);
    EXPECT_EQ(area.marks[0], kMarkData);
    EXPECT_EQ(area.marks[2], kMarkMismatch);
    EXPECT_EQ(area.cells[2], 0x5A);
}

TEST(ImageAreas, MismatchesMarkByteCellsOnceAndWordsTwice) {
    EXPECT_EQ(BinMismatchCells(kMemoryData, 7), std::vector<int>({7}));
    EXPECT_EQ(BinMismatchCells(kMemoryCodeByteCell, 7), std::vector<int>({7}));
    EXPECT_EQ(BinMismatchCells(kMemoryCode, 7), std::vector<int>({14, 15}));
    EXPECT_EQ(BinMismatchCells(kMemorySpecial, 0), std::vector<int>({0, 1}));

    AreaCells code = HexMismatchCells(kMemoryCode, 5);
    EXPECT_EQ(code.area, 0);
    EXPECT_EQ(code.cells, std::vector<int>({10, 11}));
    EXPECT_EQ(HexMismatchCells(kMemoryData, 5).area, 1);
    EXPECT_EQ(HexMismatchCells(kMemoryData, 5).cells, std::vector<int>({5}));
    EXPECT_EQ(HexMismatchCells(kMemorySpecial, 3).area, 2);
    EXPECT_EQ(HexMismatchCells(kMemoryCodeByteCell, 5).cells, std::vector<int>({5}));
    EXPECT_EQ(HexMismatchCells(3, 5).area, -1);
    EXPECT_TRUE(HexMismatchCells(3, 5).cells.empty());
}

TEST(ImageAreas, GoToCountsWordsInWordAreasAndCellsElsewhere) {
    EXPECT_EQ(GoToCellOf(1, 0x20, false), 0x20);
    EXPECT_EQ(GoToCellOf(2, 3, false), 6);
    EXPECT_EQ(GoToCellOf(0, 0x100, true), 0x200);
    EXPECT_EQ(GoToCellOf(0, 0x100, false), 0x100);
    EXPECT_EQ(GoToCellOf(2, INT32_MAX, false), INT32_MAX);  // no overflow: clamped by the view
}

TEST(BinJobs, OnlyAChipWithOneAreaAndNoAskingTakesItsAreaItself) {
    MemoryKind kind = kMemoryData;
    EXPECT_TRUE(SingleDestination(ChipAreas(kAt89S53), false, kind));
    EXPECT_EQ(kind, kMemoryCode);
    EXPECT_FALSE(SingleDestination(ChipAreas(kAt89S53), true, kind));
    EXPECT_FALSE(SingleDestination(ChipAreas(kPic16), false, kind));
    EXPECT_TRUE(SingleDestination(ChipAreas(kMemoryBoard), false, kind));
    EXPECT_EQ(kind, kMemoryData);
}

TEST(BinJobs, AnOddImageIsRefusedForCodeButGoesToData) {
    BinJobPlan code = PlanBinJob(kAt89S8252, kMemoryCode, 5, 0, "written");
    EXPECT_EQ(code.outcome, BinJobPlan::Outcome::kRefused);
    EXPECT_EQ(code.text, "File size should be aligned to the word.\nOne cell contains two bytes.");
    BinJobPlan data = PlanBinJob(kAt89S8252, kMemoryData, 5, 0, "written");
    EXPECT_EQ(data.outcome, BinJobPlan::Outcome::kQueue);
    EXPECT_EQ(data.size, 5u);
}

TEST(BinJobs, AnImagePastTheAreaAsksAndAYesShortensTheJobToTheAreaLessTheBase) {
    BinJobPlan data = PlanBinJob(kAt89S8252, kMemoryData, 0x900, 0x10, "written");
    EXPECT_EQ(data.outcome, BinJobPlan::Outcome::kAskRange);
    EXPECT_EQ(data.text, "Only 0010h-07FFh cells will be written");
    EXPECT_EQ(data.size, 0x7F0u);

    BinJobPlan words = PlanBinJob(kPic16, kMemorySpecial, 0x10, 0x0C, "verified");
    EXPECT_EQ(words.outcome, BinJobPlan::Outcome::kAskRange);
    EXPECT_EQ(words.text, "Only 000Ch-000Fh cells will be verified");
    EXPECT_EQ(words.size, 4u);  // the area's last four bytes, never more than it holds

    BinJobPlan last = PlanBinJob(kAt89S8252, kMemoryData, 2, 0x7FF, "written");
    EXPECT_EQ(last.text, "Only 07FFh cell will be written");
    EXPECT_EQ(last.size, 1u);

    BinJobPlan fits = PlanBinJob(kAt89S8252, kMemoryData, 0x800, 0, "written");
    EXPECT_EQ(fits.outcome, BinJobPlan::Outcome::kQueue);
}

TEST(BinJobs, AWordAreaIsMeasuredInBytesLikeTheTableLengths) {
    // Code images between the area's length and twice it used to pass without the question.
    BinJobPlan twice = PlanBinJob(kPic16, kMemoryCode, 0x6000, 0, "written");
    EXPECT_EQ(twice.outcome, BinJobPlan::Outcome::kAskRange);
    EXPECT_EQ(twice.text, "Only 0000h-3FFFh cells will be written");
    EXPECT_EQ(twice.size, 0x4000u);
    BinJobPlan full = PlanBinJob(kPic16, kMemoryCode, 0x4000, 0, "written");
    EXPECT_EQ(full.outcome, BinJobPlan::Outcome::kQueue);
    EXPECT_EQ(full.size, 0x4000u);
    BinJobPlan at89 = PlanBinJob(kAt89S8252, kMemoryCode, 0x2002, 0x100, "written");
    EXPECT_EQ(at89.outcome, BinJobPlan::Outcome::kAskRange);
    EXPECT_EQ(at89.size, 0x1F00u);
}

TEST(BinJobs, AYesAtAnOddBaseOfAPicWordAreaSendsWholeWordsOnly) {
    BinJobPlan odd = PlanBinJob(kPic16, kMemorySpecial, 0x10, 0x0B, "written");
    EXPECT_EQ(odd.outcome, BinJobPlan::Outcome::kAskRange);
    EXPECT_EQ(odd.text, "Only 000Bh-000Fh cells will be written");
    EXPECT_EQ(odd.size, 4u);  // five bytes left, the part word dropped
    BinJobPlan code = PlanBinJob(kPic18F452, kMemoryCode, 0x10, 0x7FF3, "written");
    EXPECT_EQ(code.size, 0xCu);
    // The data area of a PIC and the code area of other chips take the bytes as they are.
    BinJobPlan data = PlanBinJob(kPic16, kMemoryData, 0x10, 0xFB, "written");
    EXPECT_EQ(data.size, 5u);
    BinJobPlan at89 = PlanBinJob(kAt89S8252, kMemoryCode, 0x10, 0x1FF3, "written");
    EXPECT_EQ(at89.size, 0xDu);
}

TEST(BinJobs, UnknownKindsAndBasesOutsideTheAreaAreRefused) {
    BinJobPlan kind = PlanBinJob(kAt89S8252, 3, 4, 0, "written");
    EXPECT_EQ(kind.outcome, BinJobPlan::Outcome::kRefused);
    EXPECT_EQ(kind.text, "CBinDoc::VerifyChip (Unknown Memory Type)");
    BinJobPlan base = PlanBinJob(kAt89S8252, kMemoryData, 4, 0x800, "written");
    EXPECT_EQ(base.outcome, BinJobPlan::Outcome::kRefused);
    EXPECT_EQ(base.text, "Last location = 2047 BaseAddres = 2048");
    BinJobPlan absent = PlanBinJob(kAt89S53, kMemoryData, 4, 0, "written");
    EXPECT_EQ(absent.outcome, BinJobPlan::Outcome::kRefused);
}

TEST(HexJobs, An8051ChipWritesItsCodeAreaWithoutAsking) {
    AreaChoice areas = ChipAreas(kAt89S53);
    EXPECT_FALSE(HexAsksDestination(areas, true));
    EXPECT_EQ(HexJobKinds(HexDefaultWriteAreas(areas)), std::vector<MemoryKind>({kMemoryCode}));
}

TEST(HexJobs, APicChipAsksAndWithoutAskingWritesCodeAndDataButNotSpecial) {
    AreaChoice areas = ChipAreas(kPic18F452);
    EXPECT_TRUE(HexAsksDestination(areas, true));
    EXPECT_FALSE(HexAsksDestination(areas, false));
    EXPECT_EQ(HexJobKinds(HexDefaultWriteAreas(areas)),
              std::vector<MemoryKind>({kMemoryCode, kMemoryData}));
    EXPECT_EQ(HexJobKinds(areas),
              std::vector<MemoryKind>({kMemoryCode, kMemoryData, kMemorySpecial}));
    AreaChoice onlySpecial;
    onlySpecial.special = true;
    EXPECT_EQ(HexJobKinds(onlySpecial), std::vector<MemoryKind>({kMemorySpecial}));
}

TEST(HexSave, AMemoryBoardImageIsTooLongForRecords) {
    MemoryImage board = BlankImageOf(kMemoryBoard);
    EXPECT_TRUE(NeedsBinSave(board));
    EXPECT_FALSE(BinSaveDropsAreas(board));
    MemoryImage rd2 = BlankImageOf(test_chips::kP89C51Rd2);  // exactly 0x10000: still records
    EXPECT_FALSE(NeedsBinSave(rd2));
}

TEST(HexSave, ARawSaveWarnsOnlyWhenCodeOrSpecialCellsHoldData) {
    MemoryImage image;
    CreateBlankImage(image, {0x20000, 0x100, 0}, kDeviceAt89S8252);
    EXPECT_TRUE(NeedsBinSave(image));
    EXPECT_FALSE(BinSaveDropsAreas(image));  // the code area holds no data yet
    image.code.marks[7] = kMarkData;
    EXPECT_TRUE(BinSaveDropsAreas(image));
    MemoryImage pic = BlankImageOf(kPic16);
    EXPECT_TRUE(BinSaveDropsAreas(pic));
}

TEST(HexSave, TheRawSaveChangesOnlyTheFileNamesExtension) {
    EXPECT_EQ(BinSavePath("C:\\images\\board.hex"), "C:\\images\\board.BIN");
    EXPECT_EQ(BinSavePath("C:\\my.images\\board"), "C:\\my.images\\board");
    EXPECT_EQ(BinSavePath("C:\\my.images\\board.v2.hex"), "C:\\my.images\\board.v2.BIN");
    EXPECT_EQ(BinSavePath("/tmp/a.b/c"), "/tmp/a.b/c");
    EXPECT_EQ(BinSavePath("board"), "board");
    EXPECT_EQ(BinSavePath("C:.hex"), "C:.BIN");
}

TEST(HexSave, TheProposedNameIsTheTitleCutAtTheFirstCharacterNoFileNameTakes) {
    EXPECT_EQ(ProposedSaveName("Hex File1", ".hex"), "Hex.hex");
    EXPECT_EQ(ProposedSaveName("image#2", ".BIN"), "image.BIN");
    EXPECT_EQ(ProposedSaveName("plain", ".hex"), "plain.hex");
}

TEST(HexSave, FormatChoicesMapToTheDocumentsFormatNumbers) {
    EXPECT_EQ(HexFormatOfChoice(0), kHexFormatIntel);
    EXPECT_EQ(HexFormatOfChoice(1), kHexFormatMotorola);
    EXPECT_EQ(HexFormatOfChoice(2), 0);
    EXPECT_EQ(HexFormatOfChoice(-1), 0);
}

}  // namespace
