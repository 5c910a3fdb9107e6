// The toolbar control's sizes, height, bitmap and end, shared by the bars over it.
#include "classlib/toolbar_control.h"

#include "classlib/classlib.h"
#include "classlib/toolbar_buttons.h"

#include <algorithm>

LRESULT AfxSendWithFlatStyle(CWnd& bar, UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD style = bar.GetStyle();
    const DWORD flat = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
    const bool change = (style & flat) != flat;
    if (change) {
        ::SetWindowLongA(bar.m_hWnd, GWL_STYLE, static_cast<LONG>(style | flat));
    }
    LRESULT result = bar.DefWindowProc(message, wParam, lParam);
    if (change) {
        ::SetWindowLongA(bar.m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    }
    return result;
}

void AfxSendToolBarSizes(CWnd& bar, SIZE sizeButton, SIZE sizeImage) {
    if (bar.m_hWnd == nullptr) {
        return;
    }
    bar.SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    bar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    bar.Invalidate();
}

void AfxSetToolBarHeight(CWnd& bar, int cyHeight, int cyButton, DWORD dwBarStyle, int& cyTopBorder,
                         int& cyBottomBorder) {
    int room = cyHeight - cyButton;
    if (dwBarStyle & CBRS_BORDER_TOP) {
        room -= afxData.cyBorder2;
    }
    if (dwBarStyle & CBRS_BORDER_BOTTOM) {
        room -= afxData.cyBorder2;
    }
    cyBottomBorder = room / 2;
    cyTopBorder = room - cyBottomBorder;
    if (cyTopBorder < 0) {
        cyTopBorder = 0;
        cyBottomBorder = room;
    }
    if (bar.m_hWnd != nullptr) {
        bar.SetWindowPos(
            nullptr, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        bar.Invalidate();
    }
}

BOOL AfxLoadToolBarBitmap(CWnd& bar, LPCTSTR lpszResourceName, AFX_SYSCOLORBITMAPLOADER loadBitmap,
                          int cxImage, HBITMAP& hbmImageWell, HINSTANCE& hInstImageWell,
                          HRSRC& hRsrcImageWell) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, lpszResourceName, RT_BITMAP);
    if (found == nullptr) {
        return FALSE;
    }
    HBITMAP bitmap = loadBitmap(module, found, FALSE);
    if (bitmap == nullptr) {
        return FALSE;
    }
    if (!AfxSetToolBarBitmap(bar, hbmImageWell, bitmap, cxImage)) {
        ::DeleteObject(bitmap);
        return FALSE;
    }
    hInstImageWell = module;
    hRsrcImageWell = found;
    return TRUE;
}

void AfxDestroyToolBar(CWnd& bar, HBITMAP& hbmImageWell) {
    if (bar.m_hWnd != nullptr && CWnd::FromHandlePermanent(bar.m_hWnd) == &bar) {
        bar.DestroyWindow();
    }
    if (hbmImageWell != nullptr) {
        ::DeleteObject(hbmImageWell);
    }
}

DWORD AfxToolBarLayoutMode(DWORD dwBarStyle) {
    if ((dwBarStyle & CBRS_FLOATING) && (dwBarStyle & CBRS_SIZE_DYNAMIC)) {
        return LM_HORZ | LM_MRUWIDTH | LM_COMMIT;
    }
    if (dwBarStyle & CBRS_ORIENT_HORZ) {
        return LM_HORZ | LM_HORZDOCK | LM_COMMIT;
    }
    return LM_VERTDOCK | LM_COMMIT;
}

BOOL AfxIsDockedSideRequest(int nLength, DWORD dwMode) {
    return nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) &&
           (dwMode & (LM_HORZDOCK | LM_VERTDOCK));
}

void AfxCommitToolBoxWraps(CWnd& bar, const std::vector<TBBUTTON>& buttons,
                           const std::vector<AFX_TOOLBOX>& boxes) {
    for (size_t i = 0; i < buttons.size(); ++i) {
        TBBUTTON button = buttons[i];
        button.fsState = static_cast<BYTE>((button.fsState & ~TBSTATE_WRAP) |
                                           (boxes[i].bWrap ? TBSTATE_WRAP : 0));
        AfxSetToolBarButton(bar, static_cast<int>(i), button);
    }
}

CSize AfxToolBarOuterSize(CSize sizeButtons, const CRect& inside, CSize sizeLeast) {
    CSize size = sizeButtons;
    size.cx -= inside.Width();
    size.cy -= inside.Height();
    size.cx = std::max(size.cx, sizeLeast.cx);
    size.cy = std::max(size.cy, sizeLeast.cy);
    return size;
}

void AfxFillToolBarTip(TOOLINFO* pTI, HWND hWndBar, int idCommand, const CRect& rect) {
    if (pTI == nullptr) {
        return;
    }
    pTI->hwnd = hWndBar;
    pTI->uId = static_cast<UINT_PTR>(idCommand);
    pTI->rect = rect;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
}
