// Hexadecimal digits as program files, boot-loader replies and scripts write them: one digit, a
// byte of two digits, a word of four, upper or lower case alike.
#pragma once

#include <cstdint>

// One hex digit ('0'-'9', 'A'-'F', 'a'-'f'): true with its value 0 to 15.
bool ReadHexDigit(char c, uint8_t* value);
// Two digits at `text`, high first: true with the byte.
bool ReadHexByte(const char* text, uint8_t* value);
// Four digits at `text`, most significant first: true with the word.
bool ReadHexWord(const char* text, uint16_t* value);
