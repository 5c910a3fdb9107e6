// Reads and writes a raw .bin file: the bytes of one memory area, nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tarnel/images/image_file_result.h"
#include "tarnel/images/memory_image.h"

// Makes the file's bytes the area's cells, every cell marked 1. An empty file is refused with a
// plain message box, and `area` is then left empty, as it is when memory runs out.
ImageFileResult ReadBinImage(const uint8_t* bytes, size_t size, ImageArea& area);

// The bytes to store: every cell as it stands, whatever its mark.
inline const std::vector<uint8_t>& BinImageBytes(const ImageArea& area) { return area.cells; }
