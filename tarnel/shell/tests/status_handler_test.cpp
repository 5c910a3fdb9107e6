// The operation statuses carried out on a real progress dialog, the documents' marks and views,
// and a frame stand-in that collects the Messages lines with their string-table texts.
#include <cstring>
#include <string>
#include <vector>

#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"
#include "shell_test_support.h"
#include "tarnel/images/memory_image.h"
#include "tarnel/programming/operation_status.h"
#include "tarnel/shell/progress_dlg.h"
#include "tarnel/shell/resource.h"
#include "tarnel/shell/status_handler.h"

namespace shell_test {
namespace {

// What the main frame gives the handler; lines are kept as "text/kind".
class CollectingTarget : public IStatusTarget {
public:
    explicit CollectingTarget(CProgressDlg& dlg) : m_dlg(dlg) {}

    void PostMessageId(UINT nStringId, int nKind) override {
        CString text;
        lines.push_back((text.LoadString(nStringId)
                             ? text.str()
                             : "<no string " + std::to_string(nStringId) + ">") +
                        "/" + std::to_string(nKind));
    }
    void PostMessageText(LPCTSTR pszText, int nKind) override {
        lines.push_back(std::string(pszText) + "/" + std::to_string(nKind));
    }
    CProgressDlg& GetProgressDialog() override { return m_dlg; }
    CQuilletDocument* GetActiveQuilletDocument() override { return active; }
    void ClearCancelRequest() override { ++clears; }

    std::vector<std::string> lines;
    CQuilletDocument* active = nullptr;
    int clears = 0;

private:
    CProgressDlg& m_dlg;
};

// A view without a window that counts the redraws its document asks for.
class CCountingView : public CView {
public:
    void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
    void OnDraw(CDC*) override {}
    int updates = 0;
};

// Every text of the string range, as the Messages window and the boxes show it.
const std::pair<UINT, const char*> kStatusTexts[] = {
    {4000, "No File Open."},
    {4001, "Chip not selected."},
    {4002, "Port can not be opened."},
    {4003, "Cannot execute command"},
    {4004, "Erase successful"},
    {4005, "Cannot erase"},
    {4006, "Valid connection detected"},
    {4007, "No connection"},
    {4008, "Write started (Code Memory)..."},
    {4009, "Write completed successfuly"},
    {4010, "Write failed"},
    {4011, "Error sending data to port"},
    {4012, "No response from the board"},
    {4013, "The board reported failure of the operation"},
    {4014, "Error in checksumm"},
    {4015, "Reading board's reply"},
    {4016, "Read started (Code Memory)..."},
    {4017, "Read completed successfuly"},
    {4018, "Read failed"},
    {4019, "Error reading data from port"},
    {4020, "Setting chip type..."},
    {4021, "Error setting chip type"},
    {4022, "Current chip type successfuly set"},
    {4023, "Checking connection..."},
    {4024, "Erasing (Code Memory)..."},
    {4025, "Checking for blank space..."},
    {4026, "Blank check done"},
    {4027, "Blank check failed"},
    {4028, "Can not open COM port"},
    {4029, "Chip is not electrically erasable"},
    {4030, "Start reading board ID..."},
    {4031, "Board ID OK"},
    {4032, "Error reading board ID"},
    {4033, "Verify started (Code Memory)..."},
    {4034, "Verify failed"},
    {4035, "Verify done"},
    {4036, "Read started (Data Memory)..."},
    {4037, "Read started (Special Memory)..."},
    {4038, "Erasing (Data Memory)..."},
    {4039, "Erasing (Special Memory)..."},
    {4040, "Write started (Data Memory)..."},
    {4041, "Write started (Special Memory)..."},
    {4042, "Verify started (Data Memory)..."},
    {4043, "Verify started (Special Memory)..."},
    {4044, "Canceled by user"},
    {4045, "RUN MODE"},
    {4046, "PROGRAM MODE"},
    {4047, "Invalid address in file. Probably it was created for enother chip."},
};

// The lines of every status that takes a plain number (value 3); "" is a gap line.
struct StatusLines {
    unsigned code;
    std::vector<std::string> lines;
};

const StatusLines kLines[] = {
    {0, {"Cannot execute command/4"}},
    {1, {"Erase successful/2"}},
    {2, {"Cannot erase/4"}},
    {3, {"/0", "Checking connection.../1"}},
    {4, {"Valid connection detected/2"}},
    {5, {"No connection/4"}},
    {6, {}},
    {7, {"Write completed successfuly/2"}},
    {8, {"Write failed/4"}},
    {9, {}},
    {10, {"Error sending data to port/3"}},
    {11, {"No response from the board/3"}},
    {12, {"The board reported failure of the operation/3"}},
    {13, {"Error in checksumm/3"}},
    {14, {}},
    {15, {}},
    {16, {"Read completed successfuly/2"}},
    {17, {"Read failed/4"}},
    {18, {"Error reading data from port/3"}},
    {19, {}},
    {20, {}},
    {21, {"Error setting chip type/4"}},
    {22, {}},
    {23, {"/0", "Checking for blank space.../1"}},
    {24, {"Blank check done/2"}},
    {25, {"Blank check failed/4"}},
    {26, {}},
    {27, {"Board cannot recognize command/3"}},
    {28, {"/0", "Can not open COM port/4"}},
    {29, {"Chip is not electrically erasable/4"}},
    {30, {"/0", "Start reading board ID.../1"}},
    {31, {"Board ID OK/2"}},
    {32, {"Error reading board ID/4"}},
    {34, {}},
    {35, {"Verify done/2"}},
    {36, {"Verify failed/4"}},
    {37, {"Free space of Code Memory : 3 cells/1"}},
    {38, {"Free space of Data Memory : 3 cells/1"}},
    {39, {"Free space of Special Memory : 3 cells/1"}},
    {40, {"/0", "Erasing (Code Memory).../1"}},
    {41, {"/0", "Erasing (Data Memory).../1"}},
    {42, {"/0", "Erasing (Special Memory).../1"}},
    {43, {"/0", "Verify started (Code Memory).../1"}},
    {44, {"/0", "Verify started (Data Memory).../1"}},
    {45, {"/0", "Verify started (Special Memory).../1"}},
    {46, {"/0", "Read started (Code Memory).../1"}},
    {47, {"/0", "Read started (Data Memory).../1"}},
    {48, {"/0", "Read started (Special Memory).../1"}},
    {49, {"/0", "Write started (Code Memory).../1"}},
    {50, {"/0", "Write started (Data Memory).../1"}},
    {51, {"/0", "Write started (Special Memory).../1"}},
    {52, {}},
    {53, {"Canceled by user/4"}},
    {54, {"VERIFY OPERATION COMPLETED WITH ERRORS./4"}},
    {55, {}},
    {56, {"/0", "RUN MODE/1"}},
    {57, {"/0", "PROGRAM MODE/1"}},
    {62, {}},
    {63, {}},
    {64, {}},
    {65, {}},
    {66, {" /0"}},
    {68, {}},
    {69, {}},
    {70, {}},
};

class StatusHandlerTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(m_dlg.Create(m_pFrame));
    }
    void TearDown() override {
        if (m_counted != nullptr) {
            m_counted->RemoveView(&m_view);
        }
        m_dlg.DestroyWindow();
        ShellTest::TearDown();
    }

    void Post(WPARAM code, LPARAM value = 0) { HandleOperationStatus(m_target, code, value); }
    std::string Text(int id) { return guitest::ItemText(&m_dlg, id); }
    bool ExitEnabled() { return m_dlg.GetDlgItem(IDC_PROGRESS_EXIT)->IsWindowEnabled() != FALSE; }
    // The dialog's whole visible state, to tell that a status left it alone.
    std::string DialogState() {
        return Text(IDC_PROGRESS_FILE) + "|" + Text(IDC_PROGRESS_STATUS) + "|" +
               Text(IDC_PROGRESS_COUNTER) + "|" + (ExitEnabled() ? "exit" : "no exit") + "|" +
               (m_dlg.IsWindowVisible() ? "shown" : "hidden");
    }
    // Makes `doc` the active document with a view that counts its redraws.
    void Activate(CQuilletDocument* doc) {
        m_target.active = doc;
        doc->AddView(&m_view);
        m_counted = doc;
    }
    static LPARAM TextBlock(const char* text) {
        char* block = new char[255]();
        std::strncpy(block, text, 254);
        return reinterpret_cast<LPARAM>(block);
    }

    CancelWord m_cancel{0};
    CProgressDlg m_dlg{m_cancel};
    CollectingTarget m_target{m_dlg};
    CCountingView m_view;
    CQuilletDocument* m_counted = nullptr;
};

TEST_F(StatusHandlerTest, TheStringTableHoldsEveryStatusTextAsWritten) {
    for (const auto& entry : kStatusTexts) {
        CString text;
        ASSERT_TRUE(text.LoadString(entry.first)) << entry.first;
        EXPECT_EQ(text, entry.second) << entry.first;
    }
}

TEST_F(StatusHandlerTest, EveryNumberStatusPostsItsLinesInOrder) {
    for (const StatusLines& expected : kLines) {
        m_target.lines.clear();
        Post(expected.code, 3);
        EXPECT_EQ(m_target.lines, expected.lines) << "status " << expected.code;
    }
}

TEST_F(StatusHandlerTest, StatusesWithoutMeaningLeaveTheWindowAndTheDialogAlone) {
    CBinDoc* doc = NewBin(16);
    ASSERT_NE(doc, nullptr);
    Activate(doc);
    Post(kStatusWriteRange, 40);
    Post(kStatusPosition, 10);
    m_cancel = 1;
    const std::string before = DialogState();
    const std::vector<BYTE> marks = doc->GetArea().marks;
    m_target.lines.clear();
    for (WPARAM code : {14, 19, 20, 22, 26, 34, 63, 68, 69, 70, 71, 200, 0xFFFF}) {
        Post(code, (kMemoryCode << 24) | 1);
    }
    // A code wider than a status is not taken for the status of its low bits.
    if constexpr (sizeof(WPARAM) > 4) {
        const unsigned long long wide = 1ULL << 32;
        Post(static_cast<WPARAM>(wide | kStatusHideProgress));
        Post(static_cast<WPARAM>(wide | kStatusMismatch), (kMemoryCode << 24) | 1);
    }
    EXPECT_TRUE(m_target.lines.empty());
    EXPECT_EQ(DialogState(), before);
    EXPECT_EQ(doc->GetArea().marks, marks);
    EXPECT_EQ(m_target.clears, 0);
    EXPECT_EQ(m_view.updates, 0);
}

TEST_F(StatusHandlerTest, AWriteShowsItsDocumentAndProgressAndItsEndLetsTheUserLeave) {
    CBinDoc* doc = NewBin(16);
    ASSERT_NE(doc, nullptr);
    doc->SetPathName("C:\\images\\board.bin", FALSE);
    Activate(doc);
    Post(kStatusWriteCode);
    Post(kStatusWriteRange, 1000);
    EXPECT_TRUE(m_dlg.IsWindowVisible());
    EXPECT_EQ(Text(IDC_PROGRESS_FILE), "Writing : C:\\images\\board.bin");
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Writing...");
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 0 of 1000");
    EXPECT_FALSE(ExitEnabled());
    Post(kStatusPosition, 512);
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 512 of 1000");
    EXPECT_EQ(m_view.updates, 0);

    Post(kStatusWriteDone);
    EXPECT_EQ(m_target.lines, (std::vector<std::string>{"/0", "Write started (Code Memory).../1",
                                                        "Write completed successfuly/2"}));
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Done");
    EXPECT_TRUE(ExitEnabled());
    EXPECT_TRUE(m_dlg.IsWindowVisible());  // it stays until Exit or a hide status
    EXPECT_EQ(m_target.clears, 1);
    EXPECT_EQ(m_view.updates, 1);

    Post(kStatusHideProgress);
    EXPECT_FALSE(m_dlg.IsWindowVisible());
}

TEST_F(StatusHandlerTest, EachStartSetsItsModeAndANewStartResetsTheCounterAndExit) {
    CBinDoc* doc = NewBin(16);
    ASSERT_NE(doc, nullptr);
    Activate(doc);
    const std::string title = doc->GetTitle().str();
    ASSERT_FALSE(title.empty());
    Post(kStatusReadRange, 64);
    EXPECT_EQ(Text(IDC_PROGRESS_FILE), "Reading...");
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Reading...");
    Post(kStatusPosition, 64);
    Post(kStatusReadFailed);
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Failure");
    EXPECT_TRUE(ExitEnabled());

    // A document without a file is named by its title.
    Post(kStatusVerifyRange, 128);
    EXPECT_TRUE(m_dlg.IsWindowVisible());
    EXPECT_EQ(Text(IDC_PROGRESS_FILE), "Verifying : " + title);
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Verifying...");
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 0 of 128");
    EXPECT_FALSE(ExitEnabled());
    Post(kStatusVerifyDone);
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Done");

    Post(kStatusHideProgress);
    Post(kStatusLoaderRange, 315);
    EXPECT_TRUE(m_dlg.IsWindowVisible());
    EXPECT_EQ(Text(IDC_PROGRESS_FILE), "RAM resident loader...");
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Loading...");
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 0 of 315");
    EXPECT_FALSE(ExitEnabled());
    EXPECT_EQ(m_view.updates, 2);
    EXPECT_EQ(m_target.clears, 2);
}

TEST_F(StatusHandlerTest, AFailedChipTypeAfterAWriteStartLetsTheUserLeaveTheProgress) {
    // No end status follows a failed set-chip-type step: its own status must free the dialog.
    CBinDoc* doc = NewBin(16);
    ASSERT_NE(doc, nullptr);
    Activate(doc);
    m_cancel = 1;  // a STOP left from before stays for the job's own end
    Post(kStatusWriteCode);
    Post(kStatusWriteRange, 12288);
    ASSERT_FALSE(ExitEnabled());
    Post(kStatusSetTypeFailed);
    EXPECT_EQ(m_target.lines.back(), "Error setting chip type/4");
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Failure");
    EXPECT_EQ(Text(IDC_PROGRESS_COUNTER), "Cells transfered : 0 of 12288");
    EXPECT_TRUE(ExitEnabled());
    EXPECT_EQ(m_target.clears, 0);
    EXPECT_EQ(m_view.updates, 0);

    ASSERT_TRUE(guitest::BringToForeground(&m_dlg));
    guitest::PressKey(VK_ESCAPE);
    EXPECT_TRUE(guitest::WaitUntil([&] { return !m_dlg.IsWindowVisible(); }));

    // The next job's start takes Exit away again.
    Post(kStatusWriteRange, 100);
    EXPECT_FALSE(ExitEnabled());
}

TEST_F(StatusHandlerTest, AnEndWithoutADocumentUpdatesTheDialogAndLinesOnly) {
    Post(kStatusWriteRange, 10);
    EXPECT_EQ(Text(IDC_PROGRESS_FILE), "Writing : ");
    Post(kStatusVerifyFailed);
    EXPECT_EQ(m_target.lines, std::vector<std::string>{"Verify failed/4"});
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Failure");
    EXPECT_TRUE(ExitEnabled());
    EXPECT_EQ(m_target.clears, 1);
    Post(kStatusMismatch, (kMemoryCode << 24) | 2);  // nothing to mark
    Post(kStatusCancelled);
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Canceled by user");
}

TEST_F(StatusHandlerTest, CancelLeavesTheWordRaisedAndAFailedLoaderLowersItWithoutRedraw) {
    CBinDoc* doc = NewBin(16);
    ASSERT_NE(doc, nullptr);
    Activate(doc);
    Post(kStatusReadRange, 64);
    Post(kStatusCancelled);
    EXPECT_EQ(m_target.lines, std::vector<std::string>{"Canceled by user/4"});
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Canceled by user");
    EXPECT_TRUE(ExitEnabled());
    EXPECT_EQ(m_target.clears, 0);
    EXPECT_EQ(m_view.updates, 1);

    Post(kStatusLoaderRange, 177);
    Post(kStatusLoaderFailed);
    EXPECT_EQ(Text(IDC_PROGRESS_STATUS), "Status : Failure");
    EXPECT_TRUE(ExitEnabled());
    EXPECT_EQ(m_target.clears, 1);
    EXPECT_EQ(m_view.updates, 1);
    EXPECT_EQ(m_target.lines.size(), 1u);
}

TEST_F(StatusHandlerTest, HeapTextsAndTheBoardIdentityBecomeLines) {
    // The blocks are the handler's from the post on: nothing here frees them.
    Post(kStatusVersionText, TextBlock("3.1"));
    Post(kStatusErrorText, TextBlock("Bad echo"));
    Post(kStatusInfoText, TextBlock("Loader on board"));
    Post(kStatusAdviceText, TextBlock("Press reset"));
    Post(kStatusSuccessText, TextBlock("All done"));
    BYTE* record = new BYTE[5]{1, 6, 4, 12, 3};
    Post(kStatusBoardIdentity, reinterpret_cast<LPARAM>(record));
    record = new BYTE[5]{9, 1, 0, 1, 1};
    Post(kStatusBoardIdentity, reinterpret_cast<LPARAM>(record));
    EXPECT_EQ(m_target.lines,
              (std::vector<std::string>{"Version 3.1/1", "Bad echo/3", "Loader on board/1",
                                        "Press reset/5", "All done/2",
                                        "Device:Quillet Version:06 Date:12/03/2004/0",
                                        "Device:Unknown Version:01 Date:01/01/2000/0"}));
}

TEST_F(StatusHandlerTest, BoardErrorsAndTheVerifyResult) {
    for (LPARAM error = 0; error <= 7; ++error) {
        Post(kStatusBoardError, error);
    }
    Post(kStatusDifferences, 0);
    Post(kStatusDifferences, 1);
    Post(kStatusDifferences, 100);
    EXPECT_EQ(m_target.lines,
              (std::vector<std::string>{
                  "Unknown error in board/3", "Timeout error/3", "Incorrect checksumm/3",
                  "Board cannot recognize command/3", "Board cannot accept command data/3",
                  "Software error in board/3", "Hardware error in board/3",
                  "Unknown error in board/3", "All the cells were successfully compared/1",
                  "VERIFY OPERATION COMPLETED WITH ERRORS./4",
                  "VERIFY OPERATION COMPLETED WITH ERRORS./4"}));
}

TEST_F(StatusHandlerTest, MismatchMarksTheCellOfABinOrHexDocumentWithoutRedraw) {
    CBinDoc* bin = NewBin(16);
    ASSERT_NE(bin, nullptr);
    Activate(bin);
    Post(kStatusMismatch, (kMemoryData << 24) | 9);
    Post(kStatusMismatch, (kMemoryCode << 24) | 3);  // a word: both of its cells
    EXPECT_EQ(bin->GetArea().marks[9], kMarkMismatch);
    EXPECT_EQ(bin->GetArea().marks[6], kMarkMismatch);
    EXPECT_EQ(bin->GetArea().marks[7], kMarkMismatch);
    EXPECT_EQ(bin->GetArea().marks[3], kMarkData);
    EXPECT_EQ(m_view.updates, 0);

    CHexDoc* hex = NewHex(kPic16);
    ASSERT_NE(hex, nullptr);
    m_target.active = hex;
    Post(kStatusMismatch, (kMemorySpecial << 24) | 2);
    Post(kStatusMismatch, (kMemoryData << 24) | 0xFF);
    EXPECT_EQ(hex->GetImage().special.marks[4], kMarkMismatch);
    EXPECT_EQ(hex->GetImage().data.marks[0xFF], kMarkMismatch);
    EXPECT_NE(hex->GetImage().code.marks[4], kMarkMismatch);
}

TEST_F(StatusHandlerTest, MismatchInAnotherKindOfDocumentChangesNothing) {
    CQuilletDocument other;
    other.SetTitle("Other");
    Activate(&other);
    Post(kStatusMismatch, (kMemoryCode << 24) | 1);
    EXPECT_TRUE(m_target.lines.empty());
    EXPECT_EQ(m_view.updates, 0);
    // Its views are still redrawn at the end of an operation.
    Post(kStatusVerifyDone);
    EXPECT_EQ(m_view.updates, 1);
    m_counted->RemoveView(&m_view);
    m_counted = nullptr;
}

}  // namespace
}  // namespace shell_test
