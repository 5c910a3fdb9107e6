// CStatusBar: panes over the system's status control, their widths and texts, the first pane as
// the window text, and the panes' idle update.
#include "classlib/classlib.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_NCHITTEST()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_SIZE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {

// Room around a pane's text inside its border.
const int kPaneBorder = 6;

}  // namespace

CStatusBar::CStatusBar() {
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    // The bar's CBRS_* bits are its own; the control gets the rest and does no layout itself.
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                        CCS_NODIVIDER | CCS_NORESIZE;
    if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME)) {
        windowStyle |= SBARS_SIZEGRIP;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::Create(STATUSCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

AFX_STATUSPANE* CStatusBar::Pane(int nIndex) {
    return nIndex >= 0 && nIndex < static_cast<int>(m_panes.size()) ? &m_panes[nIndex] : nullptr;
}

const AFX_STATUSPANE* CStatusBar::Pane(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_panes.size()) ? &m_panes[nIndex] : nullptr;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    m_panes.assign(static_cast<size_t>(std::max(nIDCount, 0)), AFX_STATUSPANE());
    m_nCount = static_cast<int>(m_panes.size());
    BOOL ok = TRUE;
    if (lpIDArray != nullptr) {
        // Widths are measured in the bar's own font.
        CClientDC dc(nullptr);
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc.m_hDC, font) : nullptr;
        for (int i = 0; i < m_nCount; ++i) {
            AFX_STATUSPANE& pane = m_panes[i];
            pane.nID = lpIDArray[i];
            pane.bDirty = TRUE;
            if (pane.nID != ID_SEPARATOR) {
                if (!AfxLoadStandardString(pane.strText, pane.nID)) {
                    ok = FALSE;
                }
                pane.cxText = dc.GetTextExtent(pane.strText).cx;
            } else {
                // An empty pane gets a quarter of the screen; the first one stretches over
                // what the others leave.
                pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0) {
                    pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
                }
            }
        }
        if (oldFont != nullptr) {
            ::SelectObject(dc.m_hDC, oldFont);
        }
    }
    UpdateAllPanes(TRUE, TRUE);
    return ok;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < m_nCount; ++i) {
        if (m_panes[i].nID == nIDFind) {
            return i;
        }
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    const AFX_STATUSPANE* pane = Pane(nIndex);
    return pane != nullptr ? pane->nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    ::SetRectEmpty(lpRect);
    if (Pane(nIndex) != nullptr) {
        ::SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex),
                       reinterpret_cast<LPARAM>(lpRect));
    }
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const {
    const AFX_STATUSPANE* pane = Pane(nIndex);
    rString = pane != nullptr ? pane->strText : CString();
}

CString CStatusBar::GetPaneText(int nIndex) const {
    CString text;
    GetPaneText(nIndex, text);
    return text;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    AFX_STATUSPANE* pane = Pane(nIndex);
    if (pane == nullptr) {
        return FALSE;
    }
    CString text(lpszNewText != nullptr ? lpszNewText : "");
    if (!pane->bDirty && pane->strText == text) {
        return TRUE;
    }
    pane->strText = text;
    pane->bDirty = TRUE;
    if (bUpdate) {
        SendPaneText(nIndex);
    }
    return TRUE;
}

void CStatusBar::SendPaneText(int nIndex) {
    AFX_STATUSPANE* pane = Pane(nIndex);
    if (pane == nullptr || m_hWnd == nullptr) {
        return;
    }
    pane->bDirty = FALSE;
    // A disabled pane keeps its text but shows none.
    LPCTSTR shown = (pane->nStyle & SBPS_DISABLED) ? "" : static_cast<LPCTSTR>(pane->strText);
    DefWindowProc(SB_SETTEXTA, static_cast<WPARAM>((LOWORD(pane->nStyle) & 0xFF00) | nIndex),
                  reinterpret_cast<LPARAM>(shown));
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    const AFX_STATUSPANE* pane = Pane(nIndex);
    nID = pane != nullptr ? pane->nID : 0;
    nStyle = pane != nullptr ? pane->nStyle : 0;
    cxWidth = pane != nullptr ? pane->cxText : 0;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    AFX_STATUSPANE* pane = Pane(nIndex);
    if (pane == nullptr) {
        return;
    }
    pane->nID = nID;
    BOOL resized = pane->cxText != cxWidth;
    pane->cxText = std::max(cxWidth, 0);
    SetPaneStyle(nIndex, nStyle);
    if (resized) {
        UpdateAllPanes(TRUE, FALSE);
    }
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    const AFX_STATUSPANE* pane = Pane(nIndex);
    return pane != nullptr ? pane->nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    AFX_STATUSPANE* pane = Pane(nIndex);
    if (pane == nullptr || pane->nStyle == nStyle) {
        return;
    }
    BOOL stretchChanged = ((pane->nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane->nStyle = nStyle;
    if (stretchChanged) {
        UpdateAllPanes(TRUE, FALSE);
    }
    SendPaneText(nIndex);
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
    if (m_hWnd == nullptr) {
        return;
    }
    if (bUpdateRects && m_nCount > 0) {
        CRect client;
        GetClientRect(&client);
        int borders[3] = {0, 0, 0};  // horizontal edge, vertical edge, between panes
        DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
        // What the panes' texts leave goes to the stretching panes, shared out evenly.
        int extra = client.Width() + borders[2] - borders[0];
        if (GetStyle() & SBARS_SIZEGRIP) {
            extra -= ::GetSystemMetrics(SM_CXVSCROLL);
        }
        int stretching = 0;
        for (const AFX_STATUSPANE& pane : m_panes) {
            extra -= pane.cxText + kPaneBorder + borders[2];
            if (pane.nStyle & SBPS_STRETCH) {
                ++stretching;
            }
        }
        std::vector<int> rights(m_panes.size());
        int right = borders[0];
        for (size_t i = 0; i < m_panes.size(); ++i) {
            right += m_panes[i].cxText + kPaneBorder;
            if ((m_panes[i].nStyle & SBPS_STRETCH) && extra > 0) {
                int share = extra / stretching;
                right += share;
                extra -= share;
                --stretching;
            }
            rights[i] = right;
            right += borders[2];
        }
        DefWindowProc(SB_SETPARTS, static_cast<WPARAM>(m_nCount),
                      reinterpret_cast<LPARAM>(rights.data()));
        // Setting the parts drops the control's texts: every pane is given its own again.
        for (AFX_STATUSPANE& pane : m_panes) {
            pane.bDirty = TRUE;
        }
        bUpdateText = TRUE;
    }
    if (bUpdateText) {
        for (int i = 0; i < m_nCount; ++i) {
            if (m_panes[i].bDirty) {
                SendPaneText(i);
            }
        }
    }
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    TEXTMETRICA tm = {};
    {
        CClientDC dc(nullptr);
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc.m_hDC, font) : nullptr;
        dc.GetTextMetrics(&tm);
        if (oldFont != nullptr) {
            ::SelectObject(dc.m_hDC, oldFont);
        }
    }
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    int borders[3] = {0, 0, 0};
    DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    // One line of text in the panes' frames, plus the bar's own borders.
    int cy = tm.tmHeight - tm.tmInternalLeading - 1 + borders[1] * 2 +
             ::GetSystemMetrics(SM_CYBORDER) * 2 - inside.Height();
    return CSize(32767, std::max(cy, m_nMinHeight));
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_nCount);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].nID;
        // The bar's own update handlers first, then the owner's route (panes are never
        // disabled for want of a handler).
        if (CCmdTarget::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr)) {
            continue;
        }
        state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    int index = CommandToIndex(ID_SEPARATOR);
    if (index < 0) {
        return FALSE;
    }
    return SetPaneText(index, reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    int index = CommandToIndex(ID_SEPARATOR);
    auto* buffer = reinterpret_cast<LPTSTR>(lParam);
    if (buffer == nullptr || wParam == 0) {
        return 0;
    }
    CString text = index >= 0 ? m_panes[index].strText : CString();
    int length = std::min(text.GetLength(), static_cast<int>(wParam) - 1);
    std::copy_n(static_cast<LPCTSTR>(text), length, buffer);
    buffer[length] = '\0';
    return length;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
    int index = CommandToIndex(ID_SEPARATOR);
    return index >= 0 ? m_panes[index].strText.GetLength() : 0;
}

LRESULT CStatusBar::OnNcHitTest(CPoint) {
    // The size grip sizes the frame; everywhere else is the bar.
    LRESULT hit = Default();
    return hit == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

void CStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) { CalcNcBorders(lpncsp); }

void CStatusBar::OnNcPaint() { EraseNonClient(); }

void CStatusBar::OnPaint() { Default(); }

void CStatusBar::OnSize(UINT, int, int) {
    Default();
    UpdateAllPanes(TRUE, FALSE);
}

// Update state of a pane.

void CStatusCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    auto* bar = static_cast<CStatusBar*>(m_pOther);
    UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_DISABLED;
    bar->SetPaneStyle(static_cast<int>(m_nIndex), bOn ? style : style | SBPS_DISABLED);
}

void CStatusCmdUI::SetCheck(int nCheck) {
    auto* bar = static_cast<CStatusBar*>(m_pOther);
    UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_POPOUT;
    bar->SetPaneStyle(static_cast<int>(m_nIndex), nCheck != 0 ? style | SBPS_POPOUT : style);
}

void CStatusCmdUI::SetText(LPCTSTR lpszText) {
    static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
}
