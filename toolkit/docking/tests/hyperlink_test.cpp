// The hyperlink control: its target and tooltip, the colours its parent's colour request gets,
// hovering by real mouse, clicks through the shell hook and the boxes of failed opens.
#include "docking/aux_data.h"
#include "docking/hyperlink.h"
#include "docking_test_ids.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kTarget[] = "http://www.example.invalid/";

class CTestLink : public CXTHyperLink {
public:
    CToolTipCtrl& Tip() { return m_toolTip; }
    BOOL Hovering() const { return m_bHover; }
};

class HyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = OpenTestFrame(300, 200);
        ASSERT_NE(frame_, nullptr);
        // As a dialog does: a static made from a template, taken over by the link.
        HWND plain = ::CreateWindowA(
            "STATIC", kTarget, WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 20, 200, 20, frame_->m_hWnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_TEST_LINK)), nullptr, nullptr);
        ASSERT_NE(plain, nullptr);
        ASSERT_TRUE(link_.SubclassWindow(plain));
        guitest::PumpPending();
    }
    void TearDown() override {
        if (link_.m_hWnd != nullptr) {
            link_.DestroyWindow();
        }
        CloseTestFrame(frame_);
    }

    // The text colour the link gives its parent's colour request, and the brush.
    COLORREF TextColour(CWnd& link, HBRUSH* brush = nullptr) {
        CMemoryCanvas canvas(4, 4, RGB(0, 0, 0));
        canvas.DC()->SetTextColor(RGB(1, 2, 3));
        LRESULT result =
            frame_->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.DC()->m_hDC),
                                reinterpret_cast<LPARAM>(link.m_hWnd));
        if (brush != nullptr) {
            *brush = reinterpret_cast<HBRUSH>(result);
        }
        return canvas.DC()->GetTextColor();
    }
    std::string TipText() {
        char text[256] = {};
        TOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = link_.m_hWnd;
        ti.uId = reinterpret_cast<UINT_PTR>(link_.m_hWnd);
        ti.lpszText = text;
        link_.Tip().SendMessage(TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
        return text;
    }
    void Click() {
        link_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        link_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        guitest::PumpPending();
    }

    CFrameWnd* frame_ = nullptr;
    CTestLink link_;
};

TEST_F(HyperLinkTest, ATextStaticBecomesALinkToItsText) {
    EXPECT_STREQ(link_.GetTarget(), kTarget);
    EXPECT_TRUE(link_.IsTextStatic());
    EXPECT_TRUE(link_.GetStyle() & SS_NOTIFY);
    EXPECT_EQ(link_.SendMessage(WM_GETFONT),
              reinterpret_cast<LRESULT>(xtAfxData.m_fontULine.GetSafeHandle()));
    EXPECT_EQ(link_.Tip().GetToolCount(), 1);
    EXPECT_EQ(TipText(), kTarget);
    link_.SetTarget("mailto:someone@example.invalid");
    EXPECT_EQ(TipText(), "mailto:someone@example.invalid");

    // Made by the link itself, without the underline.
    CXTHyperLink made;
    made.SetUnderline(FALSE);
    ASSERT_TRUE(made.Create("Made", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(20, 60, 120, 80),
                            frame_, 1004));
    EXPECT_STREQ(made.GetTarget(), "Made");
    EXPECT_EQ(made.SendMessage(WM_GETFONT),
              reinterpret_cast<LRESULT>(xtAfxData.m_font.GetSafeHandle()));
    made.DestroyWindow();
}

TEST_F(HyperLinkTest, TheParentsColourRequestGetsTheLinkColours) {
    HBRUSH brush = nullptr;
    EXPECT_EQ(TextColour(link_, &brush), RGB(0, 0, 0x80));
    EXPECT_EQ(brush, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    link_.SetVisited();
    EXPECT_EQ(TextColour(link_), RGB(0x80, 0, 0x80));
    link_.SetLinkColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3));
    EXPECT_EQ(TextColour(link_), RGB(2, 2, 2));
}

TEST_F(HyperLinkTest, HoveringShowsTheHoverColourAndLeavingRestoresIt) {
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    guitest::MoveMouse(guitest::ClientToScreenPoint(frame_, CPoint(250, 150)));
    guitest::PumpFor(30);
    guitest::MoveMouse(guitest::ClientToScreenPoint(&link_, CPoint(10, 10)));
    EXPECT_TRUE(guitest::WaitUntil([&] { return TextColour(link_) == RGB(0, 0, 0xFF); }, 2000));
    EXPECT_TRUE(link_.Hovering());
    guitest::MoveMouse(guitest::ClientToScreenPoint(frame_, CPoint(250, 150)));
    // The next 10 ms tick notices; well within this even on a loaded machine.
    EXPECT_TRUE(guitest::WaitUntil([&] { return TextColour(link_) == RGB(0, 0, 0x80); }, 1000));
    EXPECT_FALSE(link_.Hovering());
}

TEST_F(HyperLinkTest, AClickOpensTheTargetThroughTheShell) {
    guitest::ShellExecuteRecorder shell(42);
    guitest::MessageBoxAnswers boxes(IDOK);
    EXPECT_FALSE(link_.IsVisited());
    Click();
    ASSERT_EQ(shell.Seen().size(), 1u);
    EXPECT_EQ(shell.Seen()[0].verb, "open");
    EXPECT_EQ(shell.Seen()[0].file, kTarget);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_TRUE(link_.IsVisited());

    EXPECT_EQ(reinterpret_cast<INT_PTR>(link_.OpenTarget("other.txt")), 42);
    EXPECT_EQ(shell.Seen()[1].file, "other.txt");
}

TEST_F(HyperLinkTest, ATargetNoProgramHandlesGivesTheNoAssociationBox) {
    guitest::ShellExecuteRecorder shell(31);  // no program for the file's kind
    guitest::MessageBoxAnswers boxes(IDOK);
    Click();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text,
              "There is no application associated with the given file name extension.");
    EXPECT_EQ(boxes.Seen()[0].type & 0xFF, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(link_.IsVisited());  // a failed attempt counts as a visit
    EXPECT_EQ(TextColour(link_), RGB(0x80, 0, 0x80));
}

TEST_F(HyperLinkTest, TheBadFormatTextKeepsItsRegisteredSign) {
    guitest::ShellExecuteRecorder shell(11);
    guitest::MessageBoxAnswers boxes(IDOK);
    link_.OpenTarget();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text,
              "The .exe file is invalid (non-Win32\xAE .exe or error in .exe image).");
}

TEST_F(HyperLinkTest, UnlistedFailuresShowTheirNumber) {
    for (INT_PTR result : {1, 4}) {
        guitest::ShellExecuteRecorder shell(result);
        guitest::MessageBoxAnswers boxes(IDOK);
        EXPECT_EQ(reinterpret_cast<INT_PTR>(link_.OpenTarget()), result);
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].text,
                  "An unknown error number " + std::to_string(result) + " occured.");
    }
}

TEST_F(HyperLinkTest, ANonTextStaticKeepsItsTargetAndTheParentsColours) {
    HWND plain = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 20, 60, 32, 32,
                                 frame_->m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    CTestLink icon;
    icon.SetTarget("http://icon.example.invalid/");
    ASSERT_TRUE(icon.SubclassWindow(plain));
    EXPECT_FALSE(icon.IsTextStatic());
    EXPECT_STREQ(icon.GetTarget(), "http://icon.example.invalid/");
    HBRUSH brush = nullptr;
    TextColour(icon, &brush);
    EXPECT_NE(brush, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));  // no link colours

    // No hover timer: moving over it changes nothing.
    icon.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    guitest::PumpFor(40);
    EXPECT_FALSE(icon.Hovering());

    // A click still opens its target.
    guitest::ShellExecuteRecorder shell(42);
    icon.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    icon.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    guitest::PumpPending();
    ASSERT_EQ(shell.Seen().size(), 1u);
    EXPECT_EQ(shell.Seen()[0].file, "http://icon.example.invalid/");
    icon.DestroyWindow();
}

TEST_F(HyperLinkTest, TheLinkShowsItsCursorWhenItHasOne) {
    LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(link_.GetLinkCursor(), xtAfxData.m_hcurHand);
    EXPECT_TRUE(link_.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link_.m_hWnd), hit));
    EXPECT_EQ(::GetCursor(), xtAfxData.m_hcurHand);
    link_.SetLinkCursor(nullptr);
    EXPECT_FALSE(link_.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link_.m_hWnd), hit));
    EXPECT_EQ(link_.SendMessage(WM_NCHITTEST, 0, 0), HTCLIENT);
}

}  // namespace
