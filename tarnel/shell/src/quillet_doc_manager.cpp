// The device programmer's document manager: File New and File Open with one image at a time, the
// image file dialog, and the reload question for files changed on disk.
#include "tarnel/shell/quillet_doc_manager.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tarnel/images/image_file_filters.h"
#include "tarnel/programming/port_names.h"
#include "tarnel/frame_rules/reload_rules.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/file_time.h"
#include "tarnel/shell/quillet_document.h"
#include "tarnel/shell/select_file_type_dlg.h"

IMPLEMENT_DYNAMIC(CQuilletDocManager, CDocManager)

namespace {

constexpr const char* kModifiedPrompt =
    "Document file '%s' was modified outside Tarnel.\nDo you want to reload it?";
constexpr const char* kMissingPrompt =
    "Document file '%s' was removed or cannot be read.\nThe image stays open as it is.";

std::set<CDocument*> OpenDocuments(const CDocManager& manager) {
    std::set<CDocument*> documents;
    for (POSITION pos = manager.GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* tmpl = manager.GetNextDocTemplate(pos);
        for (POSITION doc = tmpl->GetFirstDocPosition(); doc != nullptr;) {
            documents.insert(tmpl->GetNextDoc(doc));
        }
    }
    return documents;
}

DocumentFilter FilterOf(CDocTemplate* pTemplate) {
    CString name;
    CString extension;
    pTemplate->GetDocString(name, CDocTemplate::filterName);
    pTemplate->GetDocString(extension, CDocTemplate::filterExt);
    return {name.str(), extension.str()};
}

// How often a look put off by a running job checks whether the run has ended.
constexpr UINT kRunEndPollMs = 250;

// Asks about one image whose file may have changed; true when it was read again (or the read
// failed), so that the look starts over. An image in use by the programming thread is not asked
// about: `putOff` is set, and the look comes back to it once the run has ended.
bool AskAboutChangedFile(CQuilletDocument& image, bool& putOff) {
    if (image.IsInUseByRun()) {
        putOff = true;
        return false;
    }
    const CString path = image.GetPathName();
    ImageFileState state;
    state.hasPath = !path.IsEmpty();
    state.upToDate = !state.hasPath || image.IsFileUpToDate();
    long onDisk = 0;
    state.fileReadable = state.hasPath && GetFileModifiedTime(path, onDisk);
    state.keptTime = image.GetFileTimeKept();

    CString prompt;
    switch (NextReloadStep(state)) {
        case ReloadStep::kSkip:
            return false;
        case ReloadStep::kReportMissing:
            prompt.Format(kMissingPrompt, static_cast<LPCTSTR>(path));
            image.SetFileTimeKept(kMissingFileReported);
            AfxMessageBox(prompt, MB_ICONEXCLAMATION);
            return false;
        case ReloadStep::kAskReload:
            break;
    }
    prompt.Format(kModifiedPrompt, static_cast<LPCTSTR>(path));
    if (AfxMessageBox(prompt, MB_YESNO) != IDYES) {
        // The same change is not offered again; a time that cannot be read leaves the old one.
        if (GetFileModifiedTime(path, onDisk)) {
            image.SetFileTimeKept(onDisk);
        }
        return false;
    }
    if (!image.ReloadFile()) {
        // The read has said why; the image stays as it was and this change is not offered again.
        image.SetFileTimeKept(GetFileModifiedTime(path, onDisk) ? onDisk : kMissingFileReported);
    }
    return true;
}

}  // namespace

CQuilletDocManager::CQuilletDocManager() { StartWatcher(); }

CQuilletDocManager::~CQuilletDocManager() = default;

void CQuilletDocManager::StartWatcher() {
    m_hWatcherThread = CFolderWatcher::Program().Start(::GetCurrentThreadId());
}

void CQuilletDocManager::WatchFolder(LPCTSTR lpszPathName) {
    CFolderWatcher::Program().Watch(GetPathFolder(lpszPathName).str());
}

CDocument* CQuilletDocManager::OpenDocumentFile(LPCTSTR lpszFileName) {
    const std::set<CDocument*> before = OpenDocuments(*this);
    CDocument* document = CDocManager::OpenDocumentFile(lpszFileName);
    if (document != nullptr && before.count(document) == 0) {
        WatchFolder(document->GetPathName());
    }
    return document;
}

BOOL CQuilletDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                          BOOL bOpenFileDialog, CDocTemplate* pTemplate) {
    CFileDialog dialog(bOpenFileDialog, nullptr, nullptr, OFN_OVERWRITEPROMPT | lFlags, nullptr,
                       AfxGetMainWnd());
    CString title;
    title.LoadString(nIDSTitle);

    std::vector<DocumentFilter> kinds;
    if (pTemplate != nullptr) {
        kinds.push_back(FilterOf(pTemplate));
    } else {
        for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
            kinds.push_back(FilterOf(GetNextDocTemplate(pos)));
        }
    }
    CString allFiles;
    allFiles.LoadString(AFX_IDS_ALLFILTER);
    const ImageFileFilters filters = BuildImageFileFilters(kinds, allFiles.str());
    const std::string filterText = JoinFileFilters(filters.filters);

    CAppSettings& settings = DocumentHost().Settings();
    const CString folder = settings.LastDir();
    dialog.m_ofn.lpstrFilter = filterText.c_str();
    dialog.m_ofn.nFilterIndex = static_cast<DWORD>(settings.FilterIndex());
    dialog.m_ofn.lpstrDefExt =
        filters.defaultExtension.empty() ? nullptr : filters.defaultExtension.c_str();
    dialog.m_ofn.lpstrInitialDir = folder.IsEmpty() ? nullptr : static_cast<LPCTSTR>(folder);
    dialog.m_ofn.lpstrTitle = title;
    // The name proposed by the caller (a Save As of an image without a file proposes its title)
    // is where the dialog starts.
    char buffer[MAX_PATH] = {};
    std::strncpy(buffer, fileName, MAX_PATH - 1);
    dialog.m_ofn.lpstrFile = buffer;
    dialog.m_ofn.nMaxFile = MAX_PATH;

    const INT_PTR result = dialog.DoModal();
    settings.SetFilterIndex(static_cast<int>(dialog.m_ofn.nFilterIndex));
    fileName = buffer;
    return result == IDOK;
}

// The first open image that a job of the programming thread still uses refuses with its box.
bool CQuilletDocManager::RefuseWhileAnyInUse() {
    for (CDocument* document : OpenDocuments(*this)) {
        auto* image = dynamic_cast<CQuilletDocument*>(document);
        if (image != nullptr && image->RefuseWhileInUse()) {
            return true;
        }
    }
    return false;
}

void CQuilletDocManager::OnFileNew() {
    if (RefuseWhileAnyInUse() || !SaveAllModified()) {
        return;
    }
    CloseAllDocuments(FALSE);
    if (m_templateList.IsEmpty()) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return;
    }
    auto* chosen = static_cast<CDocTemplate*>(m_templateList.GetHead());
    if (m_templateList.GetCount() > 1) {
        CSelectFileTypeDlg dialog(&m_templateList);
        if (dialog.DoModal() != IDOK || dialog.GetSelectedTemplate() == nullptr) {
            return;
        }
        chosen = dialog.GetSelectedTemplate();
    }
    chosen->OpenDocumentFile(nullptr);
}

void CQuilletDocManager::OnFileOpen() {
    if (RefuseWhileAnyInUse() || !SaveAllModified()) {
        return;
    }
    CloseAllDocuments(FALSE);
    CDocManager::OnFileOpen();
}

void CQuilletDocManager::CheckModifiedDocuments() {
    // Starts over after each reload: the reload may have run dialogs, and documents may have
    // come or gone meanwhile.
    bool putOff = false;
    bool again = true;
    while (again) {
        again = false;
        for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr && !again;) {
            CDocTemplate* tmpl = GetNextDocTemplate(pos);
            for (POSITION docPos = tmpl->GetFirstDocPosition(); docPos != nullptr && !again;) {
                auto* image = dynamic_cast<CQuilletDocument*>(tmpl->GetNextDoc(docPos));
                again = image != nullptr && AskAboutChangedFile(*image, putOff);
            }
        }
    }
    if (putOff && m_runEndTimer == 0) {
        m_runEndTimer = ::SetTimer(nullptr, 0, kRunEndPollMs, &CQuilletDocManager::OnRunEndPoll);
    }
}

void CALLBACK CQuilletDocManager::OnRunEndPoll(HWND, UINT, UINT_PTR timer, DWORD) {
    if (DocumentHost().IsProgrammingRunning()) {
        return;
    }
    ::KillTimer(nullptr, timer);
    CWinApp* app = AfxGetApp();
    auto* manager =
        app != nullptr ? dynamic_cast<CQuilletDocManager*>(app->m_pDocManager.get()) : nullptr;
    if (manager != nullptr && manager->m_runEndTimer == timer) {
        manager->m_runEndTimer = 0;
        manager->CheckModifiedDocuments();
    }
}
