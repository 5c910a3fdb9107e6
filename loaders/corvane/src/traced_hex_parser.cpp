// Corvane's traced HEX reader: each field read as two hex digits at its Intel HEX position.
#include "traced_hex_parser.h"

#include <cstdio>

#include "loader/relay.h"
#include "simtarget/hex_reader.h"

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
    int lineNumber = 0;
    char line[kLineSize];
    for (;;) {
        if (std::fgets(line, sizeof line, file) == nullptr) {
            loaderMessageNoCancel("\nexiting");
            break;
        }
        if (IsBlank(line)) {
            continue;
        }
        if (line[0] != ':') {
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
