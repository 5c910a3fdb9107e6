// Rules of the documents' choice dialogs that need no window: the chip dialog's lengths in words
// or bytes and its board filter, and the memory dialog's first kind and its check of a base.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tarnel/images/image_areas.h"

// The chip dialog counts a chip's code in words while the current chip is a word-cell chip
// (device code below 160), and the special area always in words; the data area in bytes. What
// it shows of a chip and what it hands back of the typed lengths undo each other, so a chip
// taken as shown comes back with the table's sizes.
bool CountsCodeInWords(const char* currentChip);
AreaSizes ShownChipLengths(const char* chipName, const char* currentChip);
AreaSizes ChosenChipLengths(const AreaSizes& typed, const char* currentChip);

// What the chip dialog accepts as typed lengths (the data length is not bounded there).
constexpr uint32_t kMaxTypedCodeLength = 65536;
constexpr uint32_t kMaxTypedSpecialLength = 65535;

// The chip names of one board in table order; every name for kAllBoards.
constexpr int kAllBoards = -1;
std::vector<std::string> ChipNamesOfBoard(int boardId);

// The memory kind checked when the memory dialog opens: code, else data, else special; 0 when
// no area is present.
int FirstMemoryKind(const AreaChoice& present);
// Why a base address cannot start a job in an area (MemoryKind) of the current chip: it lies at
// or past the area's end, or the kind is none of the three. Empty when the base is accepted.
std::string MemoryBaseRefusal(int kind, const char* currentChip, uint32_t base);
