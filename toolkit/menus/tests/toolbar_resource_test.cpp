// Toolbar resources as both resource compilers write them, and which commands get which image.
#include "menus/toolbar_resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using xtmenus::AssignImages;
using xtmenus::ParseToolbarResource;

namespace {

std::vector<unsigned char> Words16(std::vector<uint16_t> words) {
    std::vector<unsigned char> bytes(words.size() * 2);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

std::vector<unsigned char> Words32(std::vector<uint32_t> words) {
    std::vector<unsigned char> bytes(words.size() * 4);
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

}  // namespace

TEST(ToolbarResource, ReadsTheSixteenBitLayoutWithItsSeparators) {
    auto bytes = Words16({1, 16, 15, 4, 100, 0, 101, 102});
    auto resource = ParseToolbarResource(bytes.data(), bytes.size());
    ASSERT_TRUE(resource.has_value());
    EXPECT_EQ(resource->imageWidth, 16);
    EXPECT_EQ(resource->imageHeight, 15);
    EXPECT_EQ(resource->commands, (std::vector<uint16_t>{100, 0, 101, 102}));
}

TEST(ToolbarResource, ReadsTheThirtyTwoBitLayout) {
    auto bytes = Words32({20, 18, 3, 7, 0, 9});
    auto resource = ParseToolbarResource(bytes.data(), bytes.size());
    ASSERT_TRUE(resource.has_value());
    EXPECT_EQ(resource->imageWidth, 20);
    EXPECT_EQ(resource->imageHeight, 18);
    EXPECT_EQ(resource->commands, (std::vector<uint16_t>{7, 0, 9}));
}

TEST(ToolbarResource, RefusesCountsThatRunPastTheData) {
    auto shortOne = Words16({1, 16, 15, 5, 100, 101});
    EXPECT_FALSE(ParseToolbarResource(shortOne.data(), shortOne.size()).has_value());
    auto wide = Words32({16, 15, 0x7FFFFFFF});
    EXPECT_FALSE(ParseToolbarResource(wide.data(), wide.size()).has_value());
    auto tiny = Words16({1, 16});
    EXPECT_FALSE(ParseToolbarResource(tiny.data(), tiny.size()).has_value());
    EXPECT_FALSE(ParseToolbarResource(nullptr, 0).has_value());
}

TEST(ToolbarImages, SeparatorsTakeNoImageAndEveryCommandAdvances) {
    std::map<uint16_t, int> map;
    auto isMapped = [&](uint16_t c) { return map.count(c) != 0 && map[c] >= 0; };
    for (auto [command, index] : AssignImages({10, 0, 11, 12}, 0, isMapped)) {
        map[command] = index;
    }
    EXPECT_EQ(map, (std::map<uint16_t, int>{{10, 0}, {11, 1}, {12, 2}}));
}

TEST(ToolbarImages, ACommandOnTwoToolbarsKeepsTheImageOfTheFirst) {
    std::map<uint16_t, int> map{{10, 0}, {11, 1}, {12, -1}};
    auto isMapped = [&](uint16_t c) { return map.count(c) != 0 && map[c] >= 0; };
    // The second strip starts at image 2: 11 keeps 1, 12 (mapped to none) and 13 get theirs.
    auto assigned = AssignImages({11, 12, 13}, 2, isMapped);
    EXPECT_EQ(assigned, (std::vector<std::pair<uint16_t, int>>{{12, 3}, {13, 4}}));
}

TEST(ToolbarImages, ACommandTwiceOnOneStripKeepsItsFirstImage) {
    auto assigned = AssignImages({5, 5, 6}, 0, [](uint16_t) { return false; });
    EXPECT_EQ(assigned, (std::vector<std::pair<uint16_t, int>>{{5, 0}, {6, 2}}));
}
