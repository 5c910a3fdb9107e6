// The menu bar on a real frame, driven by real keys and clicks: Alt and F10, keyboard mode,
// popups opened and moved across with Left and Right (also out of submenus), closed by Escape,
// by a click elsewhere and by WM_CANCELMODE, mnemonics, and the frame's own menu taken away.
#include "guitest/input.h"
#include "guitest/pump.h"
#include "menubar_test_ids.h"
#include "menus/menubar.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

class CMenuBarTestApp : public CWinApp {
public:
    CMenuBarTestApp() : CWinApp("Menu Bar Test") {}
};
CMenuBarTestApp theApp;

class MenuBarEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new MenuBarEnvironment);

constexpr UINT_PTR kWatchdogTimer = 77;

// A frame with a menu bar that records the popups it opens and the commands it gets.
template <class TFrame>
class CRecordingFrame : public TFrame {
public:
    CRecordingFrame() { this->m_bAutoMenuEnable = FALSE; }

    CXTMenuBar m_wndMenuBar;
    std::vector<HMENU> m_popups;  // every popup as it opened
    std::vector<UINT> m_commands;
    std::function<void()> m_onMenuIdle;  // once, when an open popup first waits for input

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (m_wndMenuBar.m_hWnd != nullptr && m_wndMenuBar.TranslateFrameMessage(pMsg)) {
            return TRUE;
        }
        return TFrame::PreTranslateMessage(pMsg);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITMENUPOPUP && !HIWORD(lParam)) {
            m_popups.push_back(reinterpret_cast<HMENU>(wParam));
        }
        if (message == WM_TIMER && wParam == kWatchdogTimer) {
            // A popup left open by a failing test would hold the test's thread for good.
            ::EndMenu();
            return 0;
        }
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && m_onMenuIdle) {
            auto once = std::move(m_onMenuIdle);
            m_onMenuIdle = nullptr;
            once();
        }
        return TFrame::WindowProc(message, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) >= ID_MB_NEW && LOWORD(wParam) <= ID_MB_ABOUT) {
            m_commands.push_back(LOWORD(wParam));
            return TRUE;
        }
        return TFrame::OnCommand(wParam, lParam);
    }
};
using CMenuBarFrame = CRecordingFrame<CFrameWnd>;

constexpr int kFile = 0;
constexpr int kEdit = 1;
constexpr int kView = 2;
constexpr int kHelp = 3;

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = new CMenuBarFrame;  // deletes itself with its window
        ASSERT_TRUE(frame_->Create(nullptr, "Menu Bar Test", WS_OVERLAPPEDWINDOW,
                                   CRect(80, 80, 580, 380), nullptr,
                                   MAKEINTRESOURCEA(IDR_MENUBAR_MENU)));
        CXTMenuBar& bar = frame_->m_wndMenuBar;
        ASSERT_TRUE(bar.CreateEx(frame_));
        ASSERT_TRUE(bar.LoadMenuBar(IDR_MENUBAR_MENU));
        frame_->ShowWindow(SW_SHOW);
        frame_->RecalcLayout();
        guitest::PumpPending();
        frame_->UpdateWindow();
        ASSERT_TRUE(guitest::BringToForeground(frame_));
        frame_->SetTimer(kWatchdogTimer, 8000, nullptr);
    }
    void TearDown() override {
        frame_->DestroyWindow();
        guitest::PumpPending();
    }

    CXTMenuBar& Bar() { return frame_->m_wndMenuBar; }
    HMENU Popup(int index) { return ::GetSubMenu(Bar().GetMenu(), index); }
    HMENU InsertSubmenu() { return ::GetSubMenu(Popup(kEdit), 1); }
    int ControlHotItem() { return static_cast<int>(Bar().SendMessage(TB_GETHOTITEM)); }
    CPoint ButtonCentre(int index) {
        CRect rc;
        Bar().SendMessage(TB_GETRECT, index, reinterpret_cast<LPARAM>(&rc));
        return guitest::ClientToScreenPoint(&Bar(), rc.CenterPoint());
    }
    // Keys pressed and released one after another, with time for popups to open between.
    bool Keys(std::initializer_list<WORD> keys, DWORD stepMs = 120) {
        guitest::InputScript script;
        script.Foreground(frame_);
        for (WORD vk : keys) {
            script.KeyDown(vk).KeyUp(vk);
        }
        return script.Run(stepMs);
    }

    CMenuBarFrame* frame_ = nullptr;
};

}  // namespace

TEST_F(MenuBarTest, TheMenuBecomesButtonsAndTheFrameLosesItsOwnMenu) {
    EXPECT_EQ(Bar().GetButtonCount(), 4);
    char text[32] = {};
    Bar().SendMessage(TB_GETBUTTONTEXTA, kEdit, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "&Edit");
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), nullptr);
    CString title;
    Bar().GetWindowText(title);
    EXPECT_EQ(title, "Menu Bar");
}

TEST_F(MenuBarTest, TwoPopupsWithTheSameTextShareOneString) {
    HMENU twins = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TWIN_MENU));
    HMENU previous = Bar().SetMenu(twins, nullptr);
    TBBUTTON first = {}, second = {}, last = {};
    Bar().GetButton(0, &first);
    Bar().GetButton(1, &second);
    Bar().GetButton(2, &last);
    EXPECT_EQ(first.iString, last.iString);
    EXPECT_NE(first.iString, second.iString);
    EXPECT_EQ(last.idCommand, 2);
    Bar().SetMenu(previous, nullptr);
    ::DestroyMenu(twins);
}

TEST_F(MenuBarTest, AltAndF10ToggleKeyboardModeAndArrowsMoveTheHotButton) {
    ASSERT_TRUE(Keys({VK_MENU}));
    EXPECT_EQ(Bar().GetTrackingState(), 1);
    EXPECT_EQ(ControlHotItem(), kFile);
    ASSERT_TRUE(Keys({VK_RIGHT}));
    EXPECT_EQ(ControlHotItem(), kEdit);
    ASSERT_TRUE(Keys({VK_LEFT, VK_LEFT}));
    EXPECT_EQ(ControlHotItem(), kHelp);  // from the first to the last
    ASSERT_TRUE(Keys({VK_RIGHT}));
    EXPECT_EQ(ControlHotItem(), kFile);  // and on from the last to the first
    ASSERT_TRUE(Keys({VK_MENU}));
    EXPECT_EQ(Bar().GetTrackingState(), 0);
    EXPECT_EQ(ControlHotItem(), -1);

    ASSERT_TRUE(Keys({VK_F10}));
    EXPECT_EQ(Bar().GetTrackingState(), 1);
    ASSERT_TRUE(Keys({VK_ESCAPE}));
    EXPECT_EQ(Bar().GetTrackingState(), 0);
    EXPECT_TRUE(frame_->m_popups.empty());
}

TEST_F(MenuBarTest, LeftAndRightMoveAcrossPopupsAndInAndOutOfSubmenus) {
    // File opens; Right: Edit; Down twice to Insert, Right opens its submenu, Left closes it,
    // Left again goes back to File. Escape closes File and keeps keyboard mode on its button.
    int stateAtEnd = -1;
    int hotAtEnd = -1;
    ASSERT_TRUE(
        Keys({VK_MENU, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_LEFT, VK_ESCAPE},
             200));
    stateAtEnd = Bar().GetTrackingState();
    hotAtEnd = ControlHotItem();
    EXPECT_EQ(frame_->m_popups,
              (std::vector<HMENU>{Popup(kFile), Popup(kEdit), InsertSubmenu(), Popup(kFile)}));
    EXPECT_EQ(stateAtEnd, 1);
    EXPECT_EQ(hotAtEnd, kFile);
    ASSERT_TRUE(Keys({VK_ESCAPE}));
    EXPECT_EQ(Bar().GetTrackingState(), 0);
    EXPECT_TRUE(frame_->m_commands.empty());
}

TEST_F(MenuBarTest, RightFromInsideASubmenuGoesToTheNextPopup) {
    ASSERT_TRUE(Keys(
        {VK_MENU, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_ESCAPE, VK_ESCAPE},
        200));
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{Popup(kEdit), InsertSubmenu(), Popup(kView)}));
    EXPECT_EQ(Bar().GetTrackingState(), 0);
}

TEST_F(MenuBarTest, AMnemonicOpensItsPopupAndAnItemThereRunsItsCommand) {
    guitest::InputScript script;
    script.Foreground(frame_)
        .KeyDown(VK_MENU)
        .KeyDown('E')
        .KeyUp('E')
        .KeyUp(VK_MENU)
        .Pause(200)
        .KeyDown('P')
        .KeyUp('P');
    ASSERT_TRUE(script.Run(120));
    ASSERT_TRUE(guitest::WaitUntil([&] { return !frame_->m_commands.empty(); }, 3000));
    EXPECT_EQ(frame_->m_commands, (std::vector<UINT>{ID_MB_PASTE}));
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{Popup(kEdit)}));
    EXPECT_EQ(Bar().GetTrackingState(), 0);
}

TEST_F(MenuBarTest, AnUnknownMnemonicBeepsInKeyboardModeOnly) {
    std::vector<UINT> beeps;
    AfxMessageBeepHook previous = AfxSetMessageBeepHook([&](UINT type) { beeps.push_back(type); });
    // With Alt held the key is left to the frame, and the bar stays idle.
    guitest::InputScript altQ;
    altQ.Foreground(frame_).KeyDown(VK_MENU).KeyDown('Q').KeyUp('Q').KeyUp(VK_MENU);
    ASSERT_TRUE(altQ.Run(120));
    EXPECT_TRUE(beeps.empty());
    EXPECT_EQ(Bar().GetTrackingState(), 0);
    ASSERT_TRUE(Keys({VK_MENU, 'Q'}));
    EXPECT_EQ(beeps.size(), 1u);
    EXPECT_EQ(Bar().GetTrackingState(), 1);
    ASSERT_TRUE(Keys({VK_ESCAPE}));
    EXPECT_EQ(Bar().GetTrackingState(), 0);
    AfxSetMessageBeepHook(previous);
}

TEST_F(MenuBarTest, AClickElsewhereClosesTheOpenPopup) {
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    CRect client;
    frame_->GetClientRect(&client);
    const CPoint elsewhere =
        guitest::ClientToScreenPoint(frame_, CPoint(client.right - 20, client.bottom - 20));
    guitest::InputScript script;
    script.Foreground(frame_)
        .Press(ButtonCentre(kView))
        .Release(ButtonCentre(kView))
        .Pause(300)
        .Press(elsewhere)
        .Release(elsewhere);
    ASSERT_TRUE(script.Run(120));
    ASSERT_TRUE(guitest::WaitUntil([&] { return Bar().GetTrackingState() == 0; }, 3000));
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{Popup(kView)}));
    EXPECT_TRUE(frame_->m_commands.empty());
    EXPECT_EQ(Bar().GetHotIndex(), -1);
}

TEST_F(MenuBarTest, CancelModeClosesTheOpenPopup) {
    int stateWhileOpen = -1;
    frame_->m_onMenuIdle = [&] {
        stateWhileOpen = Bar().GetTrackingState();
        frame_->PostMessage(WM_CANCELMODE);
    };
    guitest::InputScript script;
    script.Foreground(frame_).Press(ButtonCentre(kHelp)).Release(ButtonCentre(kHelp)).Pause(300);
    ASSERT_TRUE(script.Run(120));
    ASSERT_TRUE(guitest::WaitUntil([&] { return Bar().GetTrackingState() == 0; }, 3000));
    EXPECT_EQ(stateWhileOpen, 2);
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{Popup(kHelp)}));
}

// File, an item without a string (so without a button), View: View's button is the second one,
// its command the item's position, 2.
class MenuBarGapTest : public MenuBarTest {
protected:
    void SetUp() override {
        MenuBarTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        menu_ = ::CreateMenu();
        HMENU file = ::CreatePopupMenu();
        view_ = ::CreatePopupMenu();
        ::AppendMenuA(file, MF_STRING, ID_MB_NEW, "&New");
        ::AppendMenuA(view_, MF_STRING, ID_MB_STATUS, "&Status");
        ::AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        ::AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(view_), "&View");
        previous_ = Bar().SetMenu(menu_, nullptr);
        frame_->RecalcLayout();
        guitest::PumpPending();
        ASSERT_EQ(Bar().GetButtonCount(), 2);
        ASSERT_EQ(Bar().GetItemID(1), kViewCommand);
    }
    void TearDown() override {
        Bar().SetMenu(previous_, nullptr);
        ::DestroyMenu(menu_);
        MenuBarTest::TearDown();
    }
    void CloseWhenOpen() {
        frame_->m_onMenuIdle = [this] { frame_->PostMessage(WM_CANCELMODE); };
    }

    static constexpr UINT kViewCommand = 2;
    HMENU menu_ = nullptr;
    HMENU view_ = nullptr;
    HMENU previous_ = nullptr;
};

// Beeps counted while it lives.
class BeepCounter {
public:
    BeepCounter() : m_previous(AfxSetMessageBeepHook([this](UINT) { ++m_count; })) {}
    ~BeepCounter() { AfxSetMessageBeepHook(m_previous); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    int Count() const { return m_count; }

private:
    int m_count = 0;
    AfxMessageBeepHook m_previous;
};

TEST_F(MenuBarGapTest, AClickOnTheButtonAfterTheGapOpensItsOwnPopupPressed) {
    bool pressedWhileOpen = false;
    frame_->m_onMenuIdle = [&] {
        pressedWhileOpen = Bar().SendMessage(TB_ISBUTTONPRESSED, kViewCommand) != 0;
        frame_->PostMessage(WM_CANCELMODE);
    };
    CRect rc;
    Bar().SendMessage(TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
    const CPoint at = guitest::ClientToScreenPoint(&Bar(), rc.CenterPoint());
    guitest::InputScript click;
    click.Foreground(frame_).Press(at).Release(at).Pause(300);
    ASSERT_TRUE(click.Run(120));
    ASSERT_TRUE(guitest::WaitUntil([&] { return Bar().GetTrackingState() == 0; }, 3000));
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{view_}));
    EXPECT_TRUE(pressedWhileOpen);
    EXPECT_EQ(Bar().SendMessage(TB_ISBUTTONPRESSED, kViewCommand), 0);
}

TEST_F(MenuBarGapTest, TheMnemonicOfTheButtonAfterTheGapOpensItsPopupWithoutABeep) {
    BeepCounter beeps;
    CloseWhenOpen();
    guitest::InputScript altV;
    altV.Foreground(frame_).KeyDown(VK_MENU).KeyDown('V').KeyUp('V').KeyUp(VK_MENU).Pause(300);
    ASSERT_TRUE(altV.Run(120));
    ASSERT_TRUE(guitest::WaitUntil([&] { return Bar().GetTrackingState() == 0; }, 3000));
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{view_}));

    // In keyboard mode as well.
    frame_->m_popups.clear();
    CloseWhenOpen();
    ASSERT_TRUE(Keys({VK_MENU, 'V'}));
    EXPECT_TRUE(guitest::WaitUntil([&] { return !frame_->m_popups.empty(); }, 3000));
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{view_}));
    EXPECT_EQ(beeps.Count(), 0);
    guitest::WaitUntil([&] { return Bar().GetTrackingState() != 2; }, 3000);
    if (Bar().GetTrackingState() == 1) {
        Keys({VK_ESCAPE});
    }
}

TEST_F(MenuBarGapTest, TheIdleUpdateEnablesEveryButtonsCommand) {
    Bar().SendMessage(TB_ENABLEBUTTON, kViewCommand, MAKELPARAM(FALSE, 0));
    ASSERT_EQ(Bar().SendMessage(TB_ISBUTTONENABLED, kViewCommand), 0);
    Bar().OnUpdateCmdUI(frame_, FALSE);
    EXPECT_NE(Bar().SendMessage(TB_ISBUTTONENABLED, kViewCommand), 0);
}

// An MDI frame: the bar takes the frame's menu as the children change it, lists the children in
// the Window popup, and shows the maximised child's buttons around its text buttons.
using CMdiBarFrame = CRecordingFrame<CMDIFrameWnd>;

class MenuBarMdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = new CMdiBarFrame;  // deletes itself with its window
        ASSERT_TRUE(frame_->LoadFrame(IDR_MDI_FRAME, WS_OVERLAPPEDWINDOW));
        ASSERT_TRUE(Bar().CreateEx(frame_));
        frameMenu_ = ::GetMenu(frame_->m_hWnd);
        ASSERT_NE(frameMenu_, nullptr);
        windowMenu_ = ::GetSubMenu(frameMenu_, 1);
        // The frame sets its menu through the MDI client: the bar takes it over.
        ::SendMessageA(frame_->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu_),
                       reinterpret_cast<LPARAM>(windowMenu_));
        frame_->MoveWindow(80, 80, 560, 360);
        frame_->ShowWindow(SW_SHOW);
        frame_->RecalcLayout();
        guitest::PumpPending();
        frame_->SetTimer(kWatchdogTimer, 8000, nullptr);
    }
    void TearDown() override {
        frame_->DestroyWindow();
        guitest::PumpPending();
    }

    CXTMenuBar& Bar() { return frame_->m_wndMenuBar; }
    CMDIChildWnd* NewChild(const char* title, const CRect& rect) {
        auto* child = new CMDIChildWnd;  // deletes itself with its window
        if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rect,
                           frame_)) {
            return nullptr;
        }
        return child;
    }
    // The client repaints, where the bar learns of a maximised child or a restored one.
    void RepaintClient() {
        ::RedrawWindow(frame_->m_hWndMDIClient, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        guitest::PumpPending();
    }
    CRect ItemRect(int index) {
        CRect rc;
        Bar().SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }

    CMdiBarFrame* frame_ = nullptr;
    HMENU frameMenu_ = nullptr;
    HMENU windowMenu_ = nullptr;
};

TEST_F(MenuBarMdiTest, TheWindowListAndTheMaximisedChildsButtonsFollowTheChildren) {
    CXTMenuBar& bar = Bar();
    EXPECT_EQ(bar.GetMenu(), frameMenu_);
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), nullptr);
    EXPECT_EQ(bar.GetButtonCount(), 2);
    CRect clientBefore;
    bar.GetClientRect(&clientBefore);

    CMDIChildWnd* alpha = NewChild("Alpha", CRect(0, 0, 200, 120));
    CMDIChildWnd* beta = NewChild("Beta", CRect(20, 20, 220, 140));
    ASSERT_NE(alpha, nullptr);
    ASSERT_NE(beta, nullptr);
    frame_->MDIActivate(beta);
    frame_->MDIMaximize(beta);
    RepaintClient();
    EXPECT_TRUE(bar.IsMdiMaximized());

    // The icon just before the text buttons' area, the three caption buttons just after it,
    // close last; the area lost the room they take.
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(bar.GetMdiButtonRect(0).right, client.left);
    EXPECT_EQ(bar.GetMdiButtonRect(0).Width(), ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(bar.GetMdiButtonRect(1).left, client.right);
    EXPECT_EQ(bar.GetMdiButtonRect(2).left, bar.GetMdiButtonRect(1).right);
    EXPECT_EQ(bar.GetMdiButtonRect(3).left, bar.GetMdiButtonRect(2).right);
    EXPECT_EQ(client.Width(), clientBefore.Width() - ::GetSystemMetrics(SM_CXSMICON) -
                                  3 * ::GetSystemMetrics(SM_CXSIZE));
    CRect window;
    bar.GetWindowRect(&window);
    bar.ScreenToClient(&window);
    EXPECT_LE(bar.GetMdiButtonRect(3).right, window.right);

    // Opening the Window popup lists every child, the active one checked.
    frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(windowMenu_), 1);
    std::vector<std::string> entries;
    for (int i = 0; i < ::GetMenuItemCount(windowMenu_); ++i) {
        char text[64] = {};
        ::GetMenuStringA(windowMenu_, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        const bool checked =
            (::GetMenuState(windowMenu_, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0;
        entries.push_back(std::string(text) + (checked ? " *" : ""));
    }
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], "&Cascade");
    EXPECT_EQ(entries[1], "");  // the separator
    // Children in window order: the active one comes first.
    EXPECT_EQ(entries[2], "&1  Beta *");
    EXPECT_EQ(entries[3], "&2  Alpha");
    // Built again, not added to.
    frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(windowMenu_), 1);
    EXPECT_EQ(::GetMenuItemCount(windowMenu_), 4);

    // Restored: the buttons go at the client's next repaint, and their room comes back.
    frame_->MDIRestore(beta);
    RepaintClient();
    EXPECT_FALSE(bar.IsMdiMaximized());
    EXPECT_TRUE(bar.GetMdiButtonRect(3).IsRectEmpty());
    bar.GetClientRect(&client);
    EXPECT_EQ(client.Width(), clientBefore.Width());
}

TEST_F(MenuBarMdiTest, AClickOnTheFirstTextButtonOpensItsPopupWhileAChildIsMaximised) {
    CMDIChildWnd* child = NewChild("Alpha", CRect(0, 0, 200, 120));
    ASSERT_NE(child, nullptr);
    frame_->MDIActivate(child);
    frame_->MDIMaximize(child);
    RepaintClient();
    ASSERT_TRUE(Bar().IsMdiMaximized());
    ASSERT_TRUE(guitest::BringToForeground(frame_));

    // The text buttons lie between the child's icon and its caption buttons.
    EXPECT_GE(ItemRect(0).left, Bar().GetMdiButtonRect(0).right);
    EXPECT_LE(ItemRect(Bar().GetButtonCount() - 1).right, Bar().GetMdiButtonRect(1).left);

    // Pressed near its left end, File's button opens File, not the child's system menu.
    frame_->m_onMenuIdle = [&] { frame_->PostMessage(WM_CANCELMODE); };
    const CRect file = ItemRect(0);
    const CPoint at =
        guitest::ClientToScreenPoint(&Bar(), CPoint(file.left + 3, file.CenterPoint().y));
    guitest::InputScript click;
    click.Foreground(frame_).Press(at).Release(at).Pause(300);
    ASSERT_TRUE(click.Run(120));
    ASSERT_TRUE(guitest::WaitUntil([&] { return !frame_->m_popups.empty(); }, 3000));
    EXPECT_EQ(frame_->m_popups, (std::vector<HMENU>{::GetSubMenu(frameMenu_, 0)}));
    EXPECT_TRUE(guitest::WaitUntil([&] { return Bar().GetTrackingState() == 0; }, 3000));
}
