// The .hex writer: one record per run of marked cells, in the cell shape of each area.
#include "tarnel/images/hex_writer.h"

#include <cstdio>
#include <new>
#include <utility>

namespace {

enum class Shape {
    kBytes,         // one cell per byte, up to 16 cells per record
    kWords,         // cells in pairs (high byte first), written low byte first, 8 words a record
    kZeroExtended,  // one cell per word of the file, the cell then 00, 8 cells a record
};

constexpr uint32_t kLastRecordAddress = 0xFFFF;

class RecordWriter {
public:
    RecordWriter(bool intel, std::string& out) : intel_(intel), out_(out) {}

    void Line(const char* text) {
        out_ += text;
        out_ += "\r\n";
    }

    void Data(uint32_t address, const std::vector<uint8_t>& bytes) {
        const uint32_t count = static_cast<uint32_t>(bytes.size());
        uint32_t sum = (address >> 8) + (address & 0xFF);
        if (intel_) {
            sum += count;
            out_ += ':';
            Hex2(count);
            Hex4(address);
            out_ += "00";
        } else {
            sum += count + 3;
            out_ += "S1";
            Hex2(count + 3);
            Hex4(address);
        }
        for (uint8_t byte : bytes) {
            Hex2(byte);
            sum += byte;
        }
        // Intel: two's complement of the sum; S1: ones' complement.
        Hex2(intel_ ? (0x100 - (sum & 0xFF)) & 0xFF : ~sum & 0xFF);
        out_ += "\r\n";
    }

    void End() { out_ += intel_ ? ":00000001FF" : "S9030000FC"; }

private:
    void Hex2(uint32_t value) {
        char text[3];
        std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value & 0xFF));
        out_ += text;
    }

    void Hex4(uint32_t value) {
        char text[5];
        std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value & 0xFFFF));
        out_ += text;
    }

    bool intel_;
    std::string& out_;
};

bool Marked(const ImageArea& area, size_t cell) { return area.marks[cell] != kMarkEmpty; }

// A word is written whole when either of its cells is marked: a file holds words, not halves.
bool WordMarked(const ImageArea& area, size_t cell) {
    return Marked(area, cell) || (cell + 1 < area.Size() && Marked(area, cell + 1));
}

ImageFileResult AddressTooLarge(uint32_t address) {
    char text[96];
    std::snprintf(text, sizeof text,
                  "Cannot write address %05Xh: HEX file records hold 16-bit addresses only.",
                  static_cast<unsigned>(address));
    return ImageFileFailure(ImageFileStatus::kAddressTooLarge, text);
}

// Writes every run of marked cells of one area; a run ends at the record's maximum, before an
// unmarked cell, or at the area's last cell.
ImageFileResult WriteArea(RecordWriter& writer, const ImageArea& area, uint32_t base, Shape shape) {
    const size_t step = shape == Shape::kWords ? 2 : 1;
    const size_t maxCells = shape == Shape::kBytes ? 16 : shape == Shape::kWords ? 16 : 8;
    const size_t size = area.Size();
    std::vector<uint8_t> bytes;
    size_t cell = 0;
    while (cell < size) {
        const bool marked = shape == Shape::kWords ? WordMarked(area, cell) : Marked(area, cell);
        if (!marked) {
            cell += step;
            continue;
        }
        const size_t first = cell;
        bytes.clear();
        while (cell < size && cell - first < maxCells &&
               (shape == Shape::kWords ? WordMarked(area, cell) : Marked(area, cell))) {
            if (shape == Shape::kWords) {
                if (cell + 1 < size) {
                    bytes.push_back(area.cells[cell + 1]);
                }
                bytes.push_back(area.cells[cell]);
            } else if (shape == Shape::kZeroExtended) {
                bytes.push_back(area.cells[cell]);
                bytes.push_back(0);
            } else {
                bytes.push_back(area.cells[cell]);
            }
            cell += step;
        }
        const uint64_t address = base + uint64_t{shape == Shape::kZeroExtended ? 2 * first : first};
        if (address + bytes.size() - 1 > kLastRecordAddress) {
            return AddressTooLarge(static_cast<uint32_t>(address));
        }
        writer.Data(static_cast<uint32_t>(address), bytes);
    }
    return ImageFileResult();
}

}  // namespace

ImageFileResult WriteHexImage(const MemoryImage& image, const char* chipName, int format,
                              std::string& out) {
    if (format != kHexFormatIntel && format != kHexFormatMotorola) {
        return ImageFileFailure(ImageFileStatus::kUnknownFormat, "UNKNOWN HEX FORMAT");
    }
    const uint8_t deviceCode = ChipTable::GetDeviceCode(chipName);
    const bool byteCells = UsesByteCells(deviceCode);
    const bool pic18 = deviceCode == kDevicePic18;

    struct AreaPlan {
        const ImageArea& area;
        uint32_t base;
        Shape shape;
        const char* extendedAddress;  // the PIC18 area's extended linear address record
    };
    const AreaPlan plan[] = {
        {image.code, ChipTable::GetCodeBase(chipName), byteCells ? Shape::kBytes : Shape::kWords,
         ":020000040000FA"},
        {image.data, ChipTable::GetDataBase(chipName),
         byteCells ? Shape::kBytes : Shape::kZeroExtended, ":0200000400F00A"},
        {image.special, ChipTable::GetSpecialBase(chipName), Shape::kWords, ":020000040030CA"},
    };

    try {
        std::string text;
        RecordWriter writer(format == kHexFormatIntel, text);
        for (const AreaPlan& area : plan) {
            if (!area.area.Present()) {
                continue;
            }
            if (pic18) {
                writer.Line(area.extendedAddress);
            }
            ImageFileResult result =
                WriteArea(writer, area.area, pic18 ? 0 : area.base, area.shape);
            if (!result.ok()) {
                return result;
            }
        }
        writer.End();
        out = std::move(text);
    } catch (const std::bad_alloc&) {
        return OutOfMemoryFailure();
    }
    return ImageFileResult();
}
