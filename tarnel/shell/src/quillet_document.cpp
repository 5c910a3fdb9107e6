// The image documents' base: file times and the frame's operations with empty bodies.
#include "tarnel/shell/quillet_document.h"

#include <memory>
#include <string>

#include "tarnel/shell/document_host.h"
#include "tarnel/programming/port_names.h"
#include "tarnel/shell/file_time.h"

IMPLEMENT_DYNAMIC(CQuilletDocument, CDocument)

void CQuilletDocument::WriteChip(BOOL) {}
void CQuilletDocument::ReadChip() {}
void CQuilletDocument::FillRange(int, int, BYTE) {}
void CQuilletDocument::FillSelection(BYTE) {}
void CQuilletDocument::FillAll(BYTE) {}
void CQuilletDocument::GoToAddress(int) {}
void CQuilletDocument::CopySelection() {}
BOOL CQuilletDocument::HasSelection() { return FALSE; }
void CQuilletDocument::VerifyChip(BOOL) {}

bool CQuilletDocument::IsInUseByRun() {
    if (m_lentToRun && !DocumentHost().IsProgrammingRunning()) {
        m_lentToRun = false;
    }
    return m_lentToRun;
}

BOOL CQuilletDocument::RefuseWhileInUse() {
    if (!IsInUseByRun()) {
        return FALSE;
    }
    AfxMessageBox(
        "The chip is being programmed from this image.\nWait until the operation ends, "
        "or press STOP.",
        MB_ICONEXCLAMATION);
    return TRUE;
}

BOOL CQuilletDocument::SaveModified() {
    if (RefuseWhileInUse()) {
        return FALSE;
    }
    return CDocument::SaveModified();
}

BOOL CQuilletDocument::QueueImageJob(const AreaJob& job) {
    // Marked first: the thread may take the job at once, and the image is in use from then on.
    const bool wasLent = m_lentToRun;
    m_lentToRun = true;
    if (!QueueAreaJob(job)) {
        m_lentToRun = wasLent;
        return FALSE;
    }
    return TRUE;
}

BOOL CQuilletDocument::IsFileUpToDate() {
    // An image never saved has no file that could have changed.
    if (m_strPathName.IsEmpty()) {
        return TRUE;
    }
    long onDisk = 0;
    if (!GetFileModifiedTime(m_strPathName, onDisk)) {
        return FALSE;
    }
    return onDisk <= m_fileTime;
}

BOOL CQuilletDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    if (!CDocument::OnOpenDocument(lpszPathName)) {
        return FALSE;
    }
    return GetFileModifiedTime(lpszPathName, m_fileTime);
}

void CQuilletDocument::TakeContents(CQuilletDocument&) {}

BOOL CQuilletDocument::ReloadFile() {
    if (RefuseWhileInUse()) {
        return FALSE;
    }
    std::unique_ptr<CObject> created(GetRuntimeClass()->CreateObject());
    auto* fresh = dynamic_cast<CQuilletDocument*>(created.get());
    if (fresh == nullptr || !fresh->OnOpenDocument(m_strPathName)) {
        return FALSE;
    }
    DeleteContents();
    TakeContents(*fresh);
    m_fileTime = fresh->m_fileTime;
    SetModifiedFlag(FALSE);
    UpdateAllViews(nullptr);
    return TRUE;
}

BOOL CQuilletDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    const BOOL saved = CDocument::OnSaveDocument(lpszPathName);
    GetFileModifiedTime(lpszPathName, m_fileTime);
    return saved;
}

void CQuilletDocument::ReportImageFileResult(const ImageFileResult& result) {
    if (result.message.empty()) {
        return;
    }
    AfxMessageBox(result.message.c_str(), result.icon == MessageIcon::kError ? MB_ICONSTOP : MB_OK);
}

void CQuilletDocument::ReportLengthRange(unsigned minimum, unsigned maximum) {
    CString prompt;
    AfxFormatString2(prompt, AFX_IDP_PARSE_UINT_RANGE, std::to_string(minimum).c_str(),
                     std::to_string(maximum).c_str());
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_UINT_RANGE);
}

void CQuilletDocument::RememberFolder(LPCTSTR lpszPathName) {
    CString full;
    if (!AfxFullPath(full, lpszPathName)) {
        full = lpszPathName;
    }
    DocumentHost().Settings().SetLastDir(GetPathFolder(full));
}
