// Standard and common control wrappers: creation with the control's class and its messages.
#include "classlib/classlib.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

namespace {

// The common controls' classes are registered once per process before first use.
void EnsureCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

template <class T>
T Msg(const CWnd* w, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return static_cast<T>(::SendMessageA(w->m_hWnd, message, wParam, lParam));
}

LPARAM Text(LPCTSTR s) { return reinterpret_cast<LPARAM>(s); }

// An item's text of a list or combo box through its length and text messages.
void ItemText(const CWnd* w, UINT lengthMsg, UINT textMsg, int nIndex, CString& rString) {
    int length = Msg<int>(w, lengthMsg, static_cast<WPARAM>(nIndex));
    if (length < 0) {
        rString.Empty();
        return;
    }
    Msg<int>(w, textMsg, static_cast<WPARAM>(nIndex),
             reinterpret_cast<LPARAM>(rString.GetBuffer(length)));
    rString.ReleaseBuffer();
}

// Owner drawing of list and combo boxes comes back to the control's own DrawItem and
// MeasureItem; FALSE for every other message.
template <class T>
BOOL OwnerDrawNotify(T* control, UINT message, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DRAWITEM) {
        control->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    } else if (message == WM_MEASUREITEM) {
        control->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    } else {
        return FALSE;
    }
    if (pResult != nullptr) {
        *pResult = TRUE;
    }
    return TRUE;
}

}  // namespace

// Buttons.

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}
int CButton::GetCheck() const { return Msg<int>(this, BM_GETCHECK); }
void CButton::SetCheck(int nCheck) { Msg<LRESULT>(this, BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
UINT CButton::GetState() const { return Msg<UINT>(this, BM_GETSTATE); }
void CButton::SetState(BOOL bHighlight) {
    Msg<LRESULT>(this, BM_SETSTATE, static_cast<WPARAM>(bHighlight));
}
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFF; }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
    Msg<LRESULT>(this, BM_SETSTYLE, nStyle, bRedraw);
}
HICON CButton::SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(
        Msg<LRESULT>(this, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CButton::GetIcon() const {
    return reinterpret_cast<HICON>(Msg<LRESULT>(this, BM_GETIMAGE, IMAGE_ICON));
}
HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(
        Msg<LRESULT>(this, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult != nullptr) {
            *pResult = TRUE;
        }
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// Statics.

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}
HICON CStatic::SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(
        Msg<LRESULT>(this, STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(Msg<LRESULT>(this, STM_GETICON)); }
HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(
        Msg<LRESULT>(this, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

// Edits.

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}
void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
    Msg<LRESULT>(this, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll) {
        Msg<LRESULT>(this, EM_SCROLLCARET);
    }
}
void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0;
    DWORD end = 0;
    Msg<LRESULT>(this, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
}
void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) {
    Msg<LRESULT>(this, EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), Text(lpszNewText));
}
void CEdit::LimitText(int nChars) { Msg<LRESULT>(this, EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return Msg<BOOL>(this, EM_SETREADONLY, bReadOnly); }
int CEdit::GetLineCount() const { return Msg<int>(this, EM_GETLINECOUNT); }
BOOL CEdit::GetModify() const { return Msg<BOOL>(this, EM_GETMODIFY); }
void CEdit::SetModify(BOOL bModified) { Msg<LRESULT>(this, EM_SETMODIFY, bModified); }

// Combo boxes.

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}
int CComboBox::GetCount() const { return Msg<int>(this, CB_GETCOUNT); }
int CComboBox::GetCurSel() const { return Msg<int>(this, CB_GETCURSEL); }
int CComboBox::SetCurSel(int nSelect) {
    return Msg<int>(this, CB_SETCURSEL, static_cast<WPARAM>(nSelect));
}
int CComboBox::AddString(LPCTSTR lpszString) {
    return Msg<int>(this, CB_ADDSTRING, 0, Text(lpszString));
}
int CComboBox::InsertString(int nIndex, LPCTSTR lpszString) {
    return Msg<int>(this, CB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(lpszString));
}
int CComboBox::DeleteString(UINT nIndex) { return Msg<int>(this, CB_DELETESTRING, nIndex); }
void CComboBox::ResetContent() { Msg<LRESULT>(this, CB_RESETCONTENT); }
int CComboBox::FindString(int nStartAfter, LPCTSTR lpszString) const {
    return Msg<int>(this, CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString));
}
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    return Msg<int>(this, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(lpszFind));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR lpszString) {
    return Msg<int>(this, CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString));
}
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
    return Msg<int>(this, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                    reinterpret_cast<LPARAM>(lpszText));
}
void CComboBox::GetLBText(int nIndex, CString& rString) const {
    ItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}
int CComboBox::GetLBTextLen(int nIndex) const {
    return Msg<int>(this, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex));
}
DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    return Msg<DWORD_PTR>(this, CB_GETITEMDATA, static_cast<WPARAM>(nIndex));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return Msg<int>(this, CB_SETITEMDATA, static_cast<WPARAM>(nIndex),
                    static_cast<LPARAM>(dwItemData));
}
void CComboBox::GetDroppedControlRect(LPRECT lprect) const {
    Msg<LRESULT>(this, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(lprect));
}
BOOL CComboBox::GetDroppedState() const { return Msg<BOOL>(this, CB_GETDROPPEDSTATE); }
void CComboBox::ShowDropDown(BOOL bShowIt) { Msg<LRESULT>(this, CB_SHOWDROPDOWN, bShowIt); }
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return OwnerDrawNotify(this, message, lParam, pResult) ||
           CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// List boxes.

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}
int CListBox::GetCount() const { return Msg<int>(this, LB_GETCOUNT); }
int CListBox::GetCurSel() const { return Msg<int>(this, LB_GETCURSEL); }
int CListBox::SetCurSel(int nSelect) {
    return Msg<int>(this, LB_SETCURSEL, static_cast<WPARAM>(nSelect));
}
int CListBox::AddString(LPCTSTR lpszItem) {
    return Msg<int>(this, LB_ADDSTRING, 0, Text(lpszItem));
}
int CListBox::InsertString(int nIndex, LPCTSTR lpszItem) {
    return Msg<int>(this, LB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(lpszItem));
}
int CListBox::DeleteString(UINT nIndex) { return Msg<int>(this, LB_DELETESTRING, nIndex); }
void CListBox::ResetContent() { Msg<LRESULT>(this, LB_RESETCONTENT); }
int CListBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    return Msg<int>(this, LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(lpszFind));
}
int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const {
    return Msg<int>(this, LB_GETTEXT, static_cast<WPARAM>(nIndex),
                    reinterpret_cast<LPARAM>(lpszBuffer));
}
void CListBox::GetText(int nIndex, CString& rString) const {
    ItemText(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}
int CListBox::GetTextLen(int nIndex) const {
    return Msg<int>(this, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex));
}
DWORD_PTR CListBox::GetItemData(int nIndex) const {
    return Msg<DWORD_PTR>(this, LB_GETITEMDATA, static_cast<WPARAM>(nIndex));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return Msg<int>(this, LB_SETITEMDATA, static_cast<WPARAM>(nIndex),
                    static_cast<LPARAM>(dwItemData));
}
int CListBox::SetTopIndex(int nIndex) {
    return Msg<int>(this, LB_SETTOPINDEX, static_cast<WPARAM>(nIndex));
}
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return OwnerDrawNotify(this, message, lParam, pResult) ||
           CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// List views.

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    EnsureCommonControls();
    return CWnd::Create(WC_LISTVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CListCtrl::GetItemCount() const { return Msg<int>(this, LVM_GETITEMCOUNT); }
int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth,
                            int nSubItem) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = nFormat;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return Msg<int>(this, LVM_INSERTCOLUMNA, static_cast<WPARAM>(nCol),
                    reinterpret_cast<LPARAM>(&column));
}
BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    return Msg<BOOL>(this, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), cx);
}
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(&item);
}
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    return InsertItem(&item);
}
int CListCtrl::InsertItem(const LVITEM* pItem) {
    return Msg<int>(this, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(pItem));
}
BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return Msg<BOOL>(this, LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&item));
}
CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control copies at most the buffer's size: grow until the text fits.
    CString text;
    for (int size = 256;; size *= 2) {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        int length = Msg<int>(this, LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem),
                              reinterpret_cast<LPARAM>(&item));
        text.ReleaseBuffer(length);
        if (length < size - 1) {
            return text;
        }
    }
}
BOOL CListCtrl::DeleteItem(int nItem) {
    return Msg<BOOL>(this, LVM_DELETEITEM, static_cast<WPARAM>(nItem));
}
BOOL CListCtrl::DeleteAllItems() { return Msg<BOOL>(this, LVM_DELETEALLITEMS); }
BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK) {
    return Msg<BOOL>(this, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK);
}
CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Msg<LRESULT>(
        this, LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
        reinterpret_cast<LPARAM>(pImageList != nullptr ? pImageList->m_hImageList : nullptr))));
}
DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
    return Msg<DWORD>(this, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle));
}
DWORD CListCtrl::GetExtendedStyle() const { return Msg<DWORD>(this, LVM_GETEXTENDEDLISTVIEWSTYLE); }
int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    return Msg<int>(this, LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), nFlags);
}
BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return Msg<BOOL>(this, LVM_SETITEMSTATE, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&item));
}
UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    return Msg<UINT>(this, LVM_GETITEMSTATE, static_cast<WPARAM>(nItem),
                     static_cast<LPARAM>(nMask));
}
int CListCtrl::GetTopIndex() const { return Msg<int>(this, LVM_GETTOPINDEX); }
int CListCtrl::GetCountPerPage() const { return Msg<int>(this, LVM_GETCOUNTPERPAGE); }

// Tab controls.

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    EnsureCommonControls();
    return CWnd::Create(WC_TABCONTROLA, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CTabCtrl::GetItemCount() const { return Msg<int>(this, TCM_GETITEMCOUNT); }
LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0);
}
LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
}
LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam) {
    TCITEMA item = {};
    item.mask = nMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return Msg<LONG>(this, TCM_INSERTITEMA, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&item));
}
BOOL CTabCtrl::DeleteItem(int nItem) {
    return Msg<BOOL>(this, TCM_DELETEITEM, static_cast<WPARAM>(nItem));
}
BOOL CTabCtrl::DeleteAllItems() { return Msg<BOOL>(this, TCM_DELETEALLITEMS); }
int CTabCtrl::GetCurSel() const { return Msg<int>(this, TCM_GETCURSEL); }
int CTabCtrl::SetCurSel(int nItem) {
    return Msg<int>(this, TCM_SETCURSEL, static_cast<WPARAM>(nItem));
}
BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const {
    return Msg<BOOL>(this, TCM_GETITEMRECT, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(lpRect));
}
void CTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect) {
    Msg<LRESULT>(this, TCM_ADJUSTRECT, static_cast<WPARAM>(bLarger),
                 reinterpret_cast<LPARAM>(lpRect));
}
CImageList* CTabCtrl::GetImageList() const {
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(Msg<LRESULT>(this, TCM_GETIMAGELIST)));
}
CImageList* CTabCtrl::SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Msg<LRESULT>(
        this, TCM_SETIMAGELIST, 0,
        reinterpret_cast<LPARAM>(pImageList != nullptr ? pImageList->m_hImageList : nullptr))));
}
CToolTipCtrl* CTabCtrl::GetToolTips() const {
    return static_cast<CToolTipCtrl*>(
        CWnd::FromHandle(reinterpret_cast<HWND>(Msg<LRESULT>(this, TCM_GETTOOLTIPS))));
}
void CTabCtrl::SetToolTips(CToolTipCtrl* pWndTip) {
    Msg<LRESULT>(this, TCM_SETTOOLTIPS,
                 reinterpret_cast<WPARAM>(pWndTip != nullptr ? pWndTip->m_hWnd : nullptr));
}

// Tooltips.

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    EnsureCommonControls();
    return CWnd::CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr);
}

namespace {

TOOLINFOA ToolInfo(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
    if (nIDTool == 0) {
        // Without an id the tool is the window itself.
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(pWnd->m_hWnd);
    }
    return ti;
}

}  // namespace

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    if (lpRectTool != nullptr) {
        ti.rect = *lpRectTool;
    } else if (nIDTool != 0) {
        pWnd->GetClientRect(&ti.rect);
    }
    ti.uFlags |= TTF_SUBCLASS;
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return Msg<BOOL>(this, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}
void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    Msg<LRESULT>(this, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}
void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<LPSTR>(lpszText);
    Msg<LRESULT>(this, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}
void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    TOOLINFOA ti = ToolInfo(pWnd, nIDTool);
    ti.rect = *lpRect;
    Msg<LRESULT>(this, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}
void CToolTipCtrl::Activate(BOOL bActivate) { Msg<LRESULT>(this, TTM_ACTIVATE, bActivate); }
void CToolTipCtrl::RelayEvent(LPMSG lpMsg) {
    Msg<LRESULT>(this, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}
int CToolTipCtrl::SetMaxTipWidth(int iWidth) {
    return Msg<int>(this, TTM_SETMAXTIPWIDTH, 0, iWidth);
}
void CToolTipCtrl::SetDelayTime(UINT nDelay) {
    Msg<LRESULT>(this, TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
}
int CToolTipCtrl::GetToolCount() const { return Msg<int>(this, TTM_GETTOOLCOUNT); }

// Progress bars.

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    EnsureCommonControls();
    return CWnd::Create(PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}
void CProgressCtrl::SetRange(short nLower, short nUpper) {
    Msg<LRESULT>(this, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
}
void CProgressCtrl::SetRange32(int nLower, int nUpper) {
    Msg<LRESULT>(this, PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    PBRANGE range = {};
    Msg<LRESULT>(this, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
}
int CProgressCtrl::GetPos() const { return Msg<int>(this, PBM_GETPOS); }
int CProgressCtrl::SetPos(int nPos) {
    return Msg<int>(this, PBM_SETPOS, static_cast<WPARAM>(nPos));
}
int CProgressCtrl::OffsetPos(int nPos) {
    return Msg<int>(this, PBM_DELTAPOS, static_cast<WPARAM>(nPos));
}
int CProgressCtrl::SetStep(int nStep) {
    return Msg<int>(this, PBM_SETSTEP, static_cast<WPARAM>(nStep));
}
int CProgressCtrl::StepIt() { return Msg<int>(this, PBM_STEPIT); }
