// The documents' choice dialogs driven as the user drives them: what each shows for the current
// chip, what it hands back after OK, and every way it refuses to close.
#include "guitest/input.h"
#include "shell_test_support.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/shell/choice_dialogs.h"
#include "tarnel/shell/destination_memory_dlg.h"
#include "tarnel/shell/doc_templates.h"
#include "tarnel/shell/memory_options_dlg.h"
#include "tarnel/shell/new_bin_file_dlg.h"
#include "tarnel/shell/resource.h"
#include "tarnel/shell/select_chip_dlg.h"
#include "tarnel/shell/select_file_type_dlg.h"

namespace shell_test {
namespace {

using ChoiceDialogsTest = ShellTest;

bool Checked(CWnd* dlg, int id) { return dlg->IsDlgButtonChecked(id) == BST_CHECKED; }
bool Enabled(CWnd* dlg, int id) { return dlg->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
bool Visible(CWnd* dlg, int id) { return dlg->GetDlgItem(id)->IsWindowVisible() != FALSE; }
bool StaysOpen(CDialog* dlg) { return dlg->ContinueModal() && dlg->IsWindowVisible(); }

std::vector<std::string> ListItems(CWnd* dlg, int id) {
    auto* list = static_cast<CListBox*>(dlg->GetDlgItem(id));
    std::vector<std::string> items;
    for (int i = 0; i < list->GetCount(); ++i) {
        CString text;
        list->GetText(i, text);
        items.push_back(text.str());
    }
    return items;
}

std::vector<std::string> ComboItems(CWnd* dlg, int id) {
    auto* combo = static_cast<CComboBox*>(dlg->GetDlgItem(id));
    std::vector<std::string> items;
    for (int i = 0; i < combo->GetCount(); ++i) {
        CString text;
        combo->GetLBText(i, text);
        items.push_back(text.str());
    }
    return items;
}

int Selection(CWnd* dlg, int id) {
    return static_cast<int>(dlg->SendDlgItemMessage(id, LB_GETCURSEL));
}

// A choice in a list or combo box as the user's click makes it: the selection, then the box's
// notification to the dialog.
void ChooseInList(CWnd* dlg, int id, int index) {
    dlg->SendDlgItemMessage(id, LB_SETCURSEL, static_cast<WPARAM>(index));
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(dlg->GetDlgItem(id)->m_hWnd));
}

void ChooseInCombo(CWnd* dlg, int id, int index) {
    dlg->SendDlgItemMessage(id, CB_SETCURSEL, static_cast<WPARAM>(index));
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(dlg->GetDlgItem(id)->m_hWnd));
}

std::vector<std::string> Lengths(CWnd* dlg) {
    return {guitest::ItemText(dlg, IDC_CHIP_CODE_LENGTH),
            guitest::ItemText(dlg, IDC_CHIP_DATA_LENGTH),
            guitest::ItemText(dlg, IDC_CHIP_SPECIAL_LENGTH)};
}

AreaSizes TableSizes(const char* chip) {
    return {ChipTable::GetCodeSize(chip), ChipTable::GetDataSize(chip),
            ChipTable::GetSpecialSize(chip)};
}

void ExpectSizes(const AreaSizes& got, const AreaSizes& expected, const std::string& what) {
    EXPECT_EQ(got.code, expected.code) << what;
    EXPECT_EQ(got.data, expected.data) << what;
    EXPECT_EQ(got.special, expected.special) << what;
}

// Clicks OK, waits for the message box it brings and tells whether the dialog stayed open.
bool OkIsRefused(CDialog* dlg, const guitest::MessageBoxAnswers& boxes, size_t boxesBefore) {
    guitest::ClickItem(dlg, IDOK);
    guitest::WaitUntil([&] { return boxes.Seen().size() == boxesBefore + 1; });
    guitest::PumpPending();
    return boxes.Seen().size() == boxesBefore + 1 && StaysOpen(dlg);
}

bool IsIconButton(CWnd* dlg, int id) {
    CWnd* button = dlg->GetDlgItem(id);
    return button != nullptr && (button->GetStyle() & BS_TYPEMASK) == BS_OWNERDRAW &&
           dynamic_cast<CIconButton*>(CWnd::FromHandlePermanent(button->m_hWnd)) != nullptr;
}

// Select chip.

TEST_F(ChoiceDialogsTest, SelectChipOpensOnTheCurrentChipWithBoardsAndChipsInTableOrder) {
    App().settings.SetChipName(kPic16);
    guitest::ModalDialogDriver driver;
    std::string title;
    std::vector<std::string> boards;
    int boardChosen = 0;
    std::vector<std::string> chips;
    int chosen = -1;
    std::vector<std::string> shown;
    bool iconButtons = false;
    driver.Then([&](CDialog* dlg) {
        CString text;
        dlg->GetWindowText(text);
        title = text.str();
        boards = ComboItems(dlg, IDC_CHIP_BOARDS);
        boardChosen = static_cast<int>(dlg->SendDlgItemMessage(IDC_CHIP_BOARDS, CB_GETCURSEL));
        chips = ListItems(dlg, IDC_CHIP_LIST);
        chosen = Selection(dlg, IDC_CHIP_LIST);
        shown = Lengths(dlg);
        iconButtons = IsIconButton(dlg, IDOK) && IsIconButton(dlg, IDCANCEL);
        guitest::ClickItem(dlg, IDOK);
    });
    CSelectChipDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(title, "Select chip");
    EXPECT_EQ(boards, (std::vector<std::string>{"CorvaneC", "Halvex", "Pridel"}));
    EXPECT_EQ(boardChosen, CB_ERR);
    ASSERT_EQ(chips.size(), static_cast<size_t>(ChipTable::GetCount()));
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        EXPECT_EQ(chips[static_cast<size_t>(i)], ChipTable::GetEntry(i)->chipName);
    }
    EXPECT_EQ(chosen, ChipTable::IndexOf(kPic16));
    // The code counts words under a PIC current chip, the special area always.
    EXPECT_EQ(shown, (std::vector<std::string>{"8192", "256", "8"}));
    EXPECT_TRUE(iconButtons);
    EXPECT_EQ(dlg.GetChipName(), kPic16);
    ExpectSizes(dlg.GetLengths(), TableSizes(kPic16), kPic16);
}

TEST_F(ChoiceDialogsTest, SelectChipHandsEveryChipLeftAloneBackWithTheTablesSizes) {
    for (const char* current : {kPic18, kAt89S8252, ""}) {
        App().settings.SetChipName(current);
        for (int i = 0; i < ChipTable::GetCount(); ++i) {
            guitest::ModalDialogDriver driver;
            driver.Then([&](CDialog* dlg) {
                ChooseInList(dlg, IDC_CHIP_LIST, i);
                guitest::ClickItem(dlg, IDOK);
            });
            CSelectChipDlg dlg(m_pFrame);
            const char* name = ChipTable::GetEntry(i)->chipName;
            ASSERT_EQ(dlg.DoModal(), IDOK) << name;
            EXPECT_EQ(dlg.GetChipName(), name);
            ExpectSizes(dlg.GetLengths(), TableSizes(name),
                        std::string(name) + " under '" + current + "'");
        }
    }
}

TEST_F(ChoiceDialogsTest, SelectChipTypedCodeCountsWordsOnlyUnderAPicCurrentChip) {
    struct Case {
        const char* current;
        std::string shownCode;
        uint32_t code;
    };
    for (const Case& c : {Case{kPic18, "8192", 200}, Case{kAt89S8252, "16384", 100}}) {
        App().settings.SetChipName(c.current);
        guitest::ModalDialogDriver driver;
        std::string shownCode;
        driver.Then([&](CDialog* dlg) {
            ChooseInList(dlg, IDC_CHIP_LIST, ChipTable::IndexOf(kPic16));
            shownCode = guitest::ItemText(dlg, IDC_CHIP_CODE_LENGTH);
            guitest::SetItemText(dlg, IDC_CHIP_CODE_LENGTH, "100");
            guitest::SetItemText(dlg, IDC_CHIP_DATA_LENGTH, "7");
            guitest::SetItemText(dlg, IDC_CHIP_SPECIAL_LENGTH, "3");
            guitest::ClickItem(dlg, IDOK);
        });
        CSelectChipDlg dlg(m_pFrame);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(shownCode, c.shownCode) << c.current;
        ExpectSizes(dlg.GetLengths(), {c.code, 7, 6}, c.current);
    }
}

TEST_F(ChoiceDialogsTest, SelectChipWithoutAnExactCurrentChipStartsOnTheFirstRow) {
    for (const char* current : {"", "brontal-p: pic16f877a"}) {
        App().settings.SetChipName(current);
        guitest::ModalDialogDriver driver;
        int chosen = -1;
        std::vector<std::string> shown;
        driver.Then([&](CDialog* dlg) {
            chosen = Selection(dlg, IDC_CHIP_LIST);
            shown = Lengths(dlg);
            guitest::ClickItem(dlg, IDCANCEL);
        });
        CSelectChipDlg dlg(m_pFrame);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(chosen, 0) << current;
        EXPECT_EQ(shown, (std::vector<std::string>{"0", "524288", "0"})) << current;
    }
}

TEST_F(ChoiceDialogsTest, SelectChipBoardListsItsChipsAndOkWaitsForOneToBeChosen) {
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    std::vector<std::string> chips;
    int chosen = 0;
    std::vector<std::string> shownAfterBoard;
    bool stayedOpen = false;
    std::vector<std::string> shownAfterChip;
    driver.Then([&](CDialog* dlg) {
        ChooseInCombo(dlg, IDC_CHIP_BOARDS, 1);  // Halvex
        chips = ListItems(dlg, IDC_CHIP_LIST);
        chosen = Selection(dlg, IDC_CHIP_LIST);
        shownAfterBoard = Lengths(dlg);
        guitest::ClickItem(dlg, IDOK);
        guitest::PumpFor(50);
        stayedOpen = StaysOpen(dlg);
        ChooseInList(dlg, IDC_CHIP_LIST, 0);
        shownAfterChip = Lengths(dlg);
        guitest::ClickItem(dlg, IDOK);
    });
    CSelectChipDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(chips, (std::vector<std::string>{kHc908, "Brontal-H: 24C65"}));
    EXPECT_EQ(chosen, LB_ERR);
    EXPECT_EQ(shownAfterBoard, (std::vector<std::string>{"", "", ""}));
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(shownAfterChip, (std::vector<std::string>{"65536", "0", "0"}));
    EXPECT_EQ(dlg.GetChipName(), kHc908);
    ExpectSizes(dlg.GetLengths(), TableSizes(kHc908), kHc908);
}

TEST_F(ChoiceDialogsTest, SelectChipRefusesLengthsOutOfRangeAndStaysOpen) {
    App().settings.SetChipName(kAt89S8252);
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    bool refused[3] = {};
    driver.Then([&](CDialog* dlg) {
        guitest::SetItemText(dlg, IDC_CHIP_CODE_LENGTH, "65537");
        refused[0] = OkIsRefused(dlg, boxes, 0);
        guitest::SetItemText(dlg, IDC_CHIP_CODE_LENGTH, "65536");
        guitest::SetItemText(dlg, IDC_CHIP_SPECIAL_LENGTH, "65536");
        refused[1] = OkIsRefused(dlg, boxes, 1);
        guitest::SetItemText(dlg, IDC_CHIP_SPECIAL_LENGTH, "65535");
        guitest::SetItemText(dlg, IDC_CHIP_DATA_LENGTH, "many");
        refused[2] = OkIsRefused(dlg, boxes, 2);
        guitest::SetItemText(dlg, IDC_CHIP_DATA_LENGTH, "600000");
        guitest::ClickItem(dlg, IDOK);
    });
    CSelectChipDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(refused[0]);
    EXPECT_TRUE(refused[1]);
    EXPECT_TRUE(refused[2]);
    ASSERT_EQ(boxes.Seen().size(), 3u);
    EXPECT_EQ(boxes.Seen()[0].text, "Please enter a whole number from 0 to 65536.");
    EXPECT_EQ(boxes.Seen()[1].text, "Please enter a whole number from 0 to 65535.");
    EXPECT_EQ(boxes.Seen()[2].text, "Please enter a whole number that is not negative.");
    // The data length is not bounded here; the document checks it.
    ExpectSizes(dlg.GetLengths(), {65536, 600000, 131070}, "typed");
}

// Memory settings.

struct MemoryLook {
    bool enabled[3] = {};  // data, code, special
    bool checked[3] = {};
    bool baseEnabled = false;
    std::string base;
};

MemoryLook LookOfMemory(CWnd* dlg) {
    MemoryLook look;
    const int ids[3] = {IDC_MEMORY_DATA, IDC_MEMORY_CODE, IDC_MEMORY_SPECIAL};
    for (int i = 0; i < 3; ++i) {
        look.enabled[i] = Enabled(dlg, ids[i]);
        look.checked[i] = Checked(dlg, ids[i]);
    }
    look.baseEnabled = Enabled(dlg, IDC_MEMORY_BASE);
    look.base = guitest::ItemText(dlg, IDC_MEMORY_BASE);
    return look;
}

TEST_F(ChoiceDialogsTest, MemorySettingsChecksCodeFirstAmongThePresentAreas) {
    App().settings.SetChipName(kPic16);
    guitest::ModalDialogDriver driver;
    MemoryLook look;
    driver.Then([&](CDialog* dlg) {
        look = LookOfMemory(dlg);
        guitest::ClickItem(dlg, IDOK);
    });
    CMemoryOptionsDlg dlg(TRUE, TRUE, TRUE, TRUE, m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(look.enabled[0] && look.enabled[1] && look.enabled[2]);
    EXPECT_TRUE(!look.checked[0] && look.checked[1] && !look.checked[2]);
    EXPECT_TRUE(look.baseEnabled);
    EXPECT_EQ(look.base, "0");
    EXPECT_EQ(dlg.GetMemoryType(), kMemoryCode);
    EXPECT_EQ(dlg.GetBaseAddress(), 0u);
}

TEST_F(ChoiceDialogsTest, MemorySettingsWithoutCodeChecksDataThenSpecialAndLocksTheBase) {
    App().settings.SetChipName(kPic16);
    struct Case {
        BOOL data;
        BOOL special;
        int checked;
        BYTE kind;
    };
    for (const Case& c : {Case{TRUE, TRUE, 0, kMemoryData}, Case{FALSE, TRUE, 2, kMemorySpecial}}) {
        guitest::ModalDialogDriver driver;
        MemoryLook look;
        driver.Then([&](CDialog* dlg) {
            look = LookOfMemory(dlg);
            guitest::ClickItem(dlg, IDOK);
        });
        CMemoryOptionsDlg dlg(c.data, FALSE, c.special, FALSE, m_pFrame);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(look.enabled[0], c.data != FALSE);
        EXPECT_FALSE(look.enabled[1]);
        EXPECT_TRUE(look.enabled[2]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(look.checked[i], i == c.checked) << i;
        }
        EXPECT_FALSE(look.baseEnabled);
        EXPECT_EQ(dlg.GetMemoryType(), c.kind);
    }
}

TEST_F(ChoiceDialogsTest, MemorySettingsRefusesABaseAtTheAreasSizeWithTheLastLocation) {
    App().settings.SetChipName(kAt89S8252);  // code 0x2000, data 0x800
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    bool refused[3] = {};
    driver.Then([&](CDialog* dlg) {
        guitest::SetItemText(dlg, IDC_MEMORY_BASE, "8192");
        refused[0] = OkIsRefused(dlg, boxes, 0);
        guitest::ClickItem(dlg, IDC_MEMORY_DATA);
        guitest::SetItemText(dlg, IDC_MEMORY_BASE, "2048");
        refused[1] = OkIsRefused(dlg, boxes, 1);
        guitest::SetItemText(dlg, IDC_MEMORY_BASE, "0x10");
        refused[2] = OkIsRefused(dlg, boxes, 2);
        guitest::SetItemText(dlg, IDC_MEMORY_BASE, "2047");
        guitest::ClickItem(dlg, IDOK);
    });
    CMemoryOptionsDlg dlg(TRUE, TRUE, FALSE, TRUE, m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(refused[0] && refused[1] && refused[2]);
    ASSERT_EQ(boxes.Seen().size(), 3u);
    EXPECT_EQ(boxes.Seen()[0].text, "Last location = 8191 BaseAddres = 8192");
    EXPECT_EQ(boxes.Seen()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(boxes.Seen()[1].text, "Last location = 2047 BaseAddres = 2048");
    EXPECT_EQ(boxes.Seen()[2].text, "Please enter a whole number that is not negative.");
    EXPECT_EQ(dlg.GetMemoryType(), kMemoryData);
    EXPECT_EQ(dlg.GetBaseAddress(), 2047u);
}

TEST_F(ChoiceDialogsTest, MemorySettingsCancelHandsNothingBack) {
    App().settings.SetChipName(kAt89S8252);
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        guitest::ClickItem(dlg, IDC_MEMORY_DATA);
        guitest::SetItemText(dlg, IDC_MEMORY_BASE, "12");
        guitest::ClickItem(dlg, IDCANCEL);
    });
    CMemoryOptionsDlg dlg(TRUE, TRUE, FALSE, TRUE, m_pFrame);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetMemoryType(), kMemoryData);  // 1 before any choice
    EXPECT_EQ(dlg.GetBaseAddress(), 0u);
}

// Destination memory.

struct DestinationLook {
    bool enabled[3] = {};  // data, code, special
    bool checked[3] = {};
    bool specialVisible = false;
    std::string texts[3];
};

DestinationLook LookOfDestination(CWnd* dlg) {
    DestinationLook look;
    const int ids[3] = {IDC_DESTINATION_DATA, IDC_DESTINATION_CODE, IDC_DESTINATION_SPECIAL};
    for (int i = 0; i < 3; ++i) {
        look.enabled[i] = Enabled(dlg, ids[i]);
        look.checked[i] = Checked(dlg, ids[i]);
        look.texts[i] = guitest::ItemText(dlg, ids[i]);
    }
    look.specialVisible = Visible(dlg, IDC_DESTINATION_SPECIAL);
    return look;
}

TEST_F(ChoiceDialogsTest, DestinationOffersEveryAreaOfTheCurrentChipChecked) {
    App().settings.SetChipName(kPic16);
    guitest::ModalDialogDriver driver;
    DestinationLook look;
    driver.Then([&](CDialog* dlg) {
        look = LookOfDestination(dlg);
        guitest::ClickItem(dlg, IDOK);
    });
    CDestinationMemoryDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(look.enabled[i] && look.checked[i]) << i;
    }
    EXPECT_EQ(look.texts[0], "DATA memory");
    EXPECT_EQ(look.texts[1], "CODE memory");
    EXPECT_EQ(look.texts[2], "SPECIAL memory");
    const AreaChoice chosen = dlg.GetChoices();
    EXPECT_TRUE(chosen.data && chosen.code && chosen.special);
}

TEST_F(ChoiceDialogsTest, DestinationLocksOffTheAreasTheChipLacks) {
    struct Case {
        const char* chip;
        AreaChoice present;
    };
    for (const Case& c :
         {Case{kAt89S8252, {true, true, false}}, Case{kMemoryBoard, {true, false, false}}}) {
        App().settings.SetChipName(c.chip);
        guitest::ModalDialogDriver driver;
        DestinationLook look;
        driver.Then([&](CDialog* dlg) {
            look = LookOfDestination(dlg);
            guitest::ClickItem(dlg, IDOK);
        });
        CDestinationMemoryDlg dlg(m_pFrame);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        const bool present[3] = {c.present.data, c.present.code, c.present.special};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(look.enabled[i], present[i]) << c.chip << " " << i;
            EXPECT_EQ(look.checked[i], present[i]) << c.chip << " " << i;
        }
        const AreaChoice chosen = dlg.GetChoices();
        EXPECT_EQ(chosen.data, c.present.data) << c.chip;
        EXPECT_EQ(chosen.code, c.present.code) << c.chip;
        EXPECT_EQ(chosen.special, c.present.special) << c.chip;
    }
}

TEST_F(ChoiceDialogsTest, DestinationTakesTheBoxesAsTheUserLeavesThem) {
    App().settings.SetChipName(kPic16);
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        guitest::ClickItem(dlg, IDC_DESTINATION_CODE);
        guitest::ClickItem(dlg, IDOK);
    });
    CDestinationMemoryDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const AreaChoice chosen = dlg.GetChoices();
    EXPECT_TRUE(chosen.data);
    EXPECT_FALSE(chosen.code);
    EXPECT_TRUE(chosen.special);
}

TEST_F(ChoiceDialogsTest, DestinationWithTheBoardsLabelsHidesTheThirdBox) {
    App().settings.SetChipName(kAt89S8252);
    guitest::ModalDialogDriver driver;
    DestinationLook look;
    driver.Then([&](CDialog* dlg) {
        look = LookOfDestination(dlg);
        guitest::ClickItem(dlg, IDCANCEL);
    });
    CDestinationMemoryDlg dlg(m_pFrame);
    dlg.UseBoardLabels();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(look.texts[0], " Kestrix CONFIG");
    EXPECT_EQ(look.texts[1], " Kestrix ID");
    EXPECT_EQ(look.texts[2], "");
    EXPECT_FALSE(look.specialVisible);
}

// New bin file.

TEST_F(ChoiceDialogsTest, NewBinFileOffers1024AndTakesAnyWholeNumber) {
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::ModalDialogDriver driver;
    std::string offered;
    bool refused = false;
    driver.Then([&](CDialog* dlg) {
        offered = guitest::ItemText(dlg, IDC_NEW_BIN_LENGTH);
        guitest::SetItemText(dlg, IDC_NEW_BIN_LENGTH, "12k");
        refused = OkIsRefused(dlg, boxes, 0);
        guitest::SetItemText(dlg, IDC_NEW_BIN_LENGTH, "0");
        guitest::ClickItem(dlg, IDOK);
    });
    driver.Then([&](CDialog* dlg) {
        guitest::SetItemText(dlg, IDC_NEW_BIN_LENGTH, "70000");
        guitest::ClickItem(dlg, IDCANCEL);
    });
    CNewBinFileDlg dlg(m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(offered, "1024");
    EXPECT_TRUE(refused);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Please enter a whole number that is not negative.");
    EXPECT_EQ(dlg.GetLength(), 0u);  // no range here: the document refuses it

    CNewBinFileDlg cancelled(m_pFrame);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetLength(), 1024u);
}

// The list-view choices.

std::vector<std::string> ChoiceItems(CWnd* dlg) {
    auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(IDC_CHOICE_LIST));
    std::vector<std::string> items;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        items.push_back(list->GetItemText(i, 0).str());
    }
    return items;
}

void ChooseItem(CWnd* dlg, int index) {
    auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(IDC_CHOICE_LIST));
    list->SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::string Title(CWnd* dlg) {
    CString text;
    dlg->GetWindowText(text);
    return text.str();
}

TEST_F(ChoiceDialogsTest, FileTypeOkWaitsForAChoiceAndGivesTheTemplateAtItsPlace) {
    CPtrList templates;
    for (POSITION pos = App().GetFirstDocTemplatePosition(); pos != nullptr;) {
        templates.AddTail(App().GetNextDocTemplate(pos));
    }
    guitest::ModalDialogDriver driver;
    std::string title;
    std::vector<std::string> items;
    int images = 0;
    bool stayedOpen = false;
    driver.Then([&](CDialog* dlg) {
        title = Title(dlg);
        items = ChoiceItems(dlg);
        auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(IDC_CHOICE_LIST));
        images = ImageList_GetImageCount(
            reinterpret_cast<HIMAGELIST>(list->SendMessage(LVM_GETIMAGELIST, LVSIL_NORMAL)));
        guitest::ClickItem(dlg, IDOK);
        guitest::PumpFor(50);
        stayedOpen = StaysOpen(dlg);
        ChooseItem(dlg, 1);
        guitest::ClickItem(dlg, IDOK);
    });
    CSelectFileTypeDlg dlg(&templates);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(title, "Select File Type");
    EXPECT_EQ(items, (std::vector<std::string>{"Bin File", "Hex File"}));
    EXPECT_EQ(images, 2);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dlg.GetSelectedIndex(), 1);
    EXPECT_EQ(dlg.GetSelectedTemplate(), templates.GetTail());
}

TEST_F(ChoiceDialogsTest, ADoubleClickOnAnItemActsAsOk) {
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        ASSERT_TRUE(guitest::BringToForeground(dlg));
        auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(IDC_CHOICE_LIST));
        RECT item = {LVIR_ICON, 0, 0, 0};
        list->SendMessage(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
        guitest::DoubleClick(guitest::ClientToScreenPoint(list, CRect(item).CenterPoint()));
    });
    CResidentLoaderDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetSelectedIndex(), 1);
}

TEST_F(ChoiceDialogsTest, TheHexFormatMustBeChosenEscapeAndCloseDoNothing) {
    guitest::ModalDialogDriver driver;
    std::string title;
    std::vector<std::string> items;
    bool hasCancel = true;
    bool openAfterEscape = false;
    bool openAfterClose = false;
    driver.Then([&](CDialog* dlg) {
        title = Title(dlg);
        items = ChoiceItems(dlg);
        hasCancel = dlg->GetDlgItem(IDCANCEL) != nullptr;
        ASSERT_TRUE(guitest::BringToForeground(dlg));
        guitest::PressKey(VK_ESCAPE);
        guitest::PumpFor(100);
        openAfterEscape = StaysOpen(dlg);
        dlg->PostMessage(WM_CLOSE);
        guitest::PumpFor(50);
        openAfterClose = StaysOpen(dlg);
        ChooseItem(dlg, 1);
        guitest::ClickItem(dlg, IDOK);
    });
    CHexFormatDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(title, "Select format of HEX file");
    EXPECT_EQ(items, (std::vector<std::string>{"Intel", "Motorola"}));
    EXPECT_FALSE(hasCancel);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(dlg.GetSelectedIndex(), 1);
}

TEST_F(ChoiceDialogsTest, TheResidentLoaderChoiceCanBeEscaped) {
    guitest::ModalDialogDriver driver;
    std::string title;
    std::vector<std::string> items;
    driver.Then([&](CDialog* dlg) {
        title = Title(dlg);
        items = ChoiceItems(dlg);
        ASSERT_TRUE(guitest::BringToForeground(dlg));
        guitest::PressKey(VK_ESCAPE);
    });
    CResidentLoaderDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(title, "Select resident loader");
    EXPECT_EQ(items, (std::vector<std::string>{"Velcor Electronics", "Motorola"}));
    EXPECT_EQ(dlg.GetSelectedIndex(), -1);
}

// The documents' choices through the dialogs.

TEST_F(ChoiceDialogsTest, TheChoicesHandBackWhatTheDialogsGaveOnlyAfterOk) {
    App().settings.SetChipName(kPic16);
    CChoiceDialogs choices;
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) { guitest::ClickItem(dlg, IDOK); });
    driver.Then([&](CDialog* dlg) { guitest::ClickItem(dlg, IDCANCEL); });
    CString chip = "untouched";
    AreaSizes lengths;
    ASSERT_TRUE(choices.SelectChip(chip, lengths));
    EXPECT_EQ(chip, kPic16);
    ExpectSizes(lengths, TableSizes(kPic16), kPic16);
    chip = "untouched";
    EXPECT_FALSE(choices.SelectChip(chip, lengths));
    EXPECT_EQ(chip, "untouched");

    MemoryLook look;
    driver.Then([&](CDialog* dlg) {
        look = LookOfMemory(dlg);
        guitest::ClickItem(dlg, IDC_MEMORY_SPECIAL);
        guitest::ClickItem(dlg, IDOK);
    });
    BYTE kind = 0;
    UINT base = 99;
    ASSERT_TRUE(choices.ChooseMemory({true, false, true}, false, kind, base));
    EXPECT_TRUE(look.enabled[0] && !look.enabled[1] && look.enabled[2]);
    EXPECT_FALSE(look.baseEnabled);
    EXPECT_EQ(kind, kMemorySpecial);
    EXPECT_EQ(base, 0u);

    DestinationLook destination;
    driver.Then([&](CDialog* dlg) {
        destination = LookOfDestination(dlg);
        guitest::ClickItem(dlg, IDC_DESTINATION_DATA);
        guitest::ClickItem(dlg, IDOK);
    });
    AreaChoice chosen;
    ASSERT_TRUE(choices.ChooseDestination(true, chosen));
    EXPECT_EQ(destination.texts[1], " Kestrix ID");
    EXPECT_FALSE(chosen.data);
    EXPECT_TRUE(chosen.code && chosen.special);

    driver.Then([&](CDialog* dlg) {
        guitest::SetItemText(dlg, IDC_NEW_BIN_LENGTH, "300");
        guitest::ClickItem(dlg, IDOK);
    });
    UINT length = 0;
    ASSERT_TRUE(choices.NewBinLength(length));
    EXPECT_EQ(length, 300u);

    driver.Then([&](CDialog* dlg) {
        ChooseItem(dlg, 1);
        guitest::ClickItem(dlg, IDOK);
    });
    EXPECT_EQ(choices.ChooseHexFormat(), 1);

    driver.Then([&](CDialog* dlg) {
        ChooseItem(dlg, 0);
        guitest::ClickItem(dlg, IDOK);
    });
    driver.Then([&](CDialog* dlg) { guitest::ClickItem(dlg, IDCANCEL); });
    int loader = -1;
    ASSERT_TRUE(choices.ChooseResidentLoader(loader));
    EXPECT_EQ(loader, 0);
    loader = -1;
    EXPECT_FALSE(choices.ChooseResidentLoader(loader));
    EXPECT_EQ(loader, -1);
    EXPECT_EQ(driver.Unscripted(), 0);
}

TEST_F(ChoiceDialogsTest, ANewHexImageLeftAloneInTheChipDialogHasTheTablesSizes) {
    CChoiceDialogs choices;
    App().dialogs = &choices;
    App().settings.SetChipName(kPic18);
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        ChooseInList(dlg, IDC_CHIP_LIST, ChipTable::IndexOf(kPic16));
        guitest::ClickItem(dlg, IDOK);
    });
    auto* doc = dynamic_cast<CHexDoc*>(OpenNewDocumentOfType(kHexFileDocName));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(App().settings.ChipName(), kPic16);
    EXPECT_EQ(doc->GetImage().code.Size(), ChipTable::GetCodeSize(kPic16));
    EXPECT_EQ(doc->GetImage().data.Size(), ChipTable::GetDataSize(kPic16));
    EXPECT_EQ(doc->GetImage().special.Size(), ChipTable::GetSpecialSize(kPic16));
}

TEST_F(ChoiceDialogsTest, AnHc908WriteAsksTheResidentLoaderThroughItsDialog) {
    CHexDoc* doc = NewHex(kHc908);
    ASSERT_NE(doc, nullptr);
    CChoiceDialogs choices;
    App().dialogs = &choices;
    guitest::ModalDialogDriver driver;
    driver.Then([&](CDialog* dlg) {
        ChooseItem(dlg, 1);
        guitest::ClickItem(dlg, IDOK);
    });
    doc->WriteChip(FALSE);
    ASSERT_EQ(App().jobs.size(), 1u);
    EXPECT_EQ(App().jobs[0]->loaderChoice, 1);  // the second choice
    EXPECT_EQ(driver.DialogsSeen(), 1);
}

}  // namespace
}  // namespace shell_test
