// The About dialog: everything it shows is in its template; the two addresses become links.
#include "tarnel/shell/about_dlg.h"

#include "tarnel/shell/resource.h"

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The statics show the addresses as people read them; the links open what the shell needs.
    m_webLink.SubclassDlgItem(IDC_ABOUT_WEB, this);
    m_webLink.SetTarget(kWebTarget);
    m_mailLink.SubclassDlgItem(IDC_ABOUT_MAIL, this);
    m_mailLink.SetTarget(kMailTarget);
    return TRUE;
}
