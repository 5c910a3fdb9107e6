// The application object: start-up, exit, the framework commands it handles and the program's
// host of the documents.
#include "tarnel/shell/tarnel_app.h"

#include "tarnel/images/chip_table.h"
#include "tarnel/shell/about_dlg.h"
#include "tarnel/shell/bin_doc.h"
#include "tarnel/shell/bin_view.h"
#include "tarnel/shell/child_wnd.h"
#include "tarnel/shell/file_view.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/main_frame.h"
#include "tarnel/shell/quillet_doc_manager.h"
#include "tarnel/shell/quillet_document.h"
#include "tarnel/shell/resource.h"

namespace {

constexpr UINT kRecentFiles = 8;

}  // namespace

UINT CAppProfileStore::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
    return m_app.GetProfileInt(section, entry, defaultValue);
}

CString CAppProfileStore::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) {
    return m_app.GetProfileString(section, entry, defaultValue);
}

BOOL CAppProfileStore::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    return m_app.WriteProfileInt(section, entry, value);
}

BOOL CAppProfileStore::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    return m_app.WriteProfileString(section, entry, value);
}

BOOL CQuestionBoxes::AskYesNo(const char* question) {
    return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

BEGIN_MESSAGE_MAP(CTarnelApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateFileSave)
ON_THREAD_MESSAGE(kFilesChangedMessage, OnFilesChanged)
END_MESSAGE_MAP()

CTarnelApp::CTarnelApp() = default;

CTarnelApp::~CTarnelApp() = default;

CTarnelApp& TarnelApp() { return *static_cast<CTarnelApp*>(AfxGetApp()); }

BOOL CTarnelApp::InitInstance() {
    Enable3dControlsStatic();
    SetRegistryKey(kRegistryKey);
    AfxEnableControlContainer();
    AfxOleInit();  // the clipboard works without it, so its result is not looked at

    CAppProfileStore store(*this);
    m_settings.Load(store);
    LoadStdProfileSettings(kRecentFiles);

    // Installed before the templates; making it starts the file-change watcher.
    m_pDocManager = std::make_unique<CQuilletDocManager>();
    AddDocTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_BINTYPE, RUNTIME_CLASS(CBinDoc), RUNTIME_CLASS(CChildWnd), RUNTIME_CLASS(CBinView)));
    AddDocTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_HEXTYPE, RUNTIME_CLASS(CHexDoc), RUNTIME_CLASS(CChildWnd), RUNTIME_CLASS(CFileView)));
    return CreateMainFrame();
}

BOOL CTarnelApp::CreateMainFrame() {
    auto* frame = new CMainFrame;  // owns itself: deleted with its window
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr)) {
        // A window that was made and then failed has deleted the frame with itself already.
        return FALSE;
    }
    m_pMainWnd = frame;

    ProgrammingEnvironment environment;
    environment.settings = &m_settings;
    environment.mainWindow = frame->m_hWnd;
    environment.questions = &m_questions;
    m_queue.SetEnvironment(environment);

    m_chipNames.RemoveAll();
    BuildChipNameList(m_chipNames);

    frame->FillChipCombo(m_chipNames);
    frame->FillPortCombo();
    frame->RestoreBarSelections();

    frame->UpdateWindow();
    frame->LoadPlacement();
    return TRUE;
}

int CTarnelApp::ExitInstance() {
    CAppProfileStore store(*this);
    m_settings.Save(store);
    return CWinApp::ExitInstance();
}

void CTarnelApp::SetCurrentChip(const CString& chipName) {
    m_settings.SetChipName(chipName);
    if (CMainFrame* frame = MainFrame()) {
        frame->SettingsBar().SelectChip(chipName);
    }
}

HWND CTarnelApp::StatusWindow() { return m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr; }

int CTarnelApp::StartJob(std::unique_ptr<JobRequest> job) {
    return m_queue.StartJob(std::move(job));
}

CMainFrame* CTarnelApp::MainFrame() { return dynamic_cast<CMainFrame*>(m_pMainWnd); }

void CTarnelApp::OnAppAbout() { CAboutDlg(m_pMainWnd).DoModal(); }

void CTarnelApp::OnFileSave() {
    if (CMainFrame* frame = MainFrame()) {
        if (CQuilletDocument* doc = frame->GetActiveQuilletDocument()) {
            doc->DoFileSave();
        }
    }
}

void CTarnelApp::OnFileSaveAs() {
    if (CMainFrame* frame = MainFrame()) {
        if (CQuilletDocument* doc = frame->GetActiveQuilletDocument()) {
            doc->DoSave(nullptr);
        }
    }
}

void CTarnelApp::OnUpdateFileSave(CCmdUI* pCmdUI) {
    CMainFrame* frame = MainFrame();
    pCmdUI->Enable(frame != nullptr && frame->MDIGetActive() != nullptr);
}

void CTarnelApp::OnFilesChanged(WPARAM, LPARAM) {
    if (auto* manager = dynamic_cast<CQuilletDocManager*>(m_pDocManager.get())) {
        manager->CheckModifiedDocuments();
    }
}
