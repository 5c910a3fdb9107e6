// CToolBarCtrl: the toolbar control's messages as members.
#include "classlib/classlib.h"

#include <type_traits>

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

namespace {

template <class R>
R Msg(const CWnd* pWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    LRESULT result = ::SendMessageA(pWnd->m_hWnd, message, wParam, lParam);
    if constexpr (std::is_pointer<R>::value) {
        return reinterpret_cast<R>(result);
    } else {
        return static_cast<R>(result);
    }
}

}  // namespace

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, dwStyle, rect, pParentWnd, nID)) {
        return FALSE;
    }
    SetButtonStructSize(sizeof(TBBUTTON));
    return TRUE;
}

int CToolBarCtrl::GetButtonCount() const { return Msg<int>(this, TB_BUTTONCOUNT); }
BOOL CToolBarCtrl::GetButton(int nIndex, LPTBBUTTON lpButton) const {
    return Msg<BOOL>(this, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                     reinterpret_cast<LPARAM>(lpButton));
}
BOOL CToolBarCtrl::AddButtons(int nNumButtons, LPTBBUTTON lpButtons) {
    return Msg<BOOL>(this, TB_ADDBUTTONSA, static_cast<WPARAM>(nNumButtons),
                     reinterpret_cast<LPARAM>(lpButtons));
}
BOOL CToolBarCtrl::InsertButton(int nIndex, LPTBBUTTON lpButton) {
    return Msg<BOOL>(this, TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex),
                     reinterpret_cast<LPARAM>(lpButton));
}
BOOL CToolBarCtrl::DeleteButton(int nIndex) {
    return Msg<BOOL>(this, TB_DELETEBUTTON, static_cast<WPARAM>(nIndex));
}
int CToolBarCtrl::CommandToIndex(UINT nID) const { return Msg<int>(this, TB_COMMANDTOINDEX, nID); }
BOOL CToolBarCtrl::GetItemRect(int nIndex, LPRECT lpRect) const {
    return Msg<BOOL>(this, TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                     reinterpret_cast<LPARAM>(lpRect));
}
BOOL CToolBarCtrl::GetRect(UINT nID, LPRECT lpRect) const {
    return Msg<BOOL>(this, TB_GETRECT, nID, reinterpret_cast<LPARAM>(lpRect));
}

int CToolBarCtrl::GetState(int nID) const {
    return Msg<int>(this, TB_GETSTATE, static_cast<WPARAM>(nID));
}
BOOL CToolBarCtrl::SetState(int nID, UINT nState) {
    return Msg<BOOL>(this, TB_SETSTATE, static_cast<WPARAM>(nID), MAKELPARAM(nState, 0));
}
BOOL CToolBarCtrl::EnableButton(int nID, BOOL bEnable) {
    return Msg<BOOL>(this, TB_ENABLEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bEnable, 0));
}
BOOL CToolBarCtrl::CheckButton(int nID, BOOL bCheck) {
    return Msg<BOOL>(this, TB_CHECKBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bCheck, 0));
}
BOOL CToolBarCtrl::PressButton(int nID, BOOL bPress) {
    return Msg<BOOL>(this, TB_PRESSBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bPress, 0));
}
BOOL CToolBarCtrl::HideButton(int nID, BOOL bHide) {
    return Msg<BOOL>(this, TB_HIDEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bHide, 0));
}
BOOL CToolBarCtrl::Indeterminate(int nID, BOOL bIndeterminate) {
    return Msg<BOOL>(this, TB_INDETERMINATE, static_cast<WPARAM>(nID),
                     MAKELPARAM(bIndeterminate, 0));
}
BOOL CToolBarCtrl::IsButtonEnabled(int nID) const {
    return Msg<BOOL>(this, TB_ISBUTTONENABLED, static_cast<WPARAM>(nID));
}
BOOL CToolBarCtrl::IsButtonChecked(int nID) const {
    return Msg<BOOL>(this, TB_ISBUTTONCHECKED, static_cast<WPARAM>(nID));
}
BOOL CToolBarCtrl::IsButtonPressed(int nID) const {
    return Msg<BOOL>(this, TB_ISBUTTONPRESSED, static_cast<WPARAM>(nID));
}
BOOL CToolBarCtrl::IsButtonHidden(int nID) const {
    return Msg<BOOL>(this, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(nID));
}

int CToolBarCtrl::AddBitmap(int nNumButtons, UINT nBitmapID) {
    TBADDBITMAP bitmap = {AfxGetResourceHandle(), nBitmapID};
    return Msg<int>(this, TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons),
                    reinterpret_cast<LPARAM>(&bitmap));
}
int CToolBarCtrl::AddBitmap(int nNumButtons, CBitmap* pBitmap) {
    TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(pBitmap->m_hObject)};
    return Msg<int>(this, TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons),
                    reinterpret_cast<LPARAM>(&bitmap));
}
BOOL CToolBarCtrl::ReplaceBitmap(LPTBREPLACEBITMAP pReplaceBitmap) {
    return Msg<BOOL>(this, TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(pReplaceBitmap));
}
int CToolBarCtrl::AddString(UINT nStringID) {
    return Msg<int>(this, TB_ADDSTRINGA, reinterpret_cast<WPARAM>(AfxGetResourceHandle()),
                    static_cast<LPARAM>(nStringID));
}
int CToolBarCtrl::AddStrings(LPCTSTR lpszStrings) {
    return Msg<int>(this, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(lpszStrings));
}
BOOL CToolBarCtrl::SetBitmapSize(CSize size) {
    return Msg<BOOL>(this, TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy));
}
BOOL CToolBarCtrl::SetButtonSize(CSize size) {
    return Msg<BOOL>(this, TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy));
}
CSize CToolBarCtrl::GetButtonSize() const {
    DWORD size = Msg<DWORD>(this, TB_GETBUTTONSIZE);
    return CSize(LOWORD(size), HIWORD(size));
}
void CToolBarCtrl::SetButtonStructSize(int nSize) {
    Msg<LRESULT>(this, TB_BUTTONSTRUCTSIZE, static_cast<WPARAM>(nSize));
}
void CToolBarCtrl::AutoSize() { Msg<LRESULT>(this, TB_AUTOSIZE); }
int CToolBarCtrl::GetRows() const { return Msg<int>(this, TB_GETROWS); }
void CToolBarCtrl::SetRows(int nRows, BOOL bLarger, LPRECT lpRect) {
    Msg<LRESULT>(this, TB_SETROWS, MAKEWPARAM(nRows, bLarger), reinterpret_cast<LPARAM>(lpRect));
}
void CToolBarCtrl::SetOwner(CWnd* pWnd) {
    Msg<LRESULT>(this, TB_SETPARENT, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()));
}
CToolTipCtrl* CToolBarCtrl::GetToolTips() const {
    return static_cast<CToolTipCtrl*>(CWnd::FromHandle(Msg<HWND>(this, TB_GETTOOLTIPS)));
}
void CToolBarCtrl::SetToolTips(CToolTipCtrl* pTip) {
    Msg<LRESULT>(this, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(pTip->GetSafeHwnd()));
}
DWORD CToolBarCtrl::GetExtendedStyle() const { return Msg<DWORD>(this, TB_GETEXTENDEDSTYLE); }
DWORD CToolBarCtrl::SetExtendedStyle(DWORD dwExStyle) {
    return Msg<DWORD>(this, TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(dwExStyle));
}
CImageList* CToolBarCtrl::GetImageList() const {
    return CImageList::FromHandle(Msg<HIMAGELIST>(this, TB_GETIMAGELIST));
}
CImageList* CToolBarCtrl::SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle(Msg<HIMAGELIST>(
        this, TB_SETIMAGELIST, 0,
        reinterpret_cast<LPARAM>(pImageList != nullptr ? pImageList->m_hImageList : nullptr)));
}
int CToolBarCtrl::GetHotItem() const { return Msg<int>(this, TB_GETHOTITEM); }
int CToolBarCtrl::SetHotItem(int nHot) {
    return Msg<int>(this, TB_SETHOTITEM, static_cast<WPARAM>(nHot));
}
