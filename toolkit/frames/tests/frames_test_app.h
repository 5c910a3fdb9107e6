// The application and frame of the toolkit frames' window tests: a toolkit MDI frame carrying
// the bars a test asks for.
#pragma once

#include "frames/frames.h"

#include <vector>

// Bars of the test frame, made in this order (the frame's list order).
struct FrameBars {
    UINT nFirstDockWindow = 0;  // a docking window made before the others, when not 0
    DWORD dwFirstToolkitStyle = 0x13;
    bool bMessages = true;  // docking window "Messages", docked at the bottom
    bool bOutput = true;    // docking window "Output", docked at the bottom
    UINT nToolBar = 0;      // a toolkit toolbar with no title docked at the top, when not 0
    UINT nMenuBar = 0;      // a menu bar (a toolkit toolbar too), when not 0
    bool bLibraryToolBar = false;
    bool bStatusBar = false;
};

constexpr UINT kMessagesID = 104;
constexpr UINT kOutputID = 105;
constexpr UINT kLibraryToolBarID = 17010;
constexpr UINT kStatusBarID = 59393;
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
    CXTMenuBar m_wndTestMenuBar;
    CToolBar m_wndLibraryBar;
    CStatusBar m_wndStatusBar;
    std::vector<UINT> m_commands;  // commands of the bar menu that reached the frame

    // Lays the frame out, runs the idle update and paints.
    void Settle();

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    DECLARE_MESSAGE_MAP()

private:
    FrameBars m_bars;
};

void CloseFramesTestFrame(CFramesTestFrame* frame);

// A toolkit MDI child frame inside the frame's client, shown.
CXTMDIChildWnd* OpenTestChild(CFramesTestFrame* frame);

extern CWinApp& theTestApp;
