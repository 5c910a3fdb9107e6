// The texts of the go-to dialog's two linked fields: what the user types read as a number, and an
// address shown in hexadecimal and in decimal.
#pragma once

#include <cstdint>
#include <string>

// Reads a text as a signed 32-bit number in base 10 or 16: leading white space and one sign are
// accepted, reading stops at the first character that is not a digit of the base, a text
// without digits reads as 0, and a value beyond the 32-bit range becomes the largest or the
// smallest value.
int32_t ReadAddressText(const std::string& text, int base);

// Upper-case hexadecimal without leading zeros ("1F").
std::string HexAddressText(uint32_t address);
// Decimal, as the signed number that the decimal field reads back to the same address.
std::string DecimalAddressText(uint32_t address);
