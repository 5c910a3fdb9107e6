// Where the flat button puts its text and image, and the frames of its border.
#include "docking/button_layout.h"

#include <gtest/gtest.h>

namespace {

xtdock::ButtonLayout Button(DWORD style, bool hasImage) {
    xtdock::ButtonLayout layout;
    layout.client = CSize(100, 40);
    layout.style = style;
    layout.hasImage = hasImage;
    layout.image = CSize(16, 16);
    return layout;
}

TEST(ButtonLayout, TextWithoutAnImageSitsAtTheMarginCentredVertically) {
    EXPECT_EQ(xtdock::TextOrigin(Button(0, false), CSize(30, 12)), CPoint(4, 14));
    // Image-above style centres it across instead, still without the gap.
    EXPECT_EQ(xtdock::TextOrigin(Button(xtdock::kButtonImageAbove, false), CSize(30, 12)),
              CPoint(35, 14));
}

TEST(ButtonLayout, SideBySideTheTextFollowsTheImageAfterTheGap) {
    EXPECT_EQ(xtdock::TextOrigin(Button(0, true), CSize(30, 12)), CPoint(4 + 8 + 16, 14));
    EXPECT_EQ(xtdock::ImageOrigin(Button(0, true), 12), CPoint(4, 12));
}

TEST(ButtonLayout, ImageAboveTextSplitsTheGapBetweenThem) {
    xtdock::ButtonLayout layout = Button(xtdock::kButtonImageAbove, true);
    EXPECT_EQ(xtdock::ImageOrigin(layout, 12), CPoint(42, 12 - 4 - 6));
    EXPECT_EQ(xtdock::TextOrigin(layout, CSize(30, 12)), CPoint(35, 14 + 8 + 4));
}

TEST(ButtonLayout, AnEmptyTextDoesNotShiftTheImage) {
    EXPECT_EQ(xtdock::ImageOrigin(Button(xtdock::kButtonImageAbove, true), 0), CPoint(42, 12));
    EXPECT_EQ(xtdock::ImageOrigin(Button(0, true), 0), CPoint(4, 12));
}

TEST(ButtonLayout, ThingsLargerThanTheButtonStartAtItsCorner) {
    xtdock::ButtonLayout layout = Button(xtdock::kButtonImageAbove, false);
    EXPECT_EQ(xtdock::PlaceInClient(layout, CSize(150, 60)), CPoint(0, 0));
}

TEST(ButtonLayout, FixedPositionsWinOverPlacement) {
    xtdock::ButtonLayout layout = Button(0, true);
    layout.fixedPositions = true;
    layout.fixedImage = CPoint(1, 2);
    layout.fixedText = CPoint(3, 4);
    EXPECT_EQ(xtdock::ImageOrigin(layout, 12), CPoint(1, 2));
    EXPECT_EQ(xtdock::TextOrigin(layout, CSize(30, 12)), CPoint(3, 4));
}

TEST(ButtonFrames, AFlatButtonShowsABorderOnlyWhenPushed) {
    int inset = -1;
    auto up = xtdock::ButtonFrames(xtdock::kButtonFlat, false, &inset);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].topLeft, xtdock::ButtonTone::Face);
    EXPECT_EQ(up[0].bottomRight, xtdock::ButtonTone::Face);
    EXPECT_EQ(inset, 0);
    auto down = xtdock::ButtonFrames(xtdock::kButtonFlat, true, &inset);
    EXPECT_EQ(down[0].topLeft, xtdock::ButtonTone::Shadow);
    EXPECT_EQ(down[0].bottomRight, xtdock::ButtonTone::Highlight);
}

TEST(ButtonFrames, AThreeDimensionalBorderHasTwoFramesAndShrinksTheContent) {
    int inset = 0;
    auto up = xtdock::ButtonFrames(0, false, &inset);
    ASSERT_EQ(up.size(), 2u);
    EXPECT_EQ(inset, 1);
    EXPECT_EQ(up[0].topLeft, xtdock::ButtonTone::Highlight);
    EXPECT_EQ(up[0].bottomRight, xtdock::ButtonTone::SharedDarkShadow);
    EXPECT_EQ(up[1].inset, 1);
    EXPECT_EQ(up[1].bottomRight, xtdock::ButtonTone::Shadow);
    auto down = xtdock::ButtonFrames(0, true, &inset);
    EXPECT_EQ(down[0].topLeft, xtdock::ButtonTone::SharedDarkShadow);
    EXPECT_EQ(down[1].topLeft, xtdock::ButtonTone::Shadow);
    EXPECT_EQ(down[1].bottomRight, xtdock::ButtonTone::Face);
}

TEST(ButtonFrames, AThinBorderUsesTheSharedColours) {
    int inset = 0;
    auto up = xtdock::ButtonFrames(xtdock::kButtonThinBorder, false, &inset);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].topLeft, xtdock::ButtonTone::SharedHighlight);
    auto down = xtdock::ButtonFrames(xtdock::kButtonThinBorder, true, &inset);
    EXPECT_EQ(down[0].topLeft, xtdock::ButtonTone::SharedShadow);
}

}  // namespace
