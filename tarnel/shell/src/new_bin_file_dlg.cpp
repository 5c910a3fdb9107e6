// The new .bin length dialog.
#include "tarnel/shell/new_bin_file_dlg.h"

#include "tarnel/shell/resource.h"

CNewBinFileDlg::CNewBinFileDlg(CWnd* pParent) : CChoiceDlg(IDD_NEW_BIN_FILE, pParent) {}

void CNewBinFileDlg::DoDataExchange(CDataExchange* pDX) {
    CChoiceDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NEW_BIN_LENGTH, m_nLength);
}
