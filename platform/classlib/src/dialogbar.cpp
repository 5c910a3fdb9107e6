// CDialogBar: a bar made from a child dialog template, sized by its template.
#include "classlib/classlib.h"
#include "dialog_template.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CDialogBar::CDialogBar() {
    // The template's margins are the bar's: no borders of its own.
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 0;
    m_cyBottomBorder = 0;
}

CDialogBar::~CDialogBar() {
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        DestroyWindow();
    }
}

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
    return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), nStyle, nID);
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID) {
    m_dwStyle = nStyle & CBRS_ALL;
    std::string tmpl = AfxLoadDialogTemplate(lpszTemplateName);
    if (tmpl.size() < sizeof(DLGTEMPLATE)) {
        return FALSE;
    }
    // A bar is a child without a caption, hidden until the frame's layout has placed it.
    DWORD* style = AfxDialogTemplateStyle(tmpl);
    *style = (*style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE)) |
             WS_CHILD | WS_CLIPSIBLINGS;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_lpszTemplateName = lpszTemplateName;
    BOOL created = AfxCreateDialogWindow(this, tmpl.data(), pParentWnd->GetSafeHwnd());
    m_lpszTemplateName = nullptr;
    if (!created) {
        return FALSE;
    }
    SetDlgCtrlID(static_cast<int>(nID));
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    // The layout gives the bar its place; until then it is shown with no room.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

LRESULT CDialogBar::HandleInitDialog(WPARAM, LPARAM) {
    Default();
    UpdateData(FALSE);
    return FALSE;  // the bar takes no focus of its own
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    if (bStretch) {
        return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
    }
    return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
