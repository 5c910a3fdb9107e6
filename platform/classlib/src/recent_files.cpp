// The recent-file list's ordering rules, independent of where the list is stored.
#include "classlib/recent_files.h"

#include <algorithm>

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat,
                                 int nSize, int nMaxDispLen)
    : m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat),
      m_nMaxDisplayLength(nMaxDispLen),
      start_id_(nStart),
      names_(static_cast<size_t>(std::max(nSize, 0))) {}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
    if (names_.empty() || lpszPathName == nullptr || *lpszPathName == '\0') {
        return;
    }
    // The slot to free: the path's own when it is listed, else the oldest.
    size_t slot = names_.size() - 1;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].CompareNoCase(lpszPathName) == 0) {
            slot = i;
            break;
        }
    }
    for (size_t i = slot; i > 0; --i) {
        names_[i] = names_[i - 1];
    }
    names_[0] = lpszPathName;
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= GetSize()) {
        return;
    }
    names_.erase(names_.begin() + nIndex);
    names_.emplace_back();
}

int CRecentFileList::GetEntryCount() const {
    return static_cast<int>(
        std::count_if(names_.begin(), names_.end(), [](const CString& s) { return !s.IsEmpty(); }));
}

CString AfxAbbreviatePath(LPCTSTR lpszPath, int nMax) {
    CString path(lpszPath);
    if (path.GetLength() <= nMax) {
        return path;
    }
    // The root: "C:\" or "\\server\share\" or "/".
    int rootEnd = 0;
    if (path.GetLength() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) {
        rootEnd = 3;
    } else if (path.Left(2) == "\\\\") {
        int server = path.Find('\\', 2);
        int share = server >= 0 ? path.Find('\\', server + 1) : -1;
        rootEnd = share >= 0 ? share + 1 : 0;
    } else if (path.GetLength() > 0 && (path[0] == '/' || path[0] == '\\')) {
        rootEnd = 1;
    }
    CString root = path.Left(rootEnd);
    CString rest = path.Mid(rootEnd);
    const char sep = path.Find('\\') >= 0 ? '\\' : '/';
    // Drop leading folders of the rest until "root...\rest" fits.
    for (;;) {
        int cut = rest.Find(sep);
        if (cut < 0) {
            return rest;  // only the name is left: it stands alone, however long
        }
        rest = rest.Mid(cut + 1);
        CString candidate = root + "..." + CString(sep) + rest;
        if (candidate.GetLength() <= nMax) {
            return candidate;
        }
    }
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir) const {
    if (nIndex < 0 || nIndex >= GetSize() || names_[static_cast<size_t>(nIndex)].IsEmpty()) {
        return FALSE;
    }
    const CString& path = names_[static_cast<size_t>(nIndex)];
    int cut = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    CString folder = path.Left(cut + 1);
    CString dir(lpszCurDir);
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] != '\\' && dir[dir.GetLength() - 1] != '/') {
        dir += path.Find('\\') >= 0 ? '\\' : '/';
    }
    if (!dir.IsEmpty() && folder.CompareNoCase(dir) == 0) {
        strName = path.Mid(cut + 1);
    } else {
        strName = AfxAbbreviatePath(path, m_nMaxDisplayLength);
    }
    return TRUE;
}
