// Test drivers that stand in for the user at the library's interactive calls: message boxes,
// modal dialogs, file dialogs, popup menus, the shell and the beep. Each one installs its hook
// for its own lifetime, answers in the order the test queued, and records what it was shown.
#pragma once

#include "classlib/classlib.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace guitest {

struct BoxSeen {
    std::string text;
    UINT type;
};

// Answers AfxMessageBox: queued answers in order, then the fallback.
class MessageBoxAnswers {
public:
    explicit MessageBoxAnswers(int fallback = IDCANCEL);
    ~MessageBoxAnswers();
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    MessageBoxAnswers& Then(int answer);
    const std::vector<BoxSeen>& Seen() const { return m_seen; }

private:
    AfxMessageBoxHook m_previous;
    std::deque<int> m_answers;
    int m_fallback;
    std::vector<BoxSeen> m_seen;
};

// Drives modal dialogs: each dialog that opens gets the next queued script, run once the dialog
// is shown and waiting for input. A dialog without a script, or one still open well after its
// script ran, is ended with IDABORT and counted as a fault.
class ModalDialogDriver {
public:
    using Script = std::function<void(CDialog* pDialog)>;
    explicit ModalDialogDriver(DWORD watchdogMs = 10000);
    ~ModalDialogDriver();
    ModalDialogDriver(const ModalDialogDriver&) = delete;
    ModalDialogDriver& operator=(const ModalDialogDriver&) = delete;

    ModalDialogDriver& Then(Script script);
    int DialogsSeen() const { return m_seen; }
    int Unscripted() const { return m_unscripted; }
    static int TimedOut();  // dialogs ended by the watchdog since the program started

private:
    AfxModalDialogHook m_previous;
    std::deque<Script> m_scripts;
    DWORD m_watchdogMs;
    int m_seen = 0;
    int m_unscripted = 0;
};

// Script helpers: what a user does in a dialog, through the dialog's own messages.
void SetItemText(CWnd* pDialog, int nID, const char* text);
std::string ItemText(CWnd* pDialog, int nID);
// Clicks a button as the keyboard would (BM_CLICK), queued behind pending messages.
void ClickItem(CWnd* pDialog, int nID);

struct FileDialogSeen {
    bool open = false;
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;  // (name, pattern)
    DWORD filterIndex = 0;
    std::string initialDir;
    std::string defaultExt;
    std::string initialName;
    DWORD flags = 0;
};

// Answers file dialogs: a chosen path (and filter index; 0 keeps the dialog's) or a cancel.
class FileDialogAnswers {
public:
    FileDialogAnswers();
    ~FileDialogAnswers();
    FileDialogAnswers(const FileDialogAnswers&) = delete;
    FileDialogAnswers& operator=(const FileDialogAnswers&) = delete;

    FileDialogAnswers& Choose(const std::string& path, DWORD filterIndex = 0);
    FileDialogAnswers& Cancel(DWORD filterIndex = 0);
    const std::vector<FileDialogSeen>& Seen() const { return m_seen; }

private:
    struct Answer {
        bool ok;
        std::string path;
        DWORD filterIndex;
    };
    AfxFileDialogHook m_previous;
    std::deque<Answer> m_answers;
    std::vector<FileDialogSeen> m_seen;
};

struct MenuItemSeen {
    UINT id;
    std::string text;
    bool checked;
    bool grayed;
    bool separator;
};

// Chooses from popup menus: queued commands in order, then none.
class PopupMenuAnswers {
public:
    PopupMenuAnswers();
    ~PopupMenuAnswers();
    PopupMenuAnswers(const PopupMenuAnswers&) = delete;
    PopupMenuAnswers& operator=(const PopupMenuAnswers&) = delete;

    PopupMenuAnswers& Choose(UINT nCommand);
    // Every menu shown, with its items as they stood when it opened.
    const std::vector<std::vector<MenuItemSeen>>& Seen() const { return m_seen; }

private:
    AfxPopupMenuHook m_previous;
    std::deque<UINT> m_answers;
    std::vector<std::vector<MenuItemSeen>> m_seen;
};

// The items of a menu now.
std::vector<MenuItemSeen> MenuItems(HMENU hMenu);

struct ShellCallSeen {
    std::string verb;
    std::string file;
};

// Records the shell calls and answers them with a result (above 32: success).
class ShellExecuteRecorder {
public:
    explicit ShellExecuteRecorder(INT_PTR result = 42);
    ~ShellExecuteRecorder();
    ShellExecuteRecorder(const ShellExecuteRecorder&) = delete;
    ShellExecuteRecorder& operator=(const ShellExecuteRecorder&) = delete;
    const std::vector<ShellCallSeen>& Seen() const { return m_seen; }

private:
    AfxShellExecuteHook m_previous;
    std::vector<ShellCallSeen> m_seen;
};

// Records the beeps instead of sounding them.
class BeepRecorder {
public:
    BeepRecorder();
    ~BeepRecorder();
    BeepRecorder(const BeepRecorder&) = delete;
    BeepRecorder& operator=(const BeepRecorder&) = delete;
    const std::vector<UINT>& Seen() const { return m_seen; }

private:
    AfxMessageBeepHook m_previous;
    std::vector<UINT> m_seen;
};

}  // namespace guitest
