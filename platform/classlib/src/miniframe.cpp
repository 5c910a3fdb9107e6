// Floating frames: CMiniFrameWnd, a small tool-window frame, and CMiniDockFrameWnd, the frame a
// floating bar lives in, whose caption and borders drag, resize and re-dock the bar.
#include "classlib/classlib.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
ON_WM_GETMINMAXINFO()
ON_WM_NCHITTEST()
ON_WM_NCACTIVATE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
ON_WM_CLOSE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                           const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName,
                             DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    m_strTitle = lpWindowName;
    return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    // The system draws a tool window's small caption; the MFS_* bits stay in the style for the
    // frame's own hit testing.
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    if (cs.style & (MFS_THICKFRAME | MFS_4THICKFRAME)) {
        cs.style |= WS_THICKFRAME;
    }
    return cs.lpszClass != nullptr;
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle) {
    ::AdjustWindowRectEx(lpClientRect,
                         WS_POPUP | (dwStyle & (WS_CAPTION | WS_THICKFRAME | WS_BORDER)), FALSE,
                         dwExStyle | WS_EX_TOOLWINDOW);
}

void CMiniFrameWnd::OnUpdateFrameTitle(BOOL) {}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint) {
    LRESULT hit = Default();
    DWORD style = GetStyle();
    if ((style & MFS_MOVEFRAME) && hit >= HTSIZEFIRST && hit <= HTSIZELAST) {
        return HTCAPTION;  // a frame that cannot be sized moves by its borders
    }
    if (style & MFS_4THICKFRAME) {
        // Corners size like the side next to them.
        switch (hit) {
            case HTTOPLEFT:
            case HTBOTTOMLEFT:
                return HTLEFT;
            case HTTOPRIGHT:
            case HTBOTTOMRIGHT:
                return HTRIGHT;
            default:
                break;
        }
    }
    return hit;
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    CFrameWnd::OnGetMinMaxInfo(lpMMI);
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    lpMMI->ptMinTrackSize.x = window.Width() - client.Width();
    lpMMI->ptMinTrackSize.y = window.Height() - client.Height();
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive) {
    if (GetStyle() & MFS_SYNCACTIVE) {
        // The caption looks active while its main window or the frame itself is active.
        HWND active = ::GetActiveWindow();
        CWnd* top = GetTopLevelOwner();
        bActive = active == m_hWnd || (top != nullptr && active == top->m_hWnd);
    }
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, static_cast<WPARAM>(bActive), 0));
}

// The floating frame of bars.

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {
    m_wndDockBar.m_bAutoDelete = FALSE;  // a member of the frame
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
    // Nothing to lay out until a bar is docked.
    m_bInRecalcLayout = TRUE;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME |
                  MFS_SYNCACTIVE | MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
    if (dwBarStyle & CBRS_SIZE_DYNAMIC) {
        style &= ~MFS_MOVEFRAME;  // its borders size the bar
    }
    if (!CMiniFrameWnd::CreateEx(0, nullptr, "", style, CRect(0, 0, 0, 0), pParent)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    // The system menu: Hide instead of Close; sizing and moving are the mouse's.
    CMenu* sysMenu = GetSystemMenu(FALSE);
    if (sysMenu != nullptr) {
        sysMenu->DeleteMenu(SC_SIZE, MF_BYCOMMAND);
        sysMenu->DeleteMenu(SC_MINIMIZE, MF_BYCOMMAND);
        sysMenu->DeleteMenu(SC_MAXIMIZE, MF_BYCOMMAND);
        sysMenu->DeleteMenu(SC_RESTORE, MF_BYCOMMAND);
        CString hide;
        if (hide.LoadString(AFX_IDS_HIDE)) {
            sysMenu->DeleteMenu(SC_CLOSE, MF_BYCOMMAND);
            sysMenu->AppendMenu(MF_STRING | MF_ENABLED, SC_CLOSE, hide);
        }
    }
    DWORD dockStyle =
        (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    dockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
    // Made as a child of the main frame, the dock bar joins its bar list (floating bars are
    // part of the frame's layout); then it moves in here.
    if (!m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();  // the frame goes with its window
        return FALSE;
    }
    m_wndDockBar.SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout) {
        return;
    }
    CMiniFrameWnd::RecalcLayout(bNotify);
    // The caption names the bar.
    CString title;
    m_wndDockBar.GetWindowText(title);
    CString current;
    GetWindowText(current);
    if (current != title) {
        SetWindowText(title);
    }
}

BOOL CMiniDockFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                 AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    CFrameWnd* site = m_wndDockBar.m_pDockSite;
    if (site != nullptr && site != this) {
        return site->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    return CMiniFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CControlBar* CMiniDockFrameWnd::GetFloatingBar() const {
    for (int i = 1; i < static_cast<int>(m_wndDockBar.m_arrBars.GetSize()); ++i) {
        if (CControlBar* bar = m_wndDockBar.GetDockedControlBar(i)) {
            return bar;
        }
    }
    return nullptr;
}

void CMiniDockFrameWnd::OnClose() {
    // Closing a floating frame hides its bars; the frame follows them.
    m_wndDockBar.ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    CControlBar* bar = GetFloatingBar();
    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && bar != nullptr &&
            bar->m_pDockContext != nullptr) {
            bar->m_pDockContext->StartDrag(point);
            return;  // the frame may be gone
        }
    } else if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
        ActivateTopParent();
        if (bar != nullptr && bar->m_pDockContext != nullptr) {
            bar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        CControlBar* bar = GetFloatingBar();
        if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && bar != nullptr &&
            bar->m_pDockContext != nullptr) {
            bar->m_pDockContext->ToggleDocking();
            return;  // the frame may be gone
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}
