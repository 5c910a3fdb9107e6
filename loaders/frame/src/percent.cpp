// The percent clamp and the byte-stream percent rule.
#include "loader/percent.h"

namespace loader {

int ClampPercent(int64_t percent) {
    if (percent < 1) {
        return 1;
    }
    if (percent > 99) {
        return 99;
    }
    return static_cast<int>(percent);
}

unsigned long PercentStep(unsigned long count) { return count / 100 > 1 ? count / 100 : 1; }

bool IsPercentByte(unsigned long index, unsigned long count) {
    return index % PercentStep(count) == 0;
}

int BytePercent(unsigned long index, unsigned long count) {
    if (count == 0) {
        return 1;
    }
    // 64 bits: index * 100 passes 32 bits from a 43 MB file on.
    return ClampPercent(static_cast<int64_t>(index) * 100 / static_cast<int64_t>(count));
}

}  // namespace loader
