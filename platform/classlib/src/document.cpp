// CDocument: new, open, save and close, the save prompt and the reports of failed files.
#include "classlib/classlib.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

// The name under which the user knows the document: its file's name, else its title, else
// "Untitled".
CString DisplayName(const CString& path, const CString& title) {
    if (!path.IsEmpty()) {
        int cut = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
        return path.Mid(cut + 1);
    }
    if (!title.IsEmpty()) {
        return title;
    }
    CString untitled;
    untitled.LoadString(AFX_IDS_UNTITLED);
    return untitled;
}

}  // namespace

CDocument::~CDocument() {
    for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;) {
        static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
    }
    if (m_pDocTemplate != nullptr) {
        m_pDocTemplate->RemoveDocument(this);
    }
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
    CString full;
    if (!AfxFullPath(full, lpszPathName)) {
        full = lpszPathName;
    }
    m_strPathName = full;
    SetTitle(DisplayName(full, CString()));
    if (bAddToMRU) {
        CWinApp* app = AfxGetApp();
        if (app != nullptr) {
            app->AddToRecentFileList(m_strPathName);
        }
    }
}

void CDocument::DeleteContents() {}

void CDocument::Serialize(CArchive&) {}

HMENU CDocument::GetDefaultMenu() { return nullptr; }

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    auto file = std::make_unique<CFile>();
    if (!file->Open(lpszFileName, nOpenFlags, pError)) {
        return nullptr;
    }
    return file.release();  // ReleaseFile takes it back
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort) {
    std::unique_ptr<CFile> owned(pFile);
    if (bAbort) {
        owned->Abort();
    } else {
        owned->Close();
    }
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, const CException* e, BOOL bSaving,
                                        UINT nIDPDefault) {
    // A user exception means the user has been told already.
    if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CUserException))) {
        return;
    }
    CString prompt;
    char text[512];
    if (e != nullptr && e->GetErrorMessage(text, sizeof(text))) {
        prompt = text;
    } else if (!prompt.LoadString(nIDPDefault)) {
        prompt.LoadString(bSaving ? AFX_IDP_FAILED_TO_SAVE_DOC : AFX_IDP_FAILED_TO_OPEN_DOC);
    }
    (void)lpszPathName;
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDPDefault);
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    CFileException fe;
    CFile* file = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (file == nullptr) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);  // dirty while the contents are half read
    try {
        CArchive ar(file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        ar.m_bForceFlat = FALSE;
        // An empty file is handed over as an empty document, unread.
        if (file->GetLength() != 0) {
            Serialize(ar);
        }
        ar.Close();
        ReleaseFile(file, FALSE);
    } catch (const CException& e) {
        ReleaseFile(file, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    } catch (const std::bad_alloc&) {
        ReleaseFile(file, TRUE);
        DeleteContents();
        CMemoryException memory;
        ReportSaveLoadException(lpszPathName, &memory, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    CFileException fe;
    CFile* file = GetFile(lpszPathName,
                          CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (file == nullptr) {
        ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
        return FALSE;
    }
    try {
        CArchive ar(file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        ar.m_bForceFlat = FALSE;
        Serialize(ar);
        ar.Close();
        ReleaseFile(file, FALSE);
    } catch (const CException& e) {
        ReleaseFile(file, TRUE);
        ReportSaveLoadException(lpszPathName, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    } catch (const std::bad_alloc&) {
        ReleaseFile(file, TRUE);
        CMemoryException memory;
        ReportSaveLoadException(lpszPathName, &memory, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

void CDocument::OnCloseDocument() {
    // The frames go first; the document must outlive them, so it does not delete itself when
    // its last view goes meanwhile.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        auto* view = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* frame = view->GetParentFrame();
        if (frame != nullptr) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        } else if (view->m_hWnd != nullptr) {
            view->DestroyWindow();
        }
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view) {
            RemoveView(view);  // a view that outlived its window lets go of the document
        }
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) {
        delete this;
    }
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) {
        return TRUE;
    }
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, DisplayName(m_strPathName, m_strTitle));
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
        case IDCANCEL:
            return FALSE;
        case IDYES:
            return DoFileSave();
        case IDNO:
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        if (view->GetParentFrame() != pFrame) {
            return TRUE;  // another frame still shows the document
        }
    }
    return SaveModified();
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    CString newName = lpszPathName;
    if (newName.IsEmpty()) {
        CDocTemplate* tmpl = GetDocTemplate();
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            // Propose the title, cut where a file name could not go on, with the template's
            // extension.
            newName = m_strTitle;
            int cut = newName.FindOneOf(" #%;/\\");
            if (cut >= 0) {
                newName = newName.Left(cut);
            }
            CString ext;
            if (tmpl != nullptr && tmpl->GetDocString(ext, CDocTemplate::filterExt) &&
                !ext.IsEmpty()) {
                newName += ext;
            }
        }
        CWinApp* app = AfxGetApp();
        if (app == nullptr ||
            !app->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                   OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, tmpl)) {
            return FALSE;
        }
    }
    // A new file that could not be written whole is removed again, so no torn file stays.
    bool existedBefore = false;
    CFileStatus status;
    existedBefore = CFile::GetStatus(newName, status) != FALSE;
    if (!OnSaveDocument(newName)) {
        if (lpszPathName == nullptr || !existedBefore) {
            try {
                CFile::Remove(newName);
            } catch (const CException&) {
                // It may never have been created.
            }
        }
        return FALSE;
    }
    if (bReplace) {
        SetPathName(newName);
    }
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    DWORD attributes = ::GetFileAttributesA(m_strPathName);
    if (m_strPathName.IsEmpty() || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_READONLY)) {
        return DoSave(nullptr);
    }
    return DoSave(m_strPathName);
}

void CDocument::OnFileClose() {
    if (!SaveModified()) {
        return;
    }
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }
