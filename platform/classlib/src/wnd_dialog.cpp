// The dialog side of CWnd: data exchange, dialog items, centring and control updates.
#include "classlib/classlib.h"

#include <algorithm>

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;  // reported where it failed
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::GetDlgItemText(int nID, CString& rString) const {
    HWND item = ::GetDlgItem(m_hWnd, nID);
    if (item == nullptr) {
        rString.Empty();
        return;
    }
    CWnd::FromHandle(item)->GetWindowText(rString);
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return static_cast<int>(::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount));
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
    ::SetDlgItemTextA(m_hWnd, nID, lpszString);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
    ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    return ::IsDlgButtonChecked(m_hWnd, nIDButton);
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
    for (int nID = nIDFirstButton; nID <= nIDLastButton; ++nID) {
        if (::IsDlgButtonChecked(m_hWnd, nID)) {
            return nID;
        }
    }
    return 0;
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
    return FromHandle(
        ::GetNextDlgTabItem(m_hWnd, pWndCtl != nullptr ? pWndCtl->m_hWnd : nullptr, bPrevious));
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const {
    return FromHandle(
        ::GetNextDlgGroupItem(m_hWnd, pWndCtl != nullptr ? pWndCtl->m_hWnd : nullptr, bPrevious));
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    DWORD style = GetStyle();
    HWND hWndCenter = pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd : nullptr;
    if (hWndCenter == nullptr) {
        hWndCenter = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    }
    CRect rcArea;
    CRect rcCenter;
    CRect rcDlg;
    GetWindowRect(&rcDlg);
    if (style & WS_CHILD) {
        // Within the parent's client area, in its coordinates.
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &rcArea);
        if (hWndCenter == parent) {
            rcCenter = rcArea;
        } else {
            ::GetWindowRect(hWndCenter, &rcCenter);
            ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
        }
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rcDlg), 2);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        bool usable =
            hWndCenter != nullptr && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter);
        if (usable) {
            ::GetWindowRect(hWndCenter, &rcCenter);
        } else {
            rcCenter = rcArea;
        }
    }
    int x = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    x = std::max<int>(rcArea.left, std::min<int>(x, rcArea.right - rcDlg.Width()));
    y = std::max<int>(rcArea.top, std::min<int>(y, rcArea.bottom - rcDlg.Height()));
    SetWindowPos(nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
        state.m_pOther = CWnd::FromHandle(child);
        // This window's own update handlers first, without further routing.
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) {
            continue;
        }
        // Only push buttons go grey for want of a handler; check boxes, radio buttons that
        // work by themselves, group boxes and other controls keep their state.
        BOOL disable = bDisableIfNoHndler;
        if (disable) {
            if (!(::SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
                disable = FALSE;
            } else {
                UINT type = static_cast<UINT>(::GetWindowLongA(child, GWL_STYLE) & 0x0F);
                if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_GROUPBOX ||
                    type == BS_AUTORADIOBUTTON) {
                    disable = FALSE;
                }
            }
        }
        state.DoUpdate(pTarget, disable);
    }
}
