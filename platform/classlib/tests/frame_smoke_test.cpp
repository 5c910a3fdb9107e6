// A frame built from resources runs commands and paints: the window is captured inside the
// process and its pixels checked where the view must have drawn.
#include "test_app.h"
#include "test_ids.h"
#include "guitest/capture.h"
#include "guitest/pump.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kGreen = RGB(0, 160, 0);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kRed = RGB(220, 0, 0);

class CColourView : public CView {
    DECLARE_DYNCREATE(CColourView)
public:
    COLORREF colour = kGreen;
    void OnDraw(CDC* pDC) override {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, colour);
    }
};

IMPLEMENT_DYNCREATE(CColourView, CView)

class CIdleProbe : public CWnd {
public:
    int idleUpdates = 0;

protected:
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM) {
        ++idleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleProbe, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

class CSmokeFrame : public CFrameWnd {
public:
    int disabledRuns = 0;
    CColourView* View() { return static_cast<CColourView*>(GetActiveView()); }

protected:
    void Paint(COLORREF c) {
        View()->colour = c;
        View()->Invalidate(FALSE);
    }
    void OnRed() { Paint(kRed); }
    void OnBlue() { Paint(kBlue); }
    void OnDisabled() { ++disabledRuns; }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSmokeFrame, CFrameWnd)
ON_COMMAND(ID_PAINT_RED, OnRed)
ON_COMMAND(ID_PAINT_BLUE, OnBlue)
ON_COMMAND(ID_DISABLED, OnDisabled)
ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
ON_UPDATE_COMMAND_UI(ID_CHECKED, OnUpdateChecked)
END_MESSAGE_MAP()

// The view's rectangle in the frame's client coordinates, shrunk by its border.
CRect ViewInterior(CFrameWnd* frame, CWnd* view) {
    CRect r;
    view->GetClientRect(&r);
    view->ClientToScreen(&r);
    frame->ScreenToClient(&r);
    return r;
}

void Settle(CWnd* wnd) {
    guitest::PumpPending();
    wnd->UpdateWindow();
    guitest::PumpPending();
}

TEST(FrameSmoke, FrameFromResourcesRunsAPostedCommandAndRepaints) {
    auto* frame = new CSmokeFrame;  // owns itself: deleted with its window
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CColourView);
    ASSERT_TRUE(frame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context));
    TestApp().m_pMainWnd = frame;
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title, "Smoke Frame");  // the first piece of the frame's string
    ASSERT_NE(frame->GetMenu(), nullptr);
    EXPECT_EQ(frame->GetMenu()->GetMenuItemCount(), 1);
    EXPECT_NE(frame->m_hAccelTable, nullptr);

    auto* view = static_cast<CColourView*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->IsKindOf(RUNTIME_CLASS(CColourView)));
    frame->SetActiveView(view, FALSE);
    frame->SetWindowPos(nullptr, 0, 0, 360, 260, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    Settle(frame);

    // The view fills the client area that the frame left over.
    CRect client;
    frame->GetClientRect(&client);
    CRect inside = ViewInterior(frame, view);
    ASSERT_FALSE(inside.IsRectEmpty());
    EXPECT_LE(client.Width() - inside.Width(), 4);  // at most the view's border
    EXPECT_LE(client.Height() - inside.Height(), 4);

    CPoint probes[] = {inside.CenterPoint(), CPoint(inside.left + 1, inside.top + 1),
                       CPoint(inside.right - 2, inside.bottom - 2)};
    {
        guitest::ClientPixels before(frame);
        for (CPoint p : probes) {
            EXPECT_EQ(before.At(p.x, p.y), kGreen) << p.x << "," << p.y;
        }
    }

    ASSERT_TRUE(frame->PostMessage(WM_COMMAND, ID_PAINT_BLUE));
    Settle(frame);
    {
        guitest::ClientPixels after(frame);
        for (CPoint p : probes) {
            EXPECT_EQ(after.At(p.x, p.y), kBlue) << p.x << "," << p.y;
        }
    }

    // A command that its update handler disables is not carried out when it arrives.
    ASSERT_TRUE(frame->PostMessage(WM_COMMAND, ID_DISABLED));
    Settle(frame);
    EXPECT_EQ(frame->disabledRuns, 0);

    // Closing the main window ends the message loop.
    HWND hWnd = frame->m_hWnd;
    frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    MSG quit;
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(FrameSmoke, OpeningAPopupUpdatesItsItemsFromTheHandlers) {
    auto* frame = new CSmokeFrame;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CColourView);
    ASSERT_TRUE(frame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context));
    CMenu* popup = frame->GetMenu()->GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), 0);
    auto state = [&](UINT id) { return popup->GetMenuState(id, MF_BYCOMMAND); };
    EXPECT_FALSE(state(ID_PAINT_RED) & MF_GRAYED);
    EXPECT_TRUE(state(ID_NO_HANDLER) & MF_GRAYED);  // nobody handles it
    EXPECT_TRUE(state(ID_DISABLED) & MF_GRAYED);    // its update handler says so
    EXPECT_TRUE(state(ID_CHECKED) & MF_CHECKED);
    EXPECT_FALSE(state(ID_CHECKED) & MF_GRAYED);  // an update handler decides alone

    // Without automatic disabling an unhandled item stays as it is.
    popup->EnableMenuItem(ID_NO_HANDLER, MF_BYCOMMAND | MF_ENABLED);
    frame->m_bAutoMenuEnable = FALSE;
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), 0);
    EXPECT_FALSE(state(ID_NO_HANDLER) & MF_GRAYED);
    frame->DestroyWindow();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST(FrameSmoke, IdleTimeAsksTheMainWindowsFamilyToUpdateItsItems) {
    auto* frame = new CSmokeFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW));
    CIdleProbe probe;
    ASSERT_TRUE(
        probe.Create(nullptr, "probe", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, 501));
    TestApp().m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    Settle(frame);
    probe.idleUpdates = 0;
    guitest::RunIdle();
    EXPECT_EQ(probe.idleUpdates, 1);
    frame->ShowWindow(SW_HIDE);  // a hidden main window has nothing to update
    guitest::RunIdle();
    EXPECT_EQ(probe.idleUpdates, 1);
    probe.DestroyWindow();
    frame->DestroyWindow();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
