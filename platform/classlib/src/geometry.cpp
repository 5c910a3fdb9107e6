// CRect operations that combine rectangles, with the Win32 rules for empty rectangles.
#include "classlib/geometry.h"

#include <algorithm>

void CRect::NormalizeRect() {
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
}

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) {
    CRect a(*lpRect1);
    CRect b(*lpRect2);
    CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    if (a.IsRectEmpty() || b.IsRectEmpty() || r.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    *this = r;
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) {
    CRect a(*lpRect1);
    CRect b(*lpRect2);
    if (a.IsRectEmpty()) {
        if (b.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = b;
        return TRUE;
    }
    if (b.IsRectEmpty()) {
        *this = a;
        return TRUE;
    }
    SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom));
    return TRUE;
}
