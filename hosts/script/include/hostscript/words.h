// Words of a host script line and the numbers and byte lists they hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostscript {

struct Word {
    std::string text;
    bool quoted = false;
};

// Splits a line into words at blanks. "..." makes one word that may hold blanks and the escapes
// \" \\ \n \r \t \xNN. A '#' outside quotes starts a comment. False with a reason for an
// unterminated quote or a bad escape.
bool SplitWords(const std::string& line, std::vector<Word>* words, std::string* error);

// A number as C writes it: 0x1F (hex) or 31 (decimal), optionally negative.
bool ParseNumber(const std::string& text, int64_t* value);
// A number that fits 32 bits; -1 stands for 0xFFFFFFFF.
bool ParseWord32(const std::string& text, uint32_t* value);
// Bytes from numbers (0 to 255) and quoted strings, in order.
bool ParseBytes(const std::vector<Word>& words, size_t first, std::vector<uint8_t>* bytes,
                std::string* error);

}  // namespace hostscript
