// File times of image files.
#include "tarnel/shell/file_time.h"

BOOL GetFileModifiedTime(LPCTSTR lpszPathName, long& time) {
    CFileStatus status;
    if (lpszPathName == nullptr || !CFile::GetStatus(lpszPathName, status)) {
        return FALSE;
    }
    time = static_cast<long>(status.m_mtime.GetTime());
    return TRUE;
}
