// Tests of the choice and progress dialogs' rules without windows: chip lengths in words or
// bytes, the board filter, the memory dialog's kind and base, and the progress lines.
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "tarnel/frame_rules/choice_rules.h"
#include "tarnel/frame_rules/progress_texts.h"

namespace {

using test_chips::kAt89S8252;
using test_chips::kMemoryBoard;
using test_chips::kPic16;
using test_chips::kPic18F452;

TEST(ChipLengths, WordChipsShowTheirCodeInWordsWhileTheCurrentChipIsOne) {
    const AreaSizes pic = ShownChipLengths(kPic16, kPic18F452);
    EXPECT_EQ(pic.code, 0x2000u);
    EXPECT_EQ(pic.data, 0x100u);
    EXPECT_EQ(pic.special, 8u);
    // The current chip decides, not the chip shown.
    const AreaSizes picUnderByteChip = ShownChipLengths(kPic16, kAt89S8252);
    EXPECT_EQ(picUnderByteChip.code, 0x4000u);
    EXPECT_EQ(picUnderByteChip.special, 8u);
    EXPECT_EQ(ShownChipLengths(kAt89S8252, kPic16).code, 0x1000u);
    EXPECT_EQ(ShownChipLengths(kAt89S8252, "").code, 0x2000u);
}

TEST(ChipLengths, TypedLengthsComeBackInBytes) {
    const AreaSizes underPic = ChosenChipLengths({100, 7, 5}, kPic16);
    EXPECT_EQ(underPic.code, 200u);
    EXPECT_EQ(underPic.data, 7u);
    EXPECT_EQ(underPic.special, 10u);
    const AreaSizes underByteChip = ChosenChipLengths({100, 7, 5}, kAt89S8252);
    EXPECT_EQ(underByteChip.code, 100u);
    EXPECT_EQ(underByteChip.special, 10u);
    EXPECT_EQ(ChosenChipLengths({kMaxTypedCodeLength, 0, kMaxTypedSpecialLength}, kPic16).code,
              0x20000u);
}

TEST(ChipLengths, EveryChipTakenAsShownComesBackWithTheTablesSizes) {
    for (const char* current : {kPic16, kPic18F452, kAt89S8252, kMemoryBoard, "", "no chip"}) {
        for (int i = 0; i < ChipTable::GetCount(); ++i) {
            const ChipTableEntry* row = ChipTable::GetEntry(i);
            const AreaSizes back =
                ChosenChipLengths(ShownChipLengths(row->chipName, current), current);
            EXPECT_EQ(back.code, row->codeSize) << row->chipName << " under " << current;
            EXPECT_EQ(back.data, row->dataSize) << row->chipName << " under " << current;
            EXPECT_EQ(back.special, row->specialSize) << row->chipName << " under " << current;
        }
    }
}

TEST(ChipLengths, BoardsListTheirOwnChipsInTableOrder) {
    const std::vector<std::string> all = ChipNamesOfBoard(kAllBoards);
    ASSERT_EQ(all.size(), static_cast<size_t>(ChipTable::GetCount()));
    EXPECT_EQ(all.front(), "Vasbel-1 RAM 512K");
    EXPECT_EQ(all.back(), "Brontal-P: PIC18F458");
    EXPECT_EQ(ChipNamesOfBoard(1),
              (std::vector<std::string>{"Brontal-H: MC68HC908GP32", "Brontal-H: 24C65"}));
    EXPECT_EQ(ChipNamesOfBoard(3),
              (std::vector<std::string>{"Brontal-P: PIC16F877A", "Brontal-P: PIC18F442",
                                        "Brontal-P: PIC18F452", "Brontal-P: PIC18F458"}));
    EXPECT_EQ(ChipNamesOfBoard(0).size(), all.size() - 6);
    EXPECT_TRUE(ChipNamesOfBoard(2).empty());
}

TEST(MemoryChoice, CodeIsCheckedFirstThenDataThenSpecial) {
    EXPECT_EQ(FirstMemoryKind({true, true, true}), kMemoryCode);
    EXPECT_EQ(FirstMemoryKind({true, false, true}), kMemoryData);
    EXPECT_EQ(FirstMemoryKind({false, false, true}), kMemorySpecial);
    EXPECT_EQ(FirstMemoryKind({}), 0);
}

TEST(MemoryChoice, ABaseAtOrPastTheAreasEndIsRefusedWithTheLastLocation) {
    EXPECT_EQ(MemoryBaseRefusal(kMemoryCode, kAt89S8252, 0x1FFF), "");
    EXPECT_EQ(MemoryBaseRefusal(kMemoryCode, kAt89S8252, 0x2000),
              "Last location = 8191 BaseAddres = 8192");
    EXPECT_EQ(MemoryBaseRefusal(kMemoryData, kAt89S8252, 0x800),
              "Last location = 2047 BaseAddres = 2048");
    EXPECT_EQ(MemoryBaseRefusal(kMemoryData, kAt89S8252, 0x7FF), "");
    EXPECT_EQ(MemoryBaseRefusal(kMemorySpecial, kPic16, 15), "");
    EXPECT_EQ(MemoryBaseRefusal(kMemorySpecial, kPic16, 16),
              "Last location = 0015 BaseAddres = 0016");
    // An area the chip lacks takes no base at all.
    EXPECT_EQ(MemoryBaseRefusal(kMemorySpecial, kAt89S8252, 0),
              "Last location = -001 BaseAddres = 0000");
}

TEST(MemoryChoice, AKindOfNoAreaIsRefused) {
    for (int kind : {0, 3, 5, 255}) {
        EXPECT_EQ(MemoryBaseRefusal(kind, kAt89S8252, 0),
                  "CMemoryOptionsDlg::OnOK (Unknown Memory Type)");
    }
}

TEST(ProgressLines, FileLineByModeAndTheCounterAndStatusLines) {
    EXPECT_EQ(ProgressFileLine(kProgressRead, "C:\\a.hex"), "Reading...");
    EXPECT_EQ(ProgressFileLine(kProgressWrite, "C:\\a.hex"), "Writing : C:\\a.hex");
    EXPECT_EQ(ProgressFileLine(kProgressVerify, "b.bin"), "Verifying : b.bin");
    EXPECT_EQ(ProgressFileLine(kProgressResidentLoader, "b.bin"), "RAM resident loader...");
    EXPECT_EQ(ProgressFileLine(4, "b.bin"), "");
    EXPECT_EQ(ProgressFileLine(-1, "b.bin"), "");
    EXPECT_EQ(ProgressFileLine(kProgressWrite, nullptr), "Writing : ");
    EXPECT_EQ(ProgressStatusLine("Connected"), "Status : Connected");
    EXPECT_EQ(ProgressCounterLine(40, 100), "Cells transfered : 40 of 100");
    EXPECT_EQ(ProgressCounterLine(0, 0), "Cells transfered : 0 of 0");
}

}  // namespace
