// Bitmaps drawn in the standard greys, loaded in the system's current button colours.
#include "classlib/classlib.h"

#include <cstdlib>
#include <vector>

namespace {

// Colours of a bar bitmap's palette (as stored, 0xRRGGBB) and the system colours they stand for.
struct ColourMap {
    DWORD rgb;
    int sysColor;
};
const ColourMap kColourMap[] = {
    {0x000000, COLOR_BTNTEXT},
    {0x808080, COLOR_BTNSHADOW},
    {0xC0C0C0, COLOR_BTNFACE},
    {0xFFFFFF, COLOR_BTNHIGHLIGHT},
};

}  // namespace

HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono) {
    HGLOBAL loaded = ::LoadResource(hInst, hRsrc);
    const auto* info =
        loaded != nullptr ? static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded)) : nullptr;
    if (info == nullptr || info->biSize < sizeof(BITMAPINFOHEADER)) {
        return nullptr;
    }
    // The header with its colour table is copied to map the colours; the pixels follow it.
    int colours = static_cast<int>(info->biClrUsed);
    if (colours == 0 && info->biBitCount <= 8) {
        colours = 1 << info->biBitCount;
    }
    size_t headerSize = info->biSize + static_cast<size_t>(colours) * sizeof(RGBQUAD);
    if (info->biCompression == BI_BITFIELDS) {
        headerSize += 3 * sizeof(DWORD);
    }
    const BYTE* start = reinterpret_cast<const BYTE*>(info);
    std::vector<BYTE> header(start, start + headerSize);
    auto* table = reinterpret_cast<RGBQUAD*>(header.data() + info->biSize);
    for (int i = 0; i < colours && info->biCompression != BI_BITFIELDS; ++i) {
        DWORD rgb = (static_cast<DWORD>(table[i].rgbRed) << 16) |
                    (static_cast<DWORD>(table[i].rgbGreen) << 8) | table[i].rgbBlue;
        for (const ColourMap& entry : kColourMap) {
            if (entry.rgb != rgb) {
                continue;
            }
            COLORREF colour = (bMono && entry.sysColor != COLOR_BTNTEXT)
                                  ? RGB(255, 255, 255)
                                  : ::GetSysColor(entry.sysColor);
            if (bMono && entry.sysColor == COLOR_BTNTEXT) {
                break;  // black stays as stored
            }
            table[i].rgbRed = GetRValue(colour);
            table[i].rgbGreen = GetGValue(colour);
            table[i].rgbBlue = GetBValue(colour);
            break;
        }
    }
    int width = info->biWidth;
    int height = std::abs(info->biHeight);
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    if (bitmap != nullptr) {
        HDC memory = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::StretchDIBits(memory, 0, 0, width, height, 0, 0, width, height, start + headerSize,
                        reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS,
                        SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}
