// CXTMDIFrameWnd: docking, bar state, icon, refresh and the menu toolkit's members.
#include "frames/mdi_frame.h"

#include "frame_support.h"
#include "frames/resource.h"

IMPLEMENT_DYNCREATE(CXTMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CXTMDIFrameWnd, CMDIFrameWnd)
ON_WM_CLOSE()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_MESSAGE(WM_BAR_CONTEXTMENU, OnBarContextMenu)
ON_COMMAND(XT_IDC_CUSTOMIZE, OnCustomizeBar)
ON_COMMAND_EX_RANGE(XT_IDC_BAR_FIRST, XT_IDC_BAR_LAST, OnBarCheck)
ON_UPDATE_COMMAND_UI_RANGE(XT_IDC_BAR_FIRST, XT_IDC_BAR_LAST, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CXTMDIFrameWnd::CXTMDIFrameWnd() = default;

void CXTMDIFrameWnd::LoadBarState(LPCTSTR lpszProfileName) {
    xtframes::LoadDockWindowSizes(this, lpszProfileName);
    CMDIFrameWnd::LoadBarState(lpszProfileName);
}

void CXTMDIFrameWnd::SaveBarState(LPCTSTR lpszProfileName) {
    // The library's sections first: the docking windows find theirs among them.
    CMDIFrameWnd::SaveBarState(lpszProfileName);
    xtframes::SaveDockWindowSizes(this, lpszProfileName);
}

void CXTMDIFrameWnd::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf) {
    xtframes::DockControlBarLeftOf(this, pBar, pLeftOf);
}

BOOL CXTMDIFrameWnd::LoadIcon(CREATESTRUCT& cs, UINT nIconID) {
    xtframes::UseIconClass(cs, nIconID);
    // The library's own, not this class's: a derived frame's pre-creation calls this.
    return CMDIFrameWnd::PreCreateWindow(cs);
}

void CXTMDIFrameWnd::EnableDocking(DWORD dwDockStyle) {
    xtframes::EnableDocking(this, dwDockStyle);
}

void CXTMDIFrameWnd::EnableDocking(DWORD dwDockStyle, DWORD dwDockBarFlags) {
    xtframes::EnableDocking(this, dwDockStyle);
    xtframes::SetDockBarFlags(this, dwDockBarFlags);
}

void CXTMDIFrameWnd::DockWindow(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    xtframes::DockWindow(this, pBar, pDockBar, lpRect);
}

void CXTMDIFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    xtframes::DockControlBar(this, pBar, nDockBarID, lpRect);
}

void CXTMDIFrameWnd::InstallCoolMenus(UINT nIDToolbar) {
    m_coolMenu.Install(this);
    m_coolMenu.LoadToolbar(nIDToolbar);
}

void CXTMDIFrameWnd::InstallCoolMenus(const UINT* pIDToolbars, int nCount) {
    m_coolMenu.Install(this);
    m_coolMenu.LoadToolbars(pIDToolbars, nCount);
}

BOOL CXTMDIFrameWnd::PreCreateWindow(CREATESTRUCT& cs) { return CMDIFrameWnd::PreCreateWindow(cs); }

BOOL CXTMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_wndMenuBar.m_hWnd != nullptr && m_wndMenuBar.TranslateFrameMessage(pMsg)) {
        return TRUE;
    }
    return CMDIFrameWnd::PreTranslateMessage(pMsg);
}

void CXTMDIFrameWnd::OnClose() {
    SetActiveView(nullptr, TRUE);
    CMDIFrameWnd::OnClose();
}

void CXTMDIFrameWnd::OnSysColorChange() {
    CMDIFrameWnd::OnSysColorChange();
    xtframes::RefreshSharedUIData();
}

void CXTMDIFrameWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    CMDIFrameWnd::OnSettingChange(uFlags, lpszSection);
    xtframes::RefreshSharedUIData();
}
