// CXTDockContext: drags, docking toggles and corner resizing of toolkit bars.
#include "docking/dock_context.h"

#include "docking/control_bar.h"
#include "docking/dock_bar.h"
#include "docking/dock_window.h"

using namespace xtdock;

namespace {

bool IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
bool IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

CRect FrameOutline(const CRect& barRect) {
    CRect rect = barRect;
    CMiniFrameWnd::CalcBorders(&rect, WS_THICKFRAME | WS_CAPTION);
    rect.InflateRect(-afxData.cxBorder2, -afxData.cyBorder2);
    return rect;
}

}  // namespace

CXTDockContext::CXTDockContext(CControlBar* pBar) : CDockContext(pBar) {}

CXTDockContext::~CXTDockContext() = default;

void CXTDockContext::StartDrag(CPoint pt) {
    m_ptDragStart = pt;
    CDockContext::StartDrag(pt);
}

void CXTDockContext::ContractIfExpanded() {
    auto* pWnd = DYNAMIC_DOWNCAST(CXTDockWindow, m_pBar);
    if (pWnd == nullptr || !pWnd->IsExpanded()) {
        return;
    }
    if (CXTDockBar* pDockBar = pWnd->GetXTDockBar()) {
        pDockBar->ContractRow(pWnd, FALSE);
    }
}

void CXTDockContext::EndDrag() {
    CancelLoop();
    if (m_ptLast == m_ptDragStart) {
        return;  // a click: the bar stays where it is
    }
    if (m_dwOverDockStyle != 0) {
        CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
        if (pDockBar == nullptr) {
            return;
        }
        if (m_pBar->m_pDockBar != pDockBar) {
            ContractIfExpanded();
        }
        CRect rect = IsVert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        m_uMRUDockID = static_cast<UINT>(pDockBar->GetDlgCtrlID());
        m_rectMRUDockPos = rect;
        pDockBar->ScreenToClient(&m_rectMRUDockPos);
        m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
        m_pDockSite->RecalcLayout(FALSE);
        return;
    }
    ContractIfExpanded();
    FloatAtDrop();
    m_pDockSite->RecalcLayout(FALSE);
}

void CXTDockContext::DrawFocusRect(BOOL bRemoveRect) {
    if (m_pDC == nullptr) {
        return;
    }
    const bool bOverHorz = IsHorz(m_dwOverDockStyle);
    const bool bOverVert = IsVert(m_dwOverDockStyle);
    CRect rect;
    if (bOverHorz || bOverVert) {
        rect = bOverHorz ? m_rectDragHorz : m_rectDragVert;
        if (DYNAMIC_DOWNCAST(CXTDockWindow, m_pBar) != nullptr) {
            if (CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle)) {
                CRect rectDockBar;
                pDockBar->GetWindowRect(&rectDockBar);
                rect = XTSnapOutline(rect, rectDockBar, bOverHorz);
            }
        }
    }
    DrawOutline(rect, bOverHorz || bOverVert, bRemoveRect);
}

void CXTDockContext::ToggleDocking() {
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) {
            return;
        }
        CRect rect = m_rectMRUDockPos;
        CDockBar* pDockBar = nullptr;
        if (m_uMRUDockID != 0) {
            pDockBar = DYNAMIC_DOWNCAST(CDockBar, m_pDockSite->GetControlBar(m_uMRUDockID));
            if (pDockBar != nullptr) {
                pDockBar->ClientToScreen(&rect);
            }
        }
        if (auto* pWnd = DYNAMIC_DOWNCAST(CXTDockWindow, m_pBar)) {
            pWnd->ModifyToolkitStyle(0, XTCBS_REDOCKED, FALSE);
        }
        m_pDockSite->ReDockControlBar(m_pBar, pDockBar, &rect);
        m_pDockSite->RecalcLayout(TRUE);
        return;
    }
    CPoint point = m_ptMRUFloatPos;
    if (point.x < 0 || point.y < 0) {
        point = m_rectMRUDockPos.TopLeft();
        m_pBar->GetParent()->ClientToScreen(&point);
    }
    ContractIfExpanded();
    m_pDockSite->FloatControlBar(m_pBar, point, m_dwMRUFloatStyle);
    m_pDockSite->RecalcLayout(TRUE);
}

void CXTDockContext::StartResize(int nHitTest, CPoint pt) {
    m_bDragging = FALSE;
    InitLoop();
    if (m_pDC != nullptr && (m_pDC->GetLayout() & LAYOUT_RTL)) {
        m_pDC->SetLayout(0);
    }
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    m_nHitTest = nHitTest;
    const CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectRequestedSize = CRect(rect.TopLeft(), size);
    m_rectActualSize = CRect(rect.TopLeft(), size);
    m_rectActualFrameSize = FrameOutline(CRect(rect.TopLeft(), size));
    m_rectFrameBorders = CRect(0, 0, m_rectActualFrameSize.Width() - m_rectActualSize.Width(),
                               m_rectActualFrameSize.Height() - m_rectActualSize.Height());
    m_dwOverDockStyle = 0;
    Stretch(pt);
    Track();
}

void CXTDockContext::Stretch(CPoint pt) {
    XT_STRETCH stretch{m_rectRequestedSize, m_rectActualSize, m_rectActualFrameSize,
                       m_rectFrameBorders};
    CRect desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    CControlBar* pBar = m_pBar;
    XTStretch(
        stretch, static_cast<UINT>(m_nHitTest), pt - m_ptLast,
        [pBar](int nLength, DWORD dwMode) { return pBar->CalcDynamicLayout(nLength, dwMode); },
        desktop);
    m_rectRequestedSize = stretch.rectRequested;
    m_rectActualSize = stretch.rectActual;
    m_rectActualFrameSize = stretch.rectActualFrame;
    m_ptLast = pt;
    DrawFocusRect();
}
