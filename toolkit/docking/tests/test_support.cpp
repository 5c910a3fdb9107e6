// The application and windows of the docking toolkit's window tests.
#include "test_support.h"

#include "guitest/pump.h"

#include <gtest/gtest.h>

namespace {

class CDockingTestApp : public CWinApp {
public:
    CDockingTestApp() : CWinApp("Docking Test") {}
};
CDockingTestApp theApp;

class DockingEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new DockingEnvironment);

}  // namespace

CFrameWnd* OpenTestFrame(int width, int height, CFrameWnd* frame) {
    if (frame == nullptr) {
        frame = new CFrameWnd;  // owns itself: deleted with its window
    }
    CRect rect(0, 0, width, height);
    ::AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    rect.OffsetRect(40 - rect.left, 40 - rect.top);
    if (!frame->Create(nullptr, "Docking Test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect)) {
        return nullptr;
    }
    theApp.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    guitest::PumpPending();
    return frame;
}

void CloseTestFrame(CFrameWnd* frame) {
    if (frame != nullptr && frame->m_hWnd != nullptr) {
        frame->DestroyWindow();
    }
    theApp.m_pMainWnd = nullptr;
    guitest::PumpPending();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    guitest::QuitSeen();
}

BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CPaintedWnd::Create(CWnd* pParent, const CRect& rect) {
    return CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE, rect, pParent, 1);
}

void CPaintedWnd::OnPaint() {
    CPaintDC dc(this);
    if (paint) {
        paint(&dc);
    }
}

CMemoryCanvas::CMemoryCanvas(int width, int height, COLORREF fill) {
    CClientDC screen(nullptr);
    m_dc.CreateCompatibleDC(&screen);
    m_bitmap.CreateCompatibleBitmap(&screen, width, height);
    m_pOld = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, width, height, fill);
}

CMemoryCanvas::~CMemoryCanvas() { m_dc.SelectObject(m_pOld); }
