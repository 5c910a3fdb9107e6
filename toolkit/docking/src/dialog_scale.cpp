// Rescaling by the ratio of two fonts' average character sizes.
#include "docking/dialog_scale.h"

#include <cstdint>

namespace xtdock {

namespace {

int Scale(int value, int to, int from) {
    if (from == 0) {
        return value;
    }
    const std::int64_t product = static_cast<std::int64_t>(value) * to;
    std::int64_t divisor = from;
    std::int64_t dividend = product;
    if (divisor < 0) {
        divisor = -divisor;
        dividend = -dividend;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t rounded =
        dividend >= 0 ? (dividend + half) / divisor : -((-dividend + half) / divisor);
    return static_cast<int>(rounded);
}

}  // namespace

CRect ScaleByCharSize(const CRect& rect, const CSize& oldChar, const CSize& newChar) {
    return CRect(Scale(rect.left, newChar.cx, oldChar.cx), Scale(rect.top, newChar.cy, oldChar.cy),
                 Scale(rect.right, newChar.cx, oldChar.cx),
                 Scale(rect.bottom, newChar.cy, oldChar.cy));
}

CSize ScaleByCharSize(const CSize& size, const CSize& oldChar, const CSize& newChar) {
    return CSize(Scale(size.cx, newChar.cx, oldChar.cx), Scale(size.cy, newChar.cy, oldChar.cy));
}

}  // namespace xtdock
