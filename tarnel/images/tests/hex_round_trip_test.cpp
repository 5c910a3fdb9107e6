// Round trips through the .hex writer and reader, one chip of each device-code class.
#include <gtest/gtest.h>

#include <string>

#include "image_test_support.h"
#include "tarnel/images/hex_reader.h"
#include "tarnel/images/hex_writer.h"

namespace {

using namespace test_chips;

// Marks scattered runs of cells (some as verify mismatches) across the first `span` cells.
void MarkRuns(ImageArea& area, size_t span) {
    for (size_t i = 0; i < span && i < area.Size(); ++i) {
        const size_t phase = i % 53;
        area.marks[i] = phase < 20 ? kMarkData : phase < 23 ? kMarkMismatch : kMarkEmpty;
    }
}

// After a round trip every written cell comes back with mark 1; cells without a mark come back
// as 0 with mark 0 (for chips whose images start unmarked).
void ExpectReadBack(const ImageArea& written, const ImageArea& read) {
    ASSERT_EQ(written.Size(), read.Size());
    for (size_t i = 0; i < written.Size(); ++i) {
        if (written.marks[i] != kMarkEmpty) {
            ASSERT_EQ(read.marks[i], kMarkData) << "cell " << i;
            ASSERT_EQ(read.cells[i], written.cells[i]) << "cell " << i;
        } else {
            ASSERT_EQ(read.marks[i], kMarkEmpty) << "cell " << i;
            ASSERT_EQ(read.cells[i], 0) << "cell " << i;
        }
    }
}

class HexRoundTrip : public ::testing::TestWithParam<int> {
protected:
    MemoryImage RoundTrip(const MemoryImage& image, const char* chip) {
        std::string text;
        const ImageFileResult written = WriteHexImage(image, chip, GetParam(), text);
        EXPECT_TRUE(written.ok()) << written.message;
        MemoryImage read;
        const ImageFileResult result = ReadAs(chip, text, read);
        EXPECT_TRUE(result.ok()) << result.message;
        return read;
    }
};

TEST_P(HexRoundTrip, Keeps8051CodeAndDataCells) {
    MemoryImage image = BlankImageOf(kAt89S8252);
    FillPattern(image.code, 3);
    FillPattern(image.data, 4);
    MarkRuns(image.code, image.code.Size());
    MarkRuns(image.data, image.data.Size());
    image.code.marks.back() = kMarkData;
    image.data.marks.front() = kMarkData;
    const MemoryImage read = RoundTrip(image, kAt89S8252);
    ExpectReadBack(image.code, read.code);
    ExpectReadBack(image.data, read.data);
}

TEST_P(HexRoundTrip, KeepsSerialEepromCells) {
    MemoryImage image = BlankImageOf(kEeprom);
    FillPattern(image.data, 5);
    MarkRuns(image.data, image.data.Size());
    const MemoryImage read = RoundTrip(image, kEeprom);
    ExpectReadBack(image.data, read.data);
}

TEST_P(HexRoundTrip, KeepsTheFirst64KOfAMemoryBoard) {
    MemoryImage image = BlankImageOf(kMemoryBoard);
    FillPattern(image.data, 6);
    MarkRuns(image.data, 0x10000);
    image.data.marks[0xFFFF] = kMarkData;
    const MemoryImage read = RoundTrip(image, kMemoryBoard);
    ExpectReadBack(image.data, read.data);
}

TEST_P(HexRoundTrip, KeepsAllThreeAreasOfPic16AndOfPic18BehindItsExtendedAddresses) {
    for (const char* chip : {kPic16, kPic18F452}) {
        SCOPED_TRACE(chip);
        MemoryImage image = BlankImageOf(chip);
        FillPattern(image.code, 7);
        FillPattern(image.data, 8);
        FillPattern(image.special, 9);
        const MemoryImage read = RoundTrip(image, chip);
        EXPECT_EQ(read.code.cells, image.code.cells);
        EXPECT_EQ(read.data.cells, image.data.cells);
        EXPECT_EQ(read.special.cells, image.special.cells);
        EXPECT_EQ(read.code.marks, image.code.marks);
        EXPECT_EQ(read.special.marks, image.special.marks);
    }
}

TEST_P(HexRoundTrip, KeepsUnwrittenPic16WordsErased) {
    MemoryImage image = BlankImageOf(kPic16);
    std::fill(image.code.marks.begin(), image.code.marks.end(), kMarkEmpty);
    image.code.cells[0x100] = 0x12;
    image.code.cells[0x101] = 0x34;
    image.code.marks[0x100] = image.code.marks[0x101] = kMarkData;
    const MemoryImage read = RoundTrip(image, kPic16);
    EXPECT_EQ(read.code.cells[0x100], 0x12);
    EXPECT_EQ(read.code.cells[0x101], 0x34);
    EXPECT_EQ(read.code.cells[0x102], 0x3F);
    EXPECT_EQ(read.code.cells[0x103], 0xFF);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, HexRoundTrip,
                         ::testing::Values(kHexFormatIntel, kHexFormatMotorola),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == kHexFormatIntel ? std::string("Intel")
                                                                  : std::string("Motorola");
                         });

}  // namespace
