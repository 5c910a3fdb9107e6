// The toolkit frames' docking set-up and upkeep: toolkit dock bars only on the sides asked for,
// the side a bar docks on without a dock bar named, docking beside another bar, the icon's window
// class, and the shared UI record refreshed on colour and setting changes.
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

// How many places after the first bar the second lies in the dock bar's row; 0 when they are
// not in one row in that order.
int RowDistance(CDockBar* pDockBar, CControlBar* pFirst, CControlBar* pSecond) {
    int first = -1;
    for (INT_PTR i = 0; i < pDockBar->m_arrBars.GetSize(); ++i) {
        void* entry = pDockBar->m_arrBars[i];
        if (entry == pFirst) {
            first = static_cast<int>(i);
        } else if (entry == nullptr) {
            first = -1;
        } else if (entry == pSecond) {
            return first < 0 ? 0 : static_cast<int>(i) - first;
        }
    }
    return 0;
}

UINT DockedOn(CControlBar& bar) {
    return bar.m_pDockBar != nullptr ? static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()) : 0;
}

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

TEST_F(FrameDockingTest, BarsDockOnTheSideOfTheirAlignmentOrBesideAnotherBar) {
    ASSERT_NE(nullptr, OpenBare());
    CXTDockWindow right;
    CXTDockWindow anywhere;
    CXTDockWindow besideRight;
    CXTToolBar top;
    CXTToolBar besideTop;
    ASSERT_TRUE(right.Create(frame_, 120, "Right", 150, 100, CBRS_RIGHT, kOutputStyle));
    ASSERT_TRUE(anywhere.Create(frame_, 121, "Anywhere", 150, 100, CBRS_ALIGN_ANY, kOutputStyle));
    ASSERT_TRUE(besideRight.Create(frame_, 122, "Beside", 150, 100, CBRS_TOP, kOutputStyle));
    ASSERT_TRUE(top.CreateEx(frame_, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                             CRect(0, 0, 0, 0), 123));
    ASSERT_TRUE(besideTop.CreateEx(frame_, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM,
                                   CRect(0, 0, 0, 0), 124));
    const UINT buttons[] = {ID_FILE_NEW, ID_FILE_OPEN};
    ASSERT_TRUE(top.SetButtons(buttons, 2));
    ASSERT_TRUE(besideTop.SetButtons(buttons, 2));
    for (CControlBar* bar :
         std::initializer_list<CControlBar*>{&right, &anywhere, &besideRight, &top, &besideTop}) {
        bar->EnableDocking(CBRS_ALIGN_ANY);
    }

    frame_->DockWindow(&right);
    frame_->DockControlBar(&anywhere);
    frame_->DockControlBar(&top, AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, DockedOn(right));
    EXPECT_EQ(0u, DockedOn(anywhere));  // aligned to every side: no side is its own
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockedOn(top));

    frame_->DockControlBarLeftOf(&besideRight, &right);
    frame_->DockControlBarLeftOf(&besideTop, &top);
    EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, DockedOn(besideRight));
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockedOn(besideTop));
    // Just right of the other bar's left edge: after it, in its row.
    EXPECT_EQ(1, RowDistance(top.m_pDockBar, &top, &besideTop));
    EXPECT_TRUE(RowDistance(right.m_pDockBar, &right, &besideRight) == 1 ||
                RowDistance(right.m_pDockBar, &besideRight, &right) == 1);

    for (CControlBar* bar :
         std::initializer_list<CControlBar*>{&right, &anywhere, &besideRight, &top, &besideTop}) {
        bar->DestroyWindow();
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
