// The hook chain: installing and removing hooks on a window, and the procedure that runs them.
#include "menus/wnd_hook.h"

IMPLEMENT_DYNAMIC(CXTWndHook, CObject)
IMPLEMENT_DYNAMIC(CXTWindowMap, CMapPtrToPtr)

namespace {

CXTWindowMap theWindowMap;

}  // namespace

LRESULT CALLBACK CXTWindowMap::HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Handlers of the hooks and the class library's Default() read the message being handled
    // from the thread's record, so it describes this one while the hooks run.
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    const MSG saved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = message;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT result = 0;
    CXTWndHook* pHook = theWindowMap.Lookup(hWnd);
    if (pHook == nullptr) {
        result = ::DefWindowProcA(hWnd, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        // The whole chain goes before the window's own procedure sees its last message, so that
        // no hook is left pointing at a dead handle.
        WNDPROC pOldWndProc = pHook->m_pOldWndProc;
        theWindowMap.RemoveAll(hWnd);
        result = ::CallWindowProcA(pOldWndProc, hWnd, message, wParam, lParam);
    } else {
        result = pHook->WindowProc(message, wParam, lParam);
    }
    pState->m_lastSentMsg = saved;
    return result;
}

CXTWindowMap& XTGetWindowMap() { return theWindowMap; }

CXTWndHook* CXTWindowMap::Lookup(HWND hWnd) const {
    void* pHook = nullptr;
    return CMapPtrToPtr::Lookup(hWnd, pHook) ? static_cast<CXTWndHook*>(pHook) : nullptr;
}

void CXTWindowMap::Add(HWND hWnd, CXTWndHook* pHook) {
    pHook->m_pNext = Lookup(hWnd);
    SetAt(hWnd, pHook);
    if (pHook->m_pNext != nullptr) {
        // The whole chain shares the window's own procedure.
        pHook->m_pOldWndProc = pHook->m_pNext->m_pOldWndProc;
    } else {
        pHook->m_pOldWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookWndProc)));
    }
    pHook->m_hWnd = hWnd;
}

void CXTWindowMap::Remove(CXTWndHook* pUnHook) {
    HWND hWnd = pUnHook->m_hWnd;
    CXTWndHook* pHook = Lookup(hWnd);
    if (pHook == pUnHook) {
        if (pHook->m_pNext == nullptr) {
            RemoveKey(hWnd);
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(pUnHook->m_pOldWndProc));
        } else {
            SetAt(hWnd, pHook->m_pNext);
        }
    } else {
        while (pHook != nullptr && pHook->m_pNext != pUnHook) {
            pHook = pHook->m_pNext;
        }
        if (pHook != nullptr) {
            pHook->m_pNext = pUnHook->m_pNext;
        }
    }
    pUnHook->m_pNext = nullptr;
    pUnHook->m_pOldWndProc = nullptr;
    pUnHook->m_hWnd = nullptr;
}

void CXTWindowMap::RemoveAll(HWND hWnd) {
    while (CXTWndHook* pHook = Lookup(hWnd)) {
        pHook->HookWindow(static_cast<HWND>(nullptr));
    }
}

CXTWndHook::~CXTWndHook() {
    if (m_hWnd != nullptr) {
        theWindowMap.Remove(this);
    }
}

BOOL CXTWndHook::IsHooked() const { return m_hWnd != nullptr; }

BOOL CXTWndHook::HookWindow(HWND hWnd) {
    if (hWnd != nullptr) {
        // Hooked again where it already sits, the hook would become its own next hook and pass
        // every message to itself for ever.
        if (hWnd != m_hWnd) {
            theWindowMap.Add(hWnd, this);
        }
    } else if (m_hWnd != nullptr) {
        theWindowMap.Remove(this);
    }
    return TRUE;
}

BOOL CXTWndHook::HookWindow(CWnd* pWnd) {
    return HookWindow(pWnd != nullptr ? pWnd->m_hWnd : static_cast<HWND>(nullptr));
}

LRESULT CXTWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pNext != nullptr) {
        return m_pNext->WindowProc(message, wParam, lParam);
    }
    return ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam);
}

LRESULT CXTWndHook::Default() {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return CXTWndHook::WindowProc(msg.message, msg.wParam, msg.lParam);
}
