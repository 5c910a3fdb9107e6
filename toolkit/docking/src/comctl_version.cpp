// The common-controls version from the library's answer.
#include "docking/comctl_version.h"

namespace xtdock {

std::uint32_t ComposeComCtlVersion(const ComCtlAnswer& answer) {
    if (!answer.hasExport || !answer.succeeded) {
        return kDefaultComCtlVersion;
    }
    return (answer.major << 16) | (answer.minor & 0xFFFF);
}

}  // namespace xtdock
