// A registry key of its own for one test: the application's profile goes under a fresh
// HKEY_CURRENT_USER\Software\<key> that is removed with everything under it afterwards.
#pragma once

#include "classlib/classlib.h"

#include <string>
#include <vector>

namespace guitest {

class RegistrySandbox {
public:
    // Points the application's registry key at the sandbox; the previous key comes back at the
    // end.
    explicit RegistrySandbox(CWinApp* pApp);
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // The company key's name (under HKCU\Software).
    const std::string& KeyName() const { return m_keyName; }

    // Values read straight from the registry, below the application's key (section may hold
    // backslashes). False when absent or of another type.
    bool ReadString(const std::string& section, const char* entry, std::string* value) const;
    bool ReadDword(const std::string& section, const char* entry, DWORD* value) const;
    bool ReadBinary(const std::string& section, const char* entry, std::vector<BYTE>* value) const;
    bool KeyExists(const std::string& section) const;

private:
    std::string SectionPath(const std::string& section) const;

    CWinApp* m_pApp;
    std::string m_keyName;
    CString m_previousKey;
    bool m_hadKey;
};

// Removes a key with everything under it; nothing when it does not exist.
void DeleteRegistryTree(HKEY parent, const char* name);

}  // namespace guitest
