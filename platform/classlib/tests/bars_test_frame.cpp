// The application and frame of the class library's bar and docking tests.
#include "bars_test_frame.h"

#include "guitest/pump.h"

#include <gtest/gtest.h>

namespace {

class CBarsApp : public CWinApp {
public:
    CBarsApp() : CWinApp("Bars Test") {}
};
CBarsApp theApp;

class BarsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new BarsEnvironment);

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

char Letter(UINT nID) {
    switch (nID) {
        case AFX_IDW_TOOLBAR:
            return 'T';
        case ID_SETTINGS_BAR:
            return 'D';
        case AFX_IDW_STATUS_BAR:
            return 'S';
        default:
            return '?';
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsBar, CDialogBar)
ON_CBN_SELCHANGE(IDC_PORT_LIST, OnPortChange)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CBarsView, CView)

void CBarsView::OnDraw(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(255, 255, 255));
}

IMPLEMENT_DYNCREATE(CBarsFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CBarsFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(ID_TOOL_ONE, ID_TOOL_FOUR, OnTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_ONE, OnUpdateToolOne)
ON_UPDATE_COMMAND_UI(ID_TOOL_TWO, OnUpdateToolTwo)
ON_UPDATE_COMMAND_UI(ID_TOOL_FOUR, OnUpdateToolFour)
ON_CBN_SELCHANGE(IDC_PORT_LIST, OnPortChange)
ON_CBN_SELCHANGE(IDC_CHIP_LIST, OnChipChange)
ON_UPDATE_COMMAND_UI(IDC_CHIP_LIST, OnUpdateChipList)
END_MESSAGE_MAP()

int CBarsFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)))) {
        return -1;
    }
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY | CBRS_SIZE_DYNAMIC) ||
        !m_wndToolBar.LoadToolBar(IDR_BARS_TOOLBAR)) {
        return -1;
    }
    m_wndToolBar.SetWindowText("Tools");
    if (!m_wndSettingsBar.Create(this, IDD_SETTINGS_BAR, CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY,
                                 ID_SETTINGS_BAR)) {
        return -1;
    }
    CComboBox* ports = static_cast<CComboBox*>(m_wndSettingsBar.GetDlgItem(IDC_PORT_LIST));
    CComboBox* chips = static_cast<CComboBox*>(m_wndSettingsBar.GetDlgItem(IDC_CHIP_LIST));
    for (const char* name : {"COM1", "COM2", "COM3"}) {
        ports->AddString(name);
        chips->AddString(name);
    }
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndSettingsBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    DockControlBar(&m_wndSettingsBar);
    return 0;
}

CBarsFrame* CBarsFrame::Open(int width, int height) {
    auto* frame = new CBarsFrame;  // owns itself: deleted with its window
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CBarsView);
    if (!frame->LoadFrame(IDR_BARS_FRAME, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
        return nullptr;
    }
    frame->InitialUpdateFrame(nullptr, FALSE);
    theApp.m_pMainWnd = frame;
    frame->SetWindowPos(nullptr, 40, 40, width, height, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    guitest::PumpPending();
    frame->UpdateWindow();
    guitest::PumpPending();
    return frame;
}

void CloseFrame(CFrameWnd* frame) {
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

namespace {

struct WindowSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (::lstrcmpiA(name, search->className) == 0 && ::IsWindowVisible(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindVisibleWindow(const char* className) {
    WindowSearch search = {className, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchVisibleWindow,
                        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
