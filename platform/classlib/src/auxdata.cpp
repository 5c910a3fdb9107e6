// The shared system colours and metrics of bars and frames.
#include "classlib/classlib.h"

AUX_DATA afxData;

AUX_DATA::AUX_DATA() {
    DWORD version = ::GetVersion();
    bWin4 = LOBYTE(LOWORD(version)) >= 4;
    hcurArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    UpdateSysColors();
    UpdateSysMetrics();
}

void AUX_DATA::UpdateSysColors() {
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrBtnText = ::GetSysColor(COLOR_BTNTEXT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    if (!bWin4) {
        clrBtnShadow = clrWindowFrame;
    }
}

void AUX_DATA::UpdateSysMetrics() {
    cxBorder2 = ::GetSystemMetrics(SM_CXBORDER) * 2;
    cyBorder2 = ::GetSystemMetrics(SM_CYBORDER) * 2;
}
