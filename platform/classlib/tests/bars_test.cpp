// Bars in a frame under the real window manager: the status bar's room and panes, a dialog
// bar's notifications, toolbar buttons from resources with their update, commands, tips and
// status help, docking and floating from code, the rows of a dock bar, the saved layout in the
// registry, and the drag outline's drawing.
#include "bars_test_frame.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = CBarsFrame::Open();
        ASSERT_NE(frame_, nullptr);
    }
    void TearDown() override { CloseFrame(frame_); }

    CDockBar* DockBar(UINT nID) { return DYNAMIC_DOWNCAST(CDockBar, frame_->GetControlBar(nID)); }
    CRect WindowRectIn(CWnd* wnd, CWnd* in) {
        CRect rect;
        wnd->GetWindowRect(&rect);
        in->ScreenToClient(&rect);
        return rect;
    }
    CString StatusText(int pane) {
        char text[128] = {};
        frame_->m_wndStatusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(pane),
                                           reinterpret_cast<LPARAM>(text));
        return CString(text);
    }
    UINT ButtonState(UINT nID) {
        return static_cast<UINT>(frame_->m_wndToolBar.SendMessage(TB_GETSTATE, nID));
    }
    CPoint ButtonCentre(UINT nID) {
        CRect rect;
        frame_->m_wndToolBar.GetItemRect(frame_->m_wndToolBar.CommandToIndex(nID), &rect);
        return guitest::ClientToScreenPoint(&frame_->m_wndToolBar, rect.CenterPoint());
    }
    void Settle() {
        frame_->RecalcLayout();
        guitest::PumpPending();
        guitest::RunIdle();
        frame_->UpdateWindow();
        guitest::PumpPending();
    }

    CBarsFrame* frame_ = nullptr;
};

// The status bar.

TEST_F(BarsTest, HidingTheStatusBarGivesItsHeightToTheView) {
    CView* view = frame_->View();
    ASSERT_NE(view, nullptr);
    CRect viewBefore = WindowRectIn(view, frame_);
    CRect status = WindowRectIn(&frame_->m_wndStatusBar, frame_);
    CRect client;
    frame_->GetClientRect(&client);
    ASSERT_GT(status.Height(), 0);
    EXPECT_EQ(status.bottom, client.bottom);  // along the frame's bottom
    EXPECT_EQ(viewBefore.bottom, status.top);

    // The View menu's command, as the menu sends it.
    frame_->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame_->m_wndStatusBar.IsWindowVisible());
    CRect viewAfter = WindowRectIn(view, frame_);
    EXPECT_EQ(viewAfter.Height(), viewBefore.Height() + status.Height());
    EXPECT_EQ(viewAfter.bottom, client.bottom);

    // The menu item shows the bar's state.
    CMenu* viewMenu = frame_->GetMenu()->GetSubMenu(0);
    frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu->m_hMenu), 0);
    EXPECT_FALSE(viewMenu->GetMenuState(ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(viewMenu->GetMenuState(ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);

    frame_->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame_->m_wndStatusBar.IsWindowVisible());
    EXPECT_EQ(WindowRectIn(view, frame_), viewBefore);
}

TEST_F(BarsTest, TheCapsLockPaneShowsWhileTheKeyIsOn) {
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    auto capsOn = [] { return (::GetKeyState(VK_CAPITAL) & 1) != 0; };
    // Whatever happens, the key is left as it was found: later programs type text.
    struct Restore {
        BOOL was = (::GetKeyState(VK_CAPITAL) & 1) != 0;
        ~Restore() {
            guitest::PumpPending();
            if (((::GetKeyState(VK_CAPITAL) & 1) != 0) != was) {
                guitest::PressKey(VK_CAPITAL);
            }
        }
    } restore;
    for (int round = 0; round < 2; ++round) {
        BOOL on = capsOn();
        guitest::RunIdle();
        EXPECT_EQ(StatusText(1), on ? "CAP" : "") << "round " << round;
        EXPECT_EQ(frame_->m_wndStatusBar.GetPaneText(1), "CAP");  // the pane keeps its text
        ASSERT_TRUE(guitest::BringToForeground(frame_));
        guitest::PressKey(VK_CAPITAL);
        ASSERT_TRUE(guitest::WaitUntil([&] { return capsOn() != on; }));
        guitest::RunIdle();
        EXPECT_EQ(StatusText(1), !on ? "CAP" : "") << "round " << round;
    }
    // Scroll Lock has not been touched: its pane follows its own key.
    EXPECT_EQ(StatusText(3), (::GetKeyState(VK_SCROLL) & 1) ? "SCRL" : "");
}

TEST_F(BarsTest, TheMessagePaneShowsPromptsAndTheIdleMessage) {
    frame_->SetMessageText(ID_TOOL_THREE);
    EXPECT_EQ(StatusText(0), "Run the third tool");  // the first line of the command's string
    frame_->SetMessageText("Working");
    EXPECT_EQ(StatusText(0), "Working");
    frame_->SetMessageText(AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(StatusText(0), "Ready");
    CString text;
    frame_->m_wndStatusBar.GetWindowText(text);
    EXPECT_EQ(text, "Ready");
}

// The dialog bar.

TEST_F(BarsTest, ADialogBarsListNotifiesTheBarsOwnMapBeforeItsOwner) {
    // Handles, not window objects: the temporary objects of idle time do not last.
    HWND ports = ::GetDlgItem(frame_->m_wndSettingsBar.m_hWnd, IDC_PORT_LIST);
    HWND chips = ::GetDlgItem(frame_->m_wndSettingsBar.m_hWnd, IDC_CHIP_LIST);
    ASSERT_NE(ports, nullptr);
    ASSERT_NE(chips, nullptr);
    // The bar handles the port list itself: the frame never hears of it.
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    ::SetFocus(ports);
    guitest::PressKey(VK_DOWN);
    ASSERT_TRUE(guitest::WaitUntil([&] { return frame_->m_wndSettingsBar.portChanges == 1; }));
    EXPECT_EQ(frame_->framePortChanges, 0);
    // The chip list has no handler in the bar: its selection goes on to the frame.
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    ::SetFocus(chips);
    guitest::PressKey(VK_DOWN);
    ASSERT_TRUE(guitest::WaitUntil([&] { return frame_->frameChipChanges == 1; }));
    EXPECT_EQ(frame_->m_wndSettingsBar.portChanges, 1);
}

TEST_F(BarsTest, ADialogBarsControlsFollowTheOwnersUpdateHandlers) {
    guitest::RunIdle();
    EXPECT_TRUE(frame_->m_wndSettingsBar.GetDlgItem(IDC_CHIP_LIST)->IsWindowEnabled());
    frame_->chipListEnabled = FALSE;
    guitest::RunIdle();
    EXPECT_FALSE(frame_->m_wndSettingsBar.GetDlgItem(IDC_CHIP_LIST)->IsWindowEnabled());
    // A list nobody updates is left as it is (dialog bars do not disable unhandled items).
    EXPECT_TRUE(frame_->m_wndSettingsBar.GetDlgItem(IDC_PORT_LIST)->IsWindowEnabled());
}

// The toolbar.

TEST_F(BarsTest, TheToolbarHasTheResourcesButtonsImagesAndSizes) {
    CToolBar& bar = frame_->m_wndToolBar;
    ASSERT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 5);
    const UINT ids[] = {ID_TOOL_ONE, ID_TOOL_TWO, 0, ID_TOOL_THREE, ID_TOOL_FOUR};
    const int images[] = {0, 1, -1, 2, 3};
    for (int i = 0; i < 5; ++i) {
        UINT id = 0;
        UINT style = 0;
        int image = 0;
        bar.GetButtonInfo(i, id, style, image);
        EXPECT_EQ(id, ids[i]) << i;
        EXPECT_EQ(bar.GetItemID(i), ids[i]) << i;
        if (ids[i] == 0) {
            EXPECT_EQ(LOWORD(style) & TBSTYLE_SEP, TBSTYLE_SEP);
        } else {
            EXPECT_EQ(image, images[i]) << i;
            EXPECT_EQ(bar.CommandToIndex(ids[i]), i);
        }
    }
    EXPECT_EQ(bar.CommandToIndex(12345), -1);
    EXPECT_EQ(bar.m_sizeImage, CSize(16, 15));
    EXPECT_EQ(bar.m_sizeButton, CSize(23, 22));  // the image and 7 pixels each way
    CRect button;
    bar.GetItemRect(0, &button);
    EXPECT_EQ(button.Size(), CSize(23, 22));
    // Another image added to the control gets the next index, and a button can show it.
    CBitmap extra;
    ASSERT_TRUE(extra.LoadBitmap(IDR_BARS_TOOLBAR));
    int first = bar.GetToolBarCtrl().AddBitmap(4, &extra);
    EXPECT_EQ(first, 4);
    bar.SetButtonInfo(0, ID_TOOL_ONE, TBBS_BUTTON, first + 2);
    UINT id = 0;
    UINT style = 0;
    int image = 0;
    bar.GetButtonInfo(0, id, style, image);
    EXPECT_EQ(image, 6);
    EXPECT_EQ(id, static_cast<UINT>(ID_TOOL_ONE));
}

TEST_F(BarsTest, UpdateHandlersEnableCheckAndDisableButtonsAtIdleTime) {
    guitest::RunIdle();
    EXPECT_TRUE(ButtonState(ID_TOOL_ONE) & TBSTATE_ENABLED);
    EXPECT_FALSE(ButtonState(ID_TOOL_TWO) & TBSTATE_ENABLED);   // its handler says so
    EXPECT_TRUE(ButtonState(ID_TOOL_THREE) & TBSTATE_ENABLED);  // handled, no update handler
    EXPECT_TRUE(ButtonState(ID_TOOL_FOUR) & TBSTATE_CHECKED);
    EXPECT_TRUE(
        frame_->m_wndToolBar.GetButtonStyle(frame_->m_wndToolBar.CommandToIndex(ID_TOOL_TWO)) &
        TBBS_DISABLED);
}

TEST_F(BarsTest, AClickOnAButtonRunsItsCommandAndADisabledOneDoesNot) {
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    guitest::RunIdle();
    guitest::Click(ButtonCentre(ID_TOOL_THREE));
    ASSERT_TRUE(guitest::WaitUntil([&] { return !frame_->commands.empty(); }));
    EXPECT_EQ(frame_->commands, std::vector<UINT>{ID_TOOL_THREE});
    guitest::Click(ButtonCentre(ID_TOOL_TWO));
    guitest::PumpFor(200);
    EXPECT_EQ(frame_->commands.size(), 1u);
}

TEST_F(BarsTest, RestingOnAButtonShowsItsTipAndItsPromptInTheStatusBar) {
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    CPoint centre = ButtonCentre(ID_TOOL_ONE);
    guitest::MoveMouse(centre + CSize(-2, 0));
    guitest::MoveMouse(centre);
    // The tip's text is the second line of the command's string, asked of the frame.
    ASSERT_TRUE(guitest::WaitUntil(
        [] {
            HWND tip = FindVisibleWindow(TOOLTIPS_CLASSA);
            char text[64] = {};
            return tip != nullptr && ::GetWindowTextA(tip, text, sizeof(text)) > 0 &&
                   CString(text) == "First tool";
        },
        5000));
    // Status-bar help: the first line, while the mouse rests on the button.
    ASSERT_TRUE(guitest::WaitUntil([&] { return StatusText(0) == "Run the first tool"; }, 5000));
    // Moving to another button changes the help at once; leaving the bar brings back the idle
    // message.
    guitest::MoveMouse(ButtonCentre(ID_TOOL_FOUR));
    ASSERT_TRUE(guitest::WaitUntil([&] { return StatusText(0) == "Run the fourth tool"; }, 5000));
    CRect view;
    frame_->View()->GetWindowRect(&view);
    guitest::MoveMouse(view.CenterPoint());
    EXPECT_TRUE(guitest::WaitUntil([&] { return StatusText(0) == "Ready"; }, 5000));
}

// Docking from code.

TEST_F(BarsTest, DockedOnTheLeftTheToolbarsButtonsStandInOneColumn) {
    CToolBar& bar = frame_->m_wndToolBar;
    frame_->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    Settle();
    EXPECT_EQ(bar.m_pDockBar, DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
    const UINT ids[] = {ID_TOOL_ONE, ID_TOOL_TWO, ID_TOOL_THREE, ID_TOOL_FOUR};
    CRect previous;
    for (UINT id : ids) {
        CRect rect;
        bar.GetItemRect(bar.CommandToIndex(id), &rect);
        if (id != ID_TOOL_ONE) {
            EXPECT_EQ(rect.left, previous.left) << id;
            EXPECT_GE(rect.top, previous.bottom) << id;
        }
        previous = rect;
    }
    CRect window;
    bar.GetWindowRect(&window);
    EXPECT_GT(window.Height(), window.Width());
    // The view gave up the bar's width on the left.
    CRect view = WindowRectIn(frame_->View(), frame_);
    EXPECT_GE(view.left, WindowRectIn(DockBar(AFX_IDW_DOCKBAR_LEFT), frame_).right);

    // Back at the top: one row again.
    frame_->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    Settle();
    CRect first;
    CRect last;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(4, &last);
    EXPECT_EQ(first.top, last.top);
}

TEST_F(BarsTest, AFloatedBarLivesInAFloatingFrameUntilItIsDockedAgain) {
    CToolBar& bar = frame_->m_wndToolBar;
    CRect frameRect;
    frame_->GetWindowRect(&frameRect);
    CPoint where(frameRect.left + 200, frameRect.top + 150);
    frame_->FloatControlBar(&bar, where);
    Settle();
    EXPECT_TRUE(bar.IsFloating());
    auto* floating = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, bar.GetDockingFrame());
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsWindowVisible());
    CRect floatRect;
    floating->GetWindowRect(&floatRect);
    EXPECT_EQ(floatRect.TopLeft(), where);
    CString caption;
    floating->GetWindowText(caption);
    EXPECT_EQ(caption, "Tools");
    EXPECT_TRUE(bar.GetBarStyle() & CBRS_FLOATING);
    // The floating frame fits around the bar's buttons.
    CRect client;
    floating->GetClientRect(&client);
    CSize buttons = bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    EXPECT_NEAR(client.Width(), buttons.cx, 2 * afxData.cxBorder2);
    // Its commands still reach the frame.
    guitest::RunIdle();
    EXPECT_FALSE(ButtonState(ID_TOOL_TWO) & TBSTATE_ENABLED);
    bar.SendMessage(WM_COMMAND, ID_TOOL_ONE);
    EXPECT_EQ(frame_->commands, std::vector<UINT>{ID_TOOL_ONE});
    // The side it left keeps its place.
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), "|t|D|");

    HWND floatingWnd = floating->m_hWnd;
    frame_->ReDockControlBar(&bar, nullptr);
    Settle();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_FALSE(::IsWindow(floatingWnd));
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), "|T|D|");
    EXPECT_EQ(frame_->GetControlBar(AFX_IDW_DOCKBAR_FLOAT), nullptr);
}

TEST_F(BarsTest, BarsGoIntoTheRowTheirRectangleFallsInOrANewRow) {
    CDockBar* top = DockBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(Rows(top), "|T|D|");  // docked without a rectangle: a row each
    CRect toolbar;
    frame_->m_wndToolBar.GetWindowRect(&toolbar);
    CRect settings;
    frame_->m_wndSettingsBar.GetWindowRect(&settings);
    // Beside the toolbar, in its row.
    CRect beside(CPoint(toolbar.right + 10, toolbar.top), settings.Size());
    frame_->DockControlBar(&frame_->m_wndSettingsBar, AFX_IDW_DOCKBAR_TOP, &beside);
    Settle();
    EXPECT_EQ(Rows(top), "|TD|");
    CRect placed;
    frame_->m_wndSettingsBar.GetWindowRect(&placed);
    EXPECT_EQ(placed.top, toolbar.top);
    EXPECT_GE(placed.left, toolbar.right - afxData.cxBorder2);
    // Before the toolbar in the same row.
    frame_->m_wndToolBar.GetWindowRect(&toolbar);
    CRect before(CPoint(toolbar.left - 5, toolbar.top), settings.Size());
    frame_->DockControlBar(&frame_->m_wndSettingsBar, AFX_IDW_DOCKBAR_TOP, &before);
    Settle();
    EXPECT_EQ(Rows(top), "|DT|");
    // Below every row: a new last row.
    CRect client;
    frame_->GetClientRect(&client);
    frame_->ClientToScreen(&client);
    CRect below(CPoint(client.left + 20, toolbar.bottom + 2), settings.Size());
    frame_->DockControlBar(&frame_->m_wndSettingsBar, AFX_IDW_DOCKBAR_TOP, &below);
    Settle();
    EXPECT_EQ(Rows(top), "|T|D|");
    // A side's dock bar is as thick as its rows.
    CRect topRect;
    top->GetWindowRect(&topRect);
    frame_->m_wndSettingsBar.GetWindowRect(&placed);
    EXPECT_GE(topRect.bottom, placed.bottom - afxData.cyBorder2);
}

// The saved layout.

TEST_F(BarsTest, TheBarStateIsSavedInTheProfileAndLoadedBack) {
    guitest::RegistrySandbox sandbox(AfxGetApp());
    frame_->ShowControlBar(&frame_->m_wndStatusBar, FALSE, FALSE);
    frame_->SaveBarState("Bar State");

    // The raw values: a summary, and a section per bar numbered from 0.
    DWORD count = 0;
    ASSERT_TRUE(sandbox.ReadDword("Bar State-Summary", "Bars", &count));
    DWORD screen = 0;
    EXPECT_TRUE(sandbox.ReadDword("Bar State-Summary", "ScreenCX", &screen));
    EXPECT_EQ(static_cast<int>(screen), ::GetSystemMetrics(SM_CXSCREEN));
    std::map<DWORD, std::string> sections;  // bar id -> section
    for (DWORD i = 0; i < count; ++i) {
        std::string section = "Bar State-Bar" + std::to_string(i);
        DWORD id = 0;
        ASSERT_TRUE(sandbox.ReadDword(section, "BarID", &id)) << section;
        sections[id] = section;
    }
    EXPECT_FALSE(sandbox.KeyExists("Bar State-Bar" + std::to_string(count)));
    ASSERT_EQ(sections.count(AFX_IDW_STATUS_BAR), 1u);
    ASSERT_EQ(sections.count(AFX_IDW_TOOLBAR), 1u);
    ASSERT_EQ(sections.count(AFX_IDW_DOCKBAR_TOP), 1u);
    EXPECT_EQ(sections.count(AFX_IDW_DOCKBAR_LEFT), 0u);  // an empty side says nothing
    DWORD visible = 1;
    EXPECT_TRUE(sandbox.ReadDword(sections[AFX_IDW_STATUS_BAR], "Visible", &visible));
    EXPECT_EQ(visible, 0u);
    EXPECT_FALSE(sandbox.ReadDword(sections[AFX_IDW_TOOLBAR], "Visible", &visible));
    DWORD docking = 0;
    EXPECT_TRUE(sandbox.ReadDword(sections[AFX_IDW_TOOLBAR], "Docking", &docking));
    EXPECT_EQ(docking, 1u);
    // The top side's rows: null first, then each row's bars and its end.
    const std::string& top = sections[AFX_IDW_DOCKBAR_TOP];
    DWORD bars = 0;
    ASSERT_TRUE(sandbox.ReadDword(top, "Bars", &bars));
    std::vector<DWORD> ids;
    for (DWORD i = 0; i < bars; ++i) {
        DWORD id = 0;
        ASSERT_TRUE(sandbox.ReadDword(top, ("Bar#" + std::to_string(i)).c_str(), &id));
        ids.push_back(id);
    }
    EXPECT_EQ(ids, (std::vector<DWORD>{0, AFX_IDW_TOOLBAR, 0, ID_SETTINGS_BAR, 0}));

    // Another layout, then the saved one back.
    frame_->ShowControlBar(&frame_->m_wndStatusBar, TRUE, FALSE);
    frame_->FloatControlBar(&frame_->m_wndToolBar, CPoint(300, 300));
    frame_->DockControlBar(&frame_->m_wndSettingsBar, AFX_IDW_DOCKBAR_BOTTOM);
    Settle();
    ASSERT_TRUE(frame_->m_wndToolBar.IsFloating());
    frame_->LoadBarState("Bar State");
    Settle();
    EXPECT_FALSE(frame_->m_wndToolBar.IsFloating());
    EXPECT_EQ(frame_->m_wndToolBar.m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(frame_->m_wndSettingsBar.m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), "|T|D|");
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_BOTTOM)), "|");
    EXPECT_FALSE(frame_->m_wndStatusBar.IsWindowVisible());
    EXPECT_EQ(frame_->GetControlBar(AFX_IDW_DOCKBAR_FLOAT), nullptr);
}

TEST_F(BarsTest, AFloatingBarIsSavedWithItsFrameAndFloatsAgainWhenLoaded) {
    guitest::RegistrySandbox sandbox(AfxGetApp());
    frame_->FloatControlBar(&frame_->m_wndToolBar, CPoint(320, 260));
    Settle();
    CRect floated;
    frame_->m_wndToolBar.GetWindowRect(&floated);
    frame_->SaveBarState("Bar State");
    frame_->DockControlBar(&frame_->m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    Settle();
    ASSERT_FALSE(frame_->m_wndToolBar.IsFloating());
    frame_->LoadBarState("Bar State");
    Settle();
    ASSERT_TRUE(frame_->m_wndToolBar.IsFloating());
    CRect again;
    frame_->m_wndToolBar.GetWindowRect(&again);
    EXPECT_EQ(again.TopLeft(), floated.TopLeft());
    EXPECT_TRUE(frame_->m_wndToolBar.GetDockingFrame()->IsWindowVisible());
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), "|t|D|");
}

// An MDI frame with bars.

class CBarsMdiFrame : public CMDIFrameWnd {
public:
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

protected:
    int OnCreate(LPCREATESTRUCT lpcs) {
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
        if (CMDIFrameWnd::OnCreate(lpcs) == -1 || !m_wndStatusBar.Create(this) ||
            !m_wndStatusBar.SetIndicators(indicators, 2) || !m_wndToolBar.Create(this) ||
            !m_wndToolBar.LoadToolBar(IDR_BARS_TOOLBAR)) {
            return -1;
        }
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarsMdiFrame, CMDIFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(MdiBars, BarCommandsPassTheActiveChildOnToTheFrameWithTheBars) {
    auto* frame = new CBarsMdiFrame;  // owns itself
    ASSERT_TRUE(frame->LoadFrame(IDR_BARS_FRAME));
    AfxGetApp()->m_pMainWnd = frame;
    frame->SetWindowPos(nullptr, 40, 40, 600, 400, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    guitest::PumpPending();
    // The MDI client takes what the bars leave.
    auto clientRect = [&] {
        CRect rect;
        ::GetWindowRect(frame->m_hWndMDIClient, &rect);
        frame->ScreenToClient(&rect);
        return rect;
    };
    CRect status;
    frame->m_wndStatusBar.GetWindowRect(&status);
    frame->ScreenToClient(&status);
    CRect top;
    frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
    frame->ScreenToClient(&top);
    CRect before = clientRect();
    EXPECT_EQ(before.top, top.bottom);
    EXPECT_EQ(before.bottom, status.top);
    EXPECT_GT(top.Height(), 0);

    auto* child = new CMDIChildWnd;  // owns itself
    ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CFrameWnd::rectDefault, frame));
    guitest::PumpPending();
    ASSERT_EQ(frame->MDIGetActive(), child);
    // The child has no status bar: the command and its menu state come from the main frame.
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->m_wndStatusBar.IsWindowVisible());
    EXPECT_EQ(clientRect().Height(), before.Height() + status.Height());
    CMenu* viewMenu = CMenu::FromHandle(::GetSubMenu(::GetMenu(frame->m_hWnd), 0));
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu->m_hMenu), 0);
    EXPECT_FALSE(viewMenu->GetMenuState(ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(viewMenu->GetMenuState(ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->m_wndStatusBar.IsWindowVisible());
    // A child's messages go to the main frame's status bar.
    child->SetMessageText("From the child");
    CString text;
    frame->m_wndStatusBar.GetWindowText(text);
    EXPECT_EQ(text, "From the child");
    CloseFrame(frame);
}

// The drag outline.

TEST(DragRect, TheOutlineIsInvertedSoThatDrawingItAgainTakesItAway) {
    CClientDC screen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 100, 100));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(CRect(0, 0, 100, 100), RGB(0, 0, 0));
    CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    const COLORREF kWhite = RGB(255, 255, 255);
    const COLORREF kBlack = RGB(0, 0, 0);

    CRect first(10, 10, 60, 60);
    dc.DrawDragRect(&first, CSize(2, 2), nullptr, CSize(0, 0), white, white);
    EXPECT_EQ(dc.GetPixel(10, 10), kWhite);
    EXPECT_EQ(dc.GetPixel(11, 35), kWhite);
    EXPECT_EQ(dc.GetPixel(12, 35), kBlack);  // inside the frame
    EXPECT_EQ(dc.GetPixel(59, 59), kWhite);
    EXPECT_EQ(dc.GetPixel(60, 60), kBlack);

    // Moved: the old frame goes, the new one comes, where both lie it stays.
    CRect second(20, 20, 70, 70);
    dc.DrawDragRect(&second, CSize(2, 2), &first, CSize(2, 2), white, white);
    EXPECT_EQ(dc.GetPixel(10, 10), kBlack);
    EXPECT_EQ(dc.GetPixel(20, 20), kWhite);
    EXPECT_EQ(dc.GetPixel(58, 20), kWhite);  // on both frames
    EXPECT_EQ(dc.GetPixel(58, 30), kBlack);  // on the old one only
    EXPECT_EQ(dc.GetPixel(69, 69), kWhite);

    // Removed: a frame of no thickness after the last one.
    dc.DrawDragRect(&second, CSize(0, 0), &second, CSize(2, 2), white, white);
    for (int i = 0; i < 100; i += 3) {
        ASSERT_EQ(dc.GetPixel(i, i), kBlack) << i;
        ASSERT_EQ(dc.GetPixel(i, 20), kBlack) << i;
    }

    // The half-tone brush greys every other pixel.
    CRect grey(0, 80, 100, 100);
    dc.DrawDragRect(&grey, CSize(10, 10), nullptr, CSize(0, 0), nullptr, nullptr);
    EXPECT_NE(dc.GetPixel(0, 85), dc.GetPixel(1, 85));
    EXPECT_EQ(dc.GetPixel(0, 85), dc.GetPixel(1, 86));
    dc.SelectObject(old);
}

}  // namespace
