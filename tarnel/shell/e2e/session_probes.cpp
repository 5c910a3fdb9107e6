// The end-to-end tests' probes: list lines, registry values, HEX bytes and window pictures.
#include "session_probes.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace e2e {

std::vector<std::string> ListViewLines(HWND list) {
    std::vector<std::string> lines;
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[1024] = {};
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
        lines.emplace_back(text);
    }
    return lines;
}

std::vector<std::string> RemoteListViewLines(HWND list) {
    std::vector<std::string> lines;
    DWORD process = 0;
    ::GetWindowThreadProcessId(list, &process);
    HANDLE handle =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (handle == nullptr) {
        return lines;
    }
    constexpr SIZE_T kText = 1024;
    auto* remote = static_cast<char*>(
        ::VirtualAllocEx(handle, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; remote != nullptr && i < count; ++i) {
        LVITEMA item{};
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = kText;
        char text[kText] = {};
        if (!::WriteProcessMemory(handle, remote, &item, sizeof item, nullptr)) {
            break;
        }
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(handle, remote + sizeof(LVITEMA), text, kText - 1, nullptr);
        lines.emplace_back(text);
    }
    if (remote != nullptr) {
        ::VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(handle);
    return lines;
}

namespace {

struct WindowSearch {
    DWORD process;
    std::string title;
    bool prefixOnly;
    HWND found;
};

BOOL CALLBACK TakeIfTitled(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    char title[256] = {};
    ::GetWindowTextA(window, title, sizeof title);
    const std::string text = title;
    const bool titled =
        search->prefixOnly ? text.rfind(search->title, 0) == 0 : text == search->title;
    if ((search->process == 0 || process == search->process) && titled &&
        ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForTopWindow(DWORD process, const char* title, bool prefixOnly, DWORD ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        WindowSearch search{process, title, prefixOnly, nullptr};
        ::EnumWindows(TakeIfTitled, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || ::GetTickCount() - start > ms) {
            return search.found;
        }
        ::Sleep(50);
    }
}

std::string RegistryProbe::Path(const std::string& section) const {
    return section.empty() ? m_key : m_key + "\\" + section;
}

namespace {

bool Query(const std::string& path, const char* name, DWORD wantedType, std::vector<BYTE>* data) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD size = 0;
    bool ok = ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
              type == wantedType;
    if (ok) {
        data->assign(size, 0);
        ok = ::RegQueryValueExA(key, name, nullptr, &type, data->data(), &size) == ERROR_SUCCESS;
        data->resize(size);
    }
    ::RegCloseKey(key);
    return ok;
}

void DeleteTree(HKEY parent, const std::string& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) {
        return;
    }
    for (;;) {
        char sub[256] = {};
        DWORD length = sizeof sub;
        if (::RegEnumKeyExA(key, 0, sub, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        DeleteTree(key, sub);
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyA(parent, name.c_str());
}

}  // namespace

bool RegistryProbe::ReadString(const std::string& section, const char* name,
                               std::string* value) const {
    std::vector<BYTE> data;
    if (!Query(Path(section), name, REG_SZ, &data)) {
        return false;
    }
    value->assign(reinterpret_cast<const char*>(data.data()), data.size());
    while (!value->empty() && value->back() == '\0') {
        value->pop_back();
    }
    return true;
}

bool RegistryProbe::ReadDword(const std::string& section, const char* name, DWORD* value) const {
    std::vector<BYTE> data;
    if (!Query(Path(section), name, REG_DWORD, &data) || data.size() != sizeof(DWORD)) {
        return false;
    }
    *value = static_cast<DWORD>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
    return true;
}

bool RegistryProbe::ReadBinary(const std::string& section, const char* name,
                               std::vector<BYTE>* value) const {
    return Query(Path(section), name, REG_BINARY, value);
}

bool RegistryProbe::ValueExists(const std::string& section, const char* name, DWORD* type,
                                DWORD* size) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    const bool there = ::RegQueryValueExA(key, name, nullptr, type, nullptr, size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return there;
}

bool RegistryProbe::SectionExists(const std::string& section) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

std::vector<std::string> RegistryProbe::Subkeys(const std::string& section) const {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return names;
    }
    for (DWORD i = 0;; ++i) {
        char sub[256] = {};
        DWORD length = sizeof sub;
        if (::RegEnumKeyExA(key, i, sub, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(sub);
    }
    ::RegCloseKey(key);
    return names;
}

void RegistryProbe::Remove() const { DeleteTree(HKEY_CURRENT_USER, m_key); }

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

std::map<uint32_t, uint8_t> ReadIntelHex(const std::string& path, std::string* error) {
    std::map<uint32_t, uint8_t> image;
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return {};
    }
    std::string line;
    uint32_t upper = 0;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        std::vector<uint8_t> bytes;
        bool ok = line[0] == ':' && line.size() % 2 == 1;
        for (size_t i = 1; ok && i + 1 < line.size(); i += 2) {
            const int high = HexDigit(line[i]);
            const int low = HexDigit(line[i + 1]);
            ok = high >= 0 && low >= 0;
            bytes.push_back(static_cast<uint8_t>(high << 4 | low));
        }
        uint8_t sum = 0;
        for (uint8_t b : bytes) {
            sum = static_cast<uint8_t>(sum + b);
        }
        ok = ok && bytes.size() >= 5 && bytes.size() == bytes[0] + 5u && sum == 0;
        if (!ok) {
            *error = "line " + std::to_string(number) + " is not a record";
            return {};
        }
        const uint32_t offset = static_cast<uint32_t>(bytes[1] << 8 | bytes[2]);
        switch (bytes[3]) {
            case 0:
                for (size_t i = 0; i < bytes[0]; ++i) {
                    image[upper + offset + static_cast<uint32_t>(i)] = bytes[4 + i];
                }
                break;
            case 1:
                return image;
            case 2:
                upper = static_cast<uint32_t>(bytes[4] << 8 | bytes[5]) << 4;
                break;
            case 4:
                upper = static_cast<uint32_t>(bytes[4] << 8 | bytes[5]) << 16;
                break;
            default:
                break;
        }
    }
    *error = "no end record";
    return {};
}

bool SaveWindowBitmap(HWND window, const std::string& path) {
    RECT r{};
    if (!::GetWindowRect(window, &r)) {
        return false;
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up rows, as a BMP file keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib == nullptr) {
        return false;
    }
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, dib);
    // The screen as shown: the window, its frame and whatever child windows lie over it.
    HDC screen = ::GetDC(nullptr);
    const bool copied = ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != 0;
    ::ReleaseDC(nullptr, screen);
    ::GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    bool written = false;
    if (copied) {
        info.bmiHeader.biSizeImage = imageSize;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        out.write(static_cast<const char*>(bits), imageSize);
        written = static_cast<bool>(out);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(dib);
    return written;
}

std::string BesideProgram(const char* name) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    return folder + name;
}

}  // namespace e2e
