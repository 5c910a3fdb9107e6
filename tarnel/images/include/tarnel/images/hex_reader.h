// Reads a .hex file (Intel HEX or Motorola S1 records) into the memory image of one chip.
#pragma once

#include <string>
#include <string_view>

#include "tarnel/images/image_file_result.h"
#include "tarnel/images/memory_image.h"

// The chip a file is read for, and the sizes of its areas in bytes.
struct ChipChoice {
    std::string chipName;
    AreaSizes sizes;
};

// The chip-selection step that comes before the first line is read: the document shows its
// dialog, makes the chosen chip the current one and reports it with the lengths the user left or
// typed. Answering false (Cancel) fails the read without a message.
class ChipSelector {
public:
    virtual ~ChipSelector() = default;
    virtual bool SelectChip(ChipChoice& choice) = 0;
};

// Reads the text of a .hex file. The chosen chip's device code decides the cell shapes and the
// chip table gives its area bases. On success `image` holds the areas; on any failure it is
// empty and the result carries the exact text of the error box (none for a cancelled choice).
ImageFileResult ReadHexImage(std::string_view text, ChipSelector& selector, MemoryImage& image);
