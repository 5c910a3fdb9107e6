// The About dialog: everything it shows is in its template; the two addresses wait for their links.
#include "tarnel/shell/about_dlg.h"

#include "tarnel/shell/resource.h"

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The place of the links: once the toolkit's CXTHyperLink exists, two members of that class
    // subclass IDC_ABOUT_WEB and IDC_ABOUT_MAIL here and get kWebTarget and kMailTarget as their
    // targets. Until then the addresses are plain texts.
    return TRUE;
}
