// The toolkit's tab view: one child view per tab over a common page rectangle.
#include "docking/tab_view.h"

#include "docking/tab_page_rules.h"

#include <commctrl.h>

#include <cstring>

IMPLEMENT_DYNCREATE(CXTTabView, CCtrlView)

BEGIN_MESSAGE_MAP(CXTTabView, CCtrlView)
ON_WM_CREATE()
ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
ON_WM_WINDOWPOSCHANGED()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const DWORD kTabViewStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TCS_TOOLTIPS;
const DWORD kPageStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

}  // namespace

CXTTabView::CXTTabView() : CCtrlView(WC_TABCONTROLA, kTabViewStyle) {}

// The views are child windows and go with this one; only the records and the font are ours.
CXTTabView::~CXTTabView() = default;

BOOL CXTTabView::PreCreateWindow(CREATESTRUCT& cs) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CCtrlView::PreCreateWindow(cs);
}

void CXTTabView::PostNcDestroy() {
    m_tabCtrl.m_hWnd = nullptr;
    CCtrlView::PostNcDestroy();
}

int CXTTabView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CCtrlView::OnCreate(lpcs) == -1) {
        return -1;
    }
    m_tabCtrl.m_hWnd = m_hWnd;
    SetParent(CWnd::FromHandle(lpcs->hwndParent));
    // The views' clicks and creations are to reach the frame as they would without the tabs.
    ModifyStyleEx(WS_EX_NOPARENTNOTIFY, 0);
    CreateTabFont(0);
    RefreshToolTips();
    return 0;
}

void CXTTabView::CreateTabFont(int nEscapement) {
    NONCLIENTMETRICSA ncm;
    std::memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = 340;  // the record of the version-4 shell, known to every system
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0);
    ncm.lfMessageFont.lfEscapement = nEscapement;
    ncm.lfMessageFont.lfOrientation = nEscapement;
    m_tabFont.DeleteObject();
    m_tabFont.CreateFontIndirect(&ncm.lfMessageFont);
    SetFont(&m_tabFont, TRUE);
}

void CXTTabView::RefreshToolTips() {
    m_pToolTip = m_tabCtrl.GetToolTips();
    m_tabCtrl.SetToolTips(m_pToolTip);
}

BOOL CXTTabView::AddView(LPCTSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc,
                         CCreateContext* pContext) {
    RefreshToolTips();

    CCreateContext context;
    if (pContext == nullptr) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDoc;
        context.m_pCurrentFrame = GetParentFrame();
        pContext = &context;
    }

    CObject* made = pViewClass != nullptr ? pViewClass->CreateObject() : nullptr;
    if (made == nullptr) {
        return FALSE;
    }
    if (!made->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete made;
        return FALSE;
    }
    // From here the view owns itself: a window that was made and failed deletes it on its way.
    CWnd* view = static_cast<CWnd*>(made);
    if (!view->Create(nullptr, nullptr, kPageStyle, CRect(0, 0, 0, 0), this, 0, pContext)) {
        return FALSE;
    }

    if (m_tabList.empty()) {
        m_pActiveView = view;
    }
    auto item = std::make_unique<XT_TCB_ITEM>();
    item->m_pView = view;
    item->m_strTabLabel = lpszLabel;
    m_tabList.push_back(std::move(item));
    const int index = static_cast<int>(m_tabList.size()) - 1;

    if (m_pToolTip != nullptr) {
        // The first tool covers the whole control; later ones only name their tab.
        CRect empty(0, 0, 0, 0);
        m_pToolTip->AddTool(this, lpszLabel, index == 0 ? nullptr : &empty,
                            static_cast<UINT_PTR>(index));
    }
    if (index > 0) {
        view->EnableWindow(FALSE);
        view->ShowWindow(SW_HIDE);
    }
    m_tabCtrl.InsertItem(TCIF_TEXT | TCIF_IMAGE, index, lpszLabel, index, 0);

    CRect page;
    GetChildRect(page);
    view->MoveWindow(page, TRUE);
    return TRUE;
}

BOOL CXTTabView::ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    xtdock::TabFontChange font = xtdock::TabFontForStyleChange(GetStyle(), dwAdd);
    if (font.rebuild) {
        CreateTabFont(font.escapement);
    }
    return ModifyStyle(dwRemove, dwAdd, nFlags);
}

void CXTTabView::SetActiveView(int nTab) {
    if (nTab == -1 || nTab == m_nActiveTab) {
        return;
    }
    if (m_nActiveTab != -1) {
        CWnd* old = m_tabList[static_cast<size_t>(m_nActiveTab)]->m_pView;
        old->EnableWindow(FALSE);
        old->ShowWindow(SW_HIDE);
    }
    CWnd* view = m_tabList[static_cast<size_t>(nTab)]->m_pView;
    view->EnableWindow(TRUE);
    view->ShowWindow(SW_SHOW);
    view->SetFocus();
    m_pActiveView = view;
    m_nActiveTab = nTab;
    m_tabCtrl.SetCurSel(nTab);
}

void CXTTabView::SetActiveView(CRuntimeClass* pViewClass) {
    for (size_t i = 0; i < m_tabList.size(); ++i) {
        CWnd* view = m_tabList[i]->m_pView;
        if (!view->IsKindOf(pViewClass)) {
            continue;
        }
        if (m_pActiveView != nullptr) {
            m_pActiveView->EnableWindow(FALSE);
            m_pActiveView->ShowWindow(SW_HIDE);
        }
        view->EnableWindow(TRUE);
        view->ShowWindow(SW_SHOW);
        view->SetFocus();
        m_pActiveView = view;
        m_nActiveTab = static_cast<int>(i);
        m_tabCtrl.SetCurSel(m_nActiveTab);
        return;
    }
}

void CXTTabView::DeleteView(int nTab) {
    CWnd* view = m_tabList[static_cast<size_t>(nTab)]->m_pView;
    m_tabList.erase(m_tabList.begin() + nTab);
    RefreshToolTips();
    if (m_pToolTip != nullptr) {
        m_pToolTip->DelTool(this, static_cast<UINT_PTR>(nTab));
    }
    m_tabCtrl.DeleteItem(nTab);
    if (nTab == m_nActiveTab) {
        view->EnableWindow(FALSE);
        view->ShowWindow(SW_HIDE);
        m_pActiveView = nullptr;
        m_nActiveTab = -1;
    } else if (nTab < m_nActiveTab) {
        --m_nActiveTab;
    }
}

CWnd* CXTTabView::GetView(int nTab) {
    if (nTab == -1) {
        return nullptr;
    }
    return m_tabList[static_cast<size_t>(nTab)]->m_pView;
}

CWnd* CXTTabView::GetView(CRuntimeClass* pViewClass) {
    for (const auto& item : m_tabList) {
        if (item->m_pView->IsKindOf(pViewClass)) {
            return item->m_pView;
        }
    }
    return nullptr;
}

CWnd* CXTTabView::GetActiveView() { return m_pActiveView; }

CImageList* CXTTabView::SetTabImageList(CImageList* pImageList) {
    return m_tabCtrl.SetImageList(pImageList);
}

CTabCtrl& CXTTabView::GetTabCtrl() { return m_tabCtrl; }

void CXTTabView::GetTabClientRect(LPRECT lpRect) { m_tabCtrl.GetClientRect(lpRect); }

void CXTTabView::GetChildRect(CRect& rect) {
    CRect client;
    GetTabClientRect(&client);
    rect = xtdock::TabPageRect(client, GetStyle());
}

void CXTTabView::OnSelChange(NMHDR*, LRESULT* pResult) {
    SetActiveView(m_tabCtrl.GetCurSel());
    *pResult = 0;
}

void CXTTabView::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CRect page;
    GetChildRect(page);
    for (const auto& item : m_tabList) {
        item->m_pView->MoveWindow(page, TRUE);
    }
    if ((lpwndpos->flags & SWP_HIDEWINDOW) != 0) {
        // A hidden frame view must not stay the frame's active view: commands would be routed
        // to a window the user cannot see.
        CFrameWnd* frame = GetParentFrame();
        if (frame != nullptr) {
            for (const auto& item : m_tabList) {
                if (frame->GetActiveView() == item->m_pView) {
                    frame->SetActiveView(nullptr);
                }
            }
        }
    }
    CCtrlView::OnWindowPosChanged(lpwndpos);
}

BOOL CXTTabView::OnEraseBkgnd(CDC* pDC) {
    // The active view paints its own page; erasing under it only makes it flicker.
    if (m_pActiveView != nullptr && m_pActiveView->m_hWnd != nullptr) {
        CRect rect;
        m_pActiveView->GetWindowRect(&rect);
        ScreenToClient(&rect);
        pDC->ExcludeClipRect(&rect);
    }
    return CCtrlView::OnEraseBkgnd(pDC);
}
