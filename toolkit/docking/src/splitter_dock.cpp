// Splitter strips of a toolkit dock bar: drawing, tracking and applying a new size.
#include "docking/splitter_dock.h"

#include "docking/dock_bar.h"
#include "docking/dock_window.h"

using namespace xtdock;

namespace {

constexpr DWORD kFlatStrips = 0x40;
constexpr DWORD kNoFrameLine = 0x400;

// The row's expanded docking window, or null.
CXTDockWindow* ExpandedIn(const XTDockRow& row, const std::vector<CControlBar*>& bars) {
    const int i = XTRowExpandedIndex(row);
    return i < 0 ? nullptr : DYNAMIC_DOWNCAST(CXTDockWindow, bars[static_cast<std::size_t>(i)]);
}

}  // namespace

CXTSplitterDock::CXTSplitterDock(CXTDockBar* pDockBar, const CRect& rect, int nType, int nBarIndex)
    : m_rcBar(rect), m_nType(nType), m_nBarIndex(nBarIndex), m_pDockBar(pDockBar) {}

void CXTSplitterDock::Draw(CDC* pDC) {
    const CRect& r = m_rcBar;
    const int w = r.Width();
    const int h = r.Height();
    pDC->FillSolidRect(&r, afxData.clrBtnFace);
    const DWORD dwFlags = m_pDockBar->m_dwDockBarFlags;
    if (dwFlags & kFlatStrips) {
        return;
    }
    if (m_nType == kindVert) {
        pDC->FillSolidRect(r.left, r.top, w - 1, 1, afxData.clrBtnHilite);
        pDC->FillSolidRect(r.left, r.bottom - 1, w, 1, afxData.clrBtnShadow);
        pDC->FillSolidRect(r.left, r.top, 1, h, afxData.clrBtnHilite);
        pDC->FillSolidRect(r.right - 2, r.top, 1, h, afxData.clrBtnShadow);
        if (!(dwFlags & kNoFrameLine)) {
            pDC->FillSolidRect(r.right - 1, r.top, 1, h, afxData.clrWindowFrame);
        }
    } else {
        pDC->FillSolidRect(r.left, r.top, 1, h - 1, afxData.clrBtnHilite);
        pDC->FillSolidRect(r.right - 1, r.top, 1, h, afxData.clrBtnShadow);
        pDC->FillSolidRect(r.left, r.top, w - 1, 1, afxData.clrBtnHilite);
        pDC->FillSolidRect(r.left, r.bottom - 2, w, 1, afxData.clrBtnShadow);
        if (!(dwFlags & kNoFrameLine)) {
            pDC->FillSolidRect(r.left, r.bottom - 1, w, 1, afxData.clrWindowFrame);
        }
    }
}

void CXTSplitterDock::InvertTracker() {
    CWnd* pFrame = m_pDockBar->GetParent();
    if (pFrame == nullptr) {
        return;
    }
    // Drawn over the frame's children: a cache DC does not clip them.
    CDC* pDC = pFrame->GetDCEx(nullptr, DCX_CACHE);
    if (pDC == nullptr) {
        return;
    }
    CRect rect = m_rcTracker;
    if (rect.Width() < rect.Height()) {
        rect.DeflateRect(1, 0);
    } else {
        rect.DeflateRect(0, 1);
    }
    CBrush* pBrush = (m_pDockBar->m_dwDockBarFlags & kFlatStrips)
                         ? CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)))
                         : CDC::GetHalftoneBrush();
    CBrush* pOld = pDC->SelectObject(pBrush);
    pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    pDC->SelectObject(pOld);
    pFrame->ReleaseDC(pDC);
}

void CXTSplitterDock::StartTrack(CPoint pt) {
    m_rcTracker = m_rcBar;
    m_pDockBar->ClientToScreen(&m_rcTracker);
    m_pDockBar->GetParent()->ScreenToClient(&m_rcTracker);
    m_pDockBar->ScreenToClient(&pt);
    m_track.ptLast = pt;
    ComputeLimits();
    InvertTracker();
}

void CXTSplitterDock::Follow(CPoint pt, BOOL bAlongY, BOOL bReversed) {
    InvertTracker();
    m_pDockBar->ScreenToClient(&pt);
    m_rcTracker.OffsetRect(XTTrackSplitter(m_track, pt, bAlongY, bReversed));
    InvertTracker();
}

void CXTSplitterDock::TrackMove(CPoint pt) {
    const DWORD dwSide = m_pDockBar->m_dwStyle & CBRS_ALIGN_ANY;
    Follow(pt, (dwSide & CBRS_ORIENT_HORZ) != 0,
           (dwSide & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0);
}

void CXTSplitterRowDock::TrackMove(CPoint pt) { Follow(pt, m_nType == kindHorz, FALSE); }

void CXTSplitterDock::EndTrack(CPoint pt) {
    TrackMove(pt);
    InvertTracker();
    if (m_track.nCurrent == m_track.nStart) {
        return;
    }
    CFrameWnd* pFrame = m_pDockBar->GetParentFrame();
    ApplySize();
    if (pFrame != nullptr) {
        pFrame->RecalcLayout(TRUE);  // rebuilds the strips: this one goes
    }
}

void CXTSplitterDock::ComputeLimits() {
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    m_pDockBar->GetRow(m_nBarIndex, row, bars, nRowStart);
    const XTDockSide side = m_pDockBar->GetSide();
    m_track.nStart = m_track.nCurrent = XTRowThickness(row, side, m_nBarIndex - nRowStart);
    m_track.nMin = XTRowMinThickness(row, side);
    m_track.nMax = m_track.nCurrent + m_pDockBar->GetMaxRowThickness();
}

void CXTSplitterRowDock::ComputeLimits() {
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    m_pDockBar->GetRow(m_nBarIndex, row, bars, nRowStart);
    const XTDockSide side = m_pDockBar->GetSide();
    const int nIndex = m_nBarIndex - nRowStart;
    m_track.nStart = m_track.nCurrent = m_nType == kindVert ? m_rcBar.left : m_rcBar.top;
    m_track.nMin = XTRowSplitterMin(row, side, nIndex);
    m_track.nMax = XTRowSplitterMax(row, side, nIndex, m_track.nCurrent);
}

void CXTSplitterDock::ApplySize() {
    m_pDockBar->SetRowThickness(m_nBarIndex, m_track.nCurrent);
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    m_pDockBar->GetRow(m_nBarIndex, row, bars, nRowStart);
    if (CXTDockWindow* pWnd = ExpandedIn(row, bars)) {
        m_pDockBar->ExpandWindow(pWnd, FALSE);
    }
}

void CXTSplitterRowDock::ApplySize() {
    const int d = m_track.nCurrent - m_track.nStart;
    m_pDockBar->GrowBefore(m_nBarIndex, d);
    m_pDockBar->GrowAfter(m_nBarIndex, -d);
    XTDockRow row;
    std::vector<CControlBar*> bars;
    int nRowStart = 0;
    m_pDockBar->GetRow(m_nBarIndex, row, bars, nRowStart);
    if (CXTDockWindow* pWnd = ExpandedIn(row, bars)) {
        m_pDockBar->ContractRow(pWnd, FALSE);
    }
}
