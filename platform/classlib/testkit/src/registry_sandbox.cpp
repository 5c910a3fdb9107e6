// Per-test registry keys for the application's profile.
#include "guitest/registry_sandbox.h"

#include <cstdio>

namespace guitest {

void DeleteRegistryTree(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    char child[256];
    for (;;) {
        DWORD size = sizeof(child);
        if (::RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        DeleteRegistryTree(key, child);
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyA(parent, name);
}

RegistrySandbox::RegistrySandbox(CWinApp* pApp)
    : m_pApp(pApp), m_hadKey(pApp->m_pszRegistryKey != nullptr) {
    static unsigned counter = 0;
    char name[80];
    std::snprintf(name, sizeof(name), "GuiTest%lu-%lu-%u", ::GetCurrentProcessId(),
                  ::GetTickCount(), ++counter);
    m_keyName = name;
    if (m_hadKey) {
        m_previousKey = pApp->m_pszRegistryKey;
    }
    pApp->SetRegistryKey(m_keyName.c_str());
}

RegistrySandbox::~RegistrySandbox() {
    std::string company = "Software\\" + m_keyName;
    DeleteRegistryTree(HKEY_CURRENT_USER, company.c_str());
    if (m_hadKey) {
        m_pApp->SetRegistryKey(m_previousKey);
    } else {
        m_pApp->m_pszRegistryKey = nullptr;
    }
}

std::string RegistrySandbox::SectionPath(const std::string& section) const {
    std::string path = "Software\\" + m_keyName + "\\" + m_pApp->m_pszProfileName;
    if (!section.empty()) {
        path += "\\" + section;
    }
    return path;
}

bool RegistrySandbox::ReadString(const std::string& section, const char* entry,
                                 std::string* value) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    char buffer[1024] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    LONG rc =
        ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        return false;
    }
    *value = buffer;
    return true;
}

bool RegistrySandbox::ReadDword(const std::string& section, const char* entry, DWORD* value) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD size = sizeof(*value);
    DWORD type = 0;
    LONG rc =
        ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<LPBYTE>(value), &size);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

bool RegistrySandbox::ReadBinary(const std::string& section, const char* entry,
                                 std::vector<BYTE>* value) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    DWORD type = 0;
    LONG rc = ::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS && type == REG_BINARY) {
        value->resize(size);
        rc = ::RegQueryValueExA(key, entry, nullptr, &type, value->data(), &size);
        value->resize(size);
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_BINARY;
}

bool RegistrySandbox::KeyExists(const std::string& section) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

}  // namespace guitest
