// The raw .bin file rules.
#include "tarnel/images/bin_image_file.h"

#include <algorithm>

ImageFileResult ReadBinImage(const uint8_t* bytes, size_t size, ImageArea& area) {
    area.Clear();
    if (size == 0) {
        ImageFileResult empty;
        empty.status = ImageFileStatus::kEmptyFile;
        empty.message = "File is empty and will not be opened.";
        empty.icon = MessageIcon::kNone;
        return empty;
    }
    if (!area.Allocate(size)) {
        return OutOfMemoryFailure();
    }
    std::copy(bytes, bytes + size, area.cells.begin());
    std::fill(area.marks.begin(), area.marks.end(), kMarkData);
    return ImageFileResult();
}
