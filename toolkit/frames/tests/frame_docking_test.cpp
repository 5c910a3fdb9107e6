// The toolkit frames' set-up and upkeep: toolkit dock bars only on the sides asked for, the
// icon's window class, and the shared UI record refreshed on colour and setting changes.
#include "frames_test_app.h"
#include "guitest/pump.h"

#include <gtest/gtest.h>

namespace {

class FrameDockingTest : public ::testing::Test {
protected:
    void TearDown() override { CloseFramesTestFrame(frame_); }

    CFramesTestFrame* OpenBare(DWORD dwDockStyle = CBRS_ALIGN_ANY) {
        FrameBars bars;
        bars.dwDockStyle = dwDockStyle;
        bars.bMessages = false;
        bars.bOutput = false;
        frame_ = CFramesTestFrame::Open(bars);
        return frame_;
    }

    CXTDockBar* DockBar(UINT nID) {
        return DYNAMIC_DOWNCAST(CXTDockBar, frame_->GetControlBar(nID));
    }

    CFramesTestFrame* frame_ = nullptr;
};

TEST_F(FrameDockingTest, ToolkitDockBarsAreMadeOnlyForTheSidesAskedAndOnlyOnce) {
    ASSERT_NE(nullptr, OpenBare(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT));
    EXPECT_EQ(RUNTIME_CLASS(CXTMiniDockFrameWnd), frame_->m_pFloatingFrameClass);
    CXTDockBar* top = DockBar(AFX_IDW_DOCKBAR_TOP);
    CXTDockBar* left = DockBar(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_NE(nullptr, top);
    ASSERT_NE(nullptr, left);
    EXPECT_EQ(nullptr, frame_->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(nullptr, frame_->GetControlBar(AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(0x56000000u, top->GetStyle() & 0xFF000000u);
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_TOP), top->GetBarStyle() & CBRS_ALIGN_ANY);
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_LEFT), left->GetBarStyle() & CBRS_ALIGN_ANY);

    // The second form makes the missing sides and flags all four.
    frame_->EnableDocking(CBRS_ALIGN_ANY, 0x40);
    EXPECT_EQ(top, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(left, DockBar(AFX_IDW_DOCKBAR_LEFT));
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                     AFX_IDW_DOCKBAR_RIGHT}) {
        ASSERT_NE(nullptr, DockBar(nID)) << nID;
        EXPECT_EQ(0x40u, DockBar(nID)->m_dwDockBarFlags) << nID;
    }
}

TEST_F(FrameDockingTest, TheFramesWindowClassCarriesTheIconAndNothingElse) {
    ASSERT_NE(nullptr, OpenBare());
    HWND hWnd = frame_->m_hWnd;
    EXPECT_NE(0u, ::GetClassLongPtrA(hWnd, GCLP_HICON));
    EXPECT_EQ(0u, ::GetClassLongPtrA(hWnd, GCLP_HCURSOR));
    EXPECT_EQ(0u, ::GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND));
    EXPECT_EQ(0u, ::GetClassLongPtrA(hWnd, GCL_STYLE));
}

TEST_F(FrameDockingTest, ColourAndSettingChangesRefreshTheSharedRecordInBothFrames) {
    ASSERT_NE(nullptr, OpenBare());
    CXTMDIChildWnd* child = OpenTestChild(frame_);
    ASSERT_NE(nullptr, child);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const int cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
    const COLORREF wrong = face ^ 0x00FFFFFF;

    for (CWnd* target : {static_cast<CWnd*>(frame_), static_cast<CWnd*>(child)}) {
        xtAfxData.m_clr3DFace = wrong;
        xtAfxData.m_cxSmIcon = cxSmIcon + 7;
        target->SendMessage(WM_SYSCOLORCHANGE);
        EXPECT_EQ(face, xtAfxData.m_clr3DFace);
        EXPECT_EQ(cxSmIcon, xtAfxData.m_cxSmIcon);

        xtAfxData.m_clr3DFace = wrong;
        xtAfxData.m_cxSmIcon = cxSmIcon + 7;
        target->SendMessage(WM_SETTINGCHANGE, 0, 0);
        EXPECT_EQ(face, xtAfxData.m_clr3DFace);
        EXPECT_EQ(cxSmIcon, xtAfxData.m_cxSmIcon);
    }
}

}  // namespace
