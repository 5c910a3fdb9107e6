// Toolbar resources as the bars load them: both layouts the resource compilers write, and data
// whose item count runs past its end.
#include "classlib/toolbar_resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

template <class T>
std::vector<unsigned char> Bytes(std::vector<T> fields) {
    std::vector<unsigned char> bytes(fields.size() * sizeof(T));
    std::memcpy(bytes.data(), fields.data(), bytes.size());
    return bytes;
}

}  // namespace

TEST(ToolbarResourceReader, ReadsBothLayoutsWithTheirSeparators) {
    auto narrow = Bytes<uint16_t>({1, 16, 15, 3, 100, 0, 101});
    auto read = AfxReadToolbarResource(narrow.data(), narrow.size());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->cxImage, 16);
    EXPECT_EQ(read->cyImage, 15);
    EXPECT_EQ(read->commands, (std::vector<uint32_t>{100, 0, 101}));

    // The 32-bit layout's commands stay whole: a bar's command IDs are not cut to 16 bits.
    auto wide = Bytes<uint32_t>({20, 18, 2, 0x12345, 0});
    read = AfxReadToolbarResource(wide.data(), wide.size());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->cxImage, 20);
    EXPECT_EQ(read->cyImage, 18);
    EXPECT_EQ(read->commands, (std::vector<uint32_t>{0x12345, 0}));
}

TEST(ToolbarResourceReader, RefusesDataOfAnyOtherSize) {
    auto pastTheEnd = Bytes<uint16_t>({1, 16, 15, 5, 100, 101});
    EXPECT_FALSE(AfxReadToolbarResource(pastTheEnd.data(), pastTheEnd.size()).has_value());
    auto trailing = Bytes<uint16_t>({1, 16, 15, 1, 100, 7});
    EXPECT_FALSE(AfxReadToolbarResource(trailing.data(), trailing.size()).has_value());
    auto hugeCount = Bytes<uint32_t>({16, 15, 0x7FFFFFFF});
    EXPECT_FALSE(AfxReadToolbarResource(hugeCount.data(), hugeCount.size()).has_value());
    auto otherVersion = Bytes<uint16_t>({2, 16, 15, 0});
    EXPECT_FALSE(AfxReadToolbarResource(otherVersion.data(), otherVersion.size()).has_value());
    EXPECT_FALSE(AfxReadToolbarResource(nullptr, 0).has_value());
}
