// XT_AUX_DATA: the colours, cursors, icons, metrics and fonts every toolkit class draws with,
// gathered once per process into xtAfxData.
#pragma once

#include "classlib/classlib.h"

#include <memory>
#include <vector>

// Pictures of the ten-pixel caption-button strip (m_hIconCaption).
enum XTCaptionIcon {
    XT_ICON_HIDE = 0,
    XT_ICON_EXPAND_HORZ_DISABLED = 1,
    XT_ICON_EXPAND_HORZ = 2,
    XT_ICON_EXPAND_VERT_DISABLED = 3,
    XT_ICON_EXPAND_VERT = 4,
    XT_ICON_CONTRACT_HORZ = 6,
    XT_ICON_CONTRACT_VERT = 8,
    XT_CAPTION_ICON_COUNT = 9
};

struct XT_AUX_DATA {
    XT_AUX_DATA();
    virtual ~XT_AUX_DATA();
    XT_AUX_DATA(const XT_AUX_DATA&) = delete;
    XT_AUX_DATA& operator=(const XT_AUX_DATA&) = delete;

    // Re-read the system colours and metrics (the toolkit's frames call both on
    // WM_SYSCOLORCHANGE and WM_SETTINGCHANGE). Fonts, cursors and icons stay as loaded.
    void UpdateSysColors();
    void UpdateSysMetrics();
    // Builds the five fonts from the menu font, on the Tahoma family when the screen has it.
    void CreateFonts();
    // The same with the enumeration's answer given (both branches can then be shown).
    void CreateFonts(bool tahomaFound);
    void DeleteFonts();
    // Load from the program's own resources; a picture that fails to load stays null.
    void LoadCursors();
    void LoadIcons();
    void FreeCursors();
    void FreeIcons();

    // System colours.
    COLORREF m_clr3DFace = 0;
    COLORREF m_clr3DShadow = 0;
    COLORREF m_clr3DDkShadow = 0;
    COLORREF m_clr3DHilight = 0;
    COLORREF m_clr3DLight = 0;
    COLORREF m_clrBtnText = 0;
    COLORREF m_clrGrayText = 0;
    COLORREF m_clrHighlight = 0;
    COLORREF m_clrHighlightText = 0;
    COLORREF m_clrMenu = 0;
    COLORREF m_clrMenuText = 0;
    COLORREF m_clrWindow = 0;
    COLORREF m_clrWindowFrame = 0;
    COLORREF m_clrWindowText = 0;
    COLORREF m_clrActiveCaption = 0;

    // Cursors (resources 4501, 4518, 4520, 4530, 4522, 4527, 4524).
    HCURSOR m_hcurDrag = nullptr;
    HCURSOR m_hcurDragCopy = nullptr;
    HCURSOR m_hcurHand = nullptr;  // the hyperlink's
    HCURSOR m_hcurNoDrop = nullptr;
    HCURSOR m_hcurSplitter = nullptr;     // the dock bar's splitters (other kinds)
    HCURSOR m_hcurSplitterRow = nullptr;  // the dock bar's splitters (kind 2)
    HCURSOR m_hcurMove = nullptr;

    // Icons: images 0 to 8 of the caption strip (XTCaptionIcon), images 1, 0 and 2 of the
    // sixteen-pixel strip, the toolkit's icon (shared, never destroyed), images 9 to 12 of the
    // caption strip.
    HICON m_hIconCaption[XT_CAPTION_ICON_COUNT] = {};
    HICON m_hIconSmall[3] = {};
    HICON m_hIconToolkit = nullptr;
    HICON m_hIconCaptionMore[4] = {};

    // System metrics.
    int m_cxSmIcon = 0;
    int m_cySmIcon = 0;
    int m_cxSize = 0;
    int m_cySize = 0;
    int m_cxHThumb = 0;
    int m_cyVThumb = 0;
    int m_iMenuHeight = 0;

    // Fonts: the normal font is the one toolkit bars, floating frames and hyperlinks set on
    // themselves.
    CFont m_font;
    CFont m_fontBold;
    CFont m_fontULine;
    CFont m_fontCaption;
    CFont m_fontVertCaption;

    // Window objects the record owns and deletes at the end.
    std::vector<std::unique_ptr<CWnd>> m_arrOwnedWindows;
};

extern XT_AUX_DATA xtAfxData;
