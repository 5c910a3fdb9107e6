// CDockBar: the rows of bars docked along one side of a frame (or in a floating frame):
// docking into a row or a new row, leaving with or without a placeholder, and the saved rows.
#include "classlib/classlib.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_WINDOWPOSCHANGING()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
    m_arrBars.Add(nullptr);
    // Dock bars made by EnableDocking go with their windows.
    m_bAutoDelete = TRUE;
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 0;
    m_cyBottomBorder = 0;
}

CDockBar::~CDockBar() {
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        DestroyWindow();
    }
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    return CWnd::Create(nullptr, nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD, CRect(0, 0, 0, 0),
                        pParentWnd, nID);
}

// The array.

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
    void* entry = m_arrBars[nPos];
    return entry != nullptr && !AfxIsDockPlaceholder(entry) ? static_cast<CControlBar*>(entry)
                                                            : nullptr;
}

int CDockBar::GetDockedCount() const {
    int count = 0;
    for (int i = 0; i < static_cast<int>(m_arrBars.GetSize()); ++i) {
        if (GetDockedControlBar(i) != nullptr) {
            ++count;
        }
    }
    return count;
}

int CDockBar::GetDockedVisibleCount() const {
    int count = 0;
    for (int i = 0; i < static_cast<int>(m_arrBars.GetSize()); ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar != nullptr && bar->IsVisible()) {
            ++count;
        }
    }
    return count;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) {
    return static_cast<int>(AfxFindDockEntry(m_arrBars, pBar, nPosExclude));
}

void CDockBar::ShowAll(BOOL bShow) {
    for (int i = 0; i < static_cast<int>(m_arrBars.GetSize()); ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar != nullptr) {
            bar->GetDockingFrame()->ShowControlBar(bar, bShow, TRUE);
        }
    }
}

int CDockBar::Insert(CControlBar* pBar, CRect rect, CPoint ptMid) {
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int mid = bHorz ? ptMid.y : ptMid.x;
    // Rows follow one another across the dock bar, each overlapping the last by the border.
    int across = 0;
    int thickness = 0;
    INT_PTR after = 0;  // the entry the bar goes after in the row being looked at
    for (INT_PTR pos = 0; pos < m_arrBars.GetSize(); ++pos) {
        CControlBar* bar = GetDockedControlBar(static_cast<int>(pos));
        if (bar != nullptr && bar->IsVisible()) {
            CRect barRect;
            bar->GetWindowRect(&barRect);
            ScreenToClient(&barRect);
            thickness = std::max<int>(thickness, bHorz ? barRect.Height() : barRect.Width());
            if (bHorz ? rect.left > barRect.left : rect.top > barRect.top) {
                after = pos;
            }
        } else if (m_arrBars[pos] == nullptr) {
            across += thickness - (bHorz ? afxData.cyBorder2 : afxData.cxBorder2);
            thickness = 0;
            if (mid < across) {
                if (pos == 0) {
                    return static_cast<int>(AfxInsertDockRow(m_arrBars, 1, pBar));
                }
                return static_cast<int>(AfxInsertDockEntry(m_arrBars, after + 1, pBar));
            }
            after = pos;
        }
    }
    return static_cast<int>(AfxInsertDockRow(m_arrBars, m_arrBars.GetSize(), pBar));
}

// Docking and leaving.

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    CRect barRect;
    pBar->GetWindowRect(&barRect);
    if (pBar->m_pDockBar == this && (lpRect == nullptr || barRect == CRect(lpRect))) {
        return;  // docked here already, and where asked
    }
    int pos;
    if (lpRect != nullptr) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        pos = Insert(pBar, rect, rect.CenterPoint());
        // Where asked for now; the layout snaps it into its row. The numbers stay the same
        // when the bar moves to this parent below.
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    } else {
        pos = static_cast<int>(AfxInsertDockRow(m_arrBars, m_arrBars.GetSize(), pBar));
        // Off the edge to begin with: the layout moves it in.
        pBar->SetWindowPos(nullptr, -afxData.cxBorder2, -afxData.cyBorder2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    AttachBar(pBar, pos);
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    CRect barRect;
    pBar->GetWindowRect(&barRect);
    if (pBar->m_pDockBar == this && (lpRect == nullptr || barRect == CRect(lpRect))) {
        return;
    }
    int pos = static_cast<int>(
        AfxFindDockEntry(m_arrBars, AfxDockPlaceholder(static_cast<UINT>(pBar->GetDlgCtrlID()))));
    if (pos <= 0) {
        DockControlBar(pBar, lpRect);
        return;
    }
    // Back where it was: the placeholder makes way for the bar.
    m_arrBars[pos] = pBar;
    if (lpRect != nullptr) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    AttachBar(pBar, pos);
}

void CDockBar::AttachBar(CControlBar* pBar, int nPos) {
    if (m_bFloating) {
        // A floating frame sizes like its bar, and is titled after it.
        m_dwStyle = (m_dwStyle & ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC)) |
                    (pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC));
        if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
            CString title;
            pBar->GetWindowText(title);
            SetWindowText(title);
        }
    }
    // The bar lies along this side, with all its borders.
    DWORD style =
        (pBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    style = m_bFloating ? style | CBRS_FLOATING : style & ~CBRS_FLOATING;
    pBar->SetBarStyle(style);
    // Into this window first, so that a floating frame left empty can go without it.
    if (pBar->GetParent() != this) {
        pBar->SetParent(this);
    }
    CDockBar* former = pBar->m_pDockBar;
    pBar->m_pDockBar = this;
    if (former == this) {
        RemoveControlBar(pBar, nPos);  // its old entry here
    } else if (former != nullptr) {
        // A bar that floats off leaves its place in the side it left.
        former->RemoveControlBar(pBar, -1, m_bFloating && !former->m_bFloating);
    }
    RemovePlaceHolder(pBar);
    GetDockingFrame()->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
    int pos = FindBar(pBar, nPosExclude);
    if (pos <= 0) {
        return FALSE;
    }
    if (nAddPlaceHolder == 1) {
        void* holder = AfxDockPlaceholder(static_cast<UINT>(pBar->GetDlgCtrlID()));
        m_arrBars[pos] = holder;
        INT_PTR older = AfxFindDockEntry(m_arrBars, holder, pos);  // one place per bar
        if (older > 0) {
            AfxRemoveDockEntry(m_arrBars, older);
        }
    } else {
        AfxRemoveDockEntry(m_arrBars, pos);
    }
    CFrameWnd* frame = GetDockingFrame();
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        // A floating frame with nothing to show hides; with no bar at all it goes (and this
        // dock bar with it: nothing here may be touched after).
        if (GetDockedCount() == 0) {
            frame->DestroyWindow();
        } else {
            frame->ShowWindow(SW_HIDE);
        }
    } else if (frame != nullptr) {
        frame->DelayRecalcLayout();
    }
    return TRUE;
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar) {
    INT_PTR pos =
        AfxFindDockEntry(m_arrBars, AfxDockPlaceholder(static_cast<UINT>(pBar->GetDlgCtrlID())));
    if (pos > 0) {
        AfxRemoveDockEntry(m_arrBars, pos);
    }
}

// Window.

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
    // The layout pass tells the rows whether it only measures, and the room it offers.
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    BOOL query = m_bLayoutQuery;
    CRect room = m_rectLayout;
    m_bLayoutQuery = layout->hDWP == nullptr;
    m_rectLayout = layout->rect;
    LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = query;
    m_rectLayout = room;
    return result;
}

void CDockBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) { CalcNcBorders(lpncsp); }

void CDockBar::OnNcPaint() { EraseNonClient(); }

void CDockBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    // The borders are in the non-client area, drawn anew with it.
    DWORD style = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CControlBar::OnWindowPosChanging(lpwndpos);
    m_dwStyle = style;
}

void CDockBar::DoPaint(CDC* pDC) { CControlBar::DoPaint(pDC); }

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

// The saved rows.

void CDockBar::GetBarInfo(CControlBarInfo* pInfo) {
    pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
    pInfo->m_pBar = this;
    pInfo->m_bDockBar = TRUE;
    pInfo->m_bFloating = m_bFloating;
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (m_bFloating) {
        CRect rect;
        GetWindowRect(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    pInfo->m_arrBarID.clear();
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        void* entry = m_arrBars[i];
        if (entry == nullptr) {
            pInfo->m_arrBarID.push_back(0);
        } else if (AfxIsDockPlaceholder(entry)) {
            pInfo->m_arrBarID.push_back(AfxDockPlaceholderID(entry) |
                                        CControlBarInfo::kPlaceholderFlag);
        } else {
            pInfo->m_arrBarID.push_back(
                static_cast<DWORD>(static_cast<CControlBar*>(entry)->GetDlgCtrlID()));
        }
    }
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
    // The rows as saved, of the bars that still exist; placeholders keep their places.
    CPtrArray rows;
    rows.Add(nullptr);
    std::vector<CControlBar*> arriving;
    for (size_t i = 1; i < pInfo->m_arrBarID.size(); ++i) {
        DWORD id = pInfo->m_arrBarID[i];
        if (id == 0) {
            rows.Add(nullptr);
        } else if (id & CControlBarInfo::kPlaceholderFlag) {
            rows.Add(AfxDockPlaceholder(LOWORD(id)));
        } else {
            CControlBar* bar = pFrameWnd->GetControlBar(LOWORD(id));
            if (bar != nullptr && !bar->IsDockBar() &&
                std::find(arriving.begin(), arriving.end(), bar) == arriving.end()) {
                rows.Add(bar);
                arriving.push_back(bar);
            }
        }
    }
    // Bars docked here now that the saved rows do not name keep a row each at the end, until
    // their own dock bar's rows take them.
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
        CControlBar* bar = GetDockedControlBar(static_cast<int>(i));
        if (bar != nullptr && std::find(arriving.begin(), arriving.end(), bar) == arriving.end()) {
            AfxInsertDockRow(rows, rows.GetSize(), bar);
        }
    }
    AfxTidyDockArray(rows);
    m_arrBars.Copy(rows);
    for (CControlBar* bar : arriving) {
        if (bar->m_pDockBar == this) {
            continue;
        }
        DWORD style =
            (bar->GetBarStyle() & ~CBRS_ALIGN_ANY) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
        bar->SetBarStyle(m_bFloating ? style | CBRS_FLOATING : style & ~CBRS_FLOATING);
        if (bar->GetParent() != this) {
            bar->SetParent(this);
        }
        CDockBar* former = bar->m_pDockBar;
        bar->m_pDockBar = this;
        if (former != nullptr) {
            former->RemoveControlBar(bar);
        }
    }
    if (m_bFloating && !arriving.empty()) {
        m_dwStyle = (m_dwStyle & ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC)) |
                    (arriving.front()->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC));
        CString title;
        arriving.front()->GetWindowText(title);
        SetWindowText(title);
    }
}
