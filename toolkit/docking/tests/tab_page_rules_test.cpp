// The tab view's page rectangle per strip placement and its label font after style changes.
#include "docking/tab_page_rules.h"

#include <gtest/gtest.h>

namespace {

using xtdock::TabFontForStyleChange;
using xtdock::TabPageRect;

const DWORD kBottom = xtdock::kTabsBottom;
const DWORD kRight = xtdock::kTabsRight;
const DWORD kVertical = xtdock::kTabsVertical;

TEST(TabPageRect, TheStripSideLosesTwentySixPixelsAndTheOthersThree) {
    const CRect client(10, 20, 310, 220);
    EXPECT_EQ(TabPageRect(client, 0), CRect(13, 46, 307, 217));
    EXPECT_EQ(TabPageRect(client, kBottom), CRect(13, 23, 307, 194));
    EXPECT_EQ(TabPageRect(client, kVertical), CRect(36, 23, 307, 217));
    EXPECT_EQ(TabPageRect(client, kVertical | kRight), CRect(13, 23, 284, 217));
}

TEST(TabPageRect, OtherStyleBitsDoNotMoveThePage) {
    const CRect client(0, 0, 200, 100);
    const DWORD others = 0x50804000;  // child, visible, border, tooltips
    EXPECT_EQ(TabPageRect(client, others), TabPageRect(client, 0));
    EXPECT_EQ(TabPageRect(client, others | kVertical), TabPageRect(client, kVertical));
}

TEST(TabFontForStyleChange, TurningVerticalRotatesByNinetyOrTwoHundredSeventyDegrees) {
    auto left = TabFontForStyleChange(0, kVertical);
    EXPECT_TRUE(left.rebuild);
    EXPECT_EQ(left.escapement, 900);
    auto right = TabFontForStyleChange(kBottom, kVertical | kRight);
    EXPECT_TRUE(right.rebuild);
    EXPECT_EQ(right.escapement, 2700);
}

TEST(TabFontForStyleChange, LeavingVerticalSetsTheLabelsUpright) {
    auto upright = TabFontForStyleChange(kVertical | kRight, 0);
    EXPECT_TRUE(upright.rebuild);
    EXPECT_EQ(upright.escapement, 0);
}

TEST(TabFontForStyleChange, ChangesWithinOneOrientationKeepTheFont) {
    EXPECT_FALSE(TabFontForStyleChange(kVertical, kVertical | kRight).rebuild);
    EXPECT_FALSE(TabFontForStyleChange(0, kBottom).rebuild);
    EXPECT_FALSE(TabFontForStyleChange(kBottom, 0).rebuild);
}

}  // namespace
