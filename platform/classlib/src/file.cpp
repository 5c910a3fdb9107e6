// CFile and CFileException: the open modes, the failure reports and the file's names, on top of
// the platform's file calls.
#include "classlib/file.h"

#include "file_system.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

// The user's text for each cause; %s is the file's name.
const char* const kCauseTexts[] = {
    "No error occurred with %s.",
    "An unexpected error occurred while accessing %s.",
    "%s was not found.",
    "%s contains an invalid path.",
    "%s could not be opened: too many files are open.",
    "Access to %s was denied.",
    "An invalid file handle was used with %s.",
    "%s could not be removed: it is the current folder.",
    "%s could not be created: the folder is full.",
    "Seek failed on %s.",
    "A hardware input/output error occurred while accessing %s.",
    "A sharing violation occurred while accessing %s.",
    "A locking violation occurred while accessing %s.",
    "The disk is full while accessing %s.",
    "An attempt was made to access %s past its end.",
};

}  // namespace

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext != nullptr) {
        *pnHelpContext = 0;
    }
    if (lpszError == nullptr || nMaxError == 0) {
        return FALSE;
    }
    int cause = m_cause >= 0 && m_cause <= endOfFile ? m_cause : genericException;
    const char* name =
        m_strFileName.IsEmpty() ? "an unnamed file" : static_cast<LPCTSTR>(m_strFileName);
    std::snprintf(lpszError, nMaxError, kCauseTexts[cause], name);
    return TRUE;
}

int CFileException::OsErrorToException(LONG lOsError) {
    return classlib_file::ErrorToCause(lOsError);
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
    throw CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
    throw CFileException(cause, lOsError, lpszFileName);
}

CFile::CFile() = default;

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error)) {
        throw error;
    }
}

CFile::~CFile() {
    if (IsOpen()) {
        Abort();
    }
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    if (IsOpen()) {
        Abort();
    }
    // The file keeps its full name, so that messages and statuses name it wherever it was
    // opened from.
    CString full;
    if (lpszFileName == nullptr || !AfxFullPath(full, lpszFileName)) {
        if (pError != nullptr) {
            *pError = CFileException(CFileException::badPath, -1, lpszFileName);
        }
        return FALSE;
    }
    LONG error = 0;
    std::intptr_t handle = classlib_file::Open(full, nOpenFlags, &error);
    if (handle == kNoFile) {
        if (pError != nullptr) {
            *pError = CFileException(CFileException::OsErrorToException(error), error, full);
        }
        return FALSE;
    }
    m_hFile = handle;
    m_strFileName = full;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

void CFile::Close() {
    if (!IsOpen()) {
        return;
    }
    LONG error = 0;
    bool ok = classlib_file::Close(m_hFile, &error);
    m_hFile = kNoFile;
    m_bCloseOnDelete = FALSE;
    if (!ok) {
        CFileException::ThrowOsError(error, m_strFileName);
    }
}

void CFile::Abort() {
    if (IsOpen()) {
        LONG ignored = 0;
        classlib_file::Close(m_hFile, &ignored);
        m_hFile = kNoFile;
    }
    m_bCloseOnDelete = FALSE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0) {
        return 0;
    }
    if (!IsOpen()) {
        AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
    }
    UINT got = 0;
    LONG error = 0;
    if (!classlib_file::Read(m_hFile, lpBuf, nCount, &got, &error)) {
        CFileException::ThrowOsError(error, m_strFileName);
    }
    return got;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) {
        return;
    }
    if (!IsOpen()) {
        AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
    }
    LONG error = 0;
    if (!classlib_file::Write(m_hFile, lpBuf, nCount, &error)) {
        CFileException::ThrowOsError(error, m_strFileName);
    }
}

LONG CFile::Seek(LONG lOff, UINT nFrom) {
    if (!IsOpen()) {
        AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
    }
    std::int64_t position = 0;
    LONG error = 0;
    if (nFrom > end || !classlib_file::Seek(m_hFile, lOff, nFrom, &position, &error)) {
        AfxThrowFileException(CFileException::badSeek, error, m_strFileName);
    }
    return static_cast<LONG>(position);
}

DWORD CFile::GetPosition() const {
    std::int64_t position = 0;
    LONG error = 0;
    if (!IsOpen() || !classlib_file::Seek(m_hFile, 0, current, &position, &error)) {
        AfxThrowFileException(CFileException::badSeek, error, m_strFileName);
    }
    return static_cast<DWORD>(position);
}

DWORD CFile::GetLength() const {
    std::int64_t length = 0;
    LONG error = 0;
    if (!IsOpen() || !classlib_file::Length(m_hFile, &length, &error)) {
        CFileException::ThrowOsError(error, m_strFileName);
    }
    return static_cast<DWORD>(length);
}

void CFile::SetLength(DWORD dwNewLen) {
    LONG error = 0;
    if (!IsOpen() || !classlib_file::SetLength(m_hFile, dwNewLen, &error)) {
        CFileException::ThrowOsError(error, m_strFileName);
    }
}

void CFile::Flush() {
    LONG error = 0;
    if (IsOpen() && !classlib_file::Flush(m_hFile, &error)) {
        CFileException::ThrowOsError(error, m_strFileName);
    }
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
    if (!IsOpen()) {
        return FALSE;
    }
    return GetStatus(m_strFileName, rStatus);
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
    CString full;
    if (lpszFileName == nullptr || !AfxFullPath(full, lpszFileName)) {
        return FALSE;
    }
    CFileStatus status;
    if (!classlib_file::Status(full, &status)) {
        return FALSE;
    }
    std::snprintf(status.m_szFullName, sizeof(status.m_szFullName), "%s",
                  static_cast<LPCTSTR>(full));
    rStatus = status;
    return TRUE;
}

void CFile::Remove(LPCTSTR lpszFileName) {
    LONG error = 0;
    if (!classlib_file::Remove(lpszFileName, &error)) {
        CFileException::ThrowOsError(error, lpszFileName);
    }
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
    LONG error = 0;
    if (!classlib_file::Rename(lpszOldName, lpszNewName, &error)) {
        CFileException::ThrowOsError(error, lpszOldName);
    }
}

CString CFile::GetFileName() const {
    int cut = m_strFileName.FindOneOf("\\/") >= 0
                  ? std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'))
                  : -1;
    return m_strFileName.Mid(cut + 1);
}

CString CFile::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

BOOL AfxFullPath(CString& rFullPath, LPCTSTR lpszFileIn) {
    if (lpszFileIn == nullptr || *lpszFileIn == '\0') {
        return FALSE;
    }
    return classlib_file::FullPath(lpszFileIn, &rFullPath) ? TRUE : FALSE;
}

CTime CTime::GetCurrentTime() { return CTime(classlib_file::Now()); }
