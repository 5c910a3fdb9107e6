// A docking window's sizes, its stored "Bar Position" record and its caption geometry.
#include "docking/dock_window_caption.h"
#include "docking/dock_window_sizes.h"

#include "classlib/ids.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace xtdock;

XT_DOCK_SIZES Sizes() {
    XT_DOCK_SIZES sizes;
    sizes.sizeVertDock = CSize(120, 300);
    sizes.sizeHorzDock = CSize(400, 120);
    sizes.sizeFloat = CSize(250, 150);
    sizes.sizeCurrent = CSize(400, 120);
    return sizes;
}

TEST(DockWindowSizes, LayoutAnswersTheSizeOfTheAskedStateAndFloatingNeverGoesBelow50) {
    XT_DOCK_SIZES sizes = Sizes();
    // Docked requests win over the most-recent-width one, horizontal over vertical.
    EXPECT_EQ(XTDockWindowLayout(sizes, 0, LM_HORZ | LM_HORZDOCK | LM_VERTDOCK), CSize(400, 120));
    EXPECT_EQ(XTDockWindowLayout(sizes, 0, LM_VERTDOCK | LM_MRUWIDTH), CSize(120, 300));
    EXPECT_EQ(XTDockWindowLayout(sizes, 0, LM_HORZ | LM_MRUWIDTH), CSize(250, 150));

    // A floating frame sized by its edges asks for a width, then a height.
    EXPECT_EQ(XTDockWindowLayout(sizes, 10, LM_HORZ), CSize(50, 120));
    EXPECT_EQ(XTDockWindowLayout(sizes, -30, LM_HORZ | LM_LENGTHY), CSize(50, 50));
    EXPECT_EQ(XTDockWindowLayout(sizes, 180, LM_HORZ), CSize(180, 50));
    // Other modes leave the size as it is.
    EXPECT_EQ(XTDockWindowLayout(sizes, 10, LM_HORZ | LM_STRETCH), CSize(180, 50));

    // Committing keeps the size as the floating one.
    EXPECT_EQ(XTDockWindowLayout(sizes, 0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT), CSize(180, 50));
    EXPECT_EQ(sizes.sizeFloat, CSize(180, 50));
}

TEST(DockWindowSizes, ContractExpandAndRestoreWorkAlongTheSide) {
    XT_DOCK_SIZES sizes = Sizes();
    EXPECT_EQ(XTContractToCaption(sizes, XTDockSide::Horz), 400 - 19);
    EXPECT_EQ(sizes.sizeCurrent, CSize(19, 120));
    XTExpandToSize(sizes, XTDockSide::Horz, 700);
    EXPECT_TRUE(sizes.bExpanded);
    EXPECT_EQ(sizes.sizeCurrent, CSize(700, 120));
    XTRestoreSize(sizes, XTDockSide::Vert);
    EXPECT_FALSE(sizes.bExpanded);
    EXPECT_EQ(sizes.sizeCurrent, CSize(120, 300));

    EXPECT_EQ(XTContractToCaption(sizes, XTDockSide::Vert), 300 - 19);
    EXPECT_EQ(sizes.sizeCurrent, CSize(120, 19));
    EXPECT_EQ(XTContractToCaption(sizes, XTDockSide::Floating), 0);

    XTSetDockedSize(sizes, XTDockSide::Floating, CSize(77, 66));
    EXPECT_EQ(sizes.sizeFloat, CSize(77, 66));
    EXPECT_EQ(sizes.sizeHorzDock, CSize(400, 120));
    EXPECT_EQ(sizes.sizeCurrent, CSize(77, 66));
}

TEST(BarPosition, RoundTripsSizesAndFlagsButNotTheToolkitStyle) {
    XT_DOCK_SIZES sizes = Sizes();
    sizes.bAloneInRow = TRUE;
    sizes.bExpanded = TRUE;
    sizes.sizeCurrent = CSize(-5, 70000);  // values are signed 32-bit
    BYTE record[XT_BAR_POSITION_BYTES];
    XTWriteBarPosition(sizes, 0x1234, record);
    EXPECT_EQ(record[0], 120);  // little-endian, vertically docked width first
    EXPECT_EQ(record[4 * 3], 120);
    EXPECT_EQ(record[4 * 10], 0x34);
    EXPECT_EQ(record[4 * 10 + 1], 0x12);

    XT_DOCK_SIZES read;
    ASSERT_TRUE(XTReadBarPosition(record, sizeof record, read));
    EXPECT_EQ(read.sizeVertDock, sizes.sizeVertDock);
    EXPECT_EQ(read.sizeHorzDock, sizes.sizeHorzDock);
    EXPECT_EQ(read.sizeFloat, sizes.sizeFloat);
    EXPECT_EQ(read.sizeCurrent, CSize(-5, 70000));
    EXPECT_TRUE(read.bAloneInRow);
    EXPECT_TRUE(read.bExpanded);
}

TEST(BarPosition, ARecordShorterThanFortyBytesIsIgnored) {
    XT_DOCK_SIZES sizes = Sizes();
    BYTE record[XT_BAR_POSITION_BYTES];
    XTWriteBarPosition(sizes, 19, record);

    // Read from a copy of exactly the given length, so that a read past it shows under ASan.
    XT_DOCK_SIZES target;
    for (std::size_t length : {std::size_t{0}, std::size_t{4}, std::size_t{39}}) {
        std::vector<BYTE> shortRecord(record, record + length);
        EXPECT_FALSE(XTReadBarPosition(shortRecord.data(), length, target)) << length;
        EXPECT_EQ(target.sizeCurrent, CSize(200, 100)) << length;
    }
    EXPECT_FALSE(XTReadBarPosition(nullptr, 44, target));

    std::vector<BYTE> fortyBytes(record, record + 40);
    EXPECT_TRUE(XTReadBarPosition(fortyBytes.data(), fortyBytes.size(), target));
    EXPECT_EQ(target.sizeHorzDock, CSize(400, 120));
}

TEST(BarPosition, RestoredSizesStayBetweenOnePixelAndTheRoomGiven) {
    const CSize room(1024, 738);
    XT_DOCK_SIZES sizes;
    sizes.sizeVertDock = CSize(0, 5000);   // damaged: no width; taller than the room
    sizes.sizeHorzDock = CSize(1900, -7);  // from a larger screen; a negative thickness
    sizes.sizeFloat = CSize(10, 49);       // below the floating minimum
    sizes.sizeCurrent = CSize(1024, 1);    // the bounds themselves are kept
    sizes.bExpanded = TRUE;
    XTClampRestoredSizes(sizes, room);
    EXPECT_EQ(sizes.sizeVertDock, CSize(1, 738));
    EXPECT_EQ(sizes.sizeHorzDock, CSize(1024, 1));
    EXPECT_EQ(sizes.sizeFloat, CSize(50, 50));
    EXPECT_EQ(sizes.sizeCurrent, CSize(1024, 1));
    EXPECT_TRUE(sizes.bExpanded);

    // Within the range every size is applied exactly as stored.
    XT_DOCK_SIZES usual = Sizes();
    usual.sizeFloat = CSize(50, 738);
    XT_DOCK_SIZES clamped = usual;
    XTClampRestoredSizes(clamped, room);
    EXPECT_EQ(clamped.sizeVertDock, usual.sizeVertDock);
    EXPECT_EQ(clamped.sizeHorzDock, usual.sizeHorzDock);
    EXPECT_EQ(clamped.sizeFloat, usual.sizeFloat);
    EXPECT_EQ(clamped.sizeCurrent, usual.sizeCurrent);

    // A room smaller than the floating minimum still leaves the minimum.
    XT_DOCK_SIZES tiny = Sizes();
    XTClampRestoredSizes(tiny, CSize(30, 30));
    EXPECT_EQ(tiny.sizeFloat, CSize(50, 50));
    EXPECT_EQ(tiny.sizeCurrent, CSize(30, 30));
}

TEST(DockWindowCaption, ButtonsGripAndInsideFollowTheSide) {
    CRect hide, expand;
    XTCaptionButtonRects(XTDockSide::Horz, 300, hide, expand);
    EXPECT_EQ(hide, CRect(3, 3, 15, 15));
    EXPECT_EQ(expand, CRect(3, 17, 15, 29));
    XTCaptionButtonRects(XTDockSide::Vert, 300, hide, expand);
    EXPECT_EQ(hide, CRect(283, 5, 295, 17));
    EXPECT_EQ(expand, CRect(269, 5, 281, 17));

    EXPECT_EQ(XTGripRect(XTDockSide::Horz, 300, 100, TRUE), CRect(5, 33, 8, 96));
    EXPECT_EQ(XTGripRect(XTDockSide::Horz, 300, 100, FALSE), CRect(5, 4, 8, 96));
    EXPECT_EQ(XTGripRect(XTDockSide::Floating, 300, 100, TRUE), CRect(4, 8, 266, 11));
    EXPECT_EQ(XTGripRect(XTDockSide::Vert, 300, 100, FALSE), CRect(4, 8, 294, 11));

    const CRect client(10, 10, 310, 110);  // moved to the origin first
    EXPECT_EQ(XTInsideRect(XTDockSide::Floating, client), CRect(3, 3, 297, 97));
    EXPECT_EQ(XTInsideRect(XTDockSide::Horz, client), CRect(19, 6, 297, 94));
    EXPECT_EQ(XTInsideRect(XTDockSide::Vert, client), CRect(3, 22, 297, 94));
    // A window contracted to its caption has no room left: all zero, not inverted.
    EXPECT_EQ(XTInsideRect(XTDockSide::Horz, CRect(0, 0, 19, 100)), CRect(0, 0, 0, 0));
    EXPECT_EQ(XTInsideRect(XTDockSide::Vert, CRect(0, 0, 100, 19)), CRect(0, 0, 0, 0));
}

TEST(DockWindowCaption, GripLinesStartBeyondTheTitleAndGoWhenItFillsTheCaption) {
    const CRect grip = XTGripRect(XTDockSide::Vert, 300, 100, TRUE);  // (4, 8, 266, 11)
    XT_CAPTION_AREA area = XTCaptionArea(XTDockSide::Vert, grip, 0, FALSE, FALSE);
    EXPECT_EQ(area.rectCaption, CRect(4, 6, 266, 17));
    ASSERT_EQ(area.nGrips, 1);
    EXPECT_EQ(area.rectGrip[0], CRect(4, 6, 266, 13));

    area = XTCaptionArea(XTDockSide::Vert, grip, 40, FALSE, TRUE);
    ASSERT_EQ(area.nGrips, 2);
    EXPECT_EQ(area.rectGrip[0], CRect(49, 8, 266, 11));
    EXPECT_EQ(area.rectGrip[1], CRect(49, 12, 266, 15));

    EXPECT_EQ(XTCaptionArea(XTDockSide::Vert, grip, 257, FALSE, FALSE).nGrips, 0);
    EXPECT_EQ(XTCaptionArea(XTDockSide::Vert, grip, 256, FALSE, FALSE).nGrips, 1);
    EXPECT_EQ(XTCaptionArea(XTDockSide::Vert, grip, 0, TRUE, FALSE).nGrips, 0);

    // Down the left side the title pushes the lines' bottoms up.
    const CRect down = XTGripRect(XTDockSide::Horz, 300, 100, TRUE);  // (5, 33, 8, 96)
    area = XTCaptionArea(XTDockSide::Horz, down, 20, FALSE, FALSE);
    EXPECT_EQ(area.rectCaption, CRect(3, 33, 14, 96));
    ASSERT_EQ(area.nGrips, 1);
    EXPECT_EQ(area.rectGrip[0], CRect(3, 33, 10, 71));
}

TEST(DockWindowCaption, GradientRisesFromBlackToTheCaptionColour) {
    const COLORREF caption = 0x00C08040;  // blue 0xC0, green 0x80, red 0x40
    EXPECT_EQ(XTGradientStep(63), 1);
    EXPECT_EQ(XTGradientStep(300), 4);
    EXPECT_EQ(XTGradientColour(caption, 300, 0), 0u);
    EXPECT_EQ(XTGradientColour(caption, 300, 300), caption);
    // Half way: K - K/4 per component.
    EXPECT_EQ(XTGradientColour(caption, 300, 150), 0x00906030u);
    // A caption longer than 32 bits can square times a component.
    EXPECT_EQ(XTGradientColour(0x00FFFFFF, 50000, 25000), 0x00C0C0C0u);
}

}  // namespace
