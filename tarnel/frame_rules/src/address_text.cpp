// Reading and showing the go-to dialog's address texts.
#include "tarnel/frame_rules/address_text.h"

#include <cstdio>
#include <limits>

namespace {

int DigitOf(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'z') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'Z') {
        value = c - 'A' + 10;
    }
    return value >= 0 && value < base ? value : -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

int32_t ReadAddressText(const std::string& text, int base) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The magnitude is gathered one past the positive limit, enough to tell the smallest value.
    const int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitOf(text[i], base);
        if (digit < 0) {
            break;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            magnitude = limit;
        }
    }
    if (negative) {
        return static_cast<int32_t>(-magnitude);
    }
    if (magnitude >= limit) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(magnitude);
}

std::string HexAddressText(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof(text), "%X", static_cast<unsigned>(address));
    return text;
}

std::string DecimalAddressText(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(static_cast<int32_t>(address)));
    return text;
}
