// CXTDockWindow: creation, caption buttons, sizes, painting and the stored position.
#include "docking/dock_window.h"

#include "docking/aux_data.h"
#include "docking/dock_bar.h"
#include "docking/dock_window_caption.h"

using namespace xtdock;

namespace {

constexpr DWORD kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_ICON | BS_OWNERDRAW;
constexpr int kPictureSize = 10;

// The bar's own bits of a creation style, the rest being the window's.
constexpr DWORD kBarBits = CBRS_ALL;
constexpr DWORD kAlwaysOn = CBRS_FLOAT_MULTI | CBRS_HIDE_INPLACE | CBRS_SIZE_DYNAMIC;

// The expand button's picture, tooltip and state for where the window is docked.
struct ExpandLook {
    DWORD nPicture;
    UINT nTip;
    BOOL bEnabled;
};

ExpandLook LookFor(BOOL bHorz, BOOL bAlone, BOOL bExpanded) {
    if (bAlone) {
        return {bHorz ? XT_ICON_EXPAND_HORZ_DISABLED : XT_ICON_EXPAND_VERT_DISABLED, XT_IDS_EXPAND,
                FALSE};
    }
    if (bExpanded) {
        return {bHorz ? XT_ICON_CONTRACT_HORZ : XT_ICON_CONTRACT_VERT, XT_IDS_CONTRACT, TRUE};
    }
    return {bHorz ? XT_ICON_EXPAND_HORZ : XT_ICON_EXPAND_VERT, XT_IDS_EXPAND, TRUE};
}

}  // namespace

IMPLEMENT_DYNAMIC(CXTBarButton, CXTButton)

void CXTBarButton::DrawButtonIcon(CDC* pDC, UINT nState, const CRect& rect) {
    CXTButton::DrawButtonIcon(pDC, nState & ~static_cast<UINT>(ODS_DISABLED), rect);
}

void CXTBarButton::SetCaptionPicture(UINT nPicture) {
    HICON hIcon = nullptr;
    if (nPicture < XT_CAPTION_ICON_COUNT && xtAfxData.m_hIconCaption[nPicture] != nullptr) {
        hIcon = ::CopyIcon(xtAfxData.m_hIconCaption[nPicture]);
    }
    HICON hOld = m_hIcon;
    SetIcon(kPictureSize, kPictureSize, hIcon, nullptr, TRUE);
    if (hOld != nullptr && hOld != hIcon) {
        ::DestroyIcon(hOld);
    }
}

IMPLEMENT_DYNAMIC(CXTDockWindow, CXTControlBar)

BEGIN_MESSAGE_MAP(CXTDockWindow, CXTControlBar)
ON_WM_CREATE()
ON_WM_NCHITTEST()
ON_WM_SETCURSOR()
ON_WM_WINDOWPOSCHANGING()
ON_WM_WINDOWPOSCHANGED()
ON_COMMAND(XT_IDC_BTN_HIDE, OnHideWindow)
ON_COMMAND(XT_IDC_BTN_EXPAND, OnExpandWindow)
END_MESSAGE_MAP()

CXTDockWindow::CXTDockWindow() = default;

CXTDockWindow::~CXTDockWindow() {
    if (m_wndToolTip.m_hWnd != nullptr) {
        m_wndToolTip.DestroyWindow();
    }
}

BOOL CXTDockWindow::Create(CWnd* pParentWnd, UINT nID, LPCTSTR lpszTitle, int nWidth, int nHeight,
                           DWORD dwStyle, DWORD dwToolkitStyle) {
    m_dwStyle = (dwStyle & kBarBits) | kAlwaysOn;
    const CSize size(nWidth, nHeight);
    XT_DOCK_SIZES sizes = GetDockSizes();
    sizes.sizeVertDock = sizes.sizeHorzDock = sizes.sizeFloat = sizes.sizeCurrent = size;
    SetDockSizes(sizes);
    SetToolkitStyle(dwToolkitStyle);
    LPCTSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS | CS_CLASSDC, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
    const DWORD dwWndStyle =
        (dwStyle & ~kBarBits) | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CWnd::Create(lpszClass, lpszTitle, dwWndStyle, CRect(0, 0, nWidth, nHeight), pParentWnd,
                        nID);
}

DWORD CXTDockWindow::ButtonFlags() const {
    const DWORD dwStyle = GetToolkitStyle();
    return BS_XT_IMAGE_ABOVE | ((dwStyle & XTCBS_FLAT_BUTTONS) ? BS_XT_FLAT : 0) |
           ((dwStyle & XTCBS_THIN_BUTTONS) ? BS_XT_THIN : 0);
}

int CXTDockWindow::OnCreate(LPCREATESTRUCT lpcs) {
    if (CXTControlBar::OnCreate(lpcs) == -1) {
        return -1;
    }
    if (!(GetToolkitStyle() & XTCBS_CAPTION_BUTTONS)) {
        return 0;
    }
    m_pHideButton = std::make_unique<CXTBarButton>();
    if (!m_pHideButton->Create("", kButtonStyle, CRect(0, 0, 0, 0), this, XT_IDC_BTN_HIDE)) {
        return -1;
    }
    m_pExpandButton = std::make_unique<CXTBarButton>();
    if (!m_pExpandButton->Create("", kButtonStyle, CRect(0, 0, 0, 0), this, XT_IDC_BTN_EXPAND)) {
        return -1;
    }
    m_pHideButton->SetStyleFlags(ButtonFlags(), FALSE);
    m_pExpandButton->SetStyleFlags(ButtonFlags(), FALSE);
    m_pHideButton->SetCaptionPicture(XT_ICON_HIDE);

    if (m_wndToolTip.Create(this)) {
        m_wndToolTip.Activate(TRUE);
        CString text;
        text.LoadString(XT_IDS_HIDE);
        m_wndToolTip.AddTool(m_pHideButton.get(), text);
        text.LoadString(XT_IDS_EXPAND);
        m_wndToolTip.AddTool(m_pExpandButton.get(), text);
    }
    return 0;
}

BOOL CXTDockWindow::ModifyToolkitStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
    CXTControlBar::ModifyToolkitStyle(dwRemove, dwAdd, bRedraw);
    if (m_pHideButton != nullptr && m_pExpandButton != nullptr &&
        m_pHideButton->m_hWnd != nullptr && m_pExpandButton->m_hWnd != nullptr) {
        const int nShow = (GetToolkitStyle() & XTCBS_CAPTION_BUTTONS) ? SW_SHOW : SW_HIDE;
        m_pHideButton->ShowWindow(nShow);
        m_pExpandButton->ShowWindow(nShow);
        m_pHideButton->SetStyleFlags(ButtonFlags(), FALSE);
        m_pExpandButton->SetStyleFlags(ButtonFlags(), FALSE);
    }
    return TRUE;
}

XT_DOCK_SIZES CXTDockWindow::GetDockSizes() const {
    XT_DOCK_SIZES sizes;
    sizes.sizeVertDock = m_sizeVert;
    sizes.sizeHorzDock = m_sizeHorz;
    sizes.sizeFloat = m_sizeFloat;
    sizes.sizeCurrent = m_sizeCurrent;
    sizes.bAloneInRow = m_bAloneInRow;
    sizes.bExpanded = m_bExpanded;
    return sizes;
}

void CXTDockWindow::SetDockSizes(const XT_DOCK_SIZES& sizes) {
    m_sizeVert = sizes.sizeVertDock;
    m_sizeHorz = sizes.sizeHorzDock;
    m_sizeFloat = sizes.sizeFloat;
    m_sizeCurrent = sizes.sizeCurrent;
    m_bAloneInRow = sizes.bAloneInRow;
    m_bExpanded = sizes.bExpanded;
}

XTDockSide CXTDockWindow::GetDockSide() {
    if (IsHorzDocked()) {
        return XTDockSide::Horz;
    }
    return IsVertDocked() ? XTDockSide::Vert : XTDockSide::Floating;
}

CXTDockBar* CXTDockWindow::GetXTDockBar() const { return DYNAMIC_DOWNCAST(CXTDockBar, m_pDockBar); }

CSize CXTDockWindow::CalcDynamicLayout(int nLength, DWORD dwMode) {
    XT_DOCK_SIZES sizes = GetDockSizes();
    const CSize size = XTDockWindowLayout(sizes, nLength, dwMode);
    SetDockSizes(sizes);
    return size;
}

void CXTDockWindow::SetDockedSize(CSize size) {
    XT_DOCK_SIZES sizes = GetDockSizes();
    XTSetDockedSize(sizes, GetDockSide(), size);
    SetDockSizes(sizes);
}

void CXTDockWindow::RestoreSize() {
    XT_DOCK_SIZES sizes = GetDockSizes();
    XTRestoreSize(sizes, GetDockSide());
    SetDockSizes(sizes);
}

int CXTDockWindow::ContractToCaption() {
    XT_DOCK_SIZES sizes = GetDockSizes();
    const int nFreed = XTContractToCaption(sizes, GetDockSide());
    SetDockSizes(sizes);
    return nFreed;
}

void CXTDockWindow::ExpandToSize(int nLength) {
    XT_DOCK_SIZES sizes = GetDockSizes();
    XTExpandToSize(sizes, GetDockSide(), nLength);
    SetDockSizes(sizes);
}

void CXTDockWindow::GetInsideRect(CRect& rect) {
    GetClientRect(&rect);
    rect = XTInsideRect(GetDockSide(), rect);
}

void CXTDockWindow::GetGripRect(CRect& rect) {
    CRect client;
    GetClientRect(&client);
    rect = XTGripRect(GetDockSide(), client.Width(), client.Height(),
                      (GetToolkitStyle() & XTCBS_CAPTION_BUTTONS) != 0);
}

void CXTDockWindow::GetButtonRect(CRect& rect) {
    CRect client;
    GetClientRect(&client);
    rect = XTCaptionButtonRect(GetDockSide(), client.Width());
}

void CXTDockWindow::SetChild(CWnd* pWnd) { m_pChildWnd = pWnd; }

void CXTDockWindow::SetBarInfo(const BYTE* pRecord, UINT nBytes) {
    XT_DOCK_SIZES sizes = GetDockSizes();
    if (XTReadBarPosition(pRecord, nBytes, sizes)) {
        CRect work;
        if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
            work.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        }
        XTClampRestoredSizes(sizes, work.Size());
        SetDockSizes(sizes);
    }
    if (m_pHideButton != nullptr && m_pHideButton->m_hWnd != nullptr) {
        m_pHideButton->SetStyleFlags(ButtonFlags(), FALSE);
    }
    if (m_pExpandButton != nullptr && m_pExpandButton->m_hWnd != nullptr) {
        m_pExpandButton->SetStyleFlags(ButtonFlags(), FALSE);
    }
}

void CXTDockWindow::SaveBarPosition(LPCTSTR lpszSection) {
    if (m_hWnd == nullptr) {
        return;
    }
    BYTE record[XT_BAR_POSITION_BYTES];
    XTWriteBarPosition(GetDockSizes(), GetToolkitStyle(), record);
    AfxGetApp()->WriteProfileBinary(lpszSection, "Bar Position", record, sizeof record);
}

void CXTDockWindow::LoadBarPosition(LPCTSTR lpszSection) {
    if (m_hWnd == nullptr) {
        return;
    }
    LPBYTE pRecord = nullptr;
    UINT nBytes = 0;
    if (AfxGetApp()->GetProfileBinary(lpszSection, "Bar Position", &pRecord, &nBytes)) {
        SetBarInfo(pRecord, nBytes);
        delete[] pRecord;
    }
}

void CXTDockWindow::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {
    if (!(GetToolkitStyle() & XTCBS_CAPTION_BUTTONS) || IsFloating()) {
        return;
    }
    const ExpandLook look = LookFor(IsHorzDocked(), m_bAloneInRow, m_bExpanded);
    if (look.nPicture == m_nCaptionPicture) {
        return;
    }
    m_nCaptionPicture = look.nPicture;
    if (m_pExpandButton != nullptr && m_pExpandButton->m_hWnd != nullptr) {
        m_pExpandButton->SetCaptionPicture(look.nPicture);
        m_pExpandButton->EnableWindow(look.bEnabled);
    }
    if (m_wndToolTip.m_hWnd != nullptr && m_pExpandButton != nullptr) {
        CString text;
        text.LoadString(look.nTip);
        m_wndToolTip.UpdateTipText(text, m_pExpandButton.get());
    }
}

void CXTDockWindow::OnHideWindow() {
    if (m_pDockSite != nullptr) {
        m_pDockSite->ShowControlBar(this, FALSE, FALSE);
    }
}

void CXTDockWindow::OnExpandWindow() {
    CXTDockBar* pDockBar = GetXTDockBar();
    if (pDockBar == nullptr) {
        return;
    }
    if (m_bExpanded) {
        pDockBar->ContractRow(this, TRUE);
        m_bExpanded = FALSE;
    } else {
        pDockBar->ExpandWindow(this, TRUE);
        m_bExpanded = TRUE;
    }
}

void CXTDockWindow::DelayShow(BOOL bShow) {
    if (!bShow && m_bExpanded) {
        if (CXTDockBar* pDockBar = GetXTDockBar()) {
            pDockBar->ContractRow(this, FALSE);
        }
        RestoreSize();
    }
    CXTControlBar::DelayShow(bShow);
}

BOOL CXTDockWindow::PreTranslateMessage(MSG* pMsg) {
    if ((GetToolkitStyle() & XTCBS_CAPTION_BUTTONS) && m_wndToolTip.m_hWnd != nullptr) {
        m_wndToolTip.RelayEvent(pMsg);
    }
    return CXTControlBar::PreTranslateMessage(pMsg);
}

LRESULT CXTDockWindow::OnNcHitTest(CPoint /*point*/) {
    if (::GetCursor() != afxData.hcurArrow) {
        ::SetCursor(afxData.hcurArrow);
    }
    return HTCLIENT;
}

BOOL CXTDockWindow::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/) {
    return static_cast<BOOL>(Default());
}

void CXTDockWindow::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    // The docking window draws its borders itself, inside the client area.
    const DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CXTControlBar::OnWindowPosChanging(lpwndpos);
    m_dwStyle = dwStyle;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpwndpos->flags & SWP_NOSIZE)) {
        CRect rect;
        GetWindowRect(&rect);
        if (rect.Width() != lpwndpos->cx || rect.Height() != lpwndpos->cy) {
            Invalidate();
        }
    }
}

void CXTDockWindow::PlaceButtons() {
    CRect client;
    GetClientRect(&client);
    CRect rectHide;
    CRect rectExpand;
    XTCaptionButtonRects(GetDockSide(), client.Width(), rectHide, rectExpand);
    m_pHideButton->MoveWindow(&rectHide);
    m_pExpandButton->MoveWindow(&rectExpand);
}

void CXTDockWindow::OnWindowPosChanged(WINDOWPOS* /*lpwndpos*/) {
    Default();
    if ((GetToolkitStyle() & XTCBS_CAPTION_BUTTONS) && m_pHideButton != nullptr &&
        m_pExpandButton != nullptr && m_pHideButton->m_hWnd != nullptr &&
        m_pExpandButton->m_hWnd != nullptr) {
        const int nShow = IsFloating() ? SW_HIDE : SW_SHOW;
        m_pHideButton->ShowWindow(nShow);
        m_pExpandButton->ShowWindow(nShow);
        if (!IsFloating()) {
            PlaceButtons();
        }
    }
    if (m_pChildWnd != nullptr && m_pChildWnd->m_hWnd != nullptr) {
        CRect rect;
        GetInsideRect(rect);
        rect.DeflateRect(1, 1);
        m_pChildWnd->MoveWindow(&rect, TRUE);
    }
}

void CXTDockWindow::DoPaint(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    GetInsideRect(rect);
    const DWORD dwStyle = GetToolkitStyle();
    if (dwStyle & XTCBS_EDGE_ETCHED) {
        pDC->DrawEdge(&rect, EDGE_ETCHED, BF_RECT);
    } else if (dwStyle & XTCBS_EDGE_THIN_SUNKEN) {
        pDC->DrawEdge(&rect, BDR_SUNKENOUTER, BF_RECT);
    } else if (dwStyle & XTCBS_EDGE_RAISED) {
        pDC->DrawEdge(&rect, EDGE_RAISED, BF_RECT);
    }
}

void CXTDockWindow::DrawBorders(CDC* pDC, CRect& rect) {
    const int w = rect.Width();
    const int h = rect.Height();
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.left + w - 1, rect.top, 1, h, xtAfxData.m_clr3DShadow);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rect.left, rect.top + h - 1, w, 1, xtAfxData.m_clr3DShadow);
    }
    if (m_dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rect.left, rect.top, w, 1, xtAfxData.m_clr3DHilight);
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rect.left, rect.top, 1, h, xtAfxData.m_clr3DHilight);
    }
    DrawCaptionArea(pDC);
}

void CXTDockWindow::EraseNonClient() {
    // Everything is drawn in the client area: only keep the window DC off it.
    CWindowDC dc(this);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    CRect window;
    GetWindowRect(&window);
    client.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
}

void CXTDockWindow::DrawCaptionArea(CDC* pDC) {
    const DWORD dwStyle = GetToolkitStyle();
    if (IsFloating() || !(dwStyle & XTCBS_CAPTION_GRIP)) {
        return;
    }
    CRect rectGrip;
    GetGripRect(rectGrip);
    int nTextWidth = 0;
    CString title;
    GetWindowText(title);
    if (!(dwStyle & XTCBS_CAPTION_COLOR) && (dwStyle & XTCBS_CAPTION_TEXT) && !title.IsEmpty()) {
        CFont* pOldFont = pDC->SelectObject(&xtAfxData.m_fontCaption);
        nTextWidth = pDC->GetTextExtent(title).cx;
        pDC->SelectObject(pOldFont);
    }
    const XT_CAPTION_AREA area =
        XTCaptionArea(GetDockSide(), rectGrip, nTextWidth, (dwStyle & XTCBS_CAPTION_COLOR) != 0,
                      (dwStyle & XTCBS_DOUBLE_GRIPPER) != 0);
    DrawCaption(pDC, area.rectCaption);
    for (int i = 0; i < area.nGrips; ++i) {
        pDC->Draw3dRect(&area.rectGrip[i], xtAfxData.m_clr3DHilight, xtAfxData.m_clr3DShadow);
    }
}

void CXTDockWindow::DrawCaption(CDC* pDC, const CRect& rect) {
    const DWORD dwStyle = GetToolkitStyle();
    const bool bDown = IsHorzDocked() != FALSE;  // the strip runs down the left side
    COLORREF clrText = xtAfxData.m_clr3DShadow;
    if ((dwStyle & XTCBS_CAPTION_COLOR) && (dwStyle & XTCBS_CAPTION_GRADIENT)) {
        const int nLength = bDown ? rect.Height() : rect.Width();
        const int nStep = XTGradientStep(nLength);
        auto band = [&](int nPos, COLORREF clr) {
            if (bDown) {
                pDC->FillSolidRect(rect.left, rect.top + nPos, rect.Width(), nStep, clr);
            } else {
                pDC->FillSolidRect(rect.left + nPos, rect.top, nStep, rect.Height(), clr);
            }
        };
        band(0, xtAfxData.m_clrWindowFrame);
        for (int i = nStep; i < nLength; i += nStep) {
            band(i, XTGradientColour(xtAfxData.m_clrActiveCaption, nLength, i));
        }
        clrText = xtAfxData.m_clrWindow;
    } else if (dwStyle & XTCBS_CAPTION_COLOR) {
        pDC->FillSolidRect(&rect, xtAfxData.m_clr3DShadow);
        clrText = xtAfxData.m_clrWindow;
    }
    CString title;
    GetWindowText(title);
    if (!(dwStyle & XTCBS_CAPTION_TEXT) || title.IsEmpty()) {
        return;
    }
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    CFont* pOldFont;
    if (IsVertDocked()) {
        pOldFont = pDC->SelectObject(&xtAfxData.m_fontCaption);
        pDC->ExtTextOut(rect.left + 2, 4, ETO_CLIPPED, &rect, title,
                        static_cast<UINT>(title.GetLength()), nullptr);
    } else {
        pOldFont = pDC->SelectObject(&xtAfxData.m_fontVertCaption);
        pDC->ExtTextOut(1, rect.bottom - 2, ETO_CLIPPED, &rect, title,
                        static_cast<UINT>(title.GetLength()), nullptr);
    }
    pDC->SelectObject(pOldFont);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
}
