// The chip catalogue: 151 rows in the order the host lists them.
#include "chip_catalogue.h"

#include <algorithm>
#include <cstring>

namespace ostrel {

namespace {
constexpr uint32_t K = 1024;
constexpr uint32_t kXram = 65536;
}  // namespace

const ChipInfo kChipCatalogue[] = {
    // Generic
    {"8052", "Generic", 64 * K, 256, kXram, 0x02},
    {"8051", "Generic", 64 * K, 128, kXram, 0x02},
    // Analog Devices
    {"ADuC812", "Analog Devices", 8 * K, 256, kXram, 0x11},
    {"ADuC824", "Analog Devices", 8 * K, 256, kXram, 0x11},
    // Atmel
    {"AT89C51", "Atmel", 4 * K, 128, kXram, 0x12},
    {"AT89LV51", "Atmel", 4 * K, 128, kXram, 0x12},
    {"AT89C52", "Atmel", 8 * K, 256, kXram, 0x12},
    {"AT89LV52", "Atmel", 8 * K, 256, kXram, 0x12},
    {"AT89S8252", "Atmel", 8 * K, 256, kXram, 0x12},
    {"AT89LS8252", "Atmel", 8 * K, 256, kXram, 0x12},
    {"AT89S53", "Atmel", 12 * K, 256, kXram, 0x12},
    {"AT89LS53", "Atmel", 12 * K, 256, kXram, 0x12},
    {"AT89C55", "Atmel", 20 * K, 256, kXram, 0x12},
    {"AT89LV55", "Atmel", 20 * K, 256, kXram, 0x12},
    {"AT89C51RB2", "Atmel", 16 * K, 256, kXram, 0x12},
    {"AT89C51RC2", "Atmel", 32 * K, 256, kXram, 0x12},
    {"AT89C51RD2", "Atmel", 64 * K, 256, kXram, 0x12},
    {"AT89C51ED2", "Atmel", 64 * K, 256, kXram, 0x12},
    {"AT89C1051", "Atmel", 1 * K, 64, 0, 0x12},
    {"AT89C2051", "Atmel", 2 * K, 128, 0, 0x12},
    {"AT89C4051", "Atmel", 4 * K, 128, 0, 0x12},
    // Dallas SemiConductor
    {"DS80C310", "Dallas SemiConductor", 0, 256, kXram, 0x13},
    {"DS80C320", "Dallas SemiConductor", 0, 256, kXram, 0x13},
    {"DS80C323", "Dallas SemiConductor", 0, 256, kXram, 0x13},
    {"DS83C520", "Dallas SemiConductor", 16 * K, 256, kXram, 0x13},
    {"DS87C520", "Dallas SemiConductor", 16 * K, 256, kXram, 0x13},
    {"Gristan-8", "Dallas SemiConductor", 8 * K, 128, kXram, 0x13},
    {"Gristan-32", "Dallas SemiConductor", 32 * K, 128, kXram, 0x13},
    {"GristanT-8", "Dallas SemiConductor", 8 * K, 128, kXram, 0x13},
    {"GristanT-32", "Dallas SemiConductor", 32 * K, 128, kXram, 0x13},
    // Intel
    {"80C31BH", "Intel", 4 * K, 128, kXram, 0x14},
    {"80C51BH", "Intel", 4 * K, 128, kXram, 0x14},
    {"87C51", "Intel", 4 * K, 128, kXram, 0x14},
    {"87C54", "Intel", 16 * K, 256, kXram, 0x14},
    {"80C151SB", "Intel", 0, 256, kXram, 0x14},
    {"83C151SA", "Intel", 8 * K, 256, kXram, 0x14},
    {"83C151SB", "Intel", 16 * K, 256, kXram, 0x14},
    {"87C151SA", "Intel", 8 * K, 256, kXram, 0x14},
    {"87C151SB", "Intel", 16 * K, 256, kXram, 0x14},
    {"80C251SB", "Intel", 0, 1024, kXram, 0x14},
    {"80C251SQ", "Intel", 0, 512, kXram, 0x14},
    {"83C251SA", "Intel", 8 * K, 1024, kXram, 0x14},
    {"83C251SB", "Intel", 16 * K, 1024, kXram, 0x14},
    {"83C251SP", "Intel", 8 * K, 512, kXram, 0x14},
    {"83C251SQ", "Intel", 16 * K, 512, kXram, 0x14},
    {"87C251SA", "Intel", 8 * K, 1024, kXram, 0x14},
    {"87C251SB", "Intel", 16 * K, 1024, kXram, 0x14},
    {"87C251SP", "Intel", 8 * K, 512, kXram, 0x14},
    {"87C251SQ", "Intel", 16 * K, 512, kXram, 0x14},
    // ISSI
    {"IS80C31", "ISSI", 0, 128, kXram, 0x15},
    {"IS80LV31", "ISSI", 0, 128, kXram, 0x15},
    {"IS80C51", "ISSI", 4 * K, 128, kXram, 0x15},
    {"IS80LV51", "ISSI", 4 * K, 128, kXram, 0x15},
    {"IS80C32", "ISSI", 0, 256, kXram, 0x15},
    {"IS80LV32", "ISSI", 0, 256, kXram, 0x15},
    {"IS80C52", "ISSI", 8 * K, 256, kXram, 0x15},
    {"IS80LV52", "ISSI", 8 * K, 256, kXram, 0x15},
    {"IS80C54", "ISSI", 16 * K, 256, kXram, 0x15},
    {"IS80LV54", "ISSI", 16 * K, 256, kXram, 0x15},
    {"IS80C58", "ISSI", 32 * K, 256, kXram, 0x15},
    {"IS80LV58", "ISSI", 32 * K, 256, kXram, 0x15},
    {"IS89C52", "ISSI", 8 * K, 256, kXram, 0x15},
    {"IS89LV52", "ISSI", 8 * K, 256, kXram, 0x15},
    // Okidata
    {"MSM80C48", "Okidata", 1 * K, 64, kXram, 0x16},
    {"MSM80C49", "Okidata", 2 * K, 128, kXram, 0x16},
    {"MSM80C50", "Okidata", 4 * K, 256, kXram, 0x16},
    {"MSM80C154S", "Okidata", 0, 256, kXram, 0x16},
    {"MSM83C154S", "Okidata", 16 * K, 256, kXram, 0x16},
    // Wendra
    {"P80C31", "Wendra", 0, 128, kXram, 0x17},
    {"P80C51", "Wendra", 4 * K, 128, kXram, 0x17},
    {"P83C51", "Wendra", 4 * K, 128, kXram, 0x17},
    {"P87C51", "Wendra", 4 * K, 128, kXram, 0x17},
    {"P80C51FA", "Wendra", 0, 256, kXram, 0x17},
    {"P80C51RA", "Wendra", 0, 512, kXram, 0x17},
    {"P83C51FA", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P87C51FA", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P83C51RA", "Wendra", 8 * K, 512, kXram, 0x17},
    {"P87C51RA", "Wendra", 8 * K, 512, kXram, 0x17},
    {"P83C51FB", "Wendra", 16 * K, 256, kXram, 0x17},
    {"P87C51FB", "Wendra", 16 * K, 256, kXram, 0x17},
    {"P83C51RB", "Wendra", 16 * K, 512, kXram, 0x17},
    {"P87C51RB", "Wendra", 16 * K, 512, kXram, 0x17},
    {"P83C51FC", "Wendra", 32 * K, 256, kXram, 0x17},
    {"P87C51FC", "Wendra", 32 * K, 256, kXram, 0x17},
    {"P83C51RC", "Wendra", 32 * K, 512, kXram, 0x17},
    {"P87C51RC", "Wendra", 32 * K, 512, kXram, 0x17},
    {"P80C32", "Wendra", 0, 256, kXram, 0x17},
    {"P80C52", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P87C52", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P80C34", "Wendra", 0, 256, kXram, 0x17},
    {"P80C54", "Wendra", 16 * K, 256, kXram, 0x17},
    {"P87C54", "Wendra", 16 * K, 256, kXram, 0x17},
    {"P87C58", "Wendra", 32 * K, 256, kXram, 0x17},
    {"P83C508", "Wendra", 32 * K, 256, kXram, 0x17},
    {"P87C508", "Wendra", 32 * K, 256, kXram, 0x17},
    {"P83C524", "Wendra", 16 * K, 512, kXram, 0x17},
    {"P87C524", "Wendra", 16 * K, 512, kXram, 0x17},
    {"P80C528", "Wendra", 0, 512, kXram, 0x17},
    {"P83C528", "Wendra", 32 * K, 512, kXram, 0x17},
    {"P87C528", "Wendra", 32 * K, 512, kXram, 0x17},
    {"P80C550", "Wendra", 0, 128, kXram, 0x17},
    {"P83C550", "Wendra", 4 * K, 128, kXram, 0x17},
    {"P87C550", "Wendra", 4 * K, 128, kXram, 0x17},
    {"P80C575", "Wendra", 0, 256, kXram, 0x17},
    {"P83C575", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P87C575", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P83C576", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P87C576", "Wendra", 8 * K, 256, kXram, 0x17},
    {"S80C652", "Wendra", 0, 256, kXram, 0x17},
    {"S83C652", "Wendra", 8 * K, 256, kXram, 0x17},
    {"S87C652", "Wendra", 8 * K, 256, kXram, 0x17},
    {"S83C654", "Wendra", 16 * K, 256, kXram, 0x17},
    {"S87C654", "Wendra", 16 * K, 256, kXram, 0x17},
    {"P80C851", "Wendra", 0, 128, kXram, 0x17},
    {"P83C851", "Wendra", 4 * K, 128, kXram, 0x17},
    {"P89C51RB2", "Wendra", 16 * K, 512, kXram, 0x17},
    {"P89C51RC2", "Wendra", 32 * K, 512, kXram, 0x17},
    {"P89C51RD2", "Wendra", 64 * K, 1024, kXram, 0x17},
    {"P89C51UB", "Wendra", 4 * K, 128, kXram, 0x17},
    {"P89C52UB", "Wendra", 8 * K, 256, kXram, 0x17},
    {"P89C54UB", "Wendra", 16 * K, 256, kXram, 0x17},
    {"P89C58UB", "Wendra", 32 * K, 256, kXram, 0x17},
    {"OM5202", "Wendra", 0, 256, kXram, 0x17},
    {"OM5232", "Wendra", 8 * K, 256, kXram, 0x17},
    {"OM5234", "Wendra", 16 * K, 256, kXram, 0x17},
    // This ID carries a trailing blank: hosts send it exactly so, and only so does it match.
    {"OM5238 ", "Wendra", 32 * K, 256, kXram, 0x17},
    // Infineon
    {"SAB-C501", "Infineon", 8 * K, 256, kXram, 0x18},
    // SST
    {"SST89C54", "SST", 20 * K, 256, kXram, 0x19},
    {"SST89C58", "SST", 36 * K, 256, kXram, 0x19},
    // TEMIC
    {"TSC80C31", "TEMIC", 0, 128, kXram, 0x1A},
    {"TSC80C51", "TEMIC", 4 * K, 128, kXram, 0x1A},
    {"TS80C31X2", "TEMIC", 0, 128, kXram, 0x1A},
    {"TS80C51RA2", "TEMIC", 0, 256, kXram, 0x1A},
    {"TS80C51RD2", "TEMIC", 0, 256, kXram, 0x1A},
    {"TS83C51RB2", "TEMIC", 16 * K, 256, kXram, 0x1A},
    {"TS83C51RC2", "TEMIC", 32 * K, 256, kXram, 0x1A},
    {"TS83C51RD2", "TEMIC", 64 * K, 256, kXram, 0x1A},
    {"TS87C51RB2", "TEMIC", 16 * K, 256, kXram, 0x1A},
    {"TS87C51RC2", "TEMIC", 32 * K, 256, kXram, 0x1A},
    {"TS87C51RD2", "TEMIC", 64 * K, 256, kXram, 0x1A},
    {"TS80C32X2", "TEMIC", 0, 256, kXram, 0x1A},
    {"TS80C52X2", "TEMIC", 8 * K, 256, kXram, 0x1A},
    {"TS87C52X2", "TEMIC", 8 * K, 256, kXram, 0x1A},
    {"TS80C51U2", "TEMIC", 0, 256, kXram, 0x1A},
    {"TS83C51U2", "TEMIC", 16 * K, 256, kXram, 0x1A},
    {"TS87C51U2", "TEMIC", 16 * K, 256, kXram, 0x1A},
    {"TS80C54X2", "TEMIC", 16 * K, 256, kXram, 0x1A},
    {"TS87C54X2", "TEMIC", 16 * K, 256, kXram, 0x1A},
    {"TS80C58X2", "TEMIC", 32 * K, 256, kXram, 0x1A},
    {"TS87C58X2", "TEMIC", 32 * K, 256, kXram, 0x1A},
    {"T89C51RD2", "TEMIC", 64 * K, 256, kXram, 0x1A},
    {nullptr, nullptr, 0, 0, 0, 0},
};

const size_t kChipCatalogueSize = sizeof(kChipCatalogue) / sizeof(kChipCatalogue[0]) - 1;

const ChipInfo* FindChip(const char* chipId) {
    if (chipId == nullptr) {
        return nullptr;
    }
    for (const ChipInfo* row = kChipCatalogue; row->chipId != nullptr; ++row) {
        if (std::strcmp(row->chipId, chipId) == 0) {
            return row;
        }
    }
    return nullptr;
}

namespace {

// Appends `text` at `used` without passing `size` (terminator included); returns the new length.
size_t AppendBounded(char* buffer, size_t size, size_t used, const char* text) {
    const size_t room = size - 1 - used;
    const size_t length = std::min(std::strlen(text), room);
    std::memcpy(buffer + used, text, length);
    buffer[used + length] = '\0';
    return used + length;
}

}  // namespace

void WriteManufacturerList(char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    buffer[0] = '\0';
    size_t used = 0;
    const char* last = nullptr;
    for (const ChipInfo* row = kChipCatalogue; row->chipId != nullptr; ++row) {
        if (last != nullptr && std::strcmp(last, row->manufacturer) == 0) {
            continue;
        }
        if (last != nullptr) {
            used = AppendBounded(buffer, size, used, ",");
        }
        used = AppendBounded(buffer, size, used, row->manufacturer);
        last = row->manufacturer;
    }
}

void WriteChipList(const char* manufacturer, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    buffer[0] = '\0';
    if (manufacturer == nullptr) {
        return;
    }
    size_t used = 0;
    for (const ChipInfo* row = kChipCatalogue; row->chipId != nullptr; ++row) {
        if (std::strcmp(row->manufacturer, manufacturer) == 0) {
            used = AppendBounded(buffer, size, used, row->chipId);
            used = AppendBounded(buffer, size, used, ",");
        }
    }
}

}  // namespace ostrel
