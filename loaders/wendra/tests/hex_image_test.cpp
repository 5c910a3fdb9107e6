// Wendra's image of the program: what the reader's records cover and the byte count sent.
#include <gtest/gtest.h>

#include <filesystem>

#include "hex_image.h"

namespace {

std::string File(const std::string& name) {
    return (std::filesystem::path(FWT_SOURCE_DIR) / "loaders/wendra/tests/transcripts" / name)
        .string();
}

TEST(HexImage, OneCellPastTheHighestRecordIsSentButNeverPastTheImage) {
    wendra::HexImage small;
    ASSERT_EQ(wendra::LoadHexImage(File("small.hex").c_str(), &small), 0);
    EXPECT_EQ(small.highestEnd, 0x14u);
    EXPECT_EQ(small.byteCount, 0x15u);
    EXPECT_EQ(small.image[0x14], wendra::kFillValue);

    // A record that reaches 0xFFFF: the count stops at the image's end.
    wendra::HexImage top;
    ASSERT_EQ(wendra::LoadHexImage(File("top.hex").c_str(), &top), 0);
    EXPECT_EQ(top.highestEnd, 0x10000u);
    EXPECT_EQ(top.byteCount, 0x10000u);
    EXPECT_EQ(top.image[0xFFFF], 15);
}

TEST(HexImage, ARecordPastTheImageIsOutOfRange) {
    wendra::HexImage hex;
    EXPECT_EQ(wendra::LoadHexImage(File("past_end.hex").c_str(), &hex), 2);
    const uint8_t bytes[2] = {1, 2};
    EXPECT_EQ(wendra::storeHexRecord(&hex, 0x80000000u, 2, bytes), 1);
}

TEST(HexImage, EachDownloadStartsWithItsOwnLowestAddress) {
    wendra::HexImage first;
    ASSERT_EQ(wendra::LoadHexImage(File("relocated.hex").c_str(), &first), 0);
    EXPECT_EQ(first.lowest, 0x40u);
    wendra::HexImage second;
    ASSERT_EQ(wendra::LoadHexImage(File("small.hex").c_str(), &second), 0);
    EXPECT_EQ(second.lowest, 0u);
    wendra::AddLongJumps(&second);
    EXPECT_EQ(second.image[0], 0x02);  // the file's own LJMP 0x0010 stays
    EXPECT_EQ(second.image[2], 0x10);
}

TEST(HexImage, LongJumpsGoToTheSameOffsetsAboveTheProgram) {
    wendra::HexImage hex;
    const uint8_t program[4] = {0x75, 0x90, 0xAA, 0x22};
    ASSERT_EQ(wendra::storeHexRecord(&hex, 0x2000, 4, program), 0);
    wendra::AddLongJumps(&hex);
    const uint32_t vectors[] = {0x00, 0x03, 0x0B, 0x13, 0x1B, 0x23};
    for (uint32_t v : vectors) {
        EXPECT_EQ(hex.image[v], 0x02) << v;
        EXPECT_EQ(hex.image[v + 1], 0x20) << v;
        EXPECT_EQ(hex.image[v + 2], v) << v;
    }
    wendra::HexImage at49;
    ASSERT_EQ(wendra::storeHexRecord(&at49, 49, 4, program), 0);
    wendra::AddLongJumps(&at49);
    EXPECT_EQ(at49.image[0], wendra::kFillValue);
}

}  // namespace
