// CToolBar: creation over the toolbar control, buttons and images from resources, button styles
// and information, the non-client borders and gripper, tooltips by button, and the idle update.
#include "classlib/classlib.h"
#include "classlib/toolbar_buttons.h"
#include "classlib/toolbar_control.h"

#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_NCCREATE()
ON_WM_NCHITTEST()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_WINDOWPOSCHANGING()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
END_MESSAGE_MAP()

CToolBar::CToolBar() {
    // Thicker than other bars at the top and bottom: easier to grab.
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CToolBar::~CToolBar() { AfxDestroyToolBar(*this, m_hbmImageWell); }

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle,
                    CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                        UINT nID) {
    SetBorders(&rcBorders);
    // The bar's CBRS_* bits are its own; the control lays out nothing by itself.
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_TOOLBAR) {
        m_dwStyle |= CBRS_HIDE_INPLACE;
    }
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                        CCS_NODIVIDER | CCS_NORESIZE;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd,
                      nID)) {
        return FALSE;
    }
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

BOOL CToolBar::OnNcCreate(LPCREATESTRUCT lpcs) {
    if (!CWnd::OnNcCreate(lpcs)) {
        return FALSE;
    }
    // An owner given before creation gets the buttons' notifications.
    if (m_hWndOwner != nullptr) {
        DefWindowProc(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner), 0);
    }
    DefWindowProc(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return TRUE;
}

void CToolBar::SetOwner(CWnd* pOwnerWnd) {
    if (m_hWnd != nullptr) {
        DefWindowProc(TB_SETPARENT, reinterpret_cast<WPARAM>(pOwnerWnd->GetSafeHwnd()), 0);
    }
    CControlBar::SetOwner(pOwnerWnd);
}

CToolBarCtrl& CToolBar::GetToolBarCtrl() const {
    m_ctrl.m_hWnd = m_hWnd;
    return m_ctrl;
}

// Sizes.

LRESULT CToolBar::SendSizeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return AfxSendWithFlatStyle(*this, message, wParam, lParam);
}

LRESULT CToolBar::OnSetButtonSize(WPARAM wParam, LPARAM lParam) {
    LRESULT result = SendSizeMessage(TB_SETBUTTONSIZE, wParam, lParam);
    if (result) {
        m_sizeButton = CSize(LOWORD(lParam), HIWORD(lParam));
    }
    return result;
}

LRESULT CToolBar::OnSetBitmapSize(WPARAM wParam, LPARAM lParam) {
    LRESULT result = SendSizeMessage(TB_SETBITMAPSIZE, wParam, lParam);
    if (result) {
        m_sizeImage = CSize(LOWORD(lParam), HIWORD(lParam));
    }
    return result;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    AfxSendToolBarSizes(*this, sizeButton, sizeImage);
}

void CToolBar::SetHeight(int cyHeight) {
    // The room beside the buttons goes to the borders: half below, the rest above.
    AfxSetToolBarHeight(*this, cyHeight, m_sizeButton.cy, m_dwStyle, m_cyTopBorder,
                        m_cyBottomBorder);
}

// Resources.

BOOL CToolBar::LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    auto resource = AfxLoadToolBarResource(AfxGetResourceHandle(), lpszResourceName);
    if (!resource) {
        return FALSE;
    }
    std::vector<UINT> ids(resource->commands.begin(), resource->commands.end());
    if (!SetButtons(ids.data(), static_cast<int>(ids.size()))) {
        return FALSE;
    }
    const CSize image(resource->cxImage, resource->cyImage);
    SetSizes(CSize(image.cx + 7, image.cy + 7), image);
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
    return AfxLoadToolBarBitmap(*this, lpszResourceName, AfxLoadSysColorBitmap, m_sizeImage.cx,
                                m_hbmImageWell, m_hInstImageWell, m_hRsrcImageWell);
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell) {
    return AfxSetToolBarBitmap(*this, m_hbmImageWell, hbmImageWell, m_sizeImage.cx);
}

void CToolBar::OnSysColorChange() {
    // The images' greys follow the system's colours.
    if (m_hInstImageWell != nullptr && m_hRsrcImageWell != nullptr) {
        HBITMAP bitmap = AfxLoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell);
        if (bitmap != nullptr && !SetBitmap(bitmap)) {
            ::DeleteObject(bitmap);
        }
    }
    Default();
}

// Buttons.

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    const int cxSeparator = (GetStyle() & TBSTYLE_FLAT) ? 6 : 8;
    if (!AfxSetToolBarButtons(*this, lpIDArray, nIDCount, cxSeparator)) {
        return FALSE;
    }
    m_nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

void CToolBar::GetButton(int nIndex, TBBUTTON* pButton) const {
    AfxGetToolBarButton(m_hWnd, nIndex, pButton);
}

void CToolBar::SetButton(int nIndex, const TBBUTTON& button) {
    AfxSetToolBarButton(*this, nIndex, button);
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    return static_cast<int>(::SendMessageA(m_hWnd, TB_COMMANDTOINDEX, nIDFind, 0));
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON button;
    GetButton(nIndex, &button);
    return static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    // The control places the buttons where the last committed layout put them.
    if (m_bDelayedButtonLayout) {
        auto* self = const_cast<CToolBar*>(this);
        self->Layout();
    }
    ::SetRectEmpty(lpRect);
    ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(lpRect));
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
    TBBUTTON button;
    GetButton(nIndex, &button);
    return MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
    TBBUTTON button;
    GetButton(nIndex, &button);
    BYTE wrap = button.fsState & TBSTATE_WRAP;  // the layout's, not the caller's
    button.fsStyle = LOBYTE(LOWORD(nStyle));
    button.fsState =
        static_cast<BYTE>(((LOBYTE(HIWORD(nStyle)) ^ TBSTATE_ENABLED) & ~TBSTATE_WRAP) | wrap);
    SetButton(nIndex, button);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
    TBBUTTON button;
    GetButton(nIndex, &button);
    nID = static_cast<UINT>(button.idCommand);
    nStyle = MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
    TBBUTTON button;
    GetButton(nIndex, &button);
    BYTE wrap = button.fsState & TBSTATE_WRAP;
    BOOL sizeChanges = ((button.fsStyle ^ LOBYTE(LOWORD(nStyle))) & TBSTYLE_SEP) ||
                       ((button.fsStyle & TBSTYLE_SEP) && button.iBitmap != iImage);
    button.idCommand = static_cast<int>(nID);
    button.iBitmap = iImage;
    button.fsStyle = LOBYTE(LOWORD(nStyle));
    button.fsState =
        static_cast<BYTE>(((LOBYTE(HIWORD(nStyle)) ^ TBSTATE_ENABLED) & ~TBSTATE_WRAP) | wrap);
    SetButton(nIndex, button);
    if (sizeChanges) {
        m_bDelayedButtonLayout = TRUE;
    }
}

BOOL CToolBar::SetButtonText(int nIndex, LPCTSTR lpszText) {
    // The control keeps texts in a list ended by two nulls; the button names one by index.
    std::string strings(lpszText);
    strings.push_back('\0');
    strings.push_back('\0');
    LRESULT index = DefWindowProc(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings.data()));
    if (index == -1) {
        return FALSE;
    }
    TBBUTTON button;
    GetButton(nIndex, &button);
    button.iString = index;
    SetButton(nIndex, button);
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

void CToolBar::GetButtonText(int nIndex, CString& rString) const {
    rString.Empty();
    TBBUTTON button;
    GetButton(nIndex, &button);
    if (button.iString == -1 || button.idCommand == 0) {
        return;
    }
    int length = static_cast<int>(
        ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand), 0));
    if (length <= 0) {
        return;
    }
    ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand),
                   reinterpret_cast<LPARAM>(rString.GetBuffer(length)));
    rString.ReleaseBuffer();
}

CString CToolBar::GetButtonText(int nIndex) const {
    CString text;
    GetButtonText(nIndex, text);
    return text;
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    // Controls placed on the bar first, then the buttons; separators have no tip.
    INT_PTR hit = CControlBar::OnToolHitTest(point, pTI);
    if (hit != -1) {
        return hit;
    }
    int count = static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button;
        GetButton(i, &button);
        if (button.fsState & TBSTATE_HIDDEN) {
            continue;
        }
        CRect rect;
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&rect));
        if (!rect.PtInRect(point)) {
            continue;
        }
        if ((button.fsStyle & TBSTYLE_SEP) || button.idCommand == 0) {
            return -1;
        }
        AfxFillToolBarTip(pTI, m_hWnd, button.idCommand, rect);
        return button.idCommand;
    }
    return -1;
}

// Idle update.

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CToolCmdUI state;
    state.m_pOther = this;
    AfxUpdateToolBarButtons(*this, state, pTarget, bDisableIfNoHndler);
}

void CToolCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    auto* bar = static_cast<CToolBar*>(m_pOther);
    int index = static_cast<int>(m_nIndex);
    UINT style = bar->GetButtonStyle(index) & ~TBBS_DISABLED;
    if (!bOn) {
        // A button disabled while pressed would stay down.
        style = (style | TBBS_DISABLED) & ~TBBS_PRESSED;
    }
    bar->SetButtonStyle(index, style);
}

void CToolCmdUI::SetCheck(int nCheck) {
    auto* bar = static_cast<CToolBar*>(m_pOther);
    int index = static_cast<int>(m_nIndex);
    UINT style = bar->GetButtonStyle(index) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (nCheck == 1) {
        style |= TBBS_CHECKED;
    } else if (nCheck == 2) {
        style |= TBBS_INDETERMINATE;
    }
    bar->SetButtonStyle(index, style | TBBS_CHECKBOX);
}

void CToolCmdUI::SetText(LPCTSTR) {}

// The bar's frame and painting.

LRESULT CToolBar::OnNcHitTest(CPoint) { return HTCLIENT; }

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) { CalcNcBorders(lpncsp); }

void CToolBar::OnNcPaint() { EraseNonClient(); }

void CToolBar::OnPaint() {
    if (m_bDelayedButtonLayout) {
        Layout();
    }
    Default();
}

void CToolBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    // The borders are outside the client area: the frame is drawn anew anyway.
    DWORD style = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CControlBar::OnWindowPosChanging(lpwndpos);
    m_dwStyle = style;
    if (!(lpwndpos->flags & SWP_NOSIZE) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) {
        Invalidate();
    }
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    // Borders and gripper live in the non-client area: it is measured anew when they change.
    const DWORD frameBits = CBRS_BORDER_ANY | CBRS_ALIGN_ANY | CBRS_FLOATING | CBRS_GRIPPER;
    if (m_hWnd != nullptr && ((dwOldStyle ^ dwNewStyle) & frameBits) != 0) {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    m_bDelayedButtonLayout = TRUE;
}
