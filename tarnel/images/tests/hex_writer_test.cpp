// Tests of the .hex writer: record shapes, runs of marked cells, line ends and refusals.
#include "tarnel/images/hex_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image_test_support.h"

namespace {

using namespace test_chips;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2) {
        lines.push_back(text.substr(start, pos - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

void Mark(ImageArea& area, size_t first, size_t count, uint8_t mark = kMarkData) {
    for (size_t i = first; i < first + count; ++i) {
        area.marks[i] = mark;
        area.cells[i] = static_cast<uint8_t>(i);
    }
}

std::string Write(const MemoryImage& image, const char* chip, int format = kHexFormatIntel) {
    std::string out;
    const ImageFileResult result = WriteHexImage(image, chip, format, out);
    EXPECT_TRUE(result.ok()) << result.message;
    return out;
}

TEST(HexWriter, WritesRunsOfMarkedBytesSixteenCellsARecordAndStartsAfreshAfterAGap) {
    MemoryImage image = BlankImageOf(kAt89S53);
    Mark(image.code, 0, 20);
    Mark(image.code, 0x30, 2, kMarkMismatch);
    const std::vector<std::string> lines = Lines(Write(image, kAt89S53));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], IntelRecord(0, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(lines[1], IntelRecord(0x10, 0, {16, 17, 18, 19}));
    EXPECT_EQ(lines[2], IntelRecord(0x30, 0, {0x30, 0x31}));
    EXPECT_EQ(lines[3], ":00000001FF");
}

TEST(HexWriter, EndsEveryLineWithCrLfButNotTheEndRecord) {
    MemoryImage image = BlankImageOf(kAt89S53);
    Mark(image.code, 5, 1);
    EXPECT_EQ(Write(image, kAt89S53), ":01000500" + Hex2(5) + "F5\r\n:00000001FF");
    EXPECT_EQ(Write(image, kAt89S53, kHexFormatMotorola), "S104000505F1\r\nS9030000FC");
}

TEST(HexWriter, ComputesBothChecksumKinds) {
    MemoryImage image = BlankImageOf(kAt89S53);
    for (uint8_t i = 0; i < 3; ++i) {
        image.code.cells[0x1234 + i] = static_cast<uint8_t>(i + 1);
        image.code.marks[0x1234 + i] = kMarkData;
    }
    EXPECT_EQ(Write(image, kAt89S53), ":03123400010203B1\r\n:00000001FF");
    EXPECT_EQ(Write(image, kAt89S53, kHexFormatMotorola), "S1061234010203AD\r\nS9030000FC");
}

TEST(HexWriter, PlacesAreasAtTheirTableBases) {
    MemoryImage image = BlankImageOf(kAt89S8252);
    Mark(image.code, 0x1FFF, 1);
    Mark(image.data, 0, 1);
    const std::vector<std::string> lines = Lines(Write(image, kAt89S8252));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], IntelRecord(0x1FFF, 0, {0xFF}));
    EXPECT_EQ(lines[1], IntelRecord(0x2000, 0, {0x00}));
}

TEST(HexWriter, WritesPicCodeEightWordsARecordLowByteFirst) {
    MemoryImage image = BlankImageOf(kPic16);
    FillPattern(image.code, 1);
    const std::vector<std::string> lines = Lines(Write(image, kPic16));
    // 0x4000 code cells, 0x100 data cells, 0x10 special cells, and the end record.
    ASSERT_EQ(lines.size(), 0x4000u / 16 + 0x100u / 8 + 1 + 1);
    const auto& c = image.code.cells;
    EXPECT_EQ(lines[0], IntelRecord(0, 0,
                                    {c[1], c[0], c[3], c[2], c[5], c[4], c[7], c[6], c[9], c[8],
                                     c[11], c[10], c[13], c[12], c[15], c[14]}));
    EXPECT_EQ(lines[1].substr(0, 9), ":10001000");
}

TEST(HexWriter, WritesPicDataEightCellsARecordZeroExtendedAtTwiceTheCellIndex) {
    MemoryImage image = BlankImageOf(kPic16);
    FillPattern(image.data, 2);
    const std::vector<std::string> lines = Lines(Write(image, kPic16));
    const size_t first = 0x4000 / 16;
    const auto& d = image.data.cells;
    EXPECT_EQ(lines[first], IntelRecord(0x4200, 0,
                                        {d[0], 0, d[1], 0, d[2], 0, d[3], 0, d[4], 0, d[5], 0, d[6],
                                         0, d[7], 0}));
    EXPECT_EQ(lines[first + 1].substr(0, 9), ":10421000");
    // The special area's words, configuration word last.
    EXPECT_EQ(lines[first + 0x100 / 8],
              IntelRecord(0x4000, 0,
                          {0xFF, 0x3F, 0xFF, 0x3F, 0xFF, 0x3F, 0xFF, 0x3F, 0xFF, 0x3F, 0xFF, 0x3F,
                           0xFF, 0x3F, 0xFF, 0x3F}));
}

TEST(HexWriter, WritesAWordWholeWhenEitherOfItsCellsIsMarked) {
    MemoryImage image = BlankImageOf(kPic16);
    std::fill(image.code.marks.begin(), image.code.marks.end(), kMarkEmpty);
    std::fill(image.data.marks.begin(), image.data.marks.end(), kMarkEmpty);
    std::fill(image.special.marks.begin(), image.special.marks.end(), kMarkEmpty);
    image.code.cells[2] = 0x12;
    image.code.cells[3] = 0x34;
    image.code.marks[3] = kMarkData;  // the low byte of word 1 only
    image.code.cells[9] = 0x56;
    image.code.marks[9] = kMarkData;
    EXPECT_EQ(Write(image, kPic16), IntelRecord(2, 0, {0x34, 0x12}) + "\r\n" +
                                        IntelRecord(8, 0, {0x56, 0x3F}) + "\r\n:00000001FF");
}

TEST(HexWriter, IntroducesEachPic18AreaWithItsExtendedLinearAddressInBothFormats) {
    MemoryImage image = BlankImageOf(kPic18F452);
    std::fill(image.code.marks.begin(), image.code.marks.end(), kMarkEmpty);
    std::fill(image.data.marks.begin(), image.data.marks.end(), kMarkEmpty);
    std::fill(image.special.marks.begin(), image.special.marks.end(), kMarkEmpty);
    image.code.marks[0] = image.data.marks[1] = image.special.marks[2] = kMarkData;
    EXPECT_EQ(Write(image, kPic18F452),
              ":020000040000FA\r\n" + IntelRecord(0, 0, {0xFF, 0xFF}) + "\r\n:0200000400F00A\r\n" +
                  IntelRecord(2, 0, {0xFF, 0x00}) + "\r\n:020000040030CA\r\n" +
                  IntelRecord(2, 0, {0xFF, 0xFF}) + "\r\n:00000001FF");
    EXPECT_EQ(Write(image, kPic18F452, kHexFormatMotorola),
              ":020000040000FA\r\n" + SRecord(1, 0, {0xFF, 0xFF}) + "\r\n:0200000400F00A\r\n" +
                  SRecord(1, 2, {0xFF, 0x00}) + "\r\n:020000040030CA\r\n" +
                  SRecord(1, 2, {0xFF, 0xFF}) + "\r\nS9030000FC");
}

TEST(HexWriter, RefusesAnUnknownFormatAndWritesNothing) {
    MemoryImage image = BlankImageOf(kAt89S53);
    Mark(image.code, 0, 4);
    std::string out = "untouched";
    for (int format : {0, 3, -1}) {
        const ImageFileResult result = WriteHexImage(image, kAt89S53, format, out);
        EXPECT_EQ(result.status, ImageFileStatus::kUnknownFormat);
        EXPECT_EQ(result.message, "UNKNOWN HEX FORMAT");
        EXPECT_EQ(result.icon, MessageIcon::kError);
        EXPECT_EQ(out, "untouched");
    }
}

TEST(HexWriter, RefusesARecordThatWouldPassAddressFFFFInsteadOfWrappingIt) {
    // A data length typed past what 16-bit records can address above the data base 0x2000.
    MemoryImage image;
    ASSERT_TRUE(CreateBlankImage(image, {0, 0xF000, 0}, kDeviceAt89S8252));
    Mark(image.data, 0xDFF0, 16);  // 0xFFF0..0xFFFF: still fits
    std::string out = "untouched";
    EXPECT_TRUE(WriteHexImage(image, kAt89S8252, kHexFormatIntel, out).ok());
    EXPECT_NE(out.find(":10FFF000"), std::string::npos);

    ASSERT_TRUE(CreateBlankImage(image, {0, 0xF000, 0}, kDeviceAt89S8252));
    Mark(image.data, 0xDFF8, 16);  // one record from 0xFFF8 to 0x10007
    out = "untouched";
    ImageFileResult result = WriteHexImage(image, kAt89S8252, kHexFormatIntel, out);
    EXPECT_EQ(result.status, ImageFileStatus::kAddressTooLarge);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(out, "untouched");

    // A memory board image of 512 KB with data above the first 64 KB.
    MemoryImage board = BlankImageOf(kMemoryBoard);
    Mark(board.data, 0x10000, 1);
    result = WriteHexImage(board, kMemoryBoard, kHexFormatMotorola, out);
    EXPECT_EQ(result.status, ImageFileStatus::kAddressTooLarge);
    EXPECT_EQ(out, "untouched");
}

TEST(HexWriter, WritesOnlyTheEndRecordForAnImageWithoutMarks) {
    EXPECT_EQ(Write(BlankImageOf(kAt89S8252), kAt89S8252), ":00000001FF");
    EXPECT_EQ(Write(MemoryImage(), kPic16, kHexFormatMotorola), "S9030000FC");
}

}  // namespace
