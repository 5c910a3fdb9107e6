// The toolkit's free drawing functions and its common-controls version query.
#pragma once

#include "classlib/classlib.h"

// Draws one image of the list embossed ("disabled"): its shape in the 3-D highlight colour one
// pixel right and down, then in the 3-D shadow colour at (x, y). bColor: build the shape from a
// colour copy of the image instead of a monochrome one.
void XTDrawDisabledImage(CDC* pDC, CImageList* pImageList, int nImage, int x, int y,
                         BOOL bColor = FALSE);

// Fills the rectangle with the 50 % dither of the 3-D face and 3-D highlight colours.
void XTFillDitherRect(CDC* pDC, LPCRECT lpRect);

// A 16-colour bitmap resource in the system's button colours (black, greys and white become
// button text, shadow, face and highlight); with bMono the greys and white become white and
// black stays black. Null when the resource is no such bitmap or the bitmap cannot be made.
HBITMAP XTLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono = FALSE);

// The common-controls version, major << 16 | minor (0x40000 when the library cannot tell);
// asked once per process.
DWORD XTGetComCtlVersion();
