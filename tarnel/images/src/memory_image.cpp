// Allocation and the erased start of memory images.
#include "tarnel/images/memory_image.h"

#include <algorithm>
#include <new>

bool ImageArea::Allocate(size_t size) {
    Clear();
    try {
        cells.assign(size, 0);
        marks.assign(size, kMarkEmpty);
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    return true;
}

void ImageArea::Clear() {
    std::vector<uint8_t>().swap(cells);
    std::vector<uint8_t>().swap(marks);
}

ImageArea* MemoryImage::Area(MemoryKind kind) {
    switch (kind) {
        case kMemoryData:
            return &data;
        case kMemoryCode:
            return &code;
        case kMemorySpecial:
            return &special;
        default:
            return nullptr;
    }
}

const ImageArea* MemoryImage::Area(MemoryKind kind) const {
    return const_cast<MemoryImage*>(this)->Area(kind);
}

void MemoryImage::Clear() {
    code.Clear();
    data.Clear();
    special.Clear();
}

namespace {

// A PIC16 program or configuration word erases to 0x3FFF (14 bits), held high byte first.
void FillPic16Words(ImageArea& area) {
    for (size_t i = 0; i < area.Size(); ++i) {
        area.cells[i] = (i % 2 == 0) ? 0x3F : 0xFF;
    }
}

void Erase(ImageArea& area, uint8_t value) {
    std::fill(area.cells.begin(), area.cells.end(), value);
}

}  // namespace

bool CreateBlankImage(MemoryImage& image, const AreaSizes& sizes, uint8_t deviceCode) {
    image.Clear();
    if (!image.code.Allocate(sizes.code) || !image.data.Allocate(sizes.data) ||
        !image.special.Allocate(sizes.special)) {
        image.Clear();
        return false;
    }
    if (!StartsErased(deviceCode)) {
        return true;
    }
    Erase(image.data, 0xFF);
    if (deviceCode == kDevicePic16) {
        FillPic16Words(image.code);
        FillPic16Words(image.special);
    } else {
        Erase(image.code, 0xFF);
        Erase(image.special, 0xFF);
    }
    for (ImageArea* area : {&image.code, &image.data, &image.special}) {
        std::fill(area->marks.begin(), area->marks.end(), kMarkData);
    }
    return true;
}

void SwapCellPairs(ImageArea& area) {
    for (size_t i = 0; i + 1 < area.Size(); i += 2) {
        std::swap(area.cells[i], area.cells[i + 1]);
    }
}
