// Window message dispatch: the library's window procedure, message-map lookup, commands and
// notifications with reflection to controls, pre-translation, and the default handlers.
#include "classlib/classlib.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// Restores the thread's current message when a window procedure returns, also on exceptions.
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
        : state_(AfxGetThreadState()), saved_(state_->m_lastSentMsg) {
        state_->m_lastSentMsg.hwnd = hWnd;
        state_->m_lastSentMsg.message = nMsg;
        state_->m_lastSentMsg.wParam = wParam;
        state_->m_lastSentMsg.lParam = lParam;
    }
    ~CurrentMessageScope() { state_->m_lastSentMsg = saved_; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    AFX_THREAD_STATE* state_;
    MSG saved_;
};

// The control a message from a child is about, or null when the message is not one of those a
// parent offers back to the control.
HWND ReflectedChild(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
            return dis->CtlType == ODT_MENU ? nullptr : dis->hwndItem;
        }
        case WM_DELETEITEM:
            return reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)->hwndItem;
        case WM_COMPAREITEM:
            return reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)->hwndItem;
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return reinterpret_cast<HWND>(lParam);
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<HWND>(lParam);
        case WM_PARENTNOTIFY:
            if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY) {
                return reinterpret_cast<HWND>(lParam);
            }
            return nullptr;
        default:
            return nullptr;
    }
}

bool IsCtlColor(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// Owner-draw measuring names no window: the control is found by its id.
HWND MeasuredChild(HWND hParent, WPARAM wParam, LPARAM lParam) {
    auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
    if (mis->CtlType == ODT_MENU) {
        return nullptr;
    }
    return ::GetDlgItem(hParent, static_cast<int>(wParam));
}

}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr) {
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
    CurrentMessageScope scope(hWnd, nMsg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (const CException&) {
        // A handler failed; a window whose creation failed is not created.
        result = nMsg == WM_CREATE ? -1 : 0;
    } catch (const std::bad_alloc&) {
        result = nMsg == WM_CREATE ? -1 : 0;
    }
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        // The window's last message: unhook, detach and let the object go.
        if (pWnd->m_pfnSuper != nullptr &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == AfxWndProc) {
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
        }
        pWnd->m_pfnSuper = nullptr;
        CWinThread* thread = AfxGetThread();
        if (thread != nullptr && thread->m_pMainWnd == pWnd) {
            thread->m_pMainWnd = nullptr;
            if (thread == AfxGetApp()) {
                AfxPostQuitMessage(0);
            }
        }
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return result;
}

const MSG* CWnd::GetCurrentMessage() { return &AfxGetThreadState()->m_lastSentMsg; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) {
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            return FALSE;
        }
        result = 1;
    } else if (message == WM_NOTIFY) {
        auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
        if (nmhdr == nullptr || nmhdr->hwndFrom == nullptr || !OnNotify(wParam, lParam, &result)) {
            return FALSE;
        }
    } else {
        // All colour requests share one entry; its handler learns the kind of control.
        UINT mapped = IsCtlColor(message) ? WM_CTLCOLOR : message;
        UINT ctlColor = IsCtlColor(message) ? message - WM_CTLCOLORMSGBOX : 0;
        if (message >= WM_REFLECT_BASE + WM_CTLCOLORMSGBOX &&
            message <= WM_REFLECT_BASE + WM_CTLCOLORSTATIC) {
            mapped = WM_REFLECT_BASE + WM_CTLCOLOR;
            ctlColor = message - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX;
        }
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(mapped);
        if (entry != nullptr) {
            AFX_MSGCALL call = {message, wParam, lParam, ctlColor, nullptr, &result, nullptr};
            entry->pfn(this, call);
        } else {
            // Nobody here handles what a control sent: the control may handle it itself.
            HWND child = message == WM_MEASUREITEM ? MeasuredChild(m_hWnd, wParam, lParam)
                                                   : ReflectedChild(message, wParam, lParam);
            if (child == nullptr || !ReflectLastMsg(child, &result)) {
                return FALSE;
            }
        }
    }
    if (pResult != nullptr) {
        *pResult = result;
    }
    return TRUE;
}

namespace {

// Update state used only to learn whether a menu or accelerator command is enabled.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    BOOL enabled = TRUE;
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl == nullptr) {
        // A menu item or an accelerator: a command that is disabled now is not carried out
        // (an accelerator can arrive for a command whose menu item shows it disabled).
        nCode = CN_COMMAND;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.enabled) {
            return TRUE;
        }
    } else {
        if (ReflectLastMsg(hWndCtrl)) {
            return TRUE;
        }
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    (void)wParam;
    auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(nmhdr->hwndFrom, pResult)) {
        return TRUE;
    }
    AFX_NOTIFY notify = {pResult, nmhdr};
    return OnCmdMsg(static_cast<UINT>(nmhdr->idFrom), MAKELONG(nmhdr->code, WM_NOTIFY), &notify,
                    nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* child = FromHandlePermanent(hWndChild);
    if (child == nullptr) {
        return FALSE;
    }
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return child->OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
        case WM_COMMAND: {
            int nCode = HIWORD(wParam);
            return CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr,
                                        nullptr);
        }
        case WM_NOTIFY: {
            auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
            AFX_NOTIFY notify = {pResult, nmhdr};
            return CCmdTarget::OnCmdMsg(0, MAKELONG(nmhdr->code, WM_REFLECT_BASE + WM_NOTIFY),
                                        &notify, nullptr);
        }
        case WM_PARENTNOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_DELETEITEM:
        case WM_COMPAREITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
        default:
            if (IsCtlColor(message)) {
                LRESULT brush = 0;
                if (!OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, &brush) || brush == 0) {
                    return FALSE;  // no brush: the parent's own colours apply
                }
                if (pResult != nullptr) {
                    *pResult = brush;
                }
                return TRUE;
            }
            return FALSE;
    }
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
    (void)pMsg;
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND h = pMsg->hwnd; h != nullptr; h = ::GetParent(h)) {
        CWnd* pWnd = FromHandlePermanent(h);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
        if (h == hWndStop) {
            break;
        }
    }
    return FALSE;
}

// Default handlers.

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }

// Scroll bars, owner drawing and colours are offered to the control first.
void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar == nullptr || !ReflectLastMsg(pScrollBar->m_hWnd)) {
        Default();
    }
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar == nullptr || !ReflectLastMsg(pScrollBar->m_hWnd)) {
        Default();
    }
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->CtlType == ODT_MENU || !ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        Default();
    }
}
void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    HWND child = lpMeasureItemStruct->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(m_hWnd, nIDCtl);
    if (child == nullptr || !ReflectLastMsg(child)) {
        Default();
    }
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    LRESULT brush = 0;
    if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &brush)) {
        return reinterpret_cast<HBRUSH>(brush);
    }
    return reinterpret_cast<HBRUSH>(Default());
}
