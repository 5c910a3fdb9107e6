// Area presence, length bounds, fills and the cells that mismatches and go-tos land on.
#include "tarnel/images/image_areas.h"

#include <algorithm>
#include <climits>

AreaChoice ChipAreas(const char* chipName) {
    AreaChoice areas;
    areas.data = ChipTable::GetDataSize(chipName) != 0;
    areas.code = ChipTable::GetCodeSize(chipName) != 0;
    areas.special = ChipTable::GetSpecialSize(chipName) != 0;
    return areas;
}

uint32_t LargestAreaSize() {
    uint32_t largest = 0;
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        const ChipTableEntry* row = ChipTable::GetEntry(i);
        largest = std::max({largest, row->codeSize, row->dataSize, row->specialSize});
    }
    return largest;
}

bool IsNewBinLengthAllowed(uint32_t length) { return length >= 1 && length <= LargestAreaSize(); }

bool IsAreaLengthAllowed(uint32_t length) { return length <= LargestAreaSize(); }

int FillCells(ImageArea& area, int first, int last, uint8_t value, bool markAsData) {
    const int size = static_cast<int>(area.Size());
    last = std::min(last, size - 1);
    first = std::max(first, 0);
    if (first > last) {
        return 0;
    }
    for (int cell = first; cell <= last; ++cell) {
        area.cells[static_cast<size_t>(cell)] = value;
        if (markAsData && area.marks[static_cast<size_t>(cell)] == kMarkEmpty) {
            area.marks[static_cast<size_t>(cell)] = kMarkData;
        }
    }
    return last - first + 1;
}

std::vector<int> BinMismatchCells(int kind, int cell) {
    if (kind == kMemoryData || kind == kMemoryCodeByteCell) {
        return {cell};
    }
    return {2 * cell, 2 * cell + 1};
}

AreaCells HexMismatchCells(int kind, int cell) {
    AreaCells result;
    switch (kind) {
        case kMemoryData:
            result.area = 1;
            result.cells = {cell};
            break;
        case kMemoryCode:
            result.area = 0;
            result.cells = {2 * cell, 2 * cell + 1};
            break;
        case kMemorySpecial:
            result.area = 2;
            result.cells = {2 * cell, 2 * cell + 1};
            break;
        case kMemoryCodeByteCell:
            result.area = 0;
            result.cells = {cell};
            break;
        default:
            break;
    }
    return result;
}

int GoToCellOf(int area, int address, bool codeWordCells) {
    if (area == 2 || (area == 0 && codeWordCells)) {
        // Addresses past half the number range land past every area; the view clamps them.
        const long long cell = 2LL * address;
        return static_cast<int>(std::clamp<long long>(cell, INT_MIN, INT_MAX));
    }
    return address;
}
