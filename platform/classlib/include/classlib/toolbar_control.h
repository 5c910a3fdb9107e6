// What every bar over the toolbar control does with the control the same way: its button and
// image sizes, the bar's height around the buttons, the layout requests and their row breaks, the
// images of a bitmap resource, and the end of the control with its image well.
#pragma once

#include "classlib/toolbar_wrap.h"
#include "classlib/wnd.h"

#include <vector>

// A loader of a bitmap resource with its greys mapped to the system's button colours.
using AFX_SYSCOLORBITMAPLOADER = HBITMAP (*)(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono);

// Sends message to the control with the flat styles on for it (the control takes the button
// and image sizes as given only then); the bar's own style is put back afterwards.
LRESULT AfxSendWithFlatStyle(CWnd& bar, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the control the button and image sizes and redraws it; nothing before the control
// exists.
void AfxSendToolBarSizes(CWnd& bar, SIZE sizeButton, SIZE sizeImage);

// Sets the borders of a bar cyHeight high around buttons cyButton high: the room the buttons
// and the border lines of dwBarStyle (CBRS_BORDER_TOP, CBRS_BORDER_BOTTOM) leave goes half below,
// the rest above (all below where that is less than nothing); the bar's frame is measured anew.
void AfxSetToolBarHeight(CWnd& bar, int cyHeight, int cyButton, DWORD dwBarStyle, int& cyTopBorder,
                         int& cyBottomBorder);

// The bitmap resource lpszResourceName of the resource module, read by loadBitmap, given to
// the control as its images, cxImage wide each (see AfxSetToolBarBitmap); the module and the
// resource kept in hInstImageWell and hRsrcImageWell to read it again. FALSE, and nothing kept,
// when it is missing or the control refuses it.
BOOL AfxLoadToolBarBitmap(CWnd& bar, LPCTSTR lpszResourceName, AFX_SYSCOLORBITMAPLOADER loadBitmap,
                          int cxImage, HBITMAP& hbmImageWell, HINSTANCE& hInstImageWell,
                          HRSRC& hRsrcImageWell);

// The end of a bar: its control destroyed while the window is still the bar's (the control uses
// the image bitmap while it exists), then the image well deleted.
void AfxDestroyToolBar(CWnd& bar, HBITMAP& hbmImageWell);

// The committed layout request that lays the buttons out for where the bar is now: floating and
// sizable, at the last floating width; else in one row or one column along its side.
DWORD AfxToolBarLayoutMode(DWORD dwBarStyle);

// A request that is the fixed layout of a docked side: no length, a side to dock to, and neither
// the last floating width nor a commit.
BOOL AfxIsDockedSideRequest(int nLength, DWORD dwMode);

// Writes the row breaks the layout chose (boxes) into the buttons as they were read (buttons,
// one per box).
void AfxCommitToolBoxWraps(CWnd& bar, const std::vector<TBBUTTON>& buttons,
                           const std::vector<AFX_TOOLBOX>& boxes);

// The bar's size around its wrapped buttons (sizeButtons): the borders and gripper (inside, as
// the bar's inside rectangle of an empty one) added, and never smaller than sizeLeast.
CSize AfxToolBarOuterSize(CSize sizeButtons, const CRect& inside, CSize sizeLeast);

// The hit button's tip: pTI (when given) names the button's command, its rectangle in the bar,
// and asks the bar for the text.
void AfxFillToolBarTip(TOOLINFO* pTI, HWND hWndBar, int idCommand, const CRect& rect);
