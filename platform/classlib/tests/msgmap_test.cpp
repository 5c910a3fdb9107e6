// Message maps, command routing, reflection, subclassing and window lifetime under the real
// window manager.
#include "classlib/classlib.h"
#include "guitest/pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

void Log(const std::string& s) { g_log.push_back(s); }

enum : UINT {
    ID_ALL = 40001,       // view, document, frame and application handle it
    ID_DOC_UP = 40002,    // document, frame, application
    ID_FRAME_UP = 40003,  // frame, application
    ID_APP_ONLY = 40004,
    ID_NOBODY = 40005,
    WM_PING = WM_USER + 5,
    WM_THREAD_PING = WM_USER + 1,
};

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("Classlib Test") {}
    WPARAM pingW = 0;
    LPARAM pingL = 0;

protected:
    void OnAll() { Log("app"); }
    void OnDocUp() { Log("app"); }
    void OnFrameUp() { Log("app"); }
    void OnAppOnly() { Log("app"); }
    void OnThreadPing(WPARAM w, LPARAM l) {
        pingW = w;
        pingL = l;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_ALL, OnAll)
ON_COMMAND(ID_DOC_UP, OnDocUp)
ON_COMMAND(ID_FRAME_UP, OnFrameUp)
ON_COMMAND(ID_APP_ONLY, OnAppOnly)
ON_THREAD_MESSAGE(WM_THREAD_PING, OnThreadPing)
END_MESSAGE_MAP()

CTestApp theApp;

class CTestDoc : public CDocument {
protected:
    void OnAll() { Log("doc"); }
    void OnDocUp() { Log("doc"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
ON_COMMAND(ID_ALL, OnAll)
ON_COMMAND(ID_DOC_UP, OnDocUp)
END_MESSAGE_MAP()

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    void OnDraw(CDC*) override {}

protected:
    void OnAll() { Log("view"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)

BEGIN_MESSAGE_MAP(CTestView, CView)
ON_COMMAND(ID_ALL, OnAll)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
protected:
    void OnAll() { Log("frame"); }
    void OnDocUp() { Log("frame"); }
    void OnFrameUp() { Log("frame"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
ON_COMMAND(ID_ALL, OnAll)
ON_COMMAND(ID_DOC_UP, OnDocUp)
ON_COMMAND(ID_FRAME_UP, OnFrameUp)
END_MESSAGE_MAP()

TEST(CommandRouting, GoesFromViewToDocumentToFrameToApplication) {
    CTestDoc doc;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
    context.m_pCurrentDoc = &doc;
    auto* frame = new CTestFrame;  // owns itself from here: deleted with its window
    ASSERT_TRUE(frame->Create(nullptr, "Routing", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200),
                              nullptr, nullptr, 0, &context));
    POSITION pos = doc.GetFirstViewPosition();
    ASSERT_NE(pos, nullptr);
    CView* view = doc.GetNextView(pos);
    ASSERT_TRUE(view->IsKindOf(RUNTIME_CLASS(CTestView)));
    EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    frame->SetActiveView(view, FALSE);

    g_log.clear();
    for (UINT id : {ID_ALL, ID_DOC_UP, ID_FRAME_UP, ID_APP_ONLY, ID_NOBODY}) {
        frame->SendMessage(WM_COMMAND, id);
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"view", "doc", "frame", "app"}));
    EXPECT_FALSE(frame->OnCmdMsg(ID_NOBODY, CN_COMMAND, nullptr, nullptr));

    // Without an active view the frame comes first.
    frame->SetActiveView(nullptr, FALSE);
    g_log.clear();
    frame->SendMessage(WM_COMMAND, ID_ALL);
    EXPECT_EQ(g_log, (std::vector<std::string>{"frame"}));

    frame->DestroyWindow();  // the view leaves the document with its window
    EXPECT_EQ(doc.GetFirstViewPosition(), nullptr);
}

TEST(DynamicCreation, BuildsAWindowClassByName) {
    std::unique_ptr<CObject> made(CRuntimeClass::CreateObject("CTestView"));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CView)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
}

class CBaseWnd : public CWnd {
public:
    int lastSize = 0;

protected:
    void OnSize(UINT, int cx, int) { lastSize = cx; }
    LRESULT OnPing(WPARAM w, LPARAM) { return static_cast<LRESULT>(w) + 40; }
    void OnRange(UINT nID) { Log("range " + std::to_string(nID)); }
    void OnUpdateRange(CCmdUI* pCmdUI) { pCmdUI->Enable(pCmdUI->m_nID % 2 == 0); }
    void OnShadowed() { Log("base"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_SIZE()
ON_MESSAGE(WM_PING, OnPing)
ON_COMMAND_RANGE(41000, 41009, OnRange)
ON_UPDATE_COMMAND_UI_RANGE(41000, 41004, OnUpdateRange)
ON_COMMAND(41100, OnShadowed)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
protected:
    void OnShadowed() { Log("derived"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_COMMAND(41100, OnShadowed)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedEntriesComeFirstAndBaseEntriesStillWork) {
    CDerivedWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "map", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.SendMessage(WM_PING, 2), 42);
    wnd.MoveWindow(0, 0, 250, 120);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(wnd.lastSize, client.Width());
    g_log.clear();
    wnd.SendMessage(WM_COMMAND, 41100);
    EXPECT_EQ(g_log, (std::vector<std::string>{"derived"}));
}

TEST(MessageMap, RangeHandlersGetTheIdAndUpdateHandlersGateExecution) {
    CBaseWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "ranges", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    g_log.clear();
    // 41001 and 41003 are disabled by the update handler; 41007 has no update handler.
    for (UINT id : {41000u, 41001u, 41002u, 41003u, 41007u, 41010u}) {
        wnd.SendMessage(WM_COMMAND, id);
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"range 41000", "range 41002", "range 41007"}));

    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 41001, "odd");
    menu.AppendMenu(MF_STRING, 41002, "even");
    menu.AppendMenu(MF_STRING, 41007, "handled, no update");
    menu.AppendMenu(MF_STRING, 41500, "nobody");
    CCmdUI state;
    state.m_pMenu = &menu;
    for (UINT i = 0; i < 4; ++i) {
        state.m_nIndex = i;
        state.m_nID = menu.GetMenuItemID(static_cast<int>(i));
        state.DoUpdate(&wnd, TRUE);
    }
    auto grayed = [&](UINT i) { return (menu.GetMenuState(i, MF_BYPOSITION) & MF_GRAYED) != 0; };
    EXPECT_TRUE(grayed(0));
    EXPECT_FALSE(grayed(1));
    EXPECT_FALSE(grayed(2));
    EXPECT_TRUE(grayed(3));
}

class CCountingButton : public CButton {
public:
    int drawn = 0;
    int reflectedClicks = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }

protected:
    void OnClickedReflect() { ++reflectedClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnClickedReflect)
END_MESSAGE_MAP()

class CColouredStatic : public CStatic {
public:
    HBRUSH brush = nullptr;
    int clicks = 0;

protected:
    HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        EXPECT_EQ(nCtlColor, static_cast<UINT>(CTLCOLOR_STATIC));
        return brush;
    }
    void OnClickReflect(NMHDR*, LRESULT* pResult) {
        ++clicks;
        *pResult = 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColouredStatic, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_NOTIFY_REFLECT(NM_CLICK, OnClickReflect)
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
public:
    std::vector<UINT> notified;
    int buttonClicks = 0;

protected:
    void OnClick(UINT nID, NMHDR*, LRESULT* pResult) {
        notified.push_back(nID);
        *pResult = 3;
    }
    void OnButton() { ++buttonClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
ON_NOTIFY_RANGE(NM_CLICK, 7, 8, OnClick)
ON_BN_CLICKED(9, OnButton)
ON_BN_CLICKED(10, OnButton)
END_MESSAGE_MAP()

TEST(Reflection, ControlsHandleTheirOwnDrawingNotificationsAndColours) {
    CParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr));
    CColouredStatic label;
    ASSERT_TRUE(
        label.Create("label", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 80, 20), &parent, 7));
    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, "plain", WS_CHILD, CRect(0, 30, 80, 50), &parent, 8));
    CCountingButton button;
    ASSERT_TRUE(button.Create("owner", WS_CHILD | BS_OWNERDRAW, CRect(0, 60, 80, 80), &parent, 9));
    CButton other;
    ASSERT_TRUE(
        other.Create("plain", WS_CHILD | BS_PUSHBUTTON, CRect(0, 90, 80, 110), &parent, 10));

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 9;
    dis.hwndItem = button.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 9, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(button.drawn, 1);

    NMHDR toLabel = {label.m_hWnd, 7, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&toLabel)), 7);
    NMHDR toPlain = {plain.m_hWnd, 8, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&toPlain)), 3);
    EXPECT_EQ(label.clicks, 1);
    EXPECT_EQ(parent.notified, (std::vector<UINT>{8}));

    parent.SendMessage(WM_COMMAND, MAKEWPARAM(9, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button.m_hWnd));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(10, BN_CLICKED),
                       reinterpret_cast<LPARAM>(other.m_hWnd));
    EXPECT_EQ(button.reflectedClicks, 1);
    EXPECT_EQ(parent.buttonClicks, 1);  // only the button that does not handle it itself

    CBrush green(RGB(0, 255, 0));
    label.brush = green;
    CClientDC dc(&label);
    LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                       reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), static_cast<HBRUSH>(green));
    label.brush = nullptr;  // no brush of its own: the default colours apply
    brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                               reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_NE(reinterpret_cast<HBRUSH>(brush), static_cast<HBRUSH>(green));
}

class CSubclassedStatic : public CWnd {
public:
    int presubclassed = 0;
    void PreSubclassWindow() override { ++presubclassed; }

protected:
    LRESULT OnPing(WPARAM, LPARAM) { return 99; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassedStatic, CWnd)
ON_MESSAGE(WM_PING, OnPing)
END_MESSAGE_MAP()

TEST(Subclassing, RoutesAnExistingWindowThroughTheMapUntilUndone) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "original text", WS_POPUP, 0, 0, 50, 20, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    CSubclassedStatic wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(wnd.presubclassed, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    EXPECT_EQ(::SendMessageA(hWnd, WM_PING, 0, 0), 99);
    CString text;
    wnd.GetWindowText(text);  // the control's own procedure still answers
    EXPECT_EQ(text, "original text");
    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(::SendMessageA(hWnd, WM_PING, 0, 0), 0);
    ::DestroyWindow(hWnd);
}

class CLifetimeWnd : public CWnd {
public:
    int* postNcDestroyCalls = nullptr;
    bool detachedAtPostNcDestroy = false;
    bool failCreate = false;
    HWND boundAtCreate = nullptr;

    void PostNcDestroy() override {
        ++*postNcDestroyCalls;
        detachedAtPostNcDestroy = m_hWnd == nullptr;
    }

protected:
    int OnNcCreateSeen = 0;
    int OnCreate(LPCREATESTRUCT lpcs) {
        boundAtCreate = m_hWnd;
        if (failCreate) {
            return -1;
        }
        return CWnd::OnCreate(lpcs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLifetimeWnd, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(WindowLifetime, ObjectIsBoundBeforeCreateAndReleasedAfterTheLastMessage) {
    int calls = 0;
    CLifetimeWnd wnd;
    wnd.postNcDestroyCalls = &calls;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "life", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_EQ(wnd.boundAtCreate, hWnd);
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(wnd.detachedAtPostNcDestroy);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(WindowLifetime, FailedCreationCleansUpOnceAndReportsFailure) {
    int calls = 0;
    CLifetimeWnd wnd;
    wnd.postNcDestroyCalls = &calls;
    wnd.failCreate = true;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, "fails", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(wnd.m_hWnd, nullptr);

    CLifetimeWnd noClass;
    noClass.postNcDestroyCalls = &calls;
    EXPECT_FALSE(
        noClass.CreateEx(0, "NoSuchWindowClass", "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(noClass.m_hWnd, nullptr);
}

class CKeyWnd : public CWnd {
public:
    int seen = 0;
    bool consume = false;
    BOOL PreTranslateMessage(MSG*) override {
        ++seen;
        return consume;
    }
};

TEST(PreTranslation, WalksFromTheTargetUpToTheStopWindow) {
    CKeyWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, "top", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    CKeyWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD, CRect(0, 0, 10, 10), &parent, 1));
    parent.consume = true;
    MSG msg = {child.m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg));
    EXPECT_EQ(child.seen, 1);
    EXPECT_EQ(parent.seen, 1);
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(child.m_hWnd, &msg));  // stops at the child
    EXPECT_EQ(child.seen, 2);
    EXPECT_EQ(parent.seen, 1);
}

TEST(TemporaryObjects, LiveUntilIdleTimeAndSpareAttachedObjects) {
    CBaseWnd attached;
    ASSERT_TRUE(attached.CreateEx(0, nullptr, "kept", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    guitest::RunIdle();
    ASSERT_EQ(AfxGetThreadState()->TemporaryCount(), 0u);
    CWnd* desktop = CWnd::FromHandle(::GetDesktopWindow());
    EXPECT_EQ(CWnd::FromHandle(::GetDesktopWindow()), desktop);  // one object per handle
    CBrush* stock = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ASSERT_NE(stock, nullptr);
    EXPECT_GE(AfxGetThreadState()->TemporaryCount(), 2u);
    guitest::RunIdle();
    EXPECT_EQ(AfxGetThreadState()->TemporaryCount(), 0u);
    // The temporary brush gave its handle back: the stock brush is still usable.
    EXPECT_NE(::GetObjectType(::GetStockObject(WHITE_BRUSH)), 0u);
    EXPECT_EQ(CWnd::FromHandle(attached.m_hWnd), &attached);
    EXPECT_TRUE(::IsWindow(::GetDesktopWindow()));
}

TEST(ThreadMessages, ReachTheApplicationsMap) {
    ASSERT_TRUE(::PostThreadMessageA(::GetCurrentThreadId(), WM_THREAD_PING, 5, 6));
    guitest::PumpPending();
    EXPECT_EQ(theApp.pingW, 5u);
    EXPECT_EQ(theApp.pingL, 6);
}

}  // namespace
