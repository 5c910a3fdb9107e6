// The toolkit's drawing functions: the dither fill, embossed images and bitmaps in the system's
// button colours.
#include "docking/aux_data.h"
#include "docking/draw.h"
#include "docking/resource.h"
#include "docking_test_ids.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(Drawing, TheDitherAlternatesFaceAndHighlightPixels) {
    const COLORREF kBackground = RGB(1, 2, 3);
    CMemoryCanvas canvas(8, 8, kBackground);
    CRect rect(1, 1, 7, 7);
    XTFillDitherRect(canvas.DC(), &rect);
    COLORREF a = canvas.At(2, 2);
    COLORREF b = canvas.At(3, 2);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == xtAfxData.m_clr3DFace && b == xtAfxData.m_clr3DHilight) ||
                (b == xtAfxData.m_clr3DFace && a == xtAfxData.m_clr3DHilight));
    EXPECT_EQ(canvas.At(3, 3), a);  // a checkerboard
    EXPECT_EQ(canvas.At(2, 3), b);
    EXPECT_EQ(canvas.At(0, 0), kBackground);  // outside the rectangle
    EXPECT_EQ(canvas.At(7, 7), kBackground);
    // The context's colours are as they were.
    EXPECT_EQ(canvas.DC()->GetBkColor(), RGB(255, 255, 255));
}

TEST(Drawing, ADisabledImageIsItsShapeInShadowOverItsHighlightCopy) {
    // An 8 x 8 image: a black square from 2 to 5 on white.
    CMemoryCanvas source(8, 8, RGB(255, 255, 255));
    source.DC()->FillSolidRect(2, 2, 4, 4, RGB(0, 0, 0));
    CImageList list;
    ASSERT_TRUE(list.Create(8, 8, ILC_COLOR24 | ILC_MASK, 1, 1));
    CBitmap image;
    {
        CClientDC screen(nullptr);
        image.CreateCompatibleBitmap(&screen, 8, 8);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap* old = dc.SelectObject(&image);
        dc.BitBlt(0, 0, 8, 8, source.DC(), 0, 0, SRCCOPY);
        dc.SelectObject(old);
    }
    ASSERT_EQ(list.Add(&image, RGB(255, 0, 255)), 0);

    const COLORREF kFace = RGB(90, 90, 90);
    CMemoryCanvas target(20, 20, kFace);
    XTDrawDisabledImage(target.DC(), &list, 0, 4, 4);
    EXPECT_EQ(target.At(6, 6), xtAfxData.m_clr3DShadow);  // the square at (x, y)
    EXPECT_EQ(target.At(9, 9), xtAfxData.m_clr3DShadow);
    EXPECT_EQ(target.At(10, 10), xtAfxData.m_clr3DHilight);  // its copy one pixel on
    EXPECT_EQ(target.At(10, 7), xtAfxData.m_clr3DHilight);
    EXPECT_EQ(target.At(5, 5), kFace);  // white parts leave the target alone
    EXPECT_EQ(target.At(11, 11), kFace);
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    CClientDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(bitmap));
    COLORREF colour = dc.GetPixel(x, y);
    dc.SelectObject(old);
    return colour;
}

HRSRC TestColors() {
    return ::FindResourceA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TEST_COLORS),
                           MAKEINTRESOURCEA(2) /* RT_BITMAP */);
}

TEST(Drawing, ASysColorBitmapShowsTheButtonColours) {
    HBITMAP bitmap = XTLoadSysColorBitmap(::GetModuleHandleA(nullptr), TestColors());
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm = {};
    ::GetObjectA(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmHeight, 2);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(PixelOf(bitmap, 0, y), ::GetSysColor(COLOR_BTNTEXT));
        EXPECT_EQ(PixelOf(bitmap, 1, y), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(PixelOf(bitmap, 2, y), ::GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(PixelOf(bitmap, 3, y), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(PixelOf(bitmap, 4, y), RGB(255, 0, 0));
    }
    ::DeleteObject(bitmap);
}

TEST(Drawing, TheMonoFormTurnsGreysAndWhiteWhiteAndKeepsBlack) {
    HBITMAP bitmap = XTLoadSysColorBitmap(::GetModuleHandleA(nullptr), TestColors(), TRUE);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(bitmap, 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(bitmap, 2, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(bitmap, 3, 1), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(bitmap, 4, 1), RGB(255, 0, 0));
    ::DeleteObject(bitmap);
}

TEST(Drawing, OnlySixteenColourBitmapsAreTaken) {
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    // The toolkit's own strip is a true-colour picture: its pixels do not follow a 16-entry
    // table, and reading them so would run past the resource.
    HRSRC strip =
        ::FindResourceA(module, MAKEINTRESOURCEA(XT_IDB_CAPTION_STRIP), MAKEINTRESOURCEA(2));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(XTLoadSysColorBitmap(module, strip), nullptr);
    EXPECT_EQ(XTLoadSysColorBitmap(module, nullptr), nullptr);
}

}  // namespace
