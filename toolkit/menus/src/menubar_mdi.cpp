// CXTMenuBar and the maximised MDI child: its icon and caption buttons at the bar's end, and
// the window list of the Window popup.
#include "docking/aux_data.h"
#include "menus/menu_text.h"
#include "menus/menubar.h"

#include <algorithm>

namespace {

constexpr UINT kFirstMdiChild = 0xFF00;
const UINT kCaptionCommands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
const UINT kCaptionPictures[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};

HWND ActiveChild(HWND hWndClient, BOOL* pbMaximized) {
    *pbMaximized = FALSE;
    if (hWndClient == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(
        ::SendMessageA(hWndClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
}

// A device context over the whole bar whose coordinates are the client area's, so that the MDI
// buttons, which lie around the client area, are drawn at their own rectangles.
class CBarWindowDC : public CWindowDC {
public:
    explicit CBarWindowDC(CWnd* pBar) : CWindowDC(pBar) {
        CRect window;
        pBar->GetWindowRect(&window);
        CPoint origin(0, 0);
        pBar->ClientToScreen(&origin);
        SetViewportOrg(origin.x - window.left, origin.y - window.top);
    }
};

}  // namespace

void CXTMenuBar::RefreshMdiState() {
    BOOL maximized = FALSE;
    HWND active = ActiveChild(m_hWndMDIClient, &maximized);
    maximized = active != nullptr && maximized;
    if (maximized != m_bMdiMaximized) {
        m_bMdiMaximized = maximized;
        if (m_hWnd != nullptr) {
            // The button area changes: the client area is computed anew.
            SetWindowPos(
                nullptr, 0, 0, 0, 0,
                SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        LayoutMdiButtons();
        if (CFrameWnd* pFrame = GetParentFrame()) {
            pFrame->RecalcLayout();
        }
        if (m_hWnd != nullptr) {
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
        }
    }
}

void CXTMenuBar::CalcButtonArea(CRect& rect) {
    CXTToolBar::CalcButtonArea(rect);
    AdjustForMdiButtons(rect);
}

void CXTMenuBar::EraseNonClient() {
    CXTToolBar::EraseNonClient();
    if (!m_bMdiMaximized) {
        return;
    }
    CBarWindowDC dc(this);
    for (int i = 0; i < 4; ++i) {
        DrawMdiButton(&dc, i, i == m_nMdiPressed);
    }
}

int CXTMenuBar::MdiButtonsLength(BOOL bHorz) const {
    return bHorz ? xtAfxData.m_cxSmIcon + 3 * xtAfxData.m_cxSize
                 : xtAfxData.m_cySmIcon + 3 * xtAfxData.m_cySize;
}

void CXTMenuBar::AdjustForMdiButtons(CRect& rc) {
    if (!m_bMdiMaximized) {
        return;
    }
    const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || m_bFloating;
    if (horz) {
        rc.left += xtAfxData.m_cxSmIcon;
        rc.right -= 3 * xtAfxData.m_cxSize;
        rc.right = std::max<int>(rc.right, rc.left + m_nMinLength);
    } else {
        rc.top += xtAfxData.m_cySmIcon;
        rc.bottom -= 3 * xtAfxData.m_cySize;
        rc.bottom = std::max<int>(rc.bottom, rc.top + m_nMinLength);
    }
}

void CXTMenuBar::LayoutMdiButtons() {
    for (CRect& rc : m_arrMdiButtons) {
        rc.SetRectEmpty();
    }
    if (!m_bMdiMaximized || m_hWnd == nullptr) {
        return;
    }
    // They take the ends of the button area as it is without them, around the client area.
    CRect area;
    GetWindowRect(&area);
    ScreenToClient(&area);
    CXTToolBar::CalcButtonArea(area);
    const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || m_bFloating;
    const int cxIcon = xtAfxData.m_cxSmIcon;
    const int cyIcon = xtAfxData.m_cySmIcon;
    const int cxButton = xtAfxData.m_cxSize;
    const int cyButton = xtAfxData.m_cySize;
    if (horz) {
        const int iconTop = area.top + (area.Height() - cyIcon) / 2;
        m_arrMdiButtons[0] = CRect(area.left, iconTop, area.left + cxIcon, iconTop + cyIcon);
        const int across = cyButton - 2;
        const int top = area.top + (area.Height() - across) / 2;
        int right = area.right;
        for (int i = 3; i >= 1; --i) {
            m_arrMdiButtons[i] = CRect(right - cxButton, top, right, top + across);
            right -= cxButton;
        }
    } else {
        const int iconLeft = area.left + (area.Width() - cxIcon) / 2;
        m_arrMdiButtons[0] = CRect(iconLeft, area.top, iconLeft + cxIcon, area.top + cyIcon);
        const int across = cxButton - 2;
        const int left = area.left + (area.Width() - across) / 2;
        int bottom = area.bottom;
        for (int i = 3; i >= 1; --i) {
            m_arrMdiButtons[i] = CRect(left, bottom - cyButton, left + across, bottom);
            bottom -= cyButton;
        }
    }
}

int CXTMenuBar::HitTestMdiButton(int x, int y) {
    if (!m_bMdiMaximized) {
        return -1;
    }
    for (int i = 0; i < 4; ++i) {
        if (m_arrMdiButtons[i].PtInRect(CPoint(x, y))) {
            return i;
        }
    }
    return -1;
}

void CXTMenuBar::DrawMdiButton(CDC* pDC, int nIndex, BOOL bPressed) {
    CRect rc = m_arrMdiButtons[nIndex];
    if (rc.IsRectEmpty()) {
        return;
    }
    if (nIndex == 0) {
        BOOL maximized = FALSE;
        HWND active = ActiveChild(m_hWndMDIClient, &maximized);
        HICON hIcon = active != nullptr
                          ? reinterpret_cast<HICON>(::GetClassLongPtrA(active, GCLP_HICONSM))
                          : nullptr;
        if (hIcon == nullptr && active != nullptr) {
            hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(active, GCLP_HICON));
        }
        if (hIcon != nullptr) {
            ::DrawIconEx(pDC->m_hDC, rc.left, rc.top, hIcon, rc.Width(), rc.Height(), 0, nullptr,
                         DI_NORMAL);
        }
        return;
    }
    ::DrawFrameControl(pDC->m_hDC, &rc, DFC_CAPTION,
                       kCaptionPictures[nIndex - 1] | (bPressed ? DFCS_PUSHED : 0));
}

BOOL CXTMenuBar::TrackMdiButton(UINT message, CPoint point) {
    if (m_nMdiPressed >= 1) {
        // A caption button holds the mouse until it is released.
        const bool inside = m_arrMdiButtons[m_nMdiPressed].PtInRect(point) != FALSE;
        CBarWindowDC dc(this);
        if (message == WM_MOUSEMOVE) {
            DrawMdiButton(&dc, m_nMdiPressed, inside);
            return TRUE;
        }
        if (message == WM_LBUTTONUP) {
            const int pressed = m_nMdiPressed;
            m_nMdiPressed = -1;
            ::ReleaseCapture();
            DrawMdiButton(&dc, pressed, FALSE);
            BOOL maximized = FALSE;
            HWND active = ActiveChild(m_hWndMDIClient, &maximized);
            if (inside && active != nullptr) {
                ::SendMessageA(active, WM_SYSCOMMAND, kCaptionCommands[pressed - 1], 0);
            }
            return TRUE;
        }
        return TRUE;
    }
    if (message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK) {
        return FALSE;
    }
    const int hit = HitTestMdiButton(point.x, point.y);
    if (hit < 0) {
        return FALSE;
    }
    BOOL maximized = FALSE;
    HWND active = ActiveChild(m_hWndMDIClient, &maximized);
    if (hit == 0) {
        if (active != nullptr) {
            CRect rc = m_arrMdiButtons[0];
            ClientToScreen(&rc);
            HMENU hSysMenu = ::GetSystemMenu(active, FALSE);
            if (hSysMenu != nullptr) {
                CMenu::FromHandle(hSysMenu)->TrackPopupMenuEx(
                    TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, rc.left, rc.bottom,
                    CWnd::FromHandle(active), nullptr);
            }
        }
        return TRUE;
    }
    m_nMdiPressed = hit;
    SetCapture();
    CBarWindowDC dc(this);
    DrawMdiButton(&dc, hit, TRUE);
    return TRUE;
}

void CXTMenuBar::BuildWindowList() {
    if (m_hMenuWindow == nullptr || m_hWndMDIClient == nullptr) {
        return;
    }
    // Away with the list as it was.
    bool needSeparator = true;
    const int count = ::GetMenuItemCount(m_hMenuWindow);
    for (int i = 0; i < count; ++i) {
        if (::GetMenuItemID(m_hMenuWindow, i) >= kFirstMdiChild &&
            ::GetMenuItemID(m_hMenuWindow, i) != static_cast<UINT>(-1)) {
            while (::GetMenuItemCount(m_hMenuWindow) > i) {
                ::DeleteMenu(m_hMenuWindow, static_cast<UINT>(i), MF_BYPOSITION);
            }
            needSeparator = false;
            break;
        }
    }
    BOOL maximized = FALSE;
    HWND active = ActiveChild(m_hWndMDIClient, &maximized);
    int number = 1;
    for (HWND child = ::GetWindow(m_hWndMDIClient, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (needSeparator) {
            ::AppendMenuA(m_hMenuWindow, MF_SEPARATOR, 0, nullptr);
            needSeparator = false;
        }
        char title[256] = {};
        ::GetWindowTextA(child, title, sizeof(title));
        const std::string entry = xtmenus::WindowListEntry(number++, title);
        const UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
        ::AppendMenuA(m_hMenuWindow, MF_STRING | (child == active ? MF_CHECKED : 0), id,
                      entry.c_str());
    }
}
