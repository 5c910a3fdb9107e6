// Tests of the raw .bin file rules.
#include "tarnel/images/bin_image_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BinImageFile, RefusesAnEmptyFileWithAPlainBox) {
    ImageArea area;
    area.Allocate(3);
    const uint8_t none = 0;
    const ImageFileResult result = ReadBinImage(&none, 0, area);
    EXPECT_EQ(result.status, ImageFileStatus::kEmptyFile);
    EXPECT_EQ(result.message, "File is empty and will not be opened.");
    EXPECT_EQ(result.icon, MessageIcon::kNone);
    EXPECT_FALSE(area.Present());
}

TEST(BinImageFile, ReadsEveryByteAsACellMarkedAsData) {
    const std::vector<uint8_t> file = {0x00, 0xFF, 0x12, 0x00, 0x7E};
    ImageArea area;
    ASSERT_TRUE(ReadBinImage(file.data(), file.size(), area).ok());
    EXPECT_EQ(area.cells, file);
    EXPECT_EQ(area.marks, std::vector<uint8_t>(5, kMarkData));
}

TEST(BinImageFile, WritesEveryCellWhateverItsMark) {
    const std::vector<uint8_t> file = {1, 2, 3, 4};
    ImageArea area;
    ASSERT_TRUE(ReadBinImage(file.data(), file.size(), area).ok());
    area.marks[1] = kMarkEmpty;
    area.marks[2] = kMarkMismatch;
    EXPECT_EQ(BinImageBytes(area), file);
}

}  // namespace
