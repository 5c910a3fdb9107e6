// Corvane's traced HEX reader: each field read as two hex digits at its Intel HEX position.
#include "traced_hex_parser.h"

#include <cstdio>
#include <cstring>

#include "loader/relay.h"
#include "hexdigits/hex_digits.h"

namespace corvane {
namespace {

constexpr int kLineSize = 256;

bool IsBlank(const char* line) {
    for (const char* c = line; *c != '\0'; ++c) {
        if (*c != '\r' && *c != '\n' && *c != ' ' && *c != '\t') {
            return false;
        }
    }
    return true;
}

// A CR with more than blanks after it: the line end of a file whose lines end with CR alone,
// which the line read does not split.
bool HasInnerCr(const char* line) {
    const char* cr = std::strchr(line, '\r');
    return cr != nullptr && !IsBlank(cr);
}

// One data line (count > 0) into the image: 0, or the parse's result.
int ParseDataLine(const char* line, int lineNumber, BYTE count, BYTE high, BYTE low, BYTE* image,
                  ParsedRange* range) {
    const unsigned address = static_cast<unsigned>(high) << 8 | low;
    loaderMessageNoCancel("\nnumbytes=%d", count);
    loaderMessageNoCancel("\nlo=%02X hi=%02X", low, high);
    loaderMessageNoCancel("\naddr=%04X", address);
    if (address > range->highest) {
        range->highest = address;
    }
    BYTE type = 0;
    if (!ReadHexByte(line + 7, &type)) {
        return 1;
    }
    if (type != 0) {
        return 2;
    }
    if (address + count > kImageSize) {
        // The line would run past the image: nothing of it is stored.
        return 2;
    }
    BYTE sum = static_cast<BYTE>(count + high + low);
    for (int i = 0; i < count; ++i) {
        int position = 9 + 2 * i;
        loaderMessageNoCancel("\nndx=%d", position);
        BYTE value = 0;
        if (!ReadHexByte(line + position, &value)) {
            return 1;
        }
        loaderMessageNoCancel("  add %02X  ", value);
        image[address + static_cast<unsigned>(i)] = value;
        sum = static_cast<BYTE>(sum + value);
    }
    BYTE checksum = 0;
    if (!ReadHexByte(line + 9 + 2 * count, &checksum)) {
        return 1;
    }
    loaderMessageNoCancel("\nline=%d calc1=%02X calc2=%02X chk=%02X", lineNumber, sum,
                          static_cast<BYTE>(0x100 - sum), checksum);
    if (static_cast<BYTE>(sum + checksum) != 0) {
        return 5;
    }
    if (address + count > range->highestEnd) {
        range->highestEnd = address + count;
    }
    return 0;
}

}  // namespace

int parseHexFileTraced(const char* path, BYTE* image, ParsedRange* range) {
    *range = ParsedRange();
    if (path == nullptr || path[0] == '\0') {
        return 1;
    }
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        return 2;
    }
    int result = 0;
    int lineNumber = 0;      // records read, as the trace counts them
    int fileLine = 1;        // the file's line the read text belongs to
    bool rest = false;       // the text read is the rest of a line longer than the buffer
    bool endRecord = false;  // the end record was read: what follows cannot drop a record
    char line[kLineSize];
    for (;;) {
        if (std::fgets(line, sizeof line, file) == nullptr) {
            loaderMessageNoCancel("\nexiting");
            break;
        }
        const int thisLine = fileLine;
        const bool continued = rest;
        rest = std::strchr(line, '\n') == nullptr && !std::feof(file);
        if (!rest) {
            ++fileLine;
        }
        if (IsBlank(line)) {
            continue;
        }
        // Up to the end record, text that cannot be read as a record would otherwise end the
        // parse quietly and leave the records after it out of a program that still loads: a
        // comment, a line cut by the buffer, or lines ended by CR alone (one long line here).
        if (!endRecord) {
            if (continued) {
                loaderMessageNoCancel("\nline %d is longer than %d characters", thisLine,
                                      kLineSize - 1);
                result = 1;
                break;
            }
            if (HasInnerCr(line)) {
                loaderMessageNoCancel("\nline %d holds a CR before its end", thisLine);
                result = 1;
                break;
            }
            if (line[0] != ':') {
                loaderMessageNoCancel("\nline %d does not start with ':'", thisLine);
                result = 1;
                break;
            }
        } else if (continued || line[0] != ':') {
            break;
        }
        ++lineNumber;
        BYTE count = 0;
        BYTE high = 0;
        BYTE low = 0;
        if (!ReadHexByte(line + 1, &count) || !ReadHexByte(line + 3, &high) ||
            !ReadHexByte(line + 5, &low)) {
            result = 1;
            break;
        }
        if (count == 0) {
            // The end record: its type and checksum are not looked at.
            loaderMessageNoCancel("\naddr=%04X", static_cast<unsigned>(high) << 8 | low);
            endRecord = true;
            continue;
        }
        result = ParseDataLine(line, lineNumber, count, high, low, image, range);
        if (result != 0) {
            break;
        }
    }
    std::fclose(file);
    loaderMessageNoCancel("\nhighest=%d", range->highest);
    return result;
}

}  // namespace corvane
