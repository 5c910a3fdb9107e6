// The toolkit control bar: off-screen painting, flat borders, gripper, docking side and the
// right-click menu.
#include "docking/control_bar.h"

#include "docking/aux_data.h"
#include "docking/dock_context.h"
#include "docking/mem_dc.h"
#include "docking/resource.h"

IMPLEMENT_DYNAMIC(CXTControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CXTControlBar, CControlBar)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CXTControlBar::CXTControlBar() {
    m_cxLeftBorder = 6;
    m_cxRightBorder = 6;
    m_cyTopBorder = 1;
    m_cyBottomBorder = 1;
    m_cxDefaultGap = 2;
    m_nMRUWidth = 32767;
    m_bAutoDelete = FALSE;
}

CXTControlBar::~CXTControlBar() = default;

void CXTControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    CControlBar::SetBorders(cxLeft, cyTop, cxRight, cyBottom);
}

void CXTControlBar::SetBorders(LPCRECT lpRect) {
    SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

CRect CXTControlBar::GetBorders() const {
    return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

DWORD CXTControlBar::GetToolkitStyle() const { return m_dwToolkitStyle; }

void CXTControlBar::SetToolkitStyle(DWORD dwStyle) { m_dwToolkitStyle = dwStyle; }

BOOL CXTControlBar::ModifyToolkitStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
    SetToolkitStyle((GetToolkitStyle() & ~dwRemove) | dwAdd);
    if (m_hWnd == nullptr) {
        return TRUE;
    }
    // The style may change the non-client area (a docking window's caption).
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    if (bRedraw) {
        Invalidate(TRUE);
        if (m_pDockBar != nullptr && m_pDockBar->m_hWnd != nullptr) {
            m_pDockBar->Invalidate(TRUE);
        }
    }
    return TRUE;
}

void CXTControlBar::SetContextMenu(UINT nMenuID, int nPopupIndex) {
    m_nMenuID = nMenuID;
    m_nPopupIndex = nPopupIndex;
}

UINT CXTControlBar::GetContextMenuID() const { return m_nMenuID; }

xtdock::BarMetrics CXTControlBar::Metrics() const {
    xtdock::BarMetrics metrics;
    metrics.cxLeftBorder = m_cxLeftBorder;
    metrics.cyTopBorder = m_cyTopBorder;
    metrics.cxRightBorder = m_cxRightBorder;
    metrics.cyBottomBorder = m_cyBottomBorder;
    metrics.cxBorder2 = afxData.cxBorder2;
    metrics.cyBorder2 = afxData.cyBorder2;
    return metrics;
}

void CXTControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    xtdock::InsideRect(rect, bHorz != FALSE, m_dwStyle, Metrics());
}

void CXTControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    if (!(m_dwStyle & CBRS_BORDER_ANY)) {
        return;
    }
    // Before the version-4 shell the shadow is the window-frame colour.
    COLORREF shadow = afxData.bWin4 ? afxData.clrBtnShadow : afxData.clrWindowFrame;
    COLORREF hilite = afxData.clrBtnHilite;
    CRect inside;
    for (const xtdock::BarLine& line :
         xtdock::BorderLines(m_dwStyle, rect.Width(), rect.Height(), Metrics(), &inside)) {
        CRect at = line.rect;
        at.OffsetRect(rect.left, rect.top);
        pDC->FillSolidRect(&at, line.tone == xtdock::BarLine::Shadow ? shadow : hilite);
    }
    inside.OffsetRect(rect.left, rect.top);
    rect = inside;
}

void CXTControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
    for (const xtdock::GripperRidge& ridge :
         xtdock::GripperRidges(m_dwStyle, m_dwToolkitStyle, rect, Metrics())) {
        pDC->Draw3dRect(&ridge.rect, afxData.clrBtnHilite, afxData.clrBtnShadow);
        if (ridge.hasFoot) {
            pDC->SetPixel(ridge.foot.x, ridge.foot.y, afxData.clrBtnHilite);
        }
    }
}

void CXTControlBar::EraseNonClient() {
    CWindowDC dc(this);
    CRect window = ClipToNonClient(dc);
    CXTMemDC memDC(this, &dc, window, xtAfxData.m_clr3DFace);
    CRect inside = window;
    DrawBorders(&memDC, inside);
    memDC.FillSolidRect(&inside, xtAfxData.m_clr3DFace);
    DrawGripper(&memDC, inside);
}

void CXTControlBar::EnableDocking(DWORD dwDockStyle) {
    // The toolkit's own drag context, made before the class library's would be.
    if (m_pDockContext == nullptr) {
        m_pDockContext = std::make_unique<CXTDockContext>(this);
    }
    CControlBar::EnableDocking(dwDockStyle);
}

void CXTControlBar::EnableDocking(DWORD dwDockStyle, DWORD dwToolkitStyle) {
    EnableDocking(dwDockStyle);
    SetToolkitStyle(GetToolkitStyle() | dwToolkitStyle);
}

int CXTControlBar::ParentId() const {
    HWND parent = ::GetParent(m_hWnd);
    return parent != nullptr ? ::GetDlgCtrlID(parent) : 0;
}

BOOL CXTControlBar::IsLeftDocked() const { return ParentId() == AFX_IDW_DOCKBAR_LEFT; }
BOOL CXTControlBar::IsRightDocked() const { return ParentId() == AFX_IDW_DOCKBAR_RIGHT; }
BOOL CXTControlBar::IsTopDocked() const { return ParentId() == AFX_IDW_DOCKBAR_TOP; }
BOOL CXTControlBar::IsBottomDocked() const { return ParentId() == AFX_IDW_DOCKBAR_BOTTOM; }
BOOL CXTControlBar::IsHorzDocked() const { return IsTopDocked() || IsBottomDocked(); }
BOOL CXTControlBar::IsVertDocked() const { return IsLeftDocked() || IsRightDocked(); }
BOOL CXTControlBar::IsFloating() const { return !IsHorzDocked() && !IsVertDocked(); }

int CXTControlBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CControlBar::OnCreate(lpcs) == -1) {
        return -1;
    }
    SetFont(&xtAfxData.m_font, TRUE);
    return 0;
}

void CXTControlBar::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CXTMemDC memDC(this, &dc, client, xtAfxData.m_clr3DFace);
    if (IsVisible()) {
        DoPaint(&memDC);
    }
}

BOOL CXTControlBar::OnEraseBkgnd(CDC*) { return FALSE; }

void CXTControlBar::OnNcPaint() { EraseNonClient(); }

void CXTControlBar::OnRButtonDown(UINT, CPoint point) {
    ClientToScreen(&point);
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr && m_nMenuID == 0) {
        frame->SendMessage(WM_BAR_CONTEXTMENU, reinterpret_cast<WPARAM>(&point),
                           reinterpret_cast<LPARAM>(this));
        return;
    }
    CMenu menu;
    if (m_nMenuID == 0 || !menu.LoadMenu(m_nMenuID)) {
        return;
    }
    CMenu* popup = menu.GetSubMenu(m_nPopupIndex);
    // The frame owns the menu and gets its command; a bar outside any frame shows none.
    if (popup != nullptr && frame != nullptr) {
        popup->TrackPopupMenuEx(0, point.x, point.y, frame);
    }
    menu.DestroyMenu();
}
