// CXTDockBar: the strip along one side of a toolkit frame, laying its bars out in rows where
// docking windows share the row's length, with splitter strips between rows and windows.
#pragma once

#include "docking/dock_row.h"
#include "docking/splitter_dock.h"

#include "classlib/classlib.h"

#include <memory>
#include <vector>

class CXTDockWindow;

class CXTDockBar : public CDockBar {
    DECLARE_DYNAMIC(CXTDockBar)
public:
    CXTDockBar();
    ~CXTDockBar() override;

    // Sets the arrow cursor, then finds the strip under the screen point (none while the mouse
    // is captured): its index, or -1; its kind's cursor.
    virtual int SplitterHitTest(CPoint pt);

    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Expansion within the window's row; bRecalc lays the frame out again.
    void ExpandWindow(CXTDockWindow* pWnd, BOOL bRecalc);
    void ContractRow(CXTDockWindow* pWnd, BOOL bRecalc);

    // For the splitter strips; each resizes the docking windows it changes at once.
    // The most a row may grow across the frame: the frame's room beside the docked bars.
    int GetMaxRowThickness();
    int SetRowThickness(int nRowStart, int nThickness);
    int GrowBefore(int nBarIndex, int d);
    int GrowAfter(int nBarIndex, int d);
    // The row holding the array index, as the row rules see it, with its bars and first index.
    void GetRow(int nPos, xtdock::XTDockRow& row, std::vector<CControlBar*>& bars, int& nRowStart);
    // Gives the row's docking windows their sizes; bResize moves them to those sizes now.
    void ApplyRow(const xtdock::XTDockRow& row, const std::vector<CControlBar*>& bars,
                  BOOL bResize);
    xtdock::XTDockSide GetSide() const;
    BOOL IsHorzDockBar() const;

    const std::vector<std::unique_ptr<CXTSplitterDock>>& GetSplitters() const {
        return m_arrSplitters;
    }
    int GetHitSplitter() const { return m_nHitSplitter; }
    BOOL IsTracking() const { return m_bTracking; }

    int m_nHitSplitter = -1;
    BOOL m_bTracking = FALSE;
    HWND m_hWndFocus = nullptr;
    DWORD m_dwDockBarFlags = 0;  // 0x40: class-library bars keep their styles in the layout
    BOOL m_bTopEdge = TRUE;

protected:
    // The strip at the index, or null.
    CXTSplitterDock* HitSplitter() const;
    void EndTracking();
    void DrawEdges(CDC* pDC);

    LRESULT OnNcHitTest(CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnCaptureChanged(CWnd* pWnd);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnCancelTrack();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();

    std::vector<std::unique_ptr<CXTSplitterDock>> m_arrSplitters;

    DECLARE_MESSAGE_MAP()
};
