// Caption geometry and gradient colours of a docking window.
#include "docking/dock_window_caption.h"

#include <algorithm>

namespace xtdock {

namespace {

constexpr int kButtonStep = 14;
constexpr int kTextGap = 5;

COLORREF Rgb(int r, int g, int b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}

}  // namespace

CRect XTCaptionButtonRect(XTDockSide side, int w) {
    if (side == XTDockSide::Horz) {
        return CRect(3, 3, 15, 15);
    }
    return CRect(w - 31, 5, w - 19, 17);
}

void XTCaptionButtonRects(XTDockSide side, int w, CRect& rectHide, CRect& rectExpand) {
    rectHide = XTCaptionButtonRect(side, w);
    rectExpand = rectHide;
    if (side == XTDockSide::Horz) {
        rectExpand.OffsetRect(0, kButtonStep);
    } else {
        rectHide.OffsetRect(kButtonStep, 0);
    }
}

CRect XTGripRect(XTDockSide side, int w, int h, BOOL bCaptionButtons) {
    if (side == XTDockSide::Horz) {
        return CRect(5, bCaptionButtons ? 33 : 4, 8, h - 4);
    }
    return CRect(4, 8, bCaptionButtons ? w - 34 : w - 6, 11);
}

CRect XTInsideRect(XTDockSide side, const CRect& rectClient) {
    CRect rect(0, 0, rectClient.Width(), rectClient.Height());
    if (side == XTDockSide::Floating) {
        rect.DeflateRect(3, 3);
    } else {
        rect.DeflateRect(3, 6);
        if (side == XTDockSide::Vert) {
            rect.top += 16;
        } else {
            rect.left += 16;
        }
    }
    if (rect.left > rect.right || rect.top > rect.bottom) {
        rect.SetRectEmpty();
    }
    return rect;
}

XT_CAPTION_AREA XTCaptionArea(XTDockSide side, const CRect& rectGrip, int nTextWidth,
                              BOOL bColoured, BOOL bDouble) {
    const bool bDown = side == XTDockSide::Horz;  // the strip runs down the left side
    CRect r1 = rectGrip;
    CRect r2 = r1;
    if (bDown) {
        r2.OffsetRect(4, 0);
    } else {
        r2.OffsetRect(0, 4);
    }
    XT_CAPTION_AREA area;
    area.rectCaption = CRect(r1.left, r1.top, r2.right, r2.bottom);
    if (bDown) {
        area.rectCaption.InflateRect(2, 0);
    } else {
        area.rectCaption.InflateRect(0, 2);
    }
    if (bColoured) {
        return area;
    }
    if (nTextWidth > 0) {
        if (bDown) {
            r1.bottom -= nTextWidth + kTextGap;
            r2.bottom -= nTextWidth + kTextGap;
        } else {
            r1.left += nTextWidth + kTextGap;
            r2.left += nTextWidth + kTextGap;
        }
    }
    if ((bDown && r1.bottom <= r1.top) || (!bDown && r1.right <= r1.left)) {
        return area;
    }
    if (bDouble) {
        area.nGrips = 2;
        area.rectGrip[0] = r1;
        area.rectGrip[1] = r2;
    } else {
        area.nGrips = 1;
        area.rectGrip[0] = r1;
        if (bDown) {
            area.rectGrip[0].InflateRect(2, 0);
        } else {
            area.rectGrip[0].InflateRect(0, 2);
        }
    }
    return area;
}

int XTGradientStep(int nLength) { return std::max(nLength / 64, 1); }

COLORREF XTGradientColour(COLORREF clrCaption, int nLength, int nPos) {
    if (nLength <= 0) {
        return clrCaption;
    }
    // 64-bit: the square of a long caption times a component outgrows 32 bits.
    const long long l2 = static_cast<long long>(nLength) * nLength;
    const long long rest = static_cast<long long>(nLength - nPos) * (nLength - nPos);
    auto part = [&](int shift) {
        const long long k = (clrCaption >> shift) & 0xFF;
        return static_cast<int>(k - rest * k / l2);
    };
    return Rgb(part(0), part(8), part(16));
}

}  // namespace xtdock
