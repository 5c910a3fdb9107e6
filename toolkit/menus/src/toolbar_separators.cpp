// The room a wrapped toolbar separator takes below its row.
#include "menus/toolbar_separators.h"

#include <algorithm>

namespace xtmenus {

int WrappedSeparatorDepth(std::uint32_t comctlVersion, int itemHeight, int width) {
    int depth = width;
    if (comctlVersion < kComCtlSeparatorByHeight) {
        depth = itemHeight - 3;
    } else if (comctlVersion == kComCtlSeparatorByHeight) {
        depth = itemHeight;
    }
    return std::max(depth, 0);
}

}  // namespace xtmenus
