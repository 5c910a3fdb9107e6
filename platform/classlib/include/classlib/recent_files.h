// CRecentFileList: the most-recently-used file list of the application, newest first.
#pragma once

#include "classlib/cstring.h"

#include <vector>

class CCmdUI;

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

    // The entry as a menu shows it: only its name when it lies in lpszCurDir, else the path
    // shortened to m_nMaxDisplayLength; FALSE for an empty slot.
    BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir) const;

    // Profile storage through the application's profile functions, and the entries shown as
    // "&1 name" items in place of the list's menu item (Windows builds only).
    void ReadList();
    void WriteList();
    void UpdateMenu(CCmdUI* pCmdUI);

    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nMaxDisplayLength;

private:
    CString original_text_;  // the menu item's text while the list is empty
    UINT start_id_;
    std::vector<CString> names_;  // fixed size, empty texts for free slots
};

// A path no longer than nMax characters: the start (drive or share) and as many of the last
// folders as fit, with "..." between; at least the file's name, however long.
CString AfxAbbreviatePath(LPCTSTR lpszPath, int nMax);
