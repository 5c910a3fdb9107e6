// The compiled-in table of every chip and memory the programmer works on, and its lookups by name.
#pragma once

#include <cstdint>

// The programming method of a chip; the programming thread switches on it. Only the low byte of
// a table row's device-code word is used.
enum DeviceCode : uint8_t {
    kDevicePic16 = 9,
    kDevicePic18 = 10,
    kDeviceAt89S8252 = 160,
    kDeviceAt89S53 = 161,
    kDeviceSerialEeprom = 162,
    kDeviceP89C51Rx2Fast = 163,
    kDeviceHc908 = 164,
    kDeviceP89C51RxxWaiting = 165,  // no table row: waits in its loader, chip type 8
    kDeviceP89C51Rxx9600 = 166,     // no table row: waits in its loader, at 9600 baud
    kDeviceT89C51Rx2Board2 = 167,
    kDeviceP89C51Rx2Slow = 168,
    kDeviceKestrixBoard = 169,        // no table row: the board with its own ID and data labels
    kDeviceT89C51Rx2Board9600 = 170,  // no table row: held in the loader by the board, 9600 baud
    kDeviceT89C51Rx2 = 171,
    kDeviceMemoryBoard = 253,
    kDeviceDrive = 254,
    kDeviceUnknown = 255,
};

// The area selector of jobs, documents and dialogs. The views also use 5 for a code cell that
// is marked as one byte cell when a mismatch is shown.
enum MemoryKind : uint8_t {
    kMemoryData = 1,
    kMemoryCode = 2,
    kMemorySpecial = 4,
    kMemoryCodeByteCell = 5,
};

// Flag bits of a row: which areas can be programmed.
enum ChipFlags : uint32_t {
    kChipCodeProgrammable = 1,
    kChipDataProgrammable = 2,
    kChipSpecialProgrammable = 4,
};

// A row's base address of an area the chip does not have.
constexpr uint32_t kNoAreaBase = 0xFFFF;

// One row of the chip table: twelve 32-bit words.
struct ChipTableEntry {
    uint32_t pictureId;
    uint32_t boardId;
    const char* chipName;
    uint32_t codeSize;  // bytes (cells); 0 = no such area
    uint32_t dataSize;
    uint32_t specialSize;
    uint32_t codeBase;  // address of the area in a .hex file; kNoAreaBase = no such area
    uint32_t dataBase;
    uint32_t specialBase;
    uint32_t programmingMode;  // 0x1A..0x1F, or 0xFE for memories without a programming mode
    uint32_t deviceCode;
    uint32_t flags;  // ChipFlags
};

// One row of the board-tag table that the chip-selection dialog lists.
struct BoardTagEntry {
    uint32_t boardId;
    const char* tag;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ChipTableEntry) == 48, "a chip-table row is twelve 32-bit words");
static_assert(sizeof(BoardTagEntry) == 8, "a board-tag row is two 32-bit words");
#endif

// Every lookup compares the name with each row's name byte for byte, case-sensitive; none fails:
// an unknown name (a null pointer included) gets each lookup's own answer.
class ChipTable {
public:
    static int GetCount();
    // Row by position, for walking the table in order; null outside 0..GetCount()-1.
    static const ChipTableEntry* GetEntry(int index);

    static bool Contains(const char* name);
    static uint8_t IndexOf(const char* name);        // last row with that name; 255 when unknown
    static uint8_t GetDeviceCode(const char* name);  // 255 when unknown
    static uint8_t GetProgrammingMode(const char* name);  // 255 when unknown
    static uint32_t GetPictureId(const char* name);       // 0 when unknown

    // Sizes in bytes from the first row with that name; 0 when unknown.
    static uint32_t GetCodeSize(const char* name);
    static uint32_t GetDataSize(const char* name);
    static uint32_t GetSpecialSize(const char* name);

    // Base addresses in a .hex file; 0 when unknown.
    static uint32_t GetCodeBase(const char* name);
    static uint32_t GetDataBase(const char* name);
    static uint32_t GetSpecialBase(const char* name);

    static bool IsCodeProgrammable(const char* name);
    static bool IsDataProgrammable(const char* name);
    static bool IsSpecialProgrammable(const char* name);
    static bool IsProgrammable(const char* name);  // any flag set

    static int GetBoardTagCount();
    static const BoardTagEntry* GetBoardTag(int index);  // null outside 0..GetBoardTagCount()-1
};
