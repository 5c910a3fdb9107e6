// Check values of the four checksums over the usual test input and a few edge cases.
#include <gtest/gtest.h>

#include "comms/comms.h"

namespace {

const BYTE kDigits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};

TEST(Checksums, BccIsTheAdditiveSumModulo256) {
    CComms c;
    const BYTE packet[] = {0x02, 0x00, 0x07};
    const BYTE wraps[] = {0xFF, 0x01};
    EXPECT_EQ(c.Bcc(packet, 3), 0x09);
    EXPECT_EQ(c.Bcc(wraps, 2), 0x00);
    EXPECT_EQ(c.Bcc(kDigits, 0), 0x00);
    EXPECT_EQ(c.Bcc(kDigits, 9), static_cast<BYTE>(0x1DD));
}

TEST(Checksums, CrcCcittFromZeroAndFromAllOnes) {
    CComms c;
    WORD fromZero = 0;
    WORD fromOnes = 0xFFFF;
    for (BYTE b : kDigits) {
        fromZero = c.CrcCCIT(fromZero, b);
        fromOnes = c.CrcCCIT(fromOnes, b);
    }
    EXPECT_EQ(fromZero, 0x31C3);
    EXPECT_EQ(fromOnes, 0x29B1);
    // Only the low byte of the byte argument counts.
    EXPECT_EQ(c.CrcCCIT(0, 0x1241), c.CrcCCIT(0, 0x41));
}

TEST(Checksums, Crc16AndCrc32CheckValues) {
    CComms c;
    EXPECT_EQ(c.Crc16(kDigits, 9), 0xBB3D);
    EXPECT_EQ(c.Crc32(kDigits, 9), 0x89A1897Fu);
    EXPECT_EQ(c.Crc16(kDigits, 0), 0);
    EXPECT_EQ(c.Crc32(kDigits, 0), 0u);
}

TEST(Checksums, NullBufferCountsAsEmptyWhateverItsLength) {
    CComms c;
    EXPECT_EQ(c.Bcc(nullptr, 5), 0);
    EXPECT_EQ(c.Crc16(nullptr, 5), 0);
    EXPECT_EQ(c.Crc32(nullptr, 5), 0u);
}

}  // namespace
