// CXTToolBar: its messages, the customise dialog's notifications, custom drawing of separators
// and checked buttons, flicker-free painting, and the layout of its buttons.
#include "classlib/toolbar_control.h"
#include "docking/aux_data.h"
#include "docking/draw.h"
#include "docking/mem_dc.h"
#include "menus/toolbar.h"
#include "menus/toolbar_separators.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kBorderBits = 0x0F00;
constexpr DWORD kComCtl471 = 0x40047;
constexpr int kOneRow = 32767;

// The command's prompt: the part after the first newline, or all of it.
CString ButtonInfoText(UINT nCommand) {
    CString text;
    if (nCommand == 0 || !text.LoadString(nCommand)) {
        return CString();
    }
    const int newline = text.Find('\n');
    return newline >= 0 ? text.Mid(newline + 1) : text;
}

}  // namespace

LRESULT CXTToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_NCCALCSIZE: {
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
            CRect area(params->rgrc[0]);
            CalcButtonArea(area);
            params->rgrc[0] = area;
            return 0;
        }
        case WM_WINDOWPOSCHANGING: {
            const DWORD style = m_dwStyle;
            m_dwStyle &= ~kBorderBits;
            LRESULT result = CXTControlBar::WindowProc(message, wParam, lParam);
            m_dwStyle = style;
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(pos->flags & SWP_NOSIZE)) {
                Invalidate();
            }
            return result;
        }
        case WM_SYSCOLORCHANGE:
            if (m_hInstImageWell != nullptr && m_hRsrcImageWell != nullptr) {
                HBITMAP hBitmap = XTLoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell, FALSE);
                if (hBitmap != nullptr && !SetBitmap(hBitmap)) {
                    ::DeleteObject(hBitmap);
                }
            }
            break;
        case WM_NCCREATE: {
            LRESULT result = CXTControlBar::WindowProc(message, wParam, lParam);
            if (m_hWndOwner != nullptr) {
                DefWindowProc(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner), 0);
            }
            DefWindowProc(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
            return result;
        }
        case WM_PAINT:
            DrawBar();
            return 0;
        case WM_DESTROY:
            SaveState();
            break;
        case TB_SETBUTTONSIZE:
        case TB_SETBITMAPSIZE: {
            LRESULT result = SendWithFlatStyle(message, wParam, lParam);
            if (result) {
                CSize size(LOWORD(lParam), HIWORD(lParam));
                (message == TB_SETBUTTONSIZE ? m_sizeButton : m_sizeImage) = size;
            }
            return result;
        }
        case WM_SETTINGCHANGE:
        case WM_SETFONT:
            return SendWithFlatStyle(message, wParam, lParam);
        default:
            break;
    }
    return CXTControlBar::WindowProc(message, wParam, lParam);
}

void CXTToolBar::CalcButtonArea(CRect& rect) {
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    if (XTGetComCtlVersion() < kComCtl471) {
        inside.top -= 2;
    }
    rect.left += inside.left;
    rect.top += inside.top;
    rect.right += inside.right;
    rect.bottom += inside.bottom;
}

BOOL CXTToolBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (message != WM_NOTIFY || header == nullptr || header->hwndFrom != m_hWnd) {
        return CXTControlBar::OnChildNotify(message, wParam, lParam, pResult);
    }
    LRESULT result = 0;
    switch (header->code) {
        case TBN_BEGINADJUST:
        case TBN_BEGINDRAG:
        case TBN_ENDDRAG:
            break;
        case TBN_ENDADJUST:
            SaveState();
            break;
        case TBN_CUSTHELP:
            AfxMessageBox("Help not implemented!", MB_ICONINFORMATION);
            break;
        case TBN_GETBUTTONINFOA:
        case TBN_GETBUTTONINFOW: {
            auto* info = reinterpret_cast<NMTOOLBARA*>(lParam);
            if (info->iItem < 0 || info->iItem >= static_cast<int>(m_buttonSnapshot.size())) {
                break;
            }
            info->tbButton = m_buttonSnapshot[static_cast<size_t>(info->iItem)];
            const CString text = ButtonInfoText(static_cast<UINT>(info->tbButton.idCommand));
            if (info->pszText != nullptr && info->cchText > 0) {
                if (header->code == TBN_GETBUTTONINFOA) {
                    lstrcpynA(info->pszText, text, info->cchText);
                } else {
                    ::MultiByteToWideChar(CP_ACP, 0, text, -1,
                                          reinterpret_cast<LPWSTR>(info->pszText), info->cchText);
                }
            }
            result = TRUE;
            break;
        }
        case TBN_QUERYINSERT:
        case TBN_QUERYDELETE:
            result = !IsFloating();
            break;
        case TBN_RESET:
            RestoreState();
            [[fallthrough]];
        case TBN_TOOLBARCHANGE:
            if (CFrameWnd* pFrame = GetParentFrame()) {
                pFrame->RecalcLayout();
            }
            break;
        case TBN_DROPDOWN: {
            auto* notify = reinterpret_cast<NMTOOLBARA*>(lParam);
            CRect rc;
            ::SendMessageA(m_hWnd, TB_GETRECT, static_cast<WPARAM>(notify->iItem),
                           reinterpret_cast<LPARAM>(&rc));
            ClientToScreen(&rc);
            OnDropDown(reinterpret_cast<NMTOOLBAR*>(notify), static_cast<UINT>(notify->iItem), rc);
            result = TBDDRET_DEFAULT;
            break;
        }
        case NM_CUSTOMDRAW:
            result = OnCustomDraw(reinterpret_cast<NMCUSTOMDRAW*>(lParam));
            break;
        default:
            return CXTControlBar::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult != nullptr) {
        *pResult = result;
    }
    return TRUE;
}

// Drawing.

LRESULT CXTToolBar::OnCustomDraw(NMCUSTOMDRAW* pDraw) {
    if (!(m_dwStyle & 0x0800)) {
        return CDRF_DODEFAULT;
    }
    CDC* pDC = CDC::FromHandle(pDraw->hdc);
    switch (pDraw->dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPREPAINT:
            return DrawButtonImage(pDC, pDraw) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
        case CDDS_POSTPAINT:
            FillSeparatorGaps(pDC);
            DrawSeparators(pDC);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

void CXTToolBar::DrawSeparators(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    for (int i = 0; i < GetButtonCount(); ++i) {
        TBBUTTON button;
        GetButton(i, &button);
        if (!(button.fsStyle & TBSTYLE_SEP) || button.idCommand != 0) {
            continue;
        }
        CRect rc;
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&rc));
        if (button.fsState & TBSTATE_WRAP) {
            const int y = rc.top + rc.Height() / 2;
            CRect line(client.left, y, client.right, y + 2);
            pDC->FillSolidRect(&line, xtAfxData.m_clr3DFace);
            pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
            pDC->SetPixel(client.right - 1, y, xtAfxData.m_clr3DShadow);
        } else {
            rc.DeflateRect(2, 0);
            pDC->DrawEdge(&rc, EDGE_ETCHED, BF_LEFT);
            pDC->SetPixel(rc.left, rc.bottom - 1, xtAfxData.m_clr3DShadow);
        }
    }
}

void CXTToolBar::FillSeparatorGaps(CDC* pDC) {
    for (int i = 1; i < GetButtonCount(); ++i) {
        TBBUTTON button;
        GetButton(i, &button);
        if (!(button.fsStyle & TBSTYLE_SEP) || !(button.fsState & TBSTATE_WRAP)) {
            continue;
        }
        CRect rcSep, rcBefore;
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&rcSep));
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i - 1),
                       reinterpret_cast<LPARAM>(&rcBefore));
        CRect gap(rcBefore.right, rcBefore.top, std::max(rcSep.left, rcBefore.right),
                  rcBefore.bottom);
        if (!gap.IsRectEmpty()) {
            pDC->FillSolidRect(&gap, xtAfxData.m_clr3DFace);
        }
    }
}

BOOL CXTToolBar::DrawButtonImage(CDC* pDC, NMCUSTOMDRAW* pDraw) {
    const int index = CommandToIndex(static_cast<UINT>(pDraw->dwItemSpec));
    if (index < 0) {
        return FALSE;
    }
    TBBUTTON button;
    GetButton(index, &button);
    if (button.iBitmap < 0) {
        return FALSE;
    }
    CRect rc(pDraw->rc);
    pDC->FillSolidRect(&rc, xtAfxData.m_clr3DFace);
    if (!(button.fsState & TBSTATE_CHECKED)) {
        return FALSE;
    }
    const bool pressed = (button.fsState & TBSTATE_PRESSED) != 0;
    CPoint at(rc.left + (m_sizeButton.cx - m_sizeImage.cx) / 2 + 1,
              rc.top + (m_sizeButton.cy - m_sizeImage.cy) / 2 + 1);
    if (pressed) {
        at.Offset(1, 1);
    }
    const bool hot = (pDraw->uItemState & CDIS_HOT) != 0;
    if (hot && !pressed) {
        pDC->FillSolidRect(&rc, xtAfxData.m_clr3DFace);
    } else if (!hot && !pressed && !(button.fsState & TBSTATE_ENABLED)) {
        XTFillDitherRect(pDC, &rc);
    }
    auto images = reinterpret_cast<HIMAGELIST>(DefWindowProc(TB_GETIMAGELIST, 0, 0));
    if (images != nullptr) {
        ::ImageList_Draw(images, button.iBitmap, pDC->m_hDC, at.x, at.y, ILD_TRANSPARENT);
    }
    pDC->DrawEdge(&rc, BDR_SUNKENOUTER, BF_RECT);
    return TRUE;
}

void CXTToolBar::DrawBar() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CXTMemDC memDC(this, &dc, client, xtAfxData.m_clr3DFace);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
}

// Layout.

void CXTToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    if ((dwOldStyle ^ dwNewStyle) & kBorderBits) {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    m_bDelayedButtonLayout = TRUE;
    if (dwOldStyle != dwNewStyle) {
        Layout();
    }
}

void CXTToolBar::Layout() {
    m_bDelayedButtonLayout = FALSE;
    CalcDynamicLayout(0, AfxToolBarLayoutMode(m_dwStyle));
}

CSize CXTToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    DWORD mode = (bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0);
    return CalcLayout(mode);
}

CSize CXTToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    if (AfxIsDockedSideRequest(nLength, dwMode)) {
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    }
    return CalcLayout(dwMode, nLength);
}

CSize CXTToolBar::CalcLayout(DWORD dwMode, int nLength) {
    const int count = GetButtonCount();
    std::vector<TBBUTTON> buttons(static_cast<size_t>(std::max(count, 0)));
    std::vector<AFX_TOOLBOX> boxes(buttons.size());
    for (int i = 0; i < count; ++i) {
        GetButton(i, &buttons[i]);
        AFX_TOOLBOX& box = boxes[i];
        box.bSeparator = (buttons[i].fsStyle & TBSTYLE_SEP) != 0;
        box.bControl = box.bSeparator && buttons[i].idCommand != 0;
        box.bHidden = (buttons[i].fsState & TBSTATE_HIDDEN) != 0;
        box.bWrap = (buttons[i].fsState & TBSTATE_WRAP) != 0;
        CRect rc;
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&rc));
        if (box.bSeparator) {
            box.nWidth = buttons[i].iBitmap;
            box.nDepth =
                xtmenus::WrappedSeparatorDepth(XTGetComCtlVersion(), rc.Height(), box.nWidth);
        } else {
            box.nWidth = std::max<int>(rc.Width(), m_sizeButton.cx);
        }
    }
    AFX_TOOLMETRICS metrics;
    metrics.cyButton = m_sizeButton.cy;
    metrics.bFlat = TRUE;

    CSize size(0, 0);
    if (count > 0) {
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            const BOOL dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            CRect inside(0, 0, 0, 0);
            CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
            if (dynamic && (dwMode & LM_HORZDOCK)) {
                AfxWrapToolBoxes(boxes, kOneRow);
            } else if (dynamic && (dwMode & LM_VERTDOCK)) {
                AfxWrapToolBoxes(boxes, 0);
            } else if (dynamic && nLength != -1) {
                if (dwMode & LM_LENGTHY) {
                    AfxWrapToolBoxesToHeight(boxes, nLength + inside.Height(), metrics);
                } else {
                    AfxWrapToolBoxesToWidth(boxes, nLength + inside.Width(), metrics);
                }
            } else if (dynamic && ((dwMode & LM_MRUWIDTH) || (m_dwStyle & CBRS_FLOATING))) {
                AfxWrapToolBoxesToWidth(boxes, m_nMRUWidth, metrics);
            } else {
                AfxWrapToolBoxes(boxes, (dwMode & LM_HORZ) ? kOneRow : 0);
            }
        }
        size = AfxMeasureToolBoxes(boxes, metrics);
        if (dwMode & LM_COMMIT) {
            if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) {
                m_nMRUWidth = size.cx;
            }
            m_bDelayedButtonLayout = FALSE;
            AfxCommitToolBoxWraps(*this, buttons, boxes);
            MoveControls();
        }
    }
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
    return AfxToolBarOuterSize(
        size, inside,
        CXTControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0));
}
