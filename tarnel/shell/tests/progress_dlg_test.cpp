// The progress dialog driven as the status handler drives it (its lines, counter and bar, STOP
// and Exit with the real mouse), and the About dialog with its two links.
#include <algorithm>

#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/stand_ins.h"
#include "shell_test_support.h"
#include "tarnel/shell/about_dlg.h"
#include "tarnel/shell/progress_dlg.h"
#include "tarnel/shell/resource.h"

namespace shell_test {
namespace {

class ProgressDlgTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(m_dlg.Create(m_pFrame));
        m_dlg.SetWindowPos(nullptr, 120, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    void TearDown() override {
        m_dlg.DestroyWindow();
        ShellTest::TearDown();
    }

    std::string Text(int id) { return guitest::ItemText(&m_dlg, id); }
    CProgressCtrl* Bar() { return static_cast<CProgressCtrl*>(m_dlg.GetDlgItem(IDC_PROGRESS_BAR)); }
    CPoint Centre(int id) {
        CWnd* item = m_dlg.GetDlgItem(id);
        CRect r;
        item->GetClientRect(&r);
        return guitest::ClientToScreenPoint(item, r.CenterPoint());
    }
    void ShowForAJob() {
        m_dlg.ShowWindow(SW_SHOW);
        m_dlg.DisableExit();
        guitest::PumpPending();
        ASSERT_TRUE(guitest::BringToForeground(&m_dlg));
    }
    // Pixels of a colour in a button's caption part (right of its icon).
    int CaptionPixels(int id, COLORREF colour) {
        guitest::ClientPixels px(m_dlg.GetDlgItem(id));
        int count = 0;
        for (int y = 0; y < px.Height(); ++y) {
            for (int x = 36; x < px.Width(); ++x) {
                count += px.At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

    CancelWord m_cancel{0};
    CProgressDlg m_dlg{m_cancel};
};

TEST_F(ProgressDlgTest, IsCreatedHiddenWithTheTemplatesLinesAndTheProgramsIcon) {
    EXPECT_FALSE(m_dlg.IsWindowVisible());
    CString title;
    m_dlg.GetWindowText(title);
    EXPECT_EQ(title, "Progress");
    EXPECT_EQ(Text(IDC_PROGRESS_FILE), " Downloading : ");
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), " Bytes transfered : 0 of 0");
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), " Status : ");
    EXPECT_NE(m_dlg.GetIcon(TRUE), nullptr);
    EXPECT_EQ(m_dlg.GetIcon(FALSE), m_dlg.GetIcon(TRUE));
    for (int id : {IDC_PROGRESS_STOP, IDC_PROGRESS_EXIT}) {
        EXPECT_EQ(m_dlg.GetDlgItem(id)->GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    }
}

TEST_F(ProgressDlgTest, TheFileLineFollowsTheModeOnlyWhenItIsSet) {
    const char* path = "C:\\images\\board.hex";
    m_dlg.SetMode(kProgressWrite);
    EXPECT_EQ(Text(IDC_PROGRESS_FILE), " Downloading : ");  // the mode alone redraws nothing
    const std::pair<int, std::string> lines[] = {
        {kProgressRead, "Reading..."},
        {kProgressWrite, std::string("Writing : ") + path},
        {kProgressVerify, std::string("Verifying : ") + path},
        {kProgressResidentLoader, "RAM resident loader..."},
        {4, ""},
    };
    for (const auto& line : lines) {
        m_dlg.SetMode(line.first);
        m_dlg.SetFileLine(path);
        EXPECT_EQ(Text(IDC_PROGRESS_FILE), line.second) << line.first;
    }
    m_dlg.SetStatus("Chip erased");
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Chip erased");
}

TEST_F(ProgressDlgTest, TheCounterShowsPositionOfTotalAndANewTotalKeepsThePosition) {
    m_dlg.SetRange(100);
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 0 of 100");
    m_dlg.SetPos(40);
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 40 of 100");
    EXPECT_EQ(Bar()->GetPos(), 40);
    m_dlg.SetRange(0x80000);
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 40 of 524288");
    int lower = -1;
    int upper = -1;
    Bar()->GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 0x80000);  // beyond a 16-bit range
    EXPECT_EQ(Bar()->GetPos(), 40);
    m_dlg.SetPos(0x7FFFF);
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 524287 of 524288");
    EXPECT_EQ(Bar()->GetPos(), 0x7FFFF);
}

TEST_F(ProgressDlgTest, StopRaisesTheCancelWordAndExitWorksOnceTheEndStatusEnablesIt) {
    ShowForAJob();
    m_dlg.SetMode(kProgressWrite);
    m_dlg.SetFileLine("C:\\a.hex");
    m_dlg.SetRange(256);
    m_dlg.SetPos(16);

    guitest::Click(Centre(IDC_PROGRESS_STOP));
    ASSERT_TRUE(guitest::WaitUntil([&] { return m_cancel.load() == 1; }));
    EXPECT_TRUE(m_dlg.IsWindowVisible());
    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_PROGRESS_EXIT)->IsWindowEnabled());

    // While the job runs Exit cannot be pressed.
    guitest::Click(Centre(IDC_PROGRESS_EXIT));
    guitest::PumpFor(100);
    EXPECT_TRUE(m_dlg.IsWindowVisible());

    // The end status: the status handler lets the user close the dialog.
    m_dlg.SetStatus("Canceled by user");
    m_dlg.EnableExit();
    guitest::PumpPending();
    guitest::Click(Centre(IDC_PROGRESS_EXIT));
    ASSERT_TRUE(guitest::WaitUntil([&] { return !m_dlg.IsWindowVisible(); }));
    EXPECT_EQ(m_cancel.load(), 1);
}

TEST_F(ProgressDlgTest, StopWithNoJobRunningStillRaisesTheWord) {
    m_dlg.ShowWindow(SW_SHOW);
    guitest::PumpPending();
    guitest::ClickItem(&m_dlg, IDC_PROGRESS_STOP);
    ASSERT_TRUE(guitest::WaitUntil([&] { return m_cancel.load() == 1; }));
    EXPECT_TRUE(m_dlg.IsWindowVisible());
}

TEST_F(ProgressDlgTest, EscapeHidesTheDialogOnlyWhileExitIsEnabledAndEnterNever) {
    ShowForAJob();
    guitest::PressKey(VK_ESCAPE);
    guitest::PressKey(VK_RETURN);
    guitest::PumpFor(100);
    EXPECT_TRUE(m_dlg.IsWindowVisible());
    m_dlg.EnableExit();
    guitest::PressKey(VK_RETURN);
    guitest::PumpFor(100);
    EXPECT_TRUE(m_dlg.IsWindowVisible());
    guitest::PressKey(VK_ESCAPE);
    EXPECT_TRUE(guitest::WaitUntil([&] { return !m_dlg.IsWindowVisible(); }));
    EXPECT_EQ(m_cancel.load(), 0);
}

TEST_F(ProgressDlgTest, StopLightsBlueAndExitRedUnderTheMouse) {
    ShowForAJob();
    m_dlg.EnableExit();
    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(CaptionPixels(IDC_PROGRESS_STOP, blue), 0);
    guitest::MoveMouse(Centre(IDC_PROGRESS_STOP));
    ASSERT_TRUE(guitest::WaitUntil([&] { return CaptionPixels(IDC_PROGRESS_STOP, blue) > 0; }));
    EXPECT_EQ(CaptionPixels(IDC_PROGRESS_STOP, red), 0);
    guitest::MoveMouse(Centre(IDC_PROGRESS_EXIT));
    ASSERT_TRUE(guitest::WaitUntil([&] { return CaptionPixels(IDC_PROGRESS_EXIT, red) > 0; }));
    EXPECT_EQ(CaptionPixels(IDC_PROGRESS_STOP, blue), 0);
    guitest::MoveMouse(guitest::ClientToScreenPoint(&m_dlg, CPoint(2, 2)));
    guitest::WaitUntil([&] { return ::GetCapture() == nullptr; });
}

using AboutDlgTest = ShellTest;

std::vector<std::string> ChildTexts(CWnd* dlg) {
    std::vector<std::string> texts;
    for (CWnd* child = dlg->GetWindow(GW_CHILD); child != nullptr;
         child = child->GetWindow(GW_HWNDNEXT)) {
        CString text;
        child->GetWindowText(text);
        texts.push_back(text.str());
    }
    return texts;
}

TEST_F(AboutDlgTest, ShowsTheNameVersionAndMakerAndClosesWithOk) {
    guitest::ModalDialogDriver driver;
    std::string title;
    std::vector<std::string> texts;
    bool iconShown = false;
    std::string mail;
    std::string web;
    driver.Then([&](CDialog* dlg) {
        CString text;
        dlg->GetWindowText(text);
        title = text.str();
        texts = ChildTexts(dlg);
        for (CWnd* child = dlg->GetWindow(GW_CHILD); child != nullptr;
             child = child->GetWindow(GW_HWNDNEXT)) {
            iconShown = iconShown || child->SendMessage(STM_GETICON) != 0;
        }
        mail = guitest::ItemText(dlg, IDC_ABOUT_MAIL);
        web = guitest::ItemText(dlg, IDC_ABOUT_WEB);
        guitest::ClickItem(dlg, IDOK);
    });
    CAboutDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(title, "About Tarnel");
    auto has = [&](const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    EXPECT_TRUE(has("Tarnel Version 1.06"));
    EXPECT_TRUE(has("Copyright (C) Velcor 1998-2004"));
    EXPECT_TRUE(iconShown);
    EXPECT_NE(mail.find('@'), std::string::npos);
    EXPECT_FALSE(web.empty());
}

// The link that owns a control of the open dialog, or null when no link took it over.
CXTHyperLink* LinkOf(CDialog* dlg, int id) {
    CWnd* item = CWnd::FromHandlePermanent(::GetDlgItem(dlg->m_hWnd, id));
    return item != nullptr && item->IsKindOf(RUNTIME_CLASS(CXTHyperLink))
               ? static_cast<CXTHyperLink*>(item)
               : nullptr;
}

TEST_F(AboutDlgTest, TheAddressesAreLinksThatOpenThroughTheShell) {
    guitest::ShellExecuteRecorder shell(42);
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    std::string mailTarget;
    std::string webTarget;
    std::string mailText;
    bool webVisitedBefore = true;
    bool webVisitedAfter = false;
    driver.Then([&](CDialog* dlg) {
        CXTHyperLink* mail = LinkOf(dlg, IDC_ABOUT_MAIL);
        CXTHyperLink* web = LinkOf(dlg, IDC_ABOUT_WEB);
        if (mail != nullptr && web != nullptr) {
            mailTarget = mail->GetTarget().str();
            webTarget = web->GetTarget().str();
            mailText = guitest::ItemText(dlg, IDC_ABOUT_MAIL);
            webVisitedBefore = web->IsVisited() != FALSE;
            // A click as the mouse gives it: the static tells its parent, the link opens.
            web->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            web->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            guitest::PumpPending();
            webVisitedAfter = web->IsVisited() != FALSE;
        }
        guitest::ClickItem(dlg, IDOK);
    });
    CAboutDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(mailTarget, CAboutDlg::kMailTarget);
    EXPECT_EQ(webTarget, CAboutDlg::kWebTarget);
    // The label keeps the address as people read it; only the target is a mail link.
    EXPECT_EQ(mailTarget.find(mailText), mailTarget.size() - mailText.size());
    ASSERT_EQ(shell.Seen().size(), 1u);
    EXPECT_EQ(shell.Seen()[0].verb, "open");
    EXPECT_EQ(shell.Seen()[0].file, CAboutDlg::kWebTarget);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_FALSE(webVisitedBefore);
    EXPECT_TRUE(webVisitedAfter);
}

}  // namespace
}  // namespace shell_test
