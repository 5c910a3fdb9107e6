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
