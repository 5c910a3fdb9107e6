// The toolkit's free drawing functions: embossed images, the dither fill, bitmaps in the
// system's button colours, and the common-controls version.
#include "docking/draw.h"

#include "docking/aux_data.h"
#include "docking/comctl_version.h"
#include "docking/sys_color_table.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Pattern through the source's mask: where the source is black the brush is painted, where it
// is white the target stays.
const DWORD kRopPatternThroughMask = 0xB8074A;

}  // namespace

void XTDrawDisabledImage(CDC* pDC, CImageList* pImageList, int nImage, int x, int y, BOOL bColor) {
    IMAGEINFO info = {};
    if (!pImageList->GetImageInfo(nImage, &info)) {
        return;
    }
    int cx = info.rcImage.right - info.rcImage.left;
    int cy = info.rcImage.bottom - info.rcImage.top;
    CDC memDC;
    if (!memDC.CreateCompatibleDC(pDC)) {
        return;
    }
    CBitmap shape;
    BOOL made = bColor ? shape.CreateCompatibleBitmap(pDC, cx, cy)
                       : shape.CreateBitmap(cx, cy, 1, 1, nullptr);
    if (!made) {
        return;
    }
    CBitmap* oldBitmap = memDC.SelectObject(&shape);
    memDC.PatBlt(0, 0, cx, cy, WHITENESS);
    pImageList->Draw(&memDC, nImage, CPoint(0, 0), ILD_TRANSPARENT);

    // White source pixels leave the target alone, black ones take the brush.
    COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 255));
    COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
    CBrush hilite(xtAfxData.m_clr3DHilight);
    CBrush* oldBrush = pDC->SelectObject(&hilite);
    pDC->BitBlt(x + 1, y + 1, cx, cy, &memDC, 0, 0, kRopPatternThroughMask);
    CBrush shadow(xtAfxData.m_clr3DShadow);
    pDC->SelectObject(&shadow);
    pDC->BitBlt(x, y, cx, cy, &memDC, 0, 0, kRopPatternThroughMask);
    pDC->SelectObject(oldBrush);
    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBk);
    memDC.SelectObject(oldBitmap);
}

void XTFillDitherRect(CDC* pDC, LPCRECT lpRect) {
    const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap pattern;
    if (!pattern.CreateBitmap(8, 8, 1, 1, rows)) {
        return;
    }
    CBrush brush;
    if (!brush.CreatePatternBrush(&pattern)) {
        return;
    }
    CBrush* oldBrush = pDC->SelectObject(&brush);
    COLORREF oldBk = pDC->SetBkColor(xtAfxData.m_clr3DFace);
    COLORREF oldText = pDC->SetTextColor(xtAfxData.m_clr3DHilight);
    pDC->PatBlt(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                lpRect->bottom - lpRect->top, PATCOPY);
    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBk);
    pDC->SelectObject(oldBrush);
}

HBITMAP XTLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono) {
    if (hRsrc == nullptr) {
        return nullptr;
    }
    HGLOBAL global = ::LoadResource(hInst, hRsrc);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(global));
    DWORD size = ::SizeofResource(hInst, hRsrc);
    if (header == nullptr || size < sizeof(BITMAPINFOHEADER)) {
        return nullptr;
    }
    // Only 16-colour pictures whose header, table and rows all lie inside the resource.
    xtdock::DibLayout layout =
        xtdock::MeasureDib(header->biSize, header->biWidth, header->biHeight, header->biBitCount);
    if (header->biBitCount != 4 || layout.Total() == 0 || layout.Total() > size) {
        return nullptr;
    }
    std::vector<unsigned char> info(layout.headerSize + layout.colorTableSize);
    std::memcpy(info.data(), header, info.size());
    std::uint32_t table[16];
    std::memcpy(table, info.data() + layout.headerSize, sizeof(table));
    xtdock::ButtonColors colors = {xtdock::ColorRefToTableEntry(::GetSysColor(COLOR_BTNTEXT)),
                                   xtdock::ColorRefToTableEntry(::GetSysColor(COLOR_BTNSHADOW)),
                                   xtdock::ColorRefToTableEntry(::GetSysColor(COLOR_BTNFACE)),
                                   xtdock::ColorRefToTableEntry(::GetSysColor(COLOR_BTNHIGHLIGHT))};
    xtdock::MapSysColorTable(table, 16, colors, bMono != FALSE);
    std::memcpy(info.data() + layout.headerSize, table, sizeof(table));

    int cx = header->biWidth;
    int cy = std::abs(header->biHeight);
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    if (bitmap != nullptr) {
        HDC memDC = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(memDC, bitmap);
        const unsigned char* pixels = reinterpret_cast<const unsigned char*>(header) +
                                      layout.headerSize + layout.colorTableSize;
        ::StretchDIBits(memDC, 0, 0, cx, cy, 0, 0, cx, cy, pixels,
                        reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
        ::SelectObject(memDC, old);
        ::DeleteDC(memDC);
    }
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

namespace {

// The record the library's version export fills.
struct ComCtlVersionInfo {
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};
static_assert(sizeof(ComCtlVersionInfo) == 20, "the export's record");
using DllGetVersionProc = HRESULT(CALLBACK*)(ComCtlVersionInfo*);

std::uint32_t AskComCtl() {
    xtdock::ComCtlAnswer answer;
    HMODULE module = ::GetModuleHandleA("COMCTL32.DLL");
    FARPROC proc = module != nullptr ? ::GetProcAddress(module, "DllGetVersion") : nullptr;
    if (proc != nullptr) {
        answer.hasExport = true;
        ComCtlVersionInfo info = {};
        info.cbSize = sizeof(info);
        auto getVersion = reinterpret_cast<DllGetVersionProc>(reinterpret_cast<void (*)()>(proc));
        answer.succeeded = getVersion(&info) >= 0;
        answer.major = info.dwMajorVersion;
        answer.minor = info.dwMinorVersion;
    }
    return xtdock::ComposeComCtlVersion(answer);
}

}  // namespace

DWORD XTGetComCtlVersion() {
    static xtdock::VersionCache cache;
    return cache.Get(AskComCtl);
}
