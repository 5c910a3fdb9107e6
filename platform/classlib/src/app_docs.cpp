// The application's document side: templates, File New and Open, the recent-file commands and
// saving everything before the program ends.
#include "classlib/classlib.h"

void CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate) {
    if (m_pDocManager == nullptr) {
        m_pDocManager = std::make_unique<CDocManager>();
    }
    m_pDocManager->AddDocTemplate(std::move(pTemplate));
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
    return m_pDocManager != nullptr ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
    return m_pDocManager->GetNextDocTemplate(pos);
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    return m_pDocManager != nullptr ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL CWinApp::SaveAllModified() {
    return m_pDocManager != nullptr ? m_pDocManager->SaveAllModified() : TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    if (m_pDocManager != nullptr) {
        m_pDocManager->CloseAllDocuments(bEndSession);
    }
}

int CWinApp::GetOpenDocumentCount() {
    return m_pDocManager != nullptr ? m_pDocManager->GetOpenDocumentCount() : 0;
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                               BOOL bOpenFileDialog, CDocTemplate* pTemplate) {
    if (m_pDocManager == nullptr) {
        m_pDocManager = std::make_unique<CDocManager>();
    }
    return m_pDocManager->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

void CWinApp::OnFileNew() {
    if (m_pDocManager != nullptr) {
        m_pDocManager->OnFileNew();
    }
}

void CWinApp::OnFileOpen() {
    if (m_pDocManager != nullptr) {
        m_pDocManager->OnFileOpen();
    }
}

void CWinApp::OnOpenRecentFile(UINT nID) {
    if (m_pRecentFileList == nullptr) {
        return;
    }
    int index = static_cast<int>(nID - ID_FILE_MRU_FIRST);
    if (index < 0 || index >= m_pRecentFileList->GetSize() ||
        (*m_pRecentFileList)[index].IsEmpty()) {
        return;
    }
    CString path = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(path) == nullptr) {
        m_pRecentFileList->Remove(index);
    }
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList == nullptr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(pCmdUI);
}
