// The icon button: hover tracking through the mouse capture, and painting off screen.
#include "tarnel/shell/icon_button.h"

#include "tarnel/shell/resource.h"

IMPLEMENT_DYNAMIC(CIconButton, CButton)

BEGIN_MESSAGE_MAP(CIconButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_KILLFOCUS()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {

constexpr int kIconSize = 32;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Gap between the button's edge and a left icon, and between the edge and the focus rectangle.
constexpr int kIconGap = 3;
constexpr int kFocusInset = 3;

HICON LoadSizedIcon(UINT nId, int cx, int cy) {
    return static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId),
                                           IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
}

void DestroyIconIfAny(HICON& icon) {
    if (icon != nullptr) {
        ::DestroyIcon(icon);
        icon = nullptr;
    }
}

}  // namespace

CIconButton::CIconButton()
    : m_crNormalBack(::GetSysColor(COLOR_BTNFACE)),
      m_crNormalText(::GetSysColor(COLOR_BTNTEXT)),
      m_crOverBack(::GetSysColor(COLOR_BTNFACE)),
      m_crOverText(::GetSysColor(COLOR_BTNTEXT)) {}

CIconButton::~CIconButton() {
    DestroyIconIfAny(m_hIconOver);
    DestroyIconIfAny(m_hIconNormal);
    if (m_hCursor != nullptr) {
        ::DestroyCursor(m_hCursor);
    }
}

void CIconButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

BOOL CIconButton::SetIcon(UINT nIdOver, UINT nIdNormal, int cx, int cy) {
    DestroyIconIfAny(m_hIconOver);
    DestroyIconIfAny(m_hIconNormal);
    m_hIconOver = LoadSizedIcon(nIdOver, cx, cy);
    m_hIconNormal = LoadSizedIcon(nIdNormal != 0 ? nIdNormal : nIdOver, cx, cy);
    m_cxIcon = cx;
    m_cyIcon = cy;
    RepaintNow();
    return m_hIconOver != nullptr && m_hIconNormal != nullptr;
}

void CIconButton::SetOverCaptionColor(COLORREF color, BOOL bRepaint) {
    m_crOverText = color;
    if (bRepaint) {
        RepaintNow();
    }
}

void CIconButton::SetIconPosition(int nPosition) {
    m_nIconPosition = nPosition;
    RepaintNow();
}

void CIconButton::SetFlat(BOOL bFlat) {
    m_bFlat = bFlat;
    RepaintNow();
}

void CIconButton::SetButtonCursor(HCURSOR hCursor) {
    if (m_hCursor != nullptr) {
        ::DestroyCursor(m_hCursor);
    }
    m_hCursor = hCursor;
}

void CIconButton::RepaintNow() {
    if (m_hWnd != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point) {
    CButton::OnMouseMove(nFlags, point);
    if (!IsWindowEnabled()) {
        return;
    }
    // A raised button lights up only while it is being pressed.
    if (!m_bFlat && (nFlags & MK_LBUTTON) == 0) {
        return;
    }
    if (::GetCapture() != m_hWnd) {
        // The capture tells the button when the mouse leaves it again.
        if (GetParent() != nullptr) {
            SetCapture();
            m_bMouseOver = TRUE;
            RepaintNow();
        }
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        m_bMouseOver = FALSE;
        RepaintNow();
        ::ReleaseCapture();
    }
}

void CIconButton::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    m_bMouseOver = FALSE;
    RepaintNow();
}

LRESULT CIconButton::OnCaptureChanged(WPARAM, LPARAM) {
    // The button control ends a press of its own here.
    const LRESULT result = Default();
    RepaintNow();
    return result;
}

BOOL CIconButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_hCursor != nullptr) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect item(lpDrawItemStruct->rcItem);
    // Drawn off screen and copied in one piece, so that hovering does not flicker.
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(pDC) ||
        !bitmap.CreateCompatibleBitmap(pDC, item.Width(), item.Height())) {
        DrawFace(*pDC, item, lpDrawItemStruct->itemState);
        return;
    }
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    CFont* oldFont = memory.SelectObject(GetFont());
    DrawFace(memory, CRect(0, 0, item.Width(), item.Height()), lpDrawItemStruct->itemState);
    pDC->BitBlt(item.left, item.top, item.Width(), item.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldFont);
    memory.SelectObject(oldBitmap);
}

void CIconButton::DrawFace(CDC& dc, const CRect& item, UINT state) {
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool focused = (state & ODS_FOCUS) != 0;
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool lit = m_bMouseOver || pressed;

    CRect face = item;
    if (focused && !m_bFlat) {
        CBrush black(RGB(0, 0, 0));
        dc.FrameRect(&face, &black);
        face.DeflateRect(1, 1);
    }
    dc.FillSolidRect(&face, lit ? m_crOverBack : m_crNormalBack);

    if (m_bDrawBorder) {
        if (pressed) {
            if (m_bFlat) {
                CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
                dc.FrameRect(&face, &shadow);
            } else {
                CRect edge = face;
                dc.Draw3dRect(&edge, ::GetSysColor(COLOR_BTNSHADOW),
                              ::GetSysColor(COLOR_BTNHIGHLIGHT));
                edge.DeflateRect(1, 1);
                dc.Draw3dRect(&edge, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DLIGHT));
            }
        } else if (m_bFlat) {
            if (m_bMouseOver) {
                dc.Draw3dRect(&face, ::GetSysColor(COLOR_BTNHIGHLIGHT),
                              ::GetSysColor(COLOR_BTNSHADOW));
            }
        } else {
            CRect edge = face;
            dc.Draw3dRect(&edge, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
            edge.DeflateRect(1, 1);
            dc.Draw3dRect(&edge, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        }
    }

    CRect caption = face;
    const HICON icon = lit ? m_hIconOver : m_hIconNormal;
    if (icon != nullptr) {
        CPoint at;
        if (m_nIconPosition == kIconAbove) {
            at = CPoint(face.left + (face.Width() - m_cxIcon) / 2, face.top + kIconGap);
            caption.top = at.y + m_cyIcon;
        } else {
            at = CPoint(face.left + kIconGap, face.top + (face.Height() - m_cyIcon) / 2);
            caption.left = at.x + m_cxIcon;
        }
        if (pressed) {
            at.Offset(1, 1);
        }
        if (disabled) {
            dc.DrawState(at, CSize(m_cxIcon, m_cyIcon), icon, DSS_DISABLED);
        } else {
            ::DrawIconEx(dc.GetSafeHdc(), at.x, at.y, icon, m_cxIcon, m_cyIcon, 0, nullptr,
                         DI_NORMAL);
        }
    }

    CString text;
    GetWindowText(text);
    if (!text.IsEmpty()) {
        if (pressed) {
            caption.OffsetRect(1, 1);
        }
        const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        dc.SetBkMode(TRANSPARENT);
        if (disabled) {
            // Greyed: the shadow's text over its highlight, one pixel down and right.
            CRect lower = caption;
            lower.OffsetRect(1, 1);
            dc.SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
            dc.DrawText(text, &lower, format);
            dc.SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        } else {
            dc.SetTextColor(lit ? m_crOverText : m_crNormalText);
        }
        dc.DrawText(text, &caption, format);
    }

    if (focused) {
        CRect focus = item;
        focus.DeflateRect(kFocusInset, kFocusInset);
        dc.DrawFocusRect(&focus);
    }
}

void SetUpOkButton(CIconButton& button) {
    button.SetIcon(IDI_OK_OVER, IDI_OK, kIconSize, kIconSize);
    button.SetOverCaptionColor(kRed);
}

void SetUpCancelButton(CIconButton& button) {
    button.SetIcon(IDI_CANCEL_OVER, IDI_CANCEL, kIconSize, kIconSize);
    button.SetOverCaptionColor(kBlue);
}

void SetUpExitButton(CIconButton& button) {
    button.SetIcon(IDI_EXIT_OVER, IDI_EXIT, kIconSize, kIconSize);
    button.SetOverCaptionColor(kRed);
}
