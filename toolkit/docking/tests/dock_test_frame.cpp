// The application and frame of the docking windows' tests.
#include "dock_test_frame.h"

#include "docking/mini_dock_frame.h"

#include "guitest/pump.h"

#include <gtest/gtest.h>

namespace {

class CDockWindowsApp : public CWinApp {
public:
    CDockWindowsApp() : CWinApp("Dock Windows Test") {}
};
CDockWindowsApp theApp;

class DockWindowsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new DockWindowsEnvironment);

struct Side {
    UINT nID;
    DWORD dwStyle;
};
const Side kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

// Caption buttons, grip lines, caption text.
constexpr DWORD kToolkitStyle = 0x13;

char Letter(UINT nID) { return nID == kMessagesID ? 'M' : nID == kOutputID ? 'O' : '?'; }

}  // namespace

BEGIN_MESSAGE_MAP(CDockTestFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

int CDockTestFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    for (const Side& side : kSides) {
        auto dockBar = std::make_unique<CXTDockBar>();
        dockBar->m_bAutoDelete = FALSE;
        if (!dockBar->Create(
                this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | side.dwStyle,
                side.nID)) {
            return -1;
        }
        dockBar->m_bAutoDelete = TRUE;
        dockBar.release();  // deleted with its window
    }
    m_pFloatingFrameClass = RUNTIME_CLASS(CXTMiniDockFrameWnd);
    if (!m_wndMessages.Create(this, kMessagesID, "Messages", 400, 120, CBRS_BOTTOM,
                              kToolkitStyle) ||
        !m_wndOutput.Create(this, kOutputID, "Output", 300, 120, CBRS_BOTTOM, kToolkitStyle)) {
        return -1;
    }
    m_wndMessages.EnableDocking(CBRS_ALIGN_ANY);
    m_wndOutput.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMessages, AFX_IDW_DOCKBAR_BOTTOM);
    DockControlBar(&m_wndOutput, AFX_IDW_DOCKBAR_BOTTOM);
    ShowControlBar(&m_wndOutput, FALSE, FALSE);
    return 0;
}

CDockTestFrame* CDockTestFrame::Open(int width, int height) {
    auto* frame = new CDockTestFrame;  // owns itself: deleted with its window
    CRect rect(0, 0, width, height);
    ::AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    rect.OffsetRect(40 - rect.left, 40 - rect.top);
    if (!frame->Create(nullptr, "Dock Windows Test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect)) {
        return nullptr;
    }
    theApp.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->Settle();
    return frame;
}

void CDockTestFrame::Settle() {
    RecalcLayout();
    guitest::PumpPending();
    guitest::RunIdle();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    guitest::PumpPending();
}

void CloseDockTestFrame(CDockTestFrame* frame) {
    if (frame != nullptr && frame->m_hWnd != nullptr) {
        frame->DestroyWindow();
    }
    theApp.m_pMainWnd = nullptr;
    guitest::PumpPending();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    guitest::QuitSeen();
}

std::string Rows(CDockBar* dockBar) {
    std::string text;
    for (INT_PTR i = 0; i < dockBar->m_arrBars.GetSize(); ++i) {
        void* entry = dockBar->m_arrBars[i];
        if (entry == nullptr) {
            text += '|';
        } else if (AfxIsDockPlaceholder(entry)) {
            text += static_cast<char>(Letter(AfxDockPlaceholderID(entry)) - 'A' + 'a');
        } else {
            text += Letter(static_cast<UINT>(static_cast<CControlBar*>(entry)->GetDlgCtrlID()));
        }
    }
    return text;
}

CRect RectInParent(CWnd* pWnd) {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pWnd->GetParent()->ScreenToClient(&rect);
    return rect;
}
