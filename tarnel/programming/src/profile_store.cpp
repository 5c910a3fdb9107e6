// The in-memory profile store.
#include "tarnel/programming/profile_store.h"

CMemoryProfileStore::Key CMemoryProfileStore::KeyOf(LPCTSTR section, LPCTSTR entry) {
    return Key(section != nullptr ? section : "", entry != nullptr ? entry : "");
}

UINT CMemoryProfileStore::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
    auto it = m_ints.find(KeyOf(section, entry));
    return static_cast<UINT>(it != m_ints.end() ? it->second : defaultValue);
}

CString CMemoryProfileStore::GetProfileString(LPCTSTR section, LPCTSTR entry,
                                              LPCTSTR defaultValue) {
    auto it = m_texts.find(KeyOf(section, entry));
    return it != m_texts.end() ? CString(it->second) : CString(defaultValue);
}

BOOL CMemoryProfileStore::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    Key key = KeyOf(section, entry);
    m_texts.erase(key);
    m_ints[key] = value;
    return TRUE;
}

BOOL CMemoryProfileStore::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    Key key = KeyOf(section, entry);
    m_ints.erase(key);
    m_texts[key] = value != nullptr ? value : "";
    return TRUE;
}

bool CMemoryProfileStore::Has(LPCTSTR section, LPCTSTR entry) const {
    Key key = KeyOf(section, entry);
    return m_ints.count(key) != 0 || m_texts.count(key) != 0;
}
