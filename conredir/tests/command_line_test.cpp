// Joining conredir's arguments under the length limit, and splitting a line as a Windows child
// does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"

namespace {

using conredir::JoinArguments;
using conredir::SplitCommandLine;
using Words = std::vector<std::string>;

std::string Join(const std::vector<std::string>& arguments) {
    std::vector<const char*> pointers;
    for (const std::string& a : arguments) {
        pointers.push_back(a.c_str());
    }
    return JoinArguments(static_cast<int>(pointers.size()), pointers.data());
}

TEST(JoinArguments, EachArgumentIsFollowedByOneBlankWithoutQuoting) {
    EXPECT_EQ(Join({}), "");
    EXPECT_EQ(Join({"make", "all"}), "make all ");
    EXPECT_EQ(Join({"echo", "two words", "\"q\""}), "echo two words \"q\" ");
}

TEST(JoinArguments, ArgumentThatReachesTheLimitIsDroppedWithAllAfterIt) {
    // 4094 characters and a blank make 4095: the largest line that fits.
    const std::string fits(4094, 'a');
    EXPECT_EQ(Join({fits}), fits + " ");
    EXPECT_EQ(Join({std::string(4095, 'a')}), "");
    EXPECT_EQ(Join({std::string(4095, 'a'), "x"}), "");

    const std::string head(4090, 'h');
    EXPECT_EQ(Join({head, "123", "y"}), head + " 123 ");  // 4091 + 4 = 4095
    EXPECT_EQ(Join({head, "1234", "y"}), head + " ");     // 4091 + 5 = 4096
}

TEST(SplitCommandLine, BlanksAndTabsSeparateWords) {
    EXPECT_EQ(SplitCommandLine(""), Words{});
    EXPECT_EQ(SplitCommandLine("   "), Words{});
    EXPECT_EQ(SplitCommandLine("make all "), (Words{"make", "all"}));
    EXPECT_EQ(SplitCommandLine("a\t b  c"), (Words{"a", "b", "c"}));
}

TEST(SplitCommandLine, QuotesGroupAndBackslashesEscapeOnlyBeforeAQuote) {
    struct Case {
        std::string line;
        Words words;
    };
    const Case cases[] = {
        {R"(p "a b" c)", {"p", "a b", "c"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "")", {"p", ""}},
        {R"(p a\b\\c)", {"p", R"(a\b\\c)"}},
        {R"(p a\"b)", {"p", R"(a"b)"}},
        {R"(p a\\"b c")", {"p", R"(a\b c)"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p "a""b" c)", {"p", R"(a"b)", "c"}},
        {R"(p "open end)", {"p", "open end"}},
        {R"(p "trailing\\")", {"p", R"(trailing\)"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line;
    }
}

TEST(SplitCommandLine, ProgramNameTakesQuotesButNoEscapes) {
    EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\t.exe" x)"),
              (Words{R"(C:\Program Files\t.exe)", "x"}));
    EXPECT_EQ(SplitCommandLine(R"(C:\tools\"x y"\z.exe a)"), (Words{R"(C:\tools\x y\z.exe)", "a"}));
    EXPECT_EQ(SplitCommandLine(R"(dir\ a)"), (Words{R"(dir\)", "a"}));
}

}  // namespace
