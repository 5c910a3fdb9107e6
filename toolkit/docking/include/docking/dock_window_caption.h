// Where a docking window's caption, grip lines, caption buttons and child area lie, and the
// colours of its gradient caption.
#pragma once

#include "docking/dock_window_sizes.h"

#include "classlib/geometry.h"
#include "classlib/types.h"

namespace xtdock {

// Docked along the top or bottom the caption runs down the window's left side; otherwise along
// its top. Rectangles are in client coordinates of a w x h window.
CRect XTCaptionButtonRect(XTDockSide side, int w);
// The hide button sits at the caption's end (top or rightmost), the expand button beside it.
void XTCaptionButtonRects(XTDockSide side, int w, CRect& rectHide, CRect& rectExpand);
CRect XTGripRect(XTDockSide side, int w, int h, BOOL bCaptionButtons);
// The area left for the child window; empty (all zero) when the borders and caption take it all.
CRect XTInsideRect(XTDockSide side, const CRect& rectClient);

// The caption area: its background rectangle and the grip lines drawn in it.
struct XT_CAPTION_AREA {
    CRect rectCaption;  // filled by the caption drawing, text clipped to it
    int nGrips = 0;     // grip rectangles to draw: 0, 1 or 2
    CRect rectGrip[2];
};
// nTextWidth: the title's width in the caption font, 0 without a title shown. Grip lines are
// drawn only on an uncoloured caption; bDouble draws two 3-D lines instead of one wide one.
XT_CAPTION_AREA XTCaptionArea(XTDockSide side, const CRect& rectGrip, int nTextWidth,
                              BOOL bColoured, BOOL bDouble);

// The gradient caption: bands of nStep along a strip of nLength, the first in the frame colour,
// then colours rising to the caption colour.
int XTGradientStep(int nLength);
COLORREF XTGradientColour(COLORREF clrCaption, int nLength, int nPos);

}  // namespace xtdock
