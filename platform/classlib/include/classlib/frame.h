// CFrameWnd: a top-level frame created from a resource id (menu, title, icon, accelerators)
// that lays out its client pane and routes commands to the active view, itself and the
// application. Bars and docking come on top of it.
#pragma once

#include "classlib/menu.h"
#include "classlib/wnd.h"

class CDocTemplate;
class CDocument;
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
    virtual void RecalcLayout(BOOL bNotify = TRUE);
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
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    // Creation once the window exists: the client pane (views) from the context, then layout.
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    CView* m_pViewActive = nullptr;
    UINT m_nIDResource = 0;
    CMenu m_menuDefault;
    CCreateContext* m_pCreateContext = nullptr;  // during creation only

    DECLARE_MESSAGE_MAP()
};
