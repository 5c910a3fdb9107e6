// Hex digits in script words.
#pragma once

#include <cstdint>

namespace hostscript {

// One hex digit ('0'-'9', 'A'-'F', 'a'-'f'): true with its value 0 to 15.
bool ReadHexDigit(char c, uint8_t* value);
// Two digits at `text`, high first: true with the byte.
bool ReadHexByte(const char* text, uint8_t* value);

}  // namespace hostscript
