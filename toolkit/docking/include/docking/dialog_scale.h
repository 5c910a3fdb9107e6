// How a window and its children are rescaled when they get a font of another size (rules without
// windows; XTChangeDialogFont applies them).
#pragma once

#include "classlib/geometry.h"

namespace xtdock {

// The rectangle scaled along x by the ratio of the new average character width to the old one
// and along y by that of the heights, each coordinate rounded to the nearest pixel (halves away
// from zero). An old size of zero along an axis leaves that axis alone.
CRect ScaleByCharSize(const CRect& rect, const CSize& oldChar, const CSize& newChar);
CSize ScaleByCharSize(const CSize& size, const CSize& oldChar, const CSize& newChar);

}  // namespace xtdock
