// CMainFrame: the device programmer's main window with its bars, the Messages window, the
// progress dialog, its own serial port for the Set Mode switch, and every board command.
#pragma once

#include "classlib/classlib.h"
#include "frames/mdi_frame.h"
#include "tarnel/frame_rules/frame_commands.h"
#include "tarnel/protocols/frame_port.h"
#include "tarnel/programming/job_request.h"
#include "tarnel/shell/message_bar.h"
#include "tarnel/shell/progress_dlg.h"
#include "tarnel/shell/settings_bar.h"
#include "tarnel/shell/status_handler.h"

class CQuilletDocument;

class CMainFrame : public CXTMDIFrameWnd, public IStatusTarget {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // IStatusTarget: a line for the Messages window (cut to 255 characters), posted so that it
    // is shown in order with the lines of the programming thread.
    void PostMessageId(UINT nStringId, int nKind) override;
    void PostMessageText(LPCTSTR pszText, int nKind) override;
    CProgressDlg& GetProgressDialog() override { return m_wndProgress; }
    CQuilletDocument* GetActiveQuilletDocument() override;
    void ClearCancelRequest() override;

    // The settings bar's lists: the chip names in order; the ports COM1 to COM4; then the
    // stored port and chip selected.
    void FillChipCombo(const CStringArray& chipNames);
    void FillPortCombo();
    void RestoreBarSelections();

    // The frame's placement in "Settings"/"Placement": applied (which shows the frame) when
    // stored, else the frame is shown normally.
    void LoadPlacement();
    void SavePlacement();

    // The first step of most board commands: the Set Mode button shows the closed port and the
    // frame's port is closed, so that the programming thread can open it.
    void ClosePort();
    // 0 when the frame's port is open on the CommPort setting (opened here when needed, with
    // its reset pulse); 1 after posting kStatusPortNotOpened when it cannot be opened.
    int EnsurePortOpen();
    // TRUE when the current chip has a device code; otherwise the box "Unknown programming
    // mode. Please select chip.".
    BOOL CheckChipMode();
    // The HC908 chip's resident-loader choice for a job of the frame; FALSE when cancelled.
    BOOL ChooseResidentLoader(JobRequest& job);

    // What the enable rules see now.
    FrameCommandState CommandState();

    CSettingsBar& SettingsBar() { return m_wndSettingsBar; }
    CMessageBar& MessageBar() { return m_wndMessageBar; }
    CToolBar& ToolBar() { return m_wndToolBar; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }
    CFramePort& FramePort() { return m_port; }

    // How long a close waits for the programming thread to end.
    static constexpr DWORD kCloseWaitMs = 3000;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();
    LRESULT OnOperationStatus(WPARAM wParam, LPARAM lParam);

    void OnReadChip();
    // The active document for Write chip or Verify chip after their checks; nullptr ends the
    // command.
    CQuilletDocument* DocumentForChipCommand();
    void OnWriteChip();
    void OnVerifyChip();
    void OnAutoSequence();
    void OnBlankCheck();
    void OnSpecialFeatures();
    void OnErase();
    void OnSetSecurityBits();
    void OnSetMode();
    void OnCheckConnection() {}
    void OnBoardInfo();
    void OnClearMessages();
    void OnViewMessages();
    void OnViewSettings();
    void OnFill();
    void OnGoToAddress();
    void OnCopy();

    void OnUpdateCommand(CCmdUI* pCmdUI);
    void OnUpdateSpecialFeatures(CCmdUI* pCmdUI);
    void OnUpdateViewMessages(CCmdUI* pCmdUI);
    void OnUpdateViewSettings(CCmdUI* pCmdUI);

    // Queues a job of the frame for the current chip (no area, the frame as status window).
    void QueueFrameJob(std::unique_ptr<JobRequest> job);
    std::unique_ptr<JobRequest> NewFrameJob(JobOp op);
    // Shows one of the Set Mode button's faces.
    void SetModeButtonImage(UINT nBitmapId);
    // The chip list follows the active image: locked to a .hex image's chip.
    void FollowActiveDocumentChip();
    BOOL IsProgrammingRunning();

    CStringArray m_strUnused;
    CProgressDlg m_wndProgress;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CSettingsBar m_wndSettingsBar;
    CMessageBar m_wndMessageBar;
    CFramePort m_port;
    // The toolbar's images of the Set Mode button's three faces, added when first shown.
    int m_nProgramImage = -1;
    int m_nRunImage = -1;
    int m_nClosedImage = -1;

    DECLARE_MESSAGE_MAP()
};
