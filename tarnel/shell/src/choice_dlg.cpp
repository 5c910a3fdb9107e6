// The choice dialogs' common part: their icon buttons set up alike.
#include "tarnel/shell/choice_dlg.h"

#include "tarnel/shell/document_host.h"

CChoiceDlg::CChoiceDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

BOOL CChoiceDlg::OnInitDialog() {
    if (GetDlgItem(IDOK) != nullptr && m_btnOK.SubclassDlgItem(IDOK, this)) {
        SetUpOkButton(m_btnOK);
    }
    if (GetDlgItem(IDCANCEL) != nullptr && m_btnCancel.SubclassDlgItem(IDCANCEL, this)) {
        SetUpCancelButton(m_btnCancel);
    }
    return CDialog::OnInitDialog();
}

CString CChoiceDlg::CurrentChip() { return DocumentHost().Settings().ChipName(); }
