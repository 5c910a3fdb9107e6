// Outline snapping and frame stretching of drags.
#include "docking/dock_drag_rules.h"

#include "classlib/ids.h"

namespace xtdock {

namespace {

// Sizing hit-test codes.
constexpr UINT kLeft = 10;
constexpr UINT kRight = 11;
constexpr UINT kTop = 12;
constexpr UINT kTopLeft = 13;
constexpr UINT kTopRight = 14;
constexpr UINT kBottom = 15;
constexpr UINT kBottomLeft = 16;

}  // namespace

CRect XTSnapOutline(const CRect& rectOutline, const CRect& rectDockBar, BOOL bHorzSide) {
    CRect rect = rectOutline;
    const CPoint centre = rectOutline.CenterPoint();
    const bool bInside = centre.x >= rectDockBar.left && centre.x < rectDockBar.right &&
                         centre.y >= rectDockBar.top && centre.y < rectDockBar.bottom;
    if (!bInside) {
        if (bHorzSide) {
            rect.left = rectDockBar.left;
            rect.right = rectDockBar.right;
        } else {
            rect.top = rectDockBar.top;
            rect.bottom = rectDockBar.bottom;
        }
    }
    return rect;
}

void XTMoveToContain(CRect& rect, CPoint pt) {
    if (pt.x < rect.left) {
        rect.OffsetRect(pt.x - rect.left, 0);
    } else if (pt.x > rect.right) {
        rect.OffsetRect(pt.x - rect.right, 0);
    }
    if (pt.y < rect.top) {
        rect.OffsetRect(0, pt.y - rect.top);
    } else if (pt.y > rect.bottom) {
        rect.OffsetRect(0, pt.y - rect.bottom);
    }
}

void XTStretch(XT_STRETCH& stretch, UINT nHitTest, CSize move, const XTBarLayout& layout,
               const CRect& rectDesktop) {
    CSize size = stretch.rectActual.Size();
    if (nHitTest != kTop && nHitTest != kBottom) {
        if (nHitTest == kLeft || nHitTest == kTopLeft || nHitTest == kBottomLeft) {
            stretch.rectRequested.left += move.cx;
        } else {
            stretch.rectRequested.right += move.cx;
        }
        size = layout(stretch.rectRequested.Width(), LM_HORZ);
    }
    if (nHitTest != kLeft && nHitTest != kRight) {
        if (nHitTest == kTop || nHitTest == kTopLeft || nHitTest == kTopRight) {
            stretch.rectRequested.top += move.cy;
        } else {
            stretch.rectRequested.bottom += move.cy;
        }
        size = layout(stretch.rectRequested.Height(), LM_HORZ | LM_LENGTHY);
    }

    const int cx = size.cx + stretch.rectBorders.right;
    const int cy = size.cy + stretch.rectBorders.bottom;
    CRect trial = stretch.rectActualFrame;
    switch (nHitTest) {
        case kLeft:
        case kTop:
        case kTopLeft:
            trial.left = trial.right - cx;
            trial.top = trial.bottom - cy;
            break;
        case kTopRight:
            trial.top = trial.bottom - cy;
            trial.right = trial.left + cx;
            break;
        case kBottomLeft:
            trial.left = trial.right - cx;
            trial.bottom = trial.top + cy;
            break;
        default:
            trial.right = trial.left + cx;
            trial.bottom = trial.top + cy;
            break;
    }
    CRect overlap;
    if (overlap.IntersectRect(&trial, &rectDesktop)) {
        stretch.rectActualFrame = trial;
        stretch.rectActual.right = stretch.rectActual.left + size.cx;
        stretch.rectActual.bottom = stretch.rectActual.top + size.cy;
    }
}

}  // namespace xtdock
