// The Messages window fed by posted lines (its limit, clearing, kinds, icons and beep, presses
// swallowed) and the settings bar's two lists kept in step with the settings.
#include <string>

#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"
#include "shell_test_support.h"
#include "tarnel/programming/port_names.h"
#include "tarnel/shell/message_bar.h"
#include "tarnel/shell/resource.h"
#include "tarnel/shell/settings_bar.h"

namespace shell_test {
namespace {

class MessageBarTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(m_bar.Create(m_pFrame, 104, "Messages", 400, 120, CBRS_ALIGN_BOTTOM, 0));
        m_bar.SetWindowPos(nullptr, 0, 300, 400, 120, 0);  // above the MDI client
        guitest::PumpPending();
    }
    void TearDown() override {
        m_bar.DestroyWindow();
        ShellTest::TearDown();
    }

    CMessageList& List() { return m_bar.List(); }
    // Every line repaints a shown list at once; a hidden one takes many lines quickly.
    void Quiet() {
        m_bar.ShowWindow(SW_HIDE);
        guitest::PumpPending();
    }
    void Post(const std::string& text, int kind) {
        ASSERT_TRUE(PostMessageLine(List().m_hWnd, text.c_str(), kind));
    }
    void PostLines(int count, int first = 0) {
        for (int i = first; i < first + count; ++i) {
            Post("line " + std::to_string(i), kMessagePlain);
        }
        guitest::PumpPending();
    }
    std::string Item(int index) { return std::string(List().GetItemText(index, 0)); }
    int Image(int index) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        List().SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }

    CMessageBar m_bar;
};

TEST_F(MessageBarTest, HoldsAHeaderlessReportListWithTheKindsIcons) {
    CWnd* list = m_bar.GetDlgItem(IDC_MESSAGE_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->m_hWnd, List().m_hWnd);
    EXPECT_TRUE(List().IsWindowVisible());
    const DWORD style = List().GetStyle();
    EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    EXPECT_TRUE(style & LVS_NOCOLUMNHEADER);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_TRUE(List().GetExtendedStyle() & LVS_EX_FLATSB);
    EXPECT_EQ(List().SendMessage(LVM_GETCOLUMNWIDTH, 0), 1500);
    HIMAGELIST small =
        reinterpret_cast<HIMAGELIST>(List().SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(List().SendMessage(LVM_GETIMAGELIST, LVSIL_NORMAL)),
              small);
    EXPECT_EQ(ImageList_GetImageCount(small), 6);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(small, &cx, &cy);
    EXPECT_EQ(cx, 13);
    // The docking window placed its child inside itself at the position change.
    CRect inside;
    List().GetClientRect(&inside);
    EXPECT_GT(inside.Width(), 300);
    EXPECT_GT(inside.Height(), 40);
}

TEST_F(MessageBarTest, KeepsTheLast201LinesInOrderAndShowsTheNewest) {
    PostLines(250);
    ASSERT_EQ(List().GetItemCount(), 201);
    EXPECT_EQ(Item(0), "line 49");
    EXPECT_EQ(Item(100), "line 149");
    EXPECT_EQ(Item(200), "line 249");
    EXPECT_GE(List().GetTopIndex() + List().GetCountPerPage(), 201);
}

TEST_F(MessageBarTest, ClearAllEmptiesAFullListAndAShorterOne) {
    Quiet();
    for (int lines : {201, 150}) {
        PostLines(lines);
        ASSERT_EQ(List().GetItemCount(), lines);
        Post("", kMessageClearAll);
        guitest::PumpPending();
        EXPECT_EQ(List().GetItemCount(), 0) << lines;
        PostLines(1, 500);
        EXPECT_EQ(Item(0), "line 500");  // the list takes lines again
        Post("", kMessageClearAll);
        guitest::PumpPending();
    }
}

TEST_F(MessageBarTest, AnUnknownKindAddsNothingButAFullListStillDropsItsOldest) {
    Quiet();
    PostLines(10);
    Post("ignored", 7);
    Post("ignored", 6);
    Post("ignored", -1);
    guitest::PumpPending();
    ASSERT_EQ(List().GetItemCount(), 10);
    EXPECT_EQ(Item(9), "line 9");

    PostLines(191, 10);
    ASSERT_EQ(List().GetItemCount(), 201);
    Post("ignored", 7);
    guitest::PumpPending();
    ASSERT_EQ(List().GetItemCount(), 200);
    EXPECT_EQ(Item(0), "line 1");
    EXPECT_EQ(Item(199), "line 200");
}

TEST_F(MessageBarTest, EachKindShowsItsIconAndOnlyAFailureBeeps) {
    guitest::BeepRecorder beeps;
    for (int kind = kMessagePlain; kind <= kMessageAdvice; ++kind) {
        Post("kind " + std::to_string(kind), kind);
    }
    guitest::PumpPending();
    ASSERT_EQ(List().GetItemCount(), 6);
    for (int kind = kMessagePlain; kind <= kMessageAdvice; ++kind) {
        EXPECT_EQ(Image(kind), kind);
        EXPECT_EQ(Item(kind), "kind " + std::to_string(kind));
    }
    ASSERT_EQ(beeps.Seen().size(), 1u);
    EXPECT_EQ(beeps.Seen()[0], static_cast<UINT>(MB_ICONEXCLAMATION));
    Post("", kMessageClearAll);
    Post("again", kMessageFailure);
    guitest::PumpPending();
    EXPECT_EQ(beeps.Seen().size(), 2u);
}

TEST_F(MessageBarTest, ALongTextIsCutTo255Characters) {
    Post(std::string(400, 'x'), kMessageInformation);
    guitest::PumpPending();
    EXPECT_EQ(Item(0), std::string(255, 'x'));
}

TEST_F(MessageBarTest, PressesNeitherSelectNorTakeTheFocus) {
    PostLines(3);
    ASSERT_TRUE(guitest::BringToForeground(m_pFrame));
    m_pFrame->SetFocus();
    guitest::PumpPending();
    HWND focusBefore = ::GetFocus();
    CRect item;
    List().SendMessage(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const CPoint at =
        guitest::ClientToScreenPoint(&List(), CPoint(item.left + 20, item.CenterPoint().y));
    ASSERT_EQ(::WindowFromPoint(at), List().m_hWnd);
    for (bool right : {false, true}) {
        guitest::Click(at, right);
        guitest::PumpFor(100);
        EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), -1) << right;
        EXPECT_EQ(::GetFocus(), focusBefore) << right;
    }
}

class SettingsBarTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(m_bar.Create(m_pFrame, IDD_SETTINGS_BAR, CBRS_TOP, IDD_SETTINGS_BAR));
        for (const char* port : {"COM1", "COM2", "COM3", "COM4"}) {
            m_bar.PortCombo()->AddString(port);
        }
        CStringArray chips;
        BuildChipNameList(chips);
        for (INT_PTR i = 0; i < chips.GetSize(); ++i) {
            m_bar.ChipCombo()->AddString(chips[i]);
        }
        App().settings.SetCommPort("COM1");
        App().settings.SetChipName("");
        guitest::PumpPending();
    }
    void TearDown() override {
        m_bar.DestroyWindow();
        ShellTest::TearDown();
    }
    std::string Selected(CComboBox* combo) {
        const int sel = combo->GetCurSel();
        if (sel == CB_ERR) {
            return "";
        }
        CString text;
        combo->GetLBText(sel, text);
        return std::string(text);
    }

    CSettingsBar m_bar{App().settings};
};

TEST_F(SettingsBarTest, SelectsAnOfferedPortAndRefusesAnyOtherWithTheBox) {
    guitest::MessageBoxAnswers boxes(IDOK);
    m_bar.SelectPort("COM3");
    EXPECT_EQ(Selected(m_bar.PortCombo()), "COM3");
    EXPECT_TRUE(boxes.Seen().empty());

    for (const char* refused : {"COM7", "com2", ""}) {
        m_bar.SelectPort("COM2");
        m_bar.SelectPort(refused);
        EXPECT_EQ(m_bar.PortCombo()->GetCurSel(), CB_ERR) << refused;
    }
    ASSERT_EQ(boxes.Seen().size(), 3u);
    for (const guitest::BoxSeen& box : boxes.Seen()) {
        EXPECT_EQ(box.text, "Port can not be opened.");
    }
    EXPECT_EQ(std::string(App().settings.CommPort()), "COM1");  // selecting writes nothing
}

TEST_F(SettingsBarTest, SelectsOnlyAChipNamedExactly) {
    EXPECT_EQ(std::string(m_bar.GetSelectedChip()), "");
    m_bar.SelectChip(kPic16);
    EXPECT_EQ(std::string(m_bar.GetSelectedChip()), kPic16);

    std::string otherCase(kPic18);
    for (char& c : otherCase) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    m_bar.SelectChip(otherCase.c_str());
    m_bar.SelectChip("Brontal-P: PIC99X1");
    EXPECT_EQ(std::string(m_bar.GetSelectedChip()), kPic16);

    // A list whose only spelling of the chip differs in case does not match the table's name.
    CComboBox* chips = m_bar.ChipCombo();
    chips->DeleteString(chips->FindStringExact(-1, kPic18));
    chips->InsertString(0, otherCase.c_str());
    m_bar.SelectChip(kPic18);
    EXPECT_EQ(std::string(m_bar.GetSelectedChip()), kPic16);

    // A table name the list does not hold changes nothing either.
    m_bar.ChipCombo()->DeleteString(m_bar.ChipCombo()->FindStringExact(-1, kAt89S8252));
    m_bar.SelectChip(kAt89S8252);
    EXPECT_EQ(std::string(m_bar.GetSelectedChip()), kPic16);
    EXPECT_EQ(std::string(App().settings.ChipName()), "");
}

TEST_F(SettingsBarTest, TheUsersChoiceBecomesTheSetting) {
    m_bar.SelectPort("COM2");
    m_bar.SelectChip(kPic16);
    SendKey(m_bar.PortCombo(), VK_DOWN);
    SendKey(m_bar.ChipCombo(), VK_DOWN);
    guitest::PumpPending();
    EXPECT_EQ(std::string(App().settings.CommPort()), "COM3");
    EXPECT_EQ(Selected(m_bar.ChipCombo()), std::string(App().settings.ChipName()));
    EXPECT_NE(std::string(App().settings.ChipName()), kPic16);
    EXPECT_FALSE(App().settings.ChipName().IsEmpty());
}

TEST_F(SettingsBarTest, TheChipListCanBeDisabledAndEnabledAgain) {
    CComboBox* chips = m_bar.ChipCombo();
    m_bar.DisableChipCombo();
    EXPECT_FALSE(chips->IsWindowEnabled());
    m_bar.DisableChipCombo();
    EXPECT_FALSE(chips->IsWindowEnabled());
    m_bar.EnableChipCombo();
    EXPECT_TRUE(chips->IsWindowEnabled());
    EXPECT_TRUE(m_bar.PortCombo()->IsWindowEnabled());
}

}  // namespace
}  // namespace shell_test
