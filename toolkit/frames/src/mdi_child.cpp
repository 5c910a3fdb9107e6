// CXTMDIChildWnd: docking, bar state, icon and refresh, as in the toolkit's MDI frame.
#include "frames/mdi_child.h"

#include "frame_support.h"

IMPLEMENT_DYNCREATE(CXTMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CXTMDIChildWnd, CMDIChildWnd)
ON_WM_CLOSE()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CXTMDIChildWnd::CXTMDIChildWnd() = default;

void CXTMDIChildWnd::LoadBarState(LPCTSTR lpszProfileName) {
    xtframes::LoadDockWindowSizes(this, lpszProfileName);
    CMDIChildWnd::LoadBarState(lpszProfileName);
}

void CXTMDIChildWnd::SaveBarState(LPCTSTR lpszProfileName) {
    CMDIChildWnd::SaveBarState(lpszProfileName);
    xtframes::SaveDockWindowSizes(this, lpszProfileName);
}

void CXTMDIChildWnd::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf) {
    xtframes::DockControlBarLeftOf(this, pBar, pLeftOf);
}

BOOL CXTMDIChildWnd::LoadIcon(CREATESTRUCT& cs, UINT nIconID) {
    xtframes::UseIconClass(cs, nIconID);
    return CMDIChildWnd::PreCreateWindow(cs);
}

void CXTMDIChildWnd::EnableDocking(DWORD dwDockStyle) {
    xtframes::EnableDocking(this, dwDockStyle);
}

void CXTMDIChildWnd::EnableDocking(DWORD dwDockStyle, DWORD dwDockBarFlags) {
    xtframes::EnableDocking(this, dwDockStyle);
    xtframes::SetDockBarFlags(this, dwDockBarFlags);
}

void CXTMDIChildWnd::DockWindow(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    xtframes::DockWindow(this, pBar, pDockBar, lpRect);
}

void CXTMDIChildWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    xtframes::DockControlBar(this, pBar, nDockBarID, lpRect);
}

BOOL CXTMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) { return CMDIChildWnd::PreCreateWindow(cs); }

void CXTMDIChildWnd::OnClose() {
    SetActiveView(nullptr, TRUE);
    CMDIChildWnd::OnClose();
}

void CXTMDIChildWnd::OnSysColorChange() {
    CMDIChildWnd::OnSysColorChange();
    xtframes::RefreshSharedUIData();
}

void CXTMDIChildWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    CMDIChildWnd::OnSettingChange(uFlags, lpszSection);
    xtframes::RefreshSharedUIData();
}
