// The Fill dialog: "All" at first, From and To only for a range, the byte checked on OK.
#include "tarnel/shell/fill_dlg.h"

#include "tarnel/shell/resource.h"

BEGIN_MESSAGE_MAP(CFillDlg, CDialog)
ON_BN_CLICKED(IDC_FILL_SELECTION, OnModeClicked)
ON_BN_CLICKED(IDC_FILL_ALL, OnModeClicked)
ON_BN_CLICKED(IDC_FILL_RANGE, OnModeClicked)
END_MESSAGE_MAP()

CFillDlg::CFillDlg(CWnd* pParent) : CDialog(IDD_FILL, pParent) {}

void CFillDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_FILL_VALUE, m_byFill);
    DDX_Text(pDX, IDC_FILL_FROM, m_dwFrom);
    DDX_Text(pDX, IDC_FILL_TO, m_dwTo);
}

BOOL CFillDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_FILL_SELECTION, IDC_FILL_RANGE, IDC_FILL_ALL);
    EnableRange();
    return TRUE;
}

void CFillDlg::EnableRange() {
    const BOOL range = IsDlgButtonChecked(IDC_FILL_RANGE) == BST_CHECKED;
    GetDlgItem(IDC_FILL_FROM)->EnableWindow(range);
    GetDlgItem(IDC_FILL_TO)->EnableWindow(range);
}

void CFillDlg::OnModeClicked() { EnableRange(); }

void CFillDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    if (IsDlgButtonChecked(IDC_FILL_ALL) == BST_CHECKED) {
        m_nMode = kFillAll;
    } else if (IsDlgButtonChecked(IDC_FILL_SELECTION) == BST_CHECKED) {
        m_nMode = kFillSelection;
    } else if (IsDlgButtonChecked(IDC_FILL_RANGE) == BST_CHECKED) {
        m_nMode = kFillRange;
    }
    EndDialog(IDOK);
}
