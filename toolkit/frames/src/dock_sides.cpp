// The dock-side table of the toolkit frames and the choice of a side from a bar's style.
#include "frames/dock_sides.h"

#include "classlib/ids.h"

namespace xtframes {

const XTDockSide kXTDockSides[4] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, CBRS_RIGHT},
};

UINT XTDockBarForAlignment(DWORD dwBarStyle) {
    for (const XTDockSide& side : kXTDockSides) {
        if ((side.dwStyle & CBRS_ALIGN_ANY) == (dwBarStyle & CBRS_ALIGN_ANY)) {
            return side.nID;
        }
    }
    return 0;
}

UINT XTDockBarBeside(DWORD dwOtherBarStyle) {
    for (const XTDockSide& side : kXTDockSides) {
        if (dwOtherBarStyle & side.dwAlign) {
            return side.nID;
        }
    }
    return 0;
}

}  // namespace xtframes
