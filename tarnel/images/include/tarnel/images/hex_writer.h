// Writes the memory image of one chip as a .hex file of Intel HEX or Motorola S1 records.
#pragma once

#include <string>

#include "tarnel/images/image_file_result.h"
#include "tarnel/images/memory_image.h"

// The document's format numbers.
enum HexFormat : int {
    kHexFormatIntel = 1,
    kHexFormatMotorola = 2,
};

// Writes the areas in the order code, data, special, each only when the image has it; only cells
// with a mark other than 0 are written. The chip's device code decides the cell shapes and the
// chip table gives the area bases; PIC18 areas stand at 0 behind an extended linear address
// record each. Lines end with CR LF, except the end record, which ends the text.
// A format other than Intel and Motorola, or a record that would reach past address FFFFh, fails
// with the error box's text, and `out` is left untouched.
ImageFileResult WriteHexImage(const MemoryImage& image, const char* chipName, int format,
                              std::string& out);
