// CXTDockBar: rows of bars where docking windows share the length, and the splitter strips.
#include "docking/dock_bar.h"

#include "docking/aux_data.h"
#include "docking/control_bar.h"
#include "docking/dock_window.h"
#include "docking/mem_dc.h"

#include <algorithm>

using namespace xtdock;

namespace {

constexpr DWORD kKeepLibraryStyles = 0x40;
constexpr UINT kStatusBarID = 59393;

// The layout request a class-library bar is asked for by its orientation.
DWORD DockedMode(const CControlBar* pBar, BOOL bHorz) {
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING)) {
        return LM_HORZ | LM_MRUWIDTH;
    }
    return bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
}

// A bar as laid out by the pass, moved and given its borders at the end.
struct Placed {
    CControlBar* pBar;
    CRect rect;
    DWORD dwBorders;
};

int VisibleExtent(CFrameWnd* pFrame, UINT nID, BOOL bWidth) {
    CWnd* pWnd = pFrame->GetControlBar(nID);
    if (pWnd == nullptr || !(pWnd->GetStyle() & WS_VISIBLE)) {
        return 0;
    }
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return bWidth ? rect.Width() : rect.Height();
}

}  // namespace

IMPLEMENT_DYNAMIC(CXTDockBar, CDockBar)

BEGIN_MESSAGE_MAP(CXTDockBar, CDockBar)
ON_WM_NCHITTEST()
ON_WM_SETCURSOR()
ON_WM_NCLBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_KEYDOWN()
ON_COMMAND(IDCANCEL, OnCancelTrack)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CXTDockBar::CXTDockBar() = default;

CXTDockBar::~CXTDockBar() = default;

BOOL CXTDockBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CDockBar::PreCreateWindow(cs)) {
        return FALSE;
    }
    m_dwStyle &= ~CBRS_BORDER_ANY;
    if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        m_dwStyle |= CBRS_BORDER_BOTTOM;
    }
    return TRUE;
}

BOOL CXTDockBar::IsHorzDockBar() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

XTDockSide CXTDockBar::GetSide() const {
    return IsHorzDockBar() ? XTDockSide::Horz : XTDockSide::Vert;
}

void CXTDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    if (auto* pWnd = DYNAMIC_DOWNCAST(CXTDockWindow, pBar)) {
        pWnd->SetToolkitStyle(pWnd->GetToolkitStyle() | XTCBS_REDOCKED);
    }
    CDockBar::DockControlBar(pBar, lpRect);
}

void CXTDockBar::GetRow(int nPos, XTDockRow& row, std::vector<CControlBar*>& bars, int& nRowStart) {
    row.clear();
    bars.clear();
    nRowStart = static_cast<int>(AfxDockRowStart(m_arrBars, nPos));
    const int nRowEnd = static_cast<int>(AfxDockRowEnd(m_arrBars, nPos));
    const BOOL bHorz = IsHorzDockBar();
    for (int i = nRowStart; i < nRowEnd; ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        XT_ROW_BAR entry;
        entry.bVisible = pBar != nullptr && pBar->IsVisible();
        if (auto* pWnd = DYNAMIC_DOWNCAST(CXTDockWindow, pBar)) {
            entry.bDockWindow = TRUE;
            entry.bNewlyDocked = (pWnd->GetToolkitStyle() & XTCBS_REDOCKED) != 0;
            entry.sizes = pWnd->GetDockSizes();
        } else if (entry.bVisible) {
            entry.sizeFixed = pBar->CalcDynamicLayout(-1, DockedMode(pBar, bHorz));
        }
        row.push_back(entry);
        bars.push_back(pBar);
    }
}

void CXTDockBar::ApplyRow(const XTDockRow& row, const std::vector<CControlBar*>& bars,
                          BOOL bResize) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        auto* pWnd = DYNAMIC_DOWNCAST(CXTDockWindow, bars[i]);
        if (pWnd == nullptr) {
            continue;
        }
        const CSize sizeOld = pWnd->GetDockSizes().sizeCurrent;
        pWnd->SetDockSizes(row[i].sizes);
        if (!row[i].bNewlyDocked && (pWnd->GetToolkitStyle() & XTCBS_REDOCKED)) {
            pWnd->SetToolkitStyle(pWnd->GetToolkitStyle() & ~XTCBS_REDOCKED);
        }
        const CSize size = row[i].sizes.sizeCurrent;
        if (bResize && size != sizeOld && pWnd->m_hWnd != nullptr) {
            pWnd->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        }
    }
}

void CXTDockBar::ExpandWindow(CXTDockWindow* pWnd, BOOL bRecalc) {
    const int nPos = FindBar(pWnd);
    if (nPos < 0) {
        return;
    }
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    GetRow(nPos, row, bars, nRowStart);
    XTExpandInRow(row, GetSide(), nPos - nRowStart);
    ApplyRow(row, bars, FALSE);
    if (bRecalc) {
        if (CFrameWnd* pFrame = GetParentFrame()) {
            pFrame->RecalcLayout(TRUE);
        }
    }
}

void CXTDockBar::ContractRow(CXTDockWindow* pWnd, BOOL bRecalc) {
    const int nPos = FindBar(pWnd);
    if (nPos < 0) {
        return;
    }
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    GetRow(nPos, row, bars, nRowStart);
    XTContractRow(row, GetSide());
    ApplyRow(row, bars, FALSE);
    if (bRecalc) {
        if (CFrameWnd* pFrame = GetParentFrame()) {
            pFrame->RecalcLayout(TRUE);
        }
    }
}

int CXTDockBar::GetMaxRowThickness() {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr) {
        return 0;
    }
    CRect client;
    pFrame->GetClientRect(&client);
    if (IsHorzDockBar()) {
        return client.Height() - VisibleExtent(pFrame, AFX_IDW_DOCKBAR_TOP, FALSE) -
               VisibleExtent(pFrame, AFX_IDW_DOCKBAR_BOTTOM, FALSE) -
               VisibleExtent(pFrame, kStatusBarID, FALSE);
    }
    return client.Width() - VisibleExtent(pFrame, AFX_IDW_DOCKBAR_LEFT, TRUE) -
           VisibleExtent(pFrame, AFX_IDW_DOCKBAR_RIGHT, TRUE);
}

int CXTDockBar::SetRowThickness(int nRowStart, int nThickness) {
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nStart = 0;
    GetRow(nRowStart, row, bars, nStart);
    XTSetRowThickness(row, GetSide(), nThickness);
    ApplyRow(row, bars, TRUE);
    return nThickness;
}

int CXTDockBar::GrowBefore(int nBarIndex, int d) {
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    GetRow(nBarIndex, row, bars, nRowStart);
    const int nLeft = XTGrowBefore(row, GetSide(), nBarIndex - nRowStart, d);
    ApplyRow(row, bars, TRUE);
    return nLeft;
}

int CXTDockBar::GrowAfter(int nBarIndex, int d) {
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    GetRow(nBarIndex, row, bars, nRowStart);
    const int nLeft = XTGrowAfter(row, GetSide(), nBarIndex - nRowStart, d);
    ApplyRow(row, bars, TRUE);
    return nLeft;
}

CSize CXTDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    Invalidate(FALSE);
    // Stretched, the dock bar spans its side even while empty, so that an outline crossing the
    // side anywhere can dock there.
    const CSize fixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    CSize room;
    if (!m_rectLayout.IsRectEmpty()) {
        room = m_rectLayout.Size();
    } else {
        CRect client;
        GetParent()->GetClientRect(&client);
        room = client.Size();
    }
    const int nLength = bHorz ? room.cx : room.cy;
    const XTDockSide side = bHorz ? XTDockSide::Horz : XTDockSide::Vert;
    // Strips lie after each row on top and left dock bars (toward the frame's centre), before
    // each row on bottom and right ones.
    const bool bStripAfter = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
    const DWORD dwLeading = bHorz ? CBRS_BORDER_LEFT : CBRS_BORDER_TOP;
    const DWORD dwTrailing = bHorz ? CBRS_BORDER_RIGHT : CBRS_BORDER_BOTTOM;
    const DWORD dwRowLeading = bHorz ? CBRS_BORDER_TOP : CBRS_BORDER_LEFT;
    const DWORD dwRowTrailing = bHorz ? CBRS_BORDER_BOTTOM : CBRS_BORDER_RIGHT;
    const int nOverlap = bHorz ? 2 * ::GetSystemMetrics(SM_CYBORDER) : 2;

    m_arrSplitters.clear();
    std::vector<Placed> placed;
    std::size_t nPrevRowFirst = 0;
    std::size_t nPrevRowEnd = 0;
    bool bStripBeforeRow = false;  // a strip after the previous row faces this one
    int across = 0;
    int widest = 0;
    auto addStrip = [this](std::unique_ptr<CXTSplitterDock> pStrip) {
        m_arrSplitters.push_back(std::move(pStrip));
    };

    for (int pos = 1; pos < static_cast<int>(m_arrBars.GetSize());) {
        const int nRowEnd = static_cast<int>(AfxDockRowEnd(m_arrBars, pos));
        XTDockRow row;
        std::vector<CControlBar*> bars;
        int nRowStart = 0;
        GetRow(pos, row, bars, nRowStart);
        if (std::none_of(row.begin(), row.end(), [](const XT_ROW_BAR& b) { return b.bVisible; })) {
            pos = nRowEnd + 1;
            continue;
        }
        const int nWindows = XTRowDockWindowCount(row);
        if (nWindows > 0) {
            XTFitRow(row, side, nLength);
            for (XT_ROW_BAR& bar : row) {
                if (bar.bVisible && bar.bDockWindow) {
                    bar.sizes.bAloneInRow = nWindows == 1;
                    if (nWindows == 1 && bar.sizes.bExpanded) {
                        XTRestoreSize(bar.sizes, side);
                    }
                }
            }
            ApplyRow(row, bars, FALSE);
        }
        int nThickness = 0;
        for (const XT_ROW_BAR& bar : row) {
            if (bar.bVisible) {
                const CSize size = bar.bDockWindow ? bar.sizes.sizeCurrent : bar.sizeFixed;
                nThickness = std::max(nThickness, XTThicknessOf(size, side));
            }
        }
        bool bLoseRowLeading = bStripBeforeRow;
        bStripBeforeRow = false;
        if (nWindows > 0 && !bStripAfter) {
            const CRect rect = bHorz ? CRect(0, across, nLength, across + XT_SPLITTER_SIZE)
                                     : CRect(across, 0, across + XT_SPLITTER_SIZE, nLength);
            addStrip(std::make_unique<CXTSplitterDock>(
                this, rect, bHorz ? CXTSplitterDock::kindHorz : CXTSplitterDock::kindVert,
                nRowStart));
            across += XT_SPLITTER_SIZE;
            for (std::size_t i = nPrevRowFirst; i < nPrevRowEnd; ++i) {
                placed[i].dwBorders &= ~dwRowTrailing;
            }
            bLoseRowLeading = true;
        }

        const std::vector<BOOL> strips = XTRowStripsBefore(row);
        const std::size_t nRowFirst = placed.size();
        int along = 0;
        bool bWrapped = false;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (!row[i].bVisible) {
                continue;
            }
            CControlBar* pBar = bars[i];
            const bool bToolkit = DYNAMIC_DOWNCAST(CXTControlBar, pBar) != nullptr;
            const CSize size = row[i].bDockWindow ? row[i].sizes.sizeCurrent : row[i].sizeFixed;
            const int extent = XTLengthOf(size, side);
            DWORD dwBorders = CBRS_BORDER_ANY;
            if (strips[i]) {
                const CRect rect =
                    bHorz ? CRect(along, across, along + XT_SPLITTER_SIZE, across + nThickness)
                          : CRect(across, along, across + nThickness, along + XT_SPLITTER_SIZE);
                addStrip(std::make_unique<CXTSplitterRowDock>(
                    this, rect, bHorz ? CXTSplitterDock::kindVert : CXTSplitterDock::kindHorz,
                    nRowStart + static_cast<int>(i)));
                along += XT_SPLITTER_SIZE;
                if (placed.size() > nRowFirst) {
                    placed.back().dwBorders &= ~dwTrailing;
                }
                dwBorders &= ~dwLeading;
            }
            int at = along;
            if (nWindows == 0 && !m_bFloating) {
                // Class-library bars stay where they were put when that is further on, and
                // are pulled back from the end; one out of sight starts a row of its own.
                CRect current;
                pBar->GetWindowRect(&current);
                ScreenToClient(&current);
                at = std::max(at, static_cast<int>(bHorz ? current.left : current.top));
                if (at + extent > nLength) {
                    at = std::max(nLength - extent, along);
                }
                if (at >= nLength && placed.size() > nRowFirst) {
                    m_arrBars.InsertAt(nRowStart + static_cast<int>(i), nullptr);
                    if (CFrameWnd* pFrame = GetParentFrame()) {
                        pFrame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
                    }
                    bWrapped = true;
                    break;
                }
            }
            if (bLoseRowLeading) {
                dwBorders &= ~dwRowLeading;
            }
            if (nWindows > 0 && (bStripAfter)) {
                dwBorders &= ~dwRowTrailing;
            }
            const CRect rect =
                bHorz ? CRect(CPoint(at, across), size) : CRect(CPoint(across, at), size);
            placed.push_back({pBar, rect, dwBorders});
            along = at + extent - (bToolkit ? 0 : nOverlap);
        }
        if (bWrapped) {
            placed.resize(nRowFirst);
            continue;  // the same row again, now ending before the bar that did not fit
        }
        widest = std::max(widest, along);
        across += nThickness;
        if (nWindows > 0 && bStripAfter) {
            const CRect rect = bHorz ? CRect(0, across, nLength, across + XT_SPLITTER_SIZE)
                                     : CRect(across, 0, across + XT_SPLITTER_SIZE, nLength);
            addStrip(std::make_unique<CXTSplitterDock>(
                this, rect, bHorz ? CXTSplitterDock::kindHorz : CXTSplitterDock::kindVert,
                nRowStart));
            across += XT_SPLITTER_SIZE;
            bStripBeforeRow = true;
        }
        nPrevRowFirst = nRowFirst;
        nPrevRowEnd = placed.size();
        pos = nRowEnd + 1;
    }

    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP =
        m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(placed.size()) + 1);
    for (const Placed& item : placed) {
        CControlBar* pBar = item.pBar;
        CRect current;
        pBar->GetWindowRect(&current);
        ScreenToClient(&current);
        if (item.rect != current) {
            if (!m_bLayoutQuery && !(pBar->m_dwStyle & CBRS_FLOATING) &&
                pBar->m_pDockContext != nullptr) {
                pBar->m_pDockContext->m_rectMRUDockPos = item.rect;
            }
            AfxRepositionWindow(&layout, pBar->m_hWnd, &item.rect);
        }
        const bool bToolkit = DYNAMIC_DOWNCAST(CXTControlBar, pBar) != nullptr;
        if (!m_bLayoutQuery && (bToolkit || !(m_dwDockBarFlags & kKeepLibraryStyles))) {
            pBar->SetBarStyle((pBar->m_dwStyle & ~CBRS_BORDER_ANY) | item.dwBorders);
        }
    }
    if (layout.hDWP != nullptr) {
        ::EndDeferWindowPos(layout.hDWP);
    }
    if (bHorz && across == 0 && (m_dwStyle & CBRS_ALIGN_BOTTOM)) {
        across = 1;  // a bottom dock bar keeps its edge lines visible
    }
    return bHorz ? CSize(std::max<int>(widest, fixed.cx), across)
                 : CSize(across, std::max<int>(widest, fixed.cy));
}

CXTSplitterDock* CXTDockBar::HitSplitter() const {
    if (m_nHitSplitter < 0 || m_nHitSplitter >= static_cast<int>(m_arrSplitters.size())) {
        return nullptr;
    }
    return m_arrSplitters[static_cast<std::size_t>(m_nHitSplitter)].get();
}

int CXTDockBar::SplitterHitTest(CPoint pt) {
    ::SetCursor(afxData.hcurArrow);
    if (::GetCapture() != nullptr) {
        return m_nHitSplitter;
    }
    m_nHitSplitter = -1;
    ScreenToClient(&pt);
    for (std::size_t i = 0; i < m_arrSplitters.size(); ++i) {
        const CXTSplitterDock& strip = *m_arrSplitters[i];
        if (strip.m_rcBar.PtInRect(pt)) {
            m_nHitSplitter = static_cast<int>(i);
            ::SetCursor(strip.m_nType == CXTSplitterDock::kindHorz ? xtAfxData.m_hcurSplitterRow
                                                                   : xtAfxData.m_hcurSplitter);
            break;
        }
    }
    return m_nHitSplitter;
}

LRESULT CXTDockBar::OnNcHitTest(CPoint point) {
    if (SplitterHitTest(point) >= 0) {
        return HTBORDER;
    }
    return Default();
}

BOOL CXTDockBar::OnSetCursor(CWnd* /*pWnd*/, UINT nHitTest, UINT /*message*/) {
    if (nHitTest != HTCLIENT) {
        return FALSE;  // the hit test chose the cursor
    }
    return static_cast<BOOL>(Default());
}

void CXTDockBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    CXTSplitterDock* pStrip = HitSplitter();
    if (pStrip == nullptr) {
        Default();
        return;
    }
    (void)nHitTest;
    pStrip->StartTrack(point);
    SetCapture();
    m_hWndFocus = ::GetFocus();
    SetFocus();
    m_bTracking = TRUE;
}

void CXTDockBar::OnMouseMove(UINT /*nFlags*/, CPoint point) {
    CXTSplitterDock* pStrip = HitSplitter();
    if (!m_bTracking || pStrip == nullptr) {
        Default();
        return;
    }
    ClientToScreen(&point);
    pStrip->TrackMove(point);
}

void CXTDockBar::EndTracking() {
    m_bTracking = FALSE;
    ::ReleaseCapture();
    if (m_hWndFocus != nullptr && ::IsWindow(m_hWndFocus)) {
        ::SetFocus(m_hWndFocus);
    }
    m_hWndFocus = nullptr;
}

void CXTDockBar::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    CXTSplitterDock* pStrip = HitSplitter();
    if (!m_bTracking || pStrip == nullptr) {
        Default();
        return;
    }
    EndTracking();
    ClientToScreen(&point);
    pStrip->EndTrack(point);  // may lay the frame out again: nothing of the strip after it
}

void CXTDockBar::OnCaptureChanged(CWnd* pWnd) {
    // Another window took the mouse mid-drag (another program came to the front): the drag
    // ends where it is, nothing applied, so that no later button-up can apply it.
    CXTSplitterDock* pStrip = HitSplitter();
    if (!m_bTracking || pStrip == nullptr || (pWnd != nullptr && pWnd->m_hWnd == m_hWnd)) {
        return;
    }
    pStrip->InvertTracker();
    m_bTracking = FALSE;
    // The focus goes back only when the drag still holds it: the window that took the mouse
    // may have taken the focus as well.
    if (::GetFocus() == m_hWnd && m_hWndFocus != nullptr && ::IsWindow(m_hWndFocus)) {
        ::SetFocus(m_hWndFocus);
    }
    m_hWndFocus = nullptr;
}

void CXTDockBar::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
    if (nChar == VK_ESCAPE && m_bTracking) {
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return;
    }
    Default();
}

void CXTDockBar::OnCancelTrack() {
    CXTSplitterDock* pStrip = HitSplitter();
    if (!m_bTracking || pStrip == nullptr) {
        return;
    }
    pStrip->InvertTracker();
    EndTracking();
}

BOOL CXTDockBar::OnEraseBkgnd(CDC* /*pDC*/) { return FALSE; }

void CXTDockBar::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    CXTMemDC memDC(this, &dc, rect, xtAfxData.m_clr3DFace);
    if ((GetStyle() & WS_VISIBLE) && GetDockedVisibleCount() > 0) {
        DoPaint(&memDC);
    }
}

void CXTDockBar::DoPaint(CDC* pDC) {
    CDockBar::DoPaint(pDC);
    for (const auto& pStrip : m_arrSplitters) {
        pStrip->Draw(pDC);
    }
    DrawEdges(pDC);
}

void CXTDockBar::DrawEdges(CDC* pDC) {
    CRect rect;
    GetWindowRect(&rect);
    const int w = rect.Width();
    const int h = rect.Height();
    if (m_dwStyle & CBRS_ORIENT_VERT) {
        pDC->FillSolidRect(0, 0, w, 1, afxData.clrBtnHilite);
        pDC->FillSolidRect(0, h - 1, w, 1, afxData.clrBtnShadow);
    } else if (m_dwStyle & CBRS_ALIGN_TOP) {
        if (m_bTopEdge) {
            pDC->FillSolidRect(0, h - 1, w, 1, afxData.clrBtnShadow);
        }
    } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        pDC->FillSolidRect(0, 0, w, 1, afxData.clrBtnHilite);
        pDC->FillSolidRect(0, h - 2, w, 1, afxData.clrBtnShadow);
        pDC->FillSolidRect(0, h - 1, w, 1, afxData.clrBtnHilite);
    }
}
