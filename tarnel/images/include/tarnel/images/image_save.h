// How a .hex image is saved: as records, or as raw data when an area is too long for 16-bit
// record addresses, under which name, and in which record format.
#pragma once

#include <cstdint>
#include <string>

#include "tarnel/images/memory_image.h"

// Records carry 16-bit addresses: an area longer than this cannot be written as records.
constexpr uint32_t kLongestRecordArea = 0x10000;

// Any area is too long for records: the image is saved as the data area's raw bytes.
bool NeedsBinSave(const MemoryImage& image);
// Saving the image as raw data would leave out a code or special area with data in it (a cell
// whose mark is not 0).
bool BinSaveDropsAreas(const MemoryImage& image);

// The path of the raw save: the file name's extension becomes ".BIN"; a name without one stays
// as it is. Dots in folder names are not extensions.
std::string BinSavePath(const std::string& path);

// The name the save dialog proposes for a document never saved: its title cut at the first
// blank, '#', '%', ';', '/' or '\', then the extension.
std::string ProposedSaveName(const std::string& title, const std::string& extension);

// The document's format number (1 Intel HEX, 2 Motorola) of the format dialog's choice
// (0 Intel, 1 Motorola); 0 for any other choice.
int HexFormatOfChoice(int choice);
