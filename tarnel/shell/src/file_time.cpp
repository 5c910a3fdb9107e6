// File times and folders of image files.
#include "tarnel/shell/file_time.h"

#include <algorithm>

BOOL GetFileModifiedTime(LPCTSTR lpszPathName, long& time) {
    CFileStatus status;
    if (lpszPathName == nullptr || !CFile::GetStatus(lpszPathName, status)) {
        return FALSE;
    }
    time = static_cast<long>(status.m_mtime.GetTime());
    return TRUE;
}

CString FolderOfPath(const CString& path) {
    const int cut =
        std::max({path.ReverseFind('\\'), path.ReverseFind('/'), path.ReverseFind(':')});
    return path.Left(cut + 1);
}
