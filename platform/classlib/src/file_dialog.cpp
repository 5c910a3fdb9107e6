// CFileDialog: the system's open and save dialogs, or the test driver's answer.
#include "classlib/classlib.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt) {
    m_pParentWnd = pParentWnd;
    std::memset(&m_ofn, 0, sizeof(m_ofn));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrDefExt = lpszDefExt != nullptr ? static_cast<LPCTSTR>(m_strDefExt) : nullptr;
    if (lpszFileName != nullptr) {
        std::strncpy(m_szFileName, lpszFileName, MAX_PATH - 1);
    }
    if (lpszFilter != nullptr) {
        // "name|pattern|...|" becomes the NUL-separated list the system reads.
        m_filter = lpszFilter;
        for (char& c : m_filter) {
            if (c == '|') {
                c = '\0';
            }
        }
        m_filter.push_back('\0');
        m_ofn.lpstrFilter = m_filter.data();
    }
}

INT_PTR CFileDialog::DoModal() {
    const AfxFileDialogHook& hook = AfxGetFileDialogHook();
    if (hook) {
        return hook(*this);
    }
    if (m_ofn.hwndOwner == nullptr) {
        CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
        if (owner != nullptr) {
            m_ofn.hwndOwner = owner->GetTopLevelParent()->m_hWnd;
        }
    }
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile); }

CString CFileDialog::GetFileName() const {
    CString path = GetPathName();
    return path.Mid(std::max(path.ReverseFind('\\'), path.ReverseFind('/')) + 1);
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}
