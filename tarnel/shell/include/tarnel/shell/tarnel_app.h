// CTarnelApp: the device programmer's application object, with the settings, the cancel word,
// the chip-name list and the job queue the whole program shares; its start-up builds the
// document templates and the main frame, its exit writes the settings back.
//
// A program declares one static CTarnelApp: tarnel.exe does so beside the class library's
// WinMain, and a test program may do the same and run InitApplicationState and InitInstance
// itself.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/programming/app_settings.h"
#include "tarnel/programming/job_queue.h"
#include "tarnel/programming/programming_questions.h"
#include "tarnel/shell/choice_dialogs.h"
#include "tarnel/shell/document_host.h"

class CMainFrame;

// The program's settings through the class library's profile functions (the registry under
// the application's key).
class CAppProfileStore : public IProfileStore {
public:
    explicit CAppProfileStore(CWinApp& app) : m_app(app) {}
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) override;
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) override;
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) override;
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) override;

private:
    CWinApp& m_app;
};

// The programming thread's questions as question boxes.
class CQuestionBoxes : public IProgrammingQuestions {
public:
    BOOL AskYesNo(const char* question) override;
};

class CTarnelApp : public CWinApp, public IDocumentHost {
public:
    // The registry key under HKEY_CURRENT_USER\Software.
    static constexpr const char* kRegistryKey = "Velcor";

    CTarnelApp();
    ~CTarnelApp() override;

    // Start-up: settings, templates, then CreateMainFrame.
    BOOL InitInstance() override;
    // The main frame from resource 128 as the main window, the queue's environment, the
    // chip-name list, the settings bar's lists and selections, then the stored placement (or a
    // normal show). Start-up's last steps; a test may run them again after a close.
    BOOL CreateMainFrame();
    int ExitInstance() override;

    // IDocumentHost
    CAppSettings& Settings() override { return m_settings; }
    void SetCurrentChip(const CString& chipName) override;
    IDocumentChoices& Choices() override { return m_choices; }
    CancelWord& Cancel() override { return CancelRequested; }
    HWND StatusWindow() override;
    int StartJob(std::unique_ptr<JobRequest> job) override;
    bool IsProgrammingRunning() override { return m_queue.IsRunning(); }

    CJobQueue& JobQueue() { return m_queue; }
    const CStringArray& ChipNames() const { return m_chipNames; }
    CMainFrame* MainFrame();

    CStringArray m_chipNames;
    CString m_strUnused;
    CAppSettings m_settings;
    CancelWord CancelRequested{0};

protected:
    void OnAppAbout();
    void OnFileSave();
    void OnFileSaveAs();
    void OnUpdateFileSave(CCmdUI* pCmdUI);
    void OnFilesChanged(WPARAM wParam, LPARAM lParam);

    CChoiceDialogs m_choices;
    CQuestionBoxes m_questions;
    // Last: destroyed first, it stops and waits for the programming thread, which reads the
    // settings.
    CJobQueue m_queue;

    DECLARE_MESSAGE_MAP()
};

// The program's application object.
CTarnelApp& TarnelApp();
