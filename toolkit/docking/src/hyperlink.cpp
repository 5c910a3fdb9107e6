// The hyperlink control: link colours, hover tracking, the tooltip and opening the target.
#include "docking/hyperlink.h"

#include "docking/aux_data.h"
#include "docking/resource.h"
#include "docking/shell_errors.h"

IMPLEMENT_DYNAMIC(CXTHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CXTHyperLink, CStatic)
ON_WM_CREATE()
ON_WM_SETCURSOR()
ON_WM_NCHITTEST()
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

const UINT_PTR kHoverTimer = 1;
const UINT kHoverTimerMs = 10;

}  // namespace

CXTHyperLink::CXTHyperLink() : m_strTarget("<null>"), m_hcurLink(xtAfxData.m_hcurHand) {}

CXTHyperLink::~CXTHyperLink() = default;

BOOL CXTHyperLink::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                          UINT nID) {
    m_bCreating = TRUE;
    BOOL created = CStatic::Create(lpszText, dwStyle, rect, pParentWnd, nID);
    m_bCreating = FALSE;
    return created;
}

void CXTHyperLink::Initialize() {
    if (IsTextStatic()) {
        GetWindowText(m_strTarget);
    }
    ModifyStyle(0, SS_NOTIFY);
    if (m_toolTip.m_hWnd == nullptr && m_toolTip.Create(this)) {
        m_toolTip.AddTool(this, m_strTarget);
    }
    SetFont(m_bUnderline ? &xtAfxData.m_fontULine : &xtAfxData.m_font, TRUE);
}

void CXTHyperLink::PreSubclassWindow() {
    // A window being created is not ready for messages yet: WM_CREATE does the set-up then.
    if (!m_bCreating) {
        Initialize();
    }
    CStatic::PreSubclassWindow();
}

int CXTHyperLink::OnCreate(LPCREATESTRUCT lpcs) {
    if (CStatic::OnCreate(lpcs) == -1) {
        return -1;
    }
    Initialize();
    return 0;
}

BOOL CXTHyperLink::PreTranslateMessage(MSG* pMsg) {
    if (m_toolTip.m_hWnd != nullptr) {
        m_toolTip.RelayEvent(pMsg);
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void CXTHyperLink::SetTarget(LPCTSTR lpszTarget) {
    m_strTarget = lpszTarget;
    if (m_toolTip.m_hWnd != nullptr) {
        m_toolTip.UpdateTipText(m_strTarget, this);
    }
}

CString CXTHyperLink::GetTarget() const { return m_strTarget; }

void CXTHyperLink::SetLinkColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover) {
    m_clrLink = clrLink;
    m_clrVisited = clrVisited;
    m_clrHover = clrHover;
}

COLORREF CXTHyperLink::GetLinkColor() const { return m_clrLink; }
COLORREF CXTHyperLink::GetVisitedColor() const { return m_clrVisited; }
COLORREF CXTHyperLink::GetHoverColor() const { return m_clrHover; }
void CXTHyperLink::SetVisited(BOOL bVisited) { m_bVisited = bVisited ? 1 : 0; }
BOOL CXTHyperLink::IsVisited() const { return m_bVisited; }
void CXTHyperLink::SetLinkCursor(HCURSOR hCursor) { m_hcurLink = hCursor; }
HCURSOR CXTHyperLink::GetLinkCursor() const { return m_hcurLink; }
void CXTHyperLink::SetUnderline(BOOL bUnderline) { m_bUnderline = bUnderline ? 1 : 0; }
BOOL CXTHyperLink::IsUnderlined() const { return m_bUnderline; }

BOOL CXTHyperLink::IsTextStatic() const { return (GetStyle() & 0xFF) < SS_ICON; }

HINSTANCE CXTHyperLink::OpenTarget(LPCTSTR lpszTarget, int nShowCmd) {
    CString target = lpszTarget != nullptr ? CString(lpszTarget) : m_strTarget;
    HINSTANCE result = AfxShellExecute(m_hWnd, "open", target, nullptr, nullptr, nShowCmd);
    auto code = reinterpret_cast<INT_PTR>(result);
    unsigned textId = xtdock::ShellErrorStringId(code);
    if (textId != 0) {
        CString text;
        text.LoadString(textId);
        if (textId == XT_IDS_SE_UNKNOWN) {
            CString format = text;
            text.Format(format, static_cast<int>(code));
        }
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
    }
    // A failed attempt shows the visited colour too.
    m_bVisited = 1;
    return result;
}

BOOL CXTHyperLink::OnSetCursor(CWnd*, UINT, UINT) {
    if (m_hcurLink == nullptr) {
        return FALSE;
    }
    ::SetCursor(m_hcurLink);
    return TRUE;
}

LRESULT CXTHyperLink::OnNcHitTest(CPoint) {
    // The whole control takes the mouse (a static would let it through).
    return HTCLIENT;
}

void CXTHyperLink::OnClicked() { OpenTarget(nullptr, SW_SHOW); }

HBRUSH CXTHyperLink::CtlColor(CDC* pDC, UINT) {
    if (!IsTextStatic()) {
        return nullptr;  // the parent's own colouring
    }
    pDC->SetTextColor(m_bHover ? m_clrHover : (m_bVisited ? m_clrVisited : m_clrLink));
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CXTHyperLink::OnMouseMove(UINT, CPoint) {
    if (IsTextStatic()) {
        SetTimer(kHoverTimer, kHoverTimerMs);
    }
    Default();
}

void CXTHyperLink::OnTimer(UINT_PTR) {
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(cursor)) {
        if (!m_bHover) {
            m_bHover = 1;
            Invalidate(TRUE);
        }
    } else {
        KillTimer(kHoverTimer);
        if (m_bHover) {
            m_bHover = 0;
            Invalidate(TRUE);
        }
    }
    Default();
}
