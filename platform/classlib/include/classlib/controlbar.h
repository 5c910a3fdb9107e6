// CControlBar: the base of every bar along a frame's edges (toolbars, status bars, dialog bars,
// dock bars): its style word, borders and gripper, its share of the frame's layout, delayed
// showing, the idle update of its items, docking by mouse, tooltips and status-bar help.
#pragma once

#include "classlib/controls.h"
#include "classlib/wnd.h"

#include <memory>

class CControlBarInfo;
class CDockBar;
class CDockContext;
class CFrameWnd;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // The bar's style word (CBRS_*): alignment, borders, floating, sizing, tooltips, fly-by.
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    virtual void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect);
    CRect GetBorders() const;
    int GetCount() const { return m_nCount; }

    // The frame the bar is docked in: the floating frame while floating, else the dock site.
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const;
    virtual BOOL IsDockBar() const { return FALSE; }
    // Visible, or about to be by a delayed show (and not about to be hidden).
    virtual BOOL IsVisible() const;

    // Layout. The fixed size across the frame (bStretch: as long as the frame allows), and the
    // size for a length and LM_* mode; the default dynamic layout is the fixed one.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // The rectangle left inside the borders and the gripper.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;

    // Painting: DoPaint draws the borders and the gripper on the client area; EraseNonClient
    // does it on the non-client area of bars that keep them there.
    virtual void DoPaint(CDC* pDC);
    virtual void DrawBorders(CDC* pDC, CRect& rect);  // shrinks rect to inside the borders
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    virtual void EraseNonClient();
    // For EraseNonClient: clips the client area out of dc, the bar's window DC, and returns the
    // window's rectangle in the DC's coordinates.
    CRect ClipToNonClient(CDC& dc);

    // Shows or hides the bar at the next layout (or idle time).
    virtual void DelayShow(BOOL bShow);
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    // Lets the bar be dragged to the given sides (CBRS_ALIGN_*, CBRS_FLOAT_MULTI): makes its dock
    // context and ties the bar's owner to its parent for good.
    virtual void EnableDocking(DWORD dwDockStyle);

    // The bar's state for the frame's saved layout.
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

    // Bars update their items from their owner's handlers at idle time.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Commands, notifications and owner-draw requests that the bar's own map leaves go on to
    // its owner.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // A floating bar goes with its floating frame.
    BOOL DestroyWindow() override;
    void PostNcDestroy() override;

    // Status-bar help for a command (the owner's message text), -1 to go back to the idle
    // message. TRUE when the text changed.
    BOOL SetStatusText(INT_PTR nHit);

    // Handlers.
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    // Bits of m_nStateFlags.
    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };

    // Borders inside the bar's edges (pixels).
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 1;
    int m_cyBottomBorder = 1;
    int m_cxDefaultGap = 2;
    // Width of a floating bar with a dynamic size when it was last sized.
    int m_nMRUWidth = 32767;
    // Bars made with new that delete themselves with their window.
    BOOL m_bAutoDelete = FALSE;
    int m_nCount = 0;
    UINT m_nStateFlags = 0;
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    // The frame whose bar list holds the bar, the dock bar it is docked in, and its drag
    // machinery (made by EnableDocking; a derived bar may give it a context of its own kind).
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    std::unique_ptr<CDockContext> m_pDockContext;

protected:
    // The bar's room in the parent's layout after a delayed show or hide: its style with
    // WS_VISIBLE as the layout must see it.
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    // Restarts one of the bar's timers.
    void ResetTimer(UINT_PTR nEvent, UINT nTime);
    // Tooltips and status-bar help for the mouse message (bars with CBRS_TOOLTIPS/CBRS_FLYBY).
    void FilterToolTipMessage(MSG* pMsg);
    void RelayToolTip(MSG* pMsg, INT_PTR nHit, const TOOLINFO& ti);
    void UpdateStatusHelp(MSG* pMsg, INT_PTR nHit);
    // The border and gripper sizes as a non-client area (bars that keep them outside the
    // client, like the toolbar and the status bar).
    void CalcNcBorders(NCCALCSIZE_PARAMS* lpncsp);

    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    INT_PTR m_nToolHit = -1;  // the item the tooltip is for
    UINT_PTR m_uToolId = 0;
    INT_PTR m_nFlyByHit = -1;  // the item the status help waits on

    DECLARE_MESSAGE_MAP()
};

// Moves a window as a layout pass asks: deferred with the pass, nothing when the pass only
// measures or the window is there already.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
