// CFrameWnd: a top-level frame created from a resource id (menu, title, icon, accelerators)
// that lays out its bars and client pane, routes commands to the active view, itself and the
// application, docks and floats its bars and keeps their layout in the profile.
#pragma once

#include "classlib/collections.h"
#include "classlib/menu.h"
#include "classlib/wnd.h"

class CControlBar;
class CDockBar;
class CDockState;
class CDocTemplate;
class CDocument;
class CMiniDockFrameWnd;
class CView;

// What a frame's creation passes to the windows it creates inside it.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                LPCTSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
                CCreateContext* pContext = nullptr);
    // Menu, title (first piece of the string nIDResource), icon and accelerators all come from
    // resources with the id nIDResource; only the menu must exist.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    virtual CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Lays out the bars and the client pane; bNotify is kept for layout hooks (none here).
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The layout runs at the next idle time instead.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // After creation for a document: makes the first pane the active view, sends
    // WM_INITIALUPDATE to the views and (bMakeVisible) shows and activates the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL IsFrameWnd() const override { return TRUE; }

    // Bars. Every bar created with this frame as its parent is in m_listControlBars (dock bars
    // and floating frames' dock bars included) until its window goes.
    CControlBar* GetControlBar(UINT nID);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    // Makes dock bars for the allowed sides (CBRS_ALIGN_*) that do not have one yet; floating
    // frames are of class CMiniDockFrameWnd. Raises CResourceException when a dock bar cannot be
    // made.
    void EnableDocking(DWORD dwDockStyle);
    // Docks the bar in the dock bar with that id (0: the side matching the bar's alignment), at
    // lpRect (screen) when given.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats the bar in a floating frame at the screen point; dwStyle's alignment sets the
    // orientation (CBRS_ALIGN_TOP: horizontal).
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Docks the bar where it was docked before (its placeholder), else in the dock bar given or
    // the one of its alignment.
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The side under a rectangle (screen) among the allowed ones, and its dock bar.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    void DestroyDockBars();

    // The layout of the bars, as a whole and in the profile (sections "<name>-Bar<n>").
    void GetDockState(CDockState& state) const;
    void SetDockState(const CDockState& state);
    void LoadBarState(LPCTSTR lpszProfileName);
    void SaveBarState(LPCTSTR lpszProfileName) const;

    // The message bar (the status bar) and its texts: a command's prompt is its string's first
    // line.
    virtual CWnd* GetMessageBar();
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);

    CPtrList m_listControlBars;
    CRuntimeClass* m_pFloatingFrameClass = nullptr;
    // A floating frame's show or hide waiting for idle time (SW_*), -1 for none.
    int m_nShowDelay = -1;
    // Work waiting for idle time.
    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    UINT m_nIdleFlags = 0;
    BOOL m_bInRecalcLayout = FALSE;
    CRect m_rectBorder;
    // The command whose prompt the message bar should show, and the one it shows.
    UINT m_nIDTracking = 0;
    UINT m_nIDLastMessage = 0;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;  // a frame owns itself: deleted with its window
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // Menu items whose command no target handles are disabled when their popup opens.
    BOOL m_bAutoMenuEnable = TRUE;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;
    CString m_strTitle;
    // This frame's number among the frames of its document (1, 2, ...), 0 when it is the only
    // one, -1 before counting; shown as ":n" in the title.
    int m_nWindow = -1;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    // The system's colours and settings: the shared bar colours and metrics follow them, and
    // every bar of the frame hears of the change.
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnEnterIdle(UINT nWhy, CWnd* pWho);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // View menu: shows or hides the bar whose id is the command; the item is checked while the
    // bar is visible. Frames without that bar pass both on along the route.
    BOOL OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    // Status-bar panes of the keyboard's lock keys.
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    // WM_SETMESSAGESTRING: wParam a string id or lParam a text for the message bar; returns the
    // id shown before.
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    // Tooltip texts of bar items: the second line of the item's command string.
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    // Creation once the window exists: the client pane (views) from the context, then layout.
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    CView* m_pViewActive = nullptr;
    UINT m_nIDResource = 0;
    CMenu m_menuDefault;
    CCreateContext* m_pCreateContext = nullptr;  // during creation only

    DECLARE_MESSAGE_MAP()
};
