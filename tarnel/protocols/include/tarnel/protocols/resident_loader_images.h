// The HC908 chip's RAM-resident loader, in the two images the programming thread uploads.
//
// The chip takes image 1 at 0x0040 and image 2 at 0x0100 and runs them only when each carries its
// check: the last two bytes hold, high byte first, the CRC-CCITT (polynomial 0x1021, starting
// from 0xFFFF) of every byte before them.
#pragma once

#include <array>

#include "w32/types.h"

constexpr DWORD kResidentLoaderImage1Size = 177;
constexpr DWORD kResidentLoaderImage2Size = 315;
constexpr WORD kResidentLoaderImage1At = 0x0040;
constexpr WORD kResidentLoaderImage2At = 0x0100;

extern const std::array<BYTE, kResidentLoaderImage1Size> kResidentLoaderImage1;
extern const std::array<BYTE, kResidentLoaderImage2Size> kResidentLoaderImage2;
