// The shell tests' application, stand-in area view and fixture.
#include "shell_test_support.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "shell_test_ids.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/shell/bin_view.h"

namespace shell_test {

namespace {

CShellTestApp theApp;

class CTestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CTestMainFrame)
};
IMPLEMENT_DYNCREATE(CTestMainFrame, CMDIFrameWnd)

class TemplatesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
        theApp.AddDocTemplate(std::make_unique<CMultiDocTemplate>(
            IDR_TEST_BINTYPE, RUNTIME_CLASS(CBinDoc), RUNTIME_CLASS(CMDIChildWnd),
            RUNTIME_CLASS(CBinView)));
        theApp.AddDocTemplate(std::make_unique<CMultiDocTemplate>(
            IDR_TEST_HEXTYPE, RUNTIME_CLASS(CHexDoc), RUNTIME_CLASS(CMDIChildWnd),
            RUNTIME_CLASS(CTestAreaView)));
    }
};
::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new TemplatesEnvironment);

template <typename T>
bool Take(std::deque<T>& queue, T& answer) {
    if (queue.empty()) {
        return false;
    }
    answer = queue.front();
    queue.pop_front();
    return true;
}

}  // namespace

CShellTestApp& App() { return theApp; }

void SetKeyHeld(int vk, bool held) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[vk] = held ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

void SendKey(CWnd* pWnd, UINT vk) {
    pWnd->SendMessage(WM_KEYDOWN, vk, 1);
    pWnd->SendMessage(WM_KEYUP, vk, 0xC0000001);
}

void TypeInto(CWnd* pWnd, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        pWnd->SendMessage(WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
}

void CShellTestApp::AnswerChip(const char* name) {
    chips.push_back({true,
                     name,
                     {ChipTable::GetCodeSize(name), ChipTable::GetDataSize(name),
                      ChipTable::GetSpecialSize(name)}});
}

HWND CShellTestApp::StatusWindow() { return m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr; }

int CShellTestApp::StartJob(std::unique_ptr<JobRequest> job) {
    jobs.push_back(std::move(job));
    return static_cast<int>(jobs.size());
}

void CShellTestApp::Reset() {
    dialogs = nullptr;
    settings.SetChipName("");
    settings.SetLastDir("");
    settings.SetGotoAddress(0);
    cancel = 0;
    jobs.clear();
    running = false;
    chips.clear();
    memories.clear();
    destinations.clear();
    lengths.clear();
    formats.clear();
    loaders.clear();
    chipQuestions = 0;
    lengthQuestions = 0;
    formatQuestions = 0;
    loaderQuestions = 0;
    memoryQuestions.clear();
    memoryBaseAllowed.clear();
    destinationBoardLabels.clear();
}

bool CShellTestApp::SelectChip(CString& name, AreaSizes& sizes) {
    ++chipQuestions;
    ChipAnswer answer{};
    if (!Take(chips, answer) || !answer.ok) {
        return false;
    }
    name = answer.name;
    sizes = answer.lengths;
    return true;
}

bool CShellTestApp::ChooseMemory(const AreaChoice& present, bool baseAllowed, BYTE& kind,
                                 UINT& base) {
    memoryQuestions.push_back(present);
    memoryBaseAllowed.push_back(baseAllowed);
    MemoryAnswer answer{};
    if (!Take(memories, answer) || !answer.ok) {
        return false;
    }
    kind = answer.kind;
    base = answer.base;
    return true;
}

bool CShellTestApp::ChooseDestination(bool boardLabels, AreaChoice& chosen) {
    destinationBoardLabels.push_back(boardLabels);
    DestinationAnswer answer{};
    if (!Take(destinations, answer) || !answer.ok) {
        return false;
    }
    chosen = answer.chosen;
    return true;
}

bool CShellTestApp::NewBinLength(UINT& length) {
    ++lengthQuestions;
    LengthAnswer answer{};
    if (!Take(lengths, answer) || !answer.ok) {
        return false;
    }
    length = answer.length;
    return true;
}

int CShellTestApp::ChooseHexFormat() {
    ++formatQuestions;
    int format = 0;
    Take(formats, format);
    return format;
}

bool CShellTestApp::ChooseResidentLoader(int& index) {
    ++loaderQuestions;
    IndexAnswer answer{};
    if (!Take(loaders, answer) || !answer.ok) {
        return false;
    }
    index = answer.index;
    return true;
}

IMPLEMENT_DYNCREATE(CTestAreaView, CView)

BEGIN_MESSAGE_MAP(CTestAreaView, CView)
ON_WM_SIZE()
END_MESSAGE_MAP()

CHexView* CTestAreaView::AddAreaView(int area) {
    auto* view = new CHexView;  // a view owns itself: deleted with its window
    CCreateContext context;
    context.m_pCurrentDoc = GetDocument();
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 10, 10),
                      this, 100 + area, &context)) {
        return nullptr;
    }
    return view;
}

void CTestAreaView::OnInitialUpdate() {
    auto* doc = dynamic_cast<CHexDoc*>(GetDocument());
    if (doc == nullptr || m_pCodeView != nullptr || m_pDataView != nullptr ||
        m_pSpecialView != nullptr) {
        return;
    }
    const bool wordCode = ChipTable::GetDeviceCode(App().settings.ChipName()) < 160;
    m_bCodeWordCells = wordCode;
    MemoryImage& image = doc->GetImage();
    if (image.code.Present()) {
        m_pCodeView = AddAreaView(0);
        if (wordCode) {
            m_pCodeView->SetWordMode(TRUE);
        }
    }
    if (image.data.Present()) {
        m_pDataView = AddAreaView(1);
    }
    if (image.special.Present()) {
        m_pSpecialView = AddAreaView(2);
        m_pSpecialView->SetWordMode(TRUE);
    }
    LayOut();
    OnUpdate(nullptr, 0, nullptr);
}

void CTestAreaView::OnUpdate(CView*, LPARAM, CObject*) {
    auto* doc = dynamic_cast<CHexDoc*>(GetDocument());
    if (doc == nullptr) {
        return;
    }
    for (int area = 0; area < 3; ++area) {
        CHexView* view = AreaView(area);
        ImageArea* cells = doc->GetArea(area);
        if (view != nullptr && cells != nullptr) {
            view->SetData(cells->cells.data(), cells->marks.data(),
                          static_cast<int>(cells->Size()));
        }
    }
}

void CTestAreaView::LayOut() {
    CRect client;
    GetClientRect(&client);
    const int height = client.Height() / 3;
    for (int area = 0; area < 3; ++area) {
        if (CHexView* view = AreaView(area)) {
            view->MoveWindow(0, area * height, client.Width(), height);
        }
    }
}

void CTestAreaView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    LayOut();
}

void ShellTest::SetUp() {
    App().Reset();
    m_timedOutBefore = guitest::ModalDialogDriver::TimedOut();
    m_pFrame = new CTestMainFrame;  // owns itself
    ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TEST_MAINFRAME));
    App().m_pMainWnd = m_pFrame;
    m_pFrame->SetWindowPos(nullptr, 10, 10, 900, 700, SWP_NOZORDER);
    m_pFrame->ShowWindow(SW_SHOW);
    guitest::PumpPending();
}

void ShellTest::TearDown() {
    App().CloseAllDocuments(FALSE);
    if (App().m_pMainWnd != nullptr) {
        App().m_pMainWnd->DestroyWindow();
    }
    App().m_pMainWnd = nullptr;
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
    EXPECT_EQ(guitest::ModalDialogDriver::TimedOut(), m_timedOutBefore);
}

std::string ShellTest::TempFile(const std::string& name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    std::string path =
        std::string(folder) + "shell_" + std::to_string(::GetCurrentProcessId()) + "_" + name;
    const size_t slash = path.find_last_of('\\');
    const std::string dir = path.substr(0, slash);
    if (::GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ::CreateDirectoryA(dir.c_str(), nullptr);
        m_folders.push_back(dir);
    }
    m_files.push_back(path);
    ::DeleteFileA(path.c_str());
    return path;
}

std::string ShellTest::TempFile(const std::string& name, const std::string& bytes) {
    std::string path = TempFile(name);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

std::string ShellTest::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool ShellTest::Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

CBinDoc* ShellTest::NewBin(UINT length) {
    App().lengths.push_back({true, length});
    POSITION pos = App().GetFirstDocTemplatePosition();
    CDocTemplate* bin = App().GetNextDocTemplate(pos);
    return dynamic_cast<CBinDoc*>(bin->OpenDocumentFile(nullptr));
}

CHexDoc* ShellTest::NewHex(const char* chip) {
    App().AnswerChip(chip);
    POSITION pos = App().GetFirstDocTemplatePosition();
    App().GetNextDocTemplate(pos);
    CDocTemplate* hex = App().GetNextDocTemplate(pos);
    return dynamic_cast<CHexDoc*>(hex->OpenDocumentFile(nullptr));
}

CBinDoc* ShellTest::OpenBin(const std::string& path) {
    return dynamic_cast<CBinDoc*>(App().OpenDocumentFile(path.c_str()));
}

CHexDoc* ShellTest::OpenHex(const std::string& path, const char* chip) {
    if (chip != nullptr) {
        App().AnswerChip(chip);
    }
    return dynamic_cast<CHexDoc*>(App().OpenDocumentFile(path.c_str()));
}

CHexView* ShellTest::FirstHexView(CDocument* doc) {
    POSITION pos = doc->GetFirstViewPosition();
    return pos != nullptr ? dynamic_cast<CHexView*>(doc->GetNextView(pos)) : nullptr;
}

CTestAreaView* ShellTest::AreaViewOf(CDocument* doc) {
    for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr;) {
        if (auto* view = dynamic_cast<CTestAreaView*>(doc->GetNextView(pos))) {
            return view;
        }
    }
    return nullptr;
}

CFrameWnd* ShellTest::FrameOf(CDocument* doc) {
    POSITION pos = doc->GetFirstViewPosition();
    return doc->GetNextView(pos)->GetParentFrame();
}

}  // namespace shell_test
