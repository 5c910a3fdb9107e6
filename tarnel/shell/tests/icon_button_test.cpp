// The icon button on the screen: its icons, edges and caption colours read back from its pixels
// as the real mouse moves over it, presses it and leaves it.
#include "guitest/capture.h"
#include "guitest/input.h"
#include "shell_test_ids.h"
#include "shell_test_support.h"
#include "tarnel/shell/icon_button.h"

namespace shell_test {
namespace {

// The icons' fill colours (the pictures of res/pictures): normal and under the mouse.
constexpr COLORREF kCancelFill = RGB(128, 0, 64);
constexpr COLORREF kCancelOverFill = RGB(224, 0, 112);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The icon's fill runs from its second column; a sample there and at mid height.
constexpr int kIconLeft = 3;
constexpr int kIconSize = 32;

class CButtonsDlg : public CDialog {
public:
    CButtonsDlg() : CDialog(IDD_TEST_BUTTONS) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_button.SubclassDlgItem(IDC_TEST_BUTTON, this);
        m_other.SubclassDlgItem(IDC_TEST_OTHER, this);
        SetUpCancelButton(m_button);
        return TRUE;
    }
    void OnButtonClicked() { ++m_clicks; }

    CIconButton m_button;
    CIconButton m_other;
    int m_clicks = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonsDlg, CDialog)
ON_BN_CLICKED(IDC_TEST_BUTTON, OnButtonClicked)
END_MESSAGE_MAP()

class IconButtonTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(m_dlg.Create(IDD_TEST_BUTTONS, m_pFrame));
        m_dlg.SetWindowPos(nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_dlg.ShowWindow(SW_SHOW);
        guitest::PumpPending();
        ASSERT_TRUE(guitest::BringToForeground(&m_dlg));
        // Start with the focus and the mouse outside every button.
        m_dlg.GetDlgItem(IDC_TEST_EDIT)->SetFocus();
        guitest::MoveMouse(guitest::ClientToScreenPoint(&m_dlg, CPoint(190, 110)));
        guitest::PumpFor(30);
    }
    void TearDown() override {
        if (::GetCapture() != nullptr) {
            ::ReleaseCapture();
        }
        m_dlg.DestroyWindow();
        ShellTest::TearDown();
    }

    CIconButton& Button() { return m_dlg.m_button; }
    CPoint ButtonCentre() {
        CRect r;
        Button().GetClientRect(&r);
        return guitest::ClientToScreenPoint(&Button(), r.CenterPoint());
    }
    CPoint Outside() { return guitest::ClientToScreenPoint(&m_dlg, CPoint(190, 110)); }
    // The colour at a point of the icon (its own coordinates) where it stands at the left.
    static COLORREF IconPixel(const guitest::ClientPixels& px, int x, int y) {
        return px.At(kIconLeft + x, (px.Height() - kIconSize) / 2 + y);
    }
    // Pixels of a colour in the caption's part of the button (right of the icon).
    static int CaptionPixels(const guitest::ClientPixels& px, COLORREF colour) {
        int count = 0;
        for (int y = 2; y < px.Height() - 2; ++y) {
            for (int x = kIconLeft + kIconSize + 1; x < px.Width() - 2; ++x) {
                count += px.At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }
    static int PixelsOf(const guitest::ClientPixels& px, COLORREF colour) {
        int count = 0;
        for (int y = 0; y < px.Height(); ++y) {
            for (int x = 0; x < px.Width(); ++x) {
                count += px.At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

    CButtonsDlg m_dlg;
};

TEST_F(IconButtonTest, ShowsItsNormalIconFlatWithoutAnEdgeUntilTheMouseComes) {
    EXPECT_EQ(Button().GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    guitest::ClientPixels px(&Button());
    EXPECT_EQ(IconPixel(px, 2, 16), kCancelFill);
    EXPECT_EQ(IconPixel(px, 29, 16), kCancelFill);
    EXPECT_EQ(px.At(1, px.Height() / 2), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(px.At(0, 0), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(px.At(px.Width() - 1, px.Height() - 1), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(CaptionPixels(px, kBlue), 0);
    EXPECT_GT(CaptionPixels(px, ::GetSysColor(COLOR_BTNTEXT)), 0);
    EXPECT_FALSE(Button().IsMouseOver());
}

TEST_F(IconButtonTest, TheMouseOverTheButtonLightsItUpAndLeavingPutsItBack) {
    guitest::MoveMouse(ButtonCentre());
    ASSERT_TRUE(guitest::WaitUntil([&] { return Button().IsMouseOver() != FALSE; }));
    EXPECT_EQ(::GetCapture(), Button().m_hWnd);
    {
        guitest::ClientPixels px(&Button());
        EXPECT_EQ(IconPixel(px, 2, 16), kCancelOverFill);
        EXPECT_EQ(px.At(0, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(px.At(px.Width() - 1, px.Height() - 1), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_GT(CaptionPixels(px, kBlue), 0);
    }

    guitest::MoveMouse(Outside());
    ASSERT_TRUE(guitest::WaitUntil([&] { return Button().IsMouseOver() == FALSE; }));
    EXPECT_EQ(::GetCapture(), nullptr);
    guitest::ClientPixels px(&Button());
    EXPECT_EQ(IconPixel(px, 2, 16), kCancelFill);
    EXPECT_EQ(px.At(0, 0), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(CaptionPixels(px, kBlue), 0);
}

TEST_F(IconButtonTest, APressShiftsTheIconSinksTheEdgeAndTheReleaseStillClicks) {
    guitest::MoveMouse(ButtonCentre());
    ASSERT_TRUE(guitest::WaitUntil([&] { return Button().IsMouseOver() != FALSE; }));
    {
        guitest::ClientPixels px(&Button());
        EXPECT_EQ(IconPixel(px, 1, 16), kCancelOverFill);
    }
    // A real press: the button control takes it and shows itself pushed.
    INPUT down = {};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ::SendInput(1, &down, sizeof down);
    ASSERT_TRUE(
        guitest::WaitUntil([&] { return (Button().SendMessage(BM_GETSTATE) & BST_PUSHED) != 0; }));
    guitest::PumpFor(30);
    {
        guitest::ClientPixels px(&Button());
        // One pixel right and down: the icon's first filled column now lies one further.
        EXPECT_EQ(IconPixel(px, 1, 16), ::GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(IconPixel(px, 2, 17), kCancelOverFill);
        EXPECT_EQ(px.At(0, 0), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(px.At(px.Width() - 1, px.Height() - 1), ::GetSysColor(COLOR_BTNSHADOW));
    }
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &up, sizeof up);
    ASSERT_TRUE(guitest::WaitUntil([&] { return m_dlg.m_clicks == 1; }));
}

TEST_F(IconButtonTest, ADisabledButtonIsGreyedAndIgnoresTheMouse) {
    Button().EnableWindow(FALSE);
    guitest::PumpPending();
    {
        guitest::ClientPixels px(&Button());
        EXPECT_EQ(PixelsOf(px, kCancelFill), 0);
        EXPECT_EQ(PixelsOf(px, kCancelOverFill), 0);
        EXPECT_EQ(PixelsOf(px, ::GetSysColor(COLOR_BTNTEXT)), 0);
        EXPECT_GT(CaptionPixels(px, ::GetSysColor(COLOR_BTNSHADOW)), 0);
    }
    guitest::MoveMouse(ButtonCentre());
    guitest::PumpFor(100);
    EXPECT_FALSE(Button().IsMouseOver());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(IconButtonTest, ARaisedButtonAlwaysHasItsEdgeAndLightsOnlyWhilePressed) {
    Button().SetFlat(FALSE);
    {
        guitest::ClientPixels px(&Button());
        EXPECT_EQ(px.At(0, 0), ::GetSysColor(COLOR_3DLIGHT));
        EXPECT_EQ(px.At(1, 1), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(px.At(px.Width() - 1, px.Height() - 1), ::GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(px.At(px.Width() - 2, px.Height() - 2), ::GetSysColor(COLOR_BTNSHADOW));
    }
    // With the focus it stands one pixel inside a black frame.
    Button().SetFocus();
    guitest::PumpPending();
    {
        guitest::ClientPixels px(&Button());
        EXPECT_EQ(px.At(0, 0), RGB(0, 0, 0));
        EXPECT_EQ(px.At(px.Width() - 1, px.Height() - 1), RGB(0, 0, 0));
        EXPECT_EQ(px.At(1, 1), ::GetSysColor(COLOR_3DLIGHT));
        EXPECT_EQ(px.At(px.Width() - 2, px.Height() - 2), ::GetSysColor(COLOR_3DDKSHADOW));
    }
    guitest::MoveMouse(ButtonCentre());
    guitest::PumpFor(100);
    EXPECT_FALSE(Button().IsMouseOver());
    EXPECT_NE(::GetCapture(), Button().m_hWnd);
}

TEST_F(IconButtonTest, TheIconAboveStandsCentredOverTheCaption) {
    Button().SetIconPosition(CIconButton::kIconAbove);
    guitest::ClientPixels px(&Button());
    const int left = (px.Width() - kIconSize) / 2;
    EXPECT_EQ(px.At(left + 2, 3 + 16), kCancelFill);
    EXPECT_EQ(px.At(left + 29, 3 + 16), kCancelFill);
    EXPECT_EQ(px.At(kIconLeft + 2, px.Height() / 2), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(IconButtonTest, LosingTheFocusClearsTheLitStateAndItsOwnCursorIsShown) {
    HCURSOR cursor =
        static_cast<HCURSOR>(::CopyImage(::LoadCursorA(nullptr, IDC_CROSS), IMAGE_CURSOR, 0, 0, 0));
    ASSERT_NE(cursor, nullptr);
    Button().SetButtonCursor(cursor);
    Button().SetFocus();
    guitest::MoveMouse(ButtonCentre());
    ASSERT_TRUE(guitest::WaitUntil([&] { return Button().IsMouseOver() != FALSE; }));
    EXPECT_EQ(::GetCursor(), cursor);
    m_dlg.GetDlgItem(IDC_TEST_EDIT)->SetFocus();
    guitest::PumpPending();
    EXPECT_FALSE(Button().IsMouseOver());
    guitest::ClientPixels px(&Button());
    EXPECT_EQ(IconPixel(px, 2, 16), kCancelFill);
}

}  // namespace
}  // namespace shell_test
