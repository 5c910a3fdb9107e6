// A row of a dock bar apart from windows: its docking windows share the row's length, one of
// them may fill it while the others show their captions, and splitter strips between them move
// the boundaries within limits that keep every docking window at least its caption long.
#pragma once

#include "docking/dock_window_sizes.h"

#include "classlib/geometry.h"
#include "classlib/types.h"

#include <vector>

namespace xtdock {

// Splitter strips are this thick, between docking windows of a row and beside a row.
constexpr int XT_SPLITTER_SIZE = 6;

// One bar of a row as its layout sees it.
struct XT_ROW_BAR {
    BOOL bVisible = TRUE;
    BOOL bDockWindow = FALSE;
    BOOL bNewlyDocked = FALSE;  // a docking window just docked into the row
    XT_DOCK_SIZES sizes;        // a docking window's sizes
    CSize sizeFixed;            // any other bar: its docked layout
};
using XTDockRow = std::vector<XT_ROW_BAR>;

// The row's visible docking windows.
int XTRowDockWindowCount(const XTDockRow& row);
// Whether a splitter strip goes before each bar: between docking windows, and between a docking
// window and the other bars that lie between it and the row's next docking window.
std::vector<BOOL> XTRowStripsBefore(const XTDockRow& row);
// The length a bar takes now: a docking window's current length, another bar's docked one.
int XTRowBarLength(const XT_ROW_BAR& bar, XTDockSide side);
// A docking window's length and thickness when docked on the side (its docked size), or another
// bar's.
int XTRowBarDockedLength(const XT_ROW_BAR& bar, XTDockSide side);
int XTRowBarDockedThickness(const XT_ROW_BAR& bar, XTDockSide side);
// The length the row's visible bars and strips take.
int XTRowLength(const XTDockRow& row, XTDockSide side);

// Shares the available length nLength among the row's docking windows: a newly docked one keeps
// its docked length, the others give or take alike, never below their captions. An expanded
// window (or the newly docked one) fills the row again afterwards. Only rows with docking windows
// whose length differs from nLength change.
void XTFitRow(XTDockRow& row, XTDockSide side, int nLength);
// The docking window at nIndex fills the row; the others shrink to their captions.
void XTExpandInRow(XTDockRow& row, XTDockSide side, int nIndex);
// Every docking window of the row back to its docked size.
void XTContractRow(XTDockRow& row, XTDockSide side);
// The index of the row's visible expanded docking window, -1 without one.
int XTRowExpandedIndex(const XTDockRow& row);
// Every visible docking window of the row gets the thickness; answers it.
int XTSetRowThickness(XTDockRow& row, XTDockSide side, int nThickness);
// Gives d to the docking windows before nIndex (walking back) or from nIndex on (walking on):
// the nearest takes all of a growth, and a shrink takes each down to its caption before the
// next one gives way. Answers what is left of d.
int XTGrowBefore(XTDockRow& row, XTDockSide side, int nIndex, int d);
int XTGrowAfter(XTDockRow& row, XTDockSide side, int nIndex, int d);

// The row's thickness from nIndex to its end, and the least a splitter may make it: the
// thickest other bar, at least 2.
int XTRowThickness(const XTDockRow& row, XTDockSide side, int nIndex);
int XTRowMinThickness(const XTDockRow& row, XTDockSide side);
// Limits of the strip before bar nIndex, as positions along the row: the least room the bars
// before it need, and its position plus what the docking windows after it can give up.
int XTRowSplitterMin(const XTDockRow& row, XTDockSide side, int nIndex);
int XTRowSplitterMax(const XTDockRow& row, XTDockSide side, int nIndex, int nPosition);

// A splitter strip being dragged: positions and the mouse point it last followed.
struct XT_SPLITTER_TRACK {
    int nStart = 0;
    int nCurrent = 0;
    int nMin = 0;
    int nMax = 0;
    CPoint ptLast;
};
// Follows the mouse to pt along y (bAlongY) or x; bReversed when the position grows against the
// screen direction (a row of a right or bottom dock bar grows toward the frame's centre). The
// position stays within the limits (the minimum wins when they cross) and the last point moves
// only as far as the position did, so the strip re-engages from there. Answers the movement on
// the screen.
CSize XTTrackSplitter(XT_SPLITTER_TRACK& track, CPoint pt, BOOL bAlongY, BOOL bReversed);

}  // namespace xtdock
