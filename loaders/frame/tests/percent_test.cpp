// The percent clamp and the byte-stream rule.
#include <gtest/gtest.h>

#include <vector>

#include "loader/percent.h"

namespace {

using loader::BytePercent;
using loader::ClampPercent;
using loader::IsPercentByte;
using loader::PercentStep;

TEST(Percent, TheHostNeverSeesZeroOrAHundred) {
    EXPECT_EQ(ClampPercent(-3), 1);
    EXPECT_EQ(ClampPercent(0), 1);
    EXPECT_EQ(ClampPercent(1), 1);
    EXPECT_EQ(ClampPercent(57), 57);
    EXPECT_EQ(ClampPercent(99), 99);
    EXPECT_EQ(ClampPercent(100), 99);
    EXPECT_EQ(ClampPercent(1600), 99);
}

TEST(Percent, AFileOf250BytesReportsAfterEverySecondByte) {
    std::vector<unsigned long> bytes;
    std::vector<int> percents;
    for (unsigned long i = 0; i < 250; ++i) {
        if (IsPercentByte(i, 250)) {
            bytes.push_back(i);
            percents.push_back(BytePercent(i, 250));
        }
    }
    ASSERT_EQ(bytes.size(), 125u);
    EXPECT_EQ(bytes.front(), 0u);
    EXPECT_EQ(bytes[1], 2u);
    EXPECT_EQ(bytes.back(), 248u);
    EXPECT_EQ(percents[0], 1);
    EXPECT_EQ(percents[1], 1);
    EXPECT_EQ(percents[2], 1);
    EXPECT_EQ(percents[3], 2);
    EXPECT_EQ(percents.back(), 99);
}

TEST(Percent, SmallFilesReportAfterEveryByte) {
    EXPECT_EQ(PercentStep(0), 1u);
    EXPECT_EQ(PercentStep(1), 1u);
    EXPECT_EQ(PercentStep(199), 1u);
    EXPECT_EQ(PercentStep(200), 2u);
    EXPECT_EQ(BytePercent(0, 1), 1);
    EXPECT_EQ(BytePercent(0, 0), 1);
}

TEST(Percent, LargeFilesDoNotOverflowTheProduct) {
    // 45,000,000 * 100 passes 32 bits.
    EXPECT_EQ(BytePercent(45000000ul, 90000000ul), 50);
    EXPECT_EQ(BytePercent(89999999ul, 90000000ul), 99);
}

}  // namespace
