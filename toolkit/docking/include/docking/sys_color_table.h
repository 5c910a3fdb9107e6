// The colour-table mapping of bitmaps loaded in the system's button colours: the four greys of
// a 16-colour picture become the current button colours (rules without windows).
#pragma once

#include <cstdint>

namespace xtdock {

// Button colours as 0x00RRGGBB (the byte order of a bitmap's colour table).
struct ButtonColors {
    std::uint32_t text;       // takes black
    std::uint32_t shadow;     // takes dark grey 0x808080
    std::uint32_t face;       // takes light grey 0xC0C0C0
    std::uint32_t highlight;  // takes white
};

// Rewrites the colour table in place: each entry equal to one of the four greys (its reserved
// byte ignored) takes the matching button colour; with `mono`, every matched entry becomes
// white except black, which stays as stored. Other entries are kept.
void MapSysColorTable(std::uint32_t* entries, int count, const ButtonColors& colors, bool mono);

// A COLORREF (0x00BBGGRR) in colour-table order (0x00RRGGBB), and back.
std::uint32_t ColorRefToTableEntry(std::uint32_t colorRef);
std::uint32_t TableEntryToColorRef(std::uint32_t entry);

// The size in bytes of a device-independent bitmap resource's parts: header, colour table of
// 2^bitCount entries (none above 8 bits) and pixel rows padded to 32 bits. Zero when the
// header cannot describe a bitmap (bad size, bit count, width or height).
struct DibLayout {
    std::uint32_t headerSize = 0;
    std::uint32_t colorTableSize = 0;
    std::uint32_t pixelSize = 0;
    std::uint32_t Total() const { return headerSize + colorTableSize + pixelSize; }
};
DibLayout MeasureDib(std::uint32_t headerSize, std::int32_t width, std::int32_t height,
                     std::uint16_t bitCount);

}  // namespace xtdock
