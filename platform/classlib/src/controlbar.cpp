// CControlBar: membership in the frame's bar list, borders and gripper, the bar's share of the
// frame's layout, delayed showing, idle updates, forwarding to the owner and the start of drags.
#include "classlib/classlib.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEACTIVATE()
ON_WM_WINDOWPOSCHANGING()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

// The gripper: a ridge 3 pixels thick with 2 pixels on either side.
const int kGripperRidge = 3;
const int kGripperMargin = 2;
const int kGripperRoom = kGripperMargin + kGripperRidge + kGripperMargin;

bool HasGripper(DWORD dwStyle) {
    return (dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
}

}  // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
    // A bar that outlives its window's owner goes with its window here, while it is still a
    // control bar (its OnDestroy leaves the frame's list and its dock bar).
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        DestroyWindow();
    }
    if (m_pDockSite != nullptr) {
        m_pDockSite->RemoveControlBar(this);
    }
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pLastStatus == this) {
        state->m_pLastStatus = nullptr;
        state->m_nLastStatus = -1;
    }
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
    if (m_dwStyle != dwStyle) {
        DWORD old = m_dwStyle;
        m_dwStyle = dwStyle;
        OnBarStyleChange(old, dwStyle);
    }
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBorders(LPCRECT lpRect) {
    SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

CRect CControlBar::GetBorders() const {
    return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

CFrameWnd* CControlBar::GetDockingFrame() const {
    CFrameWnd* frame = GetParentFrame();
    return frame != nullptr ? frame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const {
    if (IsDockBar()) {
        return static_cast<const CDockBar*>(this)->m_bFloating;
    }
    return m_pDockBar != nullptr && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const {
    if (m_nStateFlags & delayHide) {
        return FALSE;
    }
    return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

void CControlBar::DelayShow(BOOL bShow) {
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !visible) {
        m_nStateFlags |= delayShow;
    } else if (!bShow && visible) {
        m_nStateFlags |= delayHide;
    }
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == nullptr) {
        m_pDockContext = std::make_unique<CDockContext>(this);
    }
    // Docking moves the bar between parents; its commands keep going where they went first.
    if (m_hWndOwner == nullptr) {
        m_hWndOwner = ::GetParent(m_hWnd);
    }
}

// Layout.

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    // A docked request with no length is the fixed layout of that side; anything else the
    // fixed layout of the orientation asked for.
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) &&
        (dwMode & (LM_HORZDOCK | LM_VERTDOCK))) {
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    }
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        rect.left += afxData.cxBorder2;
    }
    if (m_dwStyle & CBRS_BORDER_TOP) {
        rect.top += afxData.cyBorder2;
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        rect.right -= afxData.cxBorder2;
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        rect.bottom -= afxData.cyBorder2;
    }
    // The bar's own borders run along its length: left and right are its ends whichever way
    // it lies.
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
        if (HasGripper(m_dwStyle)) {
            rect.left += kGripperRoom;
        }
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
        if (HasGripper(m_dwStyle)) {
            rect.top += kGripperRoom;
        }
    }
}

void CControlBar::CalcNcBorders(NCCALCSIZE_PARAMS* lpncsp) {
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    // The inside rectangle of an empty rectangle holds each side's inset (right and bottom
    // negative).
    RECT& rc = lpncsp->rgrc[0];
    rc.left += inside.left;
    rc.top += inside.top;
    rc.right += inside.right;
    rc.bottom += inside.bottom;
    if (rc.right < rc.left) {
        rc.right = rc.left;
    }
    if (rc.bottom < rc.top) {
        rc.bottom = rc.top;
    }
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD dwStyle = RecalcDelayShow(layout);
    if (!(dwStyle & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY)) {
        return 0;
    }
    CRect rect(layout->rect);
    CSize available = rect.Size();
    DWORD dwMode = layout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING)) {
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    } else if (dwStyle & CBRS_ORIENT_HORZ) {
        dwMode |= LM_HORZ | LM_HORZDOCK;
    } else {
        dwMode |= LM_VERTDOCK;
    }
    CSize size = CalcDynamicLayout(-1, dwMode);
    size.cx = std::min(size.cx, available.cx);
    size.cy = std::min(size.cy, available.cy);
    // The bar takes its room from the edge it is aligned to.
    if (dwStyle & CBRS_ORIENT_HORZ) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (dwStyle & CBRS_ALIGN_TOP) {
            layout->rect.top += size.cy;
        } else if (dwStyle & CBRS_ALIGN_BOTTOM) {
            rect.top = rect.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    } else if (dwStyle & CBRS_ORIENT_VERT) {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        if (dwStyle & CBRS_ALIGN_LEFT) {
            layout->rect.left += size.cx;
        } else if (dwStyle & CBRS_ALIGN_RIGHT) {
            rect.left = rect.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (layout->hDWP != nullptr) {
        AfxRepositionWindow(layout, m_hWnd, &rect);
    }
    return 0;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
    DWORD dwStyle = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | (GetStyle() & WS_VISIBLE);
    if (!(m_nStateFlags & (delayHide | delayShow))) {
        return dwStyle;
    }
    UINT swp = 0;
    if ((m_nStateFlags & delayHide) && (dwStyle & WS_VISIBLE)) {
        swp = SWP_HIDEWINDOW;
    } else if ((m_nStateFlags & delayShow) && !(dwStyle & WS_VISIBLE)) {
        swp = SWP_SHOWWINDOW;
    }
    if (swp == 0) {
        m_nStateFlags &= ~(delayHide | delayShow);  // already as asked
        return dwStyle;
    }
    // The layout sees the bar as it is about to be; a real pass also makes it so.
    dwStyle ^= WS_VISIBLE;
    if (lpLayout->hDWP != nullptr) {
        m_nStateFlags &= ~(delayHide | delayShow);
        lpLayout->hDWP =
            ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                             swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return dwStyle;
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
    if (lpLayout != nullptr && lpLayout->hDWP == nullptr) {
        return;
    }
    HWND parent = ::GetParent(hWnd);
    CRect old;
    ::GetWindowRect(hWnd, &old);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&old), 2);
    if (old == CRect(lpRect)) {
        return;
    }
    int cx = lpRect->right - lpRect->left;
    int cy = lpRect->bottom - lpRect->top;
    if (lpLayout != nullptr) {
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                          cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
    } else {
        ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, cx, cy,
                       SWP_NOACTIVATE | SWP_NOZORDER);
    }
}

// Painting.

void CControlBar::DoPaint(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY)) {
        return;
    }
    // A shadow line on each bordered side; a 3-D border adds a highlight line inside it on the
    // top and left, and outside the shadow's inner edge on the bottom and right.
    COLORREF shadow = afxData.bWin4 ? afxData.clrBtnShadow : afxData.clrWindowFrame;
    COLORREF hilite = afxData.clrBtnHilite;
    BOOL b3d = (dwStyle & CBRS_BORDER_3D) != 0;
    int w = rect.Width();
    int h = rect.Height();
    int right = b3d ? w - 2 : w - 1;
    int bottom = b3d ? h - 2 : h - 1;
    int top = (dwStyle & CBRS_BORDER_TOP) ? afxData.cyBorder2 : 0;
    int lower = (dwStyle & CBRS_BORDER_BOTTOM) ? h - afxData.cyBorder2 : h;
    if (dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(0, top, 1, lower - top, shadow);
    }
    if (dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(0, 0, w, 1, shadow);
    }
    if (dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(right, top, 1, lower - top, shadow);
    }
    if (dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(0, bottom, w, 1, shadow);
    }
    if (b3d) {
        if (dwStyle & CBRS_BORDER_LEFT) {
            pDC->FillSolidRect(1, top, 1, lower - top, hilite);
        }
        if (dwStyle & CBRS_BORDER_TOP) {
            pDC->FillSolidRect(0, 1, w, 1, hilite);
        }
        if (dwStyle & CBRS_BORDER_RIGHT) {
            pDC->FillSolidRect(w - 1, top, 1, lower - top, hilite);
        }
        if (dwStyle & CBRS_BORDER_BOTTOM) {
            pDC->FillSolidRect(0, h - 1, w, 1, hilite);
        }
    }
    if (dwStyle & CBRS_BORDER_LEFT) {
        rect.left += afxData.cxBorder2;
    }
    if (dwStyle & CBRS_BORDER_TOP) {
        rect.top += afxData.cyBorder2;
    }
    if (dwStyle & CBRS_BORDER_RIGHT) {
        rect.right -= afxData.cxBorder2;
    }
    if (dwStyle & CBRS_BORDER_BOTTOM) {
        rect.bottom -= afxData.cyBorder2;
    }
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
    if (!HasGripper(m_dwStyle)) {
        return;
    }
    // Across the bar at its leading end, inside the bar's own borders.
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        pDC->Draw3dRect(rect.left + kGripperMargin, rect.top + m_cyTopBorder, kGripperRidge,
                        rect.Height() - m_cyTopBorder - m_cyBottomBorder, afxData.clrBtnHilite,
                        afxData.clrBtnShadow);
    } else {
        pDC->Draw3dRect(rect.left + m_cyTopBorder, rect.top + kGripperMargin,
                        rect.Width() - m_cyTopBorder - m_cyBottomBorder, kGripperRidge,
                        afxData.clrBtnHilite, afxData.clrBtnShadow);
    }
}

void CControlBar::EraseNonClient() {
    // The window's DC with the client area clipped out: borders, background and gripper of the
    // frame around the client.
    CWindowDC dc(this);
    CRect window = ClipToNonClient(dc);
    CRect inside = window;
    DrawBorders(&dc, inside);
    dc.IntersectClipRect(&inside);
    dc.FillSolidRect(&inside, afxData.clrBtnFace);
    DrawGripper(&dc, window);
}

CRect CControlBar::ClipToNonClient(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    CRect window;
    GetWindowRect(&window);
    ScreenToClient(&window);
    client.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    window.OffsetRect(-window.left, -window.top);
    return window;
}

void CControlBar::OnPaint() {
    CPaintDC dc(this);
    if (IsVisible()) {
        DoPaint(&dc);
    }
}

// Window life.

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    // A bar's CBRS_* style lives beside its window style; the bar keeps its own copy.
    cs.style |= WS_CLIPSIBLINGS;
    return cs.lpszClass != nullptr;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(lpcs->hwndParent));
    if (frame != nullptr) {
        m_pDockSite = frame;
        frame->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy() {
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pLastStatus == this) {
        SetStatusText(-1);
    }
    // A bar that goes leaves no dangling entry behind.
    if (m_pDockBar != nullptr) {
        INT_PTR pos = AfxFindDockEntry(m_pDockBar->m_arrBars, this);
        if (pos > 0) {
            AfxRemoveDockEntry(m_pDockBar->m_arrBars, pos);
        }
        m_pDockBar = nullptr;
    }
    if (m_pDockSite != nullptr) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    if (m_pToolTip != nullptr) {
        m_pToolTip->DestroyWindow();
        m_pToolTip.reset();
    }
    CWnd::OnDestroy();
}

BOOL CControlBar::DestroyWindow() {
    if (m_hWnd != nullptr && !IsDockBar() && IsFloating()) {
        // Alone in its floating frame: the frame goes, and the bar with it.
        CMiniDockFrameWnd* frame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, GetDockingFrame());
        if (frame != nullptr && frame->m_wndDockBar.GetDockedCount() == 1) {
            return frame->DestroyWindow();
        }
    }
    return CWnd::DestroyWindow();
}

void CControlBar::PostNcDestroy() {
    if (m_bAutoDelete) {
        delete this;
    }
}

// Messages.

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_DELETEITEM:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            break;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
    // What the bar's controls send: the bar's own map first, then its owner.
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) {
        return result;
    }
    CWnd* owner = GetOwner();
    if (owner == nullptr) {
        return DefWindowProc(message, wParam, lParam);
    }
    result = owner->SendMessage(message, wParam, lParam);
    if (message == WM_NOTIFY) {
        // A tooltip text the owner left empty is the bar's own business.
        auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
        if (nmhdr->code == TTN_NEEDTEXTA) {
            auto* tip = reinterpret_cast<TOOLTIPTEXTA*>(nmhdr);
            if (tip->lpszText == nullptr ||
                (!IS_INTRESOURCE(tip->lpszText) && *tip->lpszText == 0)) {
                result = CWnd::WindowProc(message, wParam, lParam);
            }
        } else if (nmhdr->code == TTN_NEEDTEXTW) {
            auto* tip = reinterpret_cast<TOOLTIPTEXTW*>(nmhdr);
            if (tip->lpszText == nullptr ||
                (!IS_INTRESOURCE(tip->lpszText) && *tip->lpszText == 0)) {
                result = CWnd::WindowProc(message, wParam, lParam);
            }
        }
    }
    return result;
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg) {
    UINT message = pMsg->message;
    bool mouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
                 (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
    if (mouse && (m_dwStyle & (CBRS_TOOLTIPS | CBRS_FLYBY))) {
        FilterToolTipMessage(pMsg);
    }
    if (message < WM_KEYFIRST || message > WM_KEYLAST) {
        return FALSE;
    }
    // Keys in the bar's controls: the frames' accelerators come before the dialog keys (Tab,
    // arrows, mnemonics) within the bar.
    for (CWnd* owner = GetOwner(); owner != nullptr; owner = owner->GetParentFrame()) {
        if (owner->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
    }
    return (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) &&
           ::IsDialogMessageA(m_hWnd, pMsg);
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    // A delayed show or hide that no layout pass has made yet happens now.
    BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
    UINT swp = 0;
    if ((m_nStateFlags & delayHide) && visible) {
        swp = SWP_HIDEWINDOW;
    } else if ((m_nStateFlags & delayShow) && !visible) {
        swp = SWP_SHOWWINDOW;
    }
    m_nStateFlags &= ~(delayShow | delayHide);
    if (swp != 0) {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((GetStyle() & WS_VISIBLE) &&
        (m_pDockBar == nullptr || (m_pDockBar->GetStyle() & WS_VISIBLE))) {
        CFrameWnd* target = DYNAMIC_DOWNCAST(CFrameWnd, GetOwner());
        if (target == nullptr) {
            target = GetParentFrame();
        }
        if (target != nullptr) {
            OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
        }
    }
    return 0;
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    // The default processing of the window itself, not of a control's class: some controls
    // repaint wrongly here.
    ::DefWindowProcA(m_hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(lpwndpos));
    if (lpwndpos->flags & SWP_NOSIZE) {
        return;
    }
    // Right and bottom border lines move with the size: both places are drawn anew.
    CRect window;
    GetWindowRect(&window);
    int cx = lpwndpos->cx;
    int cy = lpwndpos->cy;
    if (cx != window.Width() && (m_dwStyle & CBRS_BORDER_RIGHT)) {
        CRect strip(cx - afxData.cxBorder2, 0, cx, cy);
        InvalidateRect(&strip);
        strip.SetRect(window.Width() - afxData.cxBorder2, 0, window.Width(), cy);
        InvalidateRect(&strip);
    }
    if (cy != window.Height() && (m_dwStyle & CBRS_BORDER_BOTTOM)) {
        CRect strip(0, cy - afxData.cyBorder2, cx, cy);
        InvalidateRect(&strip);
        strip.SetRect(0, window.Height() - afxData.cyBorder2, cx, window.Height());
        InvalidateRect(&strip);
    }
}

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    if (!IsFloating()) {
        return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    }
    // A floating bar is a palette of its main window: a click keeps that window active.
    ActivateTopParent();
    return MA_NOACTIVATE;
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
    // A press beside the bar's items (its gripper, its empty room) starts a drag.
    if (m_pDockBar != nullptr && m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pDockBar != nullptr && m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

// The saved layout.

void CControlBar::GetBarInfo(CControlBarInfo* pInfo) {
    pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
    pInfo->m_pBar = this;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    if (m_pDockBar != nullptr) {
        CRect rect;
        GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    pInfo->m_bDocking = m_pDockContext != nullptr;
    if (m_pDockContext != nullptr) {
        pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd*) {
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                 (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (pInfo->m_pointPos == CPoint(-1, -1)) {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, flags);
    m_nStateFlags &= ~(delayHide | delayShow);
    m_nMRUWidth = pInfo->m_nMRUWidth;
    if (pInfo->m_bDocking && m_pDockContext != nullptr) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
}
