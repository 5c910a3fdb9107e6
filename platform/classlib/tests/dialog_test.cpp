// Dialogs under the real window manager: modal loops with their owner, data exchange with its
// prompts, keyboard handling, modeless dialogs, control updates and file dialogs.
#include "classlib/classlib.h"
#include "dialog_test_ids.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CDialogTestApp : public CWinApp {
public:
    CDialogTestApp() : CWinApp("Dialog Test") {}
};

CDialogTestApp theApp;

// The main window: the owner of the dialogs, counting the idle notices of their loops.
class COwnerFrame : public CFrameWnd {
public:
    int enterIdle = 0;
    WPARAM enterIdleKind = 0;

protected:
    LRESULT OnEnterIdle(WPARAM wParam, LPARAM) {
        ++enterIdle;
        enterIdleKind = wParam;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerFrame, CFrameWnd)
ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
END_MESSAGE_MAP()

class CFieldsDlg : public CDialog {
public:
    explicit CFieldsDlg(CWnd* pParent = nullptr) : CDialog(IDD_FIELDS, pParent) {}

    BYTE m_byte = 255;
    int m_count = 5;
    CString m_name = "first";
    int m_radio = 0;
    int m_check = 0;
    int m_combo = -1;
    int kickIdle = 0;
    bool applyEnabled = true;

    BOOL OnInitDialog() override {
        CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(IDC_COMBO));
        for (const char* item : {"alpha", "beta", "gamma"}) {
            combo->AddString(item);
        }
        return CDialog::OnInitDialog();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_BYTE, m_byte);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 10);
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 8);
        DDX_Radio(pDX, IDC_RADIO1, m_radio);
        DDX_Check(pDX, IDC_CHECK, m_check);
        DDX_CBIndex(pDX, IDC_COMBO, m_combo);
    }
    LRESULT OnKickIdle(WPARAM, LPARAM) {
        ++kickIdle;
        return 0;  // no more idle time wanted
    }
    void OnUpdateApply(CCmdUI* pCmdUI) { pCmdUI->Enable(applyEnabled); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFieldsDlg, CDialog)
ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
ON_UPDATE_COMMAND_UI(IDC_APPLY, OnUpdateApply)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = new COwnerFrame;  // owns itself
        ASSERT_TRUE(frame_->Create(nullptr, "Owner", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 480)));
        theApp.m_pMainWnd = frame_;
        frame_->ShowWindow(SW_SHOW);
        guitest::PumpPending();
    }
    void TearDown() override {
        if (::IsWindow(hWnd())) {
            frame_->DestroyWindow();
        }
        theApp.m_pMainWnd = nullptr;
        guitest::PumpPending();
        guitest::QuitSeen();
        EXPECT_EQ(guitest::ModalDialogDriver::TimedOut(), timedOutBefore_);
    }
    HWND hWnd() const { return frame_->m_hWnd; }

    COwnerFrame* frame_ = nullptr;
    int timedOutBefore_ = guitest::ModalDialogDriver::TimedOut();
};

TEST_F(DialogTest, AByteFieldBeyond255IsRefusedWithTheRangePromptAndTheDialogStaysOpen) {
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    bool stayedOpen = false;
    bool focusOnField = false;
    driver.Then([&](CDialog* dlg) {
        guitest::SetItemText(dlg, IDC_BYTE, "256");
        guitest::ClickItem(dlg, IDOK);
        guitest::WaitUntil([&] { return boxes.Seen().size() == 1; });
        guitest::PumpPending();
        stayedOpen = dlg->ContinueModal() && dlg->IsWindowVisible();
        focusOnField = ::GetFocus() == ::GetDlgItem(dlg->m_hWnd, IDC_BYTE);
        guitest::SetItemText(dlg, IDC_BYTE, "7");
        guitest::ClickItem(dlg, IDOK);
    });
    CFieldsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(driver.DialogsSeen(), 1);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Please enter a whole number from 0 to 255.");
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(focusOnField);
    EXPECT_EQ(dlg.m_byte, 7);
}

TEST_F(DialogTest, RangeTextAndNumberPromptsNameTheLimitsAndKeepTheOldValues) {
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        guitest::SetItemText(dlg, IDC_COUNT, "11");  // beyond DDV_MinMaxInt's 1..10
        guitest::ClickItem(dlg, IDOK);
        guitest::WaitUntil([&] { return boxes.Seen().size() == 1; });
        guitest::SetItemText(dlg, IDC_COUNT, "1F");  // no number at all
        guitest::ClickItem(dlg, IDOK);
        guitest::WaitUntil([&] { return boxes.Seen().size() == 2; });
        guitest::SetItemText(dlg, IDC_COUNT, "10");
        guitest::SetItemText(dlg, IDC_NAME, "too long a name");
        guitest::ClickItem(dlg, IDOK);
        guitest::WaitUntil([&] { return boxes.Seen().size() == 3; });
        guitest::ClickItem(dlg, IDCANCEL);
    });
    CFieldsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(boxes.Seen().size(), 3u);
    EXPECT_EQ(boxes.Seen()[0].text, "Please enter a whole number from 1 to 10.");
    EXPECT_EQ(boxes.Seen()[1].text, "Please enter a whole number.");
    EXPECT_EQ(boxes.Seen()[2].text, "Please enter at most 8 characters.");
}

TEST_F(DialogTest, RadioCheckAndComboValuesRoundTripBothWays) {
    guitest::ModalDialogDriver driver;
    std::string seen;
    driver.Then([&](CDialog* dlg) {
        seen += dlg->IsDlgButtonChecked(IDC_RADIO3) ? "radio3 " : "";
        seen += dlg->IsDlgButtonChecked(IDC_CHECK) ? "check " : "";
        seen += dlg->SendDlgItemMessage(IDC_COMBO, CB_GETCURSEL) == 1 ? "beta " : "";
        seen += guitest::ItemText(dlg, IDC_BYTE) + " " + guitest::ItemText(dlg, IDC_NAME);
        dlg->CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO1);
        dlg->CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
        dlg->SendDlgItemMessage(IDC_COMBO, CB_SETCURSEL, 2);
        guitest::ClickItem(dlg, IDOK);
    });
    CFieldsDlg dlg;
    dlg.m_radio = 2;
    dlg.m_check = 1;
    dlg.m_combo = 1;
    dlg.m_byte = 42;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(seen, "radio3 check beta 42 first");
    EXPECT_EQ(dlg.m_radio, 0);
    EXPECT_EQ(dlg.m_check, 0);
    EXPECT_EQ(dlg.m_combo, 2);

    // No radio button checked reads as -1.
    guitest::ModalDialogDriver second;
    second.Then([&](CDialog* dlg2) {
        for (int id = IDC_RADIO1; id <= IDC_RADIO3; ++id) {
            dlg2->CheckDlgButton(id, BST_UNCHECKED);
        }
        EXPECT_EQ(dlg2->GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3), 0);
        guitest::ClickItem(dlg2, IDOK);
    });
    CFieldsDlg none;
    ASSERT_EQ(none.DoModal(), IDOK);
    EXPECT_EQ(none.m_radio, -1);
}

TEST_F(DialogTest, EscapeTypedByTheUserCancels) {
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        ASSERT_TRUE(guitest::BringToForeground(dlg));
        guitest::SetItemText(dlg, IDC_BYTE, "9");
        guitest::PressKey(VK_ESCAPE);
    });
    CFieldsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_byte, 255);  // a cancel exchanges nothing
}

TEST_F(DialogTest, EnterTypedByTheUserPressesTheDefaultButton) {
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        ASSERT_TRUE(guitest::BringToForeground(dlg));
        dlg->GotoDlgCtrl(dlg->GetDlgItem(IDC_BYTE));
        guitest::KeyChord({VK_CONTROL, 'A'});
        guitest::TypeText("12");
        guitest::PressKey(VK_RETURN);
    });
    CFieldsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_byte, 12);
}

// Ends the dialog from a timer, so that its loop runs idle in between.
void CALLBACK EndLater(HWND hWnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hWnd, id);
    static_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd))->EndDialog(IDRETRY);
}

TEST_F(DialogTest, TheOwnerIsDisabledWhileTheLoopRunsAndIdleNoticesFlow) {
    guitest::ModalDialogDriver driver;
    bool ownerEnabledDuring = true;
    driver.Then([&](CDialog* dlg) {
        ownerEnabledDuring = frame_->IsWindowEnabled();
        ::SetTimer(dlg->m_hWnd, 1, 150, EndLater);
    });
    CFieldsDlg dlg;
    frame_->enterIdle = 0;
    EXPECT_EQ(dlg.DoModal(), IDRETRY);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(frame_->IsWindowEnabled());
    EXPECT_GE(dlg.kickIdle, 1);
    EXPECT_GE(frame_->enterIdle, 1);
    EXPECT_EQ(frame_->enterIdleKind, static_cast<WPARAM>(MSGF_DIALOGBOX));
}

TEST_F(DialogTest, EndingTheDialogInsideInitialisationSkipsTheLoop) {
    class CQuickDlg : public CFieldsDlg {
    public:
        BOOL OnInitDialog() override {
            CFieldsDlg::OnInitDialog();
            EndDialog(IDIGNORE);
            return TRUE;
        }
    };
    guitest::ModalDialogDriver driver;
    CQuickDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDIGNORE);
    EXPECT_EQ(driver.DialogsSeen(), 0);
    EXPECT_TRUE(frame_->IsWindowEnabled());
}

TEST_F(DialogTest, AModelessDialogLeavesItsOwnerEnabledAndUpdatesItsButtons) {
    CFieldsDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_FIELDS, frame_));
    dlg.ShowWindow(SW_SHOW);
    guitest::PumpPending();
    EXPECT_TRUE(frame_->IsWindowEnabled());
    EXPECT_EQ(::GetWindow(dlg.m_hWnd, GW_OWNER), hWnd());
    EXPECT_EQ(guitest::ItemText(&dlg, IDC_NAME), "first");  // initialised from the members

    dlg.applyEnabled = false;
    dlg.UpdateDialogControls(&dlg, TRUE);
    EXPECT_FALSE(dlg.GetDlgItem(IDC_APPLY)->IsWindowEnabled());
    EXPECT_TRUE(dlg.GetDlgItem(IDC_CHECK)->IsWindowEnabled());  // auto check box: left alone
    // A push button nobody handles goes grey; OK is the dialog's own command.
    EXPECT_TRUE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());
    dlg.applyEnabled = true;
    dlg.UpdateDialogControls(&dlg, TRUE);
    EXPECT_TRUE(dlg.GetDlgItem(IDC_APPLY)->IsWindowEnabled());

    dlg.SetDlgItemInt(IDC_COUNT, 3);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_count, 3);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(DialogTest, ADialogCentresOverItsOwnerInsideTheWorkArea) {
    CFieldsDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_FIELDS, frame_));
    dlg.CenterWindow();
    CRect owner;
    CRect box;
    frame_->GetWindowRect(&owner);
    dlg.GetWindowRect(&box);
    EXPECT_LE(std::abs(owner.CenterPoint().x - box.CenterPoint().x), 1);
    EXPECT_LE(std::abs(owner.CenterPoint().y - box.CenterPoint().y), 1);
    // Over an owner near the screen's corner the dialog stays on the screen.
    frame_->MoveWindow(-500, -400, 600, 450);
    dlg.CenterWindow();
    dlg.GetWindowRect(&box);
    CRect work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(box.left, work.left);
    EXPECT_GE(box.top, work.top);
}

TEST_F(DialogTest, AFileDialogRequestCarriesFiltersTitleAndFlagsAndReturnsTheChoice) {
    guitest::FileDialogAnswers answers;
    answers.Choose("C:\\images\\board.hex", 2).Cancel(1);
    CFileDialog save(FALSE, "hex", "untitled", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "Hex Files (*.hex)|*.hex|All Files (*.*)|*.*||", frame_);
    save.m_ofn.lpstrInitialDir = "C:\\images";
    save.m_ofn.nFilterIndex = 1;
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), "C:\\images\\board.hex");
    EXPECT_EQ(save.GetFileName(), "board.hex");
    EXPECT_EQ(save.GetFileExt(), "hex");
    EXPECT_EQ(save.GetFileTitle(), "board");
    EXPECT_EQ(save.m_ofn.nFilterIndex, 2u);
    ASSERT_EQ(answers.Seen().size(), 1u);
    const guitest::FileDialogSeen& seen = answers.Seen()[0];
    EXPECT_FALSE(seen.open);
    ASSERT_EQ(seen.filters.size(), 2u);
    EXPECT_EQ(seen.filters[0].first, "Hex Files (*.hex)");
    EXPECT_EQ(seen.filters[1].second, "*.*");
    EXPECT_EQ(seen.initialDir, "C:\\images");
    EXPECT_EQ(seen.initialName, "untitled");
    EXPECT_EQ(seen.defaultExt, "hex");
    EXPECT_TRUE(seen.flags & OFN_OVERWRITEPROMPT);

    CFileDialog open(TRUE);
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_TRUE(answers.Seen()[1].open);
}

}  // namespace
