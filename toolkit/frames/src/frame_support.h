// What the toolkit's MDI frame and child frame do alike: toolkit dock bars and floating frames,
// docking by side, the docking windows' sizes beside the bar state, the icon's window class and
// the shared UI record's refresh.
#pragma once

#include "docking/docking.h"

namespace xtframes {

void EnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle);
void SetDockBarFlags(CFrameWnd* pFrame, DWORD dwDockBarFlags);
void DockWindow(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void DockControlBar(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect);
void DockControlBarLeftOf(CFrameWnd* pFrame, CControlBar* pBar, CControlBar* pLeftOf);

// The docking windows' halves of loading and saving the bar state (the frame adds the class
// library's half).
void LoadDockWindowSizes(CFrameWnd* pFrame, LPCTSTR lpszProfileName);
void SaveDockWindowSizes(CFrameWnd* pFrame, LPCTSTR lpszProfileName);

// A window class with the program's icon nIconID and nothing else, in cs.lpszClass.
void UseIconClass(CREATESTRUCT& cs, UINT nIconID);

// The shared UI record follows the system's colours and metrics.
void RefreshSharedUIData();

}  // namespace xtframes
