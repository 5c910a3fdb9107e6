// Shared system colours, metrics and cursors of the library's bars and frames, refreshed when
// the system's colours or settings change.
#pragma once

#include <windows.h>

struct AUX_DATA {
    // Button colours; before the version-4 shell the shadow is the window-frame colour.
    COLORREF clrBtnFace = 0;
    COLORREF clrBtnShadow = 0;
    COLORREF clrBtnHilite = 0;
    COLORREF clrBtnText = 0;
    COLORREF clrWindowFrame = 0;
    // Double border widths, used by bar borders.
    int cxBorder2 = 2;
    int cyBorder2 = 2;
    // A version-4 or later shell (flat look).
    BOOL bWin4 = TRUE;
    HCURSOR hcurArrow = nullptr;

    AUX_DATA();
    void UpdateSysColors();
    void UpdateSysMetrics();
};

extern AUX_DATA afxData;
