// CXTControlBar: the toolkit's flat control bar: painted off screen, flat one-pixel borders and
// a ridged gripper, where it is docked, a context menu on a right click, and a second style
// word of the toolkit's own. Derived bars give OnUpdateCmdUI.
#pragma once

#include "classlib/classlib.h"
#include "docking/bar_geometry.h"

// Toolkit style bits (what each means for a docking window).
#define XTCBS_CAPTION_BUTTONS 0x0001L
#define XTCBS_CAPTION_GRIP 0x0002L
#define XTCBS_CAPTION_COLOR 0x0004L
#define XTCBS_CAPTION_GRADIENT 0x0008L
#define XTCBS_CAPTION_TEXT 0x0010L
#define XTCBS_FLAT_BUTTONS 0x0020L
#define XTCBS_EDGE_ETCHED 0x0080L
#define XTCBS_EDGE_THIN_SUNKEN 0x0100L
#define XTCBS_EDGE_RAISED 0x0200L
#define XTCBS_THIN_BUTTONS 0x0400L
#define XTCBS_REDOCKED 0x0800L  // set by the dock context when it docks a floating window again
#define XTCBS_DOUBLE_GRIPPER 0x1000L

class CXTControlBar : public CControlBar {
    DECLARE_DYNAMIC(CXTControlBar)
public:
    CXTControlBar();
    ~CXTControlBar() override;

    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0) override;
    virtual void SetBorders(LPCRECT lpRect);
    // Left, top, right and bottom border widths.
    virtual CRect GetBorders() const;
    virtual DWORD GetToolkitStyle() const;
    virtual void SetToolkitStyle(DWORD dwStyle);
    // new = (old & ~dwRemove) | dwAdd; the frame is computed anew, and with bRedraw the bar
    // and its dock bar are drawn anew. Always TRUE.
    virtual BOOL ModifyToolkitStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    // A menu resource whose popup nPopupIndex a right click shows, instead of the frame's bar
    // menu (0: the frame's).
    virtual void SetContextMenu(UINT nMenuID, int nPopupIndex);
    virtual UINT GetContextMenuID() const;
    void DrawGripper(CDC* pDC, const CRect& rect) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    void EraseNonClient() override;
    void DrawBorders(CDC* pDC, CRect& rect) override;
    // Stores the dock style and makes the bar's dock context on first use; a bar without an
    // owner takes its parent for good.
    void EnableDocking(DWORD dwDockStyle) override;
    // The same, then adds toolkit style bits.
    void EnableDocking(DWORD dwDockStyle, DWORD dwToolkitStyle);
    // Where the bar is, by its parent's id (the dock bars').
    virtual BOOL IsLeftDocked() const;
    virtual BOOL IsRightDocked() const;
    virtual BOOL IsTopDocked() const;
    virtual BOOL IsBottomDocked() const;
    virtual BOOL IsHorzDocked() const;
    virtual BOOL IsVertDocked() const;
    // Neither horizontally nor vertically docked.
    virtual BOOL IsFloating() const;

    // The bar's border widths and the system's, as the geometry rules take them.
    xtdock::BarMetrics Metrics() const;

    // Index of the popup within the context-menu resource, and the resource (0: none).
    int m_nPopupIndex = 0;
    UINT m_nMenuID = 0;
    // Vertically docked, horizontally docked, most recent floating and current sizes.
    CSize m_sizeVert{200, 100};
    CSize m_sizeHorz{200, 100};
    CSize m_sizeFloat{200, 100};
    CSize m_sizeCurrent{200, 100};
    BOOL m_bAloneInRow = FALSE;  // set by the dock bar
    BOOL m_bExpanded = FALSE;
    DWORD m_dwToolkitStyle = XTCBS_CAPTION_BUTTONS | XTCBS_CAPTION_GRIP | XTCBS_CAPTION_TEXT;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcPaint();
    void OnRButtonDown(UINT nFlags, CPoint point);
    int ParentId() const;

    DECLARE_MESSAGE_MAP()
};
