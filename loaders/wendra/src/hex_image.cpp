// Reading the program into Wendra's image and redirecting its vectors.
#include "hex_image.h"

#include <cstring>

#include "loader/relay.h"
#include "hexfile/hex_reader.h"

namespace wendra {

int32_t storeHexRecord(void* context, uint32_t address, uint32_t count, const uint8_t* bytes) {
    HexImage* hex = static_cast<HexImage*>(context);
    if (static_cast<int32_t>(address) < 0) {
        return 1;
    }
    if (address + count > kImageSize) {
        return kHexOutOfRange;
    }
    std::memcpy(hex->image.data() + address, bytes, count);
    uint32_t end = address + count;
    if (end > hex->highestEnd) {
        hex->highestEnd = end;
    }
    // One cell past the highest record goes too; never past the image.
    hex->byteCount = hex->highestEnd < kImageSize ? hex->highestEnd + 1 : kImageSize;
    if (!hex->hasLowest || address < hex->lowest) {
        hex->hasLowest = true;
        hex->lowest = address;
    }
    return 0;
}

void hexReaderMessage(void*, int32_t, const char* text) { loaderMessage("%s", text); }

int32_t LoadHexImage(const char* path, HexImage* hex) {
    return ReadHexFile(hex, path, kHexFormatIntel, storeHexRecord, hexReaderMessage);
}

void AddLongJumps(HexImage* hex) {
    if (!hex->hasLowest || hex->lowest < kRelocatedStart) {
        return;
    }
    static const uint32_t kVectors[] = {0x00, 0x03, 0x0B, 0x13, 0x1B, 0x23};
    for (uint32_t vector : kVectors) {
        uint32_t target = (hex->lowest + vector) & 0xFFFF;
        hex->image[vector] = 0x02;
        hex->image[vector + 1] = static_cast<BYTE>(target >> 8);
        hex->image[vector + 2] = static_cast<BYTE>(target & 0xFF);
    }
}

}  // namespace wendra
