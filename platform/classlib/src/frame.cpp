// CFrameWnd: creation from resources, client-pane layout, command routing, menu-item update and
// the frame's title.
#include "classlib/classlib.h"

#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_WM_ENTERIDLE()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFFFFFF, OnToolTipText)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFFFFFF, OnToolTipText)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle,
                       CCreateContext* pContext) {
    m_strTitle = lpszWindowName;
    if (lpszMenuName != nullptr && m_menuDefault.m_hMenu == nullptr &&
        !m_menuDefault.LoadMenu(lpszMenuName)) {
        PostNcDestroy();
        return FALSE;
    }
    bool useDefault = CRect(rect) == rectDefault;
    m_pCreateContext = pContext;
    BOOL created = CreateEx(
        dwExStyle, lpszClassName, lpszWindowName, dwStyle, useDefault ? CW_USEDEFAULT : rect.left,
        useDefault ? CW_USEDEFAULT : rect.top, useDefault ? CW_USEDEFAULT : rect.right - rect.left,
        useDefault ? CW_USEDEFAULT : rect.bottom - rect.top,
        pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, m_menuDefault.m_hMenu, pContext);
    return created;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    m_nIDResource = nIDResource;
    CString full;
    CString title;
    if (full.LoadString(nIDResource)) {
        AfxExtractSubString(title, full, 0);
    }
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return Create(cls, title, dwDefaultStyle, rectDefault, pParentWnd,
                  MAKEINTRESOURCEA(nIDResource), 0, pContext);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return cs.lpszClass != nullptr;
}

void CFrameWnd::PostNcDestroy() { delete this; }

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    return OnCreateHelper(lpcs, static_cast<CCreateContext*>(lpcs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext) {
    if (CWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    if (!OnCreateClient(lpcs, pContext)) {
        return -1;
    }
    RecalcLayout();
    return 0;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* view = nullptr;
    if (GetActiveView() == nullptr) {
        CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView))) {
            view = static_cast<CView*>(pane);
            SetActiveView(view, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (view != nullptr) {
            view->OnActivateFrame(WA_INACTIVE, this);
        }
        ActivateFrame(-1);
        if (view != nullptr) {
            view->OnActivateView(TRUE, view, view);
        }
    }
    if (pDoc != nullptr) {
        pDoc->UpdateFrameCounts();
    }
    OnUpdateFrameTitle(TRUE);
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr) {
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    CObject* made = pContext->m_pNewViewClass->CreateObject();
    if (made == nullptr) {
        return nullptr;
    }
    if (!made->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete made;
        return nullptr;
    }
    // The view owns itself from here: a failed creation deletes it through PostNcDestroy.
    CWnd* view = static_cast<CWnd*>(made);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                      nID, pContext)) {
        return nullptr;
    }
    return view;
}

void CFrameWnd::RecalcLayout(BOOL bNotify) {
    // Moving the bars resizes windows whose handlers may ask for a layout again: one at a time.
    if (m_bInRecalcLayout) {
        return;
    }
    m_bInRecalcLayout = TRUE;
    (void)bNotify;  // no layout hooks here
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (GetStyle() & FWS_SNAPTOBARS) {
        // A frame that fits around its bars (a floating frame): measure them, lay them out in
        // that size and size the frame to match.
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
        CalcWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        nCmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    }
    ShowWindow(nCmdShow);
    if (IsWindowVisible()) {
        BringWindowToTop();
    }
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* old = m_pViewActive;
    if (pViewNew == old) {
        return;
    }
    m_pViewActive = pViewNew;
    if (bNotify) {
        if (old != nullptr) {
            old->OnActivateView(FALSE, pViewNew, old);
        }
        if (pViewNew != nullptr) {
            pViewNew->OnActivateView(TRUE, pViewNew, old);
        }
    }
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The active view (and through it its document) first, then the frame, then the
    // application.
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr) {
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    }
    return FALSE;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CString title = m_strTitle;
    CDocument* doc = GetActiveDocument();
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc != nullptr &&
        !doc->GetTitle().IsEmpty()) {
        CString docTitle = doc->GetTitle();
        if (m_nWindow > 0) {
            CString number;
            number.Format(":%d", m_nWindow);
            docTitle += number;
        }
        title = (GetStyle() & FWS_PREFIXTITLE) ? docTitle + " - " + m_strTitle
                                               : m_strTitle + " - " + docTitle;
    }
    // Set only on change: a caption redraw on every idle step flickers.
    CString current;
    GetWindowText(current);
    if (current != title) {
        SetWindowText(title);
    }
}

void CFrameWnd::OnClose() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        // The main window ends the program: every modified document is offered for saving,
        // and a Cancel keeps everything open.
        if (!app->SaveAllModified()) {
            return;
        }
        app->CloseAllDocuments(FALSE);
        if (app->m_pMainWnd == nullptr) {
            return;
        }
    } else {
        CDocument* doc = GetActiveDocument();
        if (doc != nullptr && !doc->CanCloseFrame(this)) {
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    // Floating frames and dock bars go first, while the bars' list is whole.
    DestroyDockBars();
    // The system destroys the menu of a window with the window.
    if (m_menuDefault.m_hMenu != nullptr && ::GetMenu(m_hWnd) == m_menuDefault.m_hMenu) {
        m_menuDefault.Detach();
    }
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) {
        RecalcLayout();
    }
}

void CFrameWnd::OnSysColorChange() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        afxData.UpdateSysColors();
    }
    // Only top-level windows hear from the system; the bars in them hear from their frame.
    if (!(GetStyle() & WS_CHILD)) {
        SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
    }
    Default();
}

void CFrameWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        afxData.UpdateSysMetrics();
    }
    if (!(GetStyle() & WS_CHILD)) {
        SendMessageToDescendants(WM_SETTINGCHANGE, uFlags, reinterpret_cast<LPARAM>(lpszSection),
                                 TRUE, TRUE);
    }
    Default();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    if (m_pViewActive != nullptr) {
        m_pViewActive->SetFocus();
    } else {
        CWnd::OnSetFocus(pOldWnd);
    }
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
    // The view covers the client area; erasing under it only flickers.
    if (m_pViewActive != nullptr) {
        return TRUE;
    }
    return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    (void)nIndex;
    if (bSysMenu) {
        return;
    }
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) {
            continue;  // separators and popups
        }
        state.m_pSubMenu = nullptr;
        // System commands are the system's; everything else is disabled without a handler.
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    // A floating frame's show or hide waits for idle time, as does a layout asked for meanwhile.
    if (m_nShowDelay >= 0) {
        int show = m_nShowDelay;
        m_nShowDelay = -1;
        ShowWindow(show);
    }
    if (IsWindowVisible()) {
        OnUpdateFrameTitle(TRUE);
    }
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        UpdateWindow();
    }
    m_nIdleFlags = 0;
    if (m_nIDTracking != m_nIDLastMessage) {
        SetMessageText(m_nIDTracking);
    }
    // Floating frames are windows of their own: their bars are updated through the frame they
    // float for.
    std::vector<CFrameWnd*> floating;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar->IsDockBar() && static_cast<CDockBar*>(bar)->m_bFloating) {
            CFrameWnd* frame = bar->GetParentFrame();
            if (frame != nullptr && frame != this) {
                floating.push_back(frame);
            }
        }
    }
    for (CFrameWnd* frame : floating) {
        frame->SendMessage(WM_IDLEUPDATECMDUI, wParam);
        frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, wParam, 0, TRUE, TRUE);
    }
    return 0;
}
