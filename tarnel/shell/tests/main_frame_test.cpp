// The real application under wine: a first start on an empty profile, the board commands'
// enabled states while idle and while the programming thread runs, closing (close box and File
// Exit) while it runs, the Set Mode switch against the programmer board on COM1, keys typed in
// the hex editor, the Messages window's bar menu and the toolbar's pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "boards/programmer_board.h"
#include "guitest/capture.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"
#include "guitest/stand_ins.h"
#include "tarnel/shell/bin_doc.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/hex_view.h"
#include "tarnel/shell/main_frame.h"
#include "tarnel/shell/quillet_doc_manager.h"
#include "tarnel/shell/quillet_document.h"
#include "tarnel/shell/resource.h"
#include "tarnel/shell/tarnel_app.h"
#include "w32test/vport.h"

namespace {

CTarnelApp theApp;

const char* const kAppKey = "Software\\Velcor\\Tarnel";
const char* const kSecurityChip = "Brontal-A2(22 MHZ): (A)T89C51RX2";  // device code 167

// Starts the program as Windows would, on a profile with nothing stored.
class StartEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        guitest::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Velcor");
        ASSERT_TRUE(theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW));
        ASSERT_TRUE(theApp.InitInstance());
        guitest::PumpPending();
    }
    void TearDown() override {
        if (theApp.m_pMainWnd != nullptr) {
            theApp.m_pMainWnd->DestroyWindow();
        }
        guitest::PumpPending();
        guitest::QuitSeen();
        theApp.ExitInstance();
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new StartEnvironment);

// A value under the application's key: its type and bytes; false when absent.
bool ReadValue(const char* section, const char* entry, DWORD* type, std::vector<BYTE>* bytes) {
    HKEY key = nullptr;
    const std::string path = std::string(kAppKey) + "\\" + section;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(key, entry, nullptr, type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        bytes->resize(size);
        result = ::RegQueryValueExA(key, entry, nullptr, type, bytes->data(), &size);
    }
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool KeyExists(const std::string& section) {
    HKEY key = nullptr;
    const std::string path = std::string(kAppKey) + "\\" + section;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

void DeleteValue(const char* section, const char* entry) {
    HKEY key = nullptr;
    const std::string path = std::string(kAppKey) + "\\" + section;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueA(key, entry);
        ::RegCloseKey(key);
    }
}

// The Messages window's lines, oldest first.
std::vector<std::string> MessageLines(CMainFrame* frame) {
    CListCtrl& list = frame->MessageBar().List();
    std::vector<std::string> lines;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        lines.push_back(std::string(list.GetItemText(i, 0)));
    }
    return lines;
}

std::string ComboText(CComboBox* combo, int index) {
    CString text;
    combo->GetLBText(index, text);
    return std::string(text);
}

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) {
        return text;
    }
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

// The colour of each toolbar picture that no other picture uses, in the buttons' order, then
// the Set Mode button's faces: program mode, run mode, port closed.
constexpr COLORREF kToolbarColours[] = {
    RGB(255, 200, 0), RGB(216, 160, 32), RGB(0, 64, 176),  RGB(0, 150, 0),    RGB(208, 0, 0),
    RGB(0, 112, 240), RGB(255, 128, 0),  RGB(0, 160, 160), RGB(128, 64, 192), RGB(240, 96, 160),
    RGB(200, 160, 0), RGB(96, 96, 0),    RGB(0, 96, 255),  RGB(32, 64, 144)};
constexpr COLORREF kProgramFace = RGB(224, 32, 96);
constexpr COLORREF kRunFace = RGB(32, 224, 96);
constexpr COLORREF kClosedFace = RGB(96, 32, 224);

// One picture of the toolbar's image list drawn on a colour that no picture uses (showing
// where the list masks the button face out): its pixels, rows top-down.
constexpr COLORREF kBehind = RGB(1, 2, 3);
std::vector<COLORREF> ToolbarPicture(CToolBar& bar, int image) {
    auto list = reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST));
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(list, &cx, &cy);
    std::vector<COLORREF> pixels;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH behind = ::CreateSolidBrush(kBehind);
    RECT all = {0, 0, cx, cy};
    ::FillRect(memory, &all, behind);
    ::DeleteObject(behind);
    if (::ImageList_Draw(list, image, memory, 0, 0, ILD_NORMAL)) {
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                pixels.push_back(::GetPixel(memory, x, y));
            }
        }
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// The programmer board, holding the host's bytes back from the first one on until released:
// the programming thread then stays in its first write.
class HoldingBoard : public boards::ProgrammerBoard {
public:
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    bool Held() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_held;
    }

protected:
    void OnByte(BYTE byte, bool garbled) override {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_held = true;
            m_changed.wait(lock, [this] { return m_released; });
        }
        ProgrammerBoard::OnByte(byte, garbled);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    bool m_released = false;
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (theApp.MainFrame() == nullptr) {
            ASSERT_TRUE(theApp.CreateMainFrame());
        }
        m_frame = theApp.MainFrame();
        ASSERT_NE(m_frame, nullptr);
        guitest::PumpPending();
    }
    void TearDown() override {
        if (m_board != nullptr) {
            m_board->Release();
        }
        EXPECT_TRUE(guitest::WaitUntil([] { return !theApp.JobQueue().IsRunning(); }, 10000));
        if (theApp.MainFrame() != nullptr) {
            theApp.MainFrame()->FramePort().Close();
        }
        w32test::vport::Detach(1);
        guitest::PumpPending();
    }

    // Puts a programmer board on COM1, the port of a first start.
    template <class B>
    B& Attach() {
        auto board = std::make_unique<B>();
        B& b = *board;
        w32test::vport::Detach(1);
        m_attached = std::move(board);
        EXPECT_TRUE(w32test::vport::Attach(1, m_attached.get()));
        return b;
    }

    void SelectChip(const char* chip) {
        theApp.Settings().SetChipName(chip);
        m_frame->RestoreBarSelections();
    }

    void Command(UINT id) {
        m_frame->SendMessage(WM_COMMAND, id, 0);
        guitest::PumpPending();
    }

    // The toolbar after the idle-time update.
    bool ButtonEnabled(UINT id) {
        guitest::RunIdle();
        return m_frame->ToolBar().GetToolBarCtrl().IsButtonEnabled(static_cast<int>(id)) != FALSE;
    }

    // Which picture the Set Mode button shows on the screen, by the colour that is its own:
    // one of its three faces or the toolbar's own picture; CLR_INVALID for none of them.
    COLORREF SetModeFace() {
        CToolBar& bar = m_frame->ToolBar();
        bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        CRect rect;
        bar.GetItemRect(bar.CommandToIndex(ID_SET_MODE), &rect);
        guitest::ClientPixels pixels(&bar);
        for (COLORREF face : {kProgramFace, kRunFace, kClosedFace, kToolbarColours[11]}) {
            for (int y = rect.top; y < rect.bottom; ++y) {
                for (int x = rect.left; x < rect.right; ++x) {
                    if (pixels.At(x, y) == face) {
                        return face;
                    }
                }
            }
        }
        return CLR_INVALID;
    }

    // The toolbar's image of a button now.
    int ImageOf(UINT id) {
        CToolBar& bar = m_frame->ToolBar();
        UINT nID = 0;
        UINT style = 0;
        int image = -1;
        bar.GetButtonInfo(bar.CommandToIndex(id), nID, style, image);
        return image;
    }

    // A .bin image of `size` bytes 'A', 'B', ... opened as the active document.
    CBinDoc* OpenLetters(const char* name, size_t size) {
        char folder[MAX_PATH];
        ::GetTempPathA(MAX_PATH, folder);
        m_path = std::string(folder) + name;
        std::vector<BYTE> bytes(size);
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<BYTE>('A' + i % 26);
        }
        {
            CFile file(m_path.c_str(), CFile::modeCreate | CFile::modeWrite);
            file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        }
        auto* doc = dynamic_cast<CBinDoc*>(theApp.OpenDocumentFile(m_path.c_str()));
        guitest::PumpPending();
        return doc;
    }
    void CloseLetters() {
        theApp.CloseAllDocuments(FALSE);
        guitest::PumpPending();
        ::DeleteFileA(m_path.c_str());
    }

    CMainFrame* m_frame = nullptr;
    std::unique_ptr<boards::Board> m_attached;
    HoldingBoard* m_board = nullptr;
    std::string m_path;
};

TEST_F(MainFrameTest, AFirstStartShowsTheFrameWithCom1AndNoChip) {
    EXPECT_TRUE(m_frame->IsWindowVisible());
    CString title;
    m_frame->GetWindowText(title);
    EXPECT_EQ(std::string(title), "Tarnel");
    EXPECT_FALSE(m_frame->IsIconic());
    EXPECT_FALSE(m_frame->IsZoomed());

    CComboBox* ports = m_frame->SettingsBar().PortCombo();
    ASSERT_EQ(ports->GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ComboText(ports, i), "COM" + std::to_string(i + 1));
    }
    EXPECT_EQ(ports->GetCurSel(), 0);
    CComboBox* chips = m_frame->SettingsBar().ChipCombo();
    EXPECT_EQ(chips->GetCount(), 21);
    EXPECT_EQ(ComboText(chips, 0), "Vasbel-1 RAM 512K");
    EXPECT_EQ(chips->GetCurSel(), CB_ERR);
    EXPECT_EQ(std::string(theApp.Settings().CommPort()), "COM1");
    EXPECT_TRUE(theApp.Settings().ChipName().IsEmpty());
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);

    DWORD type = 0;
    std::vector<BYTE> bytes;
    EXPECT_FALSE(ReadValue("Settings", "Placement", &type, &bytes));
    EXPECT_TRUE(m_frame->MessageBar().IsWindowVisible());
    EXPECT_TRUE(m_frame->SettingsBar().IsWindowVisible());
    EXPECT_FALSE(m_frame->GetProgressDialog().IsWindowVisible());
}

TEST_F(MainFrameTest, IdleTheBoardCommandsFollowTheChip) {
    SelectChip("");
    EXPECT_TRUE(ButtonEnabled(ID_CHIP_READ));
    EXPECT_TRUE(ButtonEnabled(ID_SET_MODE));
    EXPECT_TRUE(ButtonEnabled(ID_APP_ABOUT));
    for (UINT id :
         {ID_CHIP_WRITE, ID_CHIP_VERIFY, ID_AUTO_SEQUENCE, ID_CHIP_BLANK_CHECK, ID_SPECIAL_FEATURES,
          ID_CHIP_ERASE, ID_SET_SECURITY_BITS, ID_CHECK_CONNECTION}) {
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    }
    SelectChip(kSecurityChip);
    EXPECT_EQ(m_frame->SettingsBar().ChipCombo()->GetCurSel(), 16);
    EXPECT_TRUE(ButtonEnabled(ID_CHIP_ERASE));
    EXPECT_TRUE(ButtonEnabled(ID_SET_SECURITY_BITS));
    EXPECT_FALSE(ButtonEnabled(ID_CHIP_WRITE));  // no image open
    EXPECT_FALSE(ButtonEnabled(ID_CHECK_CONNECTION));
}

TEST_F(MainFrameTest, WhileTheProgrammingThreadRunsOnlySetModeAndTheWindowsStayEnabled) {
    m_board = &Attach<HoldingBoard>();
    SelectChip(kSecurityChip);
    Command(ID_BOARD_INFO);
    ASSERT_TRUE(guitest::WaitUntil([this] { return m_board->Held(); }, 10000));
    ASSERT_TRUE(theApp.JobQueue().IsRunning());

    for (UINT id :
         {ID_CHIP_READ, ID_CHIP_ERASE, ID_SET_SECURITY_BITS, ID_CHIP_WRITE, ID_CHECK_CONNECTION}) {
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    }
    EXPECT_TRUE(ButtonEnabled(ID_SET_MODE));
    EXPECT_TRUE(ButtonEnabled(ID_FILE_NEW));

    m_board->Release();
    ASSERT_TRUE(guitest::WaitUntil([] { return !theApp.JobQueue().IsRunning(); }, 10000));
    EXPECT_TRUE(ButtonEnabled(ID_CHIP_READ));
    EXPECT_TRUE(ButtonEnabled(ID_CHIP_ERASE));
}

TEST_F(MainFrameTest, ClosingWhileRunningWaitsThenStaysOpenAndClosesOnceTheThreadEnded) {
    m_board = &Attach<HoldingBoard>();
    DeleteValue("Settings", "Placement");
    Command(ID_BOARD_INFO);
    ASSERT_TRUE(guitest::WaitUntil([this] { return m_board->Held(); }, 10000));
    const HWND frame = m_frame->m_hWnd;

    const DWORD start = ::GetTickCount();
    m_frame->SendMessage(WM_CLOSE);
    const DWORD waited = ::GetTickCount() - start;

    EXPECT_GE(waited, CMainFrame::kCloseWaitMs - 50);
    EXPECT_LT(waited, CMainFrame::kCloseWaitMs + 2000);
    EXPECT_TRUE(::IsWindow(frame));
    DWORD type = 0;
    std::vector<BYTE> bytes;
    EXPECT_FALSE(ReadValue("Settings", "Placement", &type, &bytes));

    m_board->Release();
    ASSERT_TRUE(guitest::WaitUntil([] { return !theApp.JobQueue().IsRunning(); }, 10000));
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(guitest::WaitUntil([frame] { return !::IsWindow(frame); }, 5000));
    guitest::QuitSeen();
    theApp.m_pMainWnd = nullptr;

    ASSERT_TRUE(ReadValue("Settings", "Placement", &type, &bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes.size(), 44u);
    EXPECT_TRUE(KeyExists("Bar State-Summary"));
}

TEST_F(MainFrameTest, FileExitClosesAsTheCloseBoxDoesWaitingForTheRunFirst) {
    HMENU file = ::GetSubMenu(::GetMenu(m_frame->m_hWnd), 0);
    ASSERT_NE(file, nullptr);
    m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    const std::vector<guitest::MenuItemSeen> items = guitest::MenuItems(file);
    auto exit = std::find_if(items.begin(), items.end(), [](const guitest::MenuItemSeen& item) {
        return item.id == static_cast<UINT>(ID_APP_EXIT);
    });
    ASSERT_NE(exit, items.end());
    EXPECT_FALSE(exit->grayed);

    m_board = &Attach<HoldingBoard>();
    DeleteValue("Settings", "Placement");
    Command(ID_BOARD_INFO);
    ASSERT_TRUE(guitest::WaitUntil([this] { return m_board->Held(); }, 10000));
    const HWND frame = m_frame->m_hWnd;
    const DWORD start = ::GetTickCount();
    Command(ID_APP_EXIT);
    EXPECT_GE(::GetTickCount() - start, CMainFrame::kCloseWaitMs - 50);
    EXPECT_TRUE(::IsWindow(frame));

    m_board->Release();
    ASSERT_TRUE(guitest::WaitUntil([] { return !theApp.JobQueue().IsRunning(); }, 10000));
    {
        // Alt+F, then X in the File menu's own loop: the keys come from a thread of their own.
        // Escapes close a menu that refused the choice.
        guitest::InputScript keys;
        keys.Foreground(m_frame).KeyDown(VK_MENU).KeyDown('F').KeyUp('F').KeyUp(VK_MENU);
        keys.Pause(200).KeyDown('X').KeyUp('X').Pause(300);
        keys.KeyDown(VK_ESCAPE).KeyUp(VK_ESCAPE).KeyDown(VK_ESCAPE).KeyUp(VK_ESCAPE);
        EXPECT_TRUE(keys.Run());
    }
    EXPECT_TRUE(guitest::WaitUntil([frame] { return !::IsWindow(frame); }, 5000));
    guitest::QuitSeen();
    theApp.m_pMainWnd = nullptr;
    DWORD type = 0;
    std::vector<BYTE> bytes;
    EXPECT_TRUE(ReadValue("Settings", "Placement", &type, &bytes));
}

TEST_F(MainFrameTest, ARestartPutsTheFrameWhereItWasClosed) {
    CRect moved(60, 50, 760, 560);
    m_frame->MoveWindow(&moved);
    const HWND frame = m_frame->m_hWnd;
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(guitest::WaitUntil([frame] { return !::IsWindow(frame); }, 5000));
    guitest::QuitSeen();
    theApp.m_pMainWnd = nullptr;

    ASSERT_TRUE(theApp.CreateMainFrame());
    guitest::PumpPending();
    CRect now;
    theApp.MainFrame()->GetWindowRect(&now);
    EXPECT_EQ(now, moved);
    EXPECT_TRUE(theApp.MainFrame()->IsWindowVisible());
}

TEST_F(MainFrameTest, SetModeTwiceOpensThePortOnceForRunThenProgramMode) {
    boards::ProgrammerBoard& board = Attach<boards::ProgrammerBoard>();
    const COLORREF closed = SetModeFace();
    Command(ID_CLEAR_MESSAGES);
    ASSERT_TRUE(guitest::WaitUntil([this] { return MessageLines(m_frame).empty(); }));

    Command(ID_SET_MODE);
    EXPECT_TRUE(m_frame->FramePort().IsRunMode());
    EXPECT_FALSE(board.Rts());
    const COLORREF run = SetModeFace();
    EXPECT_EQ(run, kRunFace);

    Command(ID_SET_MODE);
    EXPECT_FALSE(m_frame->FramePort().IsRunMode());
    EXPECT_TRUE(board.Rts());
    EXPECT_EQ(SetModeFace(), kProgramFace);
    EXPECT_NE(closed, run);

    int opens = 0;
    for (const boards::Record& r : board.Log().Records()) {
        opens += r.what.compare(0, 4, "open") == 0 ? 1 : 0;
    }
    EXPECT_EQ(opens, 1);
    EXPECT_TRUE(guitest::WaitUntil([this] { return MessageLines(m_frame).size() >= 2; }));
    EXPECT_TRUE(guitest::WaitUntil([this] { return MessageLines(m_frame).size() >= 4; }));
    EXPECT_EQ(MessageLines(m_frame),
              (std::vector<std::string>{"", "RUN MODE", "", "PROGRAM MODE"}));
}

TEST_F(MainFrameTest, SetModeOnAPortThatCannotBeOpenedSaysSoAndKeepsTheMode) {
    Attach<boards::ProgrammerBoard>();
    ASSERT_TRUE(
        w32test::vport::FailNext(1, w32test::vport::CallKind::Open, 1, ERROR_ACCESS_DENIED));
    const bool run = m_frame->FramePort().IsRunMode();
    Command(ID_CLEAR_MESSAGES);
    ASSERT_TRUE(guitest::WaitUntil([this] { return MessageLines(m_frame).empty(); }));

    Command(ID_SET_MODE);

    EXPECT_EQ(m_frame->FramePort().IsRunMode(), run);
    EXPECT_FALSE(m_frame->FramePort().IsOpen());
    EXPECT_TRUE(guitest::WaitUntil([this] { return MessageLines(m_frame).size() >= 2; }));
    EXPECT_EQ(MessageLines(m_frame), (std::vector<std::string>{"", "Can not open COM port"}));
}

TEST_F(MainFrameTest, BoardCommandsCloseTheFramesPortAndShowItClosed) {
    boards::ProgrammerBoard& board = Attach<boards::ProgrammerBoard>();
    Command(ID_SET_MODE);
    ASSERT_TRUE(m_frame->FramePort().IsOpen());
    const bool run = m_frame->FramePort().IsRunMode();

    SelectChip("");
    guitest::MessageBoxAnswers boxes(IDOK);
    Command(ID_CHIP_READ);  // refused for want of a chip, but the port is handed back first
    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_FALSE(m_frame->FramePort().IsOpen());
    EXPECT_EQ(SetModeFace(), kClosedFace);
    EXPECT_EQ(m_frame->FramePort().IsRunMode(), run);
    (void)board;
}

TEST_F(MainFrameTest, SecurityBitsAfterSetModeLeaveThePortToTheProgrammingThread) {
    boards::ProgrammerBoard& board = Attach<boards::ProgrammerBoard>();
    SelectChip(kSecurityChip);
    Command(ID_SET_MODE);
    ASSERT_TRUE(m_frame->FramePort().IsOpen());

    Command(ID_SET_SECURITY_BITS);
    EXPECT_FALSE(m_frame->FramePort().IsOpen());
    ASSERT_TRUE(guitest::WaitUntil([] { return !theApp.JobQueue().IsRunning(); }, 10000));

    // The frame's opening, its close, then the programming thread's own opening.
    std::vector<std::string> ports;
    for (const boards::Record& r : board.Log().Records()) {
        if (r.what.compare(0, 4, "open") == 0 || r.what == "close") {
            ports.push_back(r.what.substr(0, 5));
        }
    }
    ASSERT_GE(ports.size(), 3u);
    EXPECT_EQ(ports[0], "open ");
    EXPECT_EQ(ports[1], "close");
    EXPECT_EQ(ports[2], "open ");
}

TEST_F(MainFrameTest, UnknownChipIsRefusedWithTheBoxAndNothingQueued) {
    SelectChip("");
    guitest::MessageBoxAnswers boxes(IDOK);
    Command(ID_CHIP_READ);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Unknown programming mode. Please select chip.");
    EXPECT_EQ(boxes.Seen()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_FALSE(theApp.JobQueue().IsRunning());
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);
}

TEST_F(MainFrameTest, ReadChipWithAnUnsavedImageAndThePromptDeclinedKeepsItOpen) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "frame_test_image.bin";
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        const BYTE bytes[16] = {1, 2, 3};
        file.Write(bytes, sizeof bytes);
    }
    CDocument* doc = theApp.OpenDocumentFile(path.c_str());
    ASSERT_NE(doc, nullptr);
    guitest::PumpPending();
    EXPECT_EQ(static_cast<CDocument*>(m_frame->GetActiveQuilletDocument()), doc);
    doc->SetModifiedFlag(TRUE);
    SelectChip("Brontal-A: AT89S8252");
    EXPECT_TRUE(ButtonEnabled(ID_CHIP_WRITE));
    EXPECT_TRUE(ButtonEnabled(ID_CHIP_VERIFY));

    {
        guitest::MessageBoxAnswers boxes(IDCANCEL);
        Command(ID_CHIP_READ);
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].type & 0xF, static_cast<UINT>(MB_YESNOCANCEL));
    }
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 1);
    EXPECT_FALSE(theApp.JobQueue().IsRunning());

    doc->SetModifiedFlag(FALSE);
    theApp.CloseAllDocuments(FALSE);
    guitest::PumpPending();
    ::DeleteFileA(path.c_str());
}

TEST_F(MainFrameTest, WriteThenVerifyAnImageThroughTheBoardAndMarkWhatDiffers) {
    boards::ProgrammerBoard& board = Attach<boards::ProgrammerBoard>();
    SelectChip("Brontal-A: AT89S53");  // code only
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "frame_test_write.bin";
    std::vector<BYTE> bytes(64);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<BYTE>(0xA0 ^ i);
    }
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    }
    auto* doc = dynamic_cast<CBinDoc*>(theApp.OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    guitest::PumpPending();

    // The memory dialog as it comes, then Yes to the range shorter than the chip.
    auto run = [this](UINT command) {
        guitest::ModalDialogDriver dialogs;
        dialogs.Then([](CDialog* dlg) {
            guitest::ClickItem(dlg, IDC_MEMORY_CODE);
            guitest::ClickItem(dlg, IDOK);
        });
        guitest::MessageBoxAnswers boxes(IDYES);
        Command(command);
        EXPECT_EQ(dialogs.DialogsSeen(), 1);
        EXPECT_TRUE(guitest::WaitUntil([] { return !theApp.JobQueue().IsRunning(); }, 20000));
        guitest::PumpFor(200);
    };
    run(ID_CHIP_WRITE);
    // The board's packets name an 8051 chip's program memory as kind 1.
    std::vector<BYTE>& code = board.Memory(1);
    ASSERT_GE(code.size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), code.begin()));
    EXPECT_FALSE(MessageLines(m_frame).empty());

    code[37] ^= 0xFF;
    run(ID_CHIP_VERIFY);
    ASSERT_EQ(doc->GetArea().marks.size(), bytes.size());
    EXPECT_EQ(doc->GetArea().marks[37], 2);
    EXPECT_EQ(doc->GetArea().marks[36], doc->GetArea().marks[38]);
    EXPECT_NE(doc->GetArea().marks[36], 2);

    doc->SetModifiedFlag(FALSE);
    theApp.CloseAllDocuments(FALSE);
    guitest::PumpPending();
    ::DeleteFileA(path.c_str());
}

TEST_F(MainFrameTest, AnImageTheRunUsesIsNeitherClosedNorReloadedNorChangedUntilTheRunEnds) {
    m_board = &Attach<HoldingBoard>();
    SelectChip("Brontal-A: AT89S53");  // code only
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "frame_test_in_use.bin";
    const std::vector<BYTE> bytes(64, 0x5A);
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    }
    auto* doc = dynamic_cast<CBinDoc*>(theApp.OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    guitest::PumpPending();
    {
        guitest::ModalDialogDriver dialogs;
        dialogs.Then([](CDialog* dlg) {
            guitest::ClickItem(dlg, IDC_MEMORY_CODE);
            guitest::ClickItem(dlg, IDOK);
        });
        guitest::MessageBoxAnswers boxes(IDYES);
        Command(ID_CHIP_WRITE);
    }
    ASSERT_TRUE(guitest::WaitUntil([this] { return m_board->Held(); }, 10000));
    ASSERT_TRUE(doc->IsInUseByRun());

    // Every way to close the image, or to let File New and File Open close it, is refused with
    // the box before any save question, though the image has edits.
    doc->SetModifiedFlag(TRUE);
    CMDIChildWnd* child = m_frame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    {
        guitest::MessageBoxAnswers boxes(IDOK);
        guitest::FileDialogAnswers files;
        Command(ID_FILE_CLOSE);
        Command(ID_FILE_NEW);
        Command(ID_FILE_OPEN);
        child->SendMessage(WM_CLOSE);
        guitest::PumpPending();
        ASSERT_EQ(boxes.Seen().size(), 4u);
        for (const auto& box : boxes.Seen()) {
            EXPECT_EQ(box.text,
                      "The chip is being programmed from this image.\nWait until the operation "
                      "ends, or press STOP.");
            EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        }
        EXPECT_TRUE(files.Seen().empty());
    }
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 1);
    EXPECT_EQ(m_frame->MDIGetActive(), child);

    // Fill is off, and keys typed into the editor change nothing.
    EXPECT_FALSE(IsFrameCommandEnabled(ID_EDIT_FILL, m_frame->CommandState()));
    CHexView* view = nullptr;
    for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr && view == nullptr;) {
        view = dynamic_cast<CHexView*>(doc->GetNextView(pos));
    }
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(guitest::BringToForeground(m_frame));
    view->SetFocus();
    guitest::PumpPending();
    view->GoToCell(3);
    guitest::TypeText("12");
    guitest::PressKey(VK_DELETE);
    guitest::PumpFor(200);
    EXPECT_EQ(std::vector<BYTE>(doc->GetArea().cells.begin(), doc->GetArea().cells.end()), bytes);
    EXPECT_EQ(doc->GetArea().marks[3], doc->GetArea().marks[4]);

    // The file changes on disk meanwhile: the look passes the image over, and asks once the run
    // has ended.
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        const BYTE other[4] = {1, 2, 3, 4};
        file.Write(other, sizeof other);
    }
    doc->SetFileTimeKept(doc->GetFileTimeKept() - 100);
    guitest::MessageBoxAnswers boxes(IDNO);
    auto* manager = dynamic_cast<CQuilletDocManager*>(theApp.m_pDocManager.get());
    ASSERT_NE(manager, nullptr);
    manager->CheckModifiedDocuments();
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(doc->GetArea().cells.size(), bytes.size());

    m_board->Release();
    ASSERT_TRUE(guitest::WaitUntil([] { return !theApp.JobQueue().IsRunning(); }, 20000));
    ASSERT_TRUE(guitest::WaitUntil([&] { return !boxes.Seen().empty(); }, 5000));
    EXPECT_EQ(boxes.Seen()[0].text,
              "Document file '" + std::string(doc->GetPathName()) +
                  "' was modified outside Tarnel.\nDo you want to reload it?");
    EXPECT_FALSE(doc->IsInUseByRun());
    EXPECT_TRUE(IsFrameCommandEnabled(ID_EDIT_FILL, m_frame->CommandState()));

    guitest::PumpFor(200);
    doc->SetModifiedFlag(FALSE);
    theApp.CloseAllDocuments(FALSE);
    guitest::PumpPending();
    ::DeleteFileA(path.c_str());
}

TEST_F(MainFrameTest, AboutOpensTheAboutBoxAndSaveWaitsForAnImage) {
    guitest::ModalDialogDriver dialogs;
    std::string caption;
    dialogs.Then([&caption](CDialog* dlg) {
        CString text;
        dlg->GetWindowText(text);
        caption = text;
        guitest::ClickItem(dlg, IDOK);
    });
    Command(ID_APP_ABOUT);
    EXPECT_EQ(dialogs.DialogsSeen(), 1);
    EXPECT_EQ(caption, "About Tarnel");

    EXPECT_FALSE(ButtonEnabled(ID_FILE_SAVE));
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "frame_test_save.bin";
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        const BYTE bytes[8] = {};
        file.Write(bytes, sizeof bytes);
    }
    ASSERT_NE(theApp.OpenDocumentFile(path.c_str()), nullptr);
    guitest::PumpPending();
    EXPECT_TRUE(ButtonEnabled(ID_FILE_SAVE));
    theApp.CloseAllDocuments(FALSE);
    guitest::PumpPending();
    EXPECT_FALSE(ButtonEnabled(ID_FILE_SAVE));
    ::DeleteFileA(path.c_str());
}

TEST_F(MainFrameTest, AHexImageLocksTheChipListToItsChipWhileActive) {
    SelectChip("Brontal-A: AT89S8252");
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "frame_test_image.hex";
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        const char text[] = ":0400000001020304F2\r\n:00000001FF";
        file.Write(text, sizeof text - 1);
    }
    CHexDoc* doc = nullptr;
    {
        guitest::ModalDialogDriver dialogs;
        dialogs.Then([](CDialog* dlg) { guitest::ClickItem(dlg, IDOK); });  // the current chip
        doc = dynamic_cast<CHexDoc*>(theApp.OpenDocumentFile(path.c_str()));
    }
    ASSERT_NE(doc, nullptr);
    guitest::PumpPending();
    EXPECT_EQ(std::string(doc->GetChipName()), "Brontal-A: AT89S8252");
    EXPECT_TRUE(ButtonEnabled(ID_SPECIAL_FEATURES));
    EXPECT_FALSE(m_frame->SettingsBar().ChipCombo()->IsWindowEnabled());

    // Another current chip than the image's: the idle update puts the image's chip back.
    SelectChip(kSecurityChip);
    guitest::RunIdle();
    EXPECT_EQ(std::string(theApp.Settings().ChipName()), "Brontal-A: AT89S8252");
    EXPECT_EQ(m_frame->SettingsBar().ChipCombo()->GetCurSel(), 3);

    {
        guitest::MessageBoxAnswers boxes(IDOK);
        Command(ID_SPECIAL_FEATURES);
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].text,
                  "FOR NOW SPECIAL FUNCTIONS FOR THIS PROCESSOR ARE NOT SUPPORTED");
    }

    theApp.CloseAllDocuments(FALSE);
    guitest::PumpPending();
    guitest::RunIdle();
    EXPECT_TRUE(m_frame->SettingsBar().ChipCombo()->IsWindowEnabled());
    EXPECT_FALSE(ButtonEnabled(ID_SPECIAL_FEATURES));
    ::DeleteFileA(path.c_str());
}

TEST_F(MainFrameTest, CtrlCTypedInTheHexEditorCopiesItsSelection) {
    CBinDoc* doc = OpenLetters("frame_test_copy.bin", 64);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    auto* view = dynamic_cast<CHexView*>(doc->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(guitest::BringToForeground(m_frame));
    view->SetFocus();
    guitest::PumpPending();
    EmptyTheClipboard();

    guitest::KeyDown(VK_SHIFT);
    for (int i = 0; i < 4; ++i) {
        guitest::PressKey(VK_RIGHT);
    }
    guitest::KeyUp(VK_SHIFT);
    ASSERT_TRUE(guitest::WaitUntil([view] { return view->GetSelLast() == 2; }));
    guitest::KeyChord({VK_CONTROL, 'C'});
    EXPECT_TRUE(guitest::WaitUntil([] { return ClipboardText() == "ABC"; }));
    EXPECT_EQ(ClipboardText(), "ABC");

    // Shift, then Ctrl, then End: the selection grows from its anchor to the last cell.
    guitest::KeyChord({VK_SHIFT, VK_CONTROL, VK_END});
    EXPECT_TRUE(guitest::WaitUntil([view] { return view->GetSelLast() == 63; }));
    EXPECT_EQ(view->GetSelFirst(), 0);
    CloseLetters();
}

TEST_F(MainFrameTest, TheMessagesWindowHasItsOwnStyleAndItsBarMenuItemHidesIt) {
    CMessageBar& bar = m_frame->MessageBar();
    EXPECT_EQ(bar.GetBarStyle() & (CBRS_TOOLTIPS | CBRS_FLYBY), 0u);
    EXPECT_EQ(bar.GetStyle() & WS_GROUP, 0u);  // where a fly-by bit would land in the window
    EXPECT_NE(bar.GetBarStyle() & CBRS_ALIGN_BOTTOM, 0u);
    ASSERT_TRUE(bar.IsWindowVisible());

    // A point of the window itself, outside its list and caption buttons.
    CRect client;
    bar.GetClientRect(&client);
    CPoint free(-1, -1);
    for (int y = client.top + 1; y < client.bottom && free.x < 0; y += 3) {
        for (int x = client.left + 1; x < client.right && free.x < 0; x += 3) {
            if (::ChildWindowFromPoint(bar.m_hWnd, POINT{x, y}) == bar.m_hWnd) {
                free = CPoint(x, y);
            }
        }
    }
    ASSERT_GE(free.x, 0);
    guitest::PopupMenuAnswers menus;
    menus.Choose(IDW_MESSAGE_BAR);
    ASSERT_TRUE(guitest::BringToForeground(m_frame));
    guitest::Click(guitest::ClientToScreenPoint(&bar, free), true);
    EXPECT_TRUE(guitest::WaitUntil([&bar] { return !bar.IsWindowVisible(); }));
    ASSERT_EQ(menus.Seen().size(), 1u);
    const std::vector<guitest::MenuItemSeen>& items = menus.Seen()[0];
    auto messages = std::find_if(items.begin(), items.end(), [](const guitest::MenuItemSeen& i) {
        return i.id == static_cast<UINT>(IDW_MESSAGE_BAR);
    });
    ASSERT_NE(messages, items.end());
    EXPECT_EQ(messages->text, "Messages");
    EXPECT_TRUE(messages->checked);
    EXPECT_FALSE(messages->grayed);

    Command(IDW_MESSAGE_BAR);
    EXPECT_TRUE(bar.IsWindowVisible());
}

TEST_F(MainFrameTest, EveryToolbarButtonAndSetModeFaceShowsAPictureOfItsOwn) {
    CToolBar& bar = m_frame->ToolBar();
    std::vector<std::vector<COLORREF>> pictures;
    for (int image = 0; image < 14; ++image) {
        pictures.push_back(ToolbarPicture(bar, image));
    }
    Attach<boards::ProgrammerBoard>();
    m_frame->ClosePort();
    Command(ID_SET_MODE);
    const bool run = m_frame->FramePort().IsRunMode();
    const int first = ImageOf(ID_SET_MODE);
    Command(ID_SET_MODE);
    const int second = ImageOf(ID_SET_MODE);
    pictures.push_back(ToolbarPicture(bar, run ? second : first));  // program
    pictures.push_back(ToolbarPicture(bar, run ? first : second));  // run
    m_frame->ClosePort();
    pictures.push_back(ToolbarPicture(bar, ImageOf(ID_SET_MODE)));
    std::vector<COLORREF> colours(std::begin(kToolbarColours), std::end(kToolbarColours));
    colours.insert(colours.end(), {kProgramFace, kRunFace, kClosedFace});

    const size_t pixels = 21 * 21;
    for (size_t i = 0; i < pictures.size(); ++i) {
        ASSERT_EQ(pictures[i].size(), pixels) << i;
        // Its own colour, and no other picture's.
        for (size_t j = 0; j < colours.size(); ++j) {
            const auto n = std::count(pictures[i].begin(), pictures[i].end(), colours[j]);
            if (i == j) {
                EXPECT_GE(n, 4) << i;
            } else {
                EXPECT_EQ(n, 0) << i << " has the colour of " << j;
            }
        }
        // A shape of its own: the pixels it draws on the button face (its corner's colour)
        // differ from every other picture's in a few places at least, not only in colour.
        auto drawn = [&pictures](size_t picture, size_t p) {
            const COLORREF colour = pictures[picture][p];
            return colour != kBehind && colour != pictures[picture][0];
        };
        for (size_t j = 0; j < i; ++j) {
            int differ = 0;
            for (size_t p = 0; p < pixels; ++p) {
                differ += drawn(i, p) != drawn(j, p) ? 1 : 0;
            }
            EXPECT_GE(differ, 12) << i << " and " << j << " have one shape";
        }
    }
}

TEST_F(MainFrameTest, ViewCommandsShowAndHideTheBars) {
    Command(ID_VIEW_MESSAGES);
    EXPECT_FALSE(m_frame->MessageBar().IsWindowVisible());
    Command(ID_VIEW_MESSAGES);
    EXPECT_TRUE(m_frame->MessageBar().IsWindowVisible());
    Command(ID_VIEW_SETTINGS);
    EXPECT_FALSE(m_frame->SettingsBar().IsWindowVisible());
    Command(ID_VIEW_SETTINGS);
    EXPECT_TRUE(m_frame->SettingsBar().IsWindowVisible());
}

}  // namespace
