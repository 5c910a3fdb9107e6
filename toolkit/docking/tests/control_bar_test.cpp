// The toolkit control bar in a frame: its border and gripper pixels in the system's colours,
// where it is docked, the right-click menus and its own font.
#include "docking/aux_data.h"
#include "docking/control_bar.h"
#include "docking/resource.h"
#include "docking_test_ids.h"
#include "guitest/capture.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CTestBar : public CXTControlBar {
public:
    BOOL Create(CFrameWnd* pFrame, DWORD dwBarStyle) {
        m_dwStyle = dwBarStyle;
        return CWnd::Create(nullptr, "Test Bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 30),
                            pFrame, ID_TEST_BAR);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
        return bHorz ? CSize(bStretch ? 32767 : 200, 30) : CSize(30, bStretch ? 32767 : 150);
    }

    WPARAM fontSet = 0;

protected:
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam) {
        fontSet = wParam;
        return Default() + 0 * lParam;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestBar, CXTControlBar)
ON_MESSAGE(WM_SETFONT, OnSetFont)
END_MESSAGE_MAP()

// A frame with one toolkit bar that counts what the bar sends it.
class CBarHostFrame : public CFrameWnd {
public:
    CTestBar m_wndBar;
    int contextMenus = 0;
    CPoint contextPoint;
    LPARAM contextBar = 0;
    int betaCommands = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpcs) {
        if (CFrameWnd::OnCreate(lpcs) == -1) {
            return -1;
        }
        EnableDocking(CBRS_ALIGN_ANY);
        if (!m_wndBar.Create(this, CBRS_TOP | CBRS_GRIPPER)) {
            return -1;
        }
        m_wndBar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndBar, AFX_IDW_DOCKBAR_TOP);
        return 0;
    }
    LRESULT OnBarContextMenu(WPARAM wParam, LPARAM lParam) {
        ++contextMenus;
        contextPoint = *reinterpret_cast<POINT*>(wParam);
        contextBar = lParam;
        return 0;
    }
    void OnBeta() { ++betaCommands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarHostFrame, CFrameWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_BAR_CONTEXTMENU, OnBarContextMenu)
ON_COMMAND(ID_TEST_BETA, OnBeta)
END_MESSAGE_MAP()

class ControlBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = static_cast<CBarHostFrame*>(OpenTestFrame(400, 300, new CBarHostFrame));
        ASSERT_NE(frame_, nullptr);
        Settle();
    }
    void TearDown() override { CloseTestFrame(frame_); }

    CTestBar& Bar() { return frame_->m_wndBar; }
    void Settle() {
        frame_->RecalcLayout();
        guitest::PumpPending();
        Bar().RedrawWindow();
        guitest::PumpPending();
    }
    void Restyle(DWORD remove, DWORD add) {
        Bar().SetBarStyle((Bar().GetBarStyle() & ~remove) | add);
        Settle();
    }
    // What the bar draws on its client area, painted into memory: the bar's top-left corner
    // lies under its dock bar's edge on screen.
    std::unique_ptr<CMemoryCanvas> Painted() {
        CSize size = Client();
        auto canvas = std::make_unique<CMemoryCanvas>(size.cx, size.cy, RGB(1, 2, 3));
        canvas->DC()->FillSolidRect(0, 0, size.cx, size.cy, xtAfxData.m_clr3DFace);
        Bar().DoPaint(canvas->DC());
        return canvas;
    }
    CSize Client() {
        CRect client;
        Bar().GetClientRect(&client);
        return client.Size();
    }

    CBarHostFrame* frame_ = nullptr;
};

TEST_F(ControlBarTest, BordersAndGripperAreDrawnInTheSystemColours) {
    Restyle(CBRS_BORDER_3D, CBRS_BORDER_ANY | CBRS_GRIPPER);
    ASSERT_TRUE(Bar().IsTopDocked());
    const COLORREF face = xtAfxData.m_clr3DFace;
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(hilite, face);
    ASSERT_NE(shadow, face);
    CSize size = Client();
    ASSERT_GE(size.cx, 100);
    ASSERT_EQ(size.cy, 30);
    const int w = size.cx;
    const int h = size.cy;
    const int mid = h / 2;
    auto painted = Painted();
    EXPECT_EQ(painted->At(0, mid), hilite);
    EXPECT_EQ(painted->At(w / 2, 0), hilite);
    EXPECT_EQ(painted->At(w - 1, mid), shadow);
    EXPECT_EQ(painted->At(w / 2, h - 1), shadow);
    EXPECT_EQ(painted->At(1, mid), face);

    // On screen, through the bar's own painting (its outer rows lie under the dock bar's
    // edges): the right edge and one ridge inside the one-pixel frame, x 3 to 5, y 4 to h - 5.
    guitest::ClientPixels pixels(&Bar());
    EXPECT_EQ(pixels.At(w - 1, mid), shadow);
    EXPECT_EQ(pixels.At(w / 2, mid), face);
    EXPECT_EQ(pixels.At(3, mid), hilite);
    EXPECT_EQ(pixels.At(4, mid), face);
    EXPECT_EQ(pixels.At(5, mid), shadow);
    EXPECT_EQ(pixels.At(4, 4), hilite);
    EXPECT_EQ(pixels.At(4, h - 5), shadow);
    EXPECT_EQ(pixels.At(4, 3), face);
    EXPECT_EQ(pixels.At(4, h - 4), face);
    EXPECT_EQ(pixels.At(6, mid), face);
}

TEST_F(ControlBarTest, TheDoubleGripperHasTwoRidgesWithLightFeet) {
    Restyle(CBRS_BORDER_3D, CBRS_BORDER_ANY | CBRS_GRIPPER);
    EXPECT_TRUE(Bar().ModifyToolkitStyle(0, XTCBS_DOUBLE_GRIPPER));
    EXPECT_EQ(Bar().GetToolkitStyle(), 0x13u | XTCBS_DOUBLE_GRIPPER);
    Settle();
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const int h = Client().cy;
    const int mid = h / 2;
    guitest::ClientPixels pixels(&Bar());
    EXPECT_EQ(pixels.At(3, mid), hilite);
    EXPECT_EQ(pixels.At(5, mid), shadow);
    EXPECT_EQ(pixels.At(6, mid), hilite);
    EXPECT_EQ(pixels.At(8, mid), shadow);
    EXPECT_EQ(pixels.At(4, 3), hilite);      // the ridges start right inside the frame
    EXPECT_EQ(pixels.At(3, h - 4), hilite);  // the foot of the first ridge
    EXPECT_EQ(pixels.At(4, h - 4), shadow);

    EXPECT_TRUE(Bar().ModifyToolkitStyle(XTCBS_DOUBLE_GRIPPER | XTCBS_CAPTION_TEXT, 0, FALSE));
    EXPECT_EQ(Bar().GetToolkitStyle(), 0x03u);
}

TEST_F(ControlBarTest, ABarWithoutBorderBitsHasNoBorderLines) {
    Restyle(CBRS_BORDER_ANY | CBRS_BORDER_3D | CBRS_GRIPPER, 0);
    const COLORREF face = xtAfxData.m_clr3DFace;
    CSize size = Client();
    auto painted = Painted();
    EXPECT_EQ(painted->At(0, size.cy / 2), face);
    EXPECT_EQ(painted->At(size.cx / 2, 0), face);
    EXPECT_EQ(painted->At(size.cx - 1, size.cy / 2), face);
    EXPECT_EQ(painted->At(size.cx / 2, size.cy - 1), face);
    guitest::ClientPixels pixels(&Bar());
    EXPECT_EQ(pixels.At(size.cx - 1, size.cy / 2), face);
    EXPECT_EQ(pixels.At(3, size.cy / 2), face);
    CRect inside(0, 0, 100, 30);
    Bar().CalcInsideRect(inside, TRUE);
    EXPECT_EQ(inside, CRect(6, 1, 94, 29));  // the bar's own borders only
}

TEST_F(ControlBarTest, TheBarKnowsWhichSideItIsDockedOn) {
    EXPECT_TRUE(Bar().IsTopDocked());
    EXPECT_TRUE(Bar().IsHorzDocked());
    EXPECT_FALSE(Bar().IsVertDocked());
    EXPECT_FALSE(Bar().IsFloating());

    frame_->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_LEFT);
    Settle();
    EXPECT_TRUE(Bar().IsLeftDocked());
    EXPECT_TRUE(Bar().IsVertDocked());
    EXPECT_FALSE(Bar().IsHorzDocked());
    // Docked left the ridge lies along the top, right inside the frame.
    Restyle(CBRS_BORDER_3D, CBRS_BORDER_ANY | CBRS_GRIPPER);
    CSize size = Client();
    guitest::ClientPixels pixels(&Bar());
    EXPECT_EQ(pixels.At(size.cx / 2, 3), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixels.At(size.cx / 2, 5), ::GetSysColor(COLOR_BTNSHADOW));

    frame_->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_BOTTOM);
    Settle();
    EXPECT_TRUE(Bar().IsBottomDocked());
    frame_->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_RIGHT);
    Settle();
    EXPECT_TRUE(Bar().IsRightDocked());
}

TEST_F(ControlBarTest, AFloatingBarDrawsNoGripper) {
    frame_->FloatControlBar(&Bar(), CPoint(300, 300));
    Settle();
    EXPECT_TRUE(Bar().IsFloating());
    EXPECT_FALSE(Bar().IsHorzDocked());
    ASSERT_TRUE(Bar().GetBarStyle() & CBRS_FLOATING);
    Restyle(CBRS_BORDER_ANY | CBRS_BORDER_3D, CBRS_GRIPPER);
    const int mid = Client().cy / 2;
    auto painted = Painted();
    guitest::ClientPixels pixels(&Bar());
    for (int x = 2; x < 10; ++x) {
        EXPECT_EQ(painted->At(x, mid), xtAfxData.m_clr3DFace) << "x " << x;
        EXPECT_EQ(pixels.At(x, mid), xtAfxData.m_clr3DFace) << "x " << x;
    }
    CRect inside(0, 0, 100, 30);
    Bar().CalcInsideRect(inside, TRUE);
    EXPECT_EQ(inside.left, 6);  // the bar's own left border, no gripper room
}

TEST_F(ControlBarTest, ARightClickAsksTheFrameForItsBarMenu) {
    Bar().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(frame_->contextMenus, 1);
    CPoint expected(10, 5);
    Bar().ClientToScreen(&expected);
    EXPECT_EQ(frame_->contextPoint, expected);
    EXPECT_EQ(frame_->contextBar, reinterpret_cast<LPARAM>(&Bar()));
}

TEST_F(ControlBarTest, ABarWithItsOwnMenuShowsThatPopupInstead) {
    Bar().SetContextMenu(IDR_TEST_BAR_MENU, 1);
    EXPECT_EQ(Bar().GetContextMenuID(), static_cast<UINT>(IDR_TEST_BAR_MENU));
    guitest::PopupMenuAnswers menus;
    menus.Choose(ID_TEST_BETA);
    Bar().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 5));
    guitest::PumpPending();
    EXPECT_EQ(frame_->contextMenus, 0);
    ASSERT_EQ(menus.Seen().size(), 1u);
    ASSERT_EQ(menus.Seen()[0].size(), 2u);
    EXPECT_EQ(menus.Seen()[0][0].id, static_cast<UINT>(ID_TEST_ALPHA));
    EXPECT_EQ(menus.Seen()[0][1].text, "&Beta");
    EXPECT_EQ(frame_->betaCommands, 1);  // the frame owns the menu
}

TEST_F(ControlBarTest, TheBarUsesTheSharedFontAndErasesNothing) {
    EXPECT_EQ(Bar().fontSet, reinterpret_cast<WPARAM>(xtAfxData.m_font.GetSafeHandle()));
    CClientDC dc(&Bar());
    EXPECT_EQ(Bar().SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc())), 0);
    EXPECT_EQ(Bar().m_sizeHorz, CSize(200, 100));
    EXPECT_EQ(Bar().GetBorders(), CRect(6, 1, 6, 1));
}

}  // namespace
