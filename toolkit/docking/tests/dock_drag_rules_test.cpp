// Outline snapping and floating-frame sizing of drags, apart from windows.
#include "docking/dock_drag_rules.h"

#include "docking/dock_window_sizes.h"

#include "classlib/ids.h"

#include <gtest/gtest.h>

namespace {

using namespace xtdock;

TEST(DockDragRules, ADockingWindowsOutlineSnapsToTheWholeDockBarWhenItsCentreIsOutside) {
    const CRect dockBar(0, 500, 800, 620);
    // Centre inside: kept as it is.
    EXPECT_EQ(XTSnapOutline(CRect(100, 480, 300, 600), dockBar, TRUE), CRect(100, 480, 300, 600));
    // Centre above the dock bar: stretched across it, its height kept.
    EXPECT_EQ(XTSnapOutline(CRect(100, 400, 300, 520), dockBar, TRUE), CRect(0, 400, 800, 520));
    const CRect leftBar(0, 0, 120, 600);
    EXPECT_EQ(XTSnapOutline(CRect(100, 50, 220, 250), leftBar, FALSE), CRect(100, 0, 220, 600));
}

TEST(DockDragRules, AnOutlineMovesTheLeastToHoldThePoint) {
    CRect rect(100, 100, 200, 150);
    XTMoveToContain(rect, CPoint(150, 120));
    EXPECT_EQ(rect, CRect(100, 100, 200, 150));
    XTMoveToContain(rect, CPoint(250, 90));
    EXPECT_EQ(rect, CRect(150, 90, 250, 140));
    XTMoveToContain(rect, CPoint(10, 300));
    EXPECT_EQ(rect, CRect(10, 250, 110, 300));
}

// A docking window floating at 200 x 100 in a frame that adds 8 across and 24 down.
struct StretchFixture : ::testing::Test {
    XT_DOCK_SIZES sizes;
    XT_STRETCH stretch;
    const CRect desktop{0, 0, 1024, 768};
    XTBarLayout layout = [this](int n, DWORD mode) { return XTDockWindowLayout(sizes, n, mode); };

    StretchFixture() {
        sizes.sizeCurrent = CSize(200, 100);
        stretch.rectRequested = CRect(300, 300, 500, 400);
        stretch.rectActual = stretch.rectRequested;
        stretch.rectActualFrame = CRect(296, 280, 504, 404);
        stretch.rectBorders = CRect(0, 0, 8, 24);
    }
};

TEST_F(StretchFixture, ACornerChangesBothWidthAndHeightAndKeepsTheOppositeEdges) {
    XTStretch(stretch, 13 /* top left */, CSize(-30, -20), layout, desktop);
    EXPECT_EQ(stretch.rectActualFrame, CRect(266, 260, 504, 404));
    EXPECT_EQ(stretch.rectActual.Size(), CSize(230, 120));

    XTStretch(stretch, 17 /* bottom right */, CSize(10, 5), layout, desktop);
    EXPECT_EQ(stretch.rectActualFrame, CRect(266, 260, 514, 409));

    XTStretch(stretch, 14 /* top right */, CSize(-5, 9), layout, desktop);
    EXPECT_EQ(stretch.rectActualFrame, CRect(266, 269, 509, 409));
    XTStretch(stretch, 16 /* bottom left */, CSize(5, -9), layout, desktop);
    EXPECT_EQ(stretch.rectActualFrame, CRect(271, 269, 509, 400));
}

TEST_F(StretchFixture, AnEdgeStopsAt50PixelsAndMovesOnlyItsOwnSide) {
    XTStretch(stretch, 10 /* left */, CSize(400, 70), layout, desktop);
    EXPECT_EQ(stretch.rectActual.Size(), CSize(50, 100));
    EXPECT_EQ(stretch.rectActualFrame, CRect(504 - 58, 280, 504, 404));

    XTStretch(stretch, 15 /* bottom */, CSize(0, -300), layout, desktop);
    EXPECT_EQ(stretch.rectActual.Size(), CSize(50, 50));
    EXPECT_EQ(stretch.rectActualFrame, CRect(446, 280, 504, 354));
}

TEST_F(StretchFixture, TheFrameNeverLeavesTheDesktopEntirely) {
    stretch.rectActualFrame = CRect(-180, 280, 28, 404);
    stretch.rectRequested = CRect(-176, 300, 24, 400);
    XTStretch(stretch, 11 /* right */, CSize(-100, 0), layout, desktop);
    // 100 narrower the frame would end at -72, off the desktop: it stays as it was.
    EXPECT_EQ(stretch.rectActualFrame, CRect(-180, 280, 28, 404));
    XTStretch(stretch, 11, CSize(80, 0), layout, desktop);
    EXPECT_EQ(stretch.rectActualFrame, CRect(-180, 280, 8, 404));
}

}  // namespace
