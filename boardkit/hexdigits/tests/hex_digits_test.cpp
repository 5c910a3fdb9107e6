// The hex-digit readers: digits, bytes and words in either case, and what they refuse.
#include <gtest/gtest.h>

#include "hexdigits/hex_digits.h"

namespace {

TEST(HexDigits, ReadDigitsBytesAndWordsInEitherCase) {
    uint8_t digit = 0;
    EXPECT_TRUE(ReadHexDigit('f', &digit));
    EXPECT_EQ(digit, 15);
    EXPECT_TRUE(ReadHexDigit('A', &digit));
    EXPECT_EQ(digit, 10);
    EXPECT_FALSE(ReadHexDigit('g', &digit));
    EXPECT_FALSE(ReadHexDigit('\0', &digit));
    uint8_t byte = 0;
    EXPECT_TRUE(ReadHexByte("aB", &byte));
    EXPECT_EQ(byte, 0xAB);
    EXPECT_FALSE(ReadHexByte("A", &byte));
    uint16_t word = 0;
    EXPECT_TRUE(ReadHexWord("12cD", &word));
    EXPECT_EQ(word, 0x12CD);
    EXPECT_FALSE(ReadHexWord("12 D", &word));
}

}  // namespace
