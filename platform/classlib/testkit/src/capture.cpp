// Copying a window's client area into a bitmap of the test program.
#include "guitest/capture.h"

namespace guitest {

ClientPixels::ClientPixels(CWnd* pWnd) {
    CRect client;
    pWnd->GetClientRect(&client);
    m_width = client.Width();
    m_height = client.Height();
    if (m_width <= 0 || m_height <= 0) {
        m_width = m_height = 0;
        return;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib == nullptr) {
        m_width = m_height = 0;
        return;
    }
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, dib);
    HDC source = ::GetDC(pWnd->m_hWnd);
    ::BitBlt(memory, 0, 0, m_width, m_height, source, 0, 0, SRCCOPY);
    ::ReleaseDC(pWnd->m_hWnd, source);
    ::GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    m_pixels.assign(pixels, pixels + static_cast<size_t>(m_width) * m_height);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(dib);
}

COLORREF ClientPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return CLR_INVALID;
    }
    DWORD p = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace guitest
