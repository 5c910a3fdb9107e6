// Message-map entries for window messages, each calling the handler with the message's
// parameters unpacked (the handlers' defaults live in CWnd).
#pragma once

#include "classlib/cmdtarget.h"

#define CLASSLIB_PT(lp)                                      \
    CPoint(static_cast<int>(static_cast<short>(LOWORD(lp))), \
           static_cast<int>(static_cast<short>(HIWORD(lp))))
#define CLASSLIB_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))
#define CLASSLIB_RESULT(...) *c_.pResult = static_cast<LRESULT>(__VA_ARGS__)

#define ON_WM_CREATE()   \
    {WM_CREATE, 0, 0, 0, \
     CLASSLIB_THUNK(     \
         CLASSLIB_RESULT(self_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c_.lParam))))},
#define ON_WM_NCCREATE()   \
    {WM_NCCREATE, 0, 0, 0, \
     CLASSLIB_THUNK(       \
         CLASSLIB_RESULT(self_->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(c_.lParam))))},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, CLASSLIB_THUNK(self_->OnDestroy())},
#define ON_WM_NCDESTROY() {WM_NCDESTROY, 0, 0, 0, CLASSLIB_THUNK(self_->OnNcDestroy())},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, CLASSLIB_THUNK(self_->OnClose())},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, CLASSLIB_THUNK(self_->OnPaint())},
#define ON_WM_NCPAINT() {WM_NCPAINT, 0, 0, 0, CLASSLIB_THUNK(self_->OnNcPaint())},
#define ON_WM_ERASEBKGND()           \
    {WM_ERASEBKGND, 0, 0, 0,         \
     CLASSLIB_THUNK(CLASSLIB_RESULT( \
         self_->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(c_.wParam)))))},
#define ON_WM_SIZE()                                                     \
    {WM_SIZE, 0, 0, 0,                                                   \
     CLASSLIB_THUNK(self_->OnSize(static_cast<UINT>(c_.wParam),          \
                                  static_cast<short>(LOWORD(c_.lParam)), \
                                  static_cast<short>(HIWORD(c_.lParam))))},
#define ON_WM_MOVE()                                                     \
    {WM_MOVE, 0, 0, 0,                                                   \
     CLASSLIB_THUNK(self_->OnMove(static_cast<short>(LOWORD(c_.lParam)), \
                                  static_cast<short>(HIWORD(c_.lParam))))},
#define ON_WM_SHOWWINDOW()   \
    {WM_SHOWWINDOW, 0, 0, 0, \
     CLASSLIB_THUNK(         \
         self_->OnShowWindow(static_cast<BOOL>(c_.wParam), static_cast<UINT>(c_.lParam)))},
#define ON_WM_ACTIVATE()   \
    {WM_ACTIVATE, 0, 0, 0, \
     CLASSLIB_THUNK(       \
         self_->OnActivate(LOWORD(c_.wParam), CLASSLIB_WND(c_.lParam), HIWORD(c_.wParam)))},
#define ON_WM_MOUSEACTIVATE()        \
    {WM_MOUSEACTIVATE, 0, 0, 0,      \
     CLASSLIB_THUNK(CLASSLIB_RESULT( \
         self_->OnMouseActivate(CLASSLIB_WND(c_.wParam), LOWORD(c_.lParam), HIWORD(c_.lParam))))},
#define ON_WM_GETMINMAXINFO()   \
    {WM_GETMINMAXINFO, 0, 0, 0, \
     CLASSLIB_THUNK(self_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c_.lParam)))},
#define ON_WM_SETFOCUS() \
    {WM_SETFOCUS, 0, 0, 0, CLASSLIB_THUNK(self_->OnSetFocus(CLASSLIB_WND(c_.wParam)))},
#define ON_WM_KILLFOCUS() \
    {WM_KILLFOCUS, 0, 0, 0, CLASSLIB_THUNK(self_->OnKillFocus(CLASSLIB_WND(c_.wParam)))},
#define CLASSLIB_KEY_ENTRY(msg, fn) \
    {msg, 0, 0, 0,                  \
     CLASSLIB_THUNK(                \
         self_->fn(static_cast<UINT>(c_.wParam), LOWORD(c_.lParam), HIWORD(c_.lParam)))},
#define ON_WM_CHAR() CLASSLIB_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_KEYDOWN() CLASSLIB_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() CLASSLIB_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() CLASSLIB_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() CLASSLIB_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCOMMAND()   \
    {WM_SYSCOMMAND, 0, 0, 0, \
     CLASSLIB_THUNK(self_->OnSysCommand(static_cast<UINT>(c_.wParam), c_.lParam))},
#define CLASSLIB_MOUSE_ENTRY(msg, fn) \
    {msg, 0, 0, 0, CLASSLIB_THUNK(self_->fn(static_cast<UINT>(c_.wParam), CLASSLIB_PT(c_.lParam)))},
#define ON_WM_LBUTTONDOWN() CLASSLIB_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() CLASSLIB_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() CLASSLIB_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() CLASSLIB_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() CLASSLIB_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MBUTTONDBLCLK() CLASSLIB_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEMOVE() CLASSLIB_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define CLASSLIB_NCMOUSE_ENTRY(msg, fn) \
    {msg, 0, 0, 0, CLASSLIB_THUNK(self_->fn(static_cast<UINT>(c_.wParam), CLASSLIB_PT(c_.lParam)))},
#define ON_WM_NCLBUTTONDOWN() CLASSLIB_NCMOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONDBLCLK() CLASSLIB_NCMOUSE_ENTRY(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCHITTEST()   \
    {WM_NCHITTEST, 0, 0, 0, \
     CLASSLIB_THUNK(CLASSLIB_RESULT(self_->OnNcHitTest(CLASSLIB_PT(c_.lParam))))},
#define ON_WM_NCCALCSIZE()                                            \
    {WM_NCCALCSIZE, 0, 0, 0,                                          \
     CLASSLIB_THUNK(self_->OnNcCalcSize(static_cast<BOOL>(c_.wParam), \
                                        reinterpret_cast<NCCALCSIZE_PARAMS*>(c_.lParam)))},
#define ON_WM_SETCURSOR()            \
    {WM_SETCURSOR, 0, 0, 0,          \
     CLASSLIB_THUNK(CLASSLIB_RESULT( \
         self_->OnSetCursor(CLASSLIB_WND(c_.wParam), LOWORD(c_.lParam), HIWORD(c_.lParam))))},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, CLASSLIB_THUNK(self_->OnTimer(static_cast<UINT_PTR>(c_.wParam)))},
#define CLASSLIB_SCROLL_ENTRY(msg, fn)                              \
    {msg, 0, 0, 0,                                                  \
     CLASSLIB_THUNK(self_->fn(LOWORD(c_.wParam), HIWORD(c_.wParam), \
                              reinterpret_cast<CScrollBar*>(CLASSLIB_WND(c_.lParam))))},
#define ON_WM_VSCROLL() CLASSLIB_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)
#define ON_WM_HSCROLL() CLASSLIB_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_CONTEXTMENU()   \
    {WM_CONTEXTMENU, 0, 0, 0, \
     CLASSLIB_THUNK(self_->OnContextMenu(CLASSLIB_WND(c_.wParam), CLASSLIB_PT(c_.lParam)))},
#define ON_WM_WINDOWPOSCHANGING()   \
    {WM_WINDOWPOSCHANGING, 0, 0, 0, \
     CLASSLIB_THUNK(self_->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(c_.lParam)))},
#define ON_WM_WINDOWPOSCHANGED()   \
    {WM_WINDOWPOSCHANGED, 0, 0, 0, \
     CLASSLIB_THUNK(self_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c_.lParam)))},
#define ON_WM_SYSCOLORCHANGE() \
    {WM_SYSCOLORCHANGE, 0, 0, 0, CLASSLIB_THUNK(self_->OnSysColorChange())},
#define ON_WM_SETTINGCHANGE()                                            \
    {WM_SETTINGCHANGE, 0, 0, 0,                                          \
     CLASSLIB_THUNK(self_->OnSettingChange(static_cast<UINT>(c_.wParam), \
                                           reinterpret_cast<LPCTSTR>(c_.lParam)))},
#define ON_WM_INITMENUPOPUP()                                                                     \
    {WM_INITMENUPOPUP, 0, 0, 0,                                                                   \
     CLASSLIB_THUNK(self_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(c_.wParam)), \
                                           LOWORD(c_.lParam), HIWORD(c_.lParam)))},
#define ON_WM_MENUSELECT()                                                    \
    {WM_MENUSELECT, 0, 0, 0,                                                  \
     CLASSLIB_THUNK(self_->OnMenuSelect(LOWORD(c_.wParam), HIWORD(c_.wParam), \
                                        reinterpret_cast<HMENU>(c_.lParam)))},
#define ON_WM_MENUCHAR()                                         \
    {WM_MENUCHAR, 0, 0, 0,                                       \
     CLASSLIB_THUNK(CLASSLIB_RESULT(                             \
         self_->OnMenuChar(LOWORD(c_.wParam), HIWORD(c_.wParam), \
                           CMenu::FromHandle(reinterpret_cast<HMENU>(c_.lParam)))))},
#define ON_WM_DRAWITEM()                                                                     \
    {                                                                                        \
        WM_DRAWITEM, 0, 0, 0,                                                                \
            CLASSLIB_THUNK(self_->OnDrawItem(static_cast<int>(c_.wParam),                    \
                                             reinterpret_cast<LPDRAWITEMSTRUCT>(c_.lParam)); \
                           CLASSLIB_RESULT(TRUE))                                            \
    }                                                                                        \
    ,
#define ON_WM_MEASUREITEM()                                                                        \
    {                                                                                              \
        WM_MEASUREITEM, 0, 0, 0,                                                                   \
            CLASSLIB_THUNK(self_->OnMeasureItem(static_cast<int>(c_.wParam),                       \
                                                reinterpret_cast<LPMEASUREITEMSTRUCT>(c_.lParam)); \
                           CLASSLIB_RESULT(TRUE))                                                  \
    }                                                                                              \
    ,
#define ON_WM_CTLCOLOR()                                                         \
    {WM_CTLCOLOR, 0, 0, 0,                                                       \
     CLASSLIB_THUNK(CLASSLIB_RESULT(reinterpret_cast<LRESULT>(self_->OnCtlColor( \
         CDC::FromHandle(reinterpret_cast<HDC>(c_.wParam)), CLASSLIB_WND(c_.lParam), c_.nID))))},
#define ON_WM_CANCELMODE() {WM_CANCELMODE, 0, 0, 0, CLASSLIB_THUNK(self_->OnCancelMode())},
#define ON_WM_CAPTURECHANGED() \
    {WM_CAPTURECHANGED, 0, 0, 0, CLASSLIB_THUNK(self_->OnCaptureChanged(CLASSLIB_WND(c_.lParam)))},
#define ON_WM_NCACTIVATE()   \
    {WM_NCACTIVATE, 0, 0, 0, \
     CLASSLIB_THUNK(CLASSLIB_RESULT(self_->OnNcActivate(static_cast<BOOL>(c_.wParam))))},
#define ON_WM_ENTERIDLE()   \
    {WM_ENTERIDLE, 0, 0, 0, \
     CLASSLIB_THUNK(self_->OnEnterIdle(static_cast<UINT>(c_.wParam), CLASSLIB_WND(c_.lParam)))},
