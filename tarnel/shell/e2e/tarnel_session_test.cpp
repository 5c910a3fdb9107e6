// The device programmer end to end: the application as tarnel.exe starts it, a simulated
// programmer board on COM1, and a user's session through the windows: open a program file, choose
// the chip, write, verify, find a damaged cell, read the chip back, and close.
//
// With FWT_DEMO_DIR set, the session also leaves a picture of the main window there
// (tarnel.bmp): the device programmer's demonstration runs this program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "board_on_port.h"
#include "guitest/capture.h"
#include "guitest/pump.h"
#include "guitest/stand_ins.h"
#include "session_probes.h"
#include "tarnel/frame_rules/frame_command_ids.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/hex_view.h"
#include "tarnel/shell/main_frame.h"
#include "tarnel/shell/resource.h"
#include "tarnel/shell/tarnel_app.h"

namespace {

CTarnelApp theApp;

const char* const kChip = "Brontal-A: AT89S53";  // code 0x3000, written through the controller
constexpr BYTE kCodeKind = 1;                    // the board's memory of the chip's code
constexpr uint32_t kDamagedCell = 0x0181;        // the "u" of the program's banner text
constexpr DWORD kJobMs = 60000;

std::vector<std::string> Lines(CMainFrame* frame) {
    return e2e::ListViewLines(frame->MessageBar().List().m_hWnd);
}

// The lines the window gained since `before` lines.
std::vector<std::string> LinesAfter(CMainFrame* frame, size_t before) {
    std::vector<std::string> lines = Lines(frame);
    return std::vector<std::string>(lines.begin() + std::min(before, lines.size()), lines.end());
}

void Print(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::cout << "  | " << line << "\n";
    }
    std::cout.flush();
}

std::string ItemText(CWnd* dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog->m_hWnd, id, text, sizeof text);
    return text;
}

// The chip the "Select chip" dialog offers, and OK pressed on it.
guitest::ModalDialogDriver::Script AcceptChip(std::string* offered) {
    return [offered](CDialog* dialog) {
        HWND list = ::GetDlgItem(dialog->m_hWnd, IDC_CHIP_LIST);
        const LRESULT index = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
        char name[256] = {};
        if (index >= 0) {
            ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(name));
        }
        *offered = name;
        guitest::ClickItem(dialog, IDOK);
    };
}

// Every hex editor below a window, in the order of the window tree.
void CollectHexViews(HWND parent, std::vector<CHexView*>* views) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (auto* view = dynamic_cast<CHexView*>(CWnd::FromHandlePermanent(child))) {
            views->push_back(view);
        }
        CollectHexViews(child, views);
    }
}

// The shown hex editor of the code area of the active document.
CHexView* CodeView(CMainFrame* frame) {
    CMDIChildWnd* child = frame->MDIGetActive();
    if (child == nullptr) {
        return nullptr;
    }
    std::vector<CHexView*> views;
    CollectHexViews(child->m_hWnd, &views);
    for (CHexView* view : views) {
        if (view->IsWindowVisible() && view->Model().Size() == 0x3000) {
            return view;
        }
    }
    return nullptr;
}

int CountColour(const guitest::ClientPixels& pixels, const CRect& r, COLORREF colour) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            count += pixels.At(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

class TarnelSession : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_file = e2e::BesideProgram("running_light.hex");
        std::string problem;
        s_program = e2e::ReadIntelHex(s_file, &problem);
        ASSERT_FALSE(s_program.empty()) << problem;
    }

    void SetUp() override {
        ASSERT_TRUE(m_board.Attached()) << m_board.Problem();
        ASSERT_NE(m_board.Programmer(), nullptr);
        m_registry.Remove();  // a first start: nothing stored yet
        ASSERT_TRUE(theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW));
        ASSERT_TRUE(theApp.InitInstance());
        guitest::PumpPending();
        m_frame = theApp.MainFrame();
        ASSERT_NE(m_frame, nullptr);
    }

    void TearDown() override {
        if (theApp.m_pMainWnd != nullptr) {
            theApp.m_pMainWnd->DestroyWindow();
            guitest::PumpPending();
            theApp.ExitInstance();
        }
        guitest::QuitSeen();
    }

    // Sends a board command and waits until the programming thread has ended and the progress
    // dialog offers Exit again; the lines it added.
    std::vector<std::string> RunCommand(UINT command) {
        const size_t before = Lines(m_frame).size();
        m_frame->SendMessage(WM_COMMAND, command);
        CWnd* exit = m_frame->GetProgressDialog().GetDlgItem(IDC_PROGRESS_EXIT);
        const bool ended = guitest::WaitUntil(
            [&] {
                return !theApp.JobQueue().IsRunning() && exit != nullptr &&
                       exit->IsWindowEnabled() && Lines(m_frame).size() > before;
            },
            kJobMs);
        EXPECT_TRUE(ended) << "command " << command << " did not end";
        guitest::PumpPending();
        return LinesAfter(m_frame, before);
    }

    std::string ProgressStatus() {
        return ItemText(&m_frame->GetProgressDialog(), IDC_PROGRESS_STATUS);
    }

    // Presses the progress dialog's Exit, as the user does after reading it.
    void CloseProgress() {
        guitest::ClickItem(&m_frame->GetProgressDialog(), IDC_PROGRESS_EXIT);
        guitest::WaitUntil([&] { return !m_frame->GetProgressDialog().IsWindowVisible(); }, 5000);
    }

    std::vector<BYTE>& BoardCode() { return m_board.Programmer()->Memory(kCodeKind); }

    static std::string s_file;
    static std::map<uint32_t, uint8_t> s_program;

    e2e::BoardOnPort m_board{1, "programmer", "baud=19200"};
    e2e::RegistryProbe m_registry{"Software\\Velcor\\Tarnel"};
    CMainFrame* m_frame = nullptr;
};

std::string TarnelSession::s_file;
std::map<uint32_t, uint8_t> TarnelSession::s_program;

TEST_F(TarnelSession, ProgramsAChipVerifiesItFindsADamagedCellAndReadsItBack) {
    const char* demo = std::getenv("FWT_DEMO_DIR");
    guitest::MessageBoxAnswers boxes(IDNO);  // a question to save an image: no
    guitest::ModalDialogDriver dialogs;
    guitest::FileDialogAnswers files;
    EXPECT_EQ(e2e::ListViewLines(m_frame->MessageBar().List().m_hWnd).size(), 0u);

    // The chip, chosen in the settings bar's list.
    CComboBox* chips = m_frame->SettingsBar().ChipCombo();
    ASSERT_NE(chips, nullptr);
    const int index = chips->FindStringExact(-1, kChip);
    ASSERT_GE(index, 0);
    chips->SetCurSel(index);
    chips->GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SETTINGS_CHIPS, CBN_SELCHANGE),
                                    reinterpret_cast<LPARAM>(chips->m_hWnd));
    EXPECT_EQ(std::string(theApp.Settings().ChipName()), kChip);

    // The program file, chosen in the Open dialog; reading it asks for its chip, which the
    // dialog offers as the one chosen.
    std::string offered;
    files.Choose(s_file);
    dialogs.Then(AcceptChip(&offered));
    m_frame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    guitest::PumpPending();
    ASSERT_EQ(files.Seen().size(), 1u);
    EXPECT_TRUE(files.Seen()[0].open);
    EXPECT_EQ(offered, kChip);
    auto* doc = dynamic_cast<CHexDoc*>(m_frame->GetActiveQuilletDocument());
    ASSERT_NE(doc, nullptr) << "the program file did not open";
    EXPECT_EQ(doc->GetImage().code.Size(), 0x3000u);

    // Write: the program's cells reach the chip's code memory, and nothing else is touched.
    std::cout << "Write chip\n";
    std::vector<std::string> lines = RunCommand(ID_CHIP_WRITE);
    Print(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Write started (Code Memory)...",
                                               "Write completed successfuly"}));
    EXPECT_EQ(ProgressStatus(), "Status : Done");
    CloseProgress();
    size_t differing = 0;
    size_t erased = 0;
    for (size_t address = 0; address < 0x3000; ++address) {
        auto it = s_program.find(static_cast<uint32_t>(address));
        const BYTE expected = it != s_program.end() ? it->second : 0xFF;
        differing += BoardCode()[address] != expected ? 1 : 0;
        erased += it == s_program.end() ? 1 : 0;
    }
    EXPECT_EQ(differing, 0u);
    std::cout << "board: its code memory equals " << s_file.substr(s_file.find_last_of("\\/") + 1)
              << " byte for byte (" << s_program.size() << " program bytes, " << erased
              << " cells still erased)\n";

    // Verify: every cell compares.
    std::cout << "Verify chip\n";
    lines = RunCommand(ID_CHIP_VERIFY);
    Print(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Verify started (Code Memory)...",
                                               "All the cells were successfully compared",
                                               "Verify done"}));
    EXPECT_EQ(ProgressStatus(), "Status : Done");
    CloseProgress();

    // One cell damaged on the board: verify fails, and the cell is drawn in the mismatch colour.
    BoardCode()[kDamagedCell] ^= 0xFF;
    std::cout << "Verify chip, one board cell damaged at 0x" << std::hex << kDamagedCell << std::dec
              << "\n";
    lines = RunCommand(ID_CHIP_VERIFY);
    Print(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Verify started (Code Memory)...",
                                               "VERIFY OPERATION COMPLETED WITH ERRORS.",
                                               "Verify failed"}));
    EXPECT_EQ(ProgressStatus(), "Status : Failure");
    CloseProgress();
    EXPECT_EQ(doc->GetImage().code.marks[kDamagedCell], kMarkMismatch);
    EXPECT_NE(doc->GetImage().code.marks[kDamagedCell + 1], kMarkMismatch);
    CHexView* view = CodeView(m_frame);
    ASSERT_NE(view, nullptr);
    view->GoToCell(kDamagedCell + 1);  // the cursor beside it: the damaged cell stays unselected
    m_frame->SetFocus();               // and no caret blinks over the cells
    view->Invalidate();
    view->UpdateWindow();
    guitest::PumpPending();
    const guitest::ClientPixels pixels(view);
    const CRect damaged = view->CellHexRect(kDamagedCell);
    const CRect before = view->CellHexRect(kDamagedCell - 1);
    ASSERT_TRUE(CRect(0, 0, pixels.Width(), pixels.Height()).PtInRect(damaged.CenterPoint()));
    EXPECT_GT(CountColour(pixels, damaged, view->m_clrMismatch), 0);
    EXPECT_EQ(CountColour(pixels, before, view->m_clrMismatch), 0);
    EXPECT_GT(CountColour(pixels, view->CellCharRect(kDamagedCell), view->m_clrMismatch), 0);

    // Read chip: into a new image that equals the board's memory, the damaged cell included.
    std::cout << "Read chip\n";
    dialogs.Then(AcceptChip(&offered));
    lines = RunCommand(ID_CHIP_READ);
    Print(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Read started (Code Memory)...",
                                               "Read completed successfuly"}));
    EXPECT_EQ(ProgressStatus(), "Status : Done");
    CloseProgress();
    auto* read = dynamic_cast<CHexDoc*>(m_frame->GetActiveQuilletDocument());
    ASSERT_NE(read, nullptr);
    // A new image (the file's was closed first): it has no file yet.
    EXPECT_TRUE(read->GetPathName().IsEmpty());
    const std::vector<BYTE>& board = BoardCode();
    EXPECT_TRUE(read->GetImage().code.cells ==
                std::vector<uint8_t>(board.begin(), board.begin() + 0x3000));
    EXPECT_EQ(dialogs.Unscripted(), 0);

    if (demo != nullptr) {
        EXPECT_TRUE(e2e::SaveWindowBitmap(m_frame->m_hWnd, std::string(demo) + "\\tarnel.bmp"));
    }

    // Close: the settings, the bars' state and the window's placement go to the registry.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(::GetWindowPlacement(m_frame->m_hWnd, &placement));
    m_frame->SendMessage(WM_CLOSE);
    guitest::PumpPending();
    ASSERT_EQ(theApp.m_pMainWnd, nullptr) << "the frame stayed open";
    theApp.ExitInstance();
    std::string text;
    DWORD number = 0;
    EXPECT_TRUE(m_registry.ReadString("Settings", "ChipName", &text));
    EXPECT_EQ(text, kChip);
    EXPECT_TRUE(m_registry.ReadString("Settings", "CommPort", &text));
    EXPECT_EQ(text, "COM1");
    EXPECT_TRUE(m_registry.ReadDword("Settings", "BPR", &number));
    EXPECT_EQ(number, 16u);
    std::vector<BYTE> stored;
    ASSERT_TRUE(m_registry.ReadBinary("Settings", "Placement", &stored));
    ASSERT_EQ(stored.size(), sizeof(WINDOWPLACEMENT));
    WINDOWPLACEMENT saved{};
    std::memcpy(&saved, stored.data(), sizeof saved);
    EXPECT_TRUE(::EqualRect(&saved.rcNormalPosition, &placement.rcNormalPosition));
    bool barSections = false;
    for (const std::string& key : m_registry.Subkeys("")) {
        barSections = barSections || key.rfind("Bar State-Bar", 0) == 0;
    }
    EXPECT_TRUE(barSections) << "no bar state was stored";
}

}  // namespace
