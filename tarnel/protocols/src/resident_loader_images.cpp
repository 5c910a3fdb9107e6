// The two resident-loader images, built at compile time with the check the chip asks of them.
//
// Image 1 passes control to image 2 at 0x0100, which waits in a loop: the place, length and check
// of each are what the board's chip tests before it runs them. The loader firmware of the real
// board is outside the tool-set; these stand in for it.
#include "tarnel/protocols/resident_loader_images.h"

namespace {

// HC908 instructions.
const BYTE kNop = 0x9D;
const BYTE kJmpExtended = 0xCC;
const BYTE kBranchAlways = 0x20;

constexpr WORD CrcCcitt(const BYTE* data, DWORD count) {
    WORD crc = 0xFFFF;
    for (DWORD i = 0; i < count; ++i) {
        crc = static_cast<WORD>(crc ^ (data[i] << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<WORD>((crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

// NOPs, then the image's last instruction before the two check bytes.
template <DWORD N>
constexpr std::array<BYTE, N> Image(const BYTE* last, DWORD lastSize) {
    std::array<BYTE, N> image{};
    DWORD code = N - 2;
    for (DWORD i = 0; i < code; ++i) {
        image[i] = kNop;
    }
    for (DWORD i = 0; i < lastSize; ++i) {
        image[code - lastSize + i] = last[i];
    }
    WORD crc = CrcCcitt(image.data(), code);
    image[code] = static_cast<BYTE>(crc >> 8);
    image[code + 1] = static_cast<BYTE>(crc);
    return image;
}

constexpr BYTE kJumpToImage2[3] = {kJmpExtended, kResidentLoaderImage2At >> 8,
                                   kResidentLoaderImage2At & 0xFF};
constexpr BYTE kWaitHere[2] = {kBranchAlways, 0xFE};

}  // namespace

const std::array<BYTE, kResidentLoaderImage1Size> kResidentLoaderImage1 =
    Image<kResidentLoaderImage1Size>(kJumpToImage2, sizeof kJumpToImage2);
const std::array<BYTE, kResidentLoaderImage2Size> kResidentLoaderImage2 =
    Image<kResidentLoaderImage2Size>(kWaitHere, sizeof kWaitHere);
