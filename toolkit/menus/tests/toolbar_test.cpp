// The flat toolbar in a frame: buttons from a toolbar resource, its layout saved in the
// registry and restored (also by the customise dialog's reset), the customise dialog's
// questions, drop-down buttons (with and without a menu), and the checked buttons and
// separators it draws itself (pixels read at positions computed from the button rectangles).
#include "docking/aux_data.h"
#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"
#include "menus/toolbar.h"
#include "toolbar_test_ids.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CToolbarTestApp : public CWinApp {
public:
    CToolbarTestApp() : CWinApp("Toolbar Test") {}
};
CToolbarTestApp theApp;

class ToolbarEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new ToolbarEnvironment);

class CToolbarTestFrame : public CFrameWnd {
public:
    struct DropDownSeen {
        UINT command;
        CRect rect;
    };
    std::vector<DropDownSeen> m_dropDowns;
    std::vector<UINT> m_commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == XT_WM_TBDROPDOWN) {
            auto* notify = reinterpret_cast<NMTOOLBARA*>(wParam);
            m_dropDowns.push_back(
                {static_cast<UINT>(notify->iItem), *reinterpret_cast<const RECT*>(lParam)});
            return 0;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) >= ID_TB_OPEN && LOWORD(wParam) <= ID_TB_SECOND) {
            m_commands.push_back(LOWORD(wParam));
            return TRUE;
        }
        return CFrameWnd::OnCommand(wParam, lParam);
    }
};

std::vector<int> Commands(CXTToolBar& bar) {
    std::vector<int> commands;
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
        TBBUTTON button;
        bar.GetButton(i, &button);
        commands.push_back((button.fsStyle & TBSTYLE_SEP) ? 0 : button.idCommand);
    }
    return commands;
}

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox_ = std::make_unique<guitest::RegistrySandbox>(&theApp);
        frame_ = new CToolbarTestFrame;  // deletes itself with its window
        ASSERT_TRUE(
            frame_->Create(nullptr, "Toolbar Test", WS_OVERLAPPEDWINDOW, CRect(60, 60, 560, 360)));
        frame_->ShowWindow(SW_SHOW);
        bar_ = MakeBar();
        ASSERT_NE(bar_, nullptr);
    }
    void TearDown() override {
        bar_.reset();
        frame_->DestroyWindow();
        guitest::PumpPending();
        sandbox_.reset();
    }

    std::unique_ptr<CXTToolBar> MakeBar() {
        auto bar = std::make_unique<CXTToolBar>();
        if (!bar->CreateEx(frame_, TBSTYLE_FLAT,
                           WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_BORDER_BOTTOM, CRect(0, 0, 0, 0),
                           ID_TOOLBAR_BAR) ||
            !bar->LoadToolBar(IDR_TEST_TOOLBAR)) {
            return nullptr;
        }
        frame_->RecalcLayout();
        guitest::PumpPending();
        return bar;
    }
    // A notification of the control as it sends it to its owner.
    LRESULT Notify(UINT code, NMHDR* header = nullptr, size_t = 0) {
        NMHDR plain = {};
        NMHDR* nm = header != nullptr ? header : &plain;
        nm->hwndFrom = bar_->m_hWnd;
        nm->idFrom = ID_TOOLBAR_BAR;
        nm->code = code;
        return frame_->SendMessage(WM_NOTIFY, ID_TOOLBAR_BAR, reinterpret_cast<LPARAM>(nm));
    }
    bool SavedValueExists() {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, bar_->GetStateSubKey(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        DWORD size = 0;
        LONG result =
            ::RegQueryValueExA(key, bar_->GetStateValueName(), nullptr, nullptr, nullptr, &size);
        ::RegCloseKey(key);
        return result == ERROR_SUCCESS && size > 0;
    }
    CRect ItemRect(UINT command) {
        CRect rect;
        bar_->GetItemRect(bar_->CommandToIndex(command), &rect);
        return rect;
    }

    std::unique_ptr<guitest::RegistrySandbox> sandbox_;
    CToolbarTestFrame* frame_ = nullptr;
    std::unique_ptr<CXTToolBar> bar_;
};

}  // namespace

TEST_F(ToolbarTest, TheResourceGivesButtonsSizesAndWhereTheLayoutIsKept) {
    EXPECT_EQ(Commands(*bar_), (std::vector<int>{ID_TB_OPEN, 0, ID_TB_PRINT, ID_TB_FIND}));
    EXPECT_EQ(ItemRect(ID_TB_OPEN).Size(), CSize(23, 22));  // image + 7 each way
    EXPECT_EQ(bar_->GetStateSubKey(),
              CString("Software\\") + sandbox_->KeyName().c_str() + "\\Toolbar Test\\Settings");
    EXPECT_EQ(bar_->GetStateValueName(), "Toolbar Test-Bar59408");
    // Docked along the top: one row, as wide as its buttons and borders.
    CRect rcOpen = ItemRect(ID_TB_OPEN);
    CRect rcFind = ItemRect(ID_TB_FIND);
    EXPECT_EQ(rcOpen.top, rcFind.top);
    EXPECT_GT(rcFind.left, rcOpen.right);
}

TEST_F(ToolbarTest, TheStandardToolbarHidesWhileAServerIsInPlace) {
    CXTToolBar standard;
    ASSERT_TRUE(standard.CreateEx(frame_, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0),
                                  AFX_IDW_TOOLBAR));
    EXPECT_TRUE(standard.GetBarStyle() & CBRS_HIDE_INPLACE);
    EXPECT_FALSE(bar_->GetBarStyle() & CBRS_HIDE_INPLACE);
}

TEST_F(ToolbarTest, ACustomisedLayoutIsSavedAndComesBackWithTheNextBar) {
    // The customise dialog removes a button and ends.
    Notify(TBN_BEGINADJUST);
    ASSERT_TRUE(bar_->SendMessage(TB_DELETEBUTTON, bar_->CommandToIndex(ID_TB_PRINT)));
    Notify(TBN_ENDADJUST);
    EXPECT_TRUE(SavedValueExists());

    bar_->DestroyWindow();
    bar_ = MakeBar();
    ASSERT_NE(bar_, nullptr);
    EXPECT_EQ(Commands(*bar_), (std::vector<int>{ID_TB_OPEN, 0, ID_TB_FIND}));
}

TEST_F(ToolbarTest, ResetInTheCustomiseDialogRestoresTheLastSavedLayout) {
    ASSERT_TRUE(bar_->SendMessage(TB_DELETEBUTTON, bar_->CommandToIndex(ID_TB_OPEN)));
    Notify(TBN_ENDADJUST);
    // More changes in the dialog, then its Reset button.
    ASSERT_TRUE(bar_->SendMessage(TB_DELETEBUTTON, bar_->CommandToIndex(ID_TB_FIND)));
    Notify(TBN_RESET);
    EXPECT_EQ(Commands(*bar_), (std::vector<int>{0, ID_TB_PRINT, ID_TB_FIND}));
    // The layout is saved again when the bar goes.
    bar_->SendMessage(TB_DELETEBUTTON, 0);
    bar_->DestroyWindow();
    bar_ = MakeBar();
    ASSERT_NE(bar_, nullptr);
    EXPECT_EQ(Commands(*bar_), (std::vector<int>{ID_TB_PRINT, ID_TB_FIND}));
}

TEST_F(ToolbarTest, TheCustomiseDialogIsOfferedEveryLoadedButtonWithItsPrompt) {
    char text[64] = {};
    NMTOOLBARA info = {};
    info.iItem = 0;
    info.pszText = text;
    info.cchText = sizeof(text);
    EXPECT_TRUE(Notify(TBN_GETBUTTONINFOA, &info.hdr));
    EXPECT_EQ(info.tbButton.idCommand, ID_TB_OPEN);
    EXPECT_STREQ(text, "Open");  // after the newline
    info.iItem = 2;
    EXPECT_TRUE(Notify(TBN_GETBUTTONINFOA, &info.hdr));
    EXPECT_STREQ(text, "Print");  // no newline: all of it
    info.iItem = 4;
    EXPECT_FALSE(Notify(TBN_GETBUTTONINFOA, &info.hdr));

    // Buttons may come and go only while the bar is docked.
    EXPECT_FALSE(Notify(TBN_QUERYINSERT));
    frame_->EnableDocking(CBRS_ALIGN_ANY);
    bar_->EnableDocking(CBRS_ALIGN_ANY);
    frame_->DockControlBar(bar_.get(), AFX_IDW_DOCKBAR_TOP);
    EXPECT_TRUE(Notify(TBN_QUERYINSERT));
    EXPECT_TRUE(Notify(TBN_QUERYDELETE));
}

TEST_F(ToolbarTest, ADropDownButtonWithoutAMenuTellsTheOwner) {
    bar_->AddDropDownButton(ID_TB_PRINT, 0);
    frame_->RecalcLayout();
    bar_->UpdateWindow();
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    CRect rect = ItemRect(ID_TB_PRINT);
    // The arrow is the button's right end.
    guitest::Click(guitest::ClientToScreenPoint(bar_.get(), CPoint(rect.right - 4, rect.top + 8)));
    EXPECT_TRUE(guitest::WaitUntil([&] { return !frame_->m_dropDowns.empty(); }, 3000));
    ASSERT_EQ(frame_->m_dropDowns.size(), 1u);
    EXPECT_EQ(frame_->m_dropDowns[0].command, static_cast<UINT>(ID_TB_PRINT));
    CRect screen = rect;
    bar_->ClientToScreen(&screen);
    EXPECT_EQ(frame_->m_dropDowns[0].rect, screen);
}

TEST_F(ToolbarTest, ADropDownButtonWithAMenuOpensItsFirstPopupBelowTheButton) {
    bar_->AddDropDownButton(ID_TB_FIND, IDR_DROPDOWN_MENU);
    frame_->RecalcLayout();
    bar_->UpdateWindow();
    std::vector<UINT> shown;
    POINT at = {};
    UINT flags = 0;
    AfxPopupMenuHook previous =
        AfxSetPopupMenuHook([&](HMENU hMenu, UINT nFlags, POINT point, HWND) -> UINT {
            for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
                shown.push_back(::GetMenuItemID(hMenu, i));
            }
            at = point;
            flags = nFlags;
            return ID_TB_SECOND;
        });
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    CRect rect = ItemRect(ID_TB_FIND);
    guitest::Click(guitest::ClientToScreenPoint(bar_.get(), CPoint(rect.right - 4, rect.top + 8)));
    guitest::WaitUntil([&] { return !frame_->m_commands.empty(); }, 3000);
    AfxSetPopupMenuHook(previous);
    EXPECT_EQ(shown, (std::vector<UINT>{ID_TB_FIRST, ID_TB_SECOND}));
    CRect screen = rect;
    bar_->ClientToScreen(&screen);
    EXPECT_EQ(CPoint(at), CPoint(screen.left, screen.bottom));
    EXPECT_TRUE(flags & TPM_VERTICAL);
    EXPECT_EQ(frame_->m_commands, (std::vector<UINT>{ID_TB_SECOND}));
    EXPECT_TRUE(frame_->m_dropDowns.empty());
}

TEST_F(ToolbarTest, CheckedButtonsAndSeparatorsAreDrawnByTheBar) {
    bar_->SendMessage(TB_CHECKBUTTON, ID_TB_OPEN, TRUE);
    bar_->Invalidate();
    bar_->UpdateWindow();
    guitest::PumpPending();
    guitest::ClientPixels pixels(bar_.get());
    CRect open = ItemRect(ID_TB_OPEN);
    // Sunken: shadow at the top-left, highlight at the bottom-right; the image inside.
    EXPECT_EQ(pixels.At(open.left, open.top), xtAfxData.m_clr3DShadow);
    EXPECT_EQ(pixels.At(open.right - 1, open.bottom - 1), xtAfxData.m_clr3DHilight);
    const CPoint image(open.left + (23 - 16) / 2 + 1, open.top + (22 - 15) / 2 + 1);
    EXPECT_EQ(pixels.At(image.x + 8, image.y + 7), RGB(255, 0, 0));

    // The separator: an etched line two pixels in from its left.
    const int sepIndex = 1;
    CRect sep;
    bar_->GetItemRect(sepIndex, &sep);
    const int y = sep.top + sep.Height() / 2;
    EXPECT_EQ(pixels.At(sep.left + 2, y), xtAfxData.m_clr3DShadow);
    EXPECT_EQ(pixels.At(sep.left + 3, y), xtAfxData.m_clr3DHilight);
    EXPECT_EQ(pixels.At(sep.left, y), xtAfxData.m_clr3DFace);
}

TEST_F(ToolbarTest, DockedSidewaysTheButtonsMakeOneColumn) {
    const CSize row = bar_->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    const CSize column = bar_->CalcDynamicLayout(-1, LM_VERTDOCK);
    EXPECT_GT(row.cx, column.cx);
    EXPECT_LT(row.cy, column.cy);
    EXPECT_GE(column.cy, 3 * 22);
}
