// CMDIFrameWnd: the MDI client and its Window menu, routing through the active child, the
// system keys of MDI, and the frame's menu and title as children come and go.
#include "classlib/classlib.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
ON_COMMAND_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
    return CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    if (hMenuBar == nullptr) {
        return nullptr;
    }
    for (int i = ::GetMenuItemCount(hMenuBar) - 1; i >= 0; --i) {
        HMENU popup = ::GetSubMenu(hMenuBar, i);
        if (popup == nullptr) {
            continue;
        }
        for (int j = ::GetMenuItemCount(popup) - 1; j >= 0; --j) {
            UINT id = ::GetMenuItemID(popup, j);
            if (id >= ID_WINDOW_NEW && id <= ID_WINDOW_SPLIT) {
                return popup;
            }
        }
    }
    return nullptr;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
    CMenu* windowMenu = CMenu::FromHandle(GetWindowMenuPopup(m_menuDefault.m_hMenu));
    return CreateClient(lpcs, windowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu) {
    CLIENTCREATESTRUCT ccs = {};
    ccs.hWindowMenu = pWindowMenu != nullptr ? pWindowMenu->m_hMenu : nullptr;
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    DWORD style =
        WS_VISIBLE | WS_CHILD | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL | MDIS_ALLCHILDSTYLES;
    m_hWndMDIClient =
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr, style, 0, 0, 0, 0, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                          AfxGetInstanceHandle(), &ccs);
    if (m_hWndMDIClient == nullptr) {
        return FALSE;
    }
    // Bars that come later lie above the client.
    ::SetWindowPos(m_hWndMDIClient, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return TRUE;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    BOOL maximized = FALSE;
    HWND active = m_hWndMDIClient != nullptr
                      ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                              reinterpret_cast<LPARAM>(&maximized)))
                      : nullptr;
    if (pbMaximized != nullptr) {
        *pbMaximized = active != nullptr && maximized;
    }
    return DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(active));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd),
                   0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }

void CMDIFrameWnd::MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }

void CMDIFrameWnd::MDITile(int nType) {
    ::SendMessageA(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
    HMENU old = reinterpret_cast<HMENU>(::SendMessageA(
        m_hWndMDIClient, WM_MDISETMENU,
        reinterpret_cast<WPARAM>(pFrameMenu != nullptr ? pFrameMenu->m_hMenu : nullptr),
        reinterpret_cast<LPARAM>(pWindowMenu != nullptr ? pWindowMenu->m_hMenu : nullptr)));
    DrawMenuBar();
    return CMenu::FromHandle(old);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* active = MDIGetActive();
    return active != nullptr ? static_cast<CFrameWnd*>(active) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
    CMDIChildWnd* active = MDIGetActive();
    return active != nullptr ? active->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The active child (its view, document, itself, the application) first, then this frame.
    CMDIChildWnd* active = MDIGetActive();
    if (active != nullptr && active->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    CMDIChildWnd* active = MDIGetActive();
    if (active != nullptr && active->PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (m_hAccelTable != nullptr && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg)) {
            return TRUE;
        }
        // Ctrl+F4, Ctrl+F6 and the child's system menu keys.
        if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
            m_hWndMDIClient != nullptr && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) {
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) {
        return;
    }
    BOOL maximized = FALSE;
    CMDIChildWnd* active = MDIGetActive(&maximized);
    CString title = m_strTitle;
    // A maximised child's title is shown by the client itself.
    if (bAddToTitle && active != nullptr && !maximized) {
        CDocument* doc = active->GetActiveDocument();
        CString docTitle = doc != nullptr ? doc->GetTitle() : active->GetTitle();
        if (!docTitle.IsEmpty()) {
            title = (GetStyle() & FWS_PREFIXTITLE) ? docTitle + " - " + m_strTitle
                                                   : m_strTitle + " - " + docTitle;
        }
    }
    if (title != m_strShownTitle) {
        m_strShownTitle = title;
        SetWindowText(title);
    }
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    CMDIChildWnd* active = MDIGetActive();
    if (active != nullptr) {
        active->OnUpdateFrameMenu(TRUE, active, hMenuAlt);
        return;
    }
    if (hMenuAlt == nullptr) {
        hMenuAlt = m_menuDefault.m_hMenu;
    }
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenuAlt),
                   reinterpret_cast<LPARAM>(GetWindowMenuPopup(hMenuAlt)));
    DrawMenuBar();
}

void CMDIFrameWnd::OnSize(UINT nType, int, int) {
    // Not the default: that would stretch the client over the bars.
    if (nType != SIZE_MINIMIZED) {
        RecalcLayout();
    }
}

void CMDIFrameWnd::OnDestroy() {
    // The frame's own menu goes with the window; a template's shared menu stays its template's.
    if (m_menuDefault.m_hMenu != nullptr && ::GetMenu(m_hWnd) != m_menuDefault.m_hMenu) {
        ::SetMenu(m_hWnd, m_menuDefault.m_hMenu);
    }
    CFrameWnd::OnDestroy();
}

void CMDIFrameWnd::OnWindowNew() {
    CMDIChildWnd* active = MDIGetActive();
    CDocument* doc = active != nullptr ? active->GetActiveDocument() : nullptr;
    CDocTemplate* tmpl = doc != nullptr ? doc->GetDocTemplate() : nullptr;
    if (tmpl == nullptr) {
        return;
    }
    CFrameWnd* frame = tmpl->CreateNewFrame(doc, active);
    if (frame != nullptr) {
        tmpl->InitialUpdateFrame(frame, doc);
    }
}

void CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
    switch (nID) {
        case ID_WINDOW_ARRANGE:
            MDIIconArrange();
            break;
        case ID_WINDOW_CASCADE:
            MDICascade();
            break;
        case ID_WINDOW_TILE_HORZ:
            MDITile(MDITILE_HORIZONTAL);
            break;
        case ID_WINDOW_TILE_VERT:
            MDITile(MDITILE_VERTICAL);
            break;
        default:
            break;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) {
    pCmdUI->Enable(MDIGetActive() != nullptr);
}
