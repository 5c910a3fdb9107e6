// The colour-table mapping of bitmaps in the system's button colours.
#include "docking/sys_color_table.h"

#include <cstdlib>

namespace xtdock {

namespace {

const std::uint32_t kBlack = 0x000000;
const std::uint32_t kDarkGrey = 0x808080;
const std::uint32_t kLightGrey = 0xC0C0C0;
const std::uint32_t kWhite = 0xFFFFFF;

}  // namespace

void MapSysColorTable(std::uint32_t* entries, int count, const ButtonColors& colors, bool mono) {
    for (int i = 0; i < count; ++i) {
        std::uint32_t stored = entries[i] & 0xFFFFFF;
        std::uint32_t mapped;
        if (stored == kBlack) {
            mapped = mono ? entries[i] : colors.text;
        } else if (stored == kDarkGrey) {
            mapped = mono ? kWhite : colors.shadow;
        } else if (stored == kLightGrey) {
            mapped = mono ? kWhite : colors.face;
        } else if (stored == kWhite) {
            mapped = mono ? kWhite : colors.highlight;
        } else {
            continue;
        }
        entries[i] = mapped;
    }
}

std::uint32_t ColorRefToTableEntry(std::uint32_t colorRef) {
    return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}

std::uint32_t TableEntryToColorRef(std::uint32_t entry) {
    return ColorRefToTableEntry(entry);  // the swap is its own inverse
}

DibLayout MeasureDib(std::uint32_t headerSize, std::int32_t width, std::int32_t height,
                     std::uint16_t bitCount) {
    DibLayout layout;
    bool known = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                 bitCount == 24 || bitCount == 32;
    // Width and height bounded so that the sizes below stay within 32 bits.
    if (headerSize < 40 || headerSize > 1024 || !known || width <= 0 || width > 0x8000 ||
        height == 0 || std::abs(static_cast<long>(height)) > 0x8000) {
        return layout;
    }
    layout.headerSize = headerSize;
    layout.colorTableSize = bitCount <= 8 ? (1u << bitCount) * 4u : 0u;
    std::uint32_t rowBytes = ((static_cast<std::uint32_t>(width) * bitCount + 31u) / 32u) * 4u;
    layout.pixelSize = rowBytes * static_cast<std::uint32_t>(std::abs(static_cast<long>(height)));
    return layout;
}

}  // namespace xtdock
