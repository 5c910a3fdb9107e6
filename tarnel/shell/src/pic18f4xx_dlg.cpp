// The PIC18F4x2/8 configuration-register dialog.
#include "tarnel/shell/pic18f4xx_dlg.h"

#include "tarnel/images/pic_config.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/resource.h"

namespace {

// The one chip of the family without the CCP2 multiplexing option.
constexpr const char* kChipWithoutCcp2Option = "Brontal-P: PIC18F458";

}  // namespace

CPic18F4xxDlg::CPic18F4xxDlg(CHexDoc* pDoc, CWnd* pParent)
    : CDialog(IDD_PIC18F4XX, pParent), m_pDoc(pDoc) {}

BOOL CPic18F4xxDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pDoc == nullptr) {
        return TRUE;
    }
    SetWindowText(m_pDoc->GetChipName());
    const std::vector<uint16_t> regs = ReadPic18Config(m_pDoc->GetImage().special);
    for (const auto& [id, checked] : DecodeConfig(Pic18F4xxLayout(), regs)) {
        CheckDlgButton(id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    if (m_pDoc->GetChipName() == kChipWithoutCcp2Option) {
        GetDlgItem(IDC_PIC18_CCP2MX)->EnableWindow(FALSE);
    }
    return TRUE;
}

void CPic18F4xxDlg::OnOK() {
    if (m_pDoc != nullptr) {
        ConfigControls controls = DecodeConfig(Pic18F4xxLayout(), {});
        for (auto& [id, checked] : controls) {
            checked = IsDlgButtonChecked(id) == BST_CHECKED;
        }
        if (WritePic18Config(m_pDoc->GetImage().special,
                             EncodeConfig(Pic18F4xxLayout(), controls)) > 0) {
            m_pDoc->SetModifiedFlag(TRUE);
        }
    }
    EndDialog(IDOK);
}
