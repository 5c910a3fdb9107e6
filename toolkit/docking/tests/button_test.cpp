// The flat button under a real mouse: the hot border comes and goes with the cursor, a held
// button shows no hot border, user colours outlast system colour changes, and its images.
#include "docking/aux_data.h"
#include "docking/button.h"
#include "docking_test_ids.h"
#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const int kButtonW = 100;
const int kButtonH = 40;

class CButtonHostFrame : public CFrameWnd {
public:
    CXTButton m_wndButton;
    int clicks = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpcs) {
        if (CFrameWnd::OnCreate(lpcs) == -1) {
            return -1;
        }
        return m_wndButton.Create("Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  CRect(20, 20, 20 + kButtonW, 20 + kButtonH), this, ID_TEST_BUTTON)
                   ? 0
                   : -1;
    }
    void OnClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonHostFrame, CFrameWnd)
ON_WM_CREATE()
ON_BN_CLICKED(ID_TEST_BUTTON, OnClicked)
END_MESSAGE_MAP()

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = static_cast<CButtonHostFrame*>(OpenTestFrame(300, 200, new CButtonHostFrame));
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(guitest::BringToForeground(frame_));
        MoveAway();
    }
    void TearDown() override { CloseTestFrame(frame_); }

    CXTButton& Button() { return frame_->m_wndButton; }
    CPoint Centre() {
        return guitest::ClientToScreenPoint(&Button(), CPoint(kButtonW / 2, kButtonH / 2));
    }
    void MoveAway() {
        guitest::MoveMouse(guitest::ClientToScreenPoint(frame_, CPoint(250, 150)));
        guitest::PumpFor(50);
    }
    void Redraw() {
        Button().RedrawWindow();
        guitest::PumpPending();
    }
    // The left and right edge colours at mid height.
    bool EdgesAre(COLORREF left, COLORREF right) {
        guitest::ClientPixels pixels(&Button());
        return pixels.At(0, kButtonH / 2) == left && pixels.At(kButtonW - 1, kButtonH / 2) == right;
    }

    CButtonHostFrame* frame_ = nullptr;
};

TEST_F(ButtonTest, CreationMakesItOwnerDrawnInTheSharedFont) {
    EXPECT_EQ(Button().GetButtonStyle() & 0x0F, static_cast<UINT>(BS_OWNERDRAW));
    EXPECT_EQ(Button().SendMessage(WM_GETFONT),
              reinterpret_cast<LRESULT>(xtAfxData.m_font.GetSafeHandle()));

    // A control made elsewhere and taken over gets the same.
    HWND plain = ::CreateWindowA("BUTTON", "Plain", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 150, 20,
                                 80, 30, frame_->m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    CXTButton taken;
    ASSERT_TRUE(taken.SubclassWindow(plain));
    EXPECT_EQ(taken.GetButtonStyle() & 0x0F, static_cast<UINT>(BS_OWNERDRAW));
    EXPECT_EQ(taken.SendMessage(WM_GETFONT),
              reinterpret_cast<LRESULT>(xtAfxData.m_font.GetSafeHandle()));
    taken.DestroyWindow();
}

TEST_F(ButtonTest, TheHotBorderAppearsAndGoesWithTheMouse) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(hilite, face);
    Redraw();
    EXPECT_TRUE(EdgesAre(face, face));  // flat: no border until hot

    guitest::MoveMouse(Centre());
    EXPECT_TRUE(guitest::WaitUntil([&] { return EdgesAre(hilite, shadow); }, 2000));
    MoveAway();
    EXPECT_TRUE(guitest::WaitUntil([&] { return EdgesAre(face, face); }, 2000));
}

TEST_F(ButtonTest, AHeldButtonShowsNoHotBorderUntilTheNextMove) {
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    guitest::InputScript press;
    press.MoveTo(Centre()).Press(Centre());
    ASSERT_TRUE(press.Run());
    guitest::PumpFor(80);  // several ticks of the hot-tracking timer
    EXPECT_TRUE(Button().SendMessage(BM_GETSTATE) & BST_PUSHED);
    EXPECT_TRUE(EdgesAre(shadow, hilite));  // the pushed border, not the raised one

    guitest::InputScript release;
    release.Release(Centre());
    ASSERT_TRUE(release.Run());
    guitest::PumpPending();
    EXPECT_EQ(frame_->clicks, 1);
    guitest::MoveMouse(Centre() + CSize(2, 0));
    EXPECT_TRUE(guitest::WaitUntil([&] { return EdgesAre(hilite, shadow); }, 2000));
}

// Puts a system colour back whatever the test did (the prefix keeps colours between programs).
class SysColorChange {
public:
    SysColorChange(int index, COLORREF colour) : m_index(index), m_old(::GetSysColor(index)) {
        ::SetSysColors(1, &m_index, &colour);
    }
    ~SysColorChange() { ::SetSysColors(1, &m_index, &m_old); }

private:
    int m_index;
    COLORREF m_old;
};

TEST_F(ButtonTest, UserColoursOutlastASystemColourChange) {
    const COLORREF mine = RGB(200, 10, 10);
    Button().SetColors(mine, RGB(255, 255, 0), RGB(0, 0, 128), RGB(0, 0, 0));
    Redraw();
    EXPECT_EQ(guitest::ClientPixels(&Button()).At(3, 3), mine);

    CXTButton plain;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, CRect(150, 20, 250, 60), frame_, 1003));
    const COLORREF changed =
        ::GetSysColor(COLOR_BTNFACE) == RGB(20, 160, 90) ? RGB(90, 160, 20) : RGB(20, 160, 90);
    {
        SysColorChange change(COLOR_BTNFACE, changed);
        Button().SendMessage(WM_SYSCOLORCHANGE);
        plain.SendMessage(WM_SYSCOLORCHANGE);
        Redraw();
        plain.RedrawWindow();
        guitest::PumpPending();
        EXPECT_EQ(guitest::ClientPixels(&Button()).At(3, 3), mine);
        EXPECT_EQ(guitest::ClientPixels(&plain).At(3, 3), changed);
    }
    plain.SendMessage(WM_SYSCOLORCHANGE);
    plain.DestroyWindow();
}

TEST_F(ButtonTest, ABitmapReplacesTheIconAndTheReverse) {
    Button().SetWindowText("");
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    // Centred without text: the 16 x 16 icon at (42, 12), the 5 x 2 bitmap at (47, 19).
    ASSERT_TRUE(Button().SetIcon(16, 16, IDI_TEST_ICON));
    Redraw();
    {
        guitest::ClientPixels pixels(&Button());
        EXPECT_EQ(pixels.At(43, 13), RGB(0, 0, 0));  // the icon's frame
        EXPECT_EQ(pixels.At(42, 12), face);          // its transparent corner
    }
    ASSERT_TRUE(Button().SetBitmap(5, 2, IDB_TEST_COLORS));
    Redraw();
    {
        guitest::ClientPixels pixels(&Button());
        EXPECT_EQ(pixels.At(43, 13), face);  // the icon has gone
        EXPECT_EQ(pixels.At(51, 19), RGB(255, 0, 0));
        EXPECT_EQ(pixels.At(47, 19), ::GetSysColor(COLOR_BTNTEXT));
        EXPECT_EQ(pixels.At(49, 20), ::GetSysColor(COLOR_BTNFACE));  // light grey became face
    }
    ASSERT_TRUE(Button().SetIcon(16, 16, IDI_TEST_ICON));
    Redraw();
    {
        guitest::ClientPixels pixels(&Button());
        EXPECT_EQ(pixels.At(43, 13), RGB(0, 0, 0));
        EXPECT_NE(pixels.At(51, 19), RGB(255, 0, 0));  // the bitmap has gone
    }
    EXPECT_FALSE(Button().SetIcon(16, 16, 4242));
    EXPECT_FALSE(Button().SetBitmap(5, 2, 4242));
    Redraw();
    EXPECT_EQ(guitest::ClientPixels(&Button()).At(43, 13), face);  // nothing left to draw
}

}  // namespace
