// CXTToolBar: creation, sizes, buttons and their texts, drop-down buttons, placed controls,
// the saved layout and the customise dialog's notifications.
#include "menus/toolbar.h"

#include "classlib/toolbar_buttons.h"
#include "classlib/toolbar_control.h"
#include "docking/aux_data.h"
#include "docking/draw.h"
#include "menus/resource.h"

#include <cstdint>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CXTToolBar, CXTControlBar)

namespace {

constexpr DWORD kFlatStyles = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
constexpr DWORD kBarStyleMask = 0x0040FFFF;
constexpr DWORD kComCtl471 = 0x40047;

}  // namespace

CXTToolBar::CXTToolBar() {
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CXTToolBar::~CXTToolBar() { AfxDestroyToolBar(*this, m_hbmImageWell); }

BOOL CXTToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle,
                    CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CXTToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                          UINT nID) {
    SetBorders(rcBorders.left, rcBorders.top, rcBorders.right, rcBorders.bottom);
    m_dwStyle = dwStyle & kBarStyleMask;
    if (nID == AFX_IDW_TOOLBAR) {
        m_dwStyle |= CBRS_HIDE_INPLACE;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    XTGetComCtlVersion();
    const DWORD windowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NODIVIDER |
                              CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd,
                      nID)) {
        return FALSE;
    }
    SetSizes(m_sizeButton, m_sizeImage);
    SetFont(&xtAfxData.m_fontCaption, TRUE);

    CString format;
    format.LoadString(XT_IDS_TOOLBAR_STATE_KEY);
    CWinApp* pApp = AfxGetApp();
    LPCTSTR registryKey = pApp != nullptr && pApp->m_pszRegistryKey ? pApp->m_pszRegistryKey : "";
    LPCTSTR profile = pApp != nullptr && pApp->m_pszProfileName ? pApp->m_pszProfileName : "";
    m_strSubKey.Format(format, registryKey, profile);
    m_strValueName.Format("%s-Bar%d", profile, static_cast<int>(nID));
    return TRUE;
}

void CXTToolBar::SetOwner(CWnd* pOwnerWnd) {
    if (m_hWnd != nullptr) {
        DefWindowProc(TB_SETPARENT, reinterpret_cast<WPARAM>(pOwnerWnd->GetSafeHwnd()), 0);
    }
    CXTControlBar::SetOwner(pOwnerWnd);
}

// Sizes.

LRESULT CXTToolBar::SendWithFlatStyle(UINT message, WPARAM wParam, LPARAM lParam) {
    // Controls older than 4.71 know no flat styles: the message goes as it is.
    if (XTGetComCtlVersion() < kComCtl471) {
        return DefWindowProc(message, wParam, lParam);
    }
    return AfxSendWithFlatStyle(*this, message, wParam, lParam);
}

void CXTToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    AfxSendToolBarSizes(*this, sizeButton, sizeImage);
}

void CXTToolBar::SetHeight(int cyHeight) {
    AfxSetToolBarHeight(*this, cyHeight, m_sizeButton.cy, m_dwStyle, m_cyTopBorder,
                        m_cyBottomBorder);
}

// Resources and images.

BOOL CXTToolBar::LoadToolBar(UINT nIDResource) {
    return LoadToolBar(MAKEINTRESOURCEA(nIDResource));
}

BOOL CXTToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    auto resource = AfxLoadToolBarResource(AfxGetResourceHandle(), lpszResourceName);
    if (!resource) {
        return FALSE;
    }
    const DWORD style = GetStyle();
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style | kFlatStyles));
    // The commands as the toolkit's menus take them: 16-bit ids.
    std::vector<UINT> ids;
    for (uint32_t command : resource->commands) {
        ids.push_back(static_cast<uint16_t>(command));
    }
    BOOL result = SetButtons(ids.data(), static_cast<int>(ids.size()));
    if (result) {
        const CSize image(resource->cxImage, resource->cyImage);
        SetSizes(CSize(image.cx + 7, image.cy + 7), image);
        result = LoadBitmap(lpszResourceName);
    }
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    if (!result) {
        return FALSE;
    }
    m_buttonSnapshot.clear();
    for (int i = 0; i < GetButtonCount(); ++i) {
        TBBUTTON button;
        GetButton(i, &button);
        m_buttonSnapshot.push_back(button);
    }
    RestoreState();
    return TRUE;
}

BOOL CXTToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
    return AfxLoadToolBarBitmap(*this, lpszResourceName, XTLoadSysColorBitmap, m_sizeImage.cx,
                                m_hbmImageWell, m_hInstImageWell, m_hRsrcImageWell);
}

BOOL CXTToolBar::SetBitmap(HBITMAP hbmImageWell) {
    return AfxSetToolBarBitmap(*this, m_hbmImageWell, hbmImageWell, m_sizeImage.cx);
}

// Buttons.

int CXTToolBar::GetButtonCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
}

BOOL CXTToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (!AfxSetToolBarButtons(*this, lpIDArray, nIDCount, 6)) {
        return FALSE;
    }
    m_nCount = GetButtonCount();
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

void CXTToolBar::GetButton(int nIndex, TBBUTTON* pButton) const {
    AfxGetToolBarButton(m_hWnd, nIndex, pButton);
}

void CXTToolBar::SetButton(int nIndex, const TBBUTTON& button) {
    AfxSetToolBarButton(*this, nIndex, button);
}

int CXTToolBar::CommandToIndex(UINT nIDFind) const {
    return static_cast<int>(::SendMessageA(m_hWnd, TB_COMMANDTOINDEX, nIDFind, 0));
}

UINT CXTToolBar::GetItemID(int nIndex) const {
    TBBUTTON button;
    GetButton(nIndex, &button);
    return static_cast<UINT>(button.idCommand);
}

BOOL CXTToolBar::GetItemRect(int nIndex, LPRECT lpRect) {
    if (m_bDelayedButtonLayout) {
        Layout();
    }
    ::SetRectEmpty(lpRect);
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                                            reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CXTToolBar::SetButtonText(int nIndex, LPCTSTR lpszText) {
    // Equal texts share one string of the control.
    if (!m_pStringMap) {
        m_pStringMap = std::make_unique<CMapStringToPtr>(10);
    }
    void* slot = nullptr;
    INT_PTR stringIndex;
    if (m_pStringMap->Lookup(lpszText, slot)) {
        stringIndex = reinterpret_cast<INT_PTR>(slot);
    } else {
        std::string strings(lpszText);
        strings.push_back('\0');
        strings.push_back('\0');
        stringIndex = DefWindowProc(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings.data()));
        if (stringIndex == -1) {
            return FALSE;
        }
        m_pStringMap->SetAt(lpszText, reinterpret_cast<void*>(stringIndex));
    }
    TBBUTTON button;
    GetButton(nIndex, &button);
    button.iString = stringIndex;
    // Rewritten in any case: the control measures a button's text when it is inserted.
    DefWindowProc(WM_SETREDRAW, FALSE, 0);
    DefWindowProc(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex), 0);
    DefWindowProc(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button));
    DefWindowProc(WM_SETREDRAW, TRUE, 0);
    Invalidate();
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

CString CXTToolBar::GetButtonText(int nIndex) const {
    TBBUTTON button;
    GetButton(nIndex, &button);
    if (m_pStringMap) {
        POSITION pos = m_pStringMap->GetStartPosition();
        while (pos != nullptr) {
            CString text;
            void* slot = nullptr;
            m_pStringMap->GetNextAssoc(pos, text, slot);
            if (reinterpret_cast<INT_PTR>(slot) == button.iString) {
                return text;
            }
        }
    }
    return CString();
}

void CXTToolBar::AddDropDownButton(UINT nIDButton, UINT nIDMenu) {
    XT_DROPDOWNBUTTON* pRecord = nullptr;
    for (auto& record : m_dropDownButtons) {
        if (record.idButton == nIDButton) {
            pRecord = &record;
        }
    }
    if (pRecord == nullptr) {
        m_dropDownButtons.push_back(XT_DROPDOWNBUTTON{nIDButton, 0});
        pRecord = &m_dropDownButtons.back();
    }
    pRecord->idMenu = nIDMenu;
    DefWindowProc(TB_SETEXTENDEDSTYLE, 0,
                  DefWindowProc(TB_GETEXTENDEDSTYLE, 0, 0) | TBSTYLE_EX_DRAWDDARROWS);
    const int index = CommandToIndex(nIDButton);
    if (index >= 0) {
        TBBUTTON button;
        GetButton(index, &button);
        button.fsStyle |= TBSTYLE_DROPDOWN;
        SetButton(index, button);
    }
}

void CXTToolBar::OnDropDown(NMTOOLBAR* pNotify, UINT nCommand, CRect rcButton) {
    for (const auto& record : m_dropDownButtons) {
        if (record.idButton == nCommand && record.idMenu != 0) {
            CMenu menu;
            if (!menu.LoadMenu(record.idMenu) || menu.GetSubMenu(0) == nullptr) {
                return;
            }
            TPMPARAMS params = {sizeof(params), rcButton};
            menu.GetSubMenu(0)->TrackPopupMenuEx(TPM_VERTICAL, rcButton.left, rcButton.bottom,
                                                 GetOwner(), &params);
            return;
        }
    }
    GetOwner()->SendMessage(XT_WM_TBDROPDOWN, reinterpret_cast<WPARAM>(pNotify),
                            reinterpret_cast<LPARAM>(&rcButton));
}

BOOL CXTToolBar::PlaceControl(CWnd* pControl) {
    CRect rc;
    pControl->GetWindowRect(&rc);
    ScreenToClient(&rc);
    const int index = CommandToIndex(static_cast<UINT>(pControl->GetDlgCtrlID()));
    if (index < 0) {
        return TRUE;
    }
    TBBUTTON button;
    GetButton(index, &button);
    button.fsStyle = TBSTYLE_SEP;
    button.iBitmap = rc.Width();
    SetButton(index, button);
    CRect rcItem;
    ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&rcItem));
    pControl->SetWindowPos(nullptr, rcItem.left, rcItem.top, 0, 0,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW);
    pControl->SetFont(GetFont());
    return TRUE;
}

void CXTToolBar::MoveControls() {
    for (int i = 0; i < GetButtonCount(); ++i) {
        TBBUTTON button;
        GetButton(i, &button);
        if (!(button.fsStyle & TBSTYLE_SEP) || button.idCommand == 0) {
            continue;
        }
        CWnd* pControl = GetDlgItem(button.idCommand);
        if (pControl != nullptr) {
            CRect rcItem;
            ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&rcItem));
            pControl->SetWindowPos(nullptr, rcItem.left, rcItem.top, 0, 0,
                                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
        }
    }
}

// The saved layout.

void CXTToolBar::SaveState() {
    if (m_strSubKey.IsEmpty() || m_hWnd == nullptr) {
        return;
    }
    TBSAVEPARAMSA params = {HKEY_CURRENT_USER, m_strSubKey, m_strValueName};
    DefWindowProc(TB_SAVERESTOREA, TRUE, reinterpret_cast<LPARAM>(&params));
}

void CXTToolBar::RestoreState() {
    if (m_strSubKey.IsEmpty() || m_hWnd == nullptr) {
        return;
    }
    TBSAVEPARAMSA params = {HKEY_CURRENT_USER, m_strSubKey, m_strValueName};
    DefWindowProc(TB_SAVERESTOREA, FALSE, reinterpret_cast<LPARAM>(&params));
    m_nCount = GetButtonCount();
    m_bDelayedButtonLayout = TRUE;
}

// Tool tips and idle update.

INT_PTR CXTToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    INT_PTR hit = CXTControlBar::OnToolHitTest(point, pTI);
    if (hit != -1) {
        return hit;
    }
    for (int i = 0; i < GetButtonCount(); ++i) {
        TBBUTTON button;
        GetButton(i, &button);
        CRect rect;
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&rect));
        rect.right += 1;
        rect.bottom += 1;
        if (!rect.PtInRect(point)) {
            continue;
        }
        if (button.fsStyle & TBSTYLE_SEP) {
            return -1;
        }
        AfxFillToolBarTip(pTI, m_hWnd, button.idCommand, rect);
        return button.idCommand;
    }
    return -1;
}

void CXTToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CXTToolCmdUI state;
    state.m_pOther = this;
    AfxUpdateToolBarButtons(*this, state, pTarget, bDisableIfNoHndler);
}

void CXTToolCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    auto* pBar = static_cast<CXTToolBar*>(m_pOther);
    TBBUTTON button;
    pBar->GetButton(static_cast<int>(m_nIndex), &button);
    button.fsState =
        static_cast<BYTE>(bOn ? (button.fsState | TBSTATE_ENABLED)
                              : (button.fsState & ~(TBSTATE_ENABLED | TBSTATE_PRESSED)));
    pBar->SetButton(static_cast<int>(m_nIndex), button);
}

void CXTToolCmdUI::SetCheck(int nCheck) {
    auto* pBar = static_cast<CXTToolBar*>(m_pOther);
    TBBUTTON button;
    pBar->GetButton(static_cast<int>(m_nIndex), &button);
    button.fsState = static_cast<BYTE>(button.fsState & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE));
    if (nCheck == 1) {
        button.fsState |= TBSTATE_CHECKED;
    } else if (nCheck == 2) {
        button.fsState |= TBSTATE_INDETERMINATE;
    }
    pBar->SetButton(static_cast<int>(m_nIndex), button);
}

void CXTToolCmdUI::SetText(LPCTSTR) {}
