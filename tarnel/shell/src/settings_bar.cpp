// The settings bar: exact-name selection in its two lists and the settings kept in step.
#include "tarnel/shell/settings_bar.h"

#include <cstring>

#include "tarnel/images/chip_table.h"
#include "tarnel/programming/port_names.h"
#include "tarnel/shell/resource.h"

namespace {

// The first entry whose text equals the name byte for byte (the list's own search ignores
// case, and chip names differing only in case are different chips); CB_ERR when none does.
int FindExact(CComboBox* pCombo, LPCTSTR lpszName) {
    const int nCount = pCombo->GetCount();
    for (int i = 0; i < nCount; ++i) {
        CString text;
        pCombo->GetLBText(i, text);
        if (std::strcmp(text, lpszName) == 0) {
            return i;
        }
    }
    return CB_ERR;
}

CString SelectedText(CComboBox* pCombo) {
    CString text;
    const int nSel = pCombo->GetCurSel();
    if (nSel != CB_ERR) {
        pCombo->GetLBText(nSel, text);
    }
    return text;
}

}  // namespace

IMPLEMENT_DYNAMIC(CSettingsBar, CDialogBar)

BEGIN_MESSAGE_MAP(CSettingsBar, CDialogBar)
ON_CBN_SELCHANGE(IDC_SETTINGS_PORTS, OnSelChangePort)
ON_CBN_SELCHANGE(IDC_SETTINGS_CHIPS, OnSelChangeChip)
END_MESSAGE_MAP()

CSettingsBar::CSettingsBar(CAppSettings& settings) : m_settings(settings) {}

CSettingsBar::~CSettingsBar() = default;

CComboBox* CSettingsBar::PortCombo() {
    return static_cast<CComboBox*>(GetDlgItem(IDC_SETTINGS_PORTS));
}

CComboBox* CSettingsBar::ChipCombo() {
    return static_cast<CComboBox*>(GetDlgItem(IDC_SETTINGS_CHIPS));
}

void CSettingsBar::SelectPort(LPCTSTR lpszName) {
    CComboBox* pPorts = PortCombo();
    if (!IsComPortNameAvailable(lpszName)) {
        AfxMessageBox(IDS_PORT_CANNOT_OPEN);
        pPorts->SetCurSel(-1);
        return;
    }
    const int nFound = FindExact(pPorts, lpszName);
    if (nFound != CB_ERR) {
        pPorts->SetCurSel(nFound);
    }
}

void CSettingsBar::SelectChip(LPCTSTR lpszName) {
    if (!ChipTable::Contains(lpszName)) {
        return;
    }
    CComboBox* pChips = ChipCombo();
    const int nFound = FindExact(pChips, lpszName);
    if (nFound != CB_ERR) {
        pChips->SetCurSel(nFound);
    }
}

CString CSettingsBar::GetSelectedChip() { return SelectedText(ChipCombo()); }

void CSettingsBar::EnableChipCombo() {
    CComboBox* pChips = ChipCombo();
    if (!pChips->IsWindowEnabled()) {
        pChips->EnableWindow(TRUE);
    }
}

void CSettingsBar::DisableChipCombo() {
    CComboBox* pChips = ChipCombo();
    if (pChips->IsWindowEnabled()) {
        pChips->EnableWindow(FALSE);
    }
}

void CSettingsBar::OnSelChangePort() {
    if (PortCombo()->GetCurSel() != CB_ERR) {
        m_settings.SetCommPort(SelectedText(PortCombo()));
    }
}

void CSettingsBar::OnSelChangeChip() {
    if (ChipCombo()->GetCurSel() != CB_ERR) {
        m_settings.SetChipName(SelectedText(ChipCombo()));
    }
}
