// The choice dialogs' rules: chip lengths in words or bytes, board filter, memory kind and base.
#include "tarnel/frame_rules/choice_rules.h"

#include <cstdio>

namespace {

// Device codes below this one program word cells (the PIC families).
constexpr uint8_t kFirstByteCellDevice = 160;

}  // namespace

bool CountsCodeInWords(const char* currentChip) {
    return ChipTable::GetDeviceCode(currentChip) < kFirstByteCellDevice;
}

AreaSizes ShownChipLengths(const char* chipName, const char* currentChip) {
    AreaSizes shown;
    shown.data = ChipTable::GetDataSize(chipName);
    shown.code = ChipTable::GetCodeSize(chipName);
    if (CountsCodeInWords(currentChip)) {
        shown.code /= 2;
    }
    shown.special = ChipTable::GetSpecialSize(chipName) / 2;
    return shown;
}

AreaSizes ChosenChipLengths(const AreaSizes& typed, const char* currentChip) {
    AreaSizes bytes;
    bytes.data = typed.data;
    bytes.code = CountsCodeInWords(currentChip) ? typed.code * 2 : typed.code;
    bytes.special = typed.special * 2;
    return bytes;
}

std::vector<std::string> ChipNamesOfBoard(int boardId) {
    std::vector<std::string> names;
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        const ChipTableEntry* row = ChipTable::GetEntry(i);
        if (boardId == kAllBoards || row->boardId == static_cast<uint32_t>(boardId)) {
            names.emplace_back(row->chipName);
        }
    }
    return names;
}

int FirstMemoryKind(const AreaChoice& present) {
    if (present.code) {
        return kMemoryCode;
    }
    if (present.data) {
        return kMemoryData;
    }
    if (present.special) {
        return kMemorySpecial;
    }
    return 0;
}

std::string MemoryBaseRefusal(int kind, const char* currentChip, uint32_t base) {
    uint32_t size = 0;
    switch (kind) {
        case kMemoryData:
            size = ChipTable::GetDataSize(currentChip);
            break;
        case kMemoryCode:
            size = ChipTable::GetCodeSize(currentChip);
            break;
        case kMemorySpecial:
            size = ChipTable::GetSpecialSize(currentChip);
            break;
        default:
            return "CMemoryOptionsDlg::OnOK (Unknown Memory Type)";
    }
    if (base < size) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "Last location = %04d BaseAddres = %04d",
                  static_cast<int>(size - 1), static_cast<int>(base));
    return text;
}
