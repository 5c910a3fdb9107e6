// The list-view choices: two pictures, OK or a double click takes the chosen one.
#include "tarnel/shell/select_file_type_dlg.h"

#include "tarnel/shell/resource.h"

namespace {

constexpr int kPictureWidth = 40;

}  // namespace

BEGIN_MESSAGE_MAP(CSelectFileTypeDlg, CChoiceDlg)
ON_NOTIFY(NM_DBLCLK, IDC_CHOICE_LIST, OnItemDoubleClicked)
END_MESSAGE_MAP()

CSelectFileTypeDlg::CSelectFileTypeDlg(CPtrList* pTemplates, UINT nBitmapId, UINT nTemplateId)
    : CChoiceDlg(nTemplateId, nullptr), m_pTemplates(pTemplates) {
    m_imageList.Create(nBitmapId, kPictureWidth, 0, RGB(255, 255, 255));
}

BOOL CSelectFileTypeDlg::OnInitDialog() {
    CChoiceDlg::OnInitDialog();
    m_listCtrl.SubclassDlgItem(IDC_CHOICE_LIST, this);
    m_listCtrl.SetImageList(&m_imageList, LVSIL_NORMAL);
    m_listCtrl.InsertItem(0, m_strFirst, 0);
    m_listCtrl.InsertItem(1, m_strSecond, 1);
    if (!m_strTitle.IsEmpty()) {
        SetWindowText(m_strTitle);
    }
    return TRUE;
}

void CSelectFileTypeDlg::OnOK() {
    const int chosen = m_listCtrl.GetNextItem(-1, LVNI_SELECTED);
    if (chosen < 0) {
        return;
    }
    m_nSelected = chosen;
    if (m_pTemplates != nullptr) {
        POSITION pos = m_pTemplates->FindIndex(chosen);
        m_pSelectedTemplate =
            pos != nullptr ? static_cast<CDocTemplate*>(m_pTemplates->GetAt(pos)) : nullptr;
    }
    EndDialog(IDOK);
}

void CSelectFileTypeDlg::OnItemDoubleClicked(NMHDR*, LRESULT* pResult) {
    OnOK();
    *pResult = 0;
}

CHexFormatDlg::CHexFormatDlg() : CSelectFileTypeDlg(nullptr, IDB_HEX_FORMATS, IDD_HEX_FORMAT) {
    m_strFirst = "Intel";
    m_strSecond = "Motorola";
    m_strTitle = "Select format of HEX file";
}

void CHexFormatDlg::OnCancel() {}

CResidentLoaderDlg::CResidentLoaderDlg() : CSelectFileTypeDlg(nullptr, IDB_RESIDENT_LOADERS) {
    m_strFirst = "Velcor Electronics";
    m_strSecond = "Motorola";
    m_strTitle = "Select resident loader";
}
