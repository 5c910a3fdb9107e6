// The toolkit's shared UI record: built before the application starts, destroyed at exit.
#include "docking/aux_data.h"

#include "docking/font_faces.h"
#include "docking/resource.h"

#include <cstring>

XT_AUX_DATA xtAfxData;

namespace {

const UINT kCursorIds[] = {XT_IDC_DRAG,     XT_IDC_DRAG_COPY,    XT_IDC_HAND, XT_IDC_NO_DROP,
                           XT_IDC_SPLITTER, XT_IDC_SPLITTER_ROW, XT_IDC_MOVE};
const COLORREF kStripMask = RGB(255, 0, 255);

// The system's non-client metrics in the record size of the version-4 shell.
bool ReadNonClientMetrics(NONCLIENTMETRICSA* ncm) {
    static_assert(sizeof(NONCLIENTMETRICSA) >= 340, "the record holds the menu font");
    std::memset(ncm, 0, sizeof(*ncm));
    ncm->cbSize = 340;
    return ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, ncm, 0) != FALSE;
}

int CALLBACK StopAtPreferredFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM found) {
    if (xtdock::IsPreferredFamily(lf->lfFaceName)) {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
    }
    return 1;
}

// Cuts images of a strip into icons; a strip that does not load leaves the icons null.
void CutStrip(HINSTANCE hInst, UINT nID, int cx, const int* images, HICON* icons, int count) {
    HIMAGELIST list = ::ImageList_LoadImageA(hInst, MAKEINTRESOURCEA(nID), cx, 0, kStripMask,
                                             IMAGE_BITMAP, LR_DEFAULTCOLOR);
    if (list == nullptr) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        icons[i] = ::ImageList_GetIcon(list, images[i], ILD_NORMAL);
    }
    ::ImageList_Destroy(list);
}

}  // namespace

XT_AUX_DATA::XT_AUX_DATA() {
    UpdateSysColors();
    UpdateSysMetrics();
    CreateFonts();
    LoadCursors();
    LoadIcons();
}

XT_AUX_DATA::~XT_AUX_DATA() {
    DeleteFonts();
    FreeIcons();
    FreeCursors();
    m_arrOwnedWindows.clear();
}

void XT_AUX_DATA::UpdateSysColors() {
    m_clr3DFace = ::GetSysColor(COLOR_BTNFACE);
    m_clr3DShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_clr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    m_clr3DHilight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    m_clrBtnText = ::GetSysColor(COLOR_BTNTEXT);
    m_clrGrayText = ::GetSysColor(COLOR_GRAYTEXT);
    m_clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_clrMenu = ::GetSysColor(COLOR_MENU);
    m_clrMenuText = ::GetSysColor(COLOR_MENUTEXT);
    m_clrWindow = ::GetSysColor(COLOR_WINDOW);
    m_clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    m_clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrActiveCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
}

void XT_AUX_DATA::UpdateSysMetrics() {
    m_cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
    m_cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
    m_cxSize = ::GetSystemMetrics(SM_CXSIZE);
    m_cySize = ::GetSystemMetrics(SM_CYSIZE);
    m_cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
    m_cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
}

void XT_AUX_DATA::CreateFonts() {
    NONCLIENTMETRICSA ncm;
    ReadNonClientMetrics(&ncm);
    LOGFONTA model = ncm.lfMenuFont;
    std::strcpy(model.lfFaceName, xtdock::kPreferredFace);
    model.lfCharSet = DEFAULT_CHARSET;
    bool found = false;
    HWND desktop = ::GetDesktopWindow();
    HDC dc = ::GetWindowDC(desktop);
    ::EnumFontFamiliesExA(dc, &model, StopAtPreferredFamily, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(desktop, dc);
    CreateFonts(found);
}

void XT_AUX_DATA::CreateFonts(bool tahomaFound) {
    DeleteFonts();
    NONCLIENTMETRICSA ncm;
    ReadNonClientMetrics(&ncm);
    m_iMenuHeight = ncm.iMenuHeight;
    LOGFONTA model = ncm.lfMenuFont;
    model.lfCharSet = DEFAULT_CHARSET;
    xtdock::FaceChoice faces = xtdock::ChooseFaces(tahomaFound);
    std::strcpy(model.lfFaceName, faces.text);

    model.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&model);
    model.lfWeight = FW_NORMAL;
    m_font.CreateFontIndirect(&model);
    model.lfUnderline = TRUE;
    m_fontULine.CreateFontIndirect(&model);
    model.lfUnderline = FALSE;

    std::strcpy(model.lfFaceName, faces.caption);
    m_fontCaption.CreateFontIndirect(&model);
    // Text running upwards, for captions along a vertically docked window.
    model.lfEscapement = 900;
    model.lfOrientation = 900;
    m_fontVertCaption.CreateFontIndirect(&model);
}

void XT_AUX_DATA::DeleteFonts() {
    m_font.DeleteObject();
    m_fontBold.DeleteObject();
    m_fontULine.DeleteObject();
    m_fontCaption.DeleteObject();
    m_fontVertCaption.DeleteObject();
}

void XT_AUX_DATA::FreeCursors() {
    HCURSOR* cursors[] = {&m_hcurDrag,     &m_hcurDragCopy,    &m_hcurHand, &m_hcurNoDrop,
                          &m_hcurSplitter, &m_hcurSplitterRow, &m_hcurMove};
    for (HCURSOR* cursor : cursors) {
        if (*cursor != nullptr) {
            ::DestroyCursor(*cursor);
            *cursor = nullptr;
        }
    }
}

void XT_AUX_DATA::LoadCursors() {
    FreeCursors();
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    HCURSOR* cursors[] = {&m_hcurDrag,     &m_hcurDragCopy,    &m_hcurHand, &m_hcurNoDrop,
                          &m_hcurSplitter, &m_hcurSplitterRow, &m_hcurMove};
    static_assert(sizeof(cursors) / sizeof(cursors[0]) == sizeof(kCursorIds) / sizeof(UINT),
                  "one resource per cursor");
    for (size_t i = 0; i < sizeof(kCursorIds) / sizeof(UINT); ++i) {
        // Not shared: the record destroys what it loaded.
        *cursors[i] = static_cast<HCURSOR>(::LoadImageA(hInst, MAKEINTRESOURCEA(kCursorIds[i]),
                                                        IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    }
}

void XT_AUX_DATA::FreeIcons() {
    auto destroy = [](HICON* icons, int count) {
        for (int i = 0; i < count; ++i) {
            if (icons[i] != nullptr) {
                ::DestroyIcon(icons[i]);
                icons[i] = nullptr;
            }
        }
    };
    destroy(m_hIconCaption, XT_CAPTION_ICON_COUNT);
    destroy(m_hIconSmall, 3);
    destroy(m_hIconCaptionMore, 4);
    // m_hIconToolkit is the system's shared copy: never destroyed.
}

void XT_AUX_DATA::LoadIcons() {
    FreeIcons();
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    const int caption[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    CutStrip(hInst, XT_IDB_CAPTION_STRIP, 10, caption, m_hIconCaption, XT_CAPTION_ICON_COUNT);
    const int sixteen[] = {1, 0, 2};
    CutStrip(hInst, XT_IDB_SMALL_STRIP, 16, sixteen, m_hIconSmall, 3);
    m_hIconToolkit = ::LoadIconA(hInst, MAKEINTRESOURCEA(XT_IDI_TOOLKIT));
    const int more[] = {9, 10, 11, 12};
    CutStrip(hInst, XT_IDB_CAPTION_STRIP, 10, more, m_hIconCaptionMore, 4);
}
