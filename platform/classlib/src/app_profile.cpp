// The application's profile in the registry: HKEY_CURRENT_USER\Software\<key>\<app>\<section>.
#include "classlib/classlib.h"

#include <cstring>
#include <vector>

namespace {

// Closes a registry key when it goes out of scope.
class RegKey {
public:
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
        }
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

HKEY CreateSubKey(HKEY parent, LPCTSTR name) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                          nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

}  // namespace

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    registry_key_ = lpszRegistryKey;
    m_pszRegistryKey = registry_key_;
    if (m_pszAppName != nullptr) {
        profile_name_ = m_pszAppName;
        m_pszProfileName = profile_name_;
    }
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey() {
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr) {
        return nullptr;
    }
    RegKey software(CreateSubKey(HKEY_CURRENT_USER, "Software"));
    if (software.get() == nullptr) {
        return nullptr;
    }
    RegKey company(CreateSubKey(software.get(), m_pszRegistryKey));
    if (company.get() == nullptr) {
        return nullptr;
    }
    return CreateSubKey(company.get(), m_pszProfileName);
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
    RegKey app(GetAppRegistryKey());
    if (app.get() == nullptr) {
        return nullptr;
    }
    return CreateSubKey(app.get(), lpszSection);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    RegKey section(GetSectionKey(lpszSection));
    if (section.get() == nullptr) {
        return static_cast<UINT>(nDefault);
    }
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(section.get(), lpszEntry, nullptr, &type,
                           reinterpret_cast<LPBYTE>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
        return static_cast<UINT>(nDefault);
    }
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    RegKey section(GetSectionKey(lpszSection));
    if (section.get() == nullptr) {
        return FALSE;
    }
    DWORD value = static_cast<DWORD>(nValue);
    return ::RegSetValueExA(section.get(), lpszEntry, 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    RegKey section(GetSectionKey(lpszSection));
    if (section.get() == nullptr) {
        return CString(lpszDefault);
    }
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return CString(lpszDefault);
    }
    std::vector<char> buffer(size + 1, '\0');
    if (::RegQueryValueExA(section.get(), lpszEntry, nullptr, &type,
                           reinterpret_cast<LPBYTE>(buffer.data()), &size) != ERROR_SUCCESS) {
        return CString(lpszDefault);
    }
    return CString(buffer.data());
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    if (lpszEntry == nullptr) {
        // No entry: the whole section goes.
        RegKey app(GetAppRegistryKey());
        return app.get() != nullptr && ::RegDeleteKeyA(app.get(), lpszSection) == ERROR_SUCCESS;
    }
    RegKey section(GetSectionKey(lpszSection));
    if (section.get() == nullptr) {
        return FALSE;
    }
    if (lpszValue == nullptr) {
        return ::RegDeleteValueA(section.get(), lpszEntry) == ERROR_SUCCESS;
    }
    return ::RegSetValueExA(section.get(), lpszEntry, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(lpszValue),
                            static_cast<DWORD>(std::strlen(lpszValue) + 1)) == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData,
                               UINT* pBytes) {
    *ppData = nullptr;
    *pBytes = 0;
    RegKey section(GetSectionKey(lpszSection));
    if (section.get() == nullptr) {
        return FALSE;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_BINARY) {
        return FALSE;
    }
    // The caller owns the buffer and frees it with delete[].
    LPBYTE data = new (std::nothrow) BYTE[size > 0 ? size : 1];
    if (data == nullptr) {
        return FALSE;
    }
    if (::RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, data, &size) !=
        ERROR_SUCCESS) {
        delete[] data;
        return FALSE;
    }
    *ppData = data;
    *pBytes = size;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData,
                                 UINT nBytes) {
    RegKey section(GetSectionKey(lpszSection));
    if (section.get() == nullptr) {
        return FALSE;
    }
    return ::RegSetValueExA(section.get(), lpszEntry, 0, REG_BINARY, pData, nBytes) ==
           ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU == 0) {
        m_pRecentFileList.reset();
        return;
    }
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "Recent File List",
                                                          "File%d", static_cast<int>(nMaxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList != nullptr) {
        m_pRecentFileList->WriteList();
    }
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (m_pRecentFileList != nullptr) {
        m_pRecentFileList->Add(lpszPathName);
    }
}
