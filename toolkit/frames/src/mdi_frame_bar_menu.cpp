// CXTMDIFrameWnd's bar context menu: the frame's docking windows, toolbars and status bars to
// show or hide, and "Customize..." for the toolkit toolbar that was right-clicked.
#include "frames/bar_menu.h"
#include "frames/mdi_frame.h"
#include "frames/resource.h"

#include <vector>

namespace {

using xtframes::XTBarKind;

XTBarKind KindOf(CControlBar* pBar) {
    if (pBar->IsKindOf(RUNTIME_CLASS(CXTDockWindow))) {
        return XTBarKind::DockWindow;
    }
    if (pBar->IsKindOf(RUNTIME_CLASS(CXTToolBar))) {
        return pBar->IsKindOf(RUNTIME_CLASS(CXTMenuBar)) ? XTBarKind::Other : XTBarKind::ToolBar;
    }
    if (pBar->IsKindOf(RUNTIME_CLASS(CStatusBar))) {
        return XTBarKind::StatusBar;
    }
    return XTBarKind::Other;
}

std::string LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return static_cast<LPCTSTR>(text);
}

}  // namespace

LRESULT CXTMDIFrameWnd::OnBarContextMenu(WPARAM wParam, LPARAM lParam) {
    auto* clicked = reinterpret_cast<CXTControlBar*>(lParam);
    m_pCustomBar = nullptr;
    if (clicked != nullptr && KindOf(clicked) == XTBarKind::ToolBar) {
        m_pCustomBar = static_cast<CXTToolBar*>(static_cast<CControlBar*>(clicked));
    }

    std::vector<xtframes::XTBarEntry> bars;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        const XTBarKind kind = KindOf(bar);
        if (kind == XTBarKind::Other || bar->m_hWnd == nullptr) {
            continue;
        }
        CString title;
        bar->GetWindowText(title);
        bars.push_back({kind, static_cast<UINT>(bar->GetDlgCtrlID()), static_cast<LPCTSTR>(title),
                        (bar->GetStyle() & WS_VISIBLE) != 0});
    }
    const xtframes::XTBarMenuTexts texts{LoadText(XT_IDS_DOCKWINDOW), LoadText(XT_IDS_TOOLBAR),
                                         LoadText(XT_IDS_STATUSBAR), LoadText(XT_IDS_CUSTOMIZE)};
    const std::vector<xtframes::XTBarMenuItem> items =
        xtframes::XTBuildBarMenu(bars, m_pCustomBar != nullptr, texts);
    if (items.empty()) {
        return 0;
    }

    CMenu menu;
    if (!menu.CreatePopupMenu()) {
        return 0;
    }
    for (const xtframes::XTBarMenuItem& item : items) {
        if (item.separator) {
            menu.AppendMenu(MF_SEPARATOR);
        } else {
            menu.AppendMenu(MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), item.nID,
                            item.text.c_str());
        }
    }
    CWnd* owner = clicked != nullptr ? clicked->GetOwner() : this;
    POINT point{0, 0};
    if (wParam != 0) {
        point = *reinterpret_cast<const POINT*>(wParam);
    } else {
        ::GetCursorPos(&point);
    }
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, owner != nullptr ? owner : this);
    menu.DestroyMenu();
    return 0;
}

void CXTMDIFrameWnd::OnCustomizeBar() {
    // The toolbar may have gone since its menu was shown.
    if (m_pCustomBar != nullptr && m_listControlBars.Find(m_pCustomBar) != nullptr &&
        m_pCustomBar->m_hWnd != nullptr) {
        m_pCustomBar->SendMessage(TB_CUSTOMIZE);
    }
}
