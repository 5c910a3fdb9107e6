// The colour-table mapping of bitmaps in the button colours, and the size checks of bitmap
// resources.
#include "docking/sys_color_table.h"

#include <gtest/gtest.h>

namespace {

const xtdock::ButtonColors kColors = {0x112233, 0x445566, 0x778899, 0xAABBCC};

TEST(SysColorTable, GreysAndWhiteTakeTheButtonColours) {
    std::uint32_t table[5] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0xFF0000};
    xtdock::MapSysColorTable(table, 5, kColors, false);
    EXPECT_EQ(table[0], 0x112233u);
    EXPECT_EQ(table[1], 0x445566u);
    EXPECT_EQ(table[2], 0x778899u);
    EXPECT_EQ(table[3], 0xAABBCCu);
    EXPECT_EQ(table[4], 0xFF0000u);  // red matches nothing
}

TEST(SysColorTable, MonoTurnsGreysWhiteAndLeavesBlackBlack) {
    std::uint32_t table[5] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x00FF00};
    xtdock::MapSysColorTable(table, 5, kColors, true);
    EXPECT_EQ(table[0], 0x000000u);
    EXPECT_EQ(table[1], 0xFFFFFFu);
    EXPECT_EQ(table[2], 0xFFFFFFu);
    EXPECT_EQ(table[3], 0xFFFFFFu);
    EXPECT_EQ(table[4], 0x00FF00u);
}

TEST(SysColorTable, TheReservedByteDoesNotStopAMatch) {
    std::uint32_t table[1] = {0x01808080};
    xtdock::MapSysColorTable(table, 1, kColors, false);
    EXPECT_EQ(table[0], 0x445566u);
}

TEST(SysColorTable, ColorRefsAndTableEntriesSwapRedAndBlue) {
    EXPECT_EQ(xtdock::ColorRefToTableEntry(0x00332211), 0x00112233u);  // RGB(0x11,0x22,0x33)
    EXPECT_EQ(xtdock::TableEntryToColorRef(0x00112233), 0x00332211u);
}

TEST(DibLayout, ASixteenColourPictureHasSixteenEntriesAndPaddedRows) {
    xtdock::DibLayout layout = xtdock::MeasureDib(40, 9, -3, 4);
    EXPECT_EQ(layout.headerSize, 40u);
    EXPECT_EQ(layout.colorTableSize, 64u);
    EXPECT_EQ(layout.pixelSize, 8u * 3u);  // 9 pixels of 4 bits: 5 bytes, padded to 8
    EXPECT_EQ(xtdock::MeasureDib(40, 10, 10, 24).colorTableSize, 0u);
}

TEST(DibLayout, HeadersThatDescribeNoBitmapMeasureNothing) {
    EXPECT_EQ(xtdock::MeasureDib(12, 8, 8, 4).Total(), 0u);   // an old-style core header
    EXPECT_EQ(xtdock::MeasureDib(40, 8, 8, 3).Total(), 0u);   // no such bit count
    EXPECT_EQ(xtdock::MeasureDib(40, 0, 8, 4).Total(), 0u);   // no width
    EXPECT_EQ(xtdock::MeasureDib(40, 8, 0, 4).Total(), 0u);   // no height
    EXPECT_EQ(xtdock::MeasureDib(40, -8, 8, 4).Total(), 0u);  // negative width
    EXPECT_EQ(xtdock::MeasureDib(40, 0x7FFFFFFF, 0x7FFFFFFF, 32).Total(), 0u);
}

}  // namespace
