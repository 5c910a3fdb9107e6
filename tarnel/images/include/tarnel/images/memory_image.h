// The memory image of a chip: up to three areas of cells, each cell with its mark byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tarnel/images/chip_table.h"

// The mark byte beside every cell.
enum CellMark : uint8_t {
    kMarkEmpty = 0,     // no data: shown as "--" and not written to a .hex file
    kMarkData = 1,      // the cell holds data
    kMarkMismatch = 2,  // data that failed a verify comparison
};

// One area: a run of cells with one mark per cell. An area of size 0 is absent.
struct ImageArea {
    std::vector<uint8_t> cells;
    std::vector<uint8_t> marks;

    size_t Size() const { return cells.size(); }
    bool Present() const { return !cells.empty(); }
    // Gives the area `size` zero cells with mark 0; false (and an absent area) when memory runs
    // out.
    bool Allocate(size_t size);
    void Clear();
};

struct AreaSizes {
    uint32_t code = 0;
    uint32_t data = 0;
    uint32_t special = 0;
};

struct MemoryImage {
    ImageArea code;
    ImageArea data;
    ImageArea special;

    // The area of a memory kind (1 data, 2 code, 4 special); null for any other kind.
    ImageArea* Area(MemoryKind kind);
    const ImageArea* Area(MemoryKind kind) const;
    void Clear();
};

// Chips of device code 65 and up (8051 family and memories) keep code and data as one cell per
// byte; below that (the PIC chips) code cells pair into 16-bit words and data cells are written
// zero-extended. Special cells are words for every chip.
inline bool UsesByteCells(uint8_t deviceCode) { return deviceCode >= 65; }

// The PIC chips, whose new and read images start erased and fully marked.
inline bool StartsErased(uint8_t deviceCode) {
    return deviceCode == kDevicePic16 || deviceCode == kDevicePic18;
}

// Builds the image of a new document: every area of non-zero size gets its cells; PIC chips get
// their erased values (data 0xFF; PIC18 code and special 0xFF; PIC16 code and special words
// 0x3FFF, high byte first) with every mark 1, all other chips zero cells with mark 0. False, with
// the image left empty, when memory runs out.
bool CreateBlankImage(MemoryImage& image, const AreaSizes& sizes, uint8_t deviceCode);

// Exchanges the cells of an area in pairs from cell 0 on; a last odd cell stays where it is.
void SwapCellPairs(ImageArea& area);
