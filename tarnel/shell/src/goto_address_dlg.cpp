// The go-to dialog: each key released in one field recomputes the address and the other field.
#include "tarnel/shell/goto_address_dlg.h"

#include "tarnel/frame_rules/address_text.h"
#include "tarnel/shell/document_host.h"
#include "tarnel/shell/resource.h"

BEGIN_MESSAGE_MAP(CGotoAddressDlg, CDialog)
ON_MESSAGE(WM_LINKED_EDIT_KEYUP, OnLinkedKeyUp)
END_MESSAGE_MAP()

CGotoAddressDlg::CGotoAddressDlg(CWnd* pParent)
    : CDialog(IDD_GOTO_ADDRESS, pParent),
      m_dwAddress(static_cast<DWORD>(DocumentHost().Settings().GotoAddress())) {}

void CGotoAddressDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GOTO_HEX, m_editHex);
    DDX_Control(pDX, IDC_GOTO_DEC, m_editDec);
}

BOOL CGotoAddressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_editHex.SetWindowText(HexAddressText(m_dwAddress).c_str());
    m_editDec.SetWindowText(DecimalAddressText(m_dwAddress).c_str());
    GotoDlgCtrl(&m_editHex);
    return FALSE;  // the focus is set
}

LRESULT CGotoAddressDlg::OnLinkedKeyUp(WPARAM wParam, LPARAM) {
    const HWND from = reinterpret_cast<HWND>(wParam);
    const bool hex = from == m_editHex.m_hWnd;
    if (!hex && from != m_editDec.m_hWnd) {
        return 0;
    }
    CWnd& typed = hex ? static_cast<CWnd&>(m_editHex) : static_cast<CWnd&>(m_editDec);
    CWnd& other = hex ? static_cast<CWnd&>(m_editDec) : static_cast<CWnd&>(m_editHex);
    CString text;
    typed.GetWindowText(text);
    if (text.IsEmpty()) {
        m_dwAddress = 0;
        other.SetWindowText("");
        return 0;
    }
    m_dwAddress = static_cast<DWORD>(ReadAddressText(text.str(), hex ? 16 : 10));
    other.SetWindowText(hex ? DecimalAddressText(m_dwAddress).c_str()
                            : HexAddressText(m_dwAddress).c_str());
    return 0;
}

void CGotoAddressDlg::OnOK() {
    // The address is the one the last key release left; text put in without a key does not count.
    DocumentHost().Settings().SetGotoAddress(static_cast<int>(m_dwAddress));
    EndDialog(IDOK);
}
