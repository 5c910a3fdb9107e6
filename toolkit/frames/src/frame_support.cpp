// The work the toolkit's MDI frame and child frame share.
#include "frame_support.h"

#include "frames/bar_sections.h"
#include "frames/dock_sides.h"

#include <memory>

namespace xtframes {

namespace {

CString SectionName(LPCTSTR lpszProfileName, int nSection) {
    CString section;
    section.Format("%s-Bar%d", lpszProfileName, nSection);
    return section;
}

// The section of the docking window's identifier, or an empty name when there is none.
CString FindSection(CXTDockWindow* pWindow, LPCTSTR lpszProfileName) {
    CWinApp* app = AfxGetApp();
    const int n = XTFindBarSection(static_cast<UINT>(pWindow->GetDlgCtrlID()), [&](int nSection) {
        return static_cast<int>(
            app->GetProfileInt(SectionName(lpszProfileName, nSection), "BarID", -1));
    });
    return n < 0 ? CString() : SectionName(lpszProfileName, n);
}

template <typename Visit>
void ForEachDockWindow(CFrameWnd* pFrame, Visit visit) {
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (auto* window = DYNAMIC_DOWNCAST(CXTDockWindow, bar)) {
            visit(window);
        }
    }
}

}  // namespace

void EnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle) {
    pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CXTMiniDockFrameWnd);
    for (const XTDockSide& side : kXTDockSides) {
        if (!(side.dwAlign & dwDockStyle) || pFrame->GetControlBar(side.nID) != nullptr) {
            continue;
        }
        auto dockBar = std::make_unique<CXTDockBar>();
        dockBar->m_bAutoDelete = FALSE;  // until its window is there to own it
        if (!dockBar->Create(
                pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.dwStyle,
                side.nID)) {
            AfxThrowResourceException();
        }
        dockBar->m_bAutoDelete = TRUE;
        dockBar.release();  // deleted with its window
    }
}

void SetDockBarFlags(CFrameWnd* pFrame, DWORD dwDockBarFlags) {
    for (const XTDockSide& side : kXTDockSides) {
        if (auto* dockBar = DYNAMIC_DOWNCAST(CXTDockBar, pFrame->GetControlBar(side.nID))) {
            dockBar->m_dwDockBarFlags = dwDockBarFlags;
        }
    }
}

void DockWindow(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    if (pDockBar == nullptr) {
        const UINT nID = XTDockBarForAlignment(pBar->m_dwStyle);
        pDockBar = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(nID));
    }
    if (pDockBar != nullptr) {
        pDockBar->DockControlBar(pBar, lpRect);
    }
}

void DockControlBar(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    CDockBar* dockBar =
        nDockBarID == 0 ? nullptr : DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(nDockBarID));
    DockWindow(pFrame, pBar, dockBar, lpRect);
}

void DockControlBarLeftOf(CFrameWnd* pFrame, CControlBar* pBar, CControlBar* pLeftOf) {
    pFrame->RecalcLayout(TRUE);
    CRect rect;
    pLeftOf->GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    DockControlBar(pFrame, pBar, XTDockBarBeside(pLeftOf->GetBarStyle()), &rect);
}

void LoadDockWindowSizes(CFrameWnd* pFrame, LPCTSTR lpszProfileName) {
    ForEachDockWindow(pFrame, [&](CXTDockWindow* window) {
        const CString section = FindSection(window, lpszProfileName);
        if (!section.IsEmpty()) {
            window->LoadBarPosition(section);
        }
    });
}

void SaveDockWindowSizes(CFrameWnd* pFrame, LPCTSTR lpszProfileName) {
    ForEachDockWindow(pFrame, [&](CXTDockWindow* window) {
        const CString section = FindSection(window, lpszProfileName);
        if (!section.IsEmpty()) {
            window->SaveBarPosition(section);
        }
    });
}

void UseIconClass(CREATESTRUCT& cs, UINT nIconID) {
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIconID));
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, icon);
}

void RefreshSharedUIData() {
    xtAfxData.UpdateSysColors();
    xtAfxData.UpdateSysMetrics();
}

}  // namespace xtframes
