// CXTMiniDockFrameWnd: creation and the non-client presses that drag, size or re-dock.
#include "docking/mini_dock_frame.h"

#include "docking/aux_data.h"
#include "docking/control_bar.h"
#include "docking/dock_window.h"

IMPLEMENT_DYNCREATE(CXTMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(CXTMiniDockFrameWnd, CMiniDockFrameWnd)
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
ON_WM_MBUTTONDBLCLK()
END_MESSAGE_MAP()

BOOL CXTMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
    if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle)) {
        return FALSE;
    }
    // Without the four-edge style the corners size both ways.
    ModifyStyle(MFS_4THICKFRAME, 0);
    SetFont(&xtAfxData.m_font, TRUE);
    return TRUE;
}

void CXTMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    CControlBar* pBar = GetFloatingBar();
    auto* pWnd = DYNAMIC_DOWNCAST(CXTDockWindow, pBar);
    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) {
            return;
        }
        if (pWnd != nullptr && pWnd->m_pDockContext != nullptr) {
            pWnd->m_pDockContext->StartDrag(point);
            if (::IsWindow(pWnd->m_hWnd)) {
                pWnd->SetFocus();
            }
            return;  // this frame may be gone
        }
        CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
        ActivateTopParent();
        if (pWnd != nullptr && pWnd->m_pDockContext != nullptr) {
            pWnd->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
            return;
        }
        CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    Default();
}

void CXTMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint /*point*/) {
    if (nHitTest != HTCAPTION) {
        return;  // double clicks on the borders do nothing
    }
    ActivateTopParent();
    if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) {
        return;
    }
    CControlBar* pBar = GetFloatingBar();
    if (DYNAMIC_DOWNCAST(CXTControlBar, pBar) != nullptr && pBar->m_pDockContext != nullptr) {
        pBar->m_pDockContext->ToggleDocking();
    }
}

void CXTMiniDockFrameWnd::OnMButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) { Default(); }
