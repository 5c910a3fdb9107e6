// The application: the UI thread's message loop with idle processing, the profile (registry)
// functions, the recent-file list, message boxes and the global accessors.
#pragma once

#include "classlib/recent_files.h"
#include "classlib/wnd.h"

#include <functional>
#include <memory>

class CDocManager;
class CDocTemplate;
class CDocument;

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();

    CWnd* m_pMainWnd = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur = {};

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop: idle processing while the queue is empty, then every message through
    // PreTranslateMessage and dispatch, until WM_QUIT; returns ExitInstance's result.
    virtual int Run();
    // Idle step lCount since the last message: 0 updates the command items of the main window
    // and its descendants; 1 deletes the temporary handle objects. TRUE asks for more idle time.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // Takes and dispatches one message; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    virtual CWnd* GetMainWnd();
    // A thread message (no window) through this object's ON_THREAD_MESSAGE entries.
    BOOL DispatchThreadMessageEx(MSG* pMsg);

protected:
    CPoint last_mouse_point_;
    UINT last_mouse_message_ = 0;
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // The application's name; null takes string AFX_IDS_APP_TITLE of the resources, else the
    // program's file name, at start-up.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;

    // Settings under HKEY_CURRENT_USER\Software\<key>\<application>\<section>; without a
    // registry key nothing is stored and reads give the defaults.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // *ppData: a new buffer of *pBytes bytes that the caller frees with delete[]; FALSE (and
    // null) when the value is absent.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // The application's key, created when absent; null without a registry key. Caller closes.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);

    // Reads the recent-file list of nMaxMRU entries from the profile (0: no list).
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);

    // Controls have the 3-D look of the system on every version the program runs on.
    BOOL Enable3dControlsStatic() { return TRUE; }

    HICON LoadIcon(UINT nIDResource) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;

    // The document side, through the document manager (made by the first AddDocTemplate when
    // the application installed none).
    std::unique_ptr<CDocManager> m_pDocManager;
    void AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    // Offers every modified document for saving; FALSE when the user cancelled.
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount();
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);
    void OnFileNew();
    void OnFileOpen();
    // File Exit: the main window is asked to close as its close box asks it (WM_CLOSE), so
    // that the program ends through the same questions and checks.
    void OnAppExit();
    // The recent-file commands: open entry n (an entry that fails to open leaves the list), and
    // the list shown in place of the first entry's menu item.
    void OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    // The box behind AfxMessageBox: a task-modal box captioned with the application's name.
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    // Start-up of the process for this application (AfxWinMain calls it).
    BOOL InitApplicationState(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow);

    DECLARE_MESSAGE_MAP()

private:
    CString app_name_;
    CString registry_key_;
    CString profile_name_;
    CString exe_name_;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
LPCTSTR AfxGetAppName();
void AfxPostQuitMessage(int nExitCode);

// A string of the program's table; for the idle message and the key indicators, which programs
// usually give themselves, the library's own wording when the program has none.
BOOL AfxLoadStandardString(CString& rString, UINT nID);

// The program's start: start-up of the application object, InitInstance, then Run.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// The program hosts no embedded controls of other programs: nothing to prepare.
void AfxEnableControlContainer();
// Initialises OLE for the UI thread (clipboard data sources need it); FALSE when it failed.
BOOL AfxOleInit();

// Message boxes of the application. A hook, when set, answers every box instead of the user
// (it gets the text and the MB_* type and returns the button id).
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
using AfxMessageBoxHook = std::function<int(LPCTSTR lpszText, UINT nType)>;
// Installs a hook and returns the one it replaces; an empty hook shows real boxes again.
AfxMessageBoxHook AfxSetMessageBoxHook(AfxMessageBoxHook hook);
