// Border lines, gripper ridges and inside room of the toolkit control bar.
#include "docking/bar_geometry.h"

namespace xtdock {

namespace {

bool ShowsGripper(DWORD barStyle) {
    return (barStyle & CBRS_GRIPPER) != 0 && (barStyle & CBRS_FLOATING) == 0;
}

}  // namespace

std::vector<BarLine> BorderLines(DWORD barStyle, int w, int h, const BarMetrics& m, CRect* inside) {
    std::vector<BarLine> lines;
    CRect rect(0, 0, w, h);
    if ((barStyle & CBRS_BORDER_ANY) == 0) {
        if (inside != nullptr) {
            *inside = rect;
        }
        return lines;
    }
    bool left = (barStyle & CBRS_BORDER_LEFT) != 0;
    bool top = (barStyle & CBRS_BORDER_TOP) != 0;
    bool right = (barStyle & CBRS_BORDER_RIGHT) != 0;
    bool bottom = (barStyle & CBRS_BORDER_BOTTOM) != 0;
    bool raised = (barStyle & CBRS_BORDER_3D) != 0;
    int y0 = top ? m.cyBorder2 : 0;
    int len = h - (bottom ? m.cyBorder2 : 0) - y0 + 1;
    // A 3-D border moves the right and bottom shadow lines one pixel in.
    int rightX = raised ? w - 2 : w - 1;
    int bottomY = raised ? h - 2 : h - 1;
    auto add = [&lines](int x, int y, int cx, int cy, BarLine::Tone tone) {
        lines.push_back(BarLine{CRect(x, y, x + cx, y + cy), tone});
    };
    if (left) {
        add(0, y0 - 1, 1, len, BarLine::Shadow);
    }
    if (top) {
        add(0, 0, w - 1, 1, BarLine::Shadow);
    }
    if (right) {
        add(rightX, y0 - 1, 1, len, BarLine::Shadow);
    }
    if (bottom) {
        add(0, bottomY, w - 1, 1, BarLine::Shadow);
    }
    if (raised) {
        if (left) {
            add(1, y0, 1, len - 1, BarLine::Highlight);
        }
        if (top) {
            add(1, 1, w - 3, 1, BarLine::Highlight);
        }
        if (right) {
            add(w - 1, y0 - 2, 1, len + 2, BarLine::Highlight);
        }
        if (bottom) {
            add(0, h - 1, w, 1, BarLine::Highlight);
        }
    }
    // The flat frame: shadow at the right and bottom, highlight at the top and left, each side
    // taking one pixel from the rectangle.
    if (right) {
        add(rect.right - 1, rect.top, 1, rect.Height(), BarLine::Shadow);
        rect.right -= 1;
    }
    if (bottom) {
        add(rect.left, rect.bottom - 1, rect.Width(), 1, BarLine::Shadow);
        rect.bottom -= 1;
    }
    if (top) {
        add(rect.left, rect.top, rect.Width(), 1, BarLine::Highlight);
        rect.top += 1;
    }
    if (left) {
        add(rect.left, rect.top, 1, rect.Height(), BarLine::Highlight);
        rect.left += 1;
    }
    if (inside != nullptr) {
        *inside = rect;
    }
    return lines;
}

std::vector<GripperRidge> GripperRidges(DWORD barStyle, DWORD toolkitStyle, const CRect& rect,
                                        const BarMetrics& m) {
    std::vector<GripperRidge> ridges;
    if (!ShowsGripper(barStyle)) {
        return ridges;
    }
    const int L = rect.left;
    const int T = rect.top;
    const int R = rect.right;
    const int B = rect.bottom;
    const int kRidge = 3;
    bool twin = (toolkitStyle & kToolkitDoubleGripper) != 0;
    if (barStyle & CBRS_ORIENT_HORZ) {
        if (!twin) {
            int y = T + m.cyTopBorder + 2;
            int height = B - m.cyBottomBorder - m.cyTopBorder - T - 4;
            ridges.push_back(
                GripperRidge{CRect(L + 2, y, L + 2 + kRidge, y + height), false, CPoint()});
        } else {
            for (int x : {L + 2, L + 5}) {
                ridges.push_back(
                    GripperRidge{CRect(x, T + 2, x + kRidge, B - 2), true, CPoint(x, B - 3)});
            }
        }
    } else {
        if (!twin) {
            int x = L + m.cyTopBorder + 2;
            int width = R - m.cyBottomBorder - m.cyTopBorder - L - 4;
            ridges.push_back(
                GripperRidge{CRect(x, T + 2, x + width, T + 2 + kRidge), false, CPoint()});
        } else {
            for (int y : {T + 2, T + 5}) {
                ridges.push_back(
                    GripperRidge{CRect(L + 2, y, R - 2, y + kRidge), true, CPoint(R - 3, y)});
            }
        }
    }
    return ridges;
}

void InsideRect(CRect& rect, bool horz, DWORD barStyle, const BarMetrics& m) {
    if (barStyle & CBRS_BORDER_LEFT) {
        rect.left += m.cxBorder2;
    }
    if (barStyle & CBRS_BORDER_RIGHT) {
        rect.right -= m.cxBorder2;
    }
    if (barStyle & CBRS_BORDER_TOP) {
        rect.top += m.cyBorder2;
    }
    if (barStyle & CBRS_BORDER_BOTTOM) {
        rect.bottom -= m.cyBorder2;
    }
    // The bar's own borders run along its length: left and right are its ends either way.
    const int kGripperRoom = 7;
    if (horz) {
        rect.left += m.cxLeftBorder;
        rect.top += m.cyTopBorder;
        rect.right -= m.cxRightBorder;
        rect.bottom -= m.cyBottomBorder;
        if (ShowsGripper(barStyle)) {
            rect.left += kGripperRoom;
        }
    } else {
        rect.left += m.cyTopBorder;
        rect.top += m.cxLeftBorder;
        rect.right -= m.cyBottomBorder;
        rect.bottom -= m.cxRightBorder;
        if (ShowsGripper(barStyle)) {
            rect.top += kGripperRoom;
        }
    }
}

}  // namespace xtdock
