// The document manager under wine: File New and File Open, the image file dialog and its
// remembered filter, the file-change watcher and the reload question it prompts.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "classlib/classlib.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"
#include "guitest/stand_ins.h"
#include "shell_test_ids.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/programming/profile_store.h"
#include "tarnel/images/watched_folders.h"
#include "tarnel/shell/bin_doc.h"
#include "tarnel/shell/bin_view.h"
#include "tarnel/shell/doc_templates.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/file_time.h"
#include "tarnel/shell/folder_watcher.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/quillet_doc_manager.h"
#include "tarnel/shell/resource.h"

namespace {

constexpr const char* kAt89S8252 = "Brontal-A: AT89S8252";

// The application as the program builds it: the manager installed before the templates, and
// the watcher's message answered by the manager's look at the open images.
class CDocManagerTestApp : public CWinApp, public IDocumentHost, public IDocumentChoices {
public:
    CDocManagerTestApp() : CWinApp("Doc Manager Test") {}

    CQuilletDocManager& Manager() { return static_cast<CQuilletDocManager&>(*m_pDocManager); }

    CAppSettings& Settings() override { return settings; }
    void SetCurrentChip(const CString& name) override { settings.SetChipName(name); }
    IDocumentChoices& Choices() override { return *this; }
    CancelWord& Cancel() override { return cancel; }
    HWND StatusWindow() override { return nullptr; }
    int StartJob(std::unique_ptr<JobRequest>) override { return 0; }
    bool IsProgrammingRunning() override { return running; }

    bool running = false;

    bool SelectChip(CString& name, AreaSizes& sizes) override {
        name = kAt89S8252;
        sizes = {ChipTable::GetCodeSize(kAt89S8252), ChipTable::GetDataSize(kAt89S8252),
                 ChipTable::GetSpecialSize(kAt89S8252)};
        return true;
    }
    bool ChooseMemory(const AreaChoice&, bool, BYTE&, UINT&) override { return false; }
    bool ChooseDestination(bool, AreaChoice&) override { return false; }
    bool NewBinLength(UINT& length) override {
        length = 16;
        return true;
    }
    int ChooseHexFormat() override {
        if (pumpInFormatChoice) {
            // As the format dialog's own message loop does: whatever the watcher posted is
            // handled while the user looks at the choice.
            const int before = checks;
            guitest::WaitUntil([&] { return checks > before; }, 2000);
        }
        return 0;
    }
    bool ChooseResidentLoader(int&) override { return false; }

    void OnFilesChanged(WPARAM, LPARAM) {
        ++checks;
        Manager().CheckModifiedDocuments();
    }

    CAppSettings settings;
    CancelWord cancel{0};
    int checks = 0;
    bool pumpInFormatChoice = false;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDocManagerTestApp, CWinApp)
ON_THREAD_MESSAGE(kFilesChangedMessage, OnFilesChanged)
END_MESSAGE_MAP()

CDocManagerTestApp theApp;

class CPlainView : public CView {
    DECLARE_DYNCREATE(CPlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

class CTestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CTestMainFrame)
};
IMPLEMENT_DYNCREATE(CTestMainFrame, CMDIFrameWnd)

class ManagerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
        theApp.m_pDocManager = std::make_unique<CQuilletDocManager>();
        theApp.AddDocTemplate(std::make_unique<CMultiDocTemplate>(
            IDR_TEST_BINTYPE, RUNTIME_CLASS(CBinDoc), RUNTIME_CLASS(CMDIChildWnd),
            RUNTIME_CLASS(CBinView)));
        theApp.AddDocTemplate(std::make_unique<CMultiDocTemplate>(
            IDR_TEST_HEXTYPE, RUNTIME_CLASS(CHexDoc), RUNTIME_CLASS(CMDIChildWnd),
            RUNTIME_CLASS(CPlainView)));
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new ManagerEnvironment);

std::string TempFolder() {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Gives the file a modification time `seconds` after the present, so that it is newer than the
// time an image kept when it read the file a moment ago.
void SetFileAge(const std::string& path, int seconds) {
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
    FILETIME later{value.LowPart, value.HighPart};
    ::SetFileTime(file, nullptr, nullptr, &later);
    ::CloseHandle(file);
}

std::string Cells(CBinDoc* doc) {
    const std::vector<uint8_t>& cells = doc->GetArea().cells;
    return std::string(cells.begin(), cells.end());
}

std::string ModifiedPrompt(CDocument* doc) {
    return "Document file '" + doc->GetPathName().str() +
           "' was modified outside Tarnel.\nDo you want to reload it?";
}

class DocManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        theApp.settings.SetLastDir("");
        theApp.settings.SetFilterIndex(0);
        m_pFrame = new CTestMainFrame;  // owns itself
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TEST_MAINFRAME));
        theApp.m_pMainWnd = m_pFrame;
        m_pFrame->ShowWindow(SW_SHOW);
        guitest::PumpPending();
        m_folder = NewFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    void TearDown() override {
        theApp.CloseAllDocuments(FALSE);
        m_pFrame->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        guitest::PumpPending();
        MSG quit;
        ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        guitest::QuitSeen();
        for (const std::string& path : m_files) {
            ::DeleteFileA(path.c_str());
        }
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it) {
            ::RemoveDirectoryA(it->c_str());
        }
    }

    // A new folder of its own, ending in the separator, removed after the test.
    std::string NewFolder(const std::string& name) {
        std::string folder =
            TempFolder() + "dm" + std::to_string(::GetCurrentProcessId()) + "_" + name;
        ::CreateDirectoryA(folder.c_str(), nullptr);
        m_folders.push_back(folder);
        return folder + "\\";
    }

    std::string File(const std::string& name, const std::string& bytes) {
        const std::string path = m_folder + name;
        WriteFile(path, bytes);
        m_files.push_back(path);
        return path;
    }

    CBinDoc* Open(const std::string& path) {
        return dynamic_cast<CBinDoc*>(theApp.OpenDocumentFile(path.c_str()));
    }

    // Waits until the watcher holds a notification for every folder it was given.
    static bool Watching() {
        return guitest::WaitUntil([] { return CFolderWatcher::Program().HasCaughtUp(); });
    }

    // Runs one look at the open images through the thread message, as the watcher would ask.
    static void CheckThroughMessage() {
        const int before = theApp.checks;
        ::PostThreadMessageA(::GetCurrentThreadId(), kFilesChangedMessage, 0, 0);
        guitest::WaitUntil([&] { return theApp.checks > before; });
    }

    CMDIFrameWnd* m_pFrame = nullptr;
    std::string m_folder;
    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;
};

TEST_F(DocManagerTest, TouchingAnOpenFileAsksOnceAndNoKeepsTheImageUntilTheNextChange) {
    const std::string path = File("a.bin", "ABCD");
    CBinDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Watching());
    guitest::MessageBoxAnswers boxes(IDNO);

    WriteFile(path, "WXYZ");
    SetFileAge(path, 10);
    ASSERT_TRUE(guitest::WaitUntil([&] { return boxes.Seen().size() == 1; }));
    EXPECT_EQ(boxes.Seen()[0].text, ModifiedPrompt(doc));
    EXPECT_EQ(boxes.Seen()[0].type & 0xF, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(Cells(doc), "ABCD");
    long onDisk = 0;
    ASSERT_TRUE(GetFileModifiedTime(path.c_str(), onDisk));
    EXPECT_EQ(doc->GetFileTimeKept(), onDisk);

    // Every message the change caused, and one more, finds nothing new to ask.
    CheckThroughMessage();
    EXPECT_EQ(boxes.Seen().size(), 1u);

    SetFileAge(path, 20);
    ASSERT_TRUE(guitest::WaitUntil([&] { return boxes.Seen().size() == 2; }));
    EXPECT_EQ(boxes.Seen()[1].text, ModifiedPrompt(doc));
}

TEST_F(DocManagerTest, SavingAWatchedHexImageNeverAsksToReloadIt) {
    const std::string path = File("saved.hex", ":0400000001020304F2\r\n:00000001FF");
    SetFileAge(path, -100);  // the save's own write is then a change the image has not seen
    auto* doc = dynamic_cast<CHexDoc*>(theApp.OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(Watching());
    doc->GetImage().code.cells[0] = 0x55;
    doc->SetModifiedFlag(TRUE);
    guitest::MessageBoxAnswers boxes(IDNO);
    theApp.pumpInFormatChoice = true;
    const BOOL saved = doc->DoFileSave();
    theApp.pumpInFormatChoice = false;
    EXPECT_TRUE(saved);
    CheckThroughMessage();
    guitest::PumpFor(300);
    EXPECT_TRUE(boxes.Seen().empty()) << boxes.Seen()[0].text;
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind(":0400000055020304", 0), 0u) << text;
}

TEST_F(DocManagerTest, SaveAsOfANewImageProposesItsCutTitleWithTheKindsExtension) {
    POSITION pos = theApp.GetFirstDocTemplatePosition();
    CDocTemplate* bin = theApp.GetNextDocTemplate(pos);
    CDocument* doc = bin->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(std::string(doc->GetTitle()), "Bin File1");
    guitest::FileDialogAnswers files;
    files.Cancel();
    EXPECT_FALSE(doc->DoSave(nullptr));
    ASSERT_EQ(files.Seen().size(), 1u);
    EXPECT_FALSE(files.Seen()[0].open);
    EXPECT_EQ(files.Seen()[0].initialName, "Bin.bin");  // cut at the blank
    doc->SetModifiedFlag(FALSE);
}

TEST_F(DocManagerTest, TwoChangedFilesOfOneFolderAreAskedInTurnAndYesReloadsInPlace) {
    const std::string first = File("first.bin", "1111");
    const std::string second = File("second.bin", "2222");
    CBinDoc* firstDoc = Open(first);
    CBinDoc* secondDoc = Open(second);
    ASSERT_NE(firstDoc, nullptr);
    ASSERT_NE(secondDoc, nullptr);
    ASSERT_TRUE(Watching());
    guitest::MessageBoxAnswers boxes(IDNO);
    boxes.Then(IDYES).Then(IDNO);

    WriteFile(first, "AAAAAA");
    WriteFile(second, "BBBB");
    SetFileAge(first, 10);
    SetFileAge(second, 10);
    ASSERT_TRUE(guitest::WaitUntil([&] { return boxes.Seen().size() == 2; }));
    EXPECT_EQ(boxes.Seen()[0].text, ModifiedPrompt(firstDoc));
    EXPECT_EQ(boxes.Seen()[1].text, ModifiedPrompt(secondDoc));
    EXPECT_EQ(Cells(firstDoc), "AAAAAA");
    EXPECT_FALSE(firstDoc->IsModified());
    EXPECT_TRUE(firstDoc->IsFileUpToDate());
    EXPECT_EQ(Cells(secondDoc), "2222");
    CheckThroughMessage();
    EXPECT_EQ(boxes.Seen().size(), 2u);
}

TEST_F(DocManagerTest, AHexImageIsReadAgainWithItsChipOnYes) {
    const std::string path = File("image.hex", ":0400000001020304F2\r\n:00000001FF");
    auto* doc = dynamic_cast<CHexDoc*>(theApp.OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    ASSERT_GE(doc->GetImage().code.Size(), 4u);
    EXPECT_EQ(doc->GetImage().code.cells[0], 0x01);
    WriteFile(path, ":0400000005060708E2\r\n:00000001FF");
    SetFileAge(path, 10);
    guitest::MessageBoxAnswers boxes(IDYES);
    theApp.Manager().CheckModifiedDocuments();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    const std::vector<uint8_t>& cells = doc->GetImage().code.cells;
    EXPECT_EQ(std::vector<uint8_t>(cells.begin(), cells.begin() + 4),
              (std::vector<uint8_t>{5, 6, 7, 8}));
    EXPECT_EQ(doc->GetChipName(), kAt89S8252);
    EXPECT_TRUE(doc->IsFileUpToDate());
}

TEST_F(DocManagerTest, AfterAYesTheLookStartsOverFromTheFirstImage) {
    const std::string first = File("first.bin", "1111");
    const std::string second = File("second.bin", "2222");
    CBinDoc* firstDoc = Open(first);
    CBinDoc* secondDoc = Open(second);
    ASSERT_NE(secondDoc, nullptr);
    // Only the second file has changed; while it is asked about, the first one changes too.
    WriteFile(second, "BBBB");
    SetFileAge(second, 10);
    std::vector<std::string> asked;
    AfxMessageBoxHook previous = AfxSetMessageBoxHook([&](LPCTSTR text, UINT) {
        asked.push_back(text);
        if (asked.size() == 1) {
            SetFileAge(first, 10);
            return IDYES;
        }
        return IDNO;
    });
    theApp.Manager().CheckModifiedDocuments();
    AfxSetMessageBoxHook(previous);
    EXPECT_EQ(asked,
              (std::vector<std::string>{ModifiedPrompt(secondDoc), ModifiedPrompt(firstDoc)}));
    EXPECT_EQ(Cells(secondDoc), "BBBB");
}

TEST_F(DocManagerTest, AFolderSpeltInUpperAndLowerCaseIsWatchedOnce) {
    const std::string folder = NewFolder("CaseFolder");
    const std::string upper =
        TempFolder() + "dm" + std::to_string(::GetCurrentProcessId()) + "_CASEFOLDER\\a.bin";
    const std::string lower =
        TempFolder() + "dm" + std::to_string(::GetCurrentProcessId()) + "_casefolder\\b.bin";
    WriteFile(upper, "AAAA");
    WriteFile(lower, "BBBB");
    m_files.push_back(upper);
    m_files.push_back(lower);
    const size_t before = CFolderWatcher::Program().Folders().size();
    CBinDoc* upperDoc = Open(upper);
    CBinDoc* lowerDoc = Open(lower);
    ASSERT_NE(upperDoc, nullptr);
    ASSERT_NE(lowerDoc, nullptr);
    EXPECT_EQ(CFolderWatcher::Program().Folders().size(), before + 1);
    ASSERT_TRUE(Watching());

    // The one notification serves both spellings.
    guitest::MessageBoxAnswers boxes(IDNO);
    SetFileAge(lower, 10);
    ASSERT_TRUE(guitest::WaitUntil([&] { return boxes.Seen().size() == 1; }));
    EXPECT_EQ(boxes.Seen()[0].text, ModifiedPrompt(lowerDoc));
}

// A document kind that always finds its file changed.
class CStaleDoc : public CQuilletDocument {
public:
    BOOL IsFileUpToDate() override { return FALSE; }
};

TEST_F(DocManagerTest, AnImageWithoutAFileIsNotAskedAbout) {
    guitest::MessageBoxAnswers boxes(IDNO);
    CQuilletDocManager manager;
    auto owned =
        std::make_unique<CMultiDocTemplate>(IDR_TEST_BINTYPE, RUNTIME_CLASS(CBinDoc),
                                            RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CBinView));
    CMultiDocTemplate* tmpl = owned.get();
    manager.AddDocTemplate(std::move(owned));
    // Declared after the manager: each leaves the template before the manager deletes it.
    CStaleDoc noFile;
    tmpl->AddDocument(&noFile);
    manager.CheckModifiedDocuments();
    EXPECT_TRUE(boxes.Seen().empty());

    // The same kind with a path is asked about.
    CStaleDoc withFile;
    withFile.SetPathName(File("stale.bin", "SSSS").c_str(), FALSE);
    tmpl->AddDocument(&withFile);
    manager.CheckModifiedDocuments();
    EXPECT_EQ(boxes.Seen().size(), 1u);

    // An image read from a chip, never saved, in the program's own manager.
    ASSERT_NE(OpenNewDocumentOfType(kBinFileDocName), nullptr);
    theApp.Manager().CheckModifiedDocuments();
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

TEST_F(DocManagerTest, AVanishedFileIsReportedOnceAndTheImageKept) {
    const std::string path = File("gone.bin", "KEEP");
    CBinDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    const std::string shown = doc->GetPathName().str();
    guitest::MessageBoxAnswers boxes(IDNO);
    ASSERT_TRUE(::DeleteFileA(path.c_str()));
    CheckThroughMessage();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Document file '" + shown +
                                        "' was removed or cannot be read.\n"
                                        "The image stays open as it is.");
    EXPECT_EQ(boxes.Seen()[0].type & 0xF0, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(Cells(doc), "KEEP");
    CheckThroughMessage();
    EXPECT_EQ(boxes.Seen().size(), 1u);

    // Back again, the file is offered for reloading.
    WriteFile(path, "BACK");
    CheckThroughMessage();
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[1].text, ModifiedPrompt(doc));
}

TEST_F(DocManagerTest, AReloadThatFailsKeepsTheImageAndIsNotAskedAgain) {
    const std::string path = File("empty.bin", "KEEP");
    CBinDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    WriteFile(path, "");
    SetFileAge(path, 10);
    guitest::MessageBoxAnswers boxes(IDYES);
    theApp.Manager().CheckModifiedDocuments();
    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[0].text, ModifiedPrompt(doc));
    EXPECT_EQ(boxes.Seen()[1].text, "File is empty and will not be opened.");
    EXPECT_EQ(Cells(doc), "KEEP");
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 1);
    theApp.Manager().CheckModifiedDocuments();
    EXPECT_EQ(boxes.Seen().size(), 2u);
}

TEST_F(DocManagerTest, FileOpenClosesEveryImageBeforeItsDialogSoCancelLeavesNone) {
    ASSERT_NE(Open(File("open.bin", "OPEN")), nullptr);
    guitest::FileDialogAnswers files;
    files.Cancel();
    theApp.Manager().OnFileOpen();
    ASSERT_EQ(files.Seen().size(), 1u);
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);

    // The dialog: every kind's filter, both types, every file; the first kind's extension.
    const guitest::FileDialogSeen& seen = files.Seen()[0];
    EXPECT_TRUE(seen.open);
    EXPECT_EQ(seen.title, "Open");
    using Filter = std::pair<std::string, std::string>;
    EXPECT_EQ(seen.filters, (std::vector<Filter>{{"Bin Files (*.bin)", "*.bin"},
                                                 {"Hex Files (*.hex)", "*.hex"},
                                                 {"Both types (*.bin, *.hex)", "*.bin;*.hex"},
                                                 {"All Files (*.*)", "*.*"}}));
    EXPECT_EQ(seen.defaultExt, "bin");
    EXPECT_EQ(seen.initialName, "");
    EXPECT_EQ(seen.flags & (OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST),
              static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST));
}

TEST_F(DocManagerTest, FileOpenWatchesTheFolderOfTheFileChosen) {
    const std::string path = File("chosen.bin", "CHSN");
    guitest::FileDialogAnswers files;
    files.Choose(path);
    theApp.Manager().OnFileOpen();
    ASSERT_EQ(theApp.GetOpenDocumentCount(), 1);
    bool watched = false;
    for (const std::string& folder : CFolderWatcher::Program().Folders()) {
        watched = watched || IsSameFolder(folder, m_folder);
    }
    EXPECT_TRUE(watched);
}

// The program's profile functions as the settings' store.
class CAppProfileStore : public IProfileStore {
public:
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int value) override {
        return theApp.GetProfileInt(section, entry, value);
    }
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) override {
        return theApp.GetProfileString(section, entry, value);
    }
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) override {
        return theApp.WriteProfileInt(section, entry, value);
    }
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) override {
        return theApp.WriteProfileString(section, entry, value);
    }
};

TEST_F(DocManagerTest, TheFilterChosenPreselectsItInTheNextDialogAlsoAfterARestart) {
    guitest::RegistrySandbox registry(&theApp);
    theApp.settings.SetLastDir(m_folder.c_str());
    guitest::FileDialogAnswers files;
    files.Choose(File("filter.hex", ""), 2);
    files.Cancel(3);
    files.Cancel();
    CString name;
    EXPECT_TRUE(theApp.Manager().DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_FILEMUSTEXIST, TRUE,
                                                  nullptr));
    EXPECT_EQ(theApp.settings.FilterIndex(), 2);
    // Cancelled, the dialog still keeps the filter chosen in it.
    EXPECT_FALSE(theApp.Manager().DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_FILEMUSTEXIST, TRUE,
                                                   nullptr));
    EXPECT_EQ(theApp.settings.FilterIndex(), 3);

    // An exit writes the settings and the next start reads them.
    CAppProfileStore store;
    theApp.settings.Save(store);
    theApp.settings.SetFilterIndex(0);
    theApp.settings.Load(store);
    EXPECT_FALSE(theApp.Manager().DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_FILEMUSTEXIST, TRUE,
                                                   nullptr));
    ASSERT_EQ(files.Seen().size(), 3u);
    EXPECT_EQ(files.Seen()[0].filterIndex, 0u);
    EXPECT_EQ(files.Seen()[1].filterIndex, 2u);
    EXPECT_EQ(files.Seen()[2].filterIndex, 3u);
    for (const guitest::FileDialogSeen& seen : files.Seen()) {
        EXPECT_EQ(seen.initialDir, m_folder);
    }
}

TEST_F(DocManagerTest, ADialogForOneKindOffersThatKindBothTypesAndEveryFile) {
    guitest::FileDialogAnswers files;
    files.Cancel();
    POSITION pos = theApp.GetFirstDocTemplatePosition();
    theApp.GetNextDocTemplate(pos);
    CDocTemplate* hex = theApp.GetNextDocTemplate(pos);
    CString name;
    theApp.Manager().DoPromptFileName(name, AFX_IDS_SAVEFILE, 0, FALSE, hex);
    ASSERT_EQ(files.Seen().size(), 1u);
    EXPECT_FALSE(files.Seen()[0].open);
    ASSERT_EQ(files.Seen()[0].filters.size(), 3u);
    EXPECT_EQ(files.Seen()[0].filters[0].second, "*.hex");
    EXPECT_EQ(files.Seen()[0].defaultExt, "hex");
}

void ChooseFileType(CDialog* dlg, int index) {
    auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(IDC_CHOICE_LIST));
    list->SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    guitest::ClickItem(dlg, IDOK);
}

TEST_F(DocManagerTest, FileNewClosesEveryImageAndCreatesTheKindChosenInTheFileTypeDialog) {
    ASSERT_NE(Open(File("old.bin", "OLD!")), nullptr);
    guitest::ModalDialogDriver driver;
    std::string title;
    driver.Then([&](CDialog* dlg) {
        CString text;
        dlg->GetWindowText(text);
        title = text.str();
        ChooseFileType(dlg, 1);
    });
    theApp.Manager().OnFileNew();
    EXPECT_EQ(driver.DialogsSeen(), 1);
    EXPECT_EQ(title, "Select File Type");
    ASSERT_EQ(theApp.GetOpenDocumentCount(), 1);
    POSITION pos = theApp.GetFirstDocTemplatePosition();
    CDocTemplate* bin = theApp.GetNextDocTemplate(pos);
    CDocTemplate* hex = theApp.GetNextDocTemplate(pos);
    EXPECT_EQ(bin->GetFirstDocPosition(), nullptr);
    POSITION docPos = hex->GetFirstDocPosition();
    ASSERT_NE(docPos, nullptr);
    CDocument* doc = hex->GetNextDoc(docPos);
    EXPECT_TRUE(doc->GetPathName().IsEmpty());
    POSITION viewPos = doc->GetFirstViewPosition();
    ASSERT_NE(viewPos, nullptr);
    EXPECT_TRUE(doc->GetNextView(viewPos)->GetParentFrame()->IsWindowVisible());

    // Cancelled, the dialog leaves nothing open: the new image was closed before it.
    driver.Then([](CDialog* dlg) { guitest::ClickItem(dlg, IDCANCEL); });
    theApp.Manager().OnFileNew();
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);
}

TEST_F(DocManagerTest, AnImageWithUnsavedEditsKeptOpenStopsFileNewAndFileOpen) {
    CBinDoc* doc = Open(File("edited.bin", "EDIT"));
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);
    guitest::MessageBoxAnswers boxes(IDCANCEL);
    guitest::FileDialogAnswers files;
    theApp.Manager().OnFileOpen();
    theApp.Manager().OnFileNew();
    EXPECT_EQ(boxes.Seen().size(), 2u);
    EXPECT_TRUE(files.Seen().empty());
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 1);
}

}  // namespace
