// Storage of the recent-file list in the application's profile, one entry per slot.
#include "classlib/classlib.h"

namespace {

CString EntryName(const CString& format, int number) {
    CString name;
    name.Format(format, number);
    return name;
}

}  // namespace

void CRecentFileList::ReadList() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return;
    }
    for (int i = 0; i < GetSize(); ++i) {
        names_[static_cast<size_t>(i)] =
            app->GetProfileString(m_strSectionName, EntryName(m_strEntryFormat, i + 1), "");
    }
}

void CRecentFileList::WriteList() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || app->m_pszRegistryKey == nullptr) {
        return;
    }
    // The section is written afresh so that slots emptied since the last run disappear.
    app->WriteProfileString(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < GetSize(); ++i) {
        const CString& name = names_[static_cast<size_t>(i)];
        if (!name.IsEmpty()) {
            app->WriteProfileString(m_strSectionName, EntryName(m_strEntryFormat, i + 1), name);
        }
    }
}
