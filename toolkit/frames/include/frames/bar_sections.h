// Where a docking window's sizes live in the saved bar state: the profile section "<name>-Bar<n>"
// whose "BarID" is the window's identifier.
#pragma once

#include "classlib/types.h"

#include <functional>

namespace xtframes {

// The "BarID" a missing section reads as: it ends the numbering.
constexpr int XT_NO_BAR_SECTION = -1;

// Looks through the sections n = 0, 1, 2, ... (readBarID gives the "BarID" of section n, -1 when
// the section is missing) for the one naming the bar: the low 16 bits of its control
// identifier. Its number, or -1 when the numbering ends first.
int XTFindBarSection(UINT nControlID, const std::function<int(int nSection)>& readBarID);

}  // namespace xtframes
