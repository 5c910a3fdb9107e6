// The frame of the class library's bar and docking tests: a view, a status bar with the lock-key
// indicators, a toolbar from resources and a dialog bar of two lists, all docked at the top.
#pragma once

#include "bars_test_ids.h"
#include "classlib/classlib.h"

#include <string>
#include <vector>

// A dialog bar that handles the port list's selection itself (the chip list's goes on to the
// frame).
class CSettingsBar : public CDialogBar {
public:
    int portChanges = 0;

protected:
    void OnPortChange() { ++portChanges; }
    DECLARE_MESSAGE_MAP()
};

class CBarsView : public CView {
    DECLARE_DYNCREATE(CBarsView)
public:
    void OnDraw(CDC* pDC) override;
};

class CBarsFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CBarsFrame)
public:
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CSettingsBar m_wndSettingsBar;

    std::vector<UINT> commands;  // tool commands run, in order
    int framePortChanges = 0;
    int frameChipChanges = 0;
    BOOL chipListEnabled = TRUE;

    CView* View() { return static_cast<CView*>(GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE)); }

    // A new frame of the given size at (40, 40), shown, made the main window.
    static CBarsFrame* Open(int width = 640, int height = 480);

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnTool(UINT nID) { commands.push_back(nID); }
    void OnUpdateToolOne(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    void OnUpdateToolTwo(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateToolFour(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnPortChange() { ++framePortChanges; }
    void OnChipChange() { ++frameChipChanges; }
    void OnUpdateChipList(CCmdUI* pCmdUI) { pCmdUI->Enable(chipListEnabled); }
    DECLARE_MESSAGE_MAP()
};

// Closes the frame and takes away the quit message its end posts.
void CloseFrame(CFrameWnd* frame);

// The bar's dock bar's array as text: one letter per bar (T toolbar, D dialog bar, S status
// bar, ? another), p for a placeholder, | for a row end.
std::string Rows(CDockBar* dockBar);

// The top-level window under the thread with the class, visible, or null.
HWND FindVisibleWindow(const char* className);
