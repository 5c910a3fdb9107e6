// The linked edit field: key releases reported to the parent.
#include "tarnel/shell/linked_edit.h"

BEGIN_MESSAGE_MAP(CLinkedEdit, CEdit)
ON_WM_KEYUP()
ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

void CLinkedEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (CWnd* parent = GetParent()) {
        parent->SendMessage(WM_LINKED_EDIT_KEYUP, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
    CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}
