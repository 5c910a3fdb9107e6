// Corvane's own Intel HEX reader: it traces every field it reads to the host as it goes.
#pragma once

#include "w32/types.h"

namespace corvane {

constexpr unsigned kImageSize = 0x10000;

// What the parse gives back besides its result.
struct ParsedRange {
    unsigned highest = 0;     // the highest start address of a data line
    unsigned highestEnd = 0;  // the end (exclusive) of the data that reaches highest
};

// Reads the file at `path` into `image` (64 KB). Results: 0 success; 1 no file name, or a field
// that is not two hex digits; 2 the file cannot be opened, a data line's type is not 0, or a data
// line that runs past the 64 KB image, 5 a line's checksum is wrong. Lines are read up to 255
// characters; blank lines are skipped. Before the end record (count 0) a line that does not start
// with ':', a line longer than 255 characters and a CR inside a line (lines ended by CR alone)
// are result 1, each relayed with the file's line number, so that no record after them goes
// missing from a program that loads; after it, such text ends the parse with the result so far.
int parseHexFileTraced(const char* path, BYTE* image, ParsedRange* range);

}  // namespace corvane
