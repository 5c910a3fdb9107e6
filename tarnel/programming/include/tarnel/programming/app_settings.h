// The program-wide values the shell and the programming core share: the settings record, the
// chip-name list.
#pragma once

#include "classlib/collections.h"
#include "classlib/cstring.h"
#include "tarnel/programming/profile_store.h"
#include "w32/threads.h"

// The settings of section "Settings", each under its own value name. Everything is read and
// written by the user interface's thread, except CommPort, which the programming thread copies
// when it opens its port: that one is guarded by a lock of its own.
class CAppSettings {
public:
    static const char* const kSection;  // "Settings"

    // Every field empty or zero until Load.
    CAppSettings();
    virtual ~CAppSettings();
    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    // Reads all seven values, each with its default: BPR 16, AlphaMode 1, CommPort "COM1",
    // ChipName, LastDir empty, FilterIndex 0, GotoAddress 0.
    void Load(IProfileStore& store);
    // Writes all seven, integers as profile integers and texts as profile strings.
    void Save(IProfileStore& store) const;

    int BPR() const { return m_bpr; }
    void SetBPR(int value) { m_bpr = value; }
    int AlphaMode() const { return m_alphaMode; }
    void SetAlphaMode(int value) { m_alphaMode = value; }
    CString CommPort() const;
    void SetCommPort(LPCTSTR name);
    // Copies CommPort with its terminator into `buffer`; FALSE, with nothing copied, when it does
    // not fit.
    BOOL CopyCommPort(char* buffer, size_t size) const;
    const CString& ChipName() const { return m_chipName; }
    void SetChipName(LPCTSTR name) { m_chipName = name; }
    const CString& LastDir() const { return m_lastDir; }
    void SetLastDir(LPCTSTR folder) { m_lastDir = folder; }
    int FilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(int value) { m_filterIndex = value; }
    int GotoAddress() const { return m_gotoAddress; }
    void SetGotoAddress(int value) { m_gotoAddress = value; }

private:
    int m_bpr;
    int m_alphaMode;
    CString m_commPort;  // guarded by m_commPortLock
    CString m_chipName;
    CString m_lastDir;
    int m_filterIndex;
    int m_gotoAddress;
    mutable CRITICAL_SECTION m_commPortLock;
};

// The names of all chip-table rows in table order, for the settings bar's chip list.
void BuildChipNameList(CStringArray& names);
