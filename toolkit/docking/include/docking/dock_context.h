// CXTDockContext: moves a toolkit bar with the mouse. Unlike the class library's, a drag that
// ends where it began changes nothing, an expanded docking window is contracted before it
// leaves its row, a docking window's outline snaps to the whole edge of a dock bar, and a
// floating bar is sized from its corners as well as its edges.
#pragma once

#include "docking/dock_drag_rules.h"

#include "classlib/classlib.h"

class CXTDockContext : public CDockContext {
public:
    explicit CXTDockContext(CControlBar* pBar);
    ~CXTDockContext() override;

    void StartDrag(CPoint pt) override;
    void StartResize(int nHitTest, CPoint pt) override;
    void ToggleDocking() override;

    void EndDrag() override;
    void Stretch(CPoint pt) override;
    void DrawFocusRect(BOOL bRemoveRect = FALSE) override;

    // Where the last drag started (screen).
    CPoint m_ptDragStart;

protected:
    // Contracts the row of an expanded docking window before it leaves it.
    void ContractIfExpanded();
};
