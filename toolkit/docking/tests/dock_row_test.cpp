// A dock bar's row apart from windows: sharing its length, expanding, splitter strips and limits.
#include "docking/dock_row.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace xtdock;

constexpr XTDockSide kHorz = XTDockSide::Horz;

XT_ROW_BAR Window(int nLength, int nThickness = 120) {
    XT_ROW_BAR bar;
    bar.bDockWindow = TRUE;
    bar.sizes.sizeHorzDock = CSize(nLength, nThickness);
    bar.sizes.sizeCurrent = CSize(nLength, nThickness);
    bar.sizes.sizeVertDock = CSize(nThickness, nLength);
    return bar;
}

XT_ROW_BAR Toolbar(int nLength, int nThickness = 26) {
    XT_ROW_BAR bar;
    bar.sizeFixed = CSize(nLength, nThickness);
    return bar;
}

int Length(const XTDockRow& row, std::size_t i) { return row[i].sizes.sizeCurrent.cx; }

// The strips of a row as a string: '|' where a strip goes, 'w' a window, 't' another bar.
std::string Strips(const XTDockRow& row) {
    const std::vector<BOOL> strips = XTRowStripsBefore(row);
    std::string text;
    for (std::size_t i = 0; i < row.size(); ++i) {
        text += strips[i] ? "|" : "";
        text += row[i].bVisible ? (row[i].bDockWindow ? "w" : "t") : "-";
    }
    return text;
}

TEST(DockRow, StripsGoBetweenDockingWindowsAndAroundBarsBetweenThem) {
    EXPECT_EQ(Strips({Window(100), Window(100), Window(100)}), "w|w|w");
    EXPECT_EQ(Strips({Window(100), Toolbar(50), Window(100)}), "w|t|w");
    EXPECT_EQ(Strips({Window(100), Toolbar(50)}), "wt");
    EXPECT_EQ(Strips({Toolbar(50), Window(100), Toolbar(50)}), "twt");
    XT_ROW_BAR hidden = Window(100);
    hidden.bVisible = FALSE;
    EXPECT_EQ(Strips({Window(100), hidden, Window(100)}), "w-|w");
    EXPECT_EQ(Strips({Window(100), hidden}), "w-");
}

TEST(DockRow, ASecondWindowDockedIntoTheRowSplitsItsLength) {
    XTDockRow row = {Window(800), Window(300)};
    row[1].bNewlyDocked = TRUE;
    XTFitRow(row, kHorz, 800);
    // The newcomer keeps its docked length; the other gives up the rest and the strip.
    EXPECT_EQ(Length(row, 1), 300);
    EXPECT_EQ(Length(row, 0), 800 - 300 - 6);
    EXPECT_FALSE(row[1].bNewlyDocked);
    EXPECT_EQ(XTRowLength(row, kHorz), 800);
    // The sizes are the docked ones now, so that a contraction comes back to them.
    EXPECT_EQ(row[0].sizes.sizeHorzDock, CSize(494, 120));

    // A frame grown by 100 shares the room between both (neither is new now).
    XTFitRow(row, kHorz, 900);
    EXPECT_EQ(Length(row, 0), 544);
    EXPECT_EQ(Length(row, 1), 350);

    // A row that already fits is left alone; an odd pixel goes to the last window.
    XTFitRow(row, kHorz, 900);
    EXPECT_EQ(Length(row, 0), 544);
    XTFitRow(row, kHorz, 901);
    EXPECT_EQ(Length(row, 0) + Length(row, 1), 895);
}

TEST(DockRow, AWindowAloneGetsTheWholeRowBesideOtherBars) {
    XTDockRow row = {Toolbar(150), Window(300)};
    row[1].bNewlyDocked = TRUE;
    XTFitRow(row, kHorz, 1000);
    EXPECT_EQ(Length(row, 1), 850);

    XTDockRow toolbars = {Toolbar(150), Toolbar(100)};
    XTFitRow(toolbars, kHorz, 1000);  // nothing to share: no docking window
    EXPECT_EQ(toolbars[0].sizeFixed, CSize(150, 26));
}

TEST(DockRow, ShrinkingNeverTakesAWindowBelowItsCaption) {
    XTDockRow row = {Window(30), Window(400), Window(40)};
    XTFitRow(row, kHorz, 200);  // 482 now: 282 to give up
    EXPECT_EQ(Length(row, 0), 19);
    EXPECT_EQ(Length(row, 2), 19);
    EXPECT_EQ(Length(row, 1), 200 - 19 - 19 - 12);
    EXPECT_EQ(XTRowLength(row, kHorz), 200);

    // A row that cannot hold them all: every window at its caption, none below.
    XTFitRow(row, kHorz, 40);
    for (std::size_t i = 0; i < row.size(); ++i) {
        EXPECT_EQ(Length(row, i), 19) << i;
    }
}

TEST(DockRow, ExpandingFillsTheRowAndContractingRestoresTheDockedSizes) {
    XTDockRow row = {Window(300), Window(494)};
    XTExpandInRow(row, kHorz, 0);
    EXPECT_TRUE(row[0].sizes.bExpanded);
    EXPECT_EQ(Length(row, 1), 19);
    EXPECT_EQ(Length(row, 0), 300 + 494 - 19);
    EXPECT_EQ(XTRowLength(row, kHorz), 800);
    EXPECT_EQ(XTRowExpandedIndex(row), 0);

    XTContractRow(row, kHorz);
    EXPECT_EQ(XTRowExpandedIndex(row), -1);
    EXPECT_EQ(Length(row, 0), 300);
    EXPECT_EQ(Length(row, 1), 494);
}

TEST(DockRow, AWindowDockedIntoARowWithAnExpandedOneBecomesTheExpandedOne) {
    XTDockRow row = {Window(300), Window(494), Window(200)};
    row[2].bVisible = FALSE;
    XTExpandInRow(row, kHorz, 0);
    row[2].bVisible = TRUE;
    row[2].bNewlyDocked = TRUE;
    XTFitRow(row, kHorz, 800);
    EXPECT_EQ(XTRowExpandedIndex(row), 2);
    EXPECT_EQ(Length(row, 0), 19);
    EXPECT_EQ(Length(row, 1), 19);
    EXPECT_EQ(XTRowLength(row, kHorz), 800);
}

TEST(DockRow, GrowthGoesToTheNearestWindowAndAShrinkStopsEachAtItsCaption) {
    XTDockRow row = {Window(100), Window(50), Window(200), Window(300)};
    EXPECT_EQ(XTGrowBefore(row, kHorz, 2, 40), 0);
    EXPECT_EQ(Length(row, 1), 90);
    EXPECT_EQ(Length(row, 0), 100);

    // 150 to give up before index 2: the nearest down to 19 (71), the next the rest (79).
    EXPECT_EQ(XTGrowBefore(row, kHorz, 2, -150), 0);
    EXPECT_EQ(Length(row, 1), 19);
    EXPECT_EQ(Length(row, 0), 21);
    // More than the windows can give: what is left comes back.
    EXPECT_EQ(XTGrowBefore(row, kHorz, 2, -10), -8);
    EXPECT_EQ(Length(row, 0), 19);

    EXPECT_EQ(XTGrowAfter(row, kHorz, 2, -250), 0);
    EXPECT_EQ(Length(row, 2), 19);
    EXPECT_EQ(Length(row, 3), 231);
    EXPECT_EQ(XTGrowAfter(row, kHorz, 4, 10), 10);  // no window after the end

    XTDockRow toolbarFirst = {Toolbar(80), Window(100)};
    EXPECT_EQ(XTGrowBefore(toolbarFirst, kHorz, 1, 30), 30);
}

TEST(DockRow, SplitterLimitsKeepEveryWindowAtItsCaption) {
    // w(300) | t(60) | w(200) | w(234): strips before the toolbar, the second and third window.
    XTDockRow row = {Window(300), Toolbar(60), Window(200), Window(234)};
    ASSERT_EQ(Strips(row), "w|t|w|w");
    // The strip before the second window lies at 300 + 6 + 60 = 366.
    EXPECT_EQ(XTRowSplitterMin(row, kHorz, 2), 19 + 6 + 60);
    EXPECT_EQ(XTRowSplitterMax(row, kHorz, 2, 366), 366 + (200 - 19) + (234 - 19));
    EXPECT_EQ(XTRowSplitterMin(row, kHorz, 3), 19 + 6 + 60 + 6 + 19);

    // Row thickness: the thickest from the index on; the least it may become is the thickest
    // other bar.
    row[2].sizes.sizeHorzDock.cy = 150;
    EXPECT_EQ(XTRowThickness(row, kHorz, 0), 150);
    EXPECT_EQ(XTRowMinThickness(row, kHorz), 26);
    EXPECT_EQ(XTRowMinThickness({Window(100, 5)}, kHorz), 2);
    EXPECT_EQ(XTSetRowThickness(row, kHorz, 90), 90);
    EXPECT_EQ(row[0].sizes.sizeHorzDock, CSize(300, 90));
    EXPECT_EQ(row[2].sizes.sizeCurrent, CSize(200, 90));
    EXPECT_EQ(row[1].sizeFixed, CSize(60, 26));
}

TEST(SplitterTrack, StopsAtTheLimitAndReengagesOnlyFromTheStoredPoint) {
    XT_SPLITTER_TRACK track;
    track.nStart = track.nCurrent = 100;
    track.nMin = 40;
    track.nMax = 130;
    track.ptLast = CPoint(100, 10);

    EXPECT_EQ(XTTrackSplitter(track, CPoint(120, 50), FALSE, FALSE), CSize(20, 0));
    EXPECT_EQ(XTTrackSplitter(track, CPoint(200, 10), FALSE, FALSE), CSize(10, 0));
    EXPECT_EQ(track.nCurrent, 130);
    EXPECT_EQ(track.ptLast, CPoint(130, 10));
    // Past the limit and back, but not yet behind the stored point: nothing moves.
    EXPECT_EQ(XTTrackSplitter(track, CPoint(250, 10), FALSE, FALSE), CSize(0, 0));
    EXPECT_EQ(XTTrackSplitter(track, CPoint(140, 10), FALSE, FALSE), CSize(0, 0));
    EXPECT_EQ(XTTrackSplitter(track, CPoint(125, 10), FALSE, FALSE), CSize(-5, 0));
    EXPECT_EQ(XTTrackSplitter(track, CPoint(0, 10), FALSE, FALSE), CSize(-85, 0));
    EXPECT_EQ(track.nCurrent, 40);

    // Crossed limits: the minimum wins.
    track.nMax = 20;
    EXPECT_EQ(XTTrackSplitter(track, CPoint(track.ptLast.x + 5, 10), FALSE, FALSE), CSize(0, 0));
    EXPECT_EQ(track.nCurrent, 40);
}

TEST(SplitterTrack, ARowOfABottomDockBarGrowsUpwards) {
    XT_SPLITTER_TRACK track;
    track.nStart = track.nCurrent = 120;
    track.nMin = 26;
    track.nMax = 400;
    track.ptLast = CPoint(10, 500);
    // Up on the screen is a thicker row; the tracker follows the mouse up.
    EXPECT_EQ(XTTrackSplitter(track, CPoint(10, 450), TRUE, TRUE), CSize(0, -50));
    EXPECT_EQ(track.nCurrent, 170);
    EXPECT_EQ(XTTrackSplitter(track, CPoint(10, 700), TRUE, TRUE), CSize(0, 144));
    EXPECT_EQ(track.nCurrent, 26);
    EXPECT_EQ(track.ptLast, CPoint(10, 594));
}

}  // namespace
