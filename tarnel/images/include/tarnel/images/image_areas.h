// Rules of the image documents about their areas that need no window: which areas a chip has,
// how long an area may be, fills, and which cells a verify mismatch or a go-to lands on.
#pragma once

#include <cstdint>
#include <vector>

#include "tarnel/images/chip_table.h"
#include "tarnel/images/memory_image.h"

// A choice (or the presence) of the three areas.
struct AreaChoice {
    bool data = false;
    bool code = false;
    bool special = false;

    int Count() const { return int{data} + int{code} + int{special}; }
};

// The areas a chip of the table has (size above 0); none for an unknown name.
AreaChoice ChipAreas(const char* chipName);

// The largest area of any chip in the table (bytes): no image area may be longer.
uint32_t LargestAreaSize();
// A length the user gives for a new .bin image: 1 byte up to the largest area.
bool IsNewBinLengthAllowed(uint32_t length);
// A length of an area of a new or read .hex image: 0 (no such area) up to the largest area.
bool IsAreaLengthAllowed(uint32_t length);

// Fills the cells first..last with a value after cutting last to the area's last cell and
// raising first to 0; the number of cells filled (0 when first lies beyond last). With
// markAsData, a filled cell without data gets mark 1 (marks 1 and 2 stay).
int FillCells(ImageArea& area, int first, int last, uint8_t value, bool markAsData);

// The cells of a .bin image that a verify mismatch marks: the cell itself for the data area and
// for a code cell reported as a byte (kinds 1 and 5), otherwise both cells of the word.
std::vector<int> BinMismatchCells(int kind, int cell);

// The area (0 code, 1 data, 2 special) and cells of a .hex image that a verify mismatch marks:
// data and code-as-byte cells as they are, code and special words both cells; nothing for
// another kind.
struct AreaCells {
    int area = -1;
    std::vector<int> cells;
};
AreaCells HexMismatchCells(int kind, int cell);

// The cell of an area view that shows a go-to address: the data area and code areas of byte
// cells count cells, the special area and code areas of word cells count words.
int GoToCellOf(int area, int address, bool codeWordCells);
