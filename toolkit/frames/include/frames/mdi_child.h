// CXTMDIChildWnd: the toolkit's MDI child frame, docking toolkit bars on its own sides and
// keeping the docking windows' sizes with the bar state, as the toolkit's main frame does.
#pragma once

#include "docking/docking.h"

class CXTMDIChildWnd : public CMDIChildWnd {
    DECLARE_DYNCREATE(CXTMDIChildWnd)
public:
    CXTMDIChildWnd();

    // As in CXTMDIFrameWnd.
    virtual void LoadBarState(LPCTSTR lpszProfileName);
    virtual void SaveBarState(LPCTSTR lpszProfileName);
    virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
    virtual BOOL LoadIcon(CREATESTRUCT& cs, UINT nIconID);

    void EnableDocking(DWORD dwDockStyle);
    void EnableDocking(DWORD dwDockStyle, DWORD dwDockBarFlags);
    void DockWindow(CControlBar* pBar, CDockBar* pDockBar = nullptr, LPCRECT lpRect = nullptr);
    using CMDIChildWnd::DockControlBar;
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    void OnClose();
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);

    DECLARE_MESSAGE_MAP()
};
