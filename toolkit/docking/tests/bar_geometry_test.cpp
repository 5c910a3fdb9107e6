// Where the toolkit control bar draws its borders and gripper, and the room left inside.
#include "docking/bar_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The bar's picture after drawing the lines in order: 'S' shadow, 'H' highlight, '.' untouched.
class Picture {
public:
    Picture(int w, int h) : m_w(w), m_h(h), m_cells(static_cast<size_t>(w * h), '.') {}
    void Draw(const std::vector<xtdock::BarLine>& lines) {
        for (const auto& line : lines) {
            for (int y = line.rect.top; y < line.rect.bottom; ++y) {
                for (int x = line.rect.left; x < line.rect.right; ++x) {
                    if (x >= 0 && y >= 0 && x < m_w && y < m_h) {
                        m_cells[static_cast<size_t>(y * m_w + x)] =
                            line.tone == xtdock::BarLine::Shadow ? 'S' : 'H';
                    }
                }
            }
        }
    }
    char At(int x, int y) const { return m_cells[static_cast<size_t>(y * m_w + x)]; }

private:
    int m_w;
    int m_h;
    std::vector<char> m_cells;
};

const xtdock::BarMetrics kMetrics;  // borders 6, 1, 6, 1; system double border 2

TEST(BarBorders, ABarWithoutBorderBitsGetsNoLinesAndKeepsItsRectangle) {
    CRect inside;
    EXPECT_TRUE(
        xtdock::BorderLines(CBRS_ALIGN_TOP | CBRS_GRIPPER, 50, 20, kMetrics, &inside).empty());
    EXPECT_EQ(inside, CRect(0, 0, 50, 20));
}

TEST(BarBorders, AFlatBorderIsLightAtTopLeftAndDarkAtBottomRight) {
    CRect inside;
    Picture picture(50, 20);
    picture.Draw(xtdock::BorderLines(CBRS_BORDER_ANY, 50, 20, kMetrics, &inside));
    EXPECT_EQ(picture.At(0, 10), 'H');
    EXPECT_EQ(picture.At(25, 0), 'H');
    EXPECT_EQ(picture.At(49, 10), 'S');
    EXPECT_EQ(picture.At(25, 19), 'S');
    EXPECT_EQ(picture.At(49, 0), 'S');  // the right edge runs the full height
    EXPECT_EQ(picture.At(1, 10), '.');
    EXPECT_EQ(picture.At(48, 10), '.');
    EXPECT_EQ(inside, CRect(1, 1, 49, 19));
}

TEST(BarBorders, ARaisedBorderAddsLinesOnePixelIn) {
    CRect inside;
    Picture picture(50, 20);
    picture.Draw(xtdock::BorderLines(CBRS_BORDER_ANY | CBRS_BORDER_3D, 50, 20, kMetrics, &inside));
    EXPECT_EQ(picture.At(1, 10), 'H');   // inner left highlight
    EXPECT_EQ(picture.At(25, 1), 'H');   // inner top highlight
    EXPECT_EQ(picture.At(48, 10), 'S');  // the right shadow moved in
    EXPECT_EQ(picture.At(25, 18), 'S');  // the bottom shadow moved in
    EXPECT_EQ(picture.At(49, 10), 'S');
    EXPECT_EQ(inside, CRect(1, 1, 49, 19));
}

TEST(BarBorders, OnlyBorderedSidesAreDrawnAndGiveUpAPixel) {
    CRect inside;
    Picture picture(50, 20);
    picture.Draw(xtdock::BorderLines(CBRS_BORDER_BOTTOM, 50, 20, kMetrics, &inside));
    EXPECT_EQ(picture.At(25, 19), 'S');
    EXPECT_EQ(picture.At(0, 10), '.');
    EXPECT_EQ(picture.At(25, 0), '.');
    EXPECT_EQ(picture.At(49, 10), '.');
    EXPECT_EQ(inside, CRect(0, 0, 50, 19));
}

TEST(BarGripper, ASingleRidgeStandsAcrossAHorizontalBarInsideItsBorders) {
    auto ridges =
        xtdock::GripperRidges(CBRS_ALIGN_TOP | CBRS_GRIPPER, 0, CRect(1, 1, 49, 29), kMetrics);
    ASSERT_EQ(ridges.size(), 1u);
    EXPECT_EQ(ridges[0].rect, CRect(3, 4, 6, 26));
    EXPECT_FALSE(ridges[0].hasFoot);
}

TEST(BarGripper, ADoubleGripperHasTwoRidgesWithLightFeet) {
    auto horz = xtdock::GripperRidges(CBRS_ALIGN_BOTTOM | CBRS_GRIPPER,
                                      xtdock::kToolkitDoubleGripper, CRect(1, 1, 49, 29), kMetrics);
    ASSERT_EQ(horz.size(), 2u);
    EXPECT_EQ(horz[0].rect, CRect(3, 3, 6, 27));
    EXPECT_EQ(horz[1].rect, CRect(6, 3, 9, 27));
    EXPECT_EQ(horz[1].foot, CPoint(6, 26));

    auto vert = xtdock::GripperRidges(CBRS_ALIGN_LEFT | CBRS_GRIPPER, xtdock::kToolkitDoubleGripper,
                                      CRect(1, 1, 29, 99), kMetrics);
    ASSERT_EQ(vert.size(), 2u);
    EXPECT_EQ(vert[0].rect, CRect(3, 3, 27, 6));
    EXPECT_EQ(vert[1].rect, CRect(3, 6, 27, 9));
    EXPECT_EQ(vert[0].foot, CPoint(26, 3));
}

TEST(BarGripper, AVerticalBarHasItsRidgeAlongTheTop) {
    auto ridges =
        xtdock::GripperRidges(CBRS_ALIGN_RIGHT | CBRS_GRIPPER, 0, CRect(1, 1, 29, 99), kMetrics);
    ASSERT_EQ(ridges.size(), 1u);
    EXPECT_EQ(ridges[0].rect, CRect(4, 3, 26, 6));
}

TEST(BarGripper, AFloatingBarOrOneWithoutTheStyleHasNone) {
    EXPECT_TRUE(xtdock::GripperRidges(CBRS_ALIGN_TOP | CBRS_GRIPPER | CBRS_FLOATING, 0,
                                      CRect(0, 0, 50, 30), kMetrics)
                    .empty());
    EXPECT_TRUE(xtdock::GripperRidges(CBRS_ALIGN_TOP, 0, CRect(0, 0, 50, 30), kMetrics).empty());
}

TEST(BarInside, BordersAndTheGripperTakeTheirRoomAlongTheBar) {
    CRect horz(0, 0, 100, 30);
    xtdock::InsideRect(horz, true, CBRS_BORDER_ANY | CBRS_GRIPPER, kMetrics);
    EXPECT_EQ(horz, CRect(15, 3, 92, 27));
    CRect vert(0, 0, 30, 100);
    xtdock::InsideRect(vert, false, CBRS_BORDER_ANY | CBRS_GRIPPER, kMetrics);
    EXPECT_EQ(vert, CRect(3, 15, 27, 92));
}

TEST(BarInside, AFloatingBarReservesNoGripperRoom) {
    CRect rect(0, 0, 100, 30);
    xtdock::InsideRect(rect, true, CBRS_GRIPPER | CBRS_FLOATING, kMetrics);
    EXPECT_EQ(rect, CRect(6, 1, 94, 29));
}

}  // namespace
