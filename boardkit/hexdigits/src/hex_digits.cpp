// Hexadecimal digits, bytes and words.
#include "hexdigits/hex_digits.h"

bool ReadHexDigit(char c, uint8_t* value) {
    if (c >= '0' && c <= '9') {
        *value = static_cast<uint8_t>(c - '0');
        return true;
    }
    if (c >= 'A' && c <= 'F') {
        *value = static_cast<uint8_t>(c - 'A' + 10);
        return true;
    }
    if (c >= 'a' && c <= 'f') {
        *value = static_cast<uint8_t>(c - 'a' + 10);
        return true;
    }
    return false;
}

bool ReadHexByte(const char* text, uint8_t* value) {
    uint8_t high = 0;
    uint8_t low = 0;
    if (!ReadHexDigit(text[0], &high) || !ReadHexDigit(text[1], &low)) {
        return false;
    }
    *value = static_cast<uint8_t>(high << 4 | low);
    return true;
}

bool ReadHexWord(const char* text, uint16_t* value) {
    uint8_t high = 0;
    uint8_t low = 0;
    if (!ReadHexByte(text, &high) || !ReadHexByte(text + 2, &low)) {
        return false;
    }
    *value = static_cast<uint16_t>(high << 8 | low);
    return true;
}
