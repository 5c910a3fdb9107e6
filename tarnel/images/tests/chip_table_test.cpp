// Tests of the chip table's rows and of its lookups by name.
#include "tarnel/images/chip_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(ChipTable, HoldsTwentyOneUniquelyNamedRowsInOrder) {
    ASSERT_EQ(ChipTable::GetCount(), 21);
    std::set<std::string> names;
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        const ChipTableEntry* row = ChipTable::GetEntry(i);
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(names.insert(row->chipName).second) << row->chipName;
        // The first-match size getters and the last-match IndexOf must find the same row.
        EXPECT_EQ(ChipTable::IndexOf(row->chipName), i);
    }
    EXPECT_STREQ(ChipTable::GetEntry(0)->chipName, "Vasbel-1 RAM 512K");
    EXPECT_STREQ(ChipTable::GetEntry(14)->chipName, "Brontal-P: PIC16F877A");
    EXPECT_STREQ(ChipTable::GetEntry(20)->chipName, "Brontal-P: PIC18F458");
    EXPECT_EQ(ChipTable::GetEntry(-1), nullptr);
    EXPECT_EQ(ChipTable::GetEntry(21), nullptr);
}

TEST(ChipTable, MarksAnAbsentAreaWithSizeZeroAndBaseFFFF) {
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        const ChipTableEntry& row = *ChipTable::GetEntry(i);
        SCOPED_TRACE(row.chipName);
        EXPECT_EQ(row.codeSize == 0, row.codeBase == kNoAreaBase);
        EXPECT_EQ(row.dataSize == 0, row.dataBase == kNoAreaBase);
        EXPECT_EQ(row.specialSize == 0, row.specialBase == kNoAreaBase);
        EXPECT_EQ(row.pictureId, 170u);
    }
}

TEST(ChipTable, AnswersEveryLookupOfAnUnknownNameWithItsOwnValue) {
    for (const char* name : {"", "Brontal-p: PIC16F877A", "BRONTAL-A: AT89S53", "Brontal-A: AT89S5",
                             static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(name ? name : "(null)");
        EXPECT_FALSE(ChipTable::Contains(name));
        EXPECT_EQ(ChipTable::IndexOf(name), 255);
        EXPECT_EQ(ChipTable::GetDeviceCode(name), 255);
        EXPECT_EQ(ChipTable::GetProgrammingMode(name), 255);
        EXPECT_EQ(ChipTable::GetPictureId(name), 0u);
        EXPECT_EQ(ChipTable::GetCodeSize(name), 0u);
        EXPECT_EQ(ChipTable::GetDataSize(name), 0u);
        EXPECT_EQ(ChipTable::GetSpecialSize(name), 0u);
        EXPECT_EQ(ChipTable::GetCodeBase(name), 0u);
        EXPECT_EQ(ChipTable::GetDataBase(name), 0u);
        EXPECT_EQ(ChipTable::GetSpecialBase(name), 0u);
        EXPECT_FALSE(ChipTable::IsCodeProgrammable(name));
        EXPECT_FALSE(ChipTable::IsDataProgrammable(name));
        EXPECT_FALSE(ChipTable::IsSpecialProgrammable(name));
        EXPECT_FALSE(ChipTable::IsProgrammable(name));
    }
}

TEST(ChipTable, FindsBothSerialEepromsUnderTheirOwnBoards) {
    const uint8_t a = ChipTable::IndexOf("Brontal-A: 24C65");
    const uint8_t h = ChipTable::IndexOf("Brontal-H: 24C65");
    EXPECT_EQ(a, 11);
    EXPECT_EQ(h, 13);
    EXPECT_EQ(ChipTable::GetDeviceCode("Brontal-A: 24C65"), kDeviceSerialEeprom);
    EXPECT_EQ(ChipTable::GetDeviceCode("Brontal-H: 24C65"), kDeviceSerialEeprom);
    EXPECT_NE(ChipTable::GetEntry(a)->boardId, ChipTable::GetEntry(h)->boardId);
    // Memories without flags count as not programmable for the Erase command.
    EXPECT_FALSE(ChipTable::IsProgrammable("Brontal-A: 24C65"));
    EXPECT_EQ(ChipTable::GetProgrammingMode("Brontal-H: 24C65"), 0xFE);
}

TEST(ChipTable, DescribesThePic16AreasAndTheirHexAddresses) {
    const char* pic = "Brontal-P: PIC16F877A";
    EXPECT_EQ(ChipTable::GetCodeSize(pic), 0x4000u);
    EXPECT_EQ(ChipTable::GetDataSize(pic), 0x100u);
    EXPECT_EQ(ChipTable::GetSpecialSize(pic), 0x10u);
    EXPECT_EQ(ChipTable::GetCodeBase(pic), 0u);
    EXPECT_EQ(ChipTable::GetSpecialBase(pic), 0x4000u);
    EXPECT_EQ(ChipTable::GetDataBase(pic), 0x4200u);
    EXPECT_EQ(ChipTable::GetDeviceCode(pic), kDevicePic16);
    EXPECT_EQ(ChipTable::GetProgrammingMode(pic), 0x1E);
    EXPECT_TRUE(ChipTable::IsCodeProgrammable(pic));
    EXPECT_TRUE(ChipTable::IsDataProgrammable(pic));
    EXPECT_TRUE(ChipTable::IsSpecialProgrammable(pic));
}

TEST(ChipTable, GivesTheMemoryBoardsAndTheDriveTheirOwnMethods) {
    EXPECT_EQ(ChipTable::GetDeviceCode("Vasbel-1 RAM 512K"), kDeviceMemoryBoard);
    EXPECT_FALSE(ChipTable::IsProgrammable("Vasbel-1 RAM 512K"));
    EXPECT_TRUE(ChipTable::IsProgrammable("Vasbel-1 FLASH 512K"));
    EXPECT_EQ(ChipTable::GetDeviceCode("HARD DRIVE 512K"), kDeviceDrive);
    EXPECT_EQ(ChipTable::GetDataSize("HARD DRIVE 512K"), 0x80000u);
    EXPECT_EQ(ChipTable::GetDeviceCode("Brontal-B(22 MHZ): (A)T89C51RX2"), kDeviceT89C51Rx2Board2);
    EXPECT_EQ(ChipTable::GetSpecialBase("Brontal-P: PIC18F458"), 0x3000u);
    EXPECT_EQ(ChipTable::GetDataBase("Brontal-P: PIC18F458"), 0xF000u);
}

TEST(ChipTable, ListsTheThreeBoardTagsInOrder) {
    ASSERT_EQ(ChipTable::GetBoardTagCount(), 3);
    EXPECT_EQ(ChipTable::GetBoardTag(0)->boardId, 0u);
    EXPECT_STREQ(ChipTable::GetBoardTag(0)->tag, "CorvaneC");
    EXPECT_EQ(ChipTable::GetBoardTag(1)->boardId, 1u);
    EXPECT_STREQ(ChipTable::GetBoardTag(1)->tag, "Halvex");
    EXPECT_EQ(ChipTable::GetBoardTag(2)->boardId, 3u);
    EXPECT_STREQ(ChipTable::GetBoardTag(2)->tag, "Pridel");
    EXPECT_EQ(ChipTable::GetBoardTag(3), nullptr);
}

}  // namespace
