// Docking windows in a frame, under wine: creation styles, rows sharing their length, expanding
// by the caption button, splitter strips dragged by the mouse, drags that dock, float or change
// nothing, floating frames sized from a corner, the stored position, and pixels of borders,
// grip lines and strips at positions computed from the windows' geometry.
#include "dock_test_frame.h"

#include "docking/dock_context.h"
#include "docking/dock_window_caption.h"
#include "docking/mini_dock_frame.h"

#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace xtdock;

int WidthOf(CWnd* pWnd) {
    CRect rect;
    pWnd->GetClientRect(&rect);
    return rect.Width();
}

class DockWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = CDockTestFrame::Open(700, 500);
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(guitest::BringToForeground(frame_));
    }
    void TearDown() override { CloseDockTestFrame(frame_); }

    CXTDockBar* Bottom() { return frame_->DockBar(AFX_IDW_DOCKBAR_BOTTOM); }
    CXTDockWindow& Messages() { return frame_->m_wndMessages; }
    CXTDockWindow& Output() { return frame_->m_wndOutput; }
    int BottomLength() {
        CRect rect;
        Bottom()->GetClientRect(&rect);
        return rect.Width();
    }
    // Shows Output and docks it into Messages' row, to its right.
    void DockOutputBesideMessages() {
        frame_->ShowControlBar(&Output(), TRUE, FALSE);
        // Alone in a row of its own it took the row's length: give it its own length back.
        XT_DOCK_SIZES sizes = Output().GetDockSizes();
        sizes.sizeHorzDock = CSize(300, 120);
        Output().SetDockSizes(sizes);
        CRect rect;
        Messages().GetWindowRect(&rect);
        rect.left = rect.right - 100;
        rect.right = rect.left + 300;
        frame_->DockControlBar(&Output(), Bottom(), &rect);
        frame_->Settle();
    }
    CPoint ScreenCentre(CWnd* pWnd) {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        return rect.CenterPoint();
    }
    // A point on a docking window's caption, clear of its buttons and grip lines' ends.
    CPoint CaptionPoint(CXTDockWindow& wnd) {
        CRect grip;
        wnd.GetGripRect(grip);
        return guitest::ClientToScreenPoint(&wnd, CPoint(grip.left + 1, grip.top + 6));
    }

    CDockTestFrame* frame_ = nullptr;
};

TEST_F(DockWindowTest, CreationGivesTheBarAndWindowStylesItAlwaysHas) {
    CXTDockWindow wnd;
    ASSERT_TRUE(
        wnd.Create(frame_, 200, "Probe", 150, 80, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, 0x13));
    EXPECT_EQ(wnd.GetBarStyle(), 0x824Cu);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(wnd.m_hWnd, GWL_STYLE)), 0x56000000u);
    const XT_DOCK_SIZES sizes = wnd.GetDockSizes();
    EXPECT_EQ(sizes.sizeVertDock, CSize(150, 80));
    EXPECT_EQ(sizes.sizeFloat, CSize(150, 80));
    // Caption buttons exist and carry the flat-button flags: image above text only.
    ASSERT_NE(wnd.GetHideButton(), nullptr);
    ASSERT_NE(wnd.GetExpandButton(), nullptr);
    // Docking made possible gives it the toolkit's drag tracking.
    wnd.EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_NE(dynamic_cast<CXTDockContext*>(wnd.m_pDockContext.get()), nullptr);
    // Not docked, so hidden until the window docks.
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(wnd.GetHideButton()->m_hWnd, GWL_STYLE)),
              0x4001404Bu);
    wnd.DestroyWindow();

    CXTDockWindow plain;
    ASSERT_TRUE(plain.Create(frame_, 201, "Plain", 150, 80, CBRS_LEFT, 0));
    EXPECT_EQ(plain.GetHideButton(), nullptr);
    plain.DestroyWindow();
}

TEST_F(DockWindowTest, ASecondWindowInTheRowSplitsItsLengthAndEnablesBothExpandButtons) {
    // Alone in its row: the whole length, the disabled expand picture.
    EXPECT_EQ(Rows(Bottom()), "|M|O|");  // hidden, not taking room
    EXPECT_EQ(RectInParent(&Messages()).Width(), BottomLength());
    EXPECT_EQ(Messages().GetCaptionPicture(), 1u);
    EXPECT_FALSE(Messages().GetExpandButton()->IsWindowEnabled());

    DockOutputBesideMessages();
    EXPECT_EQ(Rows(Bottom()), "|MO|");
    const CRect m = RectInParent(&Messages());
    const CRect o = RectInParent(&Output());
    EXPECT_EQ(o.Width(), 300);  // the newcomer keeps its docked length
    EXPECT_EQ(m.Width() + 6 + o.Width(), BottomLength());
    EXPECT_EQ(o.left, m.right + 6);
    EXPECT_EQ(m.top, o.top);
    for (CXTDockWindow* pWnd : {&Messages(), &Output()}) {
        EXPECT_EQ(pWnd->GetCaptionPicture(), 2u);
        EXPECT_TRUE(pWnd->GetExpandButton()->IsWindowEnabled());
    }
}

TEST_F(DockWindowTest, TheExpandButtonFillsTheRowAndContractsItAgain) {
    DockOutputBesideMessages();
    const int messagesWidth = RectInParent(&Messages()).Width();

    guitest::Click(ScreenCentre(Messages().GetExpandButton()));
    ASSERT_TRUE(guitest::WaitUntil([&] { return Messages().IsExpanded() != FALSE; }));
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Output()).Width(), 19);
    EXPECT_EQ(RectInParent(&Messages()).Width(), BottomLength() - 6 - 19);
    EXPECT_EQ(Messages().GetCaptionPicture(), 6u);

    // A second click soon after would be a double click, which the button reports as such.
    guitest::PumpFor(::GetDoubleClickTime() + 100);
    guitest::Click(ScreenCentre(Messages().GetExpandButton()));
    ASSERT_TRUE(guitest::WaitUntil([&] { return !Messages().IsExpanded(); }));
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Messages()).Width(), messagesWidth);
    EXPECT_EQ(RectInParent(&Output()).Width(), 300);
    EXPECT_EQ(Messages().GetCaptionPicture(), 2u);
}

TEST_F(DockWindowTest, ARowSplitterStopsAtItsLimitAndAReleaseWithoutMovementChangesNothing) {
    DockOutputBesideMessages();
    const CRect m = RectInParent(&Messages());
    CPoint strip = guitest::ClientToScreenPoint(Bottom(), CPoint(m.right + 3, m.top + 40));

    // Pressed and released in place: nothing moves.
    guitest::InputScript still;
    still.Foreground(frame_).MoveTo(strip).Press(strip).Release(strip);
    ASSERT_TRUE(still.Run());
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Messages()), m);
    EXPECT_EQ(RectInParent(&Output()).Width(), 300);

    // Far past the right end: Output stops at its caption. (A press soon after the last one
    // would be a double click.)
    guitest::PumpFor(::GetDoubleClickTime() + 100);
    CPoint past(strip.x + 450, strip.y);
    guitest::InputScript drag;
    drag.Foreground(frame_).MoveTo(strip).Press(strip).Glide(strip, past, 8).Release(past);
    ASSERT_TRUE(drag.Run());
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Output()).Width(), 19);
    EXPECT_EQ(RectInParent(&Messages()).Width(), BottomLength() - 6 - 19);

    // Escape during a drag puts the strip back: nothing changes on release.
    const CRect now = RectInParent(&Messages());
    CPoint strip2 = guitest::ClientToScreenPoint(Bottom(), CPoint(now.right + 3, now.top + 40));
    CPoint left(strip2.x - 200, strip2.y);
    guitest::PumpFor(::GetDoubleClickTime() + 100);
    guitest::InputScript cancelled;
    cancelled.Foreground(frame_)
        .MoveTo(strip2)
        .Press(strip2)
        .Glide(strip2, left, 6)
        .KeyDown(VK_ESCAPE)
        .KeyUp(VK_ESCAPE)
        .Release(left);
    ASSERT_TRUE(cancelled.Run());
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Messages()), now);
    EXPECT_FALSE(Bottom()->IsTracking());
}

TEST_F(DockWindowTest, AStripDragThatLosesTheMouseErasesItsLineAndAppliesNothing) {
    const CRect before = RectInParent(&Messages());
    // The row's strip lies above the row, at the dock bar's top; dragged up, its tracking line
    // stands over the frame's bare client area.
    const CPoint strip = guitest::ClientToScreenPoint(Bottom(), CPoint(100, 3));
    const CPoint up(strip.x, strip.y - 40);
    CPoint line = up;
    frame_->ScreenToClient(&line);
    auto lineRow = [&] {
        guitest::ClientPixels pixels(frame_);
        std::vector<COLORREF> row;
        for (int x = line.x - 8; x < line.x + 8; ++x) {
            row.push_back(pixels.At(x, line.y));
        }
        return row;
    };
    const std::vector<COLORREF> clean = lineRow();

    guitest::InputScript drag;
    drag.Foreground(frame_).MoveTo(strip).Press(strip).Glide(strip, up, 6);
    ASSERT_TRUE(drag.Run());
    ASSERT_TRUE(Bottom()->IsTracking());
    ASSERT_NE(lineRow(), clean);  // the line is on the frame

    // Another window takes the mouse, as when another program comes to the front mid-drag.
    frame_->SetCapture();
    guitest::PumpPending();
    EXPECT_FALSE(Bottom()->IsTracking());
    EXPECT_EQ(lineRow(), clean);

    // The button comes up later; neither it nor a button-up that reaches the dock bar after it
    // applies the drag.
    guitest::InputScript release;
    release.Release(up);
    ASSERT_TRUE(release.Run());
    ::ReleaseCapture();
    CPoint upInBar = up;
    Bottom()->ScreenToClient(&upInBar);
    Bottom()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(upInBar.x, upInBar.y));
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Messages()), before);
    EXPECT_EQ(Messages().GetDockSizes().sizeHorzDock.cy, 120);
}

TEST_F(DockWindowTest, OnTheLeftTheRowIsAColumnAndItsSplitterMovesUpAndDown) {
    CXTDockBar* left = frame_->DockBar(AFX_IDW_DOCKBAR_LEFT);
    frame_->DockControlBar(&Messages(), left);
    frame_->Settle();
    frame_->ShowControlBar(&Output(), TRUE, FALSE);
    XT_DOCK_SIZES sizes = Output().GetDockSizes();
    sizes.sizeVertDock = CSize(200, 150);
    Output().SetDockSizes(sizes);
    CRect rect;
    Messages().GetWindowRect(&rect);
    rect.top = rect.bottom - 100;
    rect.bottom = rect.top + 150;
    frame_->DockControlBar(&Output(), left, &rect);
    frame_->Settle();
    ASSERT_EQ(Rows(left), "|MO|");
    CRect column;
    left->GetClientRect(&column);
    const CRect m = RectInParent(&Messages());
    const CRect o = RectInParent(&Output());
    EXPECT_EQ(o.Height(), 150);
    EXPECT_EQ(m.Height() + 6 + o.Height(), column.Height());
    EXPECT_EQ(o.top, m.bottom + 6);
    EXPECT_TRUE(Messages().IsVertDocked());
    // The caption runs along the top: the hide button is the rightmost one.
    CRect hide = RectInParent(Messages().GetHideButton());
    CRect expand = RectInParent(Messages().GetExpandButton());
    EXPECT_EQ(hide.top, expand.top);
    EXPECT_EQ(hide.left, expand.left + 14);
    EXPECT_EQ(hide.right, m.Width() - 19 + 14);

    // The strip between them, dragged far up: Messages stops at its caption.
    const CPoint strip = guitest::ClientToScreenPoint(left, CPoint(m.left + 30, m.bottom + 3));
    const CPoint up(strip.x, strip.y - 400);
    guitest::InputScript drag;
    drag.Foreground(frame_).MoveTo(strip).Press(strip).Glide(strip, up, 8).Release(up);
    ASSERT_TRUE(drag.Run());
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Messages()).Height(), 19);
    EXPECT_EQ(RectInParent(&Output()).Height(), column.Height() - 6 - 19);
}

TEST_F(DockWindowTest, ARowOfTheBottomDockBarGrowsWhenItsSplitterMovesUp) {
    const CRect before = RectInParent(&Messages());
    ASSERT_EQ(before.Height(), 120);
    // The row's strip lies above the row, at the dock bar's top.
    CPoint strip = guitest::ClientToScreenPoint(Bottom(), CPoint(100, 3));
    CPoint up(strip.x, strip.y - 40);
    guitest::InputScript drag;
    drag.Foreground(frame_).MoveTo(strip).Press(strip).Glide(strip, up, 6).Release(up);
    ASSERT_TRUE(drag.Run());
    frame_->Settle();
    EXPECT_EQ(RectInParent(&Messages()).Height(), 160);
    EXPECT_EQ(Messages().GetDockSizes().sizeHorzDock.cy, 160);
}

TEST_F(DockWindowTest, ADragThatEndsWhereItBeganChangesNothingAndADragToTheTopDocksThere) {
    const CPoint caption = CaptionPoint(Messages());
    CRect client;
    frame_->GetClientRect(&client);
    // Near the top-left corner, where the empty top dock bar lies.
    const CPoint top = guitest::ClientToScreenPoint(frame_, CPoint(3, 2));
    const CRect before = RectInParent(&Messages());

    guitest::InputScript round;
    round.Foreground(frame_)
        .MoveTo(caption)
        .Press(caption)
        .Glide(caption, top, 6)
        .Glide(top, caption, 6)
        .Release(caption);
    ASSERT_TRUE(round.Run());
    frame_->Settle();
    EXPECT_EQ(Messages().m_pDockBar, static_cast<CDockBar*>(Bottom()));
    EXPECT_EQ(RectInParent(&Messages()), before);

    guitest::InputScript drag;
    drag.Foreground(frame_).MoveTo(caption).Press(caption).Glide(caption, top, 8).Release(top);
    ASSERT_TRUE(drag.Run());
    frame_->Settle();
    EXPECT_EQ(Messages().m_pDockBar, static_cast<CDockBar*>(frame_->DockBar(AFX_IDW_DOCKBAR_TOP)));
    EXPECT_TRUE(Messages().IsHorzDocked());
    EXPECT_EQ(RectInParent(&Messages()).Width(), WidthOf(frame_->DockBar(AFX_IDW_DOCKBAR_TOP)));
}

TEST_F(DockWindowTest, CtrlFloatsTheWindowWhoseFrameSizesFromACornerAndDocksByCaption) {
    const CPoint caption = CaptionPoint(Messages());
    const CPoint away(caption.x + 60, caption.y - 200);
    guitest::InputScript drag;
    drag.Foreground(frame_)
        .MoveTo(caption)
        .Press(caption)
        .KeyDown(VK_CONTROL)
        .Glide(caption, away, 8)
        .Release(away)
        .KeyUp(VK_CONTROL);
    ASSERT_TRUE(drag.Run());
    frame_->Settle();
    ASSERT_TRUE(Messages().IsFloating());
    CFrameWnd* floating = Messages().GetParentFrame();
    ASSERT_NE(floating, static_cast<CFrameWnd*>(frame_));
    EXPECT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CXTMiniDockFrameWnd)));

    CRect frameRect;
    floating->GetWindowRect(&frameRect);
    const CRect barBefore = RectInParent(&Messages());
    const CPoint corner(frameRect.right - 2, frameRect.bottom - 2);
    const CPoint out(corner.x + 40, corner.y + 30);
    guitest::InputScript grow;
    grow.Foreground(floating).MoveTo(corner).Press(corner).Glide(corner, out, 6).Release(out);
    ASSERT_TRUE(grow.Run());
    frame_->Settle();
    CRect barAfter;
    Messages().GetWindowRect(&barAfter);
    EXPECT_EQ(barAfter.Width(), barBefore.Width() + 40);
    EXPECT_EQ(barAfter.Height(), barBefore.Height() + 30);

    floating = Messages().GetParentFrame();
    floating->GetWindowRect(&frameRect);
    const CPoint corner2(frameRect.right - 2, frameRect.bottom - 2);
    const CPoint in(frameRect.left - 100, frameRect.top - 100);
    guitest::InputScript shrink;
    shrink.Foreground(floating).MoveTo(corner2).Press(corner2).Glide(corner2, in, 6).Release(in);
    ASSERT_TRUE(shrink.Run());
    frame_->Settle();
    Messages().GetWindowRect(&barAfter);
    EXPECT_EQ(barAfter.Width(), 50);
    EXPECT_EQ(barAfter.Height(), 50);

    // A double click on the floating frame's border does nothing; on its caption it docks the
    // window where it was.
    floating = Messages().GetParentFrame();
    floating->GetWindowRect(&frameRect);
    const CPoint clientTop = guitest::ClientToScreenPoint(floating, CPoint(0, 0));
    guitest::PumpFor(::GetDoubleClickTime() + 100);
    guitest::DoubleClick(CPoint(frameRect.left + frameRect.Width() / 2, frameRect.bottom - 1));
    guitest::PumpFor(200);
    EXPECT_TRUE(Messages().IsFloating());
    guitest::PumpFor(::GetDoubleClickTime() + 100);
    guitest::DoubleClick(
        CPoint(frameRect.left + frameRect.Width() / 2, (frameRect.top + clientTop.y) / 2 + 1));
    ASSERT_TRUE(guitest::WaitUntil([&] { return Messages().IsBottomDocked() != FALSE; }));
}

TEST_F(DockWindowTest, TheHideButtonHidesTheWindowAndAFloatingCaptionDragDocksIt) {
    guitest::Click(ScreenCentre(Messages().GetHideButton()));
    ASSERT_TRUE(guitest::WaitUntil([&] { return !(Messages().GetStyle() & WS_VISIBLE); }));
    frame_->ShowControlBar(&Messages(), TRUE, FALSE);
    frame_->Settle();

    // Floated from code, then dragged by its floating frame's caption to the left edge.
    frame_->FloatControlBar(&Messages(), guitest::ClientToScreenPoint(frame_, CPoint(250, 150)));
    frame_->Settle();
    ASSERT_TRUE(Messages().IsFloating());
    CFrameWnd* floating = Messages().GetParentFrame();
    CRect frameRect;
    floating->GetWindowRect(&frameRect);
    const CPoint clientTop = guitest::ClientToScreenPoint(floating, CPoint(0, 0));
    const CPoint caption(frameRect.left + 20, (frameRect.top + clientTop.y) / 2 + 1);
    const CPoint edge = guitest::ClientToScreenPoint(frame_, CPoint(1, 200));
    guitest::InputScript drag;
    drag.Foreground(floating).MoveTo(caption).Press(caption).Glide(caption, edge, 10).Release(edge);
    ASSERT_TRUE(drag.Run());
    frame_->Settle();
    EXPECT_TRUE(Messages().IsLeftDocked());
    EXPECT_EQ(Messages().m_pDockBar, static_cast<CDockBar*>(frame_->DockBar(AFX_IDW_DOCKBAR_LEFT)));
}

TEST_F(DockWindowTest, BarPositionComesBackButAShortStoredValueIsIgnored) {
    guitest::RegistrySandbox sandbox(AfxGetApp());
    XT_DOCK_SIZES sizes = Messages().GetDockSizes();
    sizes.sizeVertDock = CSize(111, 222);
    sizes.sizeFloat = CSize(333, 144);
    Messages().SetDockSizes(sizes);
    Messages().SaveBarPosition("Test-Bar0");

    Messages().SetDockSizes(XT_DOCK_SIZES());
    Messages().LoadBarPosition("Test-Bar0");
    EXPECT_EQ(Messages().GetDockSizes().sizeVertDock, CSize(111, 222));
    EXPECT_EQ(Messages().GetDockSizes().sizeFloat, CSize(333, 144));
    EXPECT_EQ(Messages().GetToolkitStyle(), 0x13u);

    // A value cut short (an older or damaged profile) leaves the sizes alone.
    BYTE shortValue[20] = {1, 2, 3, 4};
    AfxGetApp()->WriteProfileBinary("Test-Bar1", "Bar Position", shortValue, sizeof shortValue);
    Messages().LoadBarPosition("Test-Bar1");
    EXPECT_EQ(Messages().GetDockSizes().sizeVertDock, CSize(111, 222));
}

TEST_F(DockWindowTest, RestoredSizesAreKeptWithinOnePixelAndTheWorkArea) {
    guitest::RegistrySandbox sandbox(AfxGetApp());
    CRect work;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    // Saved on a larger screen, or damaged: a row wider than any frame, rows of no thickness.
    XT_DOCK_SIZES stored;
    stored.sizeVertDock = CSize(0, work.Height() + 500);
    stored.sizeHorzDock = CSize(work.Width() * 2, 0);
    stored.sizeFloat = CSize(-3, 20);
    stored.sizeCurrent = CSize(work.Width() * 2, 0);
    BYTE record[XT_BAR_POSITION_BYTES];
    XTWriteBarPosition(stored, 0x13, record);
    AfxGetApp()->WriteProfileBinary("Test-Bar0", "Bar Position", record, sizeof record);
    Messages().LoadBarPosition("Test-Bar0");
    const XT_DOCK_SIZES restored = Messages().GetDockSizes();
    EXPECT_EQ(restored.sizeVertDock, CSize(1, work.Height()));
    EXPECT_EQ(restored.sizeHorzDock, CSize(work.Width(), 1));
    EXPECT_EQ(restored.sizeFloat, CSize(50, 50));
    EXPECT_EQ(restored.sizeCurrent, CSize(work.Width(), 1));
    frame_->Settle();
    EXPECT_GE(RectInParent(&Messages()).Height(), 1);

    // Sizes within the range come back exactly as stored.
    stored.sizeVertDock = CSize(1, work.Height());
    stored.sizeHorzDock = CSize(321, 87);
    stored.sizeFloat = CSize(50, 77);
    stored.sizeCurrent = CSize(work.Width(), 1);
    XTWriteBarPosition(stored, 0x13, record);
    AfxGetApp()->WriteProfileBinary("Test-Bar1", "Bar Position", record, sizeof record);
    Messages().LoadBarPosition("Test-Bar1");
    EXPECT_EQ(Messages().GetDockSizes().sizeVertDock, stored.sizeVertDock);
    EXPECT_EQ(Messages().GetDockSizes().sizeHorzDock, stored.sizeHorzDock);
    EXPECT_EQ(Messages().GetDockSizes().sizeFloat, stored.sizeFloat);
    EXPECT_EQ(Messages().GetDockSizes().sizeCurrent, stored.sizeCurrent);
}

TEST_F(DockWindowTest, BordersGripLinesAndStripsAreDrawnInTheSharedColours) {
    const CRect m = RectInParent(&Messages());
    ASSERT_GT(m.Height(), 60);
    {
        guitest::ClientPixels pixels(&Messages());
        const int w = pixels.Width();
        const int h = pixels.Height();
        // Alone in a bottom row: the strip above takes the top border; left highlight, right
        // and bottom shadow.
        EXPECT_EQ(pixels.At(0, h / 2), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(pixels.At(w - 1, h / 2), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(pixels.At(w / 2, h - 1), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(pixels.At(w / 2, 0), ::GetSysColor(COLOR_BTNFACE));
        // The grip line runs down the left caption below the buttons: a 3-D rectangle
        // widened to x 3..9.
        const CRect grip = XTGripRect(XTDockSide::Horz, w, h, TRUE);
        EXPECT_EQ(pixels.At(grip.left - 2, grip.top + 2), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(pixels.At(grip.right + 1, grip.top + 2), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(pixels.At(grip.left + 1, grip.top + 2), ::GetSysColor(COLOR_BTNFACE));
    }
    {
        // The hide button shows its picture from the shared caption strip.
        guitest::ClientPixels pixels(Messages().GetHideButton());
        int picture = 0;
        for (int y = 0; y < pixels.Height(); ++y) {
            for (int x = 0; x < pixels.Width(); ++x) {
                picture += pixels.At(x, y) != ::GetSysColor(COLOR_BTNFACE) ? 1 : 0;
            }
        }
        EXPECT_GT(picture, 6);
    }
    {
        guitest::ClientPixels pixels(Bottom());
        // The strip above the row: highlight on top, shadow and window frame at its foot.
        EXPECT_EQ(pixels.At(50, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(pixels.At(50, 4), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(pixels.At(50, 5), ::GetSysColor(COLOR_WINDOWFRAME));
        EXPECT_EQ(pixels.At(50, 2), ::GetSysColor(COLOR_BTNFACE));
    }
}

}  // namespace
