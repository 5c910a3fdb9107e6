// The image documents' child frame.
#include "tarnel/shell/child_wnd.h"

IMPLEMENT_DYNCREATE(CChildWnd, CXTMDIChildWnd)

CChildWnd::CChildWnd() = default;

CChildWnd::~CChildWnd() = default;

BOOL CChildWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) {
    if (pContext != nullptr) {
        m_pDocument = pContext->m_pCurrentDoc;
    }
    return CXTMDIChildWnd::OnCreateClient(lpcs, pContext);
}
