// Where a toolkit control bar draws its flat borders and its gripper ridges, and the room they
// leave inside (rules without windows; the bar draws what they give).
#pragma once

#include "classlib/geometry.h"
#include "classlib/ids.h"

#include <vector>

namespace xtdock {

// Toolkit style bit: double grip lines and a double gripper.
const DWORD kToolkitDoubleGripper = 0x1000;

// The bar's own border widths (left, top, right, bottom) and the system's double border.
struct BarMetrics {
    int cxLeftBorder = 6;
    int cyTopBorder = 1;
    int cxRightBorder = 6;
    int cyBottomBorder = 1;
    int cxBorder2 = 2;
    int cyBorder2 = 2;
};

struct BarLine {
    enum Tone { Shadow, Highlight };
    CRect rect;  // one pixel thick
    Tone tone;
};

// The border lines of a bar of w x h pixels with the CBRS_* style, in drawing order (later
// lines cover earlier ones), and the rectangle left inside them (0, 0, w, h shrunk by one pixel
// on each bordered side). No lines and no shrinking without a CBRS_BORDER_* bit.
std::vector<BarLine> BorderLines(DWORD barStyle, int width, int height, const BarMetrics& metrics,
                                 CRect* inside);

// A gripper ridge: a 3-D rectangle, highlight at top-left and shadow at bottom-right, with an
// optional highlight pixel at its foot.
struct GripperRidge {
    CRect rect;
    bool hasFoot = false;
    CPoint foot;
};

// The gripper ridges in the rectangle left inside the borders: none unless the bar has
// CBRS_GRIPPER and is not floating; across a horizontal bar (CBRS_ORIENT_HORZ) at its left,
// else along the top.
std::vector<GripperRidge> GripperRidges(DWORD barStyle, DWORD toolkitStyle, const CRect& rect,
                                        const BarMetrics& metrics);

// The room inside the system borders, the bar's own borders and the gripper.
void InsideRect(CRect& rect, bool horz, DWORD barStyle, const BarMetrics& metrics);

}  // namespace xtdock
