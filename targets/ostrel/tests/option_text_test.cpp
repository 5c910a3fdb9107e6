// The "ExtMem=" option text.
#include <gtest/gtest.h>

#include "target_options.h"

namespace ostrel {
namespace {

TEST(ExtMemOption, ReadsEachValueIgnoringItsCase) {
    EXPECT_EQ(ParseExtMemOption("ExtMem=None"), ExtMemMode::None);
    EXPECT_EQ(ParseExtMemOption("ExtMem=Overlapped"), ExtMemMode::Overlapped);
    EXPECT_EQ(ParseExtMemOption("ExtMem=overlapped"), ExtMemMode::Overlapped);
    EXPECT_EQ(ParseExtMemOption("ExtMem=Separate"), ExtMemMode::Separate);
    EXPECT_EQ(ParseExtMemOption("ExtMem=sEPARATE"), ExtMemMode::Separate);
}

TEST(ExtMemOption, NeedsTheExactPrefixAtTheStartAndTheWholeValue) {
    EXPECT_EQ(ParseExtMemOption("extmem=Separate"), ExtMemMode::None);
    EXPECT_EQ(ParseExtMemOption(" ExtMem=Separate"), ExtMemMode::None);
    EXPECT_EQ(ParseExtMemOption("ExtMem=Separated"), ExtMemMode::None);
    EXPECT_EQ(ParseExtMemOption("ExtMem=Sep"), ExtMemMode::None);
    EXPECT_EQ(ParseExtMemOption("ExtMem="), ExtMemMode::None);
    EXPECT_EQ(ParseExtMemOption(""), ExtMemMode::None);
    EXPECT_EQ(ParseExtMemOption(nullptr), ExtMemMode::None);
}

}  // namespace
}  // namespace ostrel
