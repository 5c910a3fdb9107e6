// The file dialog without a stand-in: the system's own save dialog, driven from another thread
// as a user would, with its overwrite question.
#include "classlib/classlib.h"
#include "guitest/pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

class CSystemDialogApp : public CWinApp {
public:
    CSystemDialogApp() : CWinApp("System Dialog Test") {}
};
CSystemDialogApp theApp;

struct FindDialog {
    DWORD process;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindByTitle(HWND hWnd, LPARAM lParam) {
    auto* find = reinterpret_cast<FindDialog*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char cls[32] = {};
    char title[128] = {};
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (pid == find->process && std::string(cls) == "#32770" && ::IsWindowVisible(hWnd) &&
        std::string(title) == find->title) {
        find->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Waits (from the driving thread) for a visible dialog of this process with the title.
HWND AwaitDialog(const char* title) {
    for (int i = 0; i < 500; ++i) {
        FindDialog find = {::GetCurrentProcessId(), title, nullptr};
        ::EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&find));
        if (find.found != nullptr) {
            return find.found;
        }
        ::Sleep(10);
    }
    return nullptr;
}

TEST(SystemFileDialog, TheChosenNameComesBackAndAnExistingFileIsConfirmedFirst) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "classlib_system_dialog.txt";
    { CFile existing(path.c_str(), CFile::modeCreate | CFile::modeWrite); }
    std::atomic<bool> asked{false};
    std::thread user([&] {
        HWND dialog = AwaitDialog("Save the test file");
        if (dialog == nullptr) {
            return;
        }
        // The name field of the explorer-style dialog, then OK.
        HWND name = ::GetDlgItem(dialog, 0x47C);
        if (name == nullptr) {
            name = ::GetDlgItem(dialog, 0x480);
        }
        ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        // The file exists: the dialog asks before it lets the name go.
        HWND question = nullptr;
        for (int i = 0; i < 500 && question == nullptr; ++i) {
            HWND candidate = ::GetLastActivePopup(dialog);
            if (candidate != dialog && candidate != nullptr && ::IsWindowVisible(candidate)) {
                question = candidate;
            }
            ::Sleep(10);
        }
        if (question != nullptr) {
            asked = true;
            ::PostMessageA(question, WM_COMMAND, IDYES, 0);
        }
    });
    CFileDialog save(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    save.m_ofn.lpstrTitle = "Save the test file";
    INT_PTR result = save.DoModal();
    user.join();
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(AfxComparePath(save.GetPathName(), path.c_str())) << save.GetPathName().str();
    ::DeleteFileA(path.c_str());
}

}  // namespace
