// Helpers of the image-file tests: chip choices, hand-built records and image fillers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tarnel/images/chip_table.h"
#include "tarnel/images/hex_reader.h"
#include "tarnel/images/memory_image.h"

namespace test_chips {
constexpr const char* kAt89S8252 = "Brontal-A: AT89S8252";  // code 0x2000, data 0x800 at 0x2000
constexpr const char* kAt89S53 = "Brontal-A: AT89S53";      // code 0x3000 only
constexpr const char* kP89C51Rd2 = "Brontal-A(22 MHZ): P89C51RD2";  // code 0x10000 only
constexpr const char* kEeprom = "Brontal-A: 24C65";                 // data 0x2000 only
constexpr const char* kMemoryBoard = "Vasbel-1 RAM 512K";           // data 0x80000 only
constexpr const char* kPic16 = "Brontal-P: PIC16F877A";     // code 0, special 0x4000, data 0x4200
constexpr const char* kPic18F442 = "Brontal-P: PIC18F442";  // code 0x4000 cells
constexpr const char* kPic18F452 = "Brontal-P: PIC18F452";  // code 0x8000 cells
}  // namespace test_chips

// Answers the chip-selection step with a fixed chip, by default with the table's sizes.
class FixedChipSelector : public ChipSelector {
public:
    explicit FixedChipSelector(const char* chip)
        : choice_{chip,
                  {ChipTable::GetCodeSize(chip), ChipTable::GetDataSize(chip),
                   ChipTable::GetSpecialSize(chip)}} {}
    FixedChipSelector(const char* chip, AreaSizes sizes) : choice_{chip, sizes} {}

    bool SelectChip(ChipChoice& choice) override {
        ++calls;
        choice = choice_;
        return !cancel;
    }

    bool cancel = false;
    int calls = 0;

private:
    ChipChoice choice_;
};

// The image of a new document for a chip of the table.
inline MemoryImage BlankImageOf(const char* chip) {
    MemoryImage image;
    CreateBlankImage(image,
                     {ChipTable::GetCodeSize(chip), ChipTable::GetDataSize(chip),
                      ChipTable::GetSpecialSize(chip)},
                     ChipTable::GetDeviceCode(chip));
    return image;
}

inline ImageFileResult ReadAs(const char* chip, const std::string& text, MemoryImage& image) {
    FixedChipSelector selector(chip);
    return ReadHexImage(text, selector, image);
}

inline std::string Hex2(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// A well-formed Intel record, without line end.
inline std::string IntelRecord(unsigned address, unsigned type, const std::vector<uint8_t>& data) {
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    std::string line = ":" + Hex2(static_cast<unsigned>(data.size())) + Hex2(address >> 8) +
                       Hex2(address) + Hex2(type);
    for (uint8_t byte : data) {
        line += Hex2(byte);
        sum += byte;
    }
    return line + Hex2(0x100 - (sum & 0xFF));
}

// A Motorola record of any type with a 16-bit address and a correct ones'-complement checksum,
// without line end.
inline std::string SRecord(unsigned type, unsigned address, const std::vector<uint8_t>& data) {
    const unsigned count = static_cast<unsigned>(data.size()) + 3;
    unsigned sum = count + (address >> 8) + (address & 0xFF);
    std::string line =
        "S" + std::to_string(type) + Hex2(count) + Hex2(address >> 8) + Hex2(address);
    for (uint8_t byte : data) {
        line += Hex2(byte);
        sum += byte;
    }
    return line + Hex2(~sum);
}

// Cells of a deterministic pseudo-random pattern, so that byte order mistakes show.
inline void FillPattern(ImageArea& area, unsigned seed) {
    uint32_t state = seed * 2654435761u + 12345u;
    for (uint8_t& cell : area.cells) {
        state = state * 1103515245u + 12345u;
        cell = static_cast<uint8_t>(state >> 16);
    }
}
