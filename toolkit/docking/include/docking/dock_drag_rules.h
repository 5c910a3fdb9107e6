// The rules of dragging a bar to dock or float it and of sizing a floating frame, apart from
// windows: how a docking window's outline snaps to a dock bar, and how a frame's edges and
// corners follow the mouse.
#pragma once

#include "classlib/geometry.h"
#include "classlib/types.h"

#include <functional>

namespace xtdock {

// A docking window's outline over a dock bar, stretched to the dock bar's whole width (a
// horizontal side) or height when the outline's centre lies outside it.
CRect XTSnapOutline(const CRect& rectOutline, const CRect& rectDockBar, BOOL bHorzSide);

// Moves the rectangle the least needed for it to hold the point.
void XTMoveToContain(CRect& rect, CPoint pt);

// A floating frame being sized from an edge or corner: the size the bar asked for, the bar's
// actual size, the frame round it and what the frame adds to the bar in width and height
// (right, bottom).
struct XT_STRETCH {
    CRect rectRequested;
    CRect rectActual;
    CRect rectActualFrame;
    CRect rectBorders;
};
// The bar's layout answer for a length and LM_* mode.
using XTBarLayout = std::function<CSize(int nLength, DWORD dwMode)>;

// One mouse movement on the sizing edge or corner nHitTest (10 to 17): the bar is asked for the
// requested width and then height; the frame keeps the edges opposite the ones moved, and only
// takes the new edges while it still overlaps the desktop.
void XTStretch(XT_STRETCH& stretch, UINT nHitTest, CSize move, const XTBarLayout& layout,
               const CRect& rectDesktop);

}  // namespace xtdock
