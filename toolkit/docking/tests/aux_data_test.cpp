// The shared UI record: fonts by what the screen's families hold, colours following the
// system's, the pictures from the toolkit's resources, the common-controls version.
#include "docking/aux_data.h"
#include "docking/draw.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int CALLBACK NoteTahoma(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM lParam) {
    if (_strnicmp(lf->lfFaceName, "Tahoma", 6) == 0) {
        *reinterpret_cast<bool*>(lParam) = true;
    }
    return 1;
}

bool ScreenHasTahoma() {
    LOGFONTA model = {};
    std::strcpy(model.lfFaceName, "Tahoma");
    model.lfCharSet = DEFAULT_CHARSET;
    bool found = false;
    HDC dc = ::GetDC(nullptr);
    ::EnumFontFamiliesExA(dc, &model, NoteTahoma, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, dc);
    return found;
}

LOGFONTA Described(CFont& font) {
    LOGFONTA lf = {};
    EXPECT_NE(font.GetSafeHandle(), nullptr);
    font.GetLogFont(&lf);
    return lf;
}

void ExpectFaces(const char* text, const char* caption) {
    LOGFONTA normal = Described(xtAfxData.m_font);
    LOGFONTA bold = Described(xtAfxData.m_fontBold);
    LOGFONTA underlined = Described(xtAfxData.m_fontULine);
    LOGFONTA captionFont = Described(xtAfxData.m_fontCaption);
    LOGFONTA vertical = Described(xtAfxData.m_fontVertCaption);
    EXPECT_STREQ(normal.lfFaceName, text);
    EXPECT_STREQ(bold.lfFaceName, text);
    EXPECT_STREQ(underlined.lfFaceName, text);
    EXPECT_STREQ(captionFont.lfFaceName, caption);
    EXPECT_STREQ(vertical.lfFaceName, caption);
    EXPECT_EQ(normal.lfWeight, FW_NORMAL);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_EQ(underlined.lfWeight, FW_NORMAL);
    EXPECT_FALSE(normal.lfUnderline);
    EXPECT_TRUE(underlined.lfUnderline);
    EXPECT_FALSE(captionFont.lfUnderline);
    EXPECT_EQ(captionFont.lfEscapement, 0);
    EXPECT_EQ(vertical.lfEscapement, 900);  // runs upwards
    EXPECT_EQ(vertical.lfOrientation, 900);
    // The size is the menu font's.
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = 340;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0));
    EXPECT_EQ(normal.lfHeight, ncm.lfMenuFont.lfHeight);
    EXPECT_EQ(captionFont.lfHeight, ncm.lfMenuFont.lfHeight);
}

TEST(SharedUiData, TheFontsFollowWhatTheFamilyEnumerationFinds) {
    bool tahoma = ScreenHasTahoma();
    SCOPED_TRACE(tahoma ? "the screen has Tahoma" : "the screen has no Tahoma");
    // As built at start-up, from the screen's own families.
    if (tahoma) {
        ExpectFaces("Tahoma", "Tahoma");
    } else {
        ExpectFaces("MS Sans Serif", "Arial");
    }
    // The other branch, as a system with the other answer would build it.
    xtAfxData.CreateFonts(!tahoma);
    if (tahoma) {
        ExpectFaces("MS Sans Serif", "Arial");
    } else {
        ExpectFaces("Tahoma", "Tahoma");
    }
    xtAfxData.CreateFonts();
    ExpectFaces(tahoma ? "Tahoma" : "MS Sans Serif", tahoma ? "Tahoma" : "Arial");
}

// Puts a system colour back whatever the test did (the prefix keeps colours between programs).
class SysColorChange {
public:
    SysColorChange(int index, COLORREF colour) : m_index(index), m_old(::GetSysColor(index)) {
        ::SetSysColors(1, &m_index, &colour);
    }
    ~SysColorChange() {
        ::SetSysColors(1, &m_index, &m_old);
        xtAfxData.UpdateSysColors();
    }

private:
    int m_index;
    COLORREF m_old;
};

TEST(SharedUiData, ColoursFollowTheSystemWhenRefreshed) {
    COLORREF face = xtAfxData.m_clr3DFace;
    EXPECT_EQ(face, ::GetSysColor(COLOR_BTNFACE));
    COLORREF changed = face == RGB(10, 120, 200) ? RGB(200, 120, 10) : RGB(10, 120, 200);
    {
        SysColorChange change(COLOR_BTNFACE, changed);
        SysColorChange text(COLOR_WINDOWTEXT, RGB(1, 2, 3));
        ASSERT_EQ(::GetSysColor(COLOR_BTNFACE), changed);
        EXPECT_EQ(xtAfxData.m_clr3DFace, face);  // kept until the refresh
        xtAfxData.UpdateSysColors();
        EXPECT_EQ(xtAfxData.m_clr3DFace, changed);
        EXPECT_EQ(xtAfxData.m_clrWindowText, RGB(1, 2, 3));
    }
    EXPECT_EQ(xtAfxData.m_clr3DFace, face);
}

TEST(SharedUiData, CursorsAndIconsComeFromTheToolkitResources) {
    HCURSOR cursors[] = {xtAfxData.m_hcurDrag,     xtAfxData.m_hcurDragCopy,
                         xtAfxData.m_hcurHand,     xtAfxData.m_hcurNoDrop,
                         xtAfxData.m_hcurSplitter, xtAfxData.m_hcurSplitterRow,
                         xtAfxData.m_hcurMove};
    for (HCURSOR cursor : cursors) {
        EXPECT_NE(cursor, nullptr);
    }
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(xtAfxData.m_hcurHand, &info));
    EXPECT_EQ(info.xHotspot, 5u);  // the finger's tip
    EXPECT_EQ(info.yHotspot, 0u);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);

    for (HICON icon : xtAfxData.m_hIconCaption) {
        EXPECT_NE(icon, nullptr);
    }
    for (HICON icon : xtAfxData.m_hIconSmall) {
        EXPECT_NE(icon, nullptr);
    }
    for (HICON icon : xtAfxData.m_hIconCaptionMore) {
        EXPECT_NE(icon, nullptr);
    }
    EXPECT_NE(xtAfxData.m_hIconToolkit, nullptr);
}

TEST(SharedUiData, StripPicturesAreCutWithMagentaTransparent) {
    // The hide picture: a black cross on a transparent ground.
    CMemoryCanvas canvas(10, 10, RGB(255, 255, 255));
    ASSERT_TRUE(::DrawIconEx(canvas.DC()->GetSafeHdc(), 0, 0,
                             xtAfxData.m_hIconCaption[XT_ICON_HIDE], 10, 10, 0, nullptr,
                             DI_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(4, 4), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(4, 1), RGB(255, 255, 255));

    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(xtAfxData.m_hIconSmall[0], &info));
    BITMAP bm = {};
    ::GetObjectA(info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 16);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
}

TEST(SharedUiData, MetricsAndTheMenuHeightAreTheSystems) {
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = 340;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0));
    EXPECT_EQ(xtAfxData.m_iMenuHeight, ncm.iMenuHeight);
    EXPECT_EQ(xtAfxData.m_cxSmIcon, ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(xtAfxData.m_cyVThumb, ::GetSystemMetrics(SM_CYVTHUMB));
}

TEST(SharedUiData, TheCommonControlsVersionIsTheLibrarysOwn) {
    DWORD version = XTGetComCtlVersion();
    EXPECT_GE(version, 0x40000u);
    struct {
        DWORD cbSize, major, minor, build, platform;
    } info = {20, 0, 0, 0, 0};
    HMODULE comctl = ::GetModuleHandleA("COMCTL32.DLL");
    ASSERT_NE(comctl, nullptr);  // the class library links it
    FARPROC proc = ::GetProcAddress(comctl, "DllGetVersion");
    if (proc != nullptr) {
        auto ask = reinterpret_cast<HRESULT(CALLBACK*)(void*)>(reinterpret_cast<void (*)()>(proc));
        ASSERT_GE(ask(&info), 0);
        EXPECT_EQ(version, (info.major << 16) | info.minor);
    } else {
        EXPECT_EQ(version, 0x40000u);
    }
    EXPECT_EQ(XTGetComCtlVersion(), version);
}

}  // namespace
