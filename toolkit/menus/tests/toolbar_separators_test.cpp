// The room a toolbar separator that ends a row takes below it, for each common-controls version
// the control may come from.
#include "menus/toolbar_separators.h"

#include <gtest/gtest.h>

using xtmenus::WrappedSeparatorDepth;

TEST(WrappedSeparator, BeforeFourPointSevenOneItTakesItsHeightLessThree) {
    EXPECT_EQ(WrappedSeparatorDepth(0x40000, 22, 6), 19);
    EXPECT_EQ(WrappedSeparatorDepth(0x40046, 22, 6), 19);
    // An empty item rectangle takes no room, never less.
    EXPECT_EQ(WrappedSeparatorDepth(0x40000, 0, 6), 0);
}

TEST(WrappedSeparator, WithExactlyFourPointSevenOneItTakesItsHeight) {
    EXPECT_EQ(WrappedSeparatorDepth(0x40047, 22, 6), 22);
}

TEST(WrappedSeparator, LaterItTakesItsWidth) {
    EXPECT_EQ(WrappedSeparatorDepth(0x40048, 22, 6), 6);
    EXPECT_EQ(WrappedSeparatorDepth(0x50051, 22, 8), 8);
    EXPECT_EQ(WrappedSeparatorDepth(0x60000, 22, 6), 6);
}
