// CDockContext: the mouse loop that drags a bar between the frame's sides and floating frames
// with an outline on the screen, resizes a floating bar, and toggles docked and floating.
#include "classlib/classlib.h"

#include <algorithm>

namespace {

bool IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
bool IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// Moves the rectangle the least so that it holds the point.
void CoverPoint(CRect& rect, CPoint pt) {
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

// A floating frame's outline around a bar's rectangle, one border in so that the frame shows
// where the bar's own edge will be.
CRect FrameOutline(const CRect& barRect) {
    CRect rect = barRect;
    CMiniFrameWnd::CalcBorders(&rect, WS_THICKFRAME | WS_CAPTION);
    rect.InflateRect(-afxData.cxBorder2, -afxData.cyBorder2);
    return rect;
}

}  // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite) {}

CDockContext::~CDockContext() = default;

// The drag.

void CDockContext::StartDrag(CPoint pt) {
    m_bDragging = TRUE;
    InitLoop();
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    DWORD barStyle = m_pBar->m_dwStyle;
    if (barStyle & CBRS_SIZE_DYNAMIC) {
        // Each outline is the bar's own layout for that way of lying.
        CSize horz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
        CSize vert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
        CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
        m_rectDragHorz = CRect(rect.TopLeft(), horz);
        m_rectDragVert = CRect(rect.TopLeft(), vert);
        m_rectFrameDragHorz = FrameOutline(CRect(rect.TopLeft(), floating));
        m_rectFrameDragVert = FrameOutline(CRect(rect.TopLeft(), floating));
    } else if (barStyle & CBRS_SIZE_FIXED) {
        CSize horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
        CSize vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
        m_rectDragHorz = CRect(rect.TopLeft(), horz);
        m_rectDragVert = CRect(rect.TopLeft(), vert);
        m_rectFrameDragHorz = FrameOutline(m_rectDragHorz);
        m_rectFrameDragVert = FrameOutline(m_rectDragVert);
    } else {
        // The bar as it lies now, and its layout the other way turned about the mouse.
        BOOL horzNow = IsHorz(m_dwStyle);
        CSize other =
            m_pBar->CalcDynamicLayout(-1, horzNow ? LM_VERTDOCK : (LM_HORZ | LM_HORZDOCK));
        if (horzNow) {
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), other);
        } else {
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), other);
        }
        m_rectFrameDragHorz = FrameOutline(m_rectDragHorz);
        m_rectFrameDragVert = FrameOutline(m_rectDragVert);
    }
    CoverPoint(m_rectDragHorz, pt);
    CoverPoint(m_rectDragVert, pt);
    CoverPoint(m_rectFrameDragHorz, pt);
    CoverPoint(m_rectFrameDragVert, pt);
    m_dwOverDockStyle = CanDock();
    Move(pt);
    Track();
}

void CDockContext::Move(CPoint pt) {
    CSize offset = pt - m_ptLast;
    m_rectDragHorz.OffsetRect(offset);
    m_rectDragVert.OffsetRect(offset);
    m_rectFrameDragHorz.OffsetRect(offset);
    m_rectFrameDragVert.OffsetRect(offset);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown) {
    if (nChar == VK_CONTROL) {
        UpdateState(&m_bForceFrame, bDown);
    }
    if (nChar == VK_SHIFT) {
        UpdateState(&m_bFlip, bDown);
    }
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue) {
    if (*pFlag == bNewValue) {
        return;
    }
    *pFlag = bNewValue;
    // Turning the outline only means something for a bar that may lie either way.
    m_bFlip = m_bFlip && IsHorz(m_dwDockStyle) && IsVert(m_dwDockStyle);
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::EndDrag() {
    CancelLoop();
    if (m_dwOverDockStyle != 0) {
        CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
        if (dockBar == nullptr) {
            return;
        }
        CRect rect = IsVert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        UINT id = static_cast<UINT>(dockBar->GetDlgCtrlID());
        if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
            m_uMRUDockID = id;
            m_rectMRUDockPos = rect;
            dockBar->ScreenToClient(&m_rectMRUDockPos);
        }
        m_pDockSite->DockControlBar(m_pBar, dockBar, &rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    FloatAtDrop();
}

void CDockContext::FloatAtDrop() {
    if ((m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || (IsHorz(m_dwStyle) && !m_bFlip) ||
        (IsVert(m_dwStyle) && m_bFlip)) {
        m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
    } else {
        m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
    }
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

// Which side.

DWORD CDockContext::CanDock() {
    // The bar's own orientation first (turned with Shift); without Shift, a side that both
    // outlines reach.
    BOOL horz = IsHorz(m_dwStyle) != (m_bFlip != FALSE);
    DWORD dock = 0;
    if (horz && IsHorz(m_dwDockStyle)) {
        dock = CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    } else if (IsVert(m_dwDockStyle)) {
        dock = CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    }
    if (!m_bFlip) {
        if (dock == 0 && IsHorz(m_dwDockStyle)) {
            DWORD other = CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            dock = CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            dock = dock == other ? dock : 0;
        }
        if (dock == 0 && IsVert(m_dwDockStyle)) {
            DWORD other = CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            dock = CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            dock = dock == other ? dock : 0;
        }
    }
    return dock;
}

DWORD CDockContext::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
    return m_pDockSite->CanDock(rect, dwDockStyle, ppDockBar);
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle) {
    CDockBar* dockBar = nullptr;
    DWORD style = m_dwDockStyle & (CBRS_FLOAT_MULTI | dwOverDockStyle);
    if (IsHorz(dwOverDockStyle)) {
        CanDock(m_rectDragHorz, style & ~CBRS_ORIENT_VERT, &dockBar);
    } else if (IsVert(dwOverDockStyle)) {
        CanDock(m_rectDragVert, style & ~CBRS_ORIENT_HORZ, &dockBar);
    }
    return dockBar;
}

// The outline.

void CDockContext::DrawFocusRect(BOOL bRemoveRect) {
    if (m_pDC == nullptr) {
        return;
    }
    CRect rect;
    if (IsHorz(m_dwOverDockStyle)) {
        rect = m_rectDragHorz;
    } else if (IsVert(m_dwOverDockStyle)) {
        rect = m_rectDragVert;
    }
    DrawOutline(rect, IsHorz(m_dwOverDockStyle) || IsVert(m_dwOverDockStyle), bRemoveRect);
}

void CDockContext::DrawOutline(CRect rect, bool bOverDockBar, BOOL bRemoveRect) {
    CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CBrush* halftone = CDC::GetHalftoneBrush();
    CBrush* brush = white;
    CSize size(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
    if (!bOverDockBar) {
        // Floating: a frame as thick as a window's, in grey.
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - ::GetSystemMetrics(SM_CXBORDER),
                     ::GetSystemMetrics(SM_CYFRAME) - ::GetSystemMetrics(SM_CYBORDER));
        rect = ((IsHorz(m_dwStyle) && !m_bFlip) || (IsVert(m_dwStyle) && m_bFlip))
                   ? m_rectFrameDragHorz
                   : m_rectFrameDragVert;
        brush = halftone;
    }
    if (bRemoveRect) {
        size = CSize(0, 0);
    }
    if (afxData.bWin4 && bOverDockBar) {
        rect.InflateRect(-::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER));
    }
    m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, brush,
                        m_bDitherLast ? halftone : white);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = brush == halftone;
}

// The loop.

void CDockContext::InitLoop() {
    // Windows repaint before the outline goes over them.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        if (!::GetMessageA(&msg, nullptr, WM_PAINT, WM_PAINT)) {
            return;
        }
        ::DispatchMessageA(&msg);
    }
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_bDitherLast = FALSE;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_pDockSite = m_pBar->m_pDockSite;
    // The outline is drawn over everything on the screen, with window updates held meanwhile.
    CWnd* desktop = CWnd::GetDesktopWindow();
    DWORD flags = DCX_WINDOW | DCX_CACHE;
    if (desktop->LockWindowUpdate()) {
        flags |= DCX_LOCKWINDOWUPDATE;
    }
    m_pDC = desktop->GetDCEx(nullptr, flags);
}

void CDockContext::CancelLoop() {
    DrawFocusRect(TRUE);
    ::ReleaseCapture();
    CWnd* desktop = CWnd::GetDesktopWindow();
    desktop->UnlockWindowUpdate();
    if (m_pDC != nullptr) {
        desktop->ReleaseDC(m_pDC);
        m_pDC = nullptr;
    }
}

BOOL CDockContext::Track() {
    if (::GetCapture() != nullptr) {
        // Another window has the mouse: no loop, and the screen is left as it was (the capture
        // stays where it is).
        DrawFocusRect(TRUE);
        CWnd* desktop = CWnd::GetDesktopWindow();
        desktop->UnlockWindowUpdate();
        if (m_pDC != nullptr) {
            desktop->ReleaseDC(m_pDC);
            m_pDC = nullptr;
        }
        return FALSE;
    }
    m_pBar->SetCapture();
    // The loop takes every message of the thread: the mouse's position comes from the message
    // (where the cursor was when it was sent), keys steer and cancel.
    while (::GetCapture() == m_pBar->m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            AfxPostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
            case WM_LBUTTONUP:
                if (m_bDragging) {
                    EndDrag();
                } else {
                    EndResize();
                }
                return TRUE;
            case WM_MOUSEMOVE:
                if (m_bDragging) {
                    Move(msg.pt);
                } else {
                    Stretch(msg.pt);
                }
                break;
            case WM_KEYUP:
                if (m_bDragging) {
                    OnKey(static_cast<int>(msg.wParam), FALSE);
                }
                break;
            case WM_KEYDOWN:
                if (m_bDragging) {
                    OnKey(static_cast<int>(msg.wParam), TRUE);
                }
                if (msg.wParam == VK_ESCAPE) {
                    CancelLoop();
                    return FALSE;
                }
                break;
            case WM_RBUTTONDOWN:
                CancelLoop();
                return FALSE;
            default:
                ::DispatchMessageA(&msg);
                break;
        }
    }
    CancelLoop();
    return FALSE;
}

// Resizing a floating bar.

void CDockContext::StartResize(int nHitTest, CPoint pt) {
    m_bDragging = FALSE;
    InitLoop();
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    m_nHitTest = nHitTest;
    CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectRequestedSize = CRect(rect.TopLeft(), size);
    m_rectActualSize = CRect(rect.TopLeft(), size);
    m_rectActualFrameSize = FrameOutline(CRect(rect.TopLeft(), size));
    m_rectFrameBorders =
        CRect(CPoint(0, 0), m_rectActualFrameSize.Size() - m_rectActualSize.Size());
    m_dwOverDockStyle = 0;
    Stretch(pt);
    Track();
}

void CDockContext::Stretch(CPoint pt) {
    CSize offset = pt - m_ptLast;
    int length;
    DWORD mode = LM_HORZ;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
        if (m_nHitTest == HTLEFT) {
            m_rectRequestedSize.left += offset.cx;
        } else {
            m_rectRequestedSize.right += offset.cx;
        }
        length = m_rectRequestedSize.Width();
    } else {
        mode |= LM_LENGTHY;
        if (m_nHitTest == HTTOP) {
            m_rectRequestedSize.top += offset.cy;
        } else {
            m_rectRequestedSize.bottom += offset.cy;
        }
        length = m_rectRequestedSize.Height();
    }
    CSize size = m_pBar->CalcDynamicLayout(std::max(length, 0), mode);
    // The frame grows or shrinks from the edge that moves, and never leaves the desktop.
    CRect desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    CRect trial = m_rectActualFrameSize;
    CRect overlap;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOP) {
        trial.left = trial.right - (size.cx + m_rectFrameBorders.Width());
        trial.top = trial.bottom - (size.cy + m_rectFrameBorders.Height());
        if (overlap.IntersectRect(&desktop, &trial)) {
            m_rectActualSize.left = m_rectActualSize.right - size.cx;
            m_rectActualSize.top = m_rectActualSize.bottom - size.cy;
            m_rectActualFrameSize.left = trial.left;
            m_rectActualFrameSize.top = trial.top;
        }
    } else {
        trial.right = trial.left + size.cx + m_rectFrameBorders.Width();
        trial.bottom = trial.top + size.cy + m_rectFrameBorders.Height();
        if (overlap.IntersectRect(&desktop, &trial)) {
            m_rectActualSize.right = m_rectActualSize.left + size.cx;
            m_rectActualSize.bottom = m_rectActualSize.top + size.cy;
            m_rectActualFrameSize.right = trial.right;
            m_rectActualFrameSize.bottom = trial.bottom;
        }
    }
    m_ptLast = pt;
    DrawFocusRect();
}

void CDockContext::EndResize() {
    CancelLoop();
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(
        m_pBar, m_rectActualFrameSize.TopLeft(),
        CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

// Toggling.

void CDockContext::ToggleDocking() {
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) {
            return;  // a bar that may not dock stays afloat
        }
        CRect rect = m_rectMRUDockPos;
        CDockBar* dockBar = nullptr;
        if (m_uMRUDockID != 0) {
            dockBar = DYNAMIC_DOWNCAST(CDockBar, m_pDockSite->GetControlBar(m_uMRUDockID));
            if (dockBar != nullptr) {
                dockBar->ClientToScreen(&rect);
            }
        }
        m_pDockSite->ReDockControlBar(m_pBar, dockBar, &rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    CPoint point = m_ptMRUFloatPos;
    if (point.x < 0 || point.y < 0) {
        point = m_rectMRUDockPos.TopLeft();
        m_pBar->GetParent()->ClientToScreen(&point);
    }
    m_pDockSite->FloatControlBar(m_pBar, point, m_dwMRUFloatStyle);
}
