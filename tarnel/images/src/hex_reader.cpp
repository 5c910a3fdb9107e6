// The .hex reader: splits the file into lines, checks each record and stores its bytes in the area
// that its address (or the last extended address record) selects.
#include "tarnel/images/hex_reader.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "hexdigits/hex_digits.h"

namespace {

// Longer lines are cut, and their rest is read as the next line.
constexpr size_t kMaxLineChars = 1023;

class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}

    // The next line without its line end; false at the end of the text. A line ends at an LF or a
    // CR; an LF directly behind a CR belongs to the same line end, so CR LF, LF and a lone CR all
    // end one line.
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) {
            return false;
        }
        const size_t start = pos_;
        size_t end = start;
        while (end < text_.size() && end - start < kMaxLineChars && text_[end] != '\n' &&
               text_[end] != '\r') {
            ++end;
        }
        line = text_.substr(start, end - start);
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r') {
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n') {
                ++pos_;
            }
        } else if (pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
        }
        return true;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

int HexDigit(char c) {
    uint8_t digit = 0;
    return ReadHexDigit(c, &digit) ? digit : -1;
}

// A field of up to `width` characters from `pos`, read as hexadecimal up to its first character
// that is not a digit (or the end of the line); a field without digits reads as 0.
uint32_t ReadField(std::string_view line, size_t pos, size_t width) {
    uint32_t value = 0;
    for (size_t i = pos; i < pos + width && i < line.size(); ++i) {
        const int digit = HexDigit(line[i]);
        if (digit < 0) {
            break;
        }
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
Format(const char* format, ...) {
    char buffer[1200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

enum class Layout { kIntel, kMotorola };

struct Record {
    Layout layout;
    uint32_t count;    // the count field as read
    uint32_t address;  // 16 bits
    uint32_t type;
    size_t dataPos;      // first character of the data
    uint32_t dataCount;  // data bytes
};

// Which area the last extended address record chose. kForeign: its address names no area of
// this chip, so no data record that follows may be stored anywhere.
enum class AreaMode { kNone, kCode, kData, kSpecial, kForeign };

// How a record's bytes become cells, and which checksum message names the area.
enum class Shape { kBytes, kPicCode, kPicData, kSpecial };

struct Bases {
    uint32_t code;
    uint32_t data;
    uint32_t special;
};

class HexImageReader {
public:
    HexImageReader(MemoryImage& image, uint8_t deviceCode, const Bases& bases)
        : image_(image), byteCells_(UsesByteCells(deviceCode)), tableBases_(bases), bases_(bases) {}

    ImageFileResult Read(std::string_view text) {
        LineSplitter lines(text);
        std::string_view line;
        int number = 0;
        while (lines.Next(line)) {
            ++number;
            bool finished = false;
            ImageFileResult result = ReadLine(line, number, finished);
            if (!result.ok() || finished) {
                return result;
            }
        }
        return ImageFileResult();
    }

private:
    ImageFileResult ReadLine(std::string_view line, int number, bool& finished) {
        Record record;
        if (!line.empty() && line[0] == ':') {
            record.layout = Layout::kIntel;
            record.count = ReadField(line, 1, 2);
            record.address = ReadField(line, 3, 4);
            record.type = ReadField(line, 7, 2);
            record.dataPos = 9;
        } else if (!line.empty() && line[0] == 'S') {
            record.layout = Layout::kMotorola;
            record.type = ReadField(line, 1, 1);
            record.count = ReadField(line, 2, 2);
            record.address = ReadField(line, 4, 4);
            record.dataPos = 8;
        } else {
            return InvalidLine(number, line);
        }
        // Fields are read up to their first non-digit, so a stray character would otherwise
        // shorten a field to a value the checksum may still balance, or end the file early.
        if (!AllHexDigits(line.substr(1))) {
            return InvalidLine(number, line);
        }

        const bool intel = record.layout == Layout::kIntel;
        if (record.count == 0 || (intel && record.type == 1) || (!intel && record.type == 9)) {
            finished = true;
            return ImageFileResult();
        }
        const size_t expected = intel ? 11 + 2 * record.count : 4 + 2 * record.count;
        if (line.size() != expected) {
            return InvalidLine(number, line);
        }
        // An S-record's count covers its two address bytes and its checksum byte.
        if (!intel && record.count < 3) {
            return InvalidLine(number, line);
        }
        record.dataCount = intel ? record.count : record.count - 3;
        if (!intel && (record.type == 0 || record.type == 5)) {
            // A header or a record count: nothing to store, but a damaged one still means a
            // damaged file.
            if (!StandardSRecordChecksumOk(line, record)) {
                return PlainChecksumFailure(number, line);
            }
            return ImageFileResult();
        }
        const bool checksumOk = ChecksumOk(line, record);

        if (record.type == 4) {
            if (!checksumOk) {
                return PlainChecksumFailure(number, line);
            }
            ChooseAreaMode(ReadField(line, 9, 4));
            return ImageFileResult();
        }
        if (intel && (record.type == 2 || record.type == 3 || record.type == 5)) {
            // Segment and start addresses carry no memory contents. Data behind a segment other
            // than 0 would belong above the 16-bit range that this reader stores.
            if (!checksumOk) {
                return PlainChecksumFailure(number, line);
            }
            if (record.type == 2 && HasNonZeroData(line, record)) {
                return InvalidAddress(number);
            }
            return ImageFileResult();
        }
        return StoreData(line, number, record, checksumOk);
    }

    // The value is the record's first data word with its two bytes exchanged (0x00F0 counts as
    // 0xF000), so that the upper halves of the linear addresses of the PIC18 areas meet the
    // chip's area bases. Only an exact match selects an area: anything else would pour the
    // records behind it over the code cells. Linear 0 chooses nothing: many tools open every file
    // with it, and the records behind it are placed by their own addresses, as in a file without
    // extended addresses.
    void ChooseAreaMode(uint32_t value) {
        value = ((value & 0xFF) << 8) | ((value >> 8) & 0xFF);
        if (value == 0) {
            mode_ = AreaMode::kNone;
            bases_ = tableBases_;
            return;
        }
        bases_ = Bases{0, 0, 0};
        if (value == tableBases_.data) {
            mode_ = AreaMode::kData;
        } else if (value == tableBases_.special) {
            mode_ = AreaMode::kSpecial;
        } else if (value == tableBases_.code) {
            mode_ = AreaMode::kCode;
        } else {
            mode_ = AreaMode::kForeign;
        }
    }

    // True when the record belongs to the area of `mode` (chosen by an extended address record,
    // or with none chosen at or above its base) and starts below base + limit.
    bool InWindow(AreaMode mode, uint32_t base, uint64_t limit, uint32_t address) const {
        const bool selected = mode_ == mode || (mode_ == AreaMode::kNone && address >= base);
        return selected && address < base + limit;
    }

    ImageFileResult StoreData(std::string_view line, int number, const Record& record,
                              bool checksumOk) {
        const uint32_t address = record.address;
        ImageArea* area = nullptr;
        Shape shape = Shape::kBytes;
        size_t first = 0;
        size_t cellCount = record.dataCount;
        if (byteCells_ && InWindow(AreaMode::kData, bases_.data, image_.data.Size(), address)) {
            area = &image_.data;
            first = address - bases_.data;
        } else if (InWindow(AreaMode::kCode, bases_.code, image_.code.Size(), address)) {
            area = &image_.code;
            first = address - bases_.code;
            shape = byteCells_ ? Shape::kBytes : Shape::kPicCode;
        } else if (!byteCells_ && InWindow(AreaMode::kData, bases_.data,
                                           2 * uint64_t{image_.data.Size()}, address)) {
            area = &image_.data;
            shape = Shape::kPicData;
            first = (address - bases_.data) / 2;
            cellCount = record.dataCount / 2;
        } else if (InWindow(AreaMode::kSpecial, bases_.special, image_.special.Size(), address)) {
            area = &image_.special;
            shape = Shape::kSpecial;
            first = address - bases_.special;
        }
        if (area == nullptr || first + cellCount > area->Size()) {
            return InvalidAddress(number);
        }
        if (!checksumOk) {
            return ChecksumFailure(shape, number, line);
        }

        std::vector<uint8_t>& cells = area->cells;
        if (shape == Shape::kPicData) {
            // Each data byte comes as a word whose second byte is not used.
            for (size_t i = 0; i < cellCount; ++i) {
                cells[first + i] = DataByte(line, record, 2 * i);
            }
            SetMarks(*area, first, first + cellCount);
            return ImageFileResult();
        }
        for (size_t i = 0; i < cellCount; ++i) {
            cells[first + i] = DataByte(line, record, i);
        }
        if (shape == Shape::kPicCode) {
            // Words come low byte first; the image holds them high byte first. An odd byte count
            // pairs the last byte with the cell behind it, where that cell is in the area.
            for (size_t i = 0; i < cellCount; i += 2) {
                if (first + i + 1 < cells.size()) {
                    std::swap(cells[first + i], cells[first + i + 1]);
                }
            }
            SetMarks(*area, first, first + cellCount + cellCount % 2);
        } else if (shape == Shape::kSpecial && cellCount % 2 != 0) {
            // An odd run of special bytes is marked from one cell ahead; at cell 0 it starts at 0.
            const size_t begin = first == 0 ? 0 : first - 1;
            SetMarks(*area, begin, begin + cellCount);
        } else {
            SetMarks(*area, first, first + cellCount);
        }
        return ImageFileResult();
    }

    static void SetMarks(ImageArea& area, size_t begin, size_t end) {
        for (size_t i = begin; i < end && i < area.Size(); ++i) {
            area.marks[i] = kMarkData;
        }
    }

    static uint8_t DataByte(std::string_view line, const Record& record, size_t index) {
        return static_cast<uint8_t>(ReadField(line, record.dataPos + 2 * index, 2));
    }

    static bool HasNonZeroData(std::string_view line, const Record& record) {
        for (size_t i = 0; i < record.dataCount; ++i) {
            if (DataByte(line, record, i) != 0) {
                return true;
            }
        }
        return false;
    }

    // The sum of the count as read, both address bytes, the type value, the data bytes and the
    // checksum byte must be 0 modulo 256: the two's-complement check of Intel records, and for S1
    // records, where the type value 1 makes up the difference, the ones'-complement check.
    static bool ChecksumOk(std::string_view line, const Record& record) {
        uint32_t sum = record.count + (record.address >> 8) + (record.address & 0xFF) + record.type;
        for (size_t i = 0; i < record.dataCount; ++i) {
            sum += DataByte(line, record, i);
        }
        sum += DataByte(line, record, record.dataCount);
        return (sum & 0xFF) == 0;
    }

    // The usual S-record rule, which leaves the type out: the count, the address bytes, the data
    // bytes and the checksum byte add up to 0xFF modulo 256.
    static bool StandardSRecordChecksumOk(std::string_view line, const Record& record) {
        uint32_t sum = record.count + (record.address >> 8) + (record.address & 0xFF);
        for (size_t i = 0; i <= record.dataCount; ++i) {
            sum += DataByte(line, record, i);
        }
        return (sum & 0xFF) == 0xFF;
    }

    static bool AllHexDigits(std::string_view text) {
        for (char c : text) {
            if (HexDigit(c) < 0) {
                return false;
            }
        }
        return true;
    }

    static ImageFileResult InvalidLine(int number, std::string_view line) {
        return ImageFileFailure(
            ImageFileStatus::kInvalidLine,
            Format("Invalid HEX file : line %d %s", number, std::string(line).c_str()), number);
    }

    static ImageFileResult InvalidAddress(int number) {
        return ImageFileFailure(ImageFileStatus::kInvalidAddress, kInvalidAddressMessage, number);
    }

    static ImageFileResult PlainChecksumFailure(int number, std::string_view line) {
        return ImageFileFailure(
            ImageFileStatus::kBadChecksum,
            Format("Invalid CHECKSUM in HEX file: line %d %s", number, std::string(line).c_str()),
            number);
    }

    static ImageFileResult ChecksumFailure(Shape shape, int number, std::string_view line) {
        const std::string text(line);
        switch (shape) {
            case Shape::kPicCode:
                return ImageFileFailure(
                    ImageFileStatus::kBadChecksum,
                    Format("Invalid CHECKSUM in HEX file (CODE SECTION): line %d %s", number,
                           text.c_str()),
                    number);
            case Shape::kPicData:
                return ImageFileFailure(
                    ImageFileStatus::kBadChecksum,
                    Format("Invalid CHECKSUM in HEX file (DATA SECTION): line %d %s", number,
                           text.c_str()),
                    number);
            case Shape::kSpecial:
                return ImageFileFailure(
                    ImageFileStatus::kBadChecksum,
                    Format("Invalid CHECKSUM in HEX file (SPEC SECTION): line %d ", number),
                    number);
            case Shape::kBytes:
                break;
        }
        return PlainChecksumFailure(number, line);
    }

    MemoryImage& image_;
    const bool byteCells_;
    const Bases tableBases_;
    Bases bases_;  // 0 while an extended address record has chosen an area
    AreaMode mode_ = AreaMode::kNone;
};

}  // namespace

ImageFileResult ReadHexImage(std::string_view text, ChipSelector& selector, MemoryImage& image) {
    image.Clear();
    ChipChoice choice;
    if (!selector.SelectChip(choice)) {
        ImageFileResult cancelled;
        cancelled.status = ImageFileStatus::kCancelled;
        return cancelled;
    }
    const char* chip = choice.chipName.c_str();
    const uint8_t deviceCode = ChipTable::GetDeviceCode(chip);
    MemoryImage work;
    if (!CreateBlankImage(work, choice.sizes, deviceCode)) {
        return OutOfMemoryFailure();
    }
    // Special words are filled in file order (low byte first) and turned round once at the end,
    // so the erased words of the blank image are laid down the other way round here.
    SwapCellPairs(work.special);

    const Bases bases{ChipTable::GetCodeBase(chip), ChipTable::GetDataBase(chip),
                      ChipTable::GetSpecialBase(chip)};
    HexImageReader reader(work, deviceCode, bases);
    ImageFileResult result = reader.Read(text);
    if (result.ok()) {
        SwapCellPairs(work.special);
        image = std::move(work);
    }
    return result;
}
