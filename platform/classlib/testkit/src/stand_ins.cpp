// The stand-in drivers of message boxes, modal dialogs, file dialogs, popup menus, the shell and
// the beep.
#include "guitest/stand_ins.h"

#include <cstring>

namespace guitest {

namespace {

const UINT_PTR kWatchdogTimer = 0x7A11;
int g_timedOut = 0;

void CALLBACK Watchdog(HWND hWnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hWnd, id);
    auto* dialog = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    if (dialog != nullptr) {
        ++g_timedOut;
        dialog->EndDialog(IDABORT);
    }
}

// The pieces of a filter list: name, pattern, name, pattern, ... up to the double terminator.
std::vector<std::pair<std::string, std::string>> SplitFilters(LPCSTR filter) {
    std::vector<std::pair<std::string, std::string>> pairs;
    if (filter == nullptr) {
        return pairs;
    }
    while (*filter != '\0') {
        std::string name = filter;
        filter += name.size() + 1;
        std::string pattern = filter;
        filter += pattern.size() + 1;
        pairs.emplace_back(name, pattern);
    }
    return pairs;
}

}  // namespace

MessageBoxAnswers::MessageBoxAnswers(int fallback) : m_fallback(fallback) {
    m_previous = AfxSetMessageBoxHook([this](LPCTSTR text, UINT type) {
        m_seen.push_back({text != nullptr ? text : "", type});
        if (m_answers.empty()) {
            return m_fallback;
        }
        int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

MessageBoxAnswers::~MessageBoxAnswers() { AfxSetMessageBoxHook(m_previous); }

MessageBoxAnswers& MessageBoxAnswers::Then(int answer) {
    m_answers.push_back(answer);
    return *this;
}

ModalDialogDriver::ModalDialogDriver(DWORD watchdogMs) : m_watchdogMs(watchdogMs) {
    m_previous = AfxSetModalDialogHook([this](CDialog* pDialog) {
        ++m_seen;
        if (m_scripts.empty()) {
            ++m_unscripted;
            pDialog->EndDialog(IDABORT);
            return;
        }
        Script script = std::move(m_scripts.front());
        m_scripts.pop_front();
        HWND hWnd = pDialog->m_hWnd;
        script(pDialog);
        if (::IsWindow(hWnd)) {
            ::SetTimer(hWnd, kWatchdogTimer, m_watchdogMs, Watchdog);
        }
    });
}

ModalDialogDriver::~ModalDialogDriver() { AfxSetModalDialogHook(m_previous); }

ModalDialogDriver& ModalDialogDriver::Then(Script script) {
    m_scripts.push_back(std::move(script));
    return *this;
}

int ModalDialogDriver::TimedOut() { return g_timedOut; }

void SetItemText(CWnd* pDialog, int nID, const char* text) {
    ::SetDlgItemTextA(pDialog->m_hWnd, nID, text);
}

std::string ItemText(CWnd* pDialog, int nID) {
    char buffer[512] = {};
    ::GetDlgItemTextA(pDialog->m_hWnd, nID, buffer, sizeof(buffer));
    return buffer;
}

void ClickItem(CWnd* pDialog, int nID) {
    ::PostMessageA(::GetDlgItem(pDialog->m_hWnd, nID), BM_CLICK, 0, 0);
}

FileDialogAnswers::FileDialogAnswers() {
    m_previous = AfxSetFileDialogHook([this](CFileDialog& dialog) -> INT_PTR {
        OPENFILENAMEA& ofn = dialog.m_ofn;
        FileDialogSeen seen;
        seen.open = dialog.IsOpenDialog();
        seen.title = ofn.lpstrTitle != nullptr ? ofn.lpstrTitle : "";
        seen.filters = SplitFilters(ofn.lpstrFilter);
        seen.filterIndex = ofn.nFilterIndex;
        seen.initialDir = ofn.lpstrInitialDir != nullptr ? ofn.lpstrInitialDir : "";
        seen.defaultExt = ofn.lpstrDefExt != nullptr ? ofn.lpstrDefExt : "";
        seen.initialName = ofn.lpstrFile != nullptr ? ofn.lpstrFile : "";
        seen.flags = ofn.Flags;
        m_seen.push_back(seen);
        if (m_answers.empty()) {
            return IDCANCEL;
        }
        Answer answer = m_answers.front();
        m_answers.pop_front();
        if (answer.filterIndex != 0) {
            ofn.nFilterIndex = answer.filterIndex;
        }
        if (!answer.ok) {
            return IDCANCEL;
        }
        if (ofn.lpstrFile == nullptr || answer.path.size() + 1 > ofn.nMaxFile) {
            return IDCANCEL;  // the real dialog refuses a name its buffer cannot hold
        }
        std::memcpy(ofn.lpstrFile, answer.path.c_str(), answer.path.size() + 1);
        return IDOK;
    });
}

FileDialogAnswers::~FileDialogAnswers() { AfxSetFileDialogHook(m_previous); }

FileDialogAnswers& FileDialogAnswers::Choose(const std::string& path, DWORD filterIndex) {
    m_answers.push_back({true, path, filterIndex});
    return *this;
}

FileDialogAnswers& FileDialogAnswers::Cancel(DWORD filterIndex) {
    m_answers.push_back({false, std::string(), filterIndex});
    return *this;
}

std::vector<MenuItemSeen> MenuItems(HMENU hMenu) {
    std::vector<MenuItemSeen> items;
    int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text) - 1;
        ::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({info.wID, text, (info.fState & MFS_CHECKED) != 0,
                         (info.fState & MFS_GRAYED) != 0, (info.fType & MFT_SEPARATOR) != 0});
    }
    return items;
}

PopupMenuAnswers::PopupMenuAnswers() {
    m_previous = AfxSetPopupMenuHook([this](HMENU hMenu, UINT, POINT, HWND) -> UINT {
        m_seen.push_back(MenuItems(hMenu));
        if (m_answers.empty()) {
            return 0;
        }
        UINT answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

PopupMenuAnswers::~PopupMenuAnswers() { AfxSetPopupMenuHook(m_previous); }

PopupMenuAnswers& PopupMenuAnswers::Choose(UINT nCommand) {
    m_answers.push_back(nCommand);
    return *this;
}

ShellExecuteRecorder::ShellExecuteRecorder(INT_PTR result) {
    m_previous = AfxSetShellExecuteHook(
        [this, result](HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, int) -> HINSTANCE {
            m_seen.push_back({verb != nullptr ? verb : "", file != nullptr ? file : ""});
            return reinterpret_cast<HINSTANCE>(result);
        });
}

ShellExecuteRecorder::~ShellExecuteRecorder() { AfxSetShellExecuteHook(m_previous); }

BeepRecorder::BeepRecorder() {
    m_previous = AfxSetMessageBeepHook([this](UINT type) { m_seen.push_back(type); });
}

BeepRecorder::~BeepRecorder() { AfxSetMessageBeepHook(m_previous); }

}  // namespace guitest
