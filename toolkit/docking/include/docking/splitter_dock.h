// Splitter strips of a toolkit dock bar: CXTSplitterDock changes a row's thickness,
// CXTSplitterRowDock moves the boundary between two docking windows of a row. They are not
// windows: the dock bar draws, hit-tests and drives them.
#pragma once

#include "docking/dock_row.h"

#include "classlib/classlib.h"

class CXTDockBar;

class CXTSplitterDock {
public:
    // Kind 1 is a vertical strip (moves left and right), kind 2 a horizontal one.
    enum { kindVert = 1, kindHorz = 2 };

    // rect in the dock bar's client coordinates; nBarIndex: the first bar after the strip in the
    // dock bar's array (for a row's thickness, the row's first bar).
    CXTSplitterDock(CXTDockBar* pDockBar, const CRect& rect, int nType, int nBarIndex);
    virtual ~CXTSplitterDock() = default;
    CXTSplitterDock(const CXTSplitterDock&) = delete;
    CXTSplitterDock& operator=(const CXTSplitterDock&) = delete;

    virtual void TrackMove(CPoint pt);
    virtual void StartTrack(CPoint pt);
    virtual void EndTrack(CPoint pt);
    virtual void ApplySize();
    virtual void ComputeLimits();

    // Paints the strip on the dock bar's device context.
    void Draw(CDC* pDC);
    // Erases (draws again) the tracker, as Escape does.
    void InvertTracker();

    CRect m_rcBar;      // the strip
    CRect m_rcTracker;  // in the frame's client coordinates while dragging
    xtdock::XT_SPLITTER_TRACK m_track;
    int m_nType;
    int m_nBarIndex;
    CXTDockBar* m_pDockBar;

protected:
    // Follows the mouse along y or x, reversed when the position grows against the screen.
    void Follow(CPoint pt, BOOL bAlongY, BOOL bReversed);
};

class CXTSplitterRowDock : public CXTSplitterDock {
public:
    using CXTSplitterDock::CXTSplitterDock;

    void TrackMove(CPoint pt) override;
    void ApplySize() override;
    void ComputeLimits() override;
};
