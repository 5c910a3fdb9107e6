// Docking by the mouse, with real input: dragging a toolbar by its gripper to another side,
// Ctrl to float it instead, Esc and the right button to cancel, double clicks to float and dock
// again, and resizing a floating toolbar from its frame's edge. Only end states are checked:
// the outline on the screen is the drag's business.
#include "bars_test_frame.h"
#include "guitest/input.h"
#include "guitest/pump.h"

#include <gtest/gtest.h>

namespace {

class DockingTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = CBarsFrame::Open(700, 500);
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(guitest::BringToForeground(frame_));
    }
    void TearDown() override { CloseFrame(frame_); }

    CDockBar* DockBar(UINT nID) { return DYNAMIC_DOWNCAST(CDockBar, frame_->GetControlBar(nID)); }
    // A point on the toolbar's gripper (at its leading end, inside its border), on the screen.
    CPoint Gripper() {
        CRect rect;
        frame_->m_wndToolBar.GetWindowRect(&rect);
        return CPoint(rect.left + afxData.cxBorder2 + 3, rect.top + rect.Height() / 2);
    }
    // A point just inside the frame's client area on the left, half way down.
    CPoint LeftEdge() {
        CRect client;
        frame_->GetClientRect(&client);
        frame_->ClientToScreen(&client);
        return CPoint(client.left + 1, client.top + client.Height() / 2);
    }
    CRect ToolbarRect() {
        CRect rect;
        frame_->m_wndToolBar.GetWindowRect(&rect);
        return rect;
    }
    void Settle() {
        guitest::PumpPending();
        guitest::RunIdle();
        frame_->UpdateWindow();
        guitest::PumpPending();
    }

    CBarsFrame* frame_ = nullptr;
};

TEST_F(DockingTest, DraggingTheGripperToTheLeftEdgeDocksTheToolbarThere) {
    CPoint grip = Gripper();
    guitest::InputScript script;
    script.Foreground(frame_).Press(grip).Glide(grip, LeftEdge(), 8).Release(LeftEdge());
    ASSERT_TRUE(script.Run());
    Settle();
    CToolBar& bar = frame_->m_wndToolBar;
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(bar.m_pDockBar, DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_LEFT)), "|T|");
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), "|D|");
    // Lying along the left side: taller than wide, buttons in one column.
    CRect rect = ToolbarRect();
    EXPECT_GT(rect.Height(), rect.Width());
    CRect first;
    CRect last;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(4, &last);
    EXPECT_EQ(first.left, last.left);
    EXPECT_GT(last.top, first.bottom);
    // Remembered as the side it was docked to last.
    EXPECT_EQ(bar.m_pDockContext->m_uMRUDockID, static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
}

TEST_F(DockingTest, HoldingCtrlWhileDraggingFloatsTheToolbarWhereItWouldDock) {
    CPoint grip = Gripper();
    CPoint edge = LeftEdge();
    guitest::InputScript script;
    script.Foreground(frame_)
        .Press(grip)
        .Glide(grip, edge + CSize(20, 0), 6)
        .Foreground(frame_)
        .KeyDown(VK_CONTROL)
        .Glide(edge + CSize(20, 0), edge, 3)
        .Release(edge)
        .KeyUp(VK_CONTROL);
    ASSERT_TRUE(script.Run());
    Settle();
    CToolBar& bar = frame_->m_wndToolBar;
    ASSERT_TRUE(bar.IsFloating());
    CFrameWnd* floating = bar.GetDockingFrame();
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    EXPECT_TRUE(floating->IsWindowVisible());
    // Floating where the drag ended: the frame holds the point that was let go.
    CRect rect;
    floating->GetWindowRect(&rect);
    EXPECT_TRUE(rect.PtInRect(edge)) << rect.left << "," << rect.top;
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_LEFT)), "|");
}

TEST_F(DockingTest, EscapeCancelsTheDragWithNothingChanged) {
    CRect before = ToolbarRect();
    std::string rows = Rows(DockBar(AFX_IDW_DOCKBAR_TOP));
    CPoint grip = Gripper();
    guitest::InputScript script;
    script.Foreground(frame_)
        .Press(grip)
        .Glide(grip, LeftEdge(), 6)
        .Foreground(frame_)
        .KeyDown(VK_ESCAPE)
        .KeyUp(VK_ESCAPE)
        .Release(LeftEdge());
    ASSERT_TRUE(script.Run());
    Settle();
    EXPECT_EQ(ToolbarRect(), before);
    EXPECT_EQ(frame_->m_wndToolBar.m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), rows);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(DockingTest, TheRightButtonCancelsTheDragWithNothingChanged) {
    CRect before = ToolbarRect();
    std::string rows = Rows(DockBar(AFX_IDW_DOCKBAR_TOP));
    CPoint grip = Gripper();
    CPoint edge = LeftEdge();
    guitest::InputScript script;
    script.Foreground(frame_)
        .Press(grip)
        .Glide(grip, edge, 6)
        .Press(edge, true)
        .Release(edge, true)
        .Release(edge);
    ASSERT_TRUE(script.Run());
    Settle();
    EXPECT_EQ(ToolbarRect(), before);
    EXPECT_EQ(frame_->m_wndToolBar.m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), rows);
}

TEST_F(DockingTest, DoubleClicksFloatTheToolbarAndDockItWhereItWas) {
    CToolBar& bar = frame_->m_wndToolBar;
    CPoint grip = Gripper();
    guitest::InputScript gripper;
    gripper.Foreground(frame_).Press(grip).Release(grip).Press(grip).Release(grip);
    ASSERT_TRUE(gripper.Run(20));
    Settle();
    ASSERT_TRUE(bar.IsFloating());
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), "|t|D|");

    // The floating frame's caption, away from the sides: a double click docks the bar back in
    // its place.
    CRect view;
    frame_->View()->GetWindowRect(&view);
    frame_->FloatControlBar(&bar, view.CenterPoint());
    Settle();
    CFrameWnd* floating = bar.GetDockingFrame();
    CRect window;
    floating->GetWindowRect(&window);
    CRect client;
    floating->GetClientRect(&client);
    floating->ClientToScreen(&client);
    CPoint caption(client.CenterPoint().x, (window.top + client.top) / 2);
    ASSERT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
    guitest::InputScript title;
    title.Foreground(frame_).Press(caption).Release(caption).Press(caption).Release(caption);
    ASSERT_TRUE(title.Run(20));
    Settle();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(bar.m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(Rows(DockBar(AFX_IDW_DOCKBAR_TOP)), "|T|D|");
}

TEST_F(DockingTest, DraggingAFloatingFramesEdgeRewrapsTheToolbar) {
    CToolBar& bar = frame_->m_wndToolBar;
    CRect frameRect;
    frame_->GetWindowRect(&frameRect);
    frame_->FloatControlBar(&bar, CPoint(frameRect.left + 150, frameRect.top + 150));
    Settle();
    CFrameWnd* floating = bar.GetDockingFrame();
    ASSERT_TRUE(bar.IsFloating());
    CRect before;
    floating->GetWindowRect(&before);
    CPoint edge(before.right - 2, before.top + before.Height() / 2);
    ASSERT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTRIGHT);
    // Narrower than three buttons: the buttons go into more rows.
    CPoint to(edge.x - before.Width() / 2, edge.y);
    guitest::InputScript script;
    script.Foreground(frame_).Press(edge).Glide(edge, to, 6).Release(to);
    ASSERT_TRUE(script.Run());
    Settle();
    ASSERT_TRUE(bar.IsFloating());
    floating = bar.GetDockingFrame();
    CRect after;
    floating->GetWindowRect(&after);
    EXPECT_LT(after.Width(), before.Width());
    EXPECT_GT(after.Height(), before.Height());
    EXPECT_EQ(after.TopLeft(), before.TopLeft());  // the right edge moved, not the left
    CRect first;
    CRect last;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(4, &last);
    EXPECT_GT(last.top, first.top);
    EXPECT_LT(bar.m_nMRUWidth, before.Width());  // the width is remembered for next time
}

}  // namespace
