// The button records of a toolbar control, its image well and its resource, shared by the bars
// over it.
#include "classlib/toolbar_buttons.h"

#include "classlib/frame.h"

#include <cstring>

namespace {

// The resource type of toolbars: the image size and one command per button.
const LPCTSTR kToolbarResource = MAKEINTRESOURCEA(241);

// Equal but for the state: what TB_SETSTATE can change without replacing the button.
bool SameButton(const TBBUTTON& a, const TBBUTTON& b) {
    return a.iBitmap == b.iBitmap && a.idCommand == b.idCommand && a.fsStyle == b.fsStyle &&
           a.dwData == b.dwData && a.iString == b.iString;
}

}  // namespace

void AfxGetToolBarButton(HWND hWndBar, int nIndex, TBBUTTON* pButton) {
    std::memset(pButton, 0, sizeof(*pButton));
    ::SendMessageA(hWndBar, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(pButton));
}

void AfxSetToolBarButton(CWnd& bar, int nIndex, const TBBUTTON& button) {
    TBBUTTON current;
    AfxGetToolBarButton(bar.m_hWnd, nIndex, &current);
    if (SameButton(current, button)) {
        if (current.fsState == button.fsState) {
            return;
        }
        // A state change alone: by command where the command names this button only. A row
        // break is no mere state: the control lays its buttons out anew only when one changes.
        if (button.idCommand != 0 && !((current.fsState ^ button.fsState) & TBSTATE_WRAP) &&
            bar.DefWindowProc(TB_COMMANDTOINDEX, static_cast<WPARAM>(button.idCommand), 0) ==
                nIndex) {
            bar.DefWindowProc(TB_SETSTATE, static_cast<WPARAM>(button.idCommand),
                              MAKELPARAM(button.fsState, 0));
            return;
        }
    }
    TBBUTTON replacement = button;
    bar.DefWindowProc(WM_SETREDRAW, FALSE, 0);
    bar.DefWindowProc(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex), 0);
    bar.DefWindowProc(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex),
                      reinterpret_cast<LPARAM>(&replacement));
    bar.DefWindowProc(WM_SETREDRAW, TRUE, 0);
    bar.Invalidate();
}

BOOL AfxSetToolBarButtons(CWnd& bar, const UINT* lpIDArray, int nIDCount, int cxSeparator) {
    for (int count = static_cast<int>(bar.DefWindowProc(TB_BUTTONCOUNT, 0, 0)); count > 0;
         --count) {
        bar.DefWindowProc(TB_DELETEBUTTON, 0, 0);
    }
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button = {};
        button.fsState = TBSTATE_ENABLED;
        button.iString = -1;
        button.idCommand = lpIDArray != nullptr ? static_cast<int>(lpIDArray[i]) : 0;
        if (lpIDArray != nullptr && button.idCommand == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = cxSeparator;  // a separator's "image" is its width
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = lpIDArray != nullptr ? image++ : 0;
        }
        if (!bar.DefWindowProc(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button))) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL AfxSetToolBarBitmap(CWnd& bar, HBITMAP& hbmCurrent, HBITMAP hbmNew, int cxImage) {
    BITMAP info = {};
    if (::GetObjectA(hbmNew, sizeof(info), &info) == 0 || cxImage <= 0) {
        return FALSE;
    }
    const int images = info.bmWidth / cxImage;
    BOOL ok;
    if (hbmCurrent != nullptr) {
        TBREPLACEBITMAP replace = {nullptr, reinterpret_cast<UINT_PTR>(hbmCurrent), nullptr,
                                   reinterpret_cast<UINT_PTR>(hbmNew), images};
        ok = bar.DefWindowProc(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)) != 0;
    } else {
        TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(hbmNew)};
        ok = bar.DefWindowProc(TB_ADDBITMAP, static_cast<WPARAM>(images),
                               reinterpret_cast<LPARAM>(&add)) != -1;
    }
    if (!ok) {
        return FALSE;
    }
    if (hbmCurrent != nullptr && hbmCurrent != hbmNew) {
        ::DeleteObject(hbmCurrent);
    }
    hbmCurrent = hbmNew;
    bar.Invalidate();
    return TRUE;
}

std::optional<AFX_TOOLBARRESOURCE> AfxLoadToolBarResource(HINSTANCE hInst,
                                                          LPCTSTR lpszResourceName) {
    HRSRC found = ::FindResourceA(hInst, lpszResourceName, kToolbarResource);
    if (found == nullptr) {
        return std::nullopt;
    }
    HGLOBAL loaded = ::LoadResource(hInst, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    return AfxReadToolbarResource(data, ::SizeofResource(hInst, found));
}

void AfxUpdateToolBarButtons(CWnd& bar, CCmdUI& state, CFrameWnd* pTarget,
                             BOOL bDisableIfNoHndler) {
    state.m_nIndexMax = static_cast<UINT>(bar.DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        TBBUTTON button;
        AfxGetToolBarButton(bar.m_hWnd, static_cast<int>(state.m_nIndex), &button);
        if (button.fsStyle & TBSTYLE_SEP) {
            continue;
        }
        state.m_nID = static_cast<UINT>(button.idCommand);
        if (bar.CCmdTarget::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) {
            continue;
        }
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    bar.UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
