// The fixed catalogue of 8051-family chips that the simulator offers, grouped by manufacturer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel {

// One chip of the catalogue. Sizes are in bytes; a chip without an external bus has an external
// data size of 0, a ROM-less chip a program size of 0.
struct ChipInfo {
    const char* chipId;
    const char* manufacturer;
    uint32_t programSize;
    uint32_t internalRamSize;
    uint32_t externalSize;
    uint32_t familyCode;
};

// The catalogue rows in their fixed order, followed by one row whose chip ID is null.
extern const ChipInfo kChipCatalogue[];
// Number of chip rows (the terminating row not counted).
extern const size_t kChipCatalogueSize;

// The first row whose chip ID equals `chipId` exactly (case-sensitive, trailing blanks count);
// null for an absent ID or one that is not in the catalogue.
const ChipInfo* FindChip(const char* chipId);

}  // namespace ostrel

namespace ostrel {

// The manufacturers in catalogue order, each named once, separated by single commas (no comma at
// the end). Writes at most `size` bytes, terminator included; a longer list is cut.
void WriteManufacturerList(char* buffer, size_t size);

// Every chip ID whose row has exactly the manufacturer `manufacturer`, each followed by ",", in
// catalogue order; empty for an absent or unknown manufacturer. Bounded like the list above.
void WriteChipList(const char* manufacturer, char* buffer, size_t size);

}  // namespace ostrel
