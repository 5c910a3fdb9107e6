// The frame of the docking windows' tests: toolkit dock bars on its four sides, toolkit
// floating frames, and two docking windows ("Messages" and "Output") to dock, float and size.
#pragma once

#include "docking/dock_bar.h"
#include "docking/dock_window.h"

#include "classlib/classlib.h"

#include <string>

constexpr UINT kMessagesID = 104;
constexpr UINT kOutputID = 105;

class CDockTestFrame : public CFrameWnd {
public:
    CXTDockWindow m_wndMessages;
    CXTDockWindow m_wndOutput;

    // A new frame with a client area of the given size at (40, 40), shown, the main window;
    // Messages docked at the bottom, Output made but hidden.
    static CDockTestFrame* Open(int width = 700, int height = 500);

    CXTDockBar* DockBar(UINT nID) { return DYNAMIC_DOWNCAST(CXTDockBar, GetControlBar(nID)); }
    // Lays the frame out, runs the idle update and paints.
    void Settle();

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    DECLARE_MESSAGE_MAP()
};

void CloseDockTestFrame(CDockTestFrame* frame);

// The dock bar's array as text: 'M' Messages, 'O' Output, '|' a row end, lower case for a
// placeholder.
std::string Rows(CDockBar* dockBar);
// A window's rectangle in its parent's client coordinates.
CRect RectInParent(CWnd* pWnd);
