// Tests of the blank images that new documents and the .hex reader start from.
#include "tarnel/images/memory_image.h"

#include <gtest/gtest.h>

namespace {

bool AllMarks(const ImageArea& area, uint8_t mark) {
    for (uint8_t m : area.marks) {
        if (m != mark) {
            return false;
        }
    }
    return true;
}

TEST(BlankImage, ErasesPic16WordsTo3FFFHighByteFirstAndMarksEveryCell) {
    MemoryImage image;
    ASSERT_TRUE(CreateBlankImage(image, {0x4000, 0x100, 0x10}, kDevicePic16));
    ASSERT_EQ(image.code.Size(), 0x4000u);
    EXPECT_EQ(image.code.cells[0], 0x3F);
    EXPECT_EQ(image.code.cells[1], 0xFF);
    EXPECT_EQ(image.code.cells[0x3FFE], 0x3F);
    EXPECT_EQ(image.special.cells[14], 0x3F);
    EXPECT_EQ(image.special.cells[15], 0xFF);
    EXPECT_EQ(image.data.cells[0], 0xFF);
    EXPECT_TRUE(AllMarks(image.code, kMarkData));
    EXPECT_TRUE(AllMarks(image.data, kMarkData));
    EXPECT_TRUE(AllMarks(image.special, kMarkData));
}

TEST(BlankImage, ErasesPic18CellsToFF) {
    MemoryImage image;
    ASSERT_TRUE(CreateBlankImage(image, {0x8000, 0x100, 0x10}, kDevicePic18));
    EXPECT_EQ(image.code.cells[0], 0xFF);
    EXPECT_EQ(image.code.cells[1], 0xFF);
    EXPECT_EQ(image.special.cells[0], 0xFF);
    EXPECT_TRUE(AllMarks(image.special, kMarkData));
}

TEST(BlankImage, LeavesOtherChipsZeroAndUnmarkedWithoutAbsentAreas) {
    MemoryImage image;
    ASSERT_TRUE(CreateBlankImage(image, {0x2000, 0x800, 0}, kDeviceAt89S8252));
    EXPECT_EQ(image.code.Size(), 0x2000u);
    EXPECT_EQ(image.data.Size(), 0x800u);
    EXPECT_FALSE(image.special.Present());
    EXPECT_EQ(image.code.cells[5], 0);
    EXPECT_TRUE(AllMarks(image.code, kMarkEmpty));
    EXPECT_TRUE(AllMarks(image.data, kMarkEmpty));
}

TEST(BlankImage, SelectsAreasByMemoryKind) {
    MemoryImage image;
    EXPECT_EQ(image.Area(kMemoryData), &image.data);
    EXPECT_EQ(image.Area(kMemoryCode), &image.code);
    EXPECT_EQ(image.Area(kMemorySpecial), &image.special);
    EXPECT_EQ(image.Area(kMemoryCodeByteCell), nullptr);
    EXPECT_EQ(image.Area(static_cast<MemoryKind>(3)), nullptr);
}

}  // namespace
