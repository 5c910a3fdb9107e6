// Documents, templates, the document manager and MDI frames under the real window manager:
// files through the framework, the save prompt, routing through the active child, the Window
// menu, MDI keys, File New's choice, the recent-file list and closing the program.
#include "classlib/classlib.h"
#include "document_test_ids.h"
#include "guitest/input.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"
#include "guitest/stand_ins.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

class CMdiTestApp : public CWinApp {
public:
    CMdiTestApp() : CWinApp("MDI Test") {}

protected:
    void OnNew() { CWinApp::OnFileNew(); }
    void OnOpen() { CWinApp::OnFileOpen(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMdiTestApp, CWinApp)
ON_COMMAND(ID_FILE_NEW, OnNew)
ON_COMMAND(ID_FILE_OPEN, OnOpen)
END_MESSAGE_MAP()

CMdiTestApp theApp;

// A text document; its store can be told to fail half way, as a full disk would.
class CTextDoc : public CDocument {
    DECLARE_DYNCREATE(CTextDoc)
public:
    CString m_text;
    bool failStore = false;
    static int live;
    CTextDoc() { ++live; }
    ~CTextDoc() override { --live; }

    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_text;
            if (failStore) {
                ar.Flush();  // some bytes reach the file before the failure
                AfxThrowFileException(CFileException::diskFull, -1, "test");
            }
        } else {
            ar >> m_text;
        }
    }
    void DeleteContents() override { m_text.Empty(); }
};
int CTextDoc::live = 0;
IMPLEMENT_DYNCREATE(CTextDoc, CDocument)

class CNoteDoc : public CDocument {
    DECLARE_DYNCREATE(CNoteDoc)
};
IMPLEMENT_DYNCREATE(CNoteDoc, CDocument)

class CTextView : public CView {
    DECLARE_DYNCREATE(CTextView)
public:
    int initialUpdates = 0;
    void OnDraw(CDC* pDC) override {
        CRect r;
        GetClientRect(&r);
        pDC->FillSolidRect(&r, RGB(255, 255, 255));
    }
    void OnInitialUpdate() override {
        ++initialUpdates;
        CView::OnInitialUpdate();
    }

protected:
    void OnShout() { g_log.push_back("view:" + GetDocument()->GetTitle().str()); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTextView, CView)
BEGIN_MESSAGE_MAP(CTextView, CView)
ON_COMMAND(ID_SHOUT, OnShout)
END_MESSAGE_MAP()

// A view that is a list box.
class CListView : public CCtrlView {
    DECLARE_DYNCREATE(CListView)
public:
    CListView() : CCtrlView("ListBox", LBS_NOTIFY | WS_VSCROLL) {}
};
IMPLEMENT_DYNCREATE(CListView, CCtrlView)

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
protected:
    void OnFrameOnly() { g_log.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_COMMAND(ID_FRAME_ONLY, OnFrameOnly)
END_MESSAGE_MAP()

CMultiDocTemplate* g_textTemplate = nullptr;
CMultiDocTemplate* g_noteTemplate = nullptr;

class TemplatesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
        auto text = std::make_unique<CMultiDocTemplate>(IDR_TEXTTYPE, RUNTIME_CLASS(CTextDoc),
                                                        RUNTIME_CLASS(CMDIChildWnd),
                                                        RUNTIME_CLASS(CTextView));
        g_textTemplate = text.get();
        theApp.AddDocTemplate(std::move(text));
        auto note = std::make_unique<CMultiDocTemplate>(IDR_NOTETYPE, RUNTIME_CLASS(CNoteDoc),
                                                        RUNTIME_CLASS(CMDIChildWnd),
                                                        RUNTIME_CLASS(CListView));
        g_noteTemplate = note.get();
        theApp.AddDocTemplate(std::move(note));
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new TemplatesEnvironment);

std::string TempPath(const char* name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    char path[MAX_PATH];
    std::snprintf(path, sizeof(path), "%sclasslib_%lu_%s", folder, ::GetCurrentProcessId(), name);
    return path;
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class MdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        frame_ = new CMainFrame;  // owns itself
        ASSERT_TRUE(frame_->LoadFrame(IDR_MAINFRAME));
        theApp.m_pMainWnd = frame_;
        frame_->SetWindowPos(nullptr, 20, 20, 700, 500, SWP_NOZORDER);
        frame_->ShowWindow(SW_SHOW);
        guitest::PumpPending();
    }
    void TearDown() override {
        theApp.CloseAllDocuments(FALSE);
        if (theApp.m_pMainWnd != nullptr) {
            theApp.m_pMainWnd->DestroyWindow();
        }
        theApp.m_pMainWnd = nullptr;
        guitest::PumpPending();
        MSG quit;
        ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        guitest::QuitSeen();
        for (const std::string& path : files_) {
            ::DeleteFileA(path.c_str());
        }
        EXPECT_EQ(CTextDoc::live, 0) << "documents left behind";
    }
    std::string File(const char* name, const char* text = nullptr) {
        std::string path = TempPath(name);
        files_.push_back(path);
        ::DeleteFileA(path.c_str());
        if (text != nullptr) {
            CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store);
            ar << CString(text);
        }
        return path;
    }
    CTextDoc* NewText() {
        return static_cast<CTextDoc*>(g_textTemplate->OpenDocumentFile(nullptr));
    }
    CFrameWnd* FrameOf(CDocument* doc) {
        POSITION pos = doc->GetFirstViewPosition();
        return doc->GetNextView(pos)->GetParentFrame();
    }
    std::vector<guitest::MenuItemSeen> WindowMenu() {
        HMENU popup = frame_->GetWindowMenuPopup(::GetMenu(frame_->m_hWnd));
        return popup != nullptr ? guitest::MenuItems(popup) : std::vector<guitest::MenuItemSeen>();
    }

    CMainFrame* frame_ = nullptr;
    std::vector<std::string> files_;
};

TEST_F(MdiTest, ADocumentSavedThroughTheFrameworkOpensAgainWithItsContents) {
    std::string path = File("round.txt");
    CTextDoc* doc = NewText();
    ASSERT_NE(doc, nullptr);
    // The document name and a number that counts the template's untitled documents.
    EXPECT_EQ(doc->GetTitle().Left(4), "Text");
    EXPECT_GT(std::atoi(doc->GetTitle().Mid(4)), 0);
    doc->m_text = "hello, file";
    doc->SetModifiedFlag();
    ASSERT_TRUE(doc->DoSave(path.c_str()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle().str(),
              "classlib_" + std::to_string(::GetCurrentProcessId()) + "_round.txt");
    doc->OnCloseDocument();
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);

    auto* again = static_cast<CTextDoc*>(theApp.OpenDocumentFile(path.c_str()));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_text, "hello, file");
    EXPECT_TRUE(AfxComparePath(again->GetPathName(), path.c_str()));
    EXPECT_EQ(again->GetDocTemplate(), g_textTemplate);  // chosen by its extension
}

TEST_F(MdiTest, OpeningAMissingFileShowsABoxAndLeavesNoDocumentOrFrame) {
    guitest::MessageBoxAnswers boxes(IDOK);
    std::string path = File("missing.txt");
    EXPECT_EQ(theApp.OpenDocumentFile(path.c_str()), nullptr);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find("was not found"), std::string::npos);
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);
    EXPECT_EQ(frame_->MDIGetActive(), nullptr);
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), frame_->GetDefaultMenu());
}

TEST_F(MdiTest, AFailedSaveAsRemovesThePartlyWrittenFile) {
    guitest::MessageBoxAnswers boxes(IDOK);
    guitest::FileDialogAnswers dialogs;
    std::string path = File("torn.txt");
    dialogs.Choose(path);
    CTextDoc* doc = NewText();
    doc->m_text = CString('x', 5000);
    doc->failStore = true;
    doc->SetModifiedFlag();
    EXPECT_FALSE(doc->DoSave(nullptr));
    EXPECT_FALSE(Exists(path));
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find("disk is full"), std::string::npos);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), "");
    // The dialog proposed the title with the template's extension, for saving.
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_FALSE(dialogs.Seen()[0].open);
    EXPECT_EQ(dialogs.Seen()[0].initialName, doc->GetTitle().str() + ".txt");
    EXPECT_EQ(dialogs.Seen()[0].filters.size(), 2u);  // the template's, then all files
}

TEST_F(MdiTest, SaveModifiedAsksAndFollowsYesNoAndCancel) {
    guitest::MessageBoxAnswers boxes;
    std::string path = File("prompt.txt", "old");
    auto* doc = static_cast<CTextDoc*>(theApp.OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->SaveModified());  // unmodified: no question
    EXPECT_TRUE(boxes.Seen().empty());

    doc->m_text = "new";
    doc->SetModifiedFlag();
    boxes.Then(IDCANCEL).Then(IDNO).Then(IDYES);
    EXPECT_FALSE(doc->SaveModified());
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_TRUE(doc->IsModified());  // No kept the changes unsaved
    ASSERT_EQ(boxes.Seen().size(), 2u);
    std::string name = "classlib_" + std::to_string(::GetCurrentProcessId()) + "_prompt.txt";
    EXPECT_EQ(boxes.Seen()[0].text, "Save changes to " + name + "?");
    EXPECT_EQ(boxes.Seen()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_TRUE(doc->SaveModified());  // Yes saves to the document's own file
    EXPECT_FALSE(doc->IsModified());
    doc->OnCloseDocument();
    auto* again = static_cast<CTextDoc*>(theApp.OpenDocumentFile(path.c_str()));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_text, "new");
}

TEST_F(MdiTest, CommandsGoToTheActiveChildsViewAndOtherwiseToTheFrame) {
    CTextDoc* first = NewText();
    CTextDoc* second = NewText();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(frame_->MDIGetActive(), FrameOf(second));
    EXPECT_EQ(frame_->GetActiveFrame(), FrameOf(second));
    EXPECT_EQ(frame_->GetActiveDocument(), second);
    frame_->SendMessage(WM_COMMAND, ID_SHOUT);
    frame_->MDIActivate(FrameOf(first));
    guitest::PumpPending();
    frame_->SendMessage(WM_COMMAND, ID_SHOUT);
    frame_->SendMessage(WM_COMMAND, ID_FRAME_ONLY);
    EXPECT_EQ(g_log, (std::vector<std::string>{"view:" + second->GetTitle().str(),
                                               "view:" + first->GetTitle().str(), "frame"}));
}

TEST_F(MdiTest, EachChildBringsItsTemplatesMenuAndTheLastOneTakesItAway) {
    HMENU own = frame_->GetDefaultMenu();
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), own);
    CTextDoc* text = NewText();
    guitest::PumpPending();
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), g_textTemplate->m_hMenuShared);
    CDocument* note = g_noteTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(note, nullptr);
    guitest::PumpPending();
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), g_noteTemplate->m_hMenuShared);
    // The note's view is a list box that paints itself.
    POSITION pos = note->GetFirstViewPosition();
    CView* list = note->GetNextView(pos);
    char cls[32] = {};
    ::GetClassNameA(list->m_hWnd, cls, sizeof(cls));
    EXPECT_STREQ(cls, "ListBox");
    EXPECT_TRUE(list->GetStyle() & LBS_NOTIFY);

    frame_->MDIActivate(FrameOf(text));
    guitest::PumpPending();
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), g_textTemplate->m_hMenuShared);
    note->OnCloseDocument();
    text->OnCloseDocument();
    guitest::PumpPending();
    EXPECT_EQ(::GetMenu(frame_->m_hWnd), own);
}

TEST_F(MdiTest, TheWindowMenuListsTheChildrenAndChecksTheActiveOne) {
    CTextDoc* first = NewText();
    CTextDoc* second = NewText();
    guitest::PumpPending();
    auto items = WindowMenu();
    std::vector<guitest::MenuItemSeen> children;
    for (const auto& item : items) {
        if (item.id >= AFX_IDM_FIRST_MDICHILD) {
            children.push_back(item);
        }
    }
    ASSERT_EQ(children.size(), 2u);
    EXPECT_NE(children[0].text.find(first->GetTitle().str()), std::string::npos);
    EXPECT_NE(children[1].text.find(second->GetTitle().str()), std::string::npos);
    EXPECT_FALSE(children[0].checked);
    EXPECT_TRUE(children[1].checked);
    // Choosing the first child's item activates it.
    frame_->SendMessage(WM_COMMAND, children[0].id);
    guitest::PumpPending();
    EXPECT_EQ(frame_->MDIGetActive(), FrameOf(first));
}

TEST_F(MdiTest, ASecondWindowOnADocumentNumbersBothTitles) {
    CTextDoc* doc = NewText();
    CFrameWnd* firstFrame = FrameOf(doc);
    frame_->SendMessage(WM_COMMAND, ID_WINDOW_NEW);
    guitest::PumpPending();
    CMDIChildWnd* secondFrame = frame_->MDIGetActive();
    ASSERT_NE(secondFrame, firstFrame);
    CString a;
    CString b;
    firstFrame->GetWindowText(a);
    secondFrame->GetWindowText(b);
    EXPECT_EQ(a, doc->GetTitle() + ":1");
    EXPECT_EQ(b, doc->GetTitle() + ":2");
    // Closing one window of a document that another window still shows asks nothing.
    guitest::MessageBoxAnswers boxes;
    doc->SetModifiedFlag();
    secondFrame->SendMessage(WM_CLOSE);
    guitest::PumpPending();
    EXPECT_TRUE(boxes.Seen().empty());
    firstFrame->GetWindowText(a);
    EXPECT_EQ(a, doc->GetTitle());
    doc->SetModifiedFlag(FALSE);
}

TEST_F(MdiTest, TheInitialUpdateReachesTheNewView) {
    CTextDoc* doc = NewText();
    POSITION pos = doc->GetFirstViewPosition();
    auto* view = static_cast<CTextView*>(doc->GetNextView(pos));
    EXPECT_EQ(view->initialUpdates, 1);
    EXPECT_EQ(FrameOf(doc)->GetActiveView(), view);
    EXPECT_TRUE(FrameOf(doc)->IsWindowVisible());
}

TEST_F(MdiTest, CtrlF6AndCtrlF4TypedByTheUserSwitchAndCloseChildren) {
    CTextDoc* first = NewText();
    CTextDoc* second = NewText();
    CFrameWnd* firstFrame = FrameOf(first);
    CFrameWnd* secondFrame = FrameOf(second);
    ASSERT_TRUE(guitest::BringToForeground(frame_));
    guitest::PumpPending();
    EXPECT_EQ(frame_->MDIGetActive(), secondFrame);
    guitest::KeyChord({VK_CONTROL, VK_F6});
    EXPECT_TRUE(guitest::WaitUntil([&] { return frame_->MDIGetActive() == firstFrame; }));
    guitest::KeyChord({VK_CONTROL, VK_F4});
    EXPECT_TRUE(guitest::WaitUntil([&] { return theApp.GetOpenDocumentCount() == 1; }));
    EXPECT_EQ(frame_->MDIGetActive(), secondFrame);
    // The child's own accelerator reaches its view through the main frame.
    g_log.clear();
    guitest::KeyChord({VK_CONTROL, 'H'});
    EXPECT_TRUE(guitest::WaitUntil([&] { return !g_log.empty(); }));
    EXPECT_EQ(g_log, (std::vector<std::string>{"view:" + second->GetTitle().str()}));
}

TEST_F(MdiTest, FileNewWithTwoKindsLetsTheUserChooseTheKind) {
    guitest::ModalDialogDriver driver;
    std::vector<std::string> offered;
    driver.Then([&](CDialog* dlg) {
        CListBox* list = static_cast<CListBox*>(dlg->GetDlgItem(AFX_IDC_LISTBOX));
        for (int i = 0; i < list->GetCount(); ++i) {
            CString text;
            list->GetText(i, text);
            offered.push_back(text.str());
        }
        list->SetCurSel(1);
        guitest::ClickItem(dlg, IDOK);
    });
    driver.Then([&](CDialog* dlg) { guitest::ClickItem(dlg, IDCANCEL); });
    frame_->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(offered, (std::vector<std::string>{"Text File", "Note File"}));
    ASSERT_EQ(theApp.GetOpenDocumentCount(), 1);
    EXPECT_TRUE(frame_->GetActiveDocument()->IsKindOf(RUNTIME_CLASS(CNoteDoc)));
    EXPECT_EQ(frame_->GetActiveDocument()->GetTitle().Left(4), "Note");
    // Cancel makes nothing.
    frame_->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 1);
    EXPECT_EQ(driver.DialogsSeen(), 2);
}

TEST_F(MdiTest, FileOpenOffersEveryKindAndAllFilesAndOpensTheChoice) {
    guitest::FileDialogAnswers dialogs;
    std::string path = File("opened.txt", "from dialog");
    dialogs.Choose(path);
    frame_->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    const guitest::FileDialogSeen& seen = dialogs.Seen()[0];
    EXPECT_TRUE(seen.open);
    EXPECT_EQ(seen.title, "Open");
    ASSERT_EQ(seen.filters.size(), 3u);
    EXPECT_EQ(seen.filters[0],
              (std::pair<std::string, std::string>("Text Files (*.txt)", "*.txt")));
    EXPECT_EQ(seen.filters[1],
              (std::pair<std::string, std::string>("Note Files (*.note)", "*.note")));
    EXPECT_EQ(seen.filters[2], (std::pair<std::string, std::string>("All Files (*.*)", "*.*")));
    EXPECT_EQ(seen.filterIndex, 1u);
    EXPECT_EQ(seen.defaultExt, "txt");
    EXPECT_TRUE(seen.flags & OFN_FILEMUSTEXIST);
    auto* doc = static_cast<CTextDoc*>(frame_->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_text, "from dialog");
}

TEST_F(MdiTest, OpeningAFileThatIsOpenActivatesItsWindowInsteadOfASecondCopy) {
    std::string a = File("a.txt", "a");
    std::string b = File("b.txt", "b");
    CDocument* docA = theApp.OpenDocumentFile(a.c_str());
    CDocument* docB = theApp.OpenDocumentFile(b.c_str());
    ASSERT_NE(docB, nullptr);
    EXPECT_EQ(frame_->MDIGetActive(), FrameOf(docB));
    // Another spelling of the same file (letter case) finds it too.
    std::string upper = a;
    for (char& c : upper) {
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(theApp.OpenDocumentFile(upper.c_str()), docA);
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 2);
    guitest::PumpPending();
    EXPECT_EQ(frame_->MDIGetActive(), FrameOf(docA));
}

TEST_F(MdiTest, TheRecentFileListGoesToTheRegistryAndTheFileMenu) {
    guitest::RegistrySandbox registry(&theApp);
    theApp.LoadStdProfileSettings(4);
    std::string path = File("recent.txt", "r");
    CDocument* doc = theApp.OpenDocumentFile(path.c_str());
    ASSERT_NE(doc, nullptr);
    theApp.SaveStdProfileSettings();
    std::string stored;
    ASSERT_TRUE(registry.ReadString("Recent File List", "File1", &stored));
    EXPECT_TRUE(AfxComparePath(stored.c_str(), path.c_str()));

    // Opening the File menu shows the entry in place of the placeholder.
    HMENU fileMenu = ::GetSubMenu(::GetMenu(frame_->m_hWnd), 0);
    frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fileMenu), 0);
    bool found = false;
    for (const auto& item : guitest::MenuItems(fileMenu)) {
        if (item.id == ID_FILE_MRU_FILE1) {
            found = true;
            EXPECT_EQ(item.text.rfind("&1 ", 0), 0u) << item.text;
            EXPECT_NE(item.text.find("recent.txt"), std::string::npos) << item.text;
            EXPECT_FALSE(item.grayed);
        }
    }
    EXPECT_TRUE(found);
    // The entry opens its file; a second choice finds it open already.
    doc->OnCloseDocument();
    frame_->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1);
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 1);
    theApp.m_pRecentFileList.reset();
}

TEST_F(MdiTest, ARecentFileThatIsGoneLeavesTheList) {
    guitest::RegistrySandbox registry(&theApp);
    guitest::MessageBoxAnswers boxes(IDOK);
    theApp.LoadStdProfileSettings(4);
    std::string path = File("gone.txt");
    theApp.AddToRecentFileList(path.c_str());
    frame_->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1);
    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(theApp.m_pRecentFileList->GetEntryCount(), 0);
    theApp.m_pRecentFileList.reset();
}

TEST_F(MdiTest, ClosingTheMainWindowOffersModifiedDocumentsAndEndsTheLoop) {
    guitest::MessageBoxAnswers boxes;
    CTextDoc* doc = NewText();
    doc->SetModifiedFlag();
    HWND hWnd = frame_->m_hWnd;
    boxes.Then(IDCANCEL);
    frame_->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(hWnd));  // Cancel keeps everything
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 1);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Save changes to " + doc->GetTitle().str() + "?");

    boxes.Then(IDNO);
    frame_->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    MSG quit;
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MdiTest, FileExitChosenByTheUserClosesTheMainWindowAsItsCloseBoxDoes) {
    HMENU file = ::GetSubMenu(::GetMenu(frame_->m_hWnd), 0);
    ASSERT_NE(file, nullptr);
    frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    const std::vector<guitest::MenuItemSeen> items = guitest::MenuItems(file);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().id, static_cast<UINT>(ID_APP_EXIT));
    EXPECT_FALSE(items.back().grayed);

    HWND hWnd = frame_->m_hWnd;
    {
        // Alt+F opens the File menu, X chooses Exit; the menu's own loop takes the keys, so they
        // come from a thread of their own. Escapes close a menu that refused the choice.
        guitest::InputScript keys;
        keys.Foreground(frame_).KeyDown(VK_MENU).KeyDown('F').KeyUp('F').KeyUp(VK_MENU);
        keys.Pause(200).KeyDown('X').KeyUp('X').Pause(300);
        keys.KeyDown(VK_ESCAPE).KeyUp(VK_ESCAPE).KeyDown(VK_ESCAPE).KeyUp(VK_ESCAPE);
        EXPECT_TRUE(keys.Run());
    }
    EXPECT_TRUE(guitest::WaitUntil([hWnd] { return !::IsWindow(hWnd); }));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    MSG quit;
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) || guitest::QuitSeen());
}

TEST_F(MdiTest, ClosingAChildWithChangesAsksAndCancelKeepsIt) {
    guitest::MessageBoxAnswers boxes;
    CTextDoc* doc = NewText();
    doc->SetModifiedFlag();
    CFrameWnd* child = FrameOf(doc);
    HWND hChild = child->m_hWnd;
    boxes.Then(IDCANCEL).Then(IDNO);
    child->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(hChild));
    child->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_EQ(theApp.GetOpenDocumentCount(), 0);
    EXPECT_EQ(boxes.Seen().size(), 2u);
}

}  // namespace
