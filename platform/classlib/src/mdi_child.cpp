// CMDIChildWnd: a frame inside the MDI client, created and destroyed through it, bringing its
// document's menu to the main frame while it is active.
#include "classlib/classlib.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivateMessage)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;

CWnd* CMDIChildWnd::GetMessageBar() {
    CMDIFrameWnd* frame = GetMDIFrame();
    return frame != nullptr ? frame->GetMessageBar() : nullptr;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND client = ::GetParent(m_hWnd);
    HWND frame = client != nullptr ? ::GetParent(client) : nullptr;
    return DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(frame));
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return cs.lpszClass != nullptr;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    if (pParentWnd == nullptr) {
        pParentWnd = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    }
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    pParentWnd->RecalcLayout();
    m_strTitle = lpszWindowName;

    CREATESTRUCTA cs = {};
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    bool useDefault = CRect(rect) == rectDefault;
    cs.x = useDefault ? CW_USEDEFAULT : rect.left;
    cs.y = useDefault ? CW_USEDEFAULT : rect.top;
    cs.cx = useDefault ? CW_USEDEFAULT : rect.right - rect.left;
    cs.cy = useDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    cs.hwndParent = pParentWnd->m_hWnd;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    // Children are always made hidden and shown below, so that they appear activated.
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = static_cast<DWORD>(cs.style) & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = reinterpret_cast<LPARAM>(cs.lpCreateParams);

    AfxHookWindowCreate(this);
    HWND hWnd = reinterpret_cast<HWND>(::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0,
                                                      reinterpret_cast<LPARAM>(&mcs)));
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy();  // the creation failed before the window existed
    }
    if (hWnd == nullptr) {
        return FALSE;
    }
    if (cs.style & WS_VISIBLE) {
        ::BringWindowToTop(hWnd);
        if (cs.style & WS_MINIMIZE) {
            ShowWindow(SW_SHOWMINIMIZED);
        } else if (cs.style & WS_MAXIMIZE) {
            ShowWindow(SW_SHOWMAXIMIZED);
        } else {
            ShowWindow(SW_SHOWNORMAL);
        }
        pParentWnd->MDIActivate(this);
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
    m_nIDResource = nIDResource;
    dwDefaultStyle |= WS_CHILD;
    // The menu and accelerators are the template's, shared by its frames.
    auto* tmpl = pContext != nullptr
                     ? DYNAMIC_DOWNCAST(CMultiDocTemplate, pContext->m_pNewDocTemplate)
                     : nullptr;
    if (tmpl != nullptr) {
        m_hMenuShared = tmpl->m_hMenuShared;
        m_hAccelTable = tmpl->m_hAccelTable;
    }
    CString full;
    CString title;
    if (full.LoadString(nIDResource)) {
        AfxExtractSubString(title, full, 0);
    }
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
    return Create(cls, title, dwDefaultStyle, rectDefault,
                  DYNAMIC_DOWNCAST(CMDIFrameWnd, pParentWnd), pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
    // The creation context rides in the MDI creation record.
    auto* mcs = static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams);
    auto* context = mcs != nullptr ? reinterpret_cast<CCreateContext*>(mcs->lParam) : nullptr;
    return OnCreateHelper(lpcs, context);
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    MDIDestroy();
    return TRUE;
}

void CMDIChildWnd::MDIDestroy() {
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIActivate() {
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize() {
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore() {
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
    // The child's accelerators send their commands to the main frame, which routes them here.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr) {
        CMDIFrameWnd* frame = GetMDIFrame();
        if (frame != nullptr && ::TranslateAcceleratorA(frame->m_hWnd, m_hAccelTable, pMsg)) {
            return TRUE;
        }
    }
    return FALSE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (nCmdShow == -1) {
        // A new child takes the state of the one active before it.
        BOOL maximized = FALSE;
        if (frame != nullptr) {
            frame->MDIGetActive(&maximized);
        }
        DWORD style = GetStyle();
        if (maximized || (style & WS_MAXIMIZE)) {
            nCmdShow = SW_SHOWMAXIMIZED;
        } else if (style & WS_MINIMIZE) {
            nCmdShow = SW_SHOWMINIMIZED;
        }
    }
    CFrameWnd::ActivateFrame(nCmdShow);
    if (frame != nullptr) {
        if (nCmdShow != SW_HIDE && nCmdShow != SW_SHOWMINNOACTIVE && nCmdShow != SW_SHOWNA &&
            nCmdShow != SW_SHOWNOACTIVATE) {
            frame->MDIActivate(this);
        }
        ::SendMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
        frame->DrawMenuBar();
    }
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame != nullptr) {
        frame->OnUpdateFrameTitle(bAddToTitle);
    }
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle) {
        return;
    }
    CDocument* doc = GetActiveDocument();
    CString title = doc != nullptr ? doc->GetTitle() : m_strTitle;
    if (m_nWindow > 0) {
        CString number;
        number.Format(":%d", m_nWindow);
        title += number;
    }
    CString current;
    GetWindowText(current);
    if (current != title) {
        SetWindowText(title);
        // The Window menu lists the children by their titles.
        if (frame != nullptr) {
            ::SendMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
            frame->DrawMenuBar();
        }
    }
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame == nullptr) {
        return;
    }
    if (hMenuAlt == nullptr && bActive) {
        CDocument* doc = GetActiveDocument();
        if (doc != nullptr) {
            hMenuAlt = doc->GetDefaultMenu();
        }
    }
    if (hMenuAlt == nullptr) {
        hMenuAlt = m_hMenuShared;
    }
    if (hMenuAlt != nullptr && bActive) {
        ::SendMessageA(frame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenuAlt),
                       reinterpret_cast<LPARAM>(frame->GetWindowMenuPopup(hMenuAlt)));
    } else if (!bActive && pActivateWnd == nullptr) {
        // The last child is going: the frame's own menu comes back.
        HMENU own = frame->GetDefaultMenu();
        ::SendMessageA(frame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(own),
                       reinterpret_cast<LPARAM>(frame->GetWindowMenuPopup(own)));
    } else {
        ::SendMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
}

LRESULT CMDIChildWnd::OnMDIActivateMessage(WPARAM wParam, LPARAM lParam) {
    LRESULT result = Default();
    HWND activated = reinterpret_cast<HWND>(lParam);
    (void)wParam;
    BOOL bActivate = activated == m_hWnd;
    CWnd* activateWnd = activated != nullptr ? CWnd::FromHandle(activated) : nullptr;
    OnUpdateFrameMenu(bActivate, activateWnd, nullptr);
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame != nullptr) {
        frame->DrawMenuBar();
    }
    CView* view = GetActiveView();
    if (view != nullptr) {
        view->OnActivateView(bActivate, view, view);
    }
    return result;
}
