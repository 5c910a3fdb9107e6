// CXTMemDC: an off-screen device context that shows its picture on the target when it ends,
// so that toolkit windows paint without flicker.
#pragma once

#include "classlib/classlib.h"

class CXTMemDC : public CDC {
public:
    // Draws off screen over `rect` (a client rectangle whose top-left corner is (0, 0): the
    // picture is copied to the target's origin), filled with clrColor first. pDC is required.
    CXTMemDC(CWnd* pWnd, CDC* pDC, const CRect& rect, COLORREF clrColor);
    // Copies the picture to the target and frees the bitmap and the context.
    ~CXTMemDC() override;
    CXTMemDC(const CXTMemDC&) = delete;
    CXTMemDC& operator=(const CXTMemDC&) = delete;

protected:
    CDC* m_pDC;
    CWnd* m_pWnd;  // the window being painted (kept for drawing code that asks)
    CRect m_rect;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    COLORREF m_clrColor;
};
