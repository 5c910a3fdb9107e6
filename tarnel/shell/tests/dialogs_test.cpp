// The Fill, Go-to and PIC configuration dialogs driven as the user drives them.
#include "guitest/input.h"
#include "shell_test_support.h"
#include "tarnel/images/pic_config.h"
#include "tarnel/shell/fill_dlg.h"
#include "tarnel/shell/goto_address_dlg.h"
#include "tarnel/shell/pic16f877a_dlg.h"
#include "tarnel/shell/pic18f4xx_dlg.h"
#include "tarnel/shell/resource.h"

namespace shell_test {
namespace {

using DialogsTest = ShellTest;

bool Checked(CWnd* dlg, int id) { return dlg->IsDlgButtonChecked(id) == BST_CHECKED; }
bool Enabled(CWnd* dlg, int id) { return dlg->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

TEST_F(DialogsTest, FillOpensOnAllWithTheRangeLockedAndFillsWith255) {
    guitest::ModalDialogDriver driver;
    bool all = false;
    bool rangeLocked = false;
    std::string value;
    driver.Then([&](CDialog* dlg) {
        all = Checked(dlg, IDC_FILL_ALL) && !Checked(dlg, IDC_FILL_SELECTION) &&
              !Checked(dlg, IDC_FILL_RANGE);
        rangeLocked = !Enabled(dlg, IDC_FILL_FROM) && !Enabled(dlg, IDC_FILL_TO);
        value = guitest::ItemText(dlg, IDC_FILL_VALUE);
        guitest::ClickItem(dlg, IDOK);
    });
    CFillDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(all);
    EXPECT_TRUE(rangeLocked);
    EXPECT_EQ(value, "255");
    EXPECT_EQ(dlg.m_nMode, CFillDlg::kFillAll);
    EXPECT_EQ(dlg.m_byFill, 255);
}

TEST_F(DialogsTest, RangeUnlocksFromAndToAndTheOtherChoicesLockThemAgain) {
    guitest::ModalDialogDriver driver;
    bool unlocked = false;
    bool lockedAgain = false;
    driver.Then([&](CDialog* dlg) {
        guitest::ClickItem(dlg, IDC_FILL_RANGE);
        guitest::PumpPending();
        unlocked = Enabled(dlg, IDC_FILL_FROM) && Enabled(dlg, IDC_FILL_TO);
        guitest::ClickItem(dlg, IDC_FILL_SELECTION);
        guitest::PumpPending();
        lockedAgain = !Enabled(dlg, IDC_FILL_FROM) && !Enabled(dlg, IDC_FILL_TO);
        guitest::ClickItem(dlg, IDC_FILL_RANGE);
        guitest::SetItemText(dlg, IDC_FILL_FROM, "16");
        guitest::SetItemText(dlg, IDC_FILL_TO, "4000000000");
        guitest::SetItemText(dlg, IDC_FILL_VALUE, "7");
        guitest::ClickItem(dlg, IDOK);
    });
    CFillDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(unlocked);
    EXPECT_TRUE(lockedAgain);
    EXPECT_EQ(dlg.m_nMode, CFillDlg::kFillRange);
    EXPECT_EQ(dlg.m_dwFrom, 16u);
    EXPECT_EQ(dlg.m_dwTo, 4000000000u);
    EXPECT_EQ(dlg.m_byFill, 7);
}

TEST_F(DialogsTest, FillWith256IsRefusedAndTheDialogStaysOpen) {
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    bool stayedOpen = false;
    driver.Then([&](CDialog* dlg) {
        guitest::ClickItem(dlg, IDC_FILL_SELECTION);
        guitest::SetItemText(dlg, IDC_FILL_VALUE, "256");
        guitest::ClickItem(dlg, IDOK);
        guitest::WaitUntil([&] { return boxes.Seen().size() == 1; });
        guitest::PumpPending();
        stayedOpen = dlg->ContinueModal() && dlg->IsWindowVisible();
        guitest::SetItemText(dlg, IDC_FILL_VALUE, "0");
        guitest::ClickItem(dlg, IDOK);
    });
    CFillDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Please enter a whole number from 0 to 255.");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dlg.m_nMode, CFillDlg::kFillSelection);
    EXPECT_EQ(dlg.m_byFill, 0);
}

// Types into the focused field of a dialog with real keys, replacing its text.
void TypeReplacing(CDialog* dlg, int id, const char* text) {
    CWnd* field = dlg->GetDlgItem(id);
    field->SetFocus();
    field->SendMessage(EM_SETSEL, 0, -1);
    guitest::TypeText(text);
}

TEST_F(DialogsTest, GoToKeepsHexAndDecimalInStepAsKeysAreReleased) {
    App().settings.SetGotoAddress(0x2A);
    guitest::ModalDialogDriver driver;
    std::string opened[2];
    bool hexFocused = false;
    std::string afterHex;
    std::string afterBadDigit;
    std::string afterDecimal;
    driver.Then([&](CDialog* dlg) {
        opened[0] = guitest::ItemText(dlg, IDC_GOTO_HEX);
        opened[1] = guitest::ItemText(dlg, IDC_GOTO_DEC);
        hexFocused = ::GetFocus() == dlg->GetDlgItem(IDC_GOTO_HEX)->m_hWnd;
        ASSERT_TRUE(guitest::BringToForeground(dlg));
        TypeReplacing(dlg, IDC_GOTO_HEX, "1F");
        guitest::WaitUntil([&] { return guitest::ItemText(dlg, IDC_GOTO_DEC) == "31"; });
        afterHex = guitest::ItemText(dlg, IDC_GOTO_DEC);
        TypeReplacing(dlg, IDC_GOTO_HEX, "1G");
        guitest::WaitUntil([&] { return guitest::ItemText(dlg, IDC_GOTO_DEC) == "1"; });
        afterBadDigit = guitest::ItemText(dlg, IDC_GOTO_DEC);
        TypeReplacing(dlg, IDC_GOTO_DEC, "-2");
        guitest::WaitUntil([&] { return guitest::ItemText(dlg, IDC_GOTO_HEX) == "FFFFFFFE"; });
        afterDecimal = guitest::ItemText(dlg, IDC_GOTO_HEX);
        TypeReplacing(dlg, IDC_GOTO_DEC, "300");
        guitest::WaitUntil([&] { return guitest::ItemText(dlg, IDC_GOTO_HEX) == "12C"; });
        guitest::ClickItem(dlg, IDOK);
    });
    CGotoAddressDlg dlg(m_pFrame);
    EXPECT_EQ(dlg.m_dwAddress, 0x2Au);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(opened[0], "2A");
    EXPECT_EQ(opened[1], "42");
    EXPECT_TRUE(hexFocused);
    EXPECT_EQ(afterHex, "31");
    EXPECT_EQ(afterBadDigit, "1");
    EXPECT_EQ(afterDecimal, "FFFFFFFE");
    EXPECT_EQ(dlg.m_dwAddress, 300u);
    EXPECT_EQ(App().settings.GotoAddress(), 300);
}

TEST_F(DialogsTest, GoToClearedFieldEmptiesTheOtherAndTextWithoutKeysChangesNothing) {
    App().settings.SetGotoAddress(77);
    guitest::ModalDialogDriver driver;
    std::string cleared;
    std::string afterPaste;
    driver.Then([&](CDialog* dlg) {
        ASSERT_TRUE(guitest::BringToForeground(dlg));
        CWnd* dec = dlg->GetDlgItem(IDC_GOTO_DEC);
        dec->SetFocus();
        dec->SendMessage(EM_SETSEL, 0, -1);
        guitest::PressKey(VK_DELETE);
        guitest::WaitUntil([&] { return guitest::ItemText(dlg, IDC_GOTO_HEX).empty(); });
        cleared = guitest::ItemText(dlg, IDC_GOTO_HEX);
        // Text put in without a key (as a paste with the mouse does) is not followed.
        guitest::SetItemText(dlg, IDC_GOTO_DEC, "99");
        guitest::PumpFor(100);
        afterPaste = guitest::ItemText(dlg, IDC_GOTO_HEX);
        guitest::ClickItem(dlg, IDOK);
    });
    CGotoAddressDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(cleared, "");
    EXPECT_EQ(afterPaste, "");
    EXPECT_EQ(dlg.m_dwAddress, 0u);
    EXPECT_EQ(App().settings.GotoAddress(), 0);
}

TEST_F(DialogsTest, GoToCancelLeavesTheSettingAlone) {
    App().settings.SetGotoAddress(5);
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        CWnd* hex = dlg->GetDlgItem(IDC_GOTO_HEX);
        hex->SetWindowText("40");
        hex->SendMessage(WM_KEYUP, '0', 0xC0000001);  // a released key: the address follows
        guitest::ClickItem(dlg, IDCANCEL);
    });
    CGotoAddressDlg dlg(m_pFrame);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_dwAddress, 0x40u);
    EXPECT_EQ(App().settings.GotoAddress(), 5);
}

void PutPic16Word(CHexDoc* doc, uint16_t word) {
    doc->GetImage().special.cells[14] = static_cast<uint8_t>(word >> 8);
    doc->GetImage().special.cells[15] = static_cast<uint8_t>(word);
}

uint16_t Pic16Word(CHexDoc* doc) {
    return static_cast<uint16_t>(doc->GetImage().special.cells[14] << 8 |
                                 doc->GetImage().special.cells[15]);
}

TEST_F(DialogsTest, Pic16WordShowsItsBitsAndOkWritesTheSameWordBack) {
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    // HS oscillator, brown-out on, power-up timer and watchdog bits clear, write protection
    // off, bits 13, 12, 5 and 4 set.
    const uint16_t word = 0x2000 | 0x1000 | 0x0600 | 0x0040 | 0x0030 | 0x0002;
    PutPic16Word(doc, word);
    doc->GetImage().special.marks[14] = kMarkEmpty;
    guitest::ModalDialogDriver driver;
    std::string title;
    bool hs = false;
    bool brownOut = false;
    bool powerUpLocked = false;
    bool watchdog = true;
    bool writeOff = false;
    driver.Then([&](CDialog* dlg) {
        CString text;
        dlg->GetWindowText(text);
        title = text.str();
        hs = Checked(dlg, IDC_PIC16_OSC_HS) && !Checked(dlg, IDC_PIC16_OSC_RC);
        brownOut = Checked(dlg, IDC_PIC16_BOREN);
        powerUpLocked = Checked(dlg, IDC_PIC16_PWRT) && !Enabled(dlg, IDC_PIC16_PWRT);
        watchdog = Checked(dlg, IDC_PIC16_WDT);
        writeOff = Checked(dlg, IDC_PIC16_WRT_OFF);
        guitest::ClickItem(dlg, IDOK);
    });
    CPic16F877ADlg dlg(doc, m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(title, kPic16);
    EXPECT_TRUE(hs);
    EXPECT_TRUE(brownOut);
    EXPECT_TRUE(powerUpLocked);
    EXPECT_FALSE(watchdog);
    EXPECT_TRUE(writeOff);
    EXPECT_EQ(Pic16Word(doc), word);
    EXPECT_EQ(doc->GetImage().special.marks[14], kMarkData);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DialogsTest, Pic16UncheckingBrownOutUnlocksAndUnchecksThePowerUpTimer) {
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    PutPic16Word(doc, 0x3FFF);  // brown-out on, power-up timer off
    guitest::ModalDialogDriver driver;
    bool unlocked = false;
    bool unchecked = false;
    driver.Then([&](CDialog* dlg) {
        guitest::ClickItem(dlg, IDC_PIC16_BOREN);
        guitest::PumpPending();
        unlocked = Enabled(dlg, IDC_PIC16_PWRT);
        unchecked = !Checked(dlg, IDC_PIC16_PWRT);
        guitest::ClickItem(dlg, IDOK);
    });
    CPic16F877ADlg dlg(doc, m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(unlocked);
    EXPECT_TRUE(unchecked);
    EXPECT_EQ(Pic16Word(doc), 0x3FFF & ~0x0040);  // power-up timer bit 3 set: disabled
}

TEST_F(DialogsTest, Pic16WithoutAnImageOrWithoutRoomForTheWordWritesNothing) {
    guitest::ModalDialogDriver driver;
    bool nothingChecked = true;
    driver.Then([&](CDialog* dlg) {
        for (const auto& control : DecodeConfig(Pic16F877ALayout(), {0})) {
            nothingChecked = nothingChecked && !Checked(dlg, control.first);
        }
        guitest::ClickItem(dlg, IDOK);
    });
    CPic16F877ADlg none(nullptr, m_pFrame);
    EXPECT_EQ(none.DoModal(), IDOK);
    EXPECT_TRUE(nothingChecked);

    App().AnswerChip(kPic16, {0x4000, 0x100, 14});  // seven words: no cell 14
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->GetImage().special.Size(), 14u);
    driver.Then([&](CDialog* dlg) {
        dlg->CheckDlgButton(IDC_PIC16_WDT, BST_CHECKED);
        guitest::ClickItem(dlg, IDOK);
    });
    CPic16F877ADlg dlg(doc, m_pFrame);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DialogsTest, Pic18OkRebuildsElevenRegistersAndLeavesTheOtherThreeAlone) {
    CHexDoc* doc = NewHex(kPic18);
    ASSERT_NE(doc, nullptr);
    ImageArea& special = doc->GetImage().special;
    for (size_t cell = 0; cell < special.Size(); ++cell) {
        special.cells[cell] = static_cast<uint8_t>(0xA0 + cell);
        special.marks[cell] = kMarkEmpty;
    }
    special.cells[0] = 0x02;  // HS oscillator, OSCSEN option clear
    guitest::ModalDialogDriver driver;
    bool hs = false;
    bool ccp2Enabled = false;
    driver.Then([&](CDialog* dlg) {
        hs = Checked(dlg, IDC_PIC18_OSC_HS) && !Checked(dlg, IDC_PIC18_OSCSEN);
        ccp2Enabled = Enabled(dlg, IDC_PIC18_CCP2MX);
        guitest::ClickItem(dlg, IDC_PIC18_OSC_XT);
        guitest::ClickItem(dlg, IDOK);
    });
    CPic18F4xxDlg dlg(doc, m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(hs);
    EXPECT_TRUE(ccp2Enabled);
    EXPECT_EQ(special.cells[0], 0x01);  // XT, nothing else kept
    for (int untouched : {1, 5, 6}) {
        EXPECT_EQ(special.cells[static_cast<size_t>(untouched)], 0xA0 + untouched) << untouched;
        EXPECT_EQ(special.marks[static_cast<size_t>(untouched)], kMarkEmpty) << untouched;
    }
    for (int cell : Pic18WrittenCells()) {
        EXPECT_EQ(special.marks[static_cast<size_t>(cell)], kMarkData) << cell;
    }
    // Register bits without a control come back as 0, the others as they were.
    EXPECT_EQ(special.cells[2], (0xA2 & 0x0F));
    EXPECT_EQ(special.cells[7], (0xA7 & 0x85));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DialogsTest, Pic18TheCcp2BoxIsLockedForThePic18F458Only) {
    for (const char* chip : {kPic18F458, kPic18}) {
        CHexDoc* doc = NewHex(chip);
        ASSERT_NE(doc, nullptr);
        guitest::ModalDialogDriver driver;
        bool enabled = false;
        std::string title;
        driver.Then([&](CDialog* dlg) {
            enabled = Enabled(dlg, IDC_PIC18_CCP2MX);
            CString text;
            dlg->GetWindowText(text);
            title = text.str();
            guitest::ClickItem(dlg, IDCANCEL);
        });
        CPic18F4xxDlg dlg(doc, m_pFrame);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(enabled, chip != kPic18F458) << chip;
        EXPECT_EQ(title, chip);
        EXPECT_FALSE(doc->IsModified());
    }
}

}  // namespace
}  // namespace shell_test
