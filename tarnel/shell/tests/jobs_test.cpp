// The jobs the image documents queue for a chip read, write or verify: which areas, which range,
// the questions on the way, the resident loader of the HC908 chip, and a read offered for saving.
#include "shell_test_support.h"

namespace shell_test {
namespace {

using JobsTest = ShellTest;

const std::vector<std::unique_ptr<JobRequest>>& Jobs() { return App().jobs; }

TEST_F(JobsTest, ABinWriteAsksKindAndBaseAndQueuesTheImageFromThatCell) {
    App().settings.SetChipName(kAt89S8252);
    CBinDoc* doc = NewBin(20);
    ASSERT_NE(doc, nullptr);
    App().memories.push_back({true, kMemoryData, 0x10});
    App().cancel = 1;  // a STOP left over from the last job
    doc->WriteChip(TRUE);
    ASSERT_EQ(Jobs().size(), 1u);
    const JobRequest& job = *Jobs()[0];
    EXPECT_EQ(job.op, static_cast<DWORD>(kJobWrite));
    EXPECT_EQ(job.area, doc->GetArea().cells.data());
    EXPECT_EQ(job.marks, nullptr);
    EXPECT_EQ(job.size, 20u);
    EXPECT_EQ(job.statusWindow, m_pFrame->m_hWnd);
    EXPECT_EQ(job.memoryKind, kMemoryData);
    EXPECT_EQ(job.loaderChoice, 0);
    EXPECT_EQ(job.reserved[0] | job.reserved[1], 0);
    EXPECT_EQ(job.startCell, 0x10u);
    EXPECT_EQ(job.cancel, &App().cancel);
    EXPECT_EQ(App().cancel.load(), 0);
    EXPECT_EQ(job.deviceCode, 160u);
    ASSERT_EQ(App().memoryQuestions.size(), 1u);
    EXPECT_TRUE(App().memoryQuestions[0].data && App().memoryQuestions[0].code);
    EXPECT_FALSE(App().memoryQuestions[0].special);
    EXPECT_TRUE(App().memoryBaseAllowed[0]);
}

TEST_F(JobsTest, AFiveByteBinIsRefusedForCodeButWrittenToData) {
    guitest::MessageBoxAnswers boxes(IDOK);
    App().settings.SetChipName(kAt89S8252);
    CBinDoc* doc = NewBin(5);
    ASSERT_NE(doc, nullptr);
    App().memories.push_back({true, kMemoryCode, 0});
    doc->WriteChip(TRUE);
    EXPECT_TRUE(Jobs().empty());
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text,
              "File size should be aligned to the word.\nOne cell contains two bytes.");
    EXPECT_EQ(boxes.Seen()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));

    App().memories.push_back({true, kMemoryData, 0});
    doc->WriteChip(TRUE);
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0]->size, 5u);
}

TEST_F(JobsTest, ABinLongerThanItsAreaAsksAndOnlyYesQueuesTheShortenedJob) {
    guitest::MessageBoxAnswers boxes;
    boxes.Then(IDNO).Then(IDYES);
    App().settings.SetChipName(kAt89S8252);
    CBinDoc* doc = NewBin(0x900);
    ASSERT_NE(doc, nullptr);
    App().memories.push_back({true, kMemoryData, 0x10});
    App().memories.push_back({true, kMemoryData, 0x10});
    doc->WriteChip(TRUE);
    EXPECT_TRUE(Jobs().empty());
    doc->VerifyChip(TRUE);
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[0].text, "Only 0010h-07FFh cells will be written");
    EXPECT_EQ(boxes.Seen()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.Seen()[1].text, "Only 0010h-07FFh cells will be verified");
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0]->op, static_cast<DWORD>(kJobVerify));
    EXPECT_EQ(Jobs()[0]->size, 0x7F0u);
    EXPECT_EQ(Jobs()[0]->startCell, 0x10u);
}

TEST_F(JobsTest, ABinWriteWithoutAChipSaysSoAndAOneAreaChipIsAskedAllTheSame) {
    guitest::MessageBoxAnswers boxes(IDOK);
    CBinDoc* doc = NewBin(16);
    ASSERT_NE(doc, nullptr);
    doc->WriteChip(TRUE);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "You must select a chip");
    EXPECT_EQ(boxes.Seen()[0].type, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(App().memoryQuestions.empty());

    App().settings.SetChipName("Brontal-A: AT89S53");  // one code area
    doc->WriteChip(TRUE);                              // the choice is cancelled
    ASSERT_EQ(App().memoryQuestions.size(), 1u);
    EXPECT_EQ(App().memoryQuestions[0].Count(), 1);
    EXPECT_TRUE(App().memoryQuestions[0].code);
    EXPECT_TRUE(Jobs().empty());
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST_F(JobsTest, ABinVerifySettlesTheLastMismatchesBeforeItQueues) {
    App().settings.SetChipName(kAt89S8252);
    CBinDoc* doc = NewBin(16);
    ASSERT_NE(doc, nullptr);
    doc->MarkMismatch(3, kMemoryData);
    ASSERT_EQ(doc->GetArea().marks[3], kMarkMismatch);
    App().memories.push_back({true, kMemoryData, 0});
    doc->VerifyChip(TRUE);
    EXPECT_EQ(doc->GetArea().marks[3], kMarkData);
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0]->op, static_cast<DWORD>(kJobVerify));
}

TEST_F(JobsTest, An8051HexWriteQueuesItsCodeAreaWithoutAsking) {
    CHexDoc* doc = NewHex("Brontal-A: AT89S53");
    ASSERT_NE(doc, nullptr);
    doc->WriteChip(TRUE);
    EXPECT_TRUE(App().destinationBoardLabels.empty());
    ASSERT_EQ(Jobs().size(), 1u);
    const JobRequest& job = *Jobs()[0];
    EXPECT_EQ(job.op, static_cast<DWORD>(kJobWrite));
    EXPECT_EQ(job.area, doc->GetImage().code.cells.data());
    EXPECT_EQ(job.marks, doc->GetImage().code.marks.data());
    EXPECT_EQ(job.size, 0x3000u);
    EXPECT_EQ(job.memoryKind, kMemoryCode);
    EXPECT_EQ(job.startCell, 0u);
    EXPECT_EQ(job.deviceCode, 161u);
}

TEST_F(JobsTest, APicHexWriteAsksTheAreasAndQueuesTheChosenOnesCodeDataSpecial) {
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    AreaChoice onlySpecial;
    onlySpecial.special = true;
    App().destinations.push_back({true, onlySpecial});
    doc->WriteChip(TRUE);
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0]->memoryKind, kMemorySpecial);
    EXPECT_EQ(Jobs()[0]->area, doc->GetImage().special.cells.data());
    EXPECT_EQ(Jobs()[0]->size, 0x10u);
    EXPECT_EQ(Jobs()[0]->deviceCode, 9u);

    AreaChoice all;
    all.code = all.data = all.special = true;
    App().destinations.push_back({true, all});
    doc->WriteChip(TRUE);
    ASSERT_EQ(Jobs().size(), 4u);
    EXPECT_EQ(Jobs()[1]->memoryKind, kMemoryCode);
    EXPECT_EQ(Jobs()[2]->memoryKind, kMemoryData);
    EXPECT_EQ(Jobs()[3]->memoryKind, kMemorySpecial);
    EXPECT_EQ(App().destinationBoardLabels, std::vector<bool>({false, false}));

    doc->WriteChip(TRUE);  // cancelled: nothing more
    EXPECT_EQ(Jobs().size(), 4u);
}

TEST_F(JobsTest, APicHexWriteWithoutAskingQueuesCodeAndDataButNotSpecial) {
    CHexDoc* doc = NewHex(kPic18);
    ASSERT_NE(doc, nullptr);
    doc->WriteChip(FALSE);
    EXPECT_TRUE(App().destinationBoardLabels.empty());
    ASSERT_EQ(Jobs().size(), 2u);
    EXPECT_EQ(Jobs()[0]->memoryKind, kMemoryCode);
    EXPECT_EQ(Jobs()[0]->size, 0x8000u);
    EXPECT_EQ(Jobs()[1]->memoryKind, kMemoryData);
    EXPECT_EQ(Jobs()[1]->deviceCode, 10u);
}

TEST_F(JobsTest, AHexVerifySettlesTheMismatchesOfEveryAreaOnlyAfterTheDialogsOk) {
    CHexDoc* doc = NewHex(kPic16);
    ASSERT_NE(doc, nullptr);
    doc->MarkMismatch(1, kMemoryCode);
    doc->MarkMismatch(3, kMemoryData);
    doc->VerifyChip(TRUE);  // cancelled
    EXPECT_EQ(doc->GetImage().code.marks[2], kMarkMismatch);
    EXPECT_TRUE(Jobs().empty());

    AreaChoice code;
    code.code = true;
    App().destinations.push_back({true, code});
    doc->VerifyChip(TRUE);
    EXPECT_EQ(doc->GetImage().code.marks[2], kMarkData);
    EXPECT_EQ(doc->GetImage().data.marks[3], kMarkData);
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0]->op, static_cast<DWORD>(kJobVerify));
}

TEST_F(JobsTest, AChipReadQueuesTheChosenAreasAndIsOfferedForSaving) {
    guitest::MessageBoxAnswers boxes(IDCANCEL);
    CHexDoc* doc = NewHex(kPic18);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified());
    AreaChoice codeAndData;
    codeAndData.code = codeAndData.data = true;
    App().destinations.push_back({true, codeAndData});
    doc->ReadChip();
    ASSERT_EQ(Jobs().size(), 2u);
    EXPECT_EQ(Jobs()[0]->op, static_cast<DWORD>(kJobRead));
    EXPECT_EQ(Jobs()[0]->memoryKind, kMemoryCode);
    EXPECT_EQ(Jobs()[0]->marks, doc->GetImage().code.marks.data());
    EXPECT_EQ(Jobs()[1]->memoryKind, kMemoryData);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->SaveModified());
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Save changes to " + doc->GetTitle().str() + "?");
}

TEST_F(JobsTest, AReadOfAChipWithOneAreaAsksNothingAndACancelledChoiceClosesTheImage) {
    CHexDoc* single = NewHex("Brontal-A: AT89S53");
    ASSERT_NE(single, nullptr);
    single->ReadChip();
    EXPECT_TRUE(App().destinationBoardLabels.empty());
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(Jobs()[0]->memoryKind, kMemoryCode);
    single->OnCloseDocument();

    CHexDoc* doc = NewHex(kAt89S8252);
    ASSERT_NE(doc, nullptr);
    doc->ReadChip();  // the destination choice is cancelled
    guitest::PumpPending();
    EXPECT_EQ(App().GetOpenDocumentCount(), 0);
    EXPECT_EQ(Jobs().size(), 1u);
}

TEST_F(JobsTest, TheHc908ChipRunsTheResidentLoaderTheUserChooses) {
    CHexDoc* doc = NewHex(kHc908);
    ASSERT_NE(doc, nullptr);
    App().loaders.push_back({true, 0});
    App().loaders.push_back({true, 1});
    doc->WriteChip(TRUE);
    doc->VerifyChip(TRUE);
    App().cancel = 1;
    doc->WriteChip(TRUE);  // the loader choice is cancelled: the job is dropped
    EXPECT_EQ(App().loaderQuestions, 3);
    ASSERT_EQ(Jobs().size(), 2u);
    EXPECT_EQ(Jobs()[0]->loaderChoice, 2);
    EXPECT_EQ(Jobs()[1]->loaderChoice, 1);
    EXPECT_EQ(Jobs()[1]->deviceCode, 164u);

    App().settings.SetChipName(kAt89S8252);  // other chips are not asked
    CBinDoc* bin = NewBin(8);
    App().memories.push_back({true, kMemoryData, 0});
    bin->WriteChip(TRUE);
    EXPECT_EQ(App().loaderQuestions, 3);
    ASSERT_EQ(Jobs().size(), 3u);
    EXPECT_EQ(Jobs()[2]->loaderChoice, 0);
}

}  // namespace
}  // namespace shell_test
