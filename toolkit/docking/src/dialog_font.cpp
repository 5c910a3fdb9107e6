// A dialog rescaled to a new font: its client area and its children by the ratio of the fonts'
// average character sizes.
#include "docking/dialog_font.h"

#include "docking/dialog_scale.h"

#include <cstring>

namespace {

// Average character width and height of a font on the window's screen.
CSize CharSizeOf(CWnd* pWnd, HFONT hFont) {
    CClientDC dc(pWnd);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, hFont);
    TEXTMETRICA metrics = {};
    const BOOL known = ::GetTextMetricsA(dc.m_hDC, &metrics);
    ::SelectObject(dc.m_hDC, old);
    return known ? CSize(metrics.tmAveCharWidth, metrics.tmHeight) : CSize(0, 0);
}

bool IsComboBox(HWND hWnd) {
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    return ::lstrcmpiA(name, "ComboBox") == 0;
}

}  // namespace

void XTChangeDialogFont(CWnd* pDialog, CFont* pFont) {
    if (pDialog == nullptr || pDialog->m_hWnd == nullptr || pFont == nullptr ||
        pFont->m_hObject == nullptr) {
        return;
    }
    HWND hDialog = pDialog->m_hWnd;
    auto hOldFont = reinterpret_cast<HFONT>(::SendMessageA(hDialog, WM_GETFONT, 0, 0));
    if (hOldFont == nullptr) {
        hOldFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    }
    auto hNewFont = static_cast<HFONT>(pFont->m_hObject);
    const CSize oldChar = CharSizeOf(pDialog, hOldFont);
    const CSize newChar = CharSizeOf(pDialog, hNewFont);

    // The dialog: its client area scaled, its frame as it is.
    CRect window;
    CRect client;
    ::GetWindowRect(hDialog, &window);
    ::GetClientRect(hDialog, &client);
    const CSize frame = window.Size() - client.Size();
    const CSize newClient = xtdock::ScaleByCharSize(client.Size(), oldChar, newChar);
    ::SetWindowPos(hDialog, nullptr, 0, 0, newClient.cx + frame.cx, newClient.cy + frame.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(hDialog, WM_SETFONT, reinterpret_cast<WPARAM>(hNewFont), TRUE);

    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CRect rect;
        ::GetWindowRect(hChild, &rect);
        if (IsComboBox(hChild)) {
            // A combo box's height is that of its open list.
            ::SendMessageA(hChild, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
        }
        ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rect), 2);
        const CRect scaled = xtdock::ScaleByCharSize(rect, oldChar, newChar);
        ::SendMessageA(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(hNewFont), FALSE);
        ::MoveWindow(hChild, scaled.left, scaled.top, scaled.Width(), scaled.Height(), TRUE);
    }
    ::InvalidateRect(hDialog, nullptr, TRUE);
}
