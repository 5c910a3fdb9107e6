// The toolkit MDI frame's bar context menu, raised by real right clicks on its bars and answered
// through the popup-menu hook: which bars it lists and how, "Customize..." only after a toolkit
// toolbar, and the commands that show and hide bars or open the customise dialog.
#include "frames_test_app.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kToolBarID = 17002;
constexpr UINT kToggledWindowID = 17001;

// One line per item: "-" a separator, else the command, the text and "*" when checked.
std::vector<std::string> Lines(const std::vector<guitest::MenuItemSeen>& items) {
    std::vector<std::string> lines;
    for (const guitest::MenuItemSeen& item : items) {
        lines.push_back(item.separator ? "-"
                                       : std::to_string(item.id) + " " + item.text +
                                             (item.checked ? " *" : ""));
    }
    return lines;
}

class BarMenuTest : public ::testing::Test {
protected:
    void TearDown() override { CloseFramesTestFrame(frame_); }

    CFramesTestFrame* OpenFrame(const FrameBars& bars) {
        frame_ = CFramesTestFrame::Open(bars);
        if (frame_ != nullptr) {
            guitest::BringToForeground(frame_);
        }
        return frame_;
    }

    // A real right click near the middle of a bar; the click point in screen coordinates. Each
    // click lands a few pixels from the one before, so that two in a row are no double click.
    CPoint RightClick(CWnd* pBar) {
        CRect rect;
        pBar->GetWindowRect(&rect);
        CPoint point = rect.CenterPoint();
        point.x += (clicks_++ % 2 == 0) ? -6 : 6;
        guitest::Click(point, true);
        guitest::PumpFor(150);
        return point;
    }

    CFramesTestFrame* frame_ = nullptr;
    int clicks_ = 0;
};

TEST_F(BarMenuTest, AToolkitToolbarsRightClickListsTheBarsAndOffersCustomize) {
    FrameBars bars;
    bars.nFirstDockWindow = 106;
    bars.pszFirstTitle = "";
    bars.nToolBar = kToolBarID;
    bars.bMenuBar = true;
    bars.bLibraryToolBar = true;
    bars.bStatusBar = true;
    ASSERT_NE(nullptr, OpenFrame(bars));
    frame_->ShowControlBar(&frame_->m_wndOutput, FALSE, FALSE);
    frame_->Settle();

    guitest::PopupMenuAnswers answers;
    answers.Choose(XT_IDC_CUSTOMIZE);
    UINT shownFlags = 0;
    POINT shownAt{};
    HWND shownOwner = nullptr;
    AfxPopupMenuHook recorder = AfxSetPopupMenuHook(nullptr);
    AfxSetPopupMenuHook([&](HMENU hMenu, UINT nFlags, POINT point, HWND hWndOwner) {
        shownFlags = nFlags;
        shownAt = point;
        shownOwner = hWndOwner;
        return recorder(hMenu, nFlags, point, hWndOwner);
    });
    const CPoint click = RightClick(&frame_->m_wndToolBar);
    AfxSetPopupMenuHook(recorder);

    ASSERT_EQ(1u, answers.Seen().size());
    // Docking windows in list order, a separator, toolkit toolbars (not the menu bar, not the
    // library's toolbar), the status bar under its fixed name whatever its text, and the
    // customise item of the toolbar clicked.
    EXPECT_EQ((std::vector<std::string>{"106 Dock Window *", "104 Messages *", "105 Output", "-",
                                        "17002 Toolbar *", "59393 Status Bar *", "-",
                                        "52780 Customize..."}),
              Lines(answers.Seen()[0]));
    EXPECT_EQ(static_cast<UINT>(TPM_RIGHTBUTTON), shownFlags);
    EXPECT_EQ(click, CPoint(shownAt));
    EXPECT_EQ(frame_->m_hWnd, shownOwner);
    EXPECT_EQ(&frame_->m_wndToolBar, frame_->GetCustomizableBar());

    // "Customize..." asks the toolbar for its dialog.
    guitest::WaitUntil([&] { return frame_->m_wndToolBar.m_nCustomizeRequests > 0; }, 2000);
    EXPECT_EQ(1, frame_->m_wndToolBar.m_nCustomizeRequests);
}

TEST_F(BarMenuTest, OtherBarsRightClicksForgetTheToolbarAndOfferNoCustomize) {
    FrameBars bars;
    bars.nToolBar = kToolBarID;
    bars.bMenuBar = true;
    bars.bLibraryToolBar = true;
    ASSERT_NE(nullptr, OpenFrame(bars));
    guitest::PopupMenuAnswers answers;
    RightClick(&frame_->m_wndToolBar);
    ASSERT_EQ(&frame_->m_wndToolBar, frame_->GetCustomizableBar());

    RightClick(&frame_->m_wndMessages);
    ASSERT_EQ(2u, answers.Seen().size());
    EXPECT_EQ((std::vector<std::string>{"104 Messages *", "105 Output *", "-", "17002 Toolbar *"}),
              Lines(answers.Seen()[1]));
    EXPECT_EQ(nullptr, frame_->GetCustomizableBar());

    // The menu bar and the library's toolbar as the bar clicked: neither is customisable.
    RightClick(&frame_->m_wndToolBar);
    CPoint point(100, 100);
    frame_->SendMessage(WM_BAR_CONTEXTMENU, reinterpret_cast<WPARAM>(&point),
                        reinterpret_cast<LPARAM>(&frame_->m_wndMenuBar));
    EXPECT_EQ(nullptr, frame_->GetCustomizableBar());
    RightClick(&frame_->m_wndToolBar);
    frame_->SendMessage(WM_BAR_CONTEXTMENU, reinterpret_cast<WPARAM>(&point),
                        reinterpret_cast<LPARAM>(&frame_->m_wndLibraryBar));
    EXPECT_EQ(nullptr, frame_->GetCustomizableBar());
    ASSERT_EQ(6u, answers.Seen().size());
    EXPECT_EQ("17002 Toolbar *", Lines(answers.Seen()[5]).back());

    // A frame with nothing to list shows nothing, even after a toolkit toolbar's click.
    CloseFramesTestFrame(frame_);
    FrameBars bare;
    bare.bMessages = false;
    bare.bOutput = false;
    bare.bMenuBar = true;
    ASSERT_NE(nullptr, OpenFrame(bare));
    RightClick(&frame_->m_wndMenuBar);
    frame_->SendMessage(WM_BAR_CONTEXTMENU, reinterpret_cast<WPARAM>(&point),
                        reinterpret_cast<LPARAM>(&frame_->m_wndMenuBar));
    EXPECT_EQ(6u, answers.Seen().size());
}

TEST_F(BarMenuTest, BarsWithIdentifiersInTheRangeAreShownAndHiddenFromTheMenu) {
    FrameBars bars;
    bars.nFirstDockWindow = kToggledWindowID;
    bars.nToolBar = kToolBarID;
    ASSERT_NE(nullptr, OpenFrame(bars));
    frame_->ShowControlBar(&frame_->m_wndOutput, FALSE, FALSE);
    frame_->Settle();
    guitest::PopupMenuAnswers answers;
    answers.Choose(kToggledWindowID).Choose(kToggledWindowID).Choose(kOutputID);

    RightClick(&frame_->m_wndToolBar);
    guitest::PumpFor(100);
    frame_->Settle();
    EXPECT_FALSE(frame_->m_wndFirst.IsVisible());

    RightClick(&frame_->m_wndToolBar);
    guitest::PumpFor(100);
    frame_->Settle();
    EXPECT_TRUE(frame_->m_wndFirst.IsVisible());
    ASSERT_EQ(2u, answers.Seen().size());
    EXPECT_EQ("17001 First", Lines(answers.Seen()[1])[0]);

    // Outside the range a bar's command toggles nothing.
    RightClick(&frame_->m_wndToolBar);
    guitest::PumpFor(100);
    frame_->Settle();
    EXPECT_FALSE(frame_->m_wndOutput.IsVisible());
}

}  // namespace
