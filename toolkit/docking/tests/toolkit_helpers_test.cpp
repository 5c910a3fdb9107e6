// The rules behind the helpers the toolkit offers: rescaling by two fonts' character sizes, the
// size of a shell item identifier list, and releasing an interface once.
#include "docking/dialog_scale.h"
#include "docking/item_id_list.h"
#include "docking/release_interface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace xtdock;

TEST(DialogScale, XFollowsTheWidthsAndYTheHeightsRoundedToTheNearestPixel) {
    // From 6 x 13 to 9 x 26: x by 1.5, y by 2.
    EXPECT_EQ(ScaleByCharSize(CRect(10, 20, 110, 45), CSize(6, 13), CSize(9, 26)),
              CRect(15, 40, 165, 90));
    // Halves go away from zero, on either side of it.
    EXPECT_EQ(ScaleByCharSize(CRect(7, 0, -7, 0), CSize(2, 1), CSize(3, 1)), CRect(11, 0, -11, 0));
    EXPECT_EQ(ScaleByCharSize(CSize(100, 40), CSize(7, 16), CSize(5, 12)), CSize(71, 30));
    // A smaller font shrinks; an old size of zero leaves its axis alone.
    EXPECT_EQ(ScaleByCharSize(CSize(100, 40), CSize(0, 16), CSize(5, 8)), CSize(100, 20));
}

TEST(ItemIdList, ItsSizeRunsToTheZeroLengthAndCountsIt) {
    EXPECT_EQ(ItemIdListSize(nullptr), 0u);
    const std::uint8_t empty[] = {0, 0};
    EXPECT_EQ(ItemIdListSize(empty), 2u);
    // A record of 5 bytes and one of 3, then the terminator.
    const std::uint8_t two[] = {5, 0, 'a', 'b', 'c', 3, 0, 'd', 0, 0, 0xEE};
    EXPECT_EQ(ItemIdListSize(two), 10u);
    // Lengths are little-endian 16-bit and records need no alignment.
    std::vector<std::uint8_t> big(1 + 0x0102 + 2, 0x11);
    big[1] = 0x02;
    big[2] = 0x01;
    big[1 + 0x0102] = 0;
    big[1 + 0x0102 + 1] = 0;
    EXPECT_EQ(ItemIdListSize(big.data() + 1), 0x0102u + 2u);
}

namespace {

struct FakeInterface {
    int releases = 0;
    unsigned long Release() { return static_cast<unsigned long>(++releases); }
};

}  // namespace

TEST(ReleaseInterface, ReleasesOnceAndLeavesThePointerNull) {
    FakeInterface object;
    FakeInterface* pointer = &object;
    XTReleaseInterface(pointer);
    EXPECT_EQ(pointer, nullptr);
    EXPECT_EQ(object.releases, 1);
    XTReleaseInterface(pointer);  // already cleared: nothing more
    EXPECT_EQ(object.releases, 1);
}
