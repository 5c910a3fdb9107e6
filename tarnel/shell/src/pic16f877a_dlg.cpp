// The PIC16F877A configuration-word dialog.
#include "tarnel/shell/pic16f877a_dlg.h"

#include "tarnel/images/pic_config.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/resource.h"

BEGIN_MESSAGE_MAP(CPic16F877ADlg, CDialog)
ON_BN_CLICKED(IDC_PIC16_BOREN, OnBrownOutClicked)
END_MESSAGE_MAP()

namespace {

// Every control of a layout, checked or not as the dialog shows it.
ConfigControls ControlsOf(CWnd& dialog, const ConfigLayout& layout) {
    ConfigControls controls = DecodeConfig(layout, {});
    for (auto& [id, checked] : controls) {
        checked = dialog.IsDlgButtonChecked(id) == BST_CHECKED;
    }
    return controls;
}

}  // namespace

CPic16F877ADlg::CPic16F877ADlg(CHexDoc* pDoc, CWnd* pParent)
    : CDialog(IDD_PIC16F877A, pParent), m_pDoc(pDoc) {}

BOOL CPic16F877ADlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pDoc == nullptr) {
        return TRUE;
    }
    SetWindowText(m_pDoc->GetChipName());
    uint16_t word = 0;
    if (ReadPic16ConfigWord(m_pDoc->GetImage().special, word)) {
        for (const auto& [id, checked] : DecodeConfig(Pic16F877ALayout(), {word})) {
            CheckDlgButton(id, checked ? BST_CHECKED : BST_UNCHECKED);
        }
        if (IsDlgButtonChecked(IDC_PIC16_BOREN) == BST_CHECKED) {
            FollowBrownOut();
        }
    }
    return TRUE;
}

void CPic16F877ADlg::FollowBrownOut() {
    const bool brownOut = IsDlgButtonChecked(IDC_PIC16_BOREN) == BST_CHECKED;
    CheckDlgButton(IDC_PIC16_PWRT, brownOut ? BST_CHECKED : BST_UNCHECKED);
    GetDlgItem(IDC_PIC16_PWRT)->EnableWindow(!brownOut);
}

void CPic16F877ADlg::OnBrownOutClicked() { FollowBrownOut(); }

void CPic16F877ADlg::OnOK() {
    if (m_pDoc != nullptr) {
        const std::vector<uint16_t> word =
            EncodeConfig(Pic16F877ALayout(), ControlsOf(*this, Pic16F877ALayout()));
        if (WritePic16ConfigWord(m_pDoc->GetImage().special, word[0])) {
            m_pDoc->SetModifiedFlag(TRUE);
        }
    }
    EndDialog(IDOK);
}
