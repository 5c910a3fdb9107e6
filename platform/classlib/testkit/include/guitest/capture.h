// Pixels of a window for window tests, read at positions the test computes from the window's
// own geometry (never from a stored picture).
#pragma once

#include "classlib/classlib.h"

#include <vector>

namespace guitest {

// The client area of a window as drawn now, copied from the window's own device context.
class ClientPixels {
public:
    explicit ClientPixels(CWnd* pWnd);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour at a client point; CLR_INVALID outside the area.
    COLORREF At(int x, int y) const;
    COLORREF At(CPoint p) const { return At(p.x, p.y); }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;  // 0x00RRGGBB, rows top-down
};

}  // namespace guitest
