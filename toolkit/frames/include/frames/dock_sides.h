// The sides a toolkit frame docks on: each side's dock bar, alignment bit and bar style, and
// which side a bar goes to when no dock bar is named.
#pragma once

#include "classlib/types.h"

namespace xtframes {

struct XTDockSide {
    UINT nID;       // the side's dock bar (AFX_IDW_DOCKBAR_*)
    DWORD dwAlign;  // its alignment bit (CBRS_ALIGN_*)
    DWORD dwStyle;  // the full bar style of a dock bar on that side (CBRS_TOP, ...)
};

// Top, bottom, left, right: the order in which the sides are made and searched.
extern const XTDockSide kXTDockSides[4];

// The dock bar of the first side whose alignment equals the bar's alignment bits (0xF000 of its
// style) exactly; 0 when none does (a bar aligned to several sides or to none).
UINT XTDockBarForAlignment(DWORD dwBarStyle);

// The dock bar beside a bar of this style: the first of top, bottom, left, right whose alignment
// bit the style has; 0 when it has none.
UINT XTDockBarBeside(DWORD dwOtherBarStyle);

}  // namespace xtframes
