// tarnel_drive: plays the user of a running tarnel.exe from another process, for the device
// programmer's demonstration: everything through the program's windows and messages, as a
// person at the screen would see and do it.
//
//   tarnel_drive prepare <program.hex> <chip>   store the chip and the file as the last used
//                                               (run before the program starts)
//   tarnel_drive session <picture.bmp>          open the last file, write, verify, picture, close
//
// The session prints each step and the lines it added to the Messages window; it fails when a
// step does not end as it should.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "session_probes.h"

namespace {

constexpr UINT kOpenRecentFile = 0xE110;  // the first file of the File menu's recent list
constexpr UINT kWriteChip = 32783;
constexpr UINT kVerifyChip = 32797;
constexpr int kMessageList = 102;
constexpr int kProgressExit = 1008;
constexpr int kProgressStatus = 1009;
const char* const kKey = "Software\\Velcor\\Tarnel";

bool SetString(const std::string& section, const char* name, const std::string& value) {
    HKEY key = nullptr;
    const std::string path = std::string(kKey) + "\\" + section;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool ok =
        ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

HWND WaitForWindow(const char* title, DWORD ms) {
    return e2e::WaitForTopWindow(0, title, true, ms);
}

struct ChildSearch {
    int id;
    const char* className;
    HWND found;
};

BOOL CALLBACK TakeChild(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (::GetDlgCtrlID(window) == search->id && std::strcmp(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

class Session {
public:
    explicit Session(HWND main) : m_main(main) {
        ChildSearch search{kMessageList, "SysListView32", nullptr};
        ::EnumChildWindows(main, TakeChild, reinterpret_cast<LPARAM>(&search));
        m_list = search.found;
    }
    bool HasList() const { return m_list != nullptr; }

    // Sends a board command and waits for one of the lines that end it; prints the lines it
    // added and the progress dialog's status, then closes the dialog. True when `success` came.
    bool Command(const char* name, UINT command, const char* success, const char* failure) {
        std::printf("%s\n", name);
        const size_t before = e2e::RemoteListViewLines(m_list).size();
        ::PostMessageA(m_main, WM_COMMAND, command, 0);
        std::vector<std::string> lines;
        bool ended = false;
        bool succeeded = false;
        const DWORD start = ::GetTickCount();
        while (!ended && ::GetTickCount() - start < 120000) {
            ::Sleep(100);
            lines = e2e::RemoteListViewLines(m_list);
            for (size_t i = before; i < lines.size(); ++i) {
                succeeded = succeeded || lines[i] == success;
                ended = ended || lines[i] == success || lines[i] == failure;
            }
        }
        for (size_t i = before; i < lines.size(); ++i) {
            std::printf("  | %s\n", lines[i].c_str());
        }
        if (HWND progress = WaitForWindow("Progress", 2000)) {
            char status[256] = {};
            ::GetDlgItemTextA(progress, kProgressStatus, status, sizeof status);
            std::printf("  progress dialog: %s\n", status);
            ::PostMessageA(progress, WM_COMMAND, MAKEWPARAM(kProgressExit, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(progress, kProgressExit)));
        }
        if (!ended) {
            std::printf("  (no end within two minutes)\n");
        }
        std::fflush(stdout);
        return succeeded;
    }

private:
    HWND m_main;
    HWND m_list = nullptr;
};

int Prepare(const char* file, const char* chip) {
    const bool ok =
        SetString("Settings", "ChipName", chip) && SetString("Recent File List", "File1", file);
    std::printf("prepared: chip \"%s\", last file %s\n", chip, file);
    return ok ? 0 : 1;
}

int RunSession(const char* picture) {
    HWND main = WaitForWindow("Tarnel", 60000);
    if (main == nullptr) {
        std::printf("no window titled \"Tarnel\" appeared\n");
        return 1;
    }
    Session session(main);
    if (!session.HasList()) {
        std::printf("the main window has no Messages list\n");
        return 1;
    }
    std::printf("Open the last file (File menu, recent file 1)\n");
    ::PostMessageA(main, WM_COMMAND, kOpenRecentFile, 0);
    // Reading a .hex file asks for its chip: the dialog offers the chip chosen before.
    if (HWND chip = WaitForWindow("Select chip", 10000)) {
        ::PostMessageA(chip, WM_COMMAND, IDOK, 0);
        for (DWORD start = ::GetTickCount(); ::IsWindow(chip) && ::GetTickCount() - start < 5000;) {
            ::Sleep(50);
        }
    }
    char title[256] = {};
    ::Sleep(500);
    ::GetWindowTextA(main, title, sizeof title);
    std::printf("  window title: %s\n", title);
    const bool written =
        session.Command("Write chip", kWriteChip, "Write completed successfuly", "Write failed");
    const bool verified =
        written && session.Command("Verify chip", kVerifyChip, "Verify done", "Verify failed");
    ::Sleep(300);
    const bool pictured = e2e::SaveWindowBitmap(main, picture);
    std::printf("Close the window\n");
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    std::fflush(stdout);
    return written && verified && pictured ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "prepare") == 0) {
        return Prepare(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "session") == 0) {
        return RunSession(argv[2]);
    }
    std::fprintf(stderr,
                 "usage: tarnel_drive prepare <program.hex> <chip>\n"
                 "       tarnel_drive session <picture.bmp>\n");
    return 2;
}
