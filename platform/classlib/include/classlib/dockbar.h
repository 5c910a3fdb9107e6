// Docking: the dock bars along a frame's sides that lay out the bars docked in them, the dock
// context that drags a bar between sides and floating frames, and the small floating frames.
#pragma once

#include "classlib/collections.h"
#include "classlib/controlbar.h"
#include "classlib/dock_rows.h"
#include "classlib/frame.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // The docked bars: rows of bars, each ended by a null entry, behind a null at index 0;
    // placeholders (control ids, see dock_rows.h) keep the places of bars that left.
    CPtrArray m_arrBars;
    // The dock bar of a floating frame (one per floating frame).
    BOOL m_bFloating;
    // While the frame's layout runs: whether it only measures, and the room it offers.
    BOOL m_bLayoutQuery = FALSE;
    CRect m_rectLayout;

    // Docks the bar here: at lpRect (screen coordinates) in the row it falls into, or in a new
    // last row when no rectangle is given. The bar leaves its former dock bar.
    virtual void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Docks the bar where its placeholder is, else as DockControlBar does.
    virtual void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes the bar out. nAddPlaceHolder 1 leaves its id in its place; nPosExclude is an index
    // not to look at (the bar's new place in this same array). A floating dock bar left without
    // visible bars hides its frame, without any bars destroys it. FALSE when the bar is not here.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    void RemovePlaceHolder(CControlBar* pBar);

    // The bar at an index; null for row ends and placeholders.
    CControlBar* GetDockedControlBar(int nPos) const;
    int GetDockedCount() const;
    virtual int GetDockedVisibleCount() const;
    // Index of the bar (or placeholder), -1 when absent.
    int FindBar(CControlBar* pBar, int nPosExclude = -1);
    // Puts the bar into the row under ptMid (client coordinates), after the bars whose leading
    // edge comes before rect's; a new row when ptMid is beyond all rows. Returns its index.
    int Insert(CControlBar* pBar, CRect rect, CPoint ptMid);
    void ShowAll(BOOL bShow);

    BOOL IsDockBar() const override { return TRUE; }
    // Lays the docked bars out row by row (moving them unless only measuring) and returns the
    // dock bar's size: rows across the frame's length.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);

protected:
    // Joins the bar to this dock bar: reparents it and takes it out of its former dock bar.
    void AttachBar(CControlBar* pBar, int nPos);

    DECLARE_MESSAGE_MAP()
};

// Moves a bar with the mouse: drags it between the frame's sides and floating frames, resizes a
// floating bar from its frame, and toggles between docked and floating.
class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Starts a drag from the screen point and returns when the mouse loop has ended.
    virtual void StartDrag(CPoint pt);
    // Starts resizing a floating bar from a sizing border (HTLEFT to HTBOTTOMRIGHT).
    virtual void StartResize(int nHitTest, CPoint pt);
    // Docks a floating bar where it was docked last, floats a docked bar where it floated last.
    virtual void ToggleDocking();

    // Steps of the loops.
    virtual void Move(CPoint pt);
    virtual void EndDrag();
    virtual void OnKey(int nChar, BOOL bDown);
    virtual void Stretch(CPoint pt);
    virtual void EndResize();
    virtual void DrawFocusRect(BOOL bRemoveRect = FALSE);
    // Draws the outline at rect over a dock bar (a thin white frame), else the floating outline
    // (a window-thick grey frame at the floating rectangle), in place of the last one; with
    // bRemoveRect the last one is only taken away. For DrawFocusRect, once it has chosen rect.
    void DrawOutline(CRect rect, bool bOverDockBar, BOOL bRemoveRect);
    // Takes the mouse and runs the loop until the button is released (TRUE) or the drag is
    // cancelled (Esc, the right button, a lost capture: FALSE). Nothing when another window
    // holds the mouse already.
    BOOL Track();
    void InitLoop();
    void CancelLoop();
    void UpdateState(BOOL* pFlag, BOOL bNewValue);
    // The side the outlines may dock to now (CBRS_ALIGN_* bits), 0 for none.
    DWORD CanDock();
    // The side a rectangle (screen) may dock to among the allowed ones, and its dock bar.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    CDockBar* GetDockBar(DWORD dwOverDockStyle);
    // Floats the dropped bar the way it lay (turned with Shift), or as it floated last for a bar
    // that sizes itself, and keeps that as where it floats next.
    void FloatAtDrop();

    // The drag.
    CPoint m_ptLast;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bDitherLast = FALSE;
    // Outlines for docking horizontally and vertically, and for floating either way.
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    CRect m_rectFrameDragVert;
    // A resize keeps its rectangles in the same four members.
    CRect& m_rectRequestedSize = m_rectDragHorz;
    CRect& m_rectActualSize = m_rectDragVert;
    CRect& m_rectActualFrameSize = m_rectFrameDragHorz;
    CRect& m_rectFrameBorders = m_rectFrameDragVert;

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;      // sides the bar may dock to
    DWORD m_dwOverDockStyle = 0;  // side under the outline now
    DWORD m_dwStyle = 0;          // the bar's alignment when the loop started
    BOOL m_bFlip = FALSE;         // Shift: the outline turns the other way
    BOOL m_bForceFrame = FALSE;   // Ctrl: float whatever is under the outline
    CDC* m_pDC = nullptr;         // the screen while the loop runs
    BOOL m_bDragging = FALSE;     // a drag (not a resize) runs
    int m_nHitTest = 0;

    // Where the bar was docked and floated last.
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;  // in the dock bar's client coordinates
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos = CPoint(-1, -1);
};

// A small frame with a tool-window caption: the floating frames of bars.
class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr, UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd = nullptr, UINT nID = 0);
    // Grows a client rectangle by the frame of a floating frame of that style.
    static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION,
                            DWORD dwExStyle = 0);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The caption is set by whoever uses the frame, not from a document.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // MFS_4THICKFRAME: the corners size like the edges next to them; MFS_MOVEFRAME: the
    // borders move the frame.
    LRESULT OnNcHitTest(CPoint point);
    BOOL OnNcActivate(BOOL bActive);
    // A floating frame may be as small as its bars: no larger least size than its frame.
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);

protected:
    DECLARE_MESSAGE_MAP()
};

// The floating frame of docked bars: one dock bar fills it, the frame follows its size.
class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    // A floating frame owned by pParent for bars of that style (CBRS_SIZE_DYNAMIC makes its
    // borders resize the bar, CBRS_ALIGN_LEFT/RIGHT a vertical dock bar).
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // Commands from the floating bars take the route of the frame they float for.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The first bar from index 1 on, the one the caption and borders act for.
    CControlBar* GetFloatingBar() const;

    void OnClose();
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

    CDockBar m_wndDockBar;

protected:
    DECLARE_MESSAGE_MAP()
};
