// CXTTabView: a view that is itself a tab control and shows one child view per tab; the page of
// the selected tab is visible and enabled, the others hidden and disabled, all laid over the
// same page rectangle inside the control.
#pragma once

#include "classlib/classlib.h"

#include <memory>
#include <vector>

// One tab of a tab view: its view and label (and a second text the toolkit keeps unused).
struct XT_TCB_ITEM {
    CWnd* m_pView = nullptr;
    CString m_strTabLabel;
    CString m_strToolTipLabel;
};

class CXTTabView : public CCtrlView {
    DECLARE_DYNCREATE(CXTTabView)
public:
    CXTTabView();
    ~CXTTabView() override;

    // Creates a view of the class (dynamically) as a new last tab with the label; without a
    // context, one naming the class, the document and the parent frame is used. The first view
    // added is shown and active, later ones stay hidden and disabled until their tab is chosen.
    // FALSE when the view object or its window cannot be made.
    virtual BOOL AddView(LPCTSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                         CCreateContext* pContext = nullptr);
    // Changes the control's style (ModifyStyle's result); the labels turn with the tabs when the
    // style becomes vertical and stand upright again when it stops being so.
    virtual BOOL ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    // Shows, enables and focuses the tab's view and selects its tab, hiding and disabling the
    // view of the tab active before. Nothing for -1 or the active tab; otherwise the index must
    // name a tab.
    virtual void SetActiveView(int nTab);
    // The same for the first tab whose view is of the class (or derived from it); nothing when
    // no tab is.
    virtual void SetActiveView(CRuntimeClass* pViewClass);
    // Forgets the tab: its record and tooltip go and the control's tab with them, so that the
    // control's tabs and the views stay in step; the view window stays (a child of this view,
    // destroyed with it), hidden when it was the active one.
    virtual void DeleteView(int nTab);
    // The tab's view: none for -1, otherwise the index must name a tab.
    virtual CWnd* GetView(int nTab);
    // The view of the first tab whose view is of the class or derived from it; none if no tab.
    virtual CWnd* GetView(CRuntimeClass* pViewClass);
    virtual CWnd* GetActiveView();
    // Sets the tabs' image list (none: no images); the previous one as a temporary object.
    virtual CImageList* SetTabImageList(CImageList* pImageList);
    // This view seen as the tab control it is.
    virtual CTabCtrl& GetTabCtrl();
    virtual void GetTabClientRect(LPRECT lpRect);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    BOOL OnEraseBkgnd(CDC* pDC);

    // The rectangle every tab's view covers.
    void GetChildRect(CRect& rect);
    // The label font from the system's message font, turned by the escapement (tenths of a
    // degree), set on the control.
    void CreateTabFont(int nEscapement);
    // Takes the control's tooltip control and hands it back to it.
    void RefreshToolTips();

    CWnd* m_pActiveView = nullptr;
    int m_nActiveTab = 0;
    // This view's own window as a tab control: a second object on the same handle, outside the
    // handle map, so that every message still reaches the view.
    CTabCtrl m_tabCtrl;
    CToolTipCtrl* m_pToolTip = nullptr;  // temporary object: taken again before each use
    CFont m_tabFont;
    std::vector<std::unique_ptr<XT_TCB_ITEM>> m_tabList;

    DECLARE_MESSAGE_MAP()
};
