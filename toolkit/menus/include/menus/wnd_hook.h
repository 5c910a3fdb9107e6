// Window-procedure hooks: objects that see every message of a window they do not own.
#pragma once

#include "classlib/classlib.h"

// One hook on one window. Several hooks may sit on a window: the most recently installed sees
// each message first and passes it on through WindowProc's default to the one installed before
// it; the first one installed passes to the window's own procedure.
class CXTWndHook : public CObject {
    DECLARE_DYNAMIC(CXTWndHook)
public:
    CXTWndHook() = default;
    ~CXTWndHook() override;
    CXTWndHook(const CXTWndHook&) = delete;
    CXTWndHook& operator=(const CXTWndHook&) = delete;

    virtual BOOL IsHooked() const;
    // Hooks the window, or unhooks when the handle is none. A hook sits on one window at a time:
    // callers unhook before hooking another; hooking the window it sits on does nothing. Always
    // TRUE.
    virtual BOOL HookWindow(HWND hWnd);
    virtual BOOL HookWindow(CWnd* pWnd);
    // The hook's handler; the base passes the message on down the chain.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND GetHookedWindow() const { return m_hWnd; }

protected:
    // The message being handled by the innermost hook, passed on unchanged.
    LRESULT Default();

    HWND m_hWnd = nullptr;
    WNDPROC m_pOldWndProc = nullptr;  // the window's own procedure while hooked
    CXTWndHook* m_pNext = nullptr;    // the hook installed before this one on the same window

    friend class CXTWindowMap;
};

// Window handle to the first (most recently installed) hook of its chain.
class CXTWindowMap : public CMapPtrToPtr {
    DECLARE_DYNAMIC(CXTWindowMap)
public:
    CXTWindowMap() : CMapPtrToPtr(10) {}

    CXTWndHook* Lookup(HWND hWnd) const;
    void Add(HWND hWnd, CXTWndHook* pHook);
    void Remove(CXTWndHook* pHook);
    // Unhooks every hook of the window.
    void RemoveAll(HWND hWnd);

    // The procedure installed on every hooked window in place of its own.
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The one map of the program (UI thread only; not locked).
CXTWindowMap& XTGetWindowMap();
