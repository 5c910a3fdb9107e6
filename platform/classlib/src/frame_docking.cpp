// CFrameWnd with bars: the list of its bars, dock bars on its sides, docking, floating and
// showing bars, the View menu's bar commands, the message bar's texts and tooltip texts.
#include "classlib/classlib.h"

#include <memory>
#include <vector>

namespace {

// The sides in the order they are looked at: a dock bar's id and the style of a bar docked
// there.
struct DockSide {
    UINT nID;
    DWORD dwStyle;
};
const DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

std::vector<CControlBar*> BarsOf(const CPtrList& list) {
    std::vector<CControlBar*> bars;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        bars.push_back(static_cast<CControlBar*>(list.GetNext(pos)));
    }
    return bars;
}

}  // namespace

// The list of bars.

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    if (nID == 0) {
        return nullptr;
    }
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar->m_hWnd != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) {
            return bar;
        }
    }
    return nullptr;
}

void CFrameWnd::AddControlBar(CControlBar* pBar) { m_listControlBars.AddTail(pBar); }

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    POSITION pos = m_listControlBars.Find(pBar);
    if (pos != nullptr) {
        m_listControlBars.RemoveAt(pos);
    }
}

// Docking.

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const DockSide& side : kDockSides) {
        if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.nID) != nullptr) {
            continue;
        }
        auto dockBar = std::make_unique<CDockBar>();
        dockBar->m_bAutoDelete = FALSE;  // until its window is there to own it
        if (!dockBar->Create(
                this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | side.dwStyle,
                side.nID)) {
            AfxThrowResourceException();
        }
        dockBar->m_bAutoDelete = TRUE;
        dockBar.release();  // the window owns it now: it goes in PostNcDestroy
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    CDockBar* dockBar =
        nDockBarID == 0 ? nullptr : DYNAMIC_DOWNCAST(CDockBar, GetControlBar(nDockBarID));
    DockControlBar(pBar, dockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    if (pDockBar == nullptr) {
        // The side the bar is aligned to; a bar aligned to none of them is not docked.
        for (const DockSide& side : kDockSides) {
            if ((side.dwStyle & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
                pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.nID));
                break;
            }
        }
    }
    if (pDockBar != nullptr) {
        pDockBar->DockControlBar(pBar, lpRect);
    }
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    if (pDockBar == nullptr) {
        // The side that kept the bar's place, else the side of its alignment.
        CDockBar* aligned = nullptr;
        void* holder = AfxDockPlaceholder(static_cast<UINT>(pBar->GetDlgCtrlID()));
        for (const DockSide& side : kDockSides) {
            CDockBar* dockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.nID));
            if (dockBar == nullptr) {
                continue;
            }
            if (AfxFindDockEntry(dockBar->m_arrBars, holder) > 0) {
                pDockBar = dockBar;
                break;
            }
            if ((side.dwStyle & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
                aligned = dockBar;
            }
        }
        if (pDockBar == nullptr) {
            pDockBar = aligned;
        }
    }
    if (pDockBar != nullptr) {
        pDockBar->ReDockControlBar(pBar, lpRect);
    }
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
    // Alone in a floating frame that lies the same way: the frame only moves.
    CDockBar* current = pBar->m_pDockBar;
    if (current != nullptr && current->m_bFloating && current->GetDockedCount() == 1 &&
        (dwStyle & current->m_dwStyle & CBRS_ALIGN_ANY) != 0) {
        CMiniDockFrameWnd* frame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, current->GetParent());
        if (frame != nullptr) {
            frame->SetWindowPos(nullptr, point.x, point.y, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            frame->RecalcLayout(TRUE);
            frame->UpdateWindow();
            return;
        }
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        // A bar that sizes itself floats as a horizontal bar and wraps to its width.
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT) {
            dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
        }
    }
    CMiniDockFrameWnd* frame = CreateFloatingFrame(dwStyle);
    frame->SetWindowPos(nullptr, point.x, point.y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->m_wndDockBar.DockControlBar(pBar);
    frame->RecalcLayout(TRUE);
    if (pBar->GetStyle() & WS_VISIBLE) {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
    }
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
    CRuntimeClass* frameClass =
        m_pFloatingFrameClass != nullptr ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    std::unique_ptr<CObject> made(frameClass->CreateObject());
    auto* frame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, made.get());
    if (frame == nullptr) {
        AfxThrowMemoryException();
    }
    made.release();  // a frame owns itself: a failed creation has deleted it already
    if (!frame->Create(this, dwStyle)) {
        AfxThrowResourceException();
    }
    return frame;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    CFrameWnd* frame = pBar->GetDockingFrame();
    if (bDelay) {
        pBar->DelayShow(bShow);
        frame->DelayRecalcLayout();
    } else {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                               (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        pBar->DelayShow(bShow);  // clears a delayed change the other way
        if (bShow || !pBar->IsFloating()) {
            frame->RecalcLayout(FALSE);
        }
    }
    if (!pBar->IsFloating()) {
        return;
    }
    // A floating frame shows while one of its bars does.
    int visible =
        pBar->m_pDockBar != nullptr ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
    if (visible == 1 && bShow) {
        frame->m_nShowDelay = -1;
        if (bDelay) {
            frame->m_nShowDelay = SW_SHOWNA;
            frame->RecalcLayout(FALSE);
        } else {
            frame->ShowWindow(SW_SHOWNA);
        }
    } else if (visible == 0) {
        frame->m_nShowDelay = -1;
        if (bDelay) {
            frame->m_nShowDelay = SW_HIDE;
        } else {
            frame->ShowWindow(SW_HIDE);
        }
    } else if (!bDelay) {
        frame->RecalcLayout(FALSE);
    }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
    // Only sides, and floating frames that take several bars when the bar may join one.
    dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (ppDockBar != nullptr) {
        *ppDockBar = nullptr;
    }
    for (CControlBar* bar : BarsOf(m_listControlBars)) {
        if (!bar->IsDockBar() || !bar->IsWindowVisible() ||
            !(bar->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY)) {
            continue;
        }
        auto* dockBar = static_cast<CDockBar*>(bar);
        if (dockBar->m_bFloating && !(dwDockStyle & dockBar->m_dwStyle & CBRS_FLOAT_MULTI)) {
            continue;
        }
        // An empty side is a line: it still catches an outline that crosses it.
        CRect barRect;
        dockBar->GetWindowRect(&barRect);
        if (barRect.Width() == 0) {
            ++barRect.right;
        }
        if (barRect.Height() == 0) {
            ++barRect.bottom;
        }
        CRect overlap;
        if (overlap.IntersectRect(&barRect, &rect)) {
            if (ppDockBar != nullptr) {
                *ppDockBar = dockBar;
            }
            return dockBar->m_dwStyle & dwDockStyle;
        }
    }
    return 0;
}

void CFrameWnd::DestroyDockBars() {
    // The list changes as dock bars and floating frames go: take them from a copy.
    for (CControlBar* bar : BarsOf(m_listControlBars)) {
        if (!bar->IsDockBar() || m_listControlBars.Find(bar) == nullptr) {
            continue;
        }
        auto* dockBar = static_cast<CDockBar*>(bar);
        if (dockBar->m_bFloating) {
            CFrameWnd* frame = dockBar->GetParentFrame();
            if (frame != nullptr && frame != this) {
                frame->DestroyWindow();
            }
        } else {
            dockBar->DestroyWindow();
        }
    }
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) {
    m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

// The View menu's bar commands.

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    if (bar == nullptr) {
        return FALSE;
    }
    ShowControlBar(bar, (bar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (bar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    int key = 0;
    switch (pCmdUI->m_nID) {
        case ID_INDICATOR_CAPS:
            key = VK_CAPITAL;
            break;
        case ID_INDICATOR_NUM:
            key = VK_NUMLOCK;
            break;
        case ID_INDICATOR_SCRL:
            key = VK_SCROLL;
            break;
        default:
            pCmdUI->ContinueRouting();
            return;
    }
    // The low bit of the key's state: toggled on.
    pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

// The message bar.

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    CString full;
    rMessage.Empty();
    if (AfxLoadStandardString(full, nID)) {
        // The prompt is the first line; the tooltip follows it.
        AfxExtractSubString(rMessage, full, 0, '\n');
    }
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) {
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    UINT shown = m_nIDLastMessage;
    CWnd* messageBar = GetMessageBar();
    if (messageBar != nullptr) {
        CString message;
        if (lParam != 0) {
            message = reinterpret_cast<LPCTSTR>(lParam);
        } else if (wParam != 0) {
            GetMessageString(static_cast<UINT>(wParam), message);
        }
        messageBar->SetWindowText(message);
        // The frame the bar belongs to knows what it shows as well.
        CFrameWnd* owner = messageBar->GetParentFrame();
        if (owner != nullptr && owner != this) {
            owner->m_nIDLastMessage = static_cast<UINT>(wParam);
            owner->m_nIDTracking = static_cast<UINT>(wParam);
        }
    }
    m_nIDLastMessage = static_cast<UINT>(wParam);
    m_nIDTracking = static_cast<UINT>(wParam);
    return shown;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    if (nFlags == 0xFFFF && hSysMenu == nullptr) {
        // The menu closed: back to the idle message at once.
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SetMessageText(m_nIDTracking);
        if (CWnd* messageBar = GetMessageBar()) {
            messageBar->UpdateWindow();
        }
    } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)) || nItemID >= 0xF000) {
        m_nIDTracking = 0;  // nothing to explain: separators, popups, system and window items
    } else {
        m_nIDTracking = nItemID;  // shown when the menu goes idle
    }
    Default();
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) {
    CWnd::OnEnterIdle(nWhy, pWho);
    if (nWhy == MSGF_MENU && m_nIDTracking != m_nIDLastMessage) {
        SetMessageText(m_nIDTracking);
    }
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    // The tool is a command, or a control (the tool's id is then its window).
    UINT id = static_cast<UINT>(pNMHDR->idFrom);
    UINT flags = pNMHDR->code == TTN_NEEDTEXTA ? reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR)->uFlags
                                               : reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR)->uFlags;
    if (flags & TTF_IDISHWND) {
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)));
    }
    CString tip;
    if (id != 0) {
        CString full;
        if (!full.LoadString(id)) {
            return FALSE;  // no text: the bar answers for itself
        }
        AfxExtractSubString(tip, full, 1, '\n');
    }
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        auto* text = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
        ::lstrcpynA(text->szText, tip, static_cast<int>(sizeof(text->szText)));
        text->lpszText = text->szText;
    } else {
        auto* text = reinterpret_cast<TOOLTIPTEXTW*>(pNMHDR);
        ::MultiByteToWideChar(CP_ACP, 0, tip, -1, text->szText,
                              static_cast<int>(sizeof(text->szText) / sizeof(WCHAR)));
        text->szText[sizeof(text->szText) / sizeof(WCHAR) - 1] = 0;
        text->lpszText = text->szText;
    }
    *pResult = 0;
    // Above the floating frames and other popups.
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
    return TRUE;
}
