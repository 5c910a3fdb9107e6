// Where the program keeps its settings: sections of named integers and texts.
//
// The Windows program stores them through the class library's profile functions (the registry
// under the application's key); tests and tools use the in-memory store below.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "classlib/cstring.h"

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    // The stored value, or `defaultValue` when the section has no such entry.
    virtual UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) = 0;
    virtual CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) = 0;
    virtual BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) = 0;
    virtual BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) = 0;
};

// Entries kept in memory. Each keeps the kind it was written with: an integer read as a text, or
// a text read as an integer, gives the default.
class CMemoryProfileStore : public IProfileStore {
public:
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) override;
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) override;
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) override;
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) override;

    bool Has(LPCTSTR section, LPCTSTR entry) const;
    int Count() const { return static_cast<int>(m_ints.size() + m_texts.size()); }

private:
    typedef std::pair<std::string, std::string> Key;
    static Key KeyOf(LPCTSTR section, LPCTSTR entry);

    std::map<Key, int> m_ints;
    std::map<Key, std::string> m_texts;
};
