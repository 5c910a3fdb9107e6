// The progress dialog: its lines and bar as the status handler sets them, STOP and Exit.
#include "tarnel/shell/progress_dlg.h"

#include "tarnel/frame_rules/progress_texts.h"
#include "tarnel/shell/resource.h"

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
ON_BN_CLICKED(IDC_PROGRESS_STOP, OnStop)
ON_BN_CLICKED(IDC_PROGRESS_EXIT, OnExit)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CancelWord& cancel)
    : m_cancel(cancel),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CProgressDlg::~CProgressDlg() = default;

BOOL CProgressDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_PROGRESS, pParent); }

void CProgressDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_STOP, m_btnStop);
    DDX_Control(pDX, IDC_PROGRESS_EXIT, m_btnExit);
    DDX_Control(pDX, IDC_PROGRESS_FILE, m_stcFile);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_progress);
    DDX_Control(pDX, IDC_PROGRESS_STATUS, m_stcStatus);
    DDX_Control(pDX, IDC_PROGRESS_COUNTER, m_stcCounter);
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetUpExitButton(m_btnExit);
    SetUpCancelButton(m_btnStop);
    return TRUE;
}

void CProgressDlg::SetFileLine(LPCTSTR lpszPath) {
    m_stcFile.SetWindowText(ProgressFileLine(m_nMode, lpszPath).c_str());
}

void CProgressDlg::SetStatus(LPCTSTR lpszText) {
    m_stcStatus.SetWindowText(ProgressStatusLine(lpszText).c_str());
}

void CProgressDlg::SetRange(int nTotal) {
    m_nTotal = nTotal;
    m_progress.SetRange32(0, nTotal);
    RefreshCounter();
}

void CProgressDlg::SetPos(int nPos) {
    m_nPos = nPos;
    RefreshCounter();
}

void CProgressDlg::RefreshCounter() {
    m_stcCounter.SetWindowText(ProgressCounterLine(m_nPos, m_nTotal).c_str());
    m_progress.SetPos(m_nPos);
}

void CProgressDlg::EnableExit() { m_btnExit.EnableWindow(TRUE); }

void CProgressDlg::DisableExit() { m_btnExit.EnableWindow(FALSE); }

// The programming thread sees the word between blocks and ends the job with "Canceled by user";
// the dialog stays until the job has ended.
void CProgressDlg::OnStop() { m_cancel = 1; }

void CProgressDlg::OnExit() { ShowWindow(SW_HIDE); }

void CProgressDlg::OnOK() {}

void CProgressDlg::OnCancel() {
    if (m_btnExit.IsWindowEnabled()) {
        OnExit();
    }
}
