// The save rules of .hex images.
#include "tarnel/images/image_save.h"

#include "tarnel/images/hex_writer.h"

bool NeedsBinSave(const MemoryImage& image) {
    return image.code.Size() > kLongestRecordArea || image.data.Size() > kLongestRecordArea ||
           image.special.Size() > kLongestRecordArea;
}

namespace {

bool HoldsData(const ImageArea& area) {
    for (uint8_t mark : area.marks) {
        if (mark != kMarkEmpty) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool BinSaveDropsAreas(const MemoryImage& image) {
    return HoldsData(image.code) || HoldsData(image.special);
}

std::string BinSavePath(const std::string& path) {
    const size_t nameStart = path.find_last_of("\\/:");
    const size_t nameFrom = nameStart == std::string::npos ? 0 : nameStart + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameFrom) {
        return path;
    }
    return path.substr(0, dot) + ".BIN";
}

std::string ProposedSaveName(const std::string& title, const std::string& extension) {
    const size_t cut = title.find_first_of(" #%;/\\");
    return title.substr(0, cut) + extension;
}

int HexFormatOfChoice(int choice) {
    switch (choice) {
        case 0:
            return kHexFormatIntel;
        case 1:
            return kHexFormatMotorola;
        default:
            return 0;
    }
}
