// The application and frame of the toolkit frames' window tests.
#include "frames_test_app.h"

#include "guitest/pump.h"

#include <gtest/gtest.h>

namespace {

class CFramesTestApp : public CWinApp {
public:
    CFramesTestApp() : CWinApp("Frames Test") {}
};
CFramesTestApp theApp;

class FramesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new FramesEnvironment);

}  // namespace

CWinApp& theTestApp = theApp;

LRESULT CRecordingToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TB_CUSTOMIZE) {
        ++m_nCustomizeRequests;
        return 0;
    }
    return CXTToolBar::WindowProc(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(CFramesTestFrame, CXTMDIFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CFramesTestFrame::PreCreateWindow(CREATESTRUCT& cs) { return LoadIcon(cs, XT_IDI_TOOLKIT); }

int CFramesTestFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (CXTMDIFrameWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    EnableDocking(m_bars.dwDockStyle);
    if (m_bars.nFirstDockWindow != 0) {
        if (!m_wndFirst.Create(this, m_bars.nFirstDockWindow, m_bars.pszFirstTitle, 200, 90,
                               CBRS_BOTTOM, kMessagesStyle)) {
            return -1;
        }
        m_wndFirst.EnableDocking(CBRS_ALIGN_ANY);
        if (m_bars.nFirstDockWindow <= 0xFFFF) {
            DockControlBar(&m_wndFirst, AFX_IDW_DOCKBAR_BOTTOM);
        }
    }
    if (m_bars.bMessages) {
        if (!m_wndMessages.Create(this, kMessagesID, "Messages", 400, 120, CBRS_BOTTOM,
                                  kMessagesStyle)) {
            return -1;
        }
        m_wndMessages.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndMessages, AFX_IDW_DOCKBAR_BOTTOM);
    }
    if (m_bars.bOutput) {
        if (!m_wndOutput.Create(this, kOutputID, "Output", 300, 110, CBRS_LEFT, kOutputStyle)) {
            return -1;
        }
        m_wndOutput.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndOutput, AFX_IDW_DOCKBAR_LEFT);
    }
    if (m_bars.nToolBar != 0) {
        static const UINT kButtons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE};
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                                   WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS,
                                   CRect(0, 0, 0, 0), m_bars.nToolBar) ||
            !m_wndToolBar.SetButtons(kButtons, 3)) {
            return -1;
        }
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    }
    if (m_bars.bMenuBar && !m_wndMenuBar.CreateEx(this)) {
        return -1;
    }
    if (m_bars.bLibraryToolBar) {
        static const UINT kButtons[] = {ID_EDIT_COPY};
        if (!m_wndLibraryBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kLibraryToolBarID) ||
            !m_wndLibraryBar.SetButtons(kButtons, 1)) {
            return -1;
        }
        m_wndLibraryBar.SetWindowText("Library Bar");
    }
    if (m_bars.bStatusBar) {
        static const UINT kPanes[] = {ID_SEPARATOR};
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kPanes, 1)) {
            return -1;
        }
        m_wndStatusBar.SetWindowText("Ready");
    }
    return 0;
}

CFramesTestFrame* CFramesTestFrame::Open(const FrameBars& bars) {
    auto* frame = new CFramesTestFrame(bars);  // owns itself: deleted with its window
    if (!frame->Create(nullptr, "Frames Test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                       CRect(40, 40, 760, 560))) {
        return nullptr;
    }
    theApp.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->Settle();
    return frame;
}

void CFramesTestFrame::Settle() {
    RecalcLayout();
    guitest::PumpPending();
    guitest::RunIdle();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    guitest::PumpPending();
}

void CloseFramesTestFrame(CFramesTestFrame* frame) {
    if (frame != nullptr && frame->m_hWnd != nullptr) {
        frame->DestroyWindow();
    }
    theApp.m_pMainWnd = nullptr;
    guitest::PumpPending();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    guitest::QuitSeen();
}

CXTMDIChildWnd* OpenTestChild(CFramesTestFrame* frame) {
    auto* child = new CXTMDIChildWnd;  // owns itself
    if (!child->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                       CFrameWnd::rectDefault, frame)) {
        return nullptr;
    }
    guitest::PumpPending();
    return child;
}
