// What the end-to-end tests read of a running device programmer from outside its code: the lines
// of a list view, the program's registry values, a window's picture, and an Intel HEX file's bytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace e2e {

// The first column of every item of a list view of this process, read with LVM_GETITEMTEXT.
std::vector<std::string> ListViewLines(HWND list);
// The same for a list view of another process: the item record and its text buffer are placed
// in that process's memory, where the list can fill them.
std::vector<std::string> RemoteListViewLines(HWND list);

// A shown top-level window whose title is `title` (or begins with it, with `prefixOnly`), of the
// given process (0: any), waiting up to `ms`; null when none came.
HWND WaitForTopWindow(DWORD process, const char* title, bool prefixOnly, DWORD ms);

// Values below HKEY_CURRENT_USER\<key> (e.g. "Software\Velcor\Tarnel"), read straight from the
// registry.
class RegistryProbe {
public:
    explicit RegistryProbe(std::string key) : m_key(std::move(key)) {}
    const std::string& Key() const { return m_key; }

    bool ReadString(const std::string& section, const char* name, std::string* value) const;
    bool ReadDword(const std::string& section, const char* name, DWORD* value) const;
    bool ReadBinary(const std::string& section, const char* name, std::vector<BYTE>* value) const;
    // Whether a value of any type is there, with its type and size.
    bool ValueExists(const std::string& section, const char* name, DWORD* type, DWORD* size) const;
    bool SectionExists(const std::string& section) const;
    // The names of a section's sub-keys.
    std::vector<std::string> Subkeys(const std::string& section) const;
    // Removes the key with everything below it (a first start sees an empty registry).
    void Remove() const;

private:
    std::string Path(const std::string& section) const;
    std::string m_key;
};

// A byte image of an Intel HEX file: address -> byte, for the data records only. Empty with a
// reason in *error when a line is not a well-formed record.
std::map<uint32_t, uint8_t> ReadIntelHex(const std::string& path, std::string* error);

// Copies a top-level window as it stands on the screen (frame included) into a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::string& path);

// A path beside the running program (its folder, then `name`).
std::string BesideProgram(const char* name);

}  // namespace e2e
