// Wendra's program image: the HEX file read into 64 KB, what the reader's records covered, and the
// long jumps that send the vectors to a program that starts higher up.
#pragma once

#include <cstdint>
#include <vector>

#include "w32/types.h"

namespace wendra {

constexpr uint32_t kImageSize = 0x10000;
// Cells the file does not set: erased flash.
constexpr BYTE kFillValue = 0xFF;
// A program starting at this address or above gets long jumps to it at the vectors.
constexpr uint32_t kRelocatedStart = 50;

struct HexImage {
    std::vector<BYTE> image = std::vector<BYTE>(kImageSize, kFillValue);
    uint32_t highestEnd = 0;  // end (exclusive) of the highest record
    uint32_t byteCount = 0;   // what the download sends, from address 0
    bool hasLowest = false;
    uint32_t lowest = 0;  // lowest record start
};

// The reader's callbacks; the context is the HexImage.
int32_t storeHexRecord(void* context, uint32_t address, uint32_t count, const uint8_t* bytes);
void hexReaderMessage(void* context, int32_t level, const char* text);

// Reads the Intel HEX file at `path` into `hex`: the reader's result (0 on success).
int32_t LoadHexImage(const char* path, HexImage* hex);

// A program whose lowest address is 50 or more gets LJMPs (02 hi lo) at 0x0000 to its start and at
// the interrupt vectors 0x03, 0x0B, 0x13, 0x1B and 0x23 to the same offsets above its start.
void AddLongJumps(HexImage* hex);

}  // namespace wendra
