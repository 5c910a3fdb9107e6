// The destination dialog: every area of the current chip checked, the missing ones locked off.
#include "tarnel/shell/destination_memory_dlg.h"

#include "tarnel/images/chip_table.h"
#include "tarnel/shell/resource.h"

namespace {

constexpr int kDeviceBoardLabels = kDeviceKestrixBoard;

}  // namespace

CDestinationMemoryDlg::CDestinationMemoryDlg(CWnd* pParent)
    : CChoiceDlg(IDD_DESTINATION_MEMORY, pParent) {}

void CDestinationMemoryDlg::UseBoardLabels() { m_nDeviceCode = kDeviceBoardLabels; }

void CDestinationMemoryDlg::DoDataExchange(CDataExchange* pDX) {
    CChoiceDlg::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_DESTINATION_DATA, m_nData);
    DDX_Check(pDX, IDC_DESTINATION_CODE, m_nCode);
    DDX_Check(pDX, IDC_DESTINATION_SPECIAL, m_nSpecial);
}

BOOL CDestinationMemoryDlg::OnInitDialog() {
    CChoiceDlg::OnInitDialog();
    if (m_nDeviceCode == kDeviceBoardLabels) {
        SetDlgItemText(IDC_DESTINATION_DATA, " Kestrix CONFIG");
        SetDlgItemText(IDC_DESTINATION_CODE, " Kestrix ID");
        CWnd* special = GetDlgItem(IDC_DESTINATION_SPECIAL);
        special->SetWindowText("");
        special->ShowWindow(SW_HIDE);
    }
    const AreaChoice present = ChipAreas(CurrentChip());
    const struct {
        bool present;
        int id;
        int* choice;
    } boxes[] = {{present.data, IDC_DESTINATION_DATA, &m_nData},
                 {present.code, IDC_DESTINATION_CODE, &m_nCode},
                 {present.special, IDC_DESTINATION_SPECIAL, &m_nSpecial}};
    for (const auto& box : boxes) {
        if (!box.present) {
            CheckDlgButton(box.id, BST_UNCHECKED);
            GetDlgItem(box.id)->EnableWindow(FALSE);
            *box.choice = 0;
        }
    }
    return TRUE;
}

AreaChoice CDestinationMemoryDlg::GetChoices() const {
    AreaChoice chosen;
    chosen.data = m_nData == 1;
    chosen.code = m_nCode == 1;
    chosen.special = m_nSpecial == 1;
    return chosen;
}
