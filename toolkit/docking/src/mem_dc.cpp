// The off-screen device context of toolkit painting.
#include "docking/mem_dc.h"

CXTMemDC::CXTMemDC(CWnd* pWnd, CDC* pDC, const CRect& rect, COLORREF clrColor)
    : m_pDC(pDC), m_pWnd(pWnd), m_rect(rect), m_clrColor(clrColor) {
    CreateCompatibleDC(pDC);
    if (m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height())) {
        m_pOldBitmap = SelectObject(&m_bitmap);
    }
    FillSolidRect(&m_rect, m_clrColor);
}

CXTMemDC::~CXTMemDC() {
    if (m_hDC != nullptr) {
        m_pDC->BitBlt(0, 0, m_rect.Width(), m_rect.Height(), this, 0, 0, SRCCOPY);
        if (m_pOldBitmap != nullptr) {
            SelectObject(m_pOldBitmap);
        }
    }
    m_bitmap.DeleteObject();
    DeleteDC();
}
