// The chip dialog: board tags filter the chip list, the chosen chip's lengths are shown in the
// current chip's units and handed back in bytes.
#include "tarnel/shell/select_chip_dlg.h"

#include "tarnel/frame_rules/choice_rules.h"
#include "tarnel/shell/resource.h"

BEGIN_MESSAGE_MAP(CSelectChipDlg, CChoiceDlg)
ON_CBN_SELCHANGE(IDC_CHIP_BOARDS, OnBoardChanged)
ON_CONTROL(LBN_SELCHANGE, IDC_CHIP_LIST, OnChipChanged)
END_MESSAGE_MAP()

CSelectChipDlg::CSelectChipDlg(CWnd* pParent)
    : CChoiceDlg(IDD_SELECT_CHIP, pParent), m_strCurrentChip(CurrentChip()) {}

void CSelectChipDlg::DoDataExchange(CDataExchange* pDX) {
    CChoiceDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHIP_BOARDS, m_cbBoards);
    DDX_Control(pDX, IDC_CHIP_LIST, m_lbChips);
    DDX_Text(pDX, IDC_CHIP_CODE_LENGTH, m_nCodeLength);
    DDV_MinMaxUInt(pDX, m_nCodeLength, 0, kMaxTypedCodeLength);
    DDX_Text(pDX, IDC_CHIP_DATA_LENGTH, m_nDataLength);
    DDX_Text(pDX, IDC_CHIP_SPECIAL_LENGTH, m_nSpecialLength);
    DDV_MinMaxUInt(pDX, m_nSpecialLength, 0, kMaxTypedSpecialLength);
}

BOOL CSelectChipDlg::OnInitDialog() {
    CChoiceDlg::OnInitDialog();
    for (int i = 0; i < ChipTable::GetBoardTagCount(); ++i) {
        const BoardTagEntry* tag = ChipTable::GetBoardTag(i);
        const int item = m_cbBoards.AddString(tag->tag);
        m_cbBoards.SetItemData(item, tag->boardId);
    }
    ListChipsOf(kAllBoards);
    // The list box would find names regardless of case; the current chip is its exact name.
    const std::vector<std::string> names = ChipNamesOfBoard(kAllBoards);
    int current = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == m_strCurrentChip.str()) {
            current = static_cast<int>(i);
            break;
        }
    }
    m_lbChips.SetCurSel(current);
    ShowLengthsOfChosenChip();
    return TRUE;
}

void CSelectChipDlg::ListChipsOf(int boardId) {
    m_lbChips.ResetContent();
    for (const std::string& name : ChipNamesOfBoard(boardId)) {
        m_lbChips.AddString(name.c_str());
    }
    SetDlgItemText(IDC_CHIP_CODE_LENGTH, "");
    SetDlgItemText(IDC_CHIP_DATA_LENGTH, "");
    SetDlgItemText(IDC_CHIP_SPECIAL_LENGTH, "");
}

void CSelectChipDlg::ShowLengthsOfChosenChip() {
    const int chosen = m_lbChips.GetCurSel();
    if (chosen == LB_ERR) {
        return;
    }
    CString name;
    m_lbChips.GetText(chosen, name);
    const AreaSizes shown = ShownChipLengths(name, m_strCurrentChip);
    SetDlgItemInt(IDC_CHIP_CODE_LENGTH, shown.code, FALSE);
    SetDlgItemInt(IDC_CHIP_DATA_LENGTH, shown.data, FALSE);
    SetDlgItemInt(IDC_CHIP_SPECIAL_LENGTH, shown.special, FALSE);
}

void CSelectChipDlg::OnBoardChanged() {
    const int board = m_cbBoards.GetCurSel();
    ListChipsOf(board == CB_ERR ? kAllBoards : static_cast<int>(m_cbBoards.GetItemData(board)));
}

void CSelectChipDlg::OnChipChanged() { ShowLengthsOfChosenChip(); }

void CSelectChipDlg::OnOK() {
    const int chosen = m_lbChips.GetCurSel();
    if (chosen == LB_ERR) {
        return;
    }
    m_lbChips.GetText(chosen, m_strChipName);
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

AreaSizes CSelectChipDlg::GetLengths() const {
    return ChosenChipLengths({m_nCodeLength, m_nDataLength, m_nSpecialLength}, m_strCurrentChip);
}
