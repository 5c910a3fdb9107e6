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

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
    CMenu* menu = pCmdUI->m_pMenu;
    if (menu == nullptr) {
        return;  // only menus show the list
    }
    if (original_text_.IsEmpty()) {
        menu->GetMenuString(start_id_, original_text_, MF_BYCOMMAND);
    }
    if (GetEntryCount() == 0) {
        if (!original_text_.IsEmpty()) {
            pCmdUI->SetText(original_text_);
        }
        pCmdUI->Enable(FALSE);
        return;
    }
    for (int i = 0; i < GetSize(); ++i) {
        menu->DeleteMenu(start_id_ + static_cast<UINT>(i), MF_BYCOMMAND);
    }
    char folder[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    int shown = 0;
    for (int i = 0; i < GetSize(); ++i) {
        CString name;
        if (!GetDisplayName(name, i, folder)) {
            continue;
        }
        name.Replace("&", "&&");  // an ampersand of the name is no mnemonic
        CString text;
        text.Format("&%d %s", ++shown, static_cast<LPCTSTR>(name));
        menu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION,
                         start_id_ + static_cast<UINT>(i), text);
    }
    // The update loop goes on after the inserted items.
    pCmdUI->m_nIndex--;
    pCmdUI->m_nIndexMax = static_cast<UINT>(menu->GetMenuItemCount());
    pCmdUI->m_bEnableChanged = TRUE;
}
