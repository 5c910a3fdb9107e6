// The texts a hyperlink shows for the shell's failures.
#include "docking/resource.h"
#include "docking/shell_errors.h"

#include <gtest/gtest.h>

namespace {

TEST(ShellErrors, ResultsAbove32AreSuccesses) {
    EXPECT_EQ(xtdock::ShellErrorStringId(33), 0u);
    EXPECT_EQ(xtdock::ShellErrorStringId(42), 0u);
}

TEST(ShellErrors, KnownResultsHaveTheirOwnTexts) {
    EXPECT_EQ(xtdock::ShellErrorStringId(0), 4536u);
    EXPECT_EQ(xtdock::ShellErrorStringId(2), 4537u);
    EXPECT_EQ(xtdock::ShellErrorStringId(3), 4538u);
    EXPECT_EQ(xtdock::ShellErrorStringId(5), 4539u);
    EXPECT_EQ(xtdock::ShellErrorStringId(8), 4540u);
    EXPECT_EQ(xtdock::ShellErrorStringId(11), 4541u);
    EXPECT_EQ(xtdock::ShellErrorStringId(26), 4542u);
    EXPECT_EQ(xtdock::ShellErrorStringId(30), 4546u);
    EXPECT_EQ(xtdock::ShellErrorStringId(31), 4547u);  // no program for the target
    EXPECT_EQ(xtdock::ShellErrorStringId(32), 4548u);
}

TEST(ShellErrors, OtherFailuresGetTheNumberedText) {
    for (std::intptr_t result : {1, 4, 6, 25, -1}) {
        EXPECT_EQ(xtdock::ShellErrorStringId(result), static_cast<unsigned>(XT_IDS_SE_UNKNOWN))
            << result;
    }
}

}  // namespace
