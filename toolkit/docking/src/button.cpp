// The toolkit's flat owner-drawn button: painting, hot tracking and its images.
#include "docking/button.h"

#include "docking/aux_data.h"
#include "docking/draw.h"
#include "docking/mem_dc.h"

IMPLEMENT_DYNAMIC(CXTButton, CButton)

BEGIN_MESSAGE_MAP(CXTButton, CButton)
ON_WM_CREATE()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETCURSOR()
ON_WM_SYSCOLORCHANGE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

const UINT_PTR kHotTimer = 1;
const UINT kHotTimerMs = 10;

}  // namespace

CXTButton::CXTButton()
    : m_clrText(::GetSysColor(COLOR_BTNTEXT)),
      m_clrFace(::GetSysColor(COLOR_BTNFACE)),
      m_clrHilite(::GetSysColor(COLOR_BTNHIGHLIGHT)),
      m_clrShadow(::GetSysColor(COLOR_BTNSHADOW)) {}

CXTButton::~CXTButton() { FreeImages(); }

BOOL CXTButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID) {
    m_bCreating = TRUE;
    BOOL created = CButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID);
    m_bCreating = FALSE;
    return created;
}

void CXTButton::Initialize() {
    ModifyStyle(0, BS_OWNERDRAW);
    SetFont(&xtAfxData.m_font, TRUE);
}

void CXTButton::PreSubclassWindow() {
    // A window being created is not ready for messages yet: WM_CREATE does the set-up then.
    if (!m_bCreating) {
        Initialize();
    }
    CButton::PreSubclassWindow();
}

int CXTButton::OnCreate(LPCREATESTRUCT lpcs) {
    if (CButton::OnCreate(lpcs) == -1) {
        return -1;
    }
    Initialize();
    return 0;
}

void CXTButton::FreeImages() {
    if (m_hIcon != nullptr) {
        ::DestroyIcon(m_hIcon);
        m_hIcon = nullptr;
    }
    if (m_hIconPushed != nullptr) {
        ::DestroyIcon(m_hIconPushed);
        m_hIconPushed = nullptr;
    }
    if (m_hBitmap != nullptr) {
        ::DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
    if (m_hBitmapDisabled != nullptr) {
        ::DeleteObject(m_hBitmapDisabled);
        m_hBitmapDisabled = nullptr;
    }
}

void CXTButton::RedrawIf(BOOL bRedraw) {
    if (bRedraw && m_hWnd != nullptr) {
        Invalidate(TRUE);
    }
}

void CXTButton::SetColors(COLORREF clrFace, COLORREF clrHilite, COLORREF clrShadow,
                          COLORREF clrText) {
    m_clrFace = clrFace;
    m_clrHilite = clrHilite;
    m_clrShadow = clrShadow;
    m_clrText = clrText;
    m_bUserColors = TRUE;
}

BOOL CXTButton::SetIcon(int cx, int cy, LPCTSTR lpszNormal, LPCTSTR lpszPushed, BOOL bRedraw) {
    FreeImages();
    HINSTANCE hInst = AfxGetResourceHandle();
    m_hIcon =
        static_cast<HICON>(::LoadImageA(hInst, lpszNormal, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    if (m_hIcon == nullptr) {
        return FALSE;
    }
    if (lpszPushed != nullptr) {
        m_hIconPushed = static_cast<HICON>(
            ::LoadImageA(hInst, lpszPushed, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
        if (m_hIconPushed == nullptr) {
            return FALSE;
        }
    }
    m_sizeImage = CSize(cx, cy);
    RedrawIf(bRedraw);
    return TRUE;
}

BOOL CXTButton::SetIcon(int cx, int cy, UINT nID, UINT nIDPushed) {
    return SetIcon(cx, cy, MAKEINTRESOURCEA(nID),
                   nIDPushed != 0 ? MAKEINTRESOURCEA(nIDPushed) : nullptr, TRUE);
}

BOOL CXTButton::SetIcon(int cx, int cy, HICON hIcon, HICON hIconPushed, BOOL bRedraw) {
    m_hIcon = hIcon;
    m_hIconPushed = hIconPushed;
    m_sizeImage = CSize(cx, cy);
    RedrawIf(bRedraw);
    return TRUE;
}

BOOL CXTButton::SetBitmap(int cx, int cy, UINT nID, BOOL bRedraw) {
    FreeImages();
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(hInst, MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(2));
    if (resource == nullptr) {
        return FALSE;
    }
    m_hBitmap = XTLoadSysColorBitmap(hInst, resource, FALSE);
    m_hBitmapDisabled = XTLoadSysColorBitmap(hInst, resource, TRUE);
    if (m_hBitmap == nullptr || m_hBitmapDisabled == nullptr) {
        return FALSE;
    }
    m_sizeImage = CSize(cx, cy);
    RedrawIf(bRedraw);
    return TRUE;
}

BOOL CXTButton::SetFixedPositions(CPoint ptImage, CPoint ptText, BOOL bRedraw) {
    m_ptImage = ptImage;
    m_ptText = ptText;
    m_bFixedPositions = TRUE;
    RedrawIf(bRedraw);
    return TRUE;
}

DWORD CXTButton::SetStyleFlags(DWORD dwStyle, BOOL bRedraw) {
    DWORD previous = m_dwxStyle;
    m_dwxStyle = dwStyle;
    RedrawIf(bRedraw);
    return previous;
}

// Painting.

xtdock::ButtonLayout CXTButton::Layout() const {
    xtdock::ButtonLayout layout;
    CRect client;
    GetClientRect(&client);
    layout.client = client.Size();
    layout.style = m_dwxStyle;
    layout.margin = m_nMargin;
    layout.gap = m_nGap;
    layout.image = m_sizeImage;
    layout.hasImage = m_hIcon != nullptr || m_hBitmap != nullptr;
    layout.fixedPositions = m_bFixedPositions != FALSE;
    layout.fixedImage = m_ptImage;
    layout.fixedText = m_ptText;
    return layout;
}

COLORREF CXTButton::ToneColor(xtdock::ButtonTone tone) const {
    switch (tone) {
        case xtdock::ButtonTone::Face:
            return m_clrFace;
        case xtdock::ButtonTone::Shadow:
            return m_clrShadow;
        case xtdock::ButtonTone::Highlight:
            return m_clrHilite;
        case xtdock::ButtonTone::SharedShadow:
            return xtAfxData.m_clr3DShadow;
        case xtdock::ButtonTone::SharedHighlight:
            return xtAfxData.m_clr3DHilight;
        case xtdock::ButtonTone::SharedDarkShadow:
            return xtAfxData.m_clr3DDkShadow;
    }
    return m_clrFace;
}

void CXTButton::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CXTMemDC memDC(this, &dc, client, xtAfxData.m_clr3DFace);
    // The control paints into the memory context; being owner-drawn, that ends in DrawItem.
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

void CXTButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    UINT state = lpDIS->itemState;
    CRect rect(lpDIS->rcItem);
    bool pushedState = SendMessage(BM_GETSTATE) == BST_PUSHED;
    bool pushed = (state & ODS_SELECTED) != 0 || pushedState;
    int saved = pDC->SaveDC();

    if (pushedState && m_bDither) {
        XTFillDitherRect(pDC, &rect);
    } else {
        pDC->FillSolidRect(&rect, m_clrFace);
    }
    int contentInset = 0;
    for (const xtdock::ButtonFrame& frame :
         xtdock::ButtonFrames(m_dwxStyle, pushed, &contentInset)) {
        CRect at = rect;
        at.DeflateRect(frame.inset, frame.inset);
        pDC->Draw3dRect(&at, ToneColor(frame.topLeft), ToneColor(frame.bottomRight));
    }
    rect.DeflateRect(contentInset, contentInset);
    pDC->SetBkMode(TRANSPARENT);
    DrawButtonText(pDC, state, rect);
    DrawButtonIcon(pDC, state, rect);
    DrawButtonBitmap(pDC, state, rect);
    if ((m_dwxStyle & BS_XT_FOCUS_RECT) && (state & ODS_FOCUS)) {
        CRect focus = rect;
        focus.DeflateRect(2, 2);
        pDC->DrawFocusRect(&focus);
    }
    pDC->RestoreDC(saved);
}

void CXTButton::DrawButtonText(CDC* pDC, UINT nState, const CRect&) {
    CString text;
    GetWindowText(text);
    if (text.IsEmpty()) {
        return;
    }
    CFont* font = GetFont();
    CFont* oldFont = font != nullptr ? pDC->SelectObject(font) : nullptr;
    CSize extent = pDC->GetTextExtent(text);
    CPoint origin = xtdock::TextOrigin(Layout(), extent);
    if (nState & ODS_SELECTED) {
        origin.Offset(1, 1);
    }
    pDC->SetTextColor((nState & ODS_DISABLED) ? xtAfxData.m_clrGrayText : m_clrText);
    // Prefix text: an ampersand underlines the next letter.
    ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr,
                 reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(text)),
                 static_cast<WPARAM>(text.GetLength()), origin.x, origin.y, extent.cx, extent.cy,
                 DST_PREFIXTEXT);
    if (oldFont != nullptr) {
        pDC->SelectObject(oldFont);
    }
}

void CXTButton::DrawButtonIcon(CDC* pDC, UINT nState, const CRect&) {
    if (m_hIcon == nullptr) {
        return;
    }
    CString text;
    GetWindowText(text);
    int textHeight = text.IsEmpty() ? 0 : pDC->GetTextExtent(text).cy;
    CPoint origin = xtdock::ImageOrigin(Layout(), textHeight);
    HICON icon = m_hIcon;
    if (nState & ODS_SELECTED) {
        if (m_hIconPushed != nullptr) {
            icon = m_hIconPushed;
        } else {
            origin.Offset(1, 1);
        }
    }
    ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, origin.x,
                 origin.y, m_sizeImage.cx, m_sizeImage.cy,
                 DST_ICON | ((nState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL));
}

void CXTButton::DrawButtonBitmap(CDC* pDC, UINT nState, const CRect&) {
    HBITMAP bitmap = (nState & ODS_DISABLED) ? m_hBitmapDisabled : m_hBitmap;
    if (bitmap == nullptr) {
        return;
    }
    CString text;
    GetWindowText(text);
    int textHeight = text.IsEmpty() ? 0 : pDC->GetTextExtent(text).cy;
    CPoint origin = xtdock::ImageOrigin(Layout(), textHeight);
    if (nState & ODS_SELECTED) {
        origin.Offset(1, 1);
    }
    ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, origin.x,
                 origin.y, m_sizeImage.cx, m_sizeImage.cy,
                 DST_BITMAP | ((nState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL));
}

BOOL CXTButton::OnEraseBkgnd(CDC*) { return FALSE; }

// Mouse and hot tracking.

bool CXTButton::TrackHot() {
    m_bDither = FALSE;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    CRect window;
    GetWindowRect(&window);
    if (!m_bPressed && window.PtInRect(cursor)) {
        if (!m_bHot && (m_dwxStyle & BS_XT_FLAT)) {
            if (SendMessage(BM_GETSTATE) != BST_PUSHED) {
                CWindowDC dc(this);
                CRect client;
                GetClientRect(&client);
                dc.Draw3dRect(&client, m_clrHilite, m_clrShadow);
            } else {
                m_bDither = TRUE;
                Invalidate();
            }
            m_bHot = TRUE;
        }
        return true;
    }
    KillTimer(kHotTimer);
    if (m_bHot) {
        Invalidate(TRUE);
    }
    m_bHot = FALSE;
    return false;
}

void CXTButton::OnMouseMove(UINT, CPoint) {
    if (m_dwxStyle & BS_XT_FLAT) {
        SetTimer(kHotTimer, kHotTimerMs);
        TrackHot();
    }
    Default();
}

void CXTButton::OnTimer(UINT_PTR) {
    if (TrackHot()) {
        Default();
    }
}

void CXTButton::OnLButtonDown(UINT, CPoint) {
    m_bPressed = TRUE;
    Default();
}

void CXTButton::OnLButtonUp(UINT, CPoint) {
    m_bPressed = FALSE;
    Default();
}

void CXTButton::OnLButtonDblClk(UINT nFlags, CPoint) {
    // A double click is a second press.
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(cursor.x, cursor.y));
    Default();
}

BOOL CXTButton::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

void CXTButton::OnSysColorChange() {
    Default();
    if (!m_bUserColors) {
        m_clrFace = ::GetSysColor(COLOR_BTNFACE);
        m_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
        m_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        m_clrText = ::GetSysColor(COLOR_BTNTEXT);
    }
}
