// The tab view in a frame: pages per tab, tab clicks by real mouse input, the page rectangle for
// each strip placement, the label font of vertical tabs, and the frame's active view when the
// tab view is hidden.
#include "docking/tab_view.h"
#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 160, 0);

// A page that fills its client area with one colour.
class CColourPage : public CView {
    DECLARE_DYNCREATE(CColourPage)
public:
    virtual COLORREF Colour() const { return kRed; }
    void OnDraw(CDC* pDC) override {
        CRect rect;
        GetClientRect(&rect);
        pDC->FillSolidRect(&rect, Colour());
    }
};
IMPLEMENT_DYNCREATE(CColourPage, CView)

class CGreenPage : public CColourPage {
    DECLARE_DYNCREATE(CGreenPage)
public:
    COLORREF Colour() const override { return kGreen; }
};
IMPLEMENT_DYNCREATE(CGreenPage, CColourPage)

// A page whose window is never made.
class CRefusedPage : public CColourPage {
    DECLARE_DYNCREATE(CRefusedPage)
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(CRefusedPage, CColourPage)

class CTestTabView : public CXTTabView {
public:
    int ActiveTab() const { return m_nActiveTab; }
    int Tabs() const { return static_cast<int>(m_tabList.size()); }
    CRect PageRect() {
        CRect rect;
        GetChildRect(rect);
        return rect;
    }
};

class TabViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = OpenTestFrame(420, 300);
        ASSERT_NE(frame_, nullptr);
        tabs_ = new CTestTabView;  // owns itself, as every view: deleted with its window
        ASSERT_TRUE(tabs_->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 290),
                                  frame_, AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(tabs_->AddView("One", RUNTIME_CLASS(CColourPage)));
        ASSERT_TRUE(tabs_->AddView("Two", RUNTIME_CLASS(CGreenPage)));
        ASSERT_TRUE(tabs_->AddView("Three", RUNTIME_CLASS(CColourPage)));
        guitest::PumpPending();
    }
    void TearDown() override { CloseTestFrame(frame_); }

    CWnd* Page(int tab) { return tabs_->GetView(tab); }
    bool Shown(int tab) {
        return Page(tab)->IsWindowVisible() != FALSE && Page(tab)->IsWindowEnabled() != FALSE;
    }
    bool Hidden(int tab) {
        return Page(tab)->IsWindowVisible() == FALSE && Page(tab)->IsWindowEnabled() == FALSE;
    }
    // The page's window rectangle in the tab view's client coordinates.
    CRect PagePlace(int tab) {
        CRect rect;
        Page(tab)->GetWindowRect(&rect);
        tabs_->ScreenToClient(&rect);
        return rect;
    }
    // The centre of a tab on the screen, from the control's own item rectangle.
    CPoint TabCentre(int tab) {
        CRect item;
        EXPECT_TRUE(tabs_->GetTabCtrl().GetItemRect(tab, &item));
        return guitest::ClientToScreenPoint(tabs_, item.CenterPoint());
    }
    LOGFONTA LabelFont() {
        LOGFONTA lf = {};
        CFont* font = tabs_->GetFont();
        EXPECT_NE(font, nullptr);
        if (font != nullptr) {
            font->GetLogFont(&lf);
        }
        return lf;
    }

    CFrameWnd* frame_ = nullptr;
    CTestTabView* tabs_ = nullptr;
};

TEST_F(TabViewTest, TheFirstPageIsShownAndTheOthersWaitHiddenAndDisabled) {
    EXPECT_EQ(tabs_->GetTabCtrl().GetItemCount(), 3);
    EXPECT_EQ(tabs_->GetActiveView(), Page(0));
    EXPECT_EQ(tabs_->ActiveTab(), 0);
    EXPECT_EQ(tabs_->GetTabCtrl().GetCurSel(), 0);
    EXPECT_TRUE(Shown(0));
    EXPECT_TRUE(Hidden(1));
    EXPECT_TRUE(Hidden(2));
    EXPECT_EQ(tabs_->GetView(-1), nullptr);
    EXPECT_TRUE(Page(1)->IsKindOf(RUNTIME_CLASS(CGreenPage)));

    // The first page is on the screen, in its own colour, inside the tab control.
    guitest::ClientPixels pixels(Page(0));
    EXPECT_EQ(pixels.At(pixels.Width() / 2, pixels.Height() / 2), kRed);
}

TEST_F(TabViewTest, TheViewsAreChildrenOfTheTabViewWithTheControlsWindowClass) {
    char name[64] = {};
    ::GetClassNameA(tabs_->m_hWnd, name, sizeof(name));
    EXPECT_STREQ(name, "SysTabControl32");
    EXPECT_EQ(tabs_->GetStyle() & 0x50804000u, 0x50804000u);
    EXPECT_EQ(tabs_->GetExStyle() & WS_EX_NOPARENTNOTIFY, 0u);
    for (int tab = 0; tab < 3; ++tab) {
        EXPECT_EQ(Page(tab)->GetParent(), tabs_);
        EXPECT_EQ(Page(tab)->GetStyle() & WS_BORDER, static_cast<DWORD>(WS_BORDER));
    }
}

TEST_F(TabViewTest, ViewsAreFoundByClassInTabOrderDerivedClassesIncluded) {
    EXPECT_EQ(tabs_->GetView(RUNTIME_CLASS(CColourPage)), Page(0));
    EXPECT_EQ(tabs_->GetView(RUNTIME_CLASS(CGreenPage)), Page(1));
    EXPECT_EQ(tabs_->GetView(RUNTIME_CLASS(CRefusedPage)), nullptr);

    tabs_->SetActiveView(RUNTIME_CLASS(CGreenPage));
    EXPECT_EQ(tabs_->GetActiveView(), Page(1));
    EXPECT_EQ(tabs_->ActiveTab(), 1);
    EXPECT_EQ(tabs_->GetTabCtrl().GetCurSel(), 1);
    EXPECT_TRUE(Hidden(0));
    EXPECT_TRUE(Shown(1));
    EXPECT_EQ(CWnd::GetFocus(), Page(1));

    tabs_->SetActiveView(RUNTIME_CLASS(CRefusedPage));  // no such tab: nothing changes
    EXPECT_EQ(tabs_->GetActiveView(), Page(1));
    EXPECT_TRUE(Shown(1));
}

TEST_F(TabViewTest, ClickingATabShowsItsPageAndHidesTheOneBefore) {
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    guitest::Click(TabCentre(2));
    ASSERT_TRUE(guitest::WaitUntil([&] { return tabs_->GetActiveView() == Page(2); }, 3000));
    EXPECT_EQ(tabs_->ActiveTab(), 2);
    EXPECT_TRUE(Hidden(0));
    EXPECT_TRUE(Hidden(1));
    EXPECT_TRUE(Shown(2));
    EXPECT_EQ(CWnd::GetFocus(), Page(2));

    guitest::Click(TabCentre(1));
    ASSERT_TRUE(guitest::WaitUntil([&] { return tabs_->GetActiveView() == Page(1); }, 3000));
    EXPECT_TRUE(Hidden(2));
    EXPECT_TRUE(Shown(1));
    guitest::PumpPending();
    guitest::ClientPixels pixels(Page(1));
    EXPECT_EQ(pixels.At(pixels.Width() / 2, pixels.Height() / 2), kGreen);
}

TEST_F(TabViewTest, SelectingTheActiveTabDoesNothing) {
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    // Take the focus away and hide the active page behind the tab view's back: choosing its tab
    // again must neither show it nor focus it.
    frame_->SetFocus();
    Page(0)->ShowWindow(SW_HIDE);
    tabs_->SetActiveView(0);
    EXPECT_FALSE(Page(0)->IsWindowVisible());
    EXPECT_EQ(CWnd::GetFocus(), frame_);

    guitest::Click(TabCentre(0));
    guitest::PumpFor(200);
    EXPECT_FALSE(Page(0)->IsWindowVisible());
    EXPECT_EQ(tabs_->GetActiveView(), Page(0));
    EXPECT_TRUE(Hidden(1));
    EXPECT_TRUE(Hidden(2));

    tabs_->SetActiveView(-1);  // no tab: nothing either
    EXPECT_EQ(tabs_->GetActiveView(), Page(0));
}

TEST_F(TabViewTest, EveryPageCoversThePageRectangleOfEachStripPlacement) {
    struct Placement {
        DWORD style;
        int left, top, right, bottom;  // insets from the client rectangle
    };
    const Placement placements[] = {
        {0, 3, 26, 3, 3},
        {TCS_BOTTOM, 3, 3, 3, 26},
        {TCS_VERTICAL, 26, 3, 3, 3},
        {TCS_VERTICAL | TCS_RIGHT, 3, 3, 26, 3},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.style);
        tabs_->ModifyTabStyle(TCS_BOTTOM | TCS_VERTICAL, p.style, SWP_FRAMECHANGED);
        // A change of size moves the pages to the new page rectangle.
        tabs_->SetWindowPos(nullptr, 0, 0, 380 + static_cast<int>(p.style), 260,
                            SWP_NOMOVE | SWP_NOZORDER);
        guitest::PumpPending();
        CRect client;
        tabs_->GetClientRect(&client);
        const CRect expected(client.left + p.left, client.top + p.top, client.right - p.right,
                             client.bottom - p.bottom);
        EXPECT_EQ(tabs_->PageRect(), expected);
        for (int tab = 0; tab < 3; ++tab) {
            EXPECT_EQ(PagePlace(tab), expected) << "tab " << tab;
        }
    }
}

TEST_F(TabViewTest, VerticalTabsTurnTheirLabelsAndHorizontalOnesSetThemUpright) {
    LOGFONTA upright = LabelFont();
    EXPECT_EQ(upright.lfEscapement, 0);

    EXPECT_TRUE(tabs_->ModifyTabStyle(0, TCS_VERTICAL | TCS_RIGHT));
    EXPECT_NE(tabs_->GetStyle() & TCS_VERTICAL, 0u);
    LOGFONTA right = LabelFont();
    EXPECT_EQ(right.lfEscapement, 2700);
    EXPECT_EQ(right.lfOrientation, 2700);
    EXPECT_EQ(right.lfHeight, upright.lfHeight);
    EXPECT_STREQ(right.lfFaceName, upright.lfFaceName);

    // Already vertical: the strip moves to the left, the font stays as it was.
    tabs_->ModifyTabStyle(TCS_RIGHT, TCS_VERTICAL);
    EXPECT_EQ(LabelFont().lfEscapement, 2700);

    tabs_->ModifyTabStyle(TCS_VERTICAL, 0);
    EXPECT_EQ(tabs_->GetStyle() & TCS_VERTICAL, 0u);
    EXPECT_EQ(LabelFont().lfEscapement, 0);
    EXPECT_EQ(LabelFont().lfOrientation, 0);

    tabs_->ModifyTabStyle(0, TCS_VERTICAL);
    EXPECT_EQ(LabelFont().lfEscapement, 900);
    EXPECT_EQ(LabelFont().lfOrientation, 900);
}

TEST_F(TabViewTest, HidingTheTabViewClearsTheFramesActiveViewWhenItIsAPage) {
    frame_->SetActiveView(static_cast<CView*>(Page(0)));
    ASSERT_EQ(frame_->GetActiveView(), Page(0));
    tabs_->ShowWindow(SW_HIDE);
    EXPECT_EQ(frame_->GetActiveView(), nullptr);
}

TEST_F(TabViewTest, HidingTheTabViewKeepsAnActiveViewThatIsNoPage) {
    frame_->SetActiveView(tabs_);
    tabs_->ShowWindow(SW_HIDE);
    EXPECT_EQ(frame_->GetActiveView(), tabs_);
}

TEST_F(TabViewTest, ErasingLeavesTheActivePageAlone) {
    CRect client;
    tabs_->GetClientRect(&client);
    CMemoryCanvas canvas(client.Width(), client.Height(), RGB(255, 0, 255));
    tabs_->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.DC()->m_hDC));
    const CRect page = PagePlace(0);
    EXPECT_EQ(canvas.At(page.CenterPoint().x, page.CenterPoint().y), RGB(255, 0, 255));
    EXPECT_NE(canvas.At(1, client.bottom - 2), RGB(255, 0, 255));
}

TEST_F(TabViewTest, EachTabHasATooltipToolWithItsLabel) {
    CToolTipCtrl* tip = tabs_->GetTabCtrl().GetToolTips();
    ASSERT_NE(tip, nullptr);
    auto text = [&](UINT_PTR id, bool wholeWindow) {
        char buffer[64] = {};
        TOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = tabs_->m_hWnd;
        ti.uId = wholeWindow ? reinterpret_cast<UINT_PTR>(tabs_->m_hWnd) : id;
        ti.lpszText = buffer;
        tip->SendMessage(TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&ti));
        return CString(buffer);
    };
    EXPECT_STREQ(text(0, true), "One");  // the first covers the whole control
    EXPECT_STREQ(text(1, false), "Two");
    EXPECT_STREQ(text(2, false), "Three");
}

TEST_F(TabViewTest, AViewThatCannotBeMadeAddsNoTab) {
    EXPECT_FALSE(tabs_->AddView("Abstract", RUNTIME_CLASS(CView)));  // no dynamic creation
    EXPECT_FALSE(tabs_->AddView("Refused", RUNTIME_CLASS(CRefusedPage)));
    EXPECT_EQ(tabs_->Tabs(), 3);
    EXPECT_EQ(tabs_->GetTabCtrl().GetItemCount(), 3);
    EXPECT_EQ(tabs_->GetActiveView(), Page(0));
}

TEST_F(TabViewTest, AViewGetsItsDocumentThroughTheContextBuiltForIt) {
    CDocument* doc = new CDocument;  // deleted when its last view goes
    doc->m_bAutoDelete = TRUE;
    ASSERT_TRUE(tabs_->AddView("Four", RUNTIME_CLASS(CColourPage), doc));
    auto* page = static_cast<CView*>(Page(3));
    EXPECT_EQ(page->GetDocument(), doc);
    EXPECT_TRUE(Hidden(3));
    EXPECT_EQ(PagePlace(3), tabs_->PageRect());
}

TEST_F(TabViewTest, ADeletedTabLeavesTheControlsTabsInStepWithTheViews) {
    tabs_->SetActiveView(2);
    CWnd* third = Page(2);
    tabs_->DeleteView(1);
    EXPECT_EQ(tabs_->Tabs(), 2);
    EXPECT_EQ(tabs_->GetTabCtrl().GetItemCount(), 2);
    EXPECT_EQ(Page(1), third);
    EXPECT_EQ(tabs_->ActiveTab(), 1);

    ASSERT_TRUE(guitest::BringToForeground(frame_));
    guitest::Click(TabCentre(0));
    ASSERT_TRUE(guitest::WaitUntil([&] { return tabs_->GetActiveView() == Page(0); }, 3000));
    EXPECT_TRUE(Hidden(1));
}

TEST_F(TabViewTest, TheTabImageListIsSetAndThePreviousOneReturned) {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 3, 0));
    CImageList* before = tabs_->SetTabImageList(&images);
    EXPECT_TRUE(before == nullptr || before->GetSafeHandle() == nullptr);
    CImageList* previous = tabs_->SetTabImageList(nullptr);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->GetSafeHandle(), images.GetSafeHandle());
}

}  // namespace
