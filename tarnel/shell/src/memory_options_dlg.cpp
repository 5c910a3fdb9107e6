// The memory dialog: the present areas as radio buttons, the base checked against the area.
#include "tarnel/shell/memory_options_dlg.h"

#include "tarnel/frame_rules/choice_rules.h"
#include "tarnel/shell/resource.h"

namespace {

int RadioOfKind(int kind) {
    switch (kind) {
        case kMemoryData:
            return IDC_MEMORY_DATA;
        case kMemoryCode:
            return IDC_MEMORY_CODE;
        case kMemorySpecial:
            return IDC_MEMORY_SPECIAL;
        default:
            return 0;
    }
}

}  // namespace

CMemoryOptionsDlg::CMemoryOptionsDlg(BOOL bDataPresent, BOOL bCodePresent, BOOL bSpecialPresent,
                                     BOOL bBaseAllowed, CWnd* pParent)
    : CChoiceDlg(IDD_MEMORY_OPTIONS, pParent),
      m_bDataPresent(bDataPresent),
      m_bCodePresent(bCodePresent),
      m_bSpecialPresent(bSpecialPresent),
      m_bBaseAllowed(bBaseAllowed) {}

void CMemoryOptionsDlg::DoDataExchange(CDataExchange* pDX) {
    CChoiceDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MEMORY_BASE, m_nBaseAddress);
}

BOOL CMemoryOptionsDlg::OnInitDialog() {
    CChoiceDlg::OnInitDialog();
    GetDlgItem(IDC_MEMORY_DATA)->EnableWindow(m_bDataPresent);
    GetDlgItem(IDC_MEMORY_CODE)->EnableWindow(m_bCodePresent);
    GetDlgItem(IDC_MEMORY_SPECIAL)->EnableWindow(m_bSpecialPresent);
    const int first = RadioOfKind(FirstMemoryKind(
        {m_bDataPresent != FALSE, m_bCodePresent != FALSE, m_bSpecialPresent != FALSE}));
    if (first != 0) {
        CheckRadioButton(IDC_MEMORY_DATA, IDC_MEMORY_SPECIAL, first);
    }
    GetDlgItem(IDC_MEMORY_BASE)->EnableWindow(m_bBaseAllowed);
    return TRUE;
}

void CMemoryOptionsDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    if (IsDlgButtonChecked(IDC_MEMORY_DATA) == BST_CHECKED) {
        m_nMemoryType = kMemoryData;
    } else if (IsDlgButtonChecked(IDC_MEMORY_CODE) == BST_CHECKED) {
        m_nMemoryType = kMemoryCode;
    } else if (IsDlgButtonChecked(IDC_MEMORY_SPECIAL) == BST_CHECKED) {
        m_nMemoryType = kMemorySpecial;
    }
    const std::string refusal = MemoryBaseRefusal(m_nMemoryType, CurrentChip(), m_nBaseAddress);
    if (!refusal.empty()) {
        AfxMessageBox(refusal.c_str(), MB_ICONSTOP);
        return;
    }
    EndDialog(IDOK);
}
