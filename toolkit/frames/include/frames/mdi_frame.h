// CXTMDIFrameWnd: the toolkit's MDI main frame. Its dock bars are the toolkit's, its floating
// frames too; it keeps the docking windows' sizes with the bar state, shows the bar context menu
// of its bars and carries the menu toolkit's menu bar and cool menu.
#pragma once

#include "docking/docking.h"
#include "menus/cool_menu.h"
#include "menus/menubar.h"

class CXTMDIFrameWnd : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CXTMDIFrameWnd)
public:
    CXTMDIFrameWnd();

    // The bar state in the profile sections "<section>-Bar<n>": the class library's positions,
    // visibility and docking of every bar, and each docking window's sizes ("Bar Position" in
    // the section whose "BarID" is its identifier). A docking window without a section of its
    // own is skipped; the others and the library's state still load and save.
    virtual void LoadBarState(LPCTSTR lpszProfileName);
    virtual void SaveBarState(LPCTSTR lpszProfileName);
    // Docks pBar on the side of pLeftOf, just right of its left edge.
    virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
    // Gives the frame a window class of its own carrying the icon nIconID of the program's
    // resources; then the class library's pre-creation.
    virtual BOOL LoadIcon(CREATESTRUCT& cs, UINT nIconID);

    // Toolkit dock bars on the sides in dwDockStyle (CBRS_ALIGN_*) that have none yet, and
    // toolkit floating frames. Raises CResourceException when a dock bar cannot be made. The
    // second form also gives the flags to every dock bar (CXTDockBar::m_dwDockBarFlags).
    void EnableDocking(DWORD dwDockStyle);
    void EnableDocking(DWORD dwDockStyle, DWORD dwDockBarFlags);
    // Docks the bar in pDockBar, or without one in the dock bar of the bar's own alignment (none
    // when it is aligned to several sides).
    void DockWindow(CControlBar* pBar, CDockBar* pDockBar = nullptr, LPCRECT lpRect = nullptr);
    using CMDIFrameWnd::DockControlBar;
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);

    // Installs the cool menu on this frame with the images of one toolbar resource, or of
    // several.
    void InstallCoolMenus(UINT nIDToolbar);
    void InstallCoolMenus(const UINT* pIDToolbars, int nCount);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The menu bar's keys come first while it has a window.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The toolbar right-clicked last, for "Customize..."; null when the last right click was
    // on another kind of bar.
    CXTToolBar* GetCustomizableBar() const { return m_pCustomBar; }

    CXTCoolMenu m_coolMenu;
    CXTMenuBar m_wndMenuBar;

protected:
    CXTToolBar* m_pCustomBar = nullptr;

    void OnClose();
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    // WM_BAR_CONTEXTMENU: wParam the click (POINT*, screen), lParam the bar clicked.
    LRESULT OnBarContextMenu(WPARAM wParam, LPARAM lParam);
    void OnCustomizeBar();

    DECLARE_MESSAGE_MAP()
};
