// CDockBar's layout: the docked bars placed row by row along the dock bar, each where it was put
// if that is further on, pulled back from the end, a bar out of sight moved to a row of its own.
#include "classlib/classlib.h"

#include <algorithm>

namespace {

// The layout request a docked bar is asked for by its orientation.
DWORD DockedMode(const CControlBar* pBar) {
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING)) {
        return LM_HORZ | LM_MRUWIDTH;
    }
    return (pBar->m_dwStyle & CBRS_ORIENT_HORZ) ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
}

}  // namespace

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize fixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    // The length the rows may take: the room the frame's layout offers, else its client area.
    CSize room;
    if (!m_rectLayout.IsRectEmpty()) {
        room = m_rectLayout.Size();
    } else {
        CRect client;
        GetParent()->GetClientRect(&client);
        room = client.Size();
    }
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP =
        m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));

    // Along the row (x of a horizontal dock bar) and across the rows (y). Neighbours overlap by
    // the border width, and the first ones by the dock bar's edge.
    const int alongBorder = bHorz ? afxData.cxBorder2 : afxData.cyBorder2;
    const int acrossBorder = bHorz ? afxData.cyBorder2 : afxData.cxBorder2;
    const int length = bHorz ? room.cx : room.cy;
    int along = -alongBorder;
    int across = -acrossBorder;
    int thickness = 0;
    BOOL wrapped = FALSE;
    for (INT_PTR pos = 0; pos < m_arrBars.GetSize(); ++pos) {
        CControlBar* bar = GetDockedControlBar(static_cast<int>(pos));
        void* entry = m_arrBars[pos];
        if (bar != nullptr && bar->IsVisible()) {
            CSize size = bar->CalcDynamicLayout(-1, DockedMode(bar));
            int extent = bHorz ? size.cx : size.cy;
            CRect current;
            bar->GetWindowRect(&current);
            ScreenToClient(&current);
            int at = along;
            int where = bHorz ? current.left : current.top;
            if (!m_bFloating) {
                // Kept where it was put when that lies further on; pulled back from the end.
                at = std::max(at, where);
                if (at + extent > length) {
                    at = std::max(length - (extent - alongBorder), along);
                }
            }
            if (wrapped) {
                wrapped = FALSE;
                at = -alongBorder;
            } else if (at >= length - alongBorder && pos > 0 && m_arrBars[pos - 1] != nullptr) {
                // Out of sight at the end of its row: it starts the next row.
                m_arrBars.InsertAt(pos, nullptr);
                bar = nullptr;
                entry = nullptr;
                wrapped = TRUE;
            }
            if (!wrapped) {
                CRect rect =
                    bHorz ? CRect(CPoint(at, across), size) : CRect(CPoint(across, at), size);
                if (rect != current) {
                    if (!m_bLayoutQuery && !(bar->m_dwStyle & CBRS_FLOATING) &&
                        bar->m_pDockContext != nullptr) {
                        bar->m_pDockContext->m_rectMRUDockPos = rect;
                    }
                    AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
                }
                along = at + extent - alongBorder;
                thickness = std::max<int>(thickness, bHorz ? size.cy : size.cx);
            }
        }
        if (bar == nullptr && entry == nullptr && thickness != 0) {
            // The row ends: the next one starts beyond it.
            across += thickness - acrossBorder;
            if (bHorz) {
                fixed.cx = std::max<LONG>(fixed.cx, along);
                fixed.cy = std::max<LONG>(fixed.cy, across);
            } else {
                fixed.cx = std::max<LONG>(fixed.cx, across);
                fixed.cy = std::max<LONG>(fixed.cy, along);
            }
            along = -alongBorder;
            thickness = 0;
        }
    }
    if (layout.hDWP != nullptr) {
        ::EndDeferWindowPos(layout.hDWP);
    }
    // The dock bar's own borders around the rows.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    if ((!bStretch || !bHorz) && fixed.cx != 0) {
        fixed.cx -= inside.Width();
    }
    if ((!bStretch || bHorz) && fixed.cy != 0) {
        fixed.cy -= inside.Height();
    }
    return fixed;
}
