// The tabbed view of .hex images in an MDI child frame: a tab per present area with the labels
// and display of the current chip, the active area of the selected tab, go-to, mismatch marks
// and the document's updates reaching every area's editor.
#include "guitest/input.h"
#include "shell_test_ids.h"
#include "shell_test_support.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/shell/file_view.h"

namespace shell_test {
namespace {

class FileViewTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        m_template = std::make_unique<CMultiDocTemplate>(IDR_TEST_HEXTYPE, RUNTIME_CLASS(CHexDoc),
                                                         RUNTIME_CLASS(CMDIChildWnd),
                                                         RUNTIME_CLASS(CFileView));
        m_template->LoadTemplate();
    }
    void TearDown() override {
        m_template->CloseAllDocuments(FALSE);
        guitest::PumpPending();
        ShellTest::TearDown();
        m_template.reset();
    }

    // A new image of the chip with the given area lengths, shown in a tabbed view.
    CFileView* Open(const char* chip, AreaSizes lengths) {
        App().AnswerChip(chip, lengths);
        m_doc = dynamic_cast<CHexDoc*>(m_template->OpenDocumentFile(nullptr));
        EXPECT_NE(m_doc, nullptr);
        if (m_doc == nullptr) {
            return nullptr;
        }
        guitest::PumpPending();
        for (POSITION pos = m_doc->GetFirstViewPosition(); pos != nullptr;) {
            if (auto* view = dynamic_cast<CFileView*>(m_doc->GetNextView(pos))) {
                return view;
            }
        }
        return nullptr;
    }
    CFileView* Open(const char* chip) {
        return Open(chip, {ChipTable::GetCodeSize(chip), ChipTable::GetDataSize(chip),
                           ChipTable::GetSpecialSize(chip)});
    }
    static std::vector<std::string> Labels(CFileView* view) {
        std::vector<std::string> labels;
        CTabCtrl& tabs = view->GetTabCtrl();
        for (int i = 0; i < tabs.GetItemCount(); ++i) {
            char text[32] = {};
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            tabs.SendMessage(TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            labels.emplace_back(text);
        }
        return labels;
    }
    // Chooses a tab with the real mouse and waits until its editor is the active page.
    static void ClickTab(CFileView* view, int tab) {
        CRect item;
        ASSERT_TRUE(view->GetTabCtrl().GetItemRect(tab, &item));
        ASSERT_TRUE(guitest::BringToForeground(AfxGetMainWnd()));
        guitest::Click(guitest::ClientToScreenPoint(view, item.CenterPoint()));
        ASSERT_TRUE(
            guitest::WaitUntil([&] { return view->GetActiveView() == view->GetView(tab); }, 3000));
    }

    std::unique_ptr<CMultiDocTemplate> m_template;
    CHexDoc* m_doc = nullptr;
};

TEST_F(FileViewTest, APicImageHasCodeDataAndSpecialTabsInWordByteAndWordMode) {
    CFileView* view = Open(kPic16);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Labels(view), (std::vector<std::string>{"Code", "Data", "Special"}));
    ASSERT_NE(view->m_pCodeView, nullptr);
    ASSERT_NE(view->m_pDataView, nullptr);
    ASSERT_NE(view->m_pSpecialView, nullptr);
    EXPECT_EQ(view->GetView(0), view->m_pCodeView);
    EXPECT_EQ(view->GetView(2), view->m_pSpecialView);
    EXPECT_TRUE(view->m_pCodeView->Model().WordMode());
    EXPECT_FALSE(view->m_pDataView->Model().WordMode());
    EXPECT_TRUE(view->m_pSpecialView->Model().WordMode());
    // Each editor shows its own area of the document.
    EXPECT_EQ(view->m_pCodeView->Model().Cells(), m_doc->GetImage().code.cells.data());
    EXPECT_EQ(view->m_pDataView->Model().Size(), 0x100);
    EXPECT_EQ(view->m_pSpecialView->Model().Size(), 0x10);
    // The first tab is shown, the frame maximised, and the document asks this view.
    EXPECT_TRUE(view->m_pCodeView->IsWindowVisible());
    EXPECT_FALSE(view->m_pDataView->IsWindowVisible());
    EXPECT_TRUE(view->GetParentFrame()->IsZoomed());
    EXPECT_EQ(m_doc->GetAreaViews(), static_cast<IAreaViews*>(view));
    EXPECT_STREQ(view->GetRuntimeClass()->m_lpszClassName, "CFileView");
}

TEST_F(FileViewTest, AByteChipsCodeTabShowsBytes) {
    CFileView* view = Open(kAt89S8252);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Labels(view), (std::vector<std::string>{"Code", "Data"}));
    EXPECT_FALSE(view->m_pCodeView->Model().WordMode());
    EXPECT_EQ(view->m_pSpecialView, nullptr);
}

TEST_F(FileViewTest, WithoutACodeAreaTheSecondTabIsTheSpecialArea) {
    CFileView* view = Open(kPic16, {0, 0x100, 0x10});
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Labels(view), (std::vector<std::string>{"Data", "Special"}));
    EXPECT_EQ(view->m_pCodeView, nullptr);
    EXPECT_EQ(view->GetActiveArea(), 1);

    ClickTab(view, 1);
    EXPECT_EQ(view->GetActiveArea(), 2);
    EXPECT_TRUE(view->m_pSpecialView->IsWindowVisible());
    ClickTab(view, 0);
    EXPECT_EQ(view->GetActiveArea(), 1);
}

TEST_F(FileViewTest, TheKestrixBoardInAnyCaseGetsIdAndConfigTabs) {
    CFileView* view = Open("kestrix", {0x20, 0x40, 0});
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Labels(view), (std::vector<std::string>{"ID", "Config"}));
    const HexEditorModel& id = view->m_pCodeView->Model();
    EXPECT_FALSE(id.ShowAddress());
    EXPECT_TRUE(id.ShowHex());
    EXPECT_TRUE(id.ShowChars());
    EXPECT_EQ(id.BaseAddress(), 0u);
    EXPECT_FALSE(id.WordMode());  // not a chip of the table: byte cells
    const HexEditorModel& config = view->m_pDataView->Model();
    EXPECT_TRUE(config.ShowAddress());
    EXPECT_EQ(config.BaseAddress(), 0x10u);
    EXPECT_EQ(config.RowAddress(0), 0x10u);  // the first row reads 00000010
}

TEST_F(FileViewTest, AMismatchOfCodeWordFiveMarksCellsTenAndEleven) {
    CFileView* view = Open(kPic16);
    ASSERT_NE(view, nullptr);
    const std::vector<uint8_t>& marks = m_doc->GetImage().code.marks;
    const std::vector<uint8_t> before = marks;
    ASSERT_NE(before[10], 2);
    m_doc->MarkMismatch(5, 2);
    EXPECT_EQ(marks[10], 2);
    EXPECT_EQ(marks[11], 2);
    EXPECT_EQ(marks[9], before[9]);
    EXPECT_EQ(marks[12], before[12]);
    EXPECT_EQ(view->m_pCodeView->Model().Marks(), marks.data());
}

TEST_F(FileViewTest, AMismatchInAnAbsentAreaChangesNothing) {
    CFileView* view = Open(kPic16, {0, 0x100, 0x10});
    ASSERT_NE(view, nullptr);
    const MemoryImage before = m_doc->GetImage();
    m_doc->MarkMismatch(5, 2);  // code
    m_doc->MarkMismatch(5, 5);  // code of byte cells
    m_doc->MarkMismatch(5, 3);  // no such kind
    EXPECT_EQ(m_doc->GetImage().data.marks, before.data.marks);
    EXPECT_EQ(m_doc->GetImage().special.marks, before.special.marks);
    EXPECT_FALSE(m_doc->GetImage().code.Present());
}

TEST_F(FileViewTest, GoToAddressLandsOnTheCellLabelledWithTheAddress) {
    CFileView* view = Open(kPic16);
    ASSERT_NE(view, nullptr);
    m_doc->GoToAddress(0x21);  // code words: two cells each
    EXPECT_EQ(view->m_pCodeView->Model().Cursor(), 0x42);
    ClickTab(view, 1);
    m_doc->GoToAddress(0x21);
    EXPECT_EQ(view->m_pDataView->Model().Cursor(), 0x21);
    ClickTab(view, 2);
    m_doc->GoToAddress(3);
    EXPECT_EQ(view->m_pSpecialView->Model().Cursor(), 6);
}

TEST_F(FileViewTest, GoToAddressInACodeAreaOfBytesLandsOnTheCellOfThatLabel) {
    CFileView* view = Open(kAt89S8252);
    ASSERT_NE(view, nullptr);
    m_doc->GoToAddress(0x123);
    const HexEditorModel& code = view->m_pCodeView->Model();
    const int cell = code.Cursor();
    const uint32_t label = code.RowAddress(cell / code.CellsPerRow()) +
                           static_cast<uint32_t>(cell % code.CellsPerRow());
    EXPECT_EQ(label, 0x123u);
}

TEST_F(FileViewTest, TheDocumentsUpdateGivesEveryEditorItsNewArea) {
    CFileView* view = Open(kPic16);
    ASSERT_NE(view, nullptr);
    MemoryImage& image = m_doc->GetImage();
    ASSERT_TRUE(image.data.Allocate(0x40));
    ASSERT_TRUE(image.code.Allocate(0x80));
    m_doc->UpdateAllViews(nullptr);
    EXPECT_EQ(view->m_pDataView->Model().Size(), 0x40);
    EXPECT_EQ(view->m_pDataView->Model().Cells(), image.data.cells.data());
    EXPECT_EQ(view->m_pCodeView->Model().Size(), 0x80);
    EXPECT_EQ(view->m_pCodeView->Model().Cells(), image.code.cells.data());
    EXPECT_EQ(view->m_pCodeView->Model().RowCount(),
              0x80 / view->m_pCodeView->Model().CellsPerRow());
}

}  // namespace
}  // namespace shell_test
