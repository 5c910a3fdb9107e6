// The image documents in the framework: new, edit, save and open again for .bin and .hex images,
// the save question after fills, PIC edits and reads, the raw save of over-long images, length
// bounds, file times and the template lookup.
#include <cstring>

#include "shell_test_support.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/images/hex_writer.h"
#include "tarnel/shell/doc_templates.h"
#include "tarnel/shell/file_time.h"
#include "tarnel/shell/pic16f877a_dlg.h"
#include "tarnel/shell/resource.h"

namespace shell_test {
namespace {

using DocumentsTest = ShellTest;

std::string SaveChangesPrompt(CDocument* doc) {
    return "Save changes to " + doc->GetTitle().str() + "?";
}

TEST_F(DocumentsTest, ABinImageEditedInItsViewIsSavedAndOpensAgainWithTheEdits) {
    const std::string path = TempFile("round.bin");
    CBinDoc* doc = NewBin(20);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetArea().Size(), 20u);
    EXPECT_EQ(doc->GetArea().marks[19], kMarkData);
    CHexView* view = FirstHexView(doc);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Model().Size(), 20);
    view->GoToCell(2);
    TypeInto(view, "A5\t!");
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(doc->DoSave(path.c_str()));
    EXPECT_FALSE(doc->IsModified());
    doc->OnCloseDocument();

    std::string expected(20, '\0');
    expected[2] = '\xA5';
    expected[3] = '!';
    EXPECT_EQ(ReadFile(path), expected);
    CBinDoc* again = OpenBin(path);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(std::string(again->GetArea().cells.begin(), again->GetArea().cells.end()), expected);
    EXPECT_EQ(App().settings.LastDir().str() + "shell_" + std::to_string(::GetCurrentProcessId()) +
                  "_round.bin",
              path);
}

TEST_F(DocumentsTest, ANewBinLengthOutsideTheTablesLargestAreaIsAskedAgain) {
    guitest::MessageBoxAnswers boxes(IDOK);
    App().lengths.push_back({true, 0});
    App().lengths.push_back({true, 0x80001});
    CBinDoc* doc = NewBin(0x80000);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(App().lengthQuestions, 3);
    EXPECT_EQ(doc->GetArea().Size(), 0x80000u);
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[0].text, "Please enter a whole number from 1 to 524288.");

    App().lengths.clear();
    POSITION pos = App().GetFirstDocTemplatePosition();
    EXPECT_EQ(App().GetNextDocTemplate(pos)->OpenDocumentFile(nullptr), nullptr);  // cancelled
}

TEST_F(DocumentsTest, AnEmptyBinFileIsRefusedAfterItsFolderBecameTheLastOne) {
    guitest::MessageBoxAnswers boxes(IDOK);
    const std::string path = TempFile("empty.bin", "");
    EXPECT_EQ(OpenBin(path), nullptr);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "File is empty and will not be opened.");
    EXPECT_EQ(boxes.Seen()[0].type & MB_ICONMASK, 0u);
    EXPECT_FALSE(App().settings.LastDir().IsEmpty());
    EXPECT_EQ(App().GetOpenDocumentCount(), 0);
}

class HexRoundTrip : public ShellTest,
                     public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(HexRoundTrip, EditedAreasAreWrittenAndReadBackCellForCell) {
    const char* chip = GetParam().first;
    const int format = GetParam().second;
    CHexDoc* doc = NewHex(chip);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(App().settings.ChipName(), chip);
    EXPECT_EQ(doc->GetChipName(), chip);
    CTestAreaView* views = AreaViewOf(doc);
    ASSERT_NE(views, nullptr);
    MemoryImage& image = doc->GetImage();
    EXPECT_EQ(image.code.Size(), ChipTable::GetCodeSize(chip));
    EXPECT_EQ(image.data.Size(), ChipTable::GetDataSize(chip));

    ASSERT_NE(views->m_pCodeView, nullptr);
    views->m_pCodeView->GoToCell(4);
    TypeInto(views->m_pCodeView, "12AB");
    ASSERT_NE(views->m_pDataView, nullptr);
    views->m_pDataView->GoToCell(7);
    TypeInto(views->m_pDataView, "5");
    EXPECT_TRUE(doc->IsModified());

    const std::string path = TempFile(std::string("round_") + std::to_string(format) + ".hex");
    App().formats.push_back(format == kHexFormatIntel ? 0 : 1);
    ASSERT_TRUE(doc->DoSave(path.c_str()));
    EXPECT_EQ(App().formatQuestions, 1);
    EXPECT_EQ(doc->GetFormat(), format);
    EXPECT_FALSE(doc->IsModified());
    const MemoryImage saved = image;
    doc->OnCloseDocument();

    const std::string text = ReadFile(path);
    const std::string end = format == kHexFormatIntel ? ":00000001FF" : "S9030000FC";
    ASSERT_GT(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
    CHexDoc* again = OpenHex(path, chip);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetChipName(), chip);
    const MemoryImage& read = again->GetImage();
    EXPECT_EQ(read.code.cells, saved.code.cells);
    EXPECT_EQ(read.data.cells, saved.data.cells);
    EXPECT_EQ(read.special.cells, saved.special.cells);
    EXPECT_EQ(read.code.cells[4], 0x12);
    EXPECT_EQ(read.code.cells[5], 0xAB);
    EXPECT_EQ(read.data.cells[7] >> 4, 5);
    EXPECT_EQ(read.code.marks[4], kMarkData);
    EXPECT_FALSE(again->IsModified());
}

INSTANTIATE_TEST_SUITE_P(Chips, HexRoundTrip,
                         ::testing::Values(std::make_pair(kAt89S8252, kHexFormatIntel),
                                           std::make_pair(kPic16, kHexFormatIntel),
                                           std::make_pair(kPic18, kHexFormatIntel),
                                           std::make_pair(kAt89S8252, kHexFormatMotorola),
                                           std::make_pair(kPic16, kHexFormatMotorola)));

TEST_F(DocumentsTest, AnEmptyHexFileOpensWithoutAreasAndWithoutAskingTheChip) {
    const std::string path = TempFile("empty.hex", "");
    CHexDoc* doc = OpenHex(path, nullptr);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(App().chipQuestions, 0);
    EXPECT_FALSE(doc->GetImage().code.Present());
    EXPECT_FALSE(doc->GetImage().data.Present());
    EXPECT_FALSE(doc->GetImage().special.Present());
}

TEST_F(DocumentsTest, AnEmptyHexFileTakesTheCurrentChip) {
    App().settings.SetChipName(kPic16);
    CHexDoc* doc = OpenHex(TempFile("empty_chip.hex", ""), nullptr);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetChipName(), kPic16);
    EXPECT_EQ(App().settings.ChipName(), kPic16);
}

TEST_F(DocumentsTest, AHexImageIsSavedInItsOwnChipsLayoutWhateverChipIsCurrent) {
    // The data area of this chip lies at 0x2000 in a file; another chip's elsewhere.
    const std::string path = TempFile("own_layout.hex", ":02200000AABB79\r\n:00000001FF");
    CHexDoc* doc = OpenHex(path, kAt89S8252);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->GetImage().data.cells[0], 0xAA);
    doc->GetImage().data.cells[1] = 0xCC;
    App().settings.SetChipName(kPic16);  // as when another image is the active one
    App().formats.push_back(0);
    guitest::MessageBoxAnswers boxes(IDOK);
    ASSERT_TRUE(doc->DoSave(path.c_str()));
    EXPECT_TRUE(boxes.Seen().empty()) << boxes.Seen()[0].text;
    doc->OnCloseDocument();

    EXPECT_NE(ReadFile(path).find(":02200000AACC68"), std::string::npos) << ReadFile(path);
    CHexDoc* again = OpenHex(path, kAt89S8252);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetImage().data.cells[0], 0xAA);
    EXPECT_EQ(again->GetImage().data.cells[1], 0xCC);
}

TEST_F(DocumentsTest, AHexFileTheReaderRefusesLeavesNoDocument) {
    guitest::MessageBoxAnswers boxes(IDOK);
    const std::string path = TempFile("bad.hex", ":10000000ZZ\r\n");
    EXPECT_EQ(OpenHex(path, kAt89S8252), nullptr);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text.rfind("Invalid HEX file : line 1", 0), 0u);
    EXPECT_EQ(App().GetOpenDocumentCount(), 0);

    // A cancelled chip choice fails the open without a word.
    const std::string good = TempFile("good.hex", ":00000001FF");
    App().chips.push_back({false, "", {}});
    EXPECT_EQ(OpenHex(good, nullptr), nullptr);
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST_F(DocumentsTest, AChipLengthBeyondTheLargestAreaIsAskedAgain) {
    guitest::MessageBoxAnswers boxes(IDOK);
    App().AnswerChip(kAt89S8252, {0x2000, 0x1000000, 0});
    CHexDoc* doc = NewHex(kAt89S8252);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(App().chipQuestions, 2);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Please enter a whole number from 0 to 524288.");
    EXPECT_EQ(doc->GetImage().data.Size(), 0x800u);
}

TEST_F(DocumentsTest, AFillIsOfferedForSavingWhenTheHexImageIsClosed) {
    guitest::MessageBoxAnswers boxes(IDNO);
    CHexDoc* doc = NewHex(kAt89S8252);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified());
    AreaViewOf(doc)->m_nActiveArea = 1;
    doc->FillRange(0x7FE, 0x900, 0x42);
    EXPECT_EQ(doc->GetImage().data.cells[0x7FF], 0x42);
    EXPECT_EQ(doc->GetImage().data.marks[0x7FF], kMarkData);
    EXPECT_EQ(doc->GetImage().code.cells[0x7FF], 0);  // the active area only
    EXPECT_TRUE(doc->IsModified());
    const std::string prompt = SaveChangesPrompt(doc);
    EXPECT_TRUE(doc->SaveModified());
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, prompt);
}

TEST_F(DocumentsTest, ABinFillCutAtTheEndFillsToTheLastCellAndAnEmptyOneStillCountsAsAnEdit) {
    CBinDoc* doc = NewBin(8);
    ASSERT_NE(doc, nullptr);
    doc->FillRange(5, 2, 0x11);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(std::string(doc->GetArea().cells.begin(), doc->GetArea().cells.end()),
              std::string(8, '\0'));
    doc->FillRange(6, 100, 0x22);
    EXPECT_EQ(doc->GetArea().cells[5], 0);
    EXPECT_EQ(doc->GetArea().cells[6], 0x22);
    EXPECT_EQ(doc->GetArea().cells[7], 0x22);
    doc->FillAll(0x33);
    EXPECT_EQ(doc->GetArea().cells[0], 0x33);
    EXPECT_EQ(FirstHexView(doc)->Model().CellDigits(7), "33");  // the view follows
}

TEST_F(DocumentsTest, FillAllAndFillSelectionActOnTheActiveAreaOnly) {
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    CTestAreaView* views = AreaViewOf(doc);
    views->m_nActiveArea = 2;
    doc->FillAll(0x00);
    EXPECT_EQ(doc->GetImage().special.cells[15], 0x00);
    EXPECT_EQ(doc->GetImage().code.cells[0], 0x3F);

    doc->FillSelection(0x77);  // no selection: nothing
    EXPECT_EQ(doc->GetImage().special.cells[3], 0x00);
    views->m_pSpecialView->GoToCell(2);
    SetKeyHeld(VK_SHIFT, true);
    for (int i = 0; i < 3; ++i) {
        SendKey(views->m_pSpecialView, VK_RIGHT);
    }
    SetKeyHeld(VK_SHIFT, false);
    ASSERT_TRUE(doc->HasSelection());
    doc->FillSelection(0x77);
    EXPECT_EQ(doc->GetImage().special.cells[2], 0x77);
    EXPECT_EQ(doc->GetImage().special.cells[3], 0x77);
    EXPECT_EQ(doc->GetImage().special.cells[4], 0x00);
}

TEST_F(DocumentsTest, AnOkInThePicDialogIsOfferedForSaving) {
    guitest::MessageBoxAnswers boxes(IDCANCEL);
    guitest::ModalDialogDriver driver;
    driver.Then([](CDialog* dlg) {
        dlg->CheckDlgButton(IDC_PIC16_WDT, BST_UNCHECKED);
        guitest::ClickItem(dlg, IDOK);
    });
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified());
    CPic16F877ADlg dlg(doc, m_pFrame);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(doc->GetImage().special.cells[15] & 0x04, 0);  // the erased word had it set
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->SaveModified());  // the question came and was cancelled
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, SaveChangesPrompt(doc));
}

TEST_F(DocumentsTest, AnEditSeenOnlyByAViewsSwitchIsOfferedForSaving) {
    CHexDoc* doc = NewHex(kAt89S8252);
    ASSERT_NE(doc, nullptr);
    AreaViewOf(doc)->m_pDataView->SetModified(TRUE);
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(FALSE);
    EXPECT_TRUE(doc->IsModified());  // the switch still holds
    AreaViewOf(doc)->SetModified(FALSE);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DocumentsTest, AnOverlongImageIsSavedAsBinUnderTheSameNameAndFolder) {
    guitest::MessageBoxAnswers boxes;
    boxes.Then(IDYES);
    CHexDoc* doc = NewHex(kMemoryBoard);
    ASSERT_NE(doc, nullptr);
    doc->GetImage().data.cells[0x7FFFF] = 0x99;
    doc->SetModifiedFlag(TRUE);
    const std::string hex = TempFile("my.dir\\board.hex");
    const std::string bin = hex.substr(0, hex.size() - 4) + ".BIN";
    m_files.push_back(bin);
    ASSERT_TRUE(doc->DoSave(hex.c_str()));
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text,
              "Document is too long to be saved in HEX format. Do you want to save it as BIN?");
    EXPECT_EQ(boxes.Seen()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(App().formatQuestions, 0);
    EXPECT_FALSE(Exists(hex));
    const std::string bytes = ReadFile(bin);
    ASSERT_EQ(bytes.size(), 0x80000u);
    EXPECT_EQ(bytes[0x7FFFF], '\x99');
    EXPECT_TRUE(AfxComparePath(doc->GetPathName(), bin.c_str()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->IsFileUpToDate());  // too long to be compared with its file
}

TEST_F(DocumentsTest, ARawSaveThatWouldDropCodeAsksAndNoWritesNothing) {
    guitest::MessageBoxAnswers boxes;
    boxes.Then(IDYES).Then(IDNO);
    App().AnswerChip(kPic16, {0x20000, 0x100, 0x10});
    CHexDoc* doc = NewHex(kPic16);  // the first answer is taken: a code area of 0x20000 cells
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->GetImage().code.Size(), 0x20000u);
    const std::string hex = TempFile("dropped.hex");
    EXPECT_FALSE(doc->DoSave(hex.c_str()));
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_NE(boxes.Seen()[1].text.find("code and special areas"), std::string::npos);
    EXPECT_EQ(boxes.Seen()[1].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_FALSE(Exists(hex));
    EXPECT_FALSE(Exists(hex.substr(0, hex.size() - 4) + ".BIN"));

    boxes.Then(IDNO);  // and No to the first question writes nothing either
    EXPECT_FALSE(doc->DoSave(hex.c_str()));
    EXPECT_EQ(boxes.Seen().size(), 3u);
}

TEST_F(DocumentsTest, SaveAsOfAnOverlongImageProposesTheTitleWithBin) {
    guitest::MessageBoxAnswers boxes(IDNO);
    guitest::FileDialogAnswers dialogs;
    dialogs.Cancel();
    CHexDoc* doc = NewHex(kMemoryBoard);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->DoSave(nullptr));
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(dialogs.Seen()[0].initialName, "Hex.BIN");  // "Hex File1" cut at the blank
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(DocumentsTest, FileTimesTellWhenTheFileChangedOnDisk) {
    const std::string path = TempFile("times.bin", "abc");
    CBinDoc* doc = OpenBin(path);
    ASSERT_NE(doc, nullptr);
    long onDisk = 0;
    ASSERT_TRUE(GetFileModifiedTime(path.c_str(), onDisk));
    EXPECT_EQ(doc->GetFileTimeKept(), onDisk);
    EXPECT_TRUE(doc->IsFileUpToDate());
    doc->SetFileTimeKept(onDisk - 10);
    EXPECT_FALSE(doc->IsFileUpToDate());
    ::DeleteFileA(path.c_str());
    EXPECT_FALSE(doc->IsFileUpToDate());

    CBinDoc* untitled = NewBin(4);
    ASSERT_NE(untitled, nullptr);
    EXPECT_TRUE(untitled->IsFileUpToDate());
}

TEST_F(DocumentsTest, TheTemplateLookupOpensANewDocumentOfTheNamedKindOnly) {
    App().AnswerChip(kAt89S8252);
    CDocument* hex = OpenNewDocumentOfType("Hex File");
    ASSERT_NE(hex, nullptr);
    EXPECT_NE(dynamic_cast<CHexDoc*>(hex), nullptr);
    App().lengths.push_back({true, 8});
    EXPECT_NE(dynamic_cast<CBinDoc*>(OpenNewDocumentOfType("Bin File")), nullptr);
    EXPECT_EQ(OpenNewDocumentOfType("Text File"), nullptr);
    EXPECT_EQ(App().GetOpenDocumentCount(), 2);
}

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) {
        return "<closed>";
    }
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    } else {
        text = "<none>";
    }
    ::CloseClipboard();
    return text;
}

TEST_F(DocumentsTest, CopyPutsTheSelectedBytesOnTheClipboardAsTheyAre) {
    CBinDoc* doc = NewBin(8);
    ASSERT_NE(doc, nullptr);
    std::memcpy(doc->GetArea().cells.data(), "xHi!\0yz", 8);
    CHexView* view = FirstHexView(doc);
    view->GoToCell(1);
    SetKeyHeld(VK_SHIFT, true);
    for (int i = 0; i < 5; ++i) {
        SendKey(view, VK_RIGHT);
    }
    SetKeyHeld(VK_SHIFT, false);
    ASSERT_EQ(view->GetSelFirst(), 1);
    ASSERT_EQ(view->GetSelLast(), 3);
    EXPECT_TRUE(doc->HasSelection());
    doc->CopySelection();
    EXPECT_EQ(ClipboardText(), "Hi!");

    SendKey(view, VK_LEFT);  // no selection: the clipboard is emptied
    EXPECT_FALSE(doc->HasSelection());
    doc->CopySelection();
    EXPECT_EQ(ClipboardText(), "<none>");

    view->GoToCell(4);  // a selection that starts with a 0 cell reads as empty text
    SetKeyHeld(VK_SHIFT, true);
    SendKey(view, VK_RIGHT);
    SendKey(view, VK_RIGHT);
    SetKeyHeld(VK_SHIFT, false);
    ASSERT_EQ(view->GetSelFirst(), 4);
    ASSERT_EQ(view->GetSelLast(), 5);
    doc->CopySelection();
    EXPECT_EQ(ClipboardText(), "");
}

TEST_F(DocumentsTest, MismatchReportsMarkByteCellsOrBothCellsOfAWord) {
    CBinDoc* bin = NewBin(16);
    ASSERT_NE(bin, nullptr);
    bin->MarkMismatch(3, kMemoryCode);
    bin->MarkMismatch(9, kMemoryData);
    EXPECT_EQ(bin->GetArea().marks[6], kMarkMismatch);
    EXPECT_EQ(bin->GetArea().marks[7], kMarkMismatch);
    EXPECT_EQ(bin->GetArea().marks[9], kMarkMismatch);
    EXPECT_EQ(bin->GetArea().marks[3], kMarkData);

    CHexDoc* hex = NewHex(kPic16);
    ASSERT_NE(hex, nullptr);
    hex->MarkMismatch(5, kMemoryCode);
    hex->MarkMismatch(2, kMemorySpecial);
    EXPECT_EQ(hex->GetImage().code.marks[10], kMarkMismatch);
    EXPECT_EQ(hex->GetImage().code.marks[11], kMarkMismatch);
    EXPECT_EQ(hex->GetImage().special.marks[4], kMarkMismatch);
    hex->FillRange(0, 20, 0);  // on the code tab; a filled mismatch keeps its mark
    EXPECT_EQ(hex->GetImage().code.marks[10], kMarkMismatch);
}

TEST_F(DocumentsTest, GoToLandsOnTheCellTheViewLabelsWithTheAddress) {
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    CTestAreaView* views = AreaViewOf(doc);
    doc->GoToAddress(0x100);  // code words
    EXPECT_EQ(views->m_pCodeView->Model().Cursor(), 0x200);
    views->m_nActiveArea = 1;
    doc->GoToAddress(0x10);
    EXPECT_EQ(views->m_pDataView->Model().Cursor(), 0x10);
    doc->GoToAddress(0x7FFFFFFF);
    EXPECT_EQ(views->m_pDataView->Model().Cursor(), 0xFF);

    CBinDoc* bin = NewBin(64);
    bin->GoToAddress(40);
    EXPECT_EQ(FirstHexView(bin)->Model().Cursor(), 40);
}

}  // namespace
}  // namespace shell_test
