// GDI objects: ownership of pens, brushes, fonts, bitmaps and regions, and their temporary
// wrappers for handles nobody owns.
#include "classlib/classlib.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CRgn, CGdiObject)

namespace {

// The attached object of a handle when it is of the asked class, else a temporary one.
template <class T, class Map>
T* TypedFromHandle(HGDIOBJ h, Map& temporaries) {
    if (h == nullptr) {
        return nullptr;
    }
    CGdiObject* attached = AfxGetThreadState()->m_gdiObjects.LookupPermanent(h);
    if (attached != nullptr && attached->IsKindOf(T::GetThisClass())) {
        return static_cast<T*>(attached);
    }
    return temporaries.FromHandle(h);
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return AfxGetThreadState()->m_gdiObjects.FromHandle(hObject);
}

void CGdiObject::DeleteTempMap() {
    AFX_THREAD_STATE* state = AfxGetThreadState();
    state->m_gdiObjects.DeleteTemp();
    state->m_pens.DeleteTemp();
    state->m_brushes.DeleteTemp();
    state->m_fonts.DeleteTemp();
    state->m_bitmaps.DeleteTemp();
    state->m_regions.DeleteTemp();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (hObject == nullptr || m_hObject != nullptr) {
        return FALSE;
    }
    m_hObject = hObject;
    AfxGetThreadState()->m_gdiObjects.SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h != nullptr) {
        AFX_THREAD_STATE* state = AfxGetThreadState();
        if (state->m_gdiObjects.LookupPermanent(h) == this) {
            state->m_gdiObjects.RemoveHandle(h);
        }
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
    // Stock objects are never deleted; keeping one is harmless.
    m_hObject = ::GetStockObject(nIndex);
    return m_hObject != nullptr;
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor)) {
        AfxThrowResourceException();
    }
}
CPen* CPen::FromHandle(HPEN hPen) {
    return TypedFromHandle<CPen>(hPen, AfxGetThreadState()->m_pens);
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor)) {
        AfxThrowResourceException();
    }
}
CBrush::CBrush(CBitmap* pBitmap) {
    if (!CreatePatternBrush(pBitmap)) {
        AfxThrowResourceException();
    }
}
CBrush* CBrush::FromHandle(HBRUSH hBrush) {
    return TypedFromHandle<CBrush>(hBrush, AfxGetThreadState()->m_brushes);
}
BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}
BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }

CFont* CFont::FromHandle(HFONT hFont) {
    return TypedFromHandle<CFont>(hFont, AfxGetThreadState()->m_fonts);
}
BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return Attach(::CreateFontIndirectA(lpLogFont));
}
BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    HDC hDC = pDC != nullptr ? pDC->m_hDC : ::GetDC(nullptr);
    // Tenths of a point to logical units of the device.
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), nPointSize, 720)};
    POINT origin = {0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &origin, 1);
    lf.lfHeight = -std::abs(pt.y - origin.y);
    if (pDC == nullptr) {
        ::ReleaseDC(nullptr, hDC);
    }
    return CreateFontIndirect(&lf);
}
int CFont::GetLogFont(LOGFONT* pLogFont) const {
    return ::GetObjectA(m_hObject, sizeof(LOGFONTA), pLogFont);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
    return TypedFromHandle<CBitmap>(hBitmap, AfxGetThreadState()->m_bitmaps);
}
BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}
BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) {
    return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(nIDBitmap)));
}
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}
int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitMap);
}
CSize CBitmap::GetBitmapDimension() const {
    SIZE size = {0, 0};
    ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
    return size;
}

CRgn* CRgn::FromHandle(HRGN hRgn) {
    return TypedFromHandle<CRgn>(hRgn, AfxGetThreadState()->m_regions);
}
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
void CRgn::SetRectRgn(LPCRECT lpRect) {
    ::SetRectRgn(static_cast<HRGN>(m_hObject), lpRect->left, lpRect->top, lpRect->right,
                 lpRect->bottom);
}
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn1->m_hObject),
                        pRgn2 != nullptr ? static_cast<HRGN>(pRgn2->m_hObject) : nullptr,
                        nCombineMode);
}
BOOL CRgn::PtInRegion(POINT point) const {
    return ::PtInRegion(static_cast<HRGN>(m_hObject), point.x, point.y);
}
int CRgn::GetRgnBox(LPRECT lpRect) const {
    return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect);
}
