// The window-test kit itself: real input arrives as a user's does, waits pump and give up in
// time, registry sandboxes vanish, and the stand-ins answer popup menus, the shell and beeps.
#include "classlib/classlib.h"
#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"
#include "guitest/stand_ins.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CHarnessApp : public CWinApp {
public:
    CHarnessApp() : CWinApp("Harness Test") {}
};
CHarnessApp theApp;

enum : UINT { ID_ONE = 40100, ID_TWO = 40101 };

// Records the mouse as the window receives it and answers popup-menu updates.
class CProbe : public CWnd {
public:
    struct Event {
        UINT message;
        CPoint point;   // from lParam, client coordinates
        CPoint cursor;  // the message's own cursor position, client coordinates
    };
    std::vector<Event> events;
    std::vector<UINT> commands;
    bool twoChecked = true;

protected:
    void Record(UINT message, CPoint point) {
        // Where the cursor was when the message was posted (what msg.pt carries).
        DWORD pos = ::GetMessagePos();
        CPoint cursor(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
        ScreenToClient(&cursor);
        events.push_back({message, point, cursor});
    }
    void OnLButtonDown(UINT, CPoint point) { Record(WM_LBUTTONDOWN, point); }
    void OnMouseMove(UINT nFlags, CPoint point) {
        if (nFlags & MK_LBUTTON) {
            Record(WM_MOUSEMOVE, point);
        }
    }
    void OnLButtonUp(UINT, CPoint point) { Record(WM_LBUTTONUP, point); }
    void OnOne() { commands.push_back(ID_ONE); }
    void OnTwo() { commands.push_back(ID_TWO); }
    void OnUpdateTwo(CCmdUI* pCmdUI) { pCmdUI->SetCheck(twoChecked ? 1 : 0); }
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL) {
        CCmdUI state;
        state.m_pMenu = pPopupMenu;
        state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
        for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
            state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
            state.DoUpdate(this, FALSE);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbe, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_INITMENUPOPUP()
ON_COMMAND(ID_ONE, OnOne)
ON_COMMAND(ID_TWO, OnTwo)
ON_UPDATE_COMMAND_UI(ID_TWO, OnUpdateTwo)
END_MESSAGE_MAP()

class HarnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                          static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ASSERT_TRUE(probe_.CreateEx(0, cls, "probe", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                                    nullptr, nullptr));
        guitest::PumpPending();
    }
    void TearDown() override {
        probe_.DestroyWindow();
        guitest::PumpPending();
    }
    CProbe probe_;
};

TEST_F(HarnessTest, ADragArrivesAsDownMovesAndUpWithTheCursorInEachMessage) {
    ASSERT_TRUE(guitest::BringToForeground(&probe_));
    CPoint from = guitest::ClientToScreenPoint(&probe_, CPoint(20, 30));
    CPoint to = guitest::ClientToScreenPoint(&probe_, CPoint(220, 130));
    guitest::Drag(from, to, 4);
    ASSERT_TRUE(guitest::WaitUntil(
        [&] { return !probe_.events.empty() && probe_.events.back().message == WM_LBUTTONUP; }));
    const auto& events = probe_.events;
    EXPECT_EQ(events.front().message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(events.front().point, CPoint(20, 30));
    EXPECT_EQ(events.back().point, CPoint(220, 130));
    EXPECT_GE(events.size(), 4u);  // moves in between
    for (const auto& e : events) {
        EXPECT_EQ(e.cursor, e.point) << "message " << e.message;
    }
}

TEST_F(HarnessTest, PixelsAreReadWhereTheTestComputesThem) {
    CClientDC dc(&probe_);
    dc.FillSolidRect(CRect(0, 0, 150, 200), RGB(200, 0, 0));
    dc.FillSolidRect(CRect(150, 0, 300, 200), RGB(0, 0, 200));
    ::GdiFlush();
    guitest::ClientPixels pixels(&probe_);
    EXPECT_EQ(pixels.Width(), 300);
    EXPECT_EQ(pixels.At(149, 100), RGB(200, 0, 0));
    EXPECT_EQ(pixels.At(150, 100), RGB(0, 0, 200));
    EXPECT_EQ(pixels.At(300, 0), CLR_INVALID);
}

bool g_ticked = false;
void CALLBACK Tick(HWND hWnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hWnd, id);
    g_ticked = true;
}

TEST_F(HarnessTest, WaitingPumpsMessagesAndGivesUpInTime) {
    // A timer's procedure runs only while somebody dispatches its message.
    g_ticked = false;
    ::SetTimer(probe_.m_hWnd, 2, 30, Tick);
    EXPECT_TRUE(guitest::WaitUntil([] { return g_ticked; }));
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(guitest::WaitUntil([] { return false; }, 100));
    EXPECT_GE(::GetTickCount() - start, 100u);
}

TEST_F(HarnessTest, ARegistrySandboxIsRemovedWithEverythingInIt) {
    std::string key;
    {
        guitest::RegistrySandbox sandbox(&theApp);
        key = "Software\\" + sandbox.KeyName();
        theApp.WriteProfileString("Settings\\Deep", "Value", "x");
        theApp.WriteProfileInt("Settings", "Count", 3);
        DWORD count = 0;
        EXPECT_TRUE(sandbox.ReadDword("Settings", "Count", &count));
        EXPECT_EQ(count, 3u);
        EXPECT_TRUE(sandbox.KeyExists("Settings\\Deep"));
    }
    HKEY opened = nullptr;
    EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    EXPECT_EQ(theApp.m_pszRegistryKey, nullptr);  // the application is back as it was
}

TEST_F(HarnessTest, APopupMenuChoiceArrivesAsACommandAfterTheItemsWereUpdated) {
    guitest::PopupMenuAnswers answers;
    answers.Choose(ID_TWO).Choose(ID_ONE);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_ONE, "One");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_TWO, "Two");
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &probe_));
    EXPECT_TRUE(probe_.commands.empty());  // posted, as a real choice is
    guitest::PumpPending();
    EXPECT_EQ(probe_.commands, std::vector<UINT>{ID_TWO});
    // With TPM_RETURNCMD the choice is the answer and nothing is sent.
    probe_.twoChecked = false;
    EXPECT_EQ(menu.TrackPopupMenuEx(TPM_RETURNCMD, 10, 10, &probe_), static_cast<BOOL>(ID_ONE));
    guitest::PumpPending();
    EXPECT_EQ(probe_.commands.size(), 1u);
    ASSERT_EQ(answers.Seen().size(), 2u);
    EXPECT_TRUE(answers.Seen()[0][2].checked);  // the owner's update handler ran first
    EXPECT_FALSE(answers.Seen()[1][2].checked);
    EXPECT_TRUE(answers.Seen()[0][1].separator);
    EXPECT_EQ(answers.Seen()[0][0].text, "One");
}

TEST_F(HarnessTest, ShellCallsAndBeepsAreRecordedInsteadOfCarriedOut) {
    guitest::ShellExecuteRecorder shell(2);  // the shell's "file not found"
    guitest::BeepRecorder beeps;
    HINSTANCE result = AfxShellExecute(probe_.m_hWnd, "open", "mailto:someone@example.com", nullptr,
                                       nullptr, SW_SHOWNORMAL);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(result), 2);
    EXPECT_TRUE(AfxMessageBeep(MB_ICONEXCLAMATION));
    ASSERT_EQ(shell.Seen().size(), 1u);
    EXPECT_EQ(shell.Seen()[0].verb, "open");
    EXPECT_EQ(shell.Seen()[0].file, "mailto:someone@example.com");
    EXPECT_EQ(beeps.Seen(), std::vector<UINT>{MB_ICONEXCLAMATION});
}

}  // namespace
