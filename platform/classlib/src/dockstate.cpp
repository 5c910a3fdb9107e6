// The saved layout of a frame's bars: each bar's state in a profile section "<name>-Bar<n>",
// their number and the screen size in "<name>-Summary", and a frame's bars set from it.
#include "classlib/classlib.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CDockState, CObject)

namespace {

CString SectionName(LPCTSTR lpszProfileName, int nIndex) {
    CString section;
    section.Format("%s-Bar%d", lpszProfileName, nIndex);
    return section;
}

CString SummaryName(LPCTSTR lpszProfileName) {
    CString section;
    section.Format("%s-Summary", lpszProfileName);
    return section;
}

int ReadInt(CWinApp* app, LPCTSTR section, LPCTSTR entry, int fallback) {
    return static_cast<int>(app->GetProfileInt(section, entry, fallback));
}

}  // namespace

// One bar.

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) {
    CWinApp* app = AfxGetApp();
    CString section = SectionName(lpszProfileName, nIndex);
    app->WriteProfileString(section, nullptr, nullptr);  // what an earlier save left goes
    // A side with no bars has nothing to say.
    if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos == CPoint(-1, -1) &&
        m_arrBarID.size() <= 1) {
        return FALSE;
    }
    // Values at their defaults are left out.
    app->WriteProfileInt(section, "BarID", static_cast<int>(m_nBarID));
    if (!m_bVisible) {
        app->WriteProfileInt(section, "Visible", m_bVisible);
    }
    if (m_bFloating) {
        app->WriteProfileInt(section, "Horz", m_bHorz);
        app->WriteProfileInt(section, "Floating", m_bFloating);
    }
    if (m_pointPos.x != -1) {
        app->WriteProfileInt(section, "XPos", m_pointPos.x);
    }
    if (m_pointPos.y != -1) {
        app->WriteProfileInt(section, "YPos", m_pointPos.y);
    }
    if (m_nMRUWidth != 32767) {
        app->WriteProfileInt(section, "MRUWidth", m_nMRUWidth);
    }
    if (m_bDocking) {
        app->WriteProfileInt(section, "Docking", m_bDocking);
        app->WriteProfileInt(section, "MRUDockID", static_cast<int>(m_uMRUDockID));
        app->WriteProfileInt(section, "MRUDockLeftPos", m_rectMRUDockPos.left);
        app->WriteProfileInt(section, "MRUDockTopPos", m_rectMRUDockPos.top);
        app->WriteProfileInt(section, "MRUDockRightPos", m_rectMRUDockPos.right);
        app->WriteProfileInt(section, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
        app->WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
        app->WriteProfileInt(section, "MRUFloatXPos", m_ptMRUFloatPos.x);
        app->WriteProfileInt(section, "MRUFloatYPos", m_ptMRUFloatPos.y);
    }
    if (m_arrBarID.size() > 1) {
        app->WriteProfileInt(section, "Bars", static_cast<int>(m_arrBarID.size()));
        for (size_t i = 0; i < m_arrBarID.size(); ++i) {
            char entry[16];
            std::snprintf(entry, sizeof(entry), "Bar#%d", static_cast<int>(i));
            app->WriteProfileInt(section, entry, static_cast<int>(m_arrBarID[i]));
        }
    }
    return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState) {
    CWinApp* app = AfxGetApp();
    CString section = SectionName(lpszProfileName, nIndex);
    m_nBarID = static_cast<UINT>(ReadInt(app, section, "BarID", 0));
    m_bVisible = ReadInt(app, section, "Visible", TRUE);
    m_bHorz = ReadInt(app, section, "Horz", TRUE);
    m_bFloating = ReadInt(app, section, "Floating", FALSE);
    m_pointPos = CPoint(ReadInt(app, section, "XPos", -1), ReadInt(app, section, "YPos", -1));
    pDockState->ScalePoint(m_pointPos);
    m_nMRUWidth = ReadInt(app, section, "MRUWidth", 32767);
    m_bDocking = ReadInt(app, section, "Docking", FALSE);
    if (m_bDocking) {
        m_uMRUDockID = static_cast<UINT>(ReadInt(app, section, "MRUDockID", 0));
        m_rectMRUDockPos = CRect(ReadInt(app, section, "MRUDockLeftPos", 0),
                                 ReadInt(app, section, "MRUDockTopPos", 0),
                                 ReadInt(app, section, "MRUDockRightPos", 0),
                                 ReadInt(app, section, "MRUDockBottomPos", 0));
        pDockState->ScaleRectPos(m_rectMRUDockPos);
        m_dwMRUFloatStyle = static_cast<DWORD>(ReadInt(app, section, "MRUFloatStyle", 0));
        m_ptMRUFloatPos = CPoint(ReadInt(app, section, "MRUFloatXPos", -1),
                                 ReadInt(app, section, "MRUFloatYPos", -1));
        pDockState->ScalePoint(m_ptMRUFloatPos);
    }
    m_arrBarID.clear();
    int bars = ReadInt(app, section, "Bars", 0);
    for (int i = 0; i < bars; ++i) {
        char entry[16];
        std::snprintf(entry, sizeof(entry), "Bar#%d", i);
        m_arrBarID.push_back(static_cast<DWORD>(ReadInt(app, section, entry, 0)));
    }
    return m_nBarID != 0;
}

// All bars.

void CDockState::SaveState(LPCTSTR lpszProfileName) {
    CWinApp* app = AfxGetApp();
    CString summary = SummaryName(lpszProfileName);
    app->WriteProfileString(summary, nullptr, nullptr);
    int saved = 0;
    for (auto& info : m_arrBarInfo) {
        if (info->SaveState(lpszProfileName, saved)) {
            ++saved;
        }
    }
    app->WriteProfileInt(summary, "Bars", saved);
    CSize screen = GetScreenSize();
    app->WriteProfileInt(summary, "ScreenCX", screen.cx);
    app->WriteProfileInt(summary, "ScreenCY", screen.cy);
}

void CDockState::LoadState(LPCTSTR lpszProfileName) {
    CWinApp* app = AfxGetApp();
    CString summary = SummaryName(lpszProfileName);
    int bars = ReadInt(app, summary, "Bars", 0);
    SetScreenSize(
        CSize(ReadInt(app, summary, "ScreenCX", 0), ReadInt(app, summary, "ScreenCY", 0)));
    for (int i = 0; i < bars; ++i) {
        auto info = std::make_unique<CControlBarInfo>();
        info->LoadState(lpszProfileName, i, this);
        m_arrBarInfo.push_back(std::move(info));
    }
}

CSize CDockState::GetScreenSize() const {
    return CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

void CDockState::SetScreenSize(CSize size) {
    m_sizeSaved = size;
    CSize now = GetScreenSize();
    m_bScaling = size.cx > 0 && size.cy > 0 && size != now;
}

void CDockState::ScalePoint(CPoint& pt) const {
    if (!m_bScaling || pt == CPoint(-1, -1)) {
        return;
    }
    CSize now = GetScreenSize();
    pt.x = ::MulDiv(pt.x, now.cx, m_sizeSaved.cx);
    pt.y = ::MulDiv(pt.y, now.cy, m_sizeSaved.cy);
}

void CDockState::ScaleRectPos(CRect& rect) const {
    // The position scales; the size stays the bar's.
    CPoint topLeft = rect.TopLeft();
    CSize size = rect.Size();
    ScalePoint(topLeft);
    rect = CRect(topLeft, size);
}

// The frame.

void CFrameWnd::GetDockState(CDockState& state) const {
    state.Clear();
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        auto info = std::make_unique<CControlBarInfo>();
        bar->GetBarInfo(info.get());
        state.m_arrBarInfo.push_back(std::move(info));
    }
}

void CFrameWnd::SetDockState(const CDockState& state) {
    // First the bars, with a floating frame made for each floating dock bar; then each bar
    // takes its saved state (dock bars their rows); last the floating frames with something
    // to show appear.
    for (const auto& info : state.m_arrBarInfo) {
        info->m_pBar = nullptr;
        if (info->m_bFloating) {
            CMiniDockFrameWnd* frame =
                CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            CRect rect(info->m_pointPos, CSize(10, 10));
            frame->CalcWindowRect(&rect);
            frame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            info->m_pBar = &frame->m_wndDockBar;
        } else {
            info->m_pBar = GetControlBar(info->m_nBarID);
        }
        if (info->m_pBar != nullptr) {
            info->m_pBar->m_nMRUWidth = info->m_nMRUWidth;
        }
    }
    for (const auto& info : state.m_arrBarInfo) {
        if (info->m_pBar != nullptr) {
            info->m_pBar->SetBarInfo(info.get(), this);
        }
    }
    for (const auto& info : state.m_arrBarInfo) {
        if (info->m_pBar == nullptr || !info->m_bFloating) {
            continue;
        }
        auto* dockBar = static_cast<CDockBar*>(info->m_pBar);
        CFrameWnd* frame = dockBar->GetParentFrame();
        if (dockBar->GetDockedCount() == 0) {
            frame->DestroyWindow();  // none of its bars exists any more
        } else if (dockBar->GetDockedVisibleCount() > 0) {
            frame->RecalcLayout();
            frame->ShowWindow(SW_SHOWNA);
        }
    }
    DelayRecalcLayout();
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName) {
    CDockState state;
    state.LoadState(lpszProfileName);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const {
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}
