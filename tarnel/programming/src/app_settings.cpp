// The settings record of section "Settings", and the chip-name list.
#include "tarnel/programming/app_settings.h"

#include <cstring>

#include "section_lock.h"
#include "tarnel/images/chip_table.h"

const char* const CAppSettings::kSection = "Settings";

CAppSettings::CAppSettings() : m_bpr(0), m_alphaMode(0), m_filterIndex(0), m_gotoAddress(0) {
    w32::InitializeCriticalSection(&m_commPortLock);
}

CAppSettings::~CAppSettings() { w32::DeleteCriticalSection(&m_commPortLock); }

void CAppSettings::Load(IProfileStore& store) {
    m_bpr = static_cast<int>(store.GetProfileInt(kSection, "BPR", 16));
    m_alphaMode = static_cast<int>(store.GetProfileInt(kSection, "AlphaMode", 1));
    SetCommPort(store.GetProfileString(kSection, "CommPort", "COM1"));
    m_chipName = store.GetProfileString(kSection, "ChipName", "");
    m_lastDir = store.GetProfileString(kSection, "LastDir", "");
    m_filterIndex = static_cast<int>(store.GetProfileInt(kSection, "FilterIndex", 0));
    m_gotoAddress = static_cast<int>(store.GetProfileInt(kSection, "GotoAddress", 0));
}

void CAppSettings::Save(IProfileStore& store) const {
    store.WriteProfileInt(kSection, "BPR", m_bpr);
    store.WriteProfileInt(kSection, "AlphaMode", m_alphaMode);
    store.WriteProfileString(kSection, "CommPort", CommPort());
    store.WriteProfileString(kSection, "ChipName", m_chipName);
    store.WriteProfileString(kSection, "LastDir", m_lastDir);
    store.WriteProfileInt(kSection, "FilterIndex", m_filterIndex);
    store.WriteProfileInt(kSection, "GotoAddress", m_gotoAddress);
}

CString CAppSettings::CommPort() const {
    CSectionLock lock(m_commPortLock);
    return m_commPort;
}

void CAppSettings::SetCommPort(LPCTSTR name) {
    CString copy(name);
    CSectionLock lock(m_commPortLock);
    m_commPort = std::move(copy);
}

BOOL CAppSettings::CopyCommPort(char* buffer, size_t size) const {
    CSectionLock lock(m_commPortLock);
    size_t length = static_cast<size_t>(m_commPort.GetLength());
    if (buffer == nullptr || length >= size) {
        return FALSE;
    }
    std::memcpy(buffer, static_cast<LPCTSTR>(m_commPort), length + 1);
    return TRUE;
}

void BuildChipNameList(CStringArray& names) {
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        names.Add(ChipTable::GetEntry(i)->chipName);
    }
}
