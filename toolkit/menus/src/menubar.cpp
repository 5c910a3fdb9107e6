// CXTMenuBar: the menu as buttons, the keyboard rules, popups opened one after another, and the
// hooks that take the frame's menu over.
#include "menus/menubar.h"

#include "docking/aux_data.h"
#include "menus/menu_text.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTMBarWndHook, CXTWndHook)
IMPLEMENT_DYNAMIC(CXTMenuBar, CXTToolBar)

namespace {

constexpr int kMaxButtonText = 63;

// The bar whose popup is open, for the thread's message-filter hook (one popup at a time).
CXTMenuBar* g_pTrackingBar = nullptr;
HHOOK g_hMsgFilterHook = nullptr;

LRESULT CALLBACK MenuInputFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && g_pTrackingBar != nullptr &&
        g_pTrackingBar->OnMenuInput(reinterpret_cast<MSG*>(lParam))) {
        return TRUE;
    }
    return ::CallNextHookEx(g_hMsgFilterHook, code, wParam, lParam);
}

xtmenus::BarRect ToBarRect(const CRect& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

}  // namespace

// The hooks.

void CXTMBarWndHook::HookFrame(CXTMenuBar* pMenuBar, HWND hWnd) {
    m_pMenuBar = pMenuBar;
    HookWindow(hWnd);
}

LRESULT CXTMBarWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pMenuBar == nullptr || m_pMenuBar->m_hWnd == nullptr) {
        return CXTWndHook::WindowProc(message, wParam, lParam);
    }
    switch (message) {
        case WM_MENUSELECT:
            if (m_pMenuBar->GetTrackingState() == xtmenus::kTrackPopup) {
                m_pMenuBar->OnMenuSelectSeen(HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            }
            break;
        case WM_PAINT:
            if (m_hWnd == m_pMenuBar->m_hWndMDIClient) {
                m_pMenuBar->RefreshMdiState();
            }
            break;
        case WM_SETTINGCHANGE:
            m_pMenuBar->SendMessage(
                WM_SETFONT, reinterpret_cast<WPARAM>(xtAfxData.m_fontCaption.m_hObject), TRUE);
            break;
        case WM_INITMENUPOPUP:
            if (!HIWORD(lParam) && m_pMenuBar->m_hMenuWindow != nullptr &&
                reinterpret_cast<HMENU>(wParam) == m_pMenuBar->m_hMenuWindow) {
                m_pMenuBar->BuildWindowList();
            }
            break;
        case WM_MDISETMENU:
            if (wParam != 0) {
                m_pMenuBar->SetMenu(reinterpret_cast<HMENU>(wParam),
                                    reinterpret_cast<HMENU>(lParam));
                ::SetMenu(m_pMenuBar->OwnerHwnd(), nullptr);
            }
            return 0;
        case WM_MDIREFRESHMENU:
            return 0;
        default:
            break;
    }
    return CXTWndHook::WindowProc(message, wParam, lParam);
}

// The bar.

CXTMenuBar::CXTMenuBar() = default;

CXTMenuBar::~CXTMenuBar() {
    m_frameHook.HookWindow(static_cast<HWND>(nullptr));
    m_clientHook.HookWindow(static_cast<HWND>(nullptr));
    if (m_hMenuShared != nullptr && ::IsMenu(m_hMenuShared)) {
        ::DestroyMenu(m_hMenuShared);
    }
}

BOOL CXTMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, TBSTYLE_FLAT | TBSTYLE_LIST, dwStyle,
                    CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CXTMenuBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                          UINT nID) {
    if (!CXTToolBar::CreateEx(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, nID)) {
        return FALSE;
    }
    // Text buttons only: no room for images.
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    m_frameHook.HookFrame(this, pParentWnd->m_hWnd);
    if (auto* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pParentWnd)) {
        m_hWndMDIClient = pMdiFrame->m_hWndMDIClient;
        if (m_hWndMDIClient != nullptr) {
            m_clientHook.HookFrame(this, m_hWndMDIClient);
        }
    }
    SetWindowText("Menu Bar");
    return TRUE;
}

HWND CXTMenuBar::OwnerHwnd() const {
    CWnd* pOwner = GetOwner();
    return pOwner != nullptr ? pOwner->m_hWnd : nullptr;
}

HMENU CXTMenuBar::SetMenu(HMENU hMenu, HMENU hMenuWindow) {
    HMENU previous = m_hMenu;
    m_hMenu = hMenu;
    DefWindowProc(TB_SETIMAGELIST, 0, 0);
    for (int count = GetButtonCount(); count > 0; --count) {
        DefWindowProc(TB_DELETEBUTTON, 0, 0);
    }
    const bool vertical = (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0;
    const int items = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < items; ++i) {
        char text[kMaxButtonText + 1] = {};
        if (::GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION) <= 0) {
            continue;  // an item without a string has no button
        }
        auto found = std::find(m_buttonTexts.begin(), m_buttonTexts.end(), CString(text));
        INT_PTR stringIndex;
        if (found != m_buttonTexts.end()) {
            stringIndex = found - m_buttonTexts.begin();
        } else {
            std::string strings(text);
            strings.push_back('\0');
            strings.push_back('\0');
            stringIndex = DefWindowProc(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings.data()));
            m_buttonTexts.emplace_back(text);
        }
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = i;
        button.fsState = static_cast<BYTE>(TBSTATE_ENABLED | (vertical ? TBSTATE_WRAP : 0));
        button.fsStyle = TBSTYLE_BUTTON | TBSTYLE_AUTOSIZE;
        button.iString = stringIndex;
        DefWindowProc(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    m_nCount = GetButtonCount();
    DefWindowProc(TB_AUTOSIZE, 0, 0);
    RefreshMdiState();
    m_hMenuWindow = hMenuWindow;
    m_bDelayedButtonLayout = TRUE;
    return previous;
}

BOOL CXTMenuBar::LoadMenuBar(UINT nIDResource) {
    return LoadMenuBar(MAKEINTRESOURCEA(nIDResource));
}

BOOL CXTMenuBar::LoadMenuBar(LPCTSTR lpszResourceName) {
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszResourceName);
    if (hMenu == nullptr) {
        return FALSE;
    }
    if (m_hMenuShared != nullptr && ::IsMenu(m_hMenuShared)) {
        ::DestroyMenu(m_hMenuShared);
    }
    m_hMenuShared = hMenu;
    SetMenu(hMenu, nullptr);
    if (::GetMenu(OwnerHwnd()) != nullptr) {
        PostMessage(XT_WM_REMOVEFRAMEMENU);
    }
    return TRUE;
}

LRESULT CXTMenuBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case XT_WM_REMOVEFRAMEMENU:
            ::SetMenu(OwnerHwnd(), nullptr);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE: {
            const CPoint point(static_cast<short>(LOWORD(lParam)),
                               static_cast<short>(HIWORD(lParam)));
            if (TrackMdiButton(message, point)) {
                return 0;
            }
            if (message == WM_LBUTTONDOWN) {
                POINT hit = point;
                const int index =
                    static_cast<int>(DefWindowProc(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
                if (index >= 0 && index < ButtonCount()) {
                    TrackPopup(index);
                    return 0;
                }
                LRESULT result = CXTToolBar::WindowProc(message, wParam, lParam);
                if (CFrameWnd* pFrame = GetParentFrame()) {
                    pFrame->RecalcLayout();
                }
                return result;
            }
            if (message == WM_MOUSEMOVE) {
                if (m_keys.State() == xtmenus::kTrackKeyboard && point != m_ptMouse) {
                    POINT hit = point;
                    const int index = static_cast<int>(
                        DefWindowProc(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
                    if (index >= 0 && index < ButtonCount() && index != m_keys.HotIndex()) {
                        SetTrackingState(xtmenus::kTrackKeyboard, index);
                    }
                }
                m_ptMouse = point;
            }
            break;
        }
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED: {
            LRESULT result = CXTToolBar::WindowProc(message, wParam, lParam);
            CWnd* pParent = GetParent();
            m_bFloating = pParent != nullptr && pParent->GetParentFrame() != nullptr &&
                          pParent->GetParentFrame()->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd));
            LayoutMdiButtons();
            return result;
        }
        default:
            break;
    }
    return CXTToolBar::WindowProc(message, wParam, lParam);
}

// Keyboard and popups.

void CXTMenuBar::SetTrackingState(int nState, int nIndex) {
    if (nState == xtmenus::kTrackPopup && m_keys.State() != xtmenus::kTrackPopup) {
        m_bEscapePressed = FALSE;
        m_bPopupHasSubmenu = FALSE;
        m_bInSubmenu = FALSE;
        m_hMenuSelected = nullptr;
    }
    m_keys.SetTrackingState(nState, nIndex);
    DefWindowProc(TB_SETHOTITEM, static_cast<WPARAM>(m_keys.HotIndex()), 0);
}

BOOL CXTMenuBar::TranslateFrameMessage(MSG* pMsg) {
    xtmenus::BarKeyMessage msg;
    switch (pMsg->message) {
        case WM_KEYDOWN:
            msg.kind = xtmenus::BarKeyMessage::KeyDown;
            break;
        case WM_SYSKEYDOWN:
            msg.kind = xtmenus::BarKeyMessage::SysKeyDown;
            break;
        case WM_SYSKEYUP:
            msg.kind = xtmenus::BarKeyMessage::SysKeyUp;
            break;
        default:
            if (pMsg->message >= WM_LBUTTONDOWN && pMsg->message <= WM_MBUTTONDBLCLK &&
                pMsg->hwnd != m_hWnd) {
                msg.kind = xtmenus::BarKeyMessage::MouseButtonElsewhere;
            }
            break;
    }
    msg.vk = static_cast<unsigned>(pMsg->wParam);
    msg.altHeld = ::GetKeyState(VK_MENU) < 0 ||
                  (msg.kind == xtmenus::BarKeyMessage::SysKeyDown && (pMsg->lParam & (1 << 29)));
    msg.shiftHeld = ::GetKeyState(VK_SHIFT) < 0;
    msg.ctrlHeld = ::GetKeyState(VK_CONTROL) < 0;
    if (msg.kind == xtmenus::BarKeyMessage::Other) {
        return FALSE;
    }
    const int stateBefore = m_keys.State();
    const int hotBefore = m_keys.HotIndex();
    auto findMnemonic = [this](char c) {
        // The control answers the button's command, the item's position in the menu; the
        // rules want the button.
        UINT command = 0;
        if (!DefWindowProc(TB_MAPACCELERATORA, static_cast<WPARAM>(static_cast<unsigned char>(c)),
                           reinterpret_cast<LPARAM>(&command))) {
            return -1;
        }
        const int index = CommandToIndex(command);
        return index >= 0 && index < ButtonCount() ? index : -1;
    };
    const xtmenus::BarKeyDecision decision = m_keys.Translate(msg, ButtonCount(), findMnemonic);
    if (m_keys.State() != stateBefore || m_keys.HotIndex() != hotBefore) {
        DefWindowProc(TB_SETHOTITEM, static_cast<WPARAM>(m_keys.HotIndex()), 0);
    }
    if (decision.beep) {
        AfxMessageBeep(0);
    }
    if (decision.openIndex >= 0) {
        TrackPopup(decision.openIndex);
    }
    return decision.handled;
}

CPoint CXTMenuBar::GetPopupPosition(const CRect& rcButton, TPMPARAMS& tpm) {
    CRect desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    const DWORD side = m_bFloating ? 0 : (m_dwStyle & CBRS_ALIGN_ANY);
    const xtmenus::PopupPlace place =
        xtmenus::PopupPosition(ToBarRect(rcButton), side, ToBarRect(desktop));
    tpm.cbSize = sizeof(tpm);
    tpm.rcExclude =
        CRect(place.exclude.left, place.exclude.top, place.exclude.right, place.exclude.bottom);
    return CPoint(place.x, place.y);
}

void CXTMenuBar::TrackPopup(int nIndex) {
    while (nIndex >= 0 && nIndex < ButtonCount() && m_hMenu != nullptr) {
        m_nNextIndex = -1;
        // Items without a string have no button: a button's command is its item's position in
        // the menu, which the control's button messages and the menu take, not its index.
        const UINT nCommand = GetItemID(nIndex);
        DefWindowProc(TB_PRESSBUTTON, nCommand, MAKELPARAM(TRUE, 0));
        UpdateWindow();
        SetTrackingState(xtmenus::kTrackPopup, nIndex);

        g_pTrackingBar = this;
        g_hMsgFilterHook =
            ::SetWindowsHookExA(WH_MSGFILTER, &MenuInputFilter, nullptr, ::GetCurrentThreadId());

        CRect rc;
        DefWindowProc(TB_GETRECT, nCommand, reinterpret_cast<LPARAM>(&rc));
        ClientToScreen(&rc);
        TPMPARAMS tpm = {};
        const CPoint at = GetPopupPosition(rc, tpm);
        m_hMenuTracking = ::GetSubMenu(m_hMenu, static_cast<int>(nCommand));
        if (m_hMenuTracking != nullptr) {
            CMenu::FromHandle(m_hMenuTracking)
                ->TrackPopupMenuEx(TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, at.x, at.y,
                                   CWnd::FromHandle(OwnerHwnd()), &tpm);
        }
        m_hMenuTracking = nullptr;

        if (g_hMsgFilterHook != nullptr) {
            ::UnhookWindowsHookEx(g_hMsgFilterHook);
        }
        g_hMsgFilterHook = nullptr;
        g_pTrackingBar = nullptr;
        DefWindowProc(TB_PRESSBUTTON, nCommand, MAKELPARAM(FALSE, 0));
        UpdateWindow();
        SetTrackingState(m_bEscapePressed ? xtmenus::kTrackKeyboard : xtmenus::kTrackIdle, nIndex);
        nIndex = m_nNextIndex;
    }
}

void CXTMenuBar::OnMenuSelectSeen(UINT nFlags, HMENU hMenu) {
    if (nFlags == 0xFFFF && hMenu == nullptr) {
        return;  // the menu closes
    }
    m_hMenuSelected = hMenu;
    m_bInSubmenu = hMenu != m_hMenuTracking;
    m_bPopupHasSubmenu = (nFlags & MF_POPUP) != 0;
}

namespace {

// The menu below hRoot that holds hMenu as a submenu, or null.
HMENU ParentMenu(HMENU hRoot, HMENU hMenu) {
    const int count = hRoot != nullptr ? ::GetMenuItemCount(hRoot) : 0;
    for (int i = 0; i < count; ++i) {
        HMENU hSub = ::GetSubMenu(hRoot, i);
        if (hSub == nullptr) {
            continue;
        }
        if (hSub == hMenu) {
            return hRoot;
        }
        if (HMENU hFound = ParentMenu(hSub, hMenu)) {
            return hFound;
        }
    }
    return nullptr;
}

}  // namespace

BOOL CXTMenuBar::OnMenuInput(MSG* pMsg) {
    const int open = m_keys.HotIndex();
    switch (pMsg->message) {
        case WM_KEYDOWN:
            if (pMsg->wParam == VK_ESCAPE) {
                m_bEscapePressed = TRUE;
            } else if (pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT) {
                const int target =
                    xtmenus::PopupArrowTarget(static_cast<unsigned>(pMsg->wParam), open,
                                              ButtonCount(), m_bInSubmenu, m_bPopupHasSubmenu);
                if (target >= 0) {
                    m_nNextIndex = target;
                    ::PostMessageA(OwnerHwnd(), WM_CANCELMODE, 0, 0);
                    return TRUE;
                }
                if (pMsg->wParam == VK_LEFT && m_bInSubmenu) {
                    // The submenu closes and the selection is back on the item that opens it;
                    // the menu need not say so.
                    HMENU hParent = ParentMenu(m_hMenuTracking, m_hMenuSelected);
                    m_hMenuSelected = hParent;
                    m_bInSubmenu = hParent != nullptr && hParent != m_hMenuTracking;
                    m_bPopupHasSubmenu = TRUE;
                }
            }
            break;
        case WM_MOUSEMOVE: {
            CPoint point = pMsg->pt;
            ScreenToClient(&point);
            POINT hit = point;
            const int index =
                static_cast<int>(DefWindowProc(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (index >= 0 && index < ButtonCount() && index != open && point != m_ptMouse) {
                m_nNextIndex = index;
                ::PostMessageA(OwnerHwnd(), WM_CANCELMODE, 0, 0);
            }
            m_ptMouse = point;
            break;
        }
        default:
            break;
    }
    return FALSE;
}

// Layout.

CSize CXTMenuBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    if (!(dwMode & (LM_HORZDOCK | LM_VERTDOCK))) {
        int width = 0;
        for (int i = 0; i < ButtonCount(); ++i) {
            TBBUTTON button;
            GetButton(i, &button);
            if (button.fsState & TBSTATE_WRAP) {
                button.fsState &= ~TBSTATE_WRAP;
                SetButton(i, button);
            }
        }
        for (int i = 0; i < ButtonCount(); ++i) {
            CRect rc;
            DefWindowProc(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc));
            width += rc.Width();
        }
        width += 2 * ::GetSystemMetrics(SM_CXEDGE);
        if (m_bMdiMaximized) {
            width += MdiButtonsLength(TRUE);
        }
        return CSize(width, 5 * ::GetSystemMetrics(SM_CYEDGE) + ::GetSystemMetrics(SM_CYSMCAPTION));
    }
    return CXTToolBar::CalcDynamicLayout(nLength, dwMode);
}

CSize CXTMenuBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size = CXTToolBar::CalcFixedLayout(bStretch, bHorz);
    if (bStretch) {
        return size;
    }
    CFrameWnd* pFrame = GetParentFrame();
    CWnd* pDockBar = pFrame != nullptr
                         ? pFrame->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_TOP : AFX_IDW_DOCKBAR_LEFT)
                         : nullptr;
    if (pDockBar != nullptr) {
        CRect rc;
        pDockBar->GetWindowRect(&rc);
        if (bHorz) {
            size.cx = std::max<int>(size.cx, rc.Width());
        } else {
            size.cy = std::max<int>(size.cy, rc.Height());
        }
    }
    for (int i = 0; i < ButtonCount(); ++i) {
        TBBUTTON button;
        GetButton(i, &button);
        const BYTE wanted = static_cast<BYTE>(bHorz ? (button.fsState & ~TBSTATE_WRAP)
                                                    : (button.fsState | TBSTATE_WRAP));
        if (wanted != button.fsState) {
            button.fsState = wanted;
            SetButton(i, button);
        }
    }
    // Laid out again at idle once the size changed (not on every pass: the layout asks again).
    CRect current;
    GetWindowRect(&current);
    if (pFrame != nullptr && pDockBar != nullptr && current.Size() != size) {
        pFrame->DelayRecalcLayout();
    }
    return size;
}

void CXTMenuBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    CXTToolBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CXTMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {
    // Every button opens a popup: each one's command (its item's position) is enabled.
    for (int i = 0; i < ButtonCount(); ++i) {
        DefWindowProc(TB_ENABLEBUTTON, GetItemID(i), MAKELPARAM(TRUE, 0));
    }
}
