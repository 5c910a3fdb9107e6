// Message boxes of the application, with a hook through which tests answer them.
#include "classlib/classlib.h"

#include <utility>

namespace {

AfxMessageBoxHook& Hook() {
    static AfxMessageBoxHook hook;
    return hook;
}

}  // namespace

AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
    (void)nIDPrompt;
    if (Hook()) {
        return Hook()(lpszPrompt, nType);
    }
    // Owned by the active window of this program so that the box stays in front of it.
    HWND owner = ::GetActiveWindow();
    if (owner == nullptr && m_pMainWnd != nullptr) {
        owner = m_pMainWnd->m_hWnd;
    }
    return ::MessageBoxA(owner, lpszPrompt, AfxGetAppName(), nType | MB_TASKMODAL);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    CWinApp* app = AfxGetApp();
    if (app != nullptr) {
        return app->DoMessageBox(lpszText, nType, nIDHelp);
    }
    if (Hook()) {
        return Hook()(lpszText, nType);
    }
    return ::MessageBoxA(::GetActiveWindow(), lpszText, "", nType | MB_TASKMODAL);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}
