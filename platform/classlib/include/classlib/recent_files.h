// CRecentFileList: the most-recently-used file list of the application, newest first.
#pragma once

#include "classlib/cstring.h"

#include <vector>

class CRecentFileList {
public:
    // nStart: the command id of the first entry's menu item; entries are stored under
    // lpszSection as lpszEntryFormat with the 1-based number ("File%d").
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = 30);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return static_cast<int>(names_.size()); }
    const CString& operator[](int nIndex) const { return names_.at(static_cast<size_t>(nIndex)); }
    UINT GetStartID() const { return start_id_; }

    // Puts the path first; a path already listed (compared without case) moves up instead of
    // appearing twice, and the oldest entry falls off a full list.
    virtual void Add(LPCTSTR lpszPathName);
    // Removes one entry; later entries move up and the last slot becomes empty.
    virtual void Remove(int nIndex);
    // Number of slots that hold a path.
    int GetEntryCount() const;

    // Profile storage through the application's profile functions (Windows builds only).
    void ReadList();
    void WriteList();

    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nMaxDisplayLength;

private:
    UINT start_id_;
    std::vector<CString> names_;  // fixed size, empty texts for free slots
};
