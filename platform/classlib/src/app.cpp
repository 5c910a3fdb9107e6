// The UI thread's message loop with idle processing, the application object and the globals
// that reach it.
#include "classlib/classlib.h"

#include <ole2.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

namespace {

// The one application object of the process, and the module its resources come from.
CWinApp* g_app = nullptr;
HINSTANCE g_resources = nullptr;

}  // namespace

CWinThread::CWinThread() {
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();
    AfxGetThreadState()->m_pCurrentWinThread = this;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
    // Mouse moves that do not move, and paint and caret-blink timers, bring no new state.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        CPoint point(pMsg->pt);
        if (pMsg->message == last_mouse_message_ && point == last_mouse_point_) {
            return FALSE;
        }
        last_mouse_point_ = point;
        last_mouse_message_ = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(pMsg->message);
    if (entry == nullptr) {
        return FALSE;
    }
    LRESULT ignored = 0;
    AFX_MSGCALL call = {pMsg->message, pMsg->wParam, pMsg->lParam, 0, nullptr, &ignored, nullptr};
    entry->pfn(this, call);
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd == nullptr && DispatchThreadMessageEx(pMsg)) {
        return TRUE;
    }
    CWnd* pMainWnd = GetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr, pMsg)) {
        return TRUE;
    }
    // Windows outside the main window's family (modeless boxes) still get its accelerators.
    if (pMainWnd != nullptr && pMsg->hwnd != nullptr) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd) {
            return pMainWnd->PreTranslateMessage(pMsg);
        }
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage() {
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0)) {
        return FALSE;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWnd* pMainWnd = GetMainWnd();
        if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible()) {
            pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    if (lCount == 1) {
        AfxGetThreadState()->DeleteTempMaps();
    }
    return FALSE;
}

int CWinThread::Run() {
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++)) {
                bIdle = FALSE;
            }
        }
        do {
            if (!PumpMessage()) {
                return ExitInstance();
            }
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    if (lpszAppName != nullptr) {
        app_name_ = lpszAppName;
        m_pszAppName = app_name_;
    }
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pCurrentWinThread == this) {
        state->m_pCurrentWinThread = nullptr;
    }
}

BOOL CWinApp::InitApplicationState(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow) {
    m_hInstance = hInstance;
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;
    if (g_resources == nullptr) {
        g_resources = hInstance;
    }
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(hInstance, path, MAX_PATH);
    CString file(path);
    file = file.Mid(file.ReverseFind('\\') + 1);
    int dot = file.ReverseFind('.');
    exe_name_ = dot >= 0 ? file.Left(dot) : file;
    m_pszExeName = exe_name_;
    if (m_pszAppName == nullptr) {
        if (!app_name_.LoadString(AFX_IDS_APP_TITLE)) {
            app_name_ = exe_name_;
        }
        m_pszAppName = app_name_;
    }
    if (m_pszProfileName == nullptr) {
        profile_name_ = m_pszAppName;
        m_pszProfileName = profile_name_;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    return TRUE;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->SendMessage(WM_CLOSE);
    }
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const {
    return ::LoadCursorA(nullptr, lpszCursorName);
}

CWinApp* AfxGetApp() { return g_app; }

CWinThread* AfxGetThread() {
    CWinThread* thread = AfxGetThreadState()->m_pCurrentWinThread;
    return thread != nullptr ? thread : g_app;
}

CWnd* AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    return thread != nullptr ? thread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_app != nullptr && g_app->m_hInstance != nullptr ? g_app->m_hInstance
                                                             : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return g_resources != nullptr ? g_resources : ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_resources = hInstResource; }

LPCTSTR AfxGetAppName() {
    return g_app != nullptr && g_app->m_pszAppName != nullptr ? g_app->m_pszAppName : "";
}

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

void AfxEnableControlContainer() {}

BOOL AfxOleInit() { return SUCCEEDED(::OleInitialize(nullptr)); }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    CWinApp* app = AfxGetApp();
    if (app == nullptr || !app->InitApplicationState(hInstance, lpCmdLine, nCmdShow)) {
        return -1;
    }
    try {
        if (!app->InitInstance()) {
            if (app->m_pMainWnd != nullptr) {
                app->m_pMainWnd->DestroyWindow();
            }
            return app->ExitInstance();
        }
        return app->Run();
    } catch (const CException&) {
        return -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}
