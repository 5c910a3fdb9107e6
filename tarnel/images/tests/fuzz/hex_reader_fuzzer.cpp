// libFuzzer target: the .hex reader on arbitrary text for any chip of the table, then the writer
// and a second read of what it wrote, which must give the same image.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tarnel/images/hex_reader.h"
#include "tarnel/images/hex_writer.h"

namespace {

// Input layout: chip row (mod 21), flags (bit 0: six bytes of typed area lengths follow, as the
// chip-selection dialog allows), then the file's text.
class FuzzChipSelector : public ChipSelector {
public:
    FuzzChipSelector(const char* chip, const AreaSizes& sizes) : chip_(chip), sizes_(sizes) {}
    bool SelectChip(ChipChoice& choice) override {
        choice.chipName = chip_;
        choice.sizes = sizes_;
        return true;
    }

private:
    const char* chip_;
    AreaSizes sizes_;
};

bool SameArea(const ImageArea& a, const ImageArea& b) {
    return a.cells == b.cells && a.marks == b.marks;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const ChipTableEntry& row = *ChipTable::GetEntry(data[0] % ChipTable::GetCount());
    const bool typed = (data[1] & 1) != 0;
    size_t pos = 2;
    AreaSizes sizes{row.codeSize, row.dataSize, row.specialSize};
    if (typed) {
        if (size < 8) {
            return 0;
        }
        sizes.code = data[2] | (data[3] << 8);
        sizes.data = data[4] | (data[5] << 8);
        sizes.special = data[6] | (data[7] << 8);
        pos = 8;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + pos), size - pos);

    FuzzChipSelector selector(row.chipName, sizes);
    MemoryImage image;
    const ImageFileResult result = ReadHexImage(text, selector, image);
    if (!result.ok()) {
        Check(!image.code.Present() && !image.data.Present() && !image.special.Present());
        Check(!result.message.empty());
        return 0;
    }
    Check(image.code.Size() == sizes.code && image.data.Size() == sizes.data &&
          image.special.Size() == sizes.special);

    for (int format : {kHexFormatIntel, kHexFormatMotorola}) {
        std::string written;
        if (!WriteHexImage(image, row.chipName, format, written).ok()) {
            continue;  // data beyond what 16-bit records address
        }
        MemoryImage again;
        const ImageFileResult reread = ReadHexImage(written, selector, again);
        // Typed lengths may let areas overlap in the file, so only the table's layout must
        // come back unchanged.
        if (!typed) {
            Check(reread.ok());
            Check(SameArea(image.code, again.code) && SameArea(image.data, again.data) &&
                  SameArea(image.special, again.special));
        }
    }
    return 0;
}
