// CXTMenuBar: a frame's menu shown as a dockable toolbar of text buttons, opened by click,
// Alt, F10 or mnemonics, with keyboard moves between its popups, the maximised MDI child's
// buttons at its end and the window list of the Window popup; CXTMBarWndHook, its hooks on the
// frame and the MDI client.
#pragma once

#include "menus/menubar_keys.h"
#include "menus/toolbar.h"
#include "menus/wnd_hook.h"

#include <vector>

// Posted to the bar to take the frame's own menu away once the bar shows it.
#define XT_WM_REMOVEFRAMEMENU 0x7F9

// The menu bar's control id.
#define XT_IDW_MENUBAR 0xE81A

class CXTMenuBar;

// A hook of the menu bar on its frame or on the frame's MDI client.
class CXTMBarWndHook : public CXTWndHook {
    DECLARE_DYNAMIC(CXTMBarWndHook)
public:
    CXTMBarWndHook() = default;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Stores the menu bar and hooks the window.
    virtual void HookFrame(CXTMenuBar* pMenuBar, HWND hWnd);

protected:
    CXTMenuBar* m_pMenuBar = nullptr;
};

class CXTMenuBar : public CXTToolBar {
    DECLARE_DYNAMIC(CXTMenuBar)
public:
    CXTMenuBar();
    ~CXTMenuBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = XT_IDW_MENUBAR) override;
    // The frame's menu bar: the toolbar, then the hooks on the frame and its MDI client.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT | TBSTYLE_LIST,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = XT_IDW_MENUBAR) override;

    // The keyboard rules, for the frame to call before it translates a message; TRUE when the
    // bar took the message.
    virtual BOOL TranslateFrameMessage(MSG* pMsg);
    // Shrinks the button area by the MDI buttons' room while a child is maximised.
    virtual void AdjustForMdiButtons(CRect& rc);
    virtual void LayoutMdiButtons();
    virtual int HitTestMdiButton(int x, int y);
    virtual CPoint GetPopupPosition(const CRect& rcButton, TPMPARAMS& tpm);
    virtual void BuildWindowList();
    virtual void DrawMdiButton(CDC* pDC, int nIndex, BOOL bPressed);
    virtual BOOL TrackMdiButton(UINT message, CPoint point);
    // A message of the open popup's loop; TRUE when the bar took it.
    virtual BOOL OnMenuInput(MSG* pMsg);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // Shows a menu's top-level popups as buttons; the Window popup gets the window list. The
    // previous menu.
    HMENU SetMenu(HMENU hMenu, HMENU hMenuWindow);
    // Loads the bar's own menu from the resources (FALSE, bar unchanged, when it is missing).
    BOOL LoadMenuBar(UINT nIDResource);
    BOOL LoadMenuBar(LPCTSTR lpszResourceName);
    HMENU GetMenu() const { return m_hMenu; }

    // Opens the popup of a button, then the ones Left, Right or the mouse move to.
    void TrackPopup(int nIndex);

    int GetTrackingState() const { return m_keys.State(); }
    int GetHotIndex() const { return m_keys.HotIndex(); }
    BOOL IsMdiMaximized() const { return m_bMdiMaximized; }
    const CRect& GetMdiButtonRect(int nIndex) const { return m_arrMdiButtons[nIndex]; }

    // Fed by the hooks (WM_MENUSELECT while a popup is open; the MDI client's repaint).
    void OnMenuSelectSeen(UINT nFlags, HMENU hMenu);
    void RefreshMdiState();

protected:
    friend class CXTMBarWndHook;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The toolbar's button area less the room of the MDI buttons, which lie outside it, in the
    // bar's non-client area.
    void CalcButtonArea(CRect& rect) override;
    void EraseNonClient() override;
    void SetTrackingState(int nState, int nIndex = -1);
    HWND OwnerHwnd() const;
    int ButtonCount() const { return GetButtonCount(); }
    int MdiButtonsLength(BOOL bHorz) const;

    xtmenus::MenuBarKeys m_keys;  // tracking state and hot button
    int m_nNextIndex = -1;
    int m_nMinLength = 0;
    BOOL m_bPopupHasSubmenu = FALSE;  // the open popup's selected item opens a submenu
    BOOL m_bInSubmenu = FALSE;        // the selection is in a submenu of the open popup
    HMENU m_hMenuSelected = nullptr;  // the menu of the selection, the open popup or a submenu
    BOOL m_bEscapePressed = FALSE;
    BOOL m_bFloating = FALSE;
    BOOL m_bMdiMaximized = FALSE;
    CRect m_arrMdiButtons[4];
    int m_nMdiPressed = -1;  // the caption button held down, or -1
    CPoint m_ptMouse{-1, -1};
    HWND m_hWndMDIClient = nullptr;
    HMENU m_hMenu = nullptr;
    HMENU m_hMenuShared = nullptr;  // a menu the bar loaded itself
    HMENU m_hMenuTracking = nullptr;
    HMENU m_hMenuWindow = nullptr;
    CXTMBarWndHook m_frameHook;
    CXTMBarWndHook m_clientHook;
    std::vector<CString> m_buttonTexts;  // each distinct text once, by its index in the control
};
