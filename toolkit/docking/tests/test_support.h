// The application and windows of the docking toolkit's window tests.
#pragma once

#include "classlib/classlib.h"

#include <functional>

// A top-level frame of the given client size at (40, 40), shown and made the main window: the
// frame given (made with new, it deletes itself with its window) or a plain one.
CFrameWnd* OpenTestFrame(int width = 400, int height = 300, CFrameWnd* frame = nullptr);
// Closes the frame and takes away the quit message its end posts.
void CloseTestFrame(CFrameWnd* frame);

// A child window whose painting the test gives.
class CPaintedWnd : public CWnd {
public:
    std::function<void(CDC* pDC)> paint;
    BOOL Create(CWnd* pParent, const CRect& rect);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

// A memory bitmap of the screen's format to draw into and read back.
class CMemoryCanvas {
public:
    CMemoryCanvas(int width, int height, COLORREF fill);
    ~CMemoryCanvas();
    CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOld = nullptr;
};
