// The search for a docking window's section in the saved bar state.
#include "frames/bar_sections.h"

namespace xtframes {

int XTFindBarSection(UINT nControlID, const std::function<int(int nSection)>& readBarID) {
    // The library's sections hold the identifier as a 16-bit word.
    const int wanted = static_cast<int>(nControlID & 0xFFFF);
    for (int n = 0;; ++n) {
        const int id = readBarID(n);
        if (id == XT_NO_BAR_SECTION) {
            return -1;
        }
        if (id == wanted) {
            return n;
        }
    }
}

}  // namespace xtframes
