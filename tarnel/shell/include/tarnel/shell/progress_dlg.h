// CProgressDlg: the modeless "Progress" dialog of a board operation: what is done to which file,
// the cells transferred, a status line, STOP (ask the programming thread to cancel) and Exit.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/programming/job_request.h"
#include "tarnel/frame_rules/progress_texts.h"
#include "tarnel/shell/icon_button.h"

class CProgressDlg : public CDialog {
public:
    // cancel: the program's cancel word, which STOP raises.
    explicit CProgressDlg(CancelWord& cancel);
    ~CProgressDlg() override;

    // Creates the dialog hidden; it lives as long as its owner.
    BOOL Create(CWnd* pParent);

    // ProgressMode (0 read, 1 write, 2 verify, 3 resident loader); nothing is redrawn.
    void SetMode(int nMode) { m_nMode = nMode; }
    // The file line of the mode, with the document's path where the mode names one.
    void SetFileLine(LPCTSTR lpszPath);
    void SetStatus(LPCTSTR lpszText);
    // The bar's range and the counter's total; the position stays until the next SetPos.
    void SetRange(int nTotal);
    void SetPos(int nPos);
    void EnableExit();
    void DisableExit();

    BOOL OnInitDialog() override;
    void OnStop();
    void OnExit();
    // Enter does nothing; Escape and the close box act as Exit while Exit is enabled.
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void RefreshCounter();

    CancelWord& m_cancel;
    CIconButton m_btnStop;
    CIconButton m_btnExit;
    CStatic m_stcFile;
    CProgressCtrl m_progress;
    CStatic m_stcStatus;
    CStatic m_stcCounter;
    HICON m_hIcon;
    int m_nTotal = 0;
    int m_nPos = 0;
    int m_nMode = 0;

    DECLARE_MESSAGE_MAP()
};
