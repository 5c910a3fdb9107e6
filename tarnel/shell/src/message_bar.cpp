// The Messages window: the list's handling of posted lines and the docking window around it.
#include "tarnel/shell/message_bar.h"

#include <cstring>
#include <memory>

#include "tarnel/shell/resource.h"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(MessageLine) == 8, "a posted line is two 32-bit words");
#endif

namespace {

constexpr int kColumnWidth = 1500;
constexpr int kIconWidth = 13;
constexpr COLORREF kIconMask = RGB(255, 255, 255);

}  // namespace

BOOL PostMessageLine(HWND hList, const char* text, int nKind) {
    auto buffer = std::make_unique<char[]>(kMessageTextSize);
    if (text != nullptr) {
        std::strncpy(buffer.get(), text, kMessageTextSize - 1);
    }
    buffer[kMessageTextSize - 1] = '\0';
    auto line = std::make_unique<MessageLine>(MessageLine{buffer.get(), nKind});
    if (!::PostMessageA(hList, WM_ADD_MESSAGE_LINE, 0, reinterpret_cast<LPARAM>(line.get()))) {
        return FALSE;
    }
    // The list owns both from here on.
    buffer.release();
    line.release();
    return TRUE;
}

IMPLEMENT_DYNAMIC(CMessageList, CListCtrl)

BEGIN_MESSAGE_MAP(CMessageList, CListCtrl)
ON_MESSAGE(WM_ADD_MESSAGE_LINE, OnAddLine)
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CMessageList::CMessageList() = default;

CMessageList::~CMessageList() = default;

BOOL CMessageList::Create(CWnd* pParentWnd, UINT nID) {
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER;
    if (!CListCtrl::Create(dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) {
        return FALSE;
    }
    InsertColumn(0, "", LVCFMT_LEFT, kColumnWidth);
    if (m_images.Create(IDB_MESSAGE_KINDS, kIconWidth, 0, kIconMask)) {
        SetImageList(&m_images, LVSIL_SMALL);
        SetImageList(&m_images, LVSIL_NORMAL);
    }
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_FLATSB);
    return TRUE;
}

LRESULT CMessageList::OnAddLine(WPARAM /*wParam*/, LPARAM lParam) {
    std::unique_ptr<MessageLine> line(reinterpret_cast<MessageLine*>(lParam));
    if (line == nullptr) {
        return 0;
    }
    std::unique_ptr<char[]> text(line->pszText);

    // A full log drops its oldest line whatever arrives, so it never holds more than one line
    // above the limit.
    if (GetItemCount() > kMessageListLimit) {
        DeleteItem(0);
    }
    int nShown = 0;
    if (line->nKind >= kMessagePlain && line->nKind <= kMessageAdvice) {
        nShown = InsertItem(GetItemCount(), text != nullptr ? text.get() : "", line->nKind);
        if (line->nKind == kMessageFailure) {
            AfxMessageBeep(MB_ICONEXCLAMATION);
        }
    } else if (line->nKind == kMessageClearAll) {
        DeleteAllItems();
    }
    EnsureVisible(nShown, FALSE);
    Invalidate(TRUE);
    UpdateWindow();
    return 0;
}

void CMessageList::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}

void CMessageList::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}

IMPLEMENT_DYNAMIC(CMessageBar, CXTDockWindow)

BEGIN_MESSAGE_MAP(CMessageBar, CXTDockWindow)
ON_WM_CREATE()
END_MESSAGE_MAP()

CMessageBar::CMessageBar() = default;

CMessageBar::~CMessageBar() = default;

int CMessageBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CXTDockWindow::OnCreate(lpcs) == -1) {
        return -1;
    }
    if (!m_wndList.Create(this, IDC_MESSAGE_LIST)) {
        return -1;
    }
    // Placed to fill the window at its next position change.
    SetChild(&m_wndList);
    return 0;
}
