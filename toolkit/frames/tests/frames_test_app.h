// The application and frame of the toolkit frames' window tests: a toolkit MDI frame carrying
// the bars a test asks for.
#pragma once

#include "frames/frames.h"

#include <vector>

// Bars of the test frame, made in this order (the frame's list order).
struct FrameBars {
    DWORD dwDockStyle = CBRS_ALIGN_ANY;  // the frame's EnableDocking
    // A docking window made before the others, when not 0 (docked at the bottom when its
    // identifier fits in 16 bits).
    UINT nFirstDockWindow = 0;
    const char* pszFirstTitle = "First";
    bool bMessages = true;  // docking window "Messages", docked at the bottom
    bool bOutput = true;    // docking window "Output", docked on the left
    UINT nToolBar = 0;      // a toolkit toolbar without title docked at the top, when not 0
    bool bMenuBar = false;  // the frame's menu bar gets its window (at the top)
    bool bLibraryToolBar = false;
    bool bStatusBar = false;  // its window text is "Ready"
};

constexpr UINT kMessagesID = 104;
constexpr UINT kOutputID = 105;
constexpr UINT kLibraryToolBarID = 17010;
constexpr DWORD kMessagesStyle = 0x13;  // caption buttons, grip lines, caption text
constexpr DWORD kOutputStyle = 0x03;

// A toolkit toolbar that keeps its customise dialog shut and counts the requests for it.
class CRecordingToolBar : public CXTToolBar {
public:
    int m_nCustomizeRequests = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CFramesTestFrame : public CXTMDIFrameWnd {
public:
    explicit CFramesTestFrame(const FrameBars& bars) : m_bars(bars) {}

    // A new frame at (40, 40), shown, the main window; null when it could not be made.
    static CFramesTestFrame* Open(const FrameBars& bars = FrameBars());

    CXTDockWindow m_wndFirst;
    CXTDockWindow m_wndMessages;
    CXTDockWindow m_wndOutput;
    CRecordingToolBar m_wndToolBar;
    CToolBar m_wndLibraryBar;
    CStatusBar m_wndStatusBar;
    // Lays the frame out, runs the idle update and paints.
    void Settle();

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    DECLARE_MESSAGE_MAP()

private:
    FrameBars m_bars;
};

void CloseFramesTestFrame(CFramesTestFrame* frame);

// A toolkit MDI child frame inside the frame's client, shown.
CXTMDIChildWnd* OpenTestChild(CFramesTestFrame* frame);

extern CWinApp& theTestApp;
