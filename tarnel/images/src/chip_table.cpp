// The chip table's rows, the board tags, and the lookups by chip name.
#include "tarnel/images/chip_table.h"

#include <cstring>

namespace {

constexpr uint32_t kPicture = 170;
constexpr uint32_t kNone = kNoAreaBase;
constexpr uint32_t kAll = kChipCodeProgrammable | kChipDataProgrammable | kChipSpecialProgrammable;

// Names must stay unique: the size getters take the first row with a name and IndexOf the last.
constexpr ChipTableEntry kRows[] = {
    // picture, board, name, code, data, special, code base, data base, special base, mode,
    // device code, flags
    {kPicture, 0, "Vasbel-1 RAM 512K", 0, 0x80000, 0, kNone, 0, kNone, 0xFE, 253, 0},
    {kPicture, 0, "Vasbel-1 FLASH 512K", 0, 0x80000, 0, kNone, 0, kNone, 0xFE, 253, kAll},
    {kPicture, 0, "HARD DRIVE 512K", 0, 0x80000, 0, kNone, 0, kNone, 0xFE, 254, kAll},
    {kPicture, 0, "Brontal-A: AT89S8252", 0x2000, 0x800, 0, 0, 0x2000, kNone, 0x1A, 160, kAll},
    {kPicture, 0, "Brontal-A: AT89S53", 0x3000, 0, 0, 0, kNone, kNone, 0x1B, 161, kAll},
    {kPicture, 0, "Brontal-A(22 MHZ): P89C51RB2", 0x4000, 0, 0, 0, kNone, kNone, 0x1C, 163, kAll},
    {kPicture, 0, "Brontal-A(22 MHZ): P89C51RC2", 0x8000, 0, 0, 0, kNone, kNone, 0x1C, 163, kAll},
    {kPicture, 0, "Brontal-A(22 MHZ): P89C51RD2", 0x10000, 0, 0, 0, kNone, kNone, 0x1C, 163, kAll},
    {kPicture, 0, "Brontal-A(11 MHZ): P89C51RB2", 0x4000, 0, 0, 0, kNone, kNone, 0x1C, 168, kAll},
    {kPicture, 0, "Brontal-A(11 MHZ): P89C51RC2", 0x8000, 0, 0, 0, kNone, kNone, 0x1C, 168, kAll},
    {kPicture, 0, "Brontal-A(11 MHZ): P89C51RD2", 0x10000, 0, 0, 0, kNone, kNone, 0x1C, 168, kAll},
    {kPicture, 0, "Brontal-A: 24C65", 0, 0x2000, 0, kNone, 0, kNone, 0xFE, 162, 0},
    {kPicture, 1, "Brontal-H: MC68HC908GP32", 0x10000, 0, 0, 0, kNone, kNone, 0x1D, 164, kAll},
    {kPicture, 1, "Brontal-H: 24C65", 0, 0x2000, 0, kNone, 0, kNone, 0xFE, 162, 0},
    {kPicture, 3, "Brontal-P: PIC16F877A", 0x4000, 0x100, 0x10, 0, 0x4200, 0x4000, 0x1E, 9, kAll},
    {kPicture, 0, "Brontal-A(22 MHZ): (A)T89C51RX2", 0x10000, 0, 0, 0, kNone, kNone, 0x1C, 171,
     kAll},
    {kPicture, 0, "Brontal-A2(22 MHZ): (A)T89C51RX2", 0x10000, 0, 0, 0, kNone, kNone, 0x1C, 167,
     kAll},
    {kPicture, 0, "Brontal-B(22 MHZ): (A)T89C51RX2", 0x10000, 0, 0, 0, kNone, kNone, 0x1C, 167,
     kAll},
    {kPicture, 3, "Brontal-P: PIC18F442", 0x4000, 0x100, 0x10, 0, 0xF000, 0x3000, 0x1F, 10, kAll},
    {kPicture, 3, "Brontal-P: PIC18F452", 0x8000, 0x100, 0x10, 0, 0xF000, 0x3000, 0x1F, 10, kAll},
    {kPicture, 3, "Brontal-P: PIC18F458", 0x8000, 0x100, 0x10, 0, 0xF000, 0x3000, 0x1F, 10, kAll},
};
constexpr int kRowCount = static_cast<int>(sizeof(kRows) / sizeof(kRows[0]));
static_assert(kRowCount == 21, "the chip table has 21 rows");

constexpr BoardTagEntry kBoardTags[] = {
    {0, "CorvaneC"},
    {1, "Halvex"},
    {3, "Pridel"},
};
constexpr int kBoardTagCount = static_cast<int>(sizeof(kBoardTags) / sizeof(kBoardTags[0]));

bool SameName(const ChipTableEntry& row, const char* name) {
    return std::strcmp(row.chipName, name) == 0;
}

const ChipTableEntry* FirstRow(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (const ChipTableEntry& row : kRows) {
        if (SameName(row, name)) {
            return &row;
        }
    }
    return nullptr;
}

// The getters that answer through IndexOf find the last row with the name.
const ChipTableEntry* LastRow(const char* name) {
    const uint8_t index = ChipTable::IndexOf(name);
    return index == 255 ? nullptr : &kRows[index];
}

// A word of the row, or the lookup's own answer when no row has the name. Only the low byte of
// the device code and of the mode is used.
uint32_t FieldOf(const ChipTableEntry* row, uint32_t ChipTableEntry::*field, uint32_t unknown) {
    return row ? row->*field : unknown;
}

}  // namespace

int ChipTable::GetCount() { return kRowCount; }

const ChipTableEntry* ChipTable::GetEntry(int index) {
    return index >= 0 && index < kRowCount ? &kRows[index] : nullptr;
}

bool ChipTable::Contains(const char* name) { return FirstRow(name) != nullptr; }

uint8_t ChipTable::IndexOf(const char* name) {
    if (name == nullptr) {
        return 255;
    }
    for (int i = kRowCount - 1; i >= 0; --i) {
        if (SameName(kRows[i], name)) {
            return static_cast<uint8_t>(i);
        }
    }
    return 255;
}

uint8_t ChipTable::GetDeviceCode(const char* name) {
    return static_cast<uint8_t>(FieldOf(LastRow(name), &ChipTableEntry::deviceCode, 255));
}

uint8_t ChipTable::GetProgrammingMode(const char* name) {
    return static_cast<uint8_t>(FieldOf(LastRow(name), &ChipTableEntry::programmingMode, 255));
}

uint32_t ChipTable::GetPictureId(const char* name) {
    return FieldOf(LastRow(name), &ChipTableEntry::pictureId, 0);
}

uint32_t ChipTable::GetCodeSize(const char* name) {
    return FieldOf(FirstRow(name), &ChipTableEntry::codeSize, 0);
}

uint32_t ChipTable::GetDataSize(const char* name) {
    return FieldOf(FirstRow(name), &ChipTableEntry::dataSize, 0);
}

uint32_t ChipTable::GetSpecialSize(const char* name) {
    return FieldOf(FirstRow(name), &ChipTableEntry::specialSize, 0);
}

uint32_t ChipTable::GetCodeBase(const char* name) {
    return FieldOf(LastRow(name), &ChipTableEntry::codeBase, 0);
}

uint32_t ChipTable::GetDataBase(const char* name) {
    return FieldOf(LastRow(name), &ChipTableEntry::dataBase, 0);
}

uint32_t ChipTable::GetSpecialBase(const char* name) {
    return FieldOf(LastRow(name), &ChipTableEntry::specialBase, 0);
}

bool ChipTable::IsCodeProgrammable(const char* name) {
    return (FieldOf(LastRow(name), &ChipTableEntry::flags, 0) & kChipCodeProgrammable) != 0;
}

bool ChipTable::IsDataProgrammable(const char* name) {
    return (FieldOf(LastRow(name), &ChipTableEntry::flags, 0) & kChipDataProgrammable) != 0;
}

bool ChipTable::IsSpecialProgrammable(const char* name) {
    return (FieldOf(LastRow(name), &ChipTableEntry::flags, 0) & kChipSpecialProgrammable) != 0;
}

bool ChipTable::IsProgrammable(const char* name) {
    return FieldOf(LastRow(name), &ChipTableEntry::flags, 0) != 0;
}

int ChipTable::GetBoardTagCount() { return kBoardTagCount; }

const BoardTagEntry* ChipTable::GetBoardTag(int index) {
    return index >= 0 && index < kBoardTagCount ? &kBoardTags[index] : nullptr;
}
