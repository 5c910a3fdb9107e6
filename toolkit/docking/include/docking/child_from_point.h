// Which child control lies under a point of its parent.
#pragma once

#include "classlib/classlib.h"

// The first child window of the parent, in Z order, that is visible, has a control identifier
// below 0xFFFF (so not a static control's -1) and whose window rectangle holds the point (in the
// parent's client coordinates); null when none does. Disabled children count.
HWND XTChildWindowFromPoint(HWND hWndParent, POINT ptClient);
