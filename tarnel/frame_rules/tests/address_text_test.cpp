// Tests of the go-to dialog's number texts.
#include "tarnel/frame_rules/address_text.h"

#include <gtest/gtest.h>

namespace {

TEST(AddressText, ReadsDigitsOfTheBaseUpToTheFirstOtherCharacter) {
    EXPECT_EQ(ReadAddressText("1F", 16), 31);
    EXPECT_EQ(ReadAddressText("1f", 16), 31);
    EXPECT_EQ(ReadAddressText("1G", 16), 1);
    EXPECT_EQ(ReadAddressText("12a", 10), 12);
    EXPECT_EQ(ReadAddressText("0x10", 16), 0);  // no prefix: reading stops at the x
    EXPECT_EQ(ReadAddressText("G", 16), 0);
    EXPECT_EQ(ReadAddressText("", 10), 0);
}

TEST(AddressText, AcceptsLeadingBlanksAndOneSign) {
    EXPECT_EQ(ReadAddressText("  \t42", 10), 42);
    EXPECT_EQ(ReadAddressText("-10", 10), -10);
    EXPECT_EQ(ReadAddressText("+A", 16), 10);
    EXPECT_EQ(ReadAddressText("--1", 10), 0);
    EXPECT_EQ(ReadAddressText("4 2", 10), 4);
}

TEST(AddressText, ValuesBeyondThirtyTwoBitsStopAtTheLimits) {
    EXPECT_EQ(ReadAddressText("2147483647", 10), 2147483647);
    EXPECT_EQ(ReadAddressText("2147483648", 10), 2147483647);
    EXPECT_EQ(ReadAddressText("FFFFFFFF", 16), 2147483647);
    EXPECT_EQ(ReadAddressText("99999999999999999999", 10), 2147483647);
    EXPECT_EQ(ReadAddressText("-2147483648", 10), INT32_MIN);
    EXPECT_EQ(ReadAddressText("-99999999999999999999", 10), INT32_MIN);
}

TEST(AddressText, ShowsUpperCaseHexAndTheDecimalThatReadsBack) {
    EXPECT_EQ(HexAddressText(31), "1F");
    EXPECT_EQ(HexAddressText(0), "0");
    EXPECT_EQ(HexAddressText(0xFFFFFFFFu), "FFFFFFFF");
    EXPECT_EQ(DecimalAddressText(31), "31");
    EXPECT_EQ(DecimalAddressText(0xFFFFFFF6u), "-10");
    EXPECT_EQ(static_cast<uint32_t>(ReadAddressText(DecimalAddressText(0xFFFFFFF6u), 10)),
              0xFFFFFFF6u);
}

}  // namespace
