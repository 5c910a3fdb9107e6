// What simhost scripts are made of (words, numbers, bytes) and the session's hold on the clock.
#include <gtest/gtest.h>

#include <sstream>

#include "script_words.h"
#include "session.h"
#include "w32/clock.h"
#include "w32test/clock.h"

namespace {

using simhost::Word;

std::vector<std::string> Texts(const std::vector<Word>& words) {
    std::vector<std::string> texts;
    for (const Word& w : words) {
        texts.push_back(w.text);
    }
    return texts;
}

TEST(ScriptWords, QuotesKeepBlanksAndEscapesAndAHashStartsAComment) {
    std::vector<Word> words;
    std::string error;
    ASSERT_TRUE(simhost::SplitWords("create  \"\" \"Ext Mem=\\x41\\\"\\n\" # a comment \"x\"\r",
                                    &words, &error));
    EXPECT_EQ(Texts(words), (std::vector<std::string>{"create", "", "Ext Mem=A\"\n"}));
    EXPECT_FALSE(words[0].quoted);
    EXPECT_TRUE(words[1].quoted);
    ASSERT_TRUE(simhost::SplitWords("   # only a comment", &words, &error));
    EXPECT_TRUE(words.empty());
}

TEST(ScriptWords, UnterminatedQuotesAndBadEscapesAreErrors) {
    std::vector<Word> words;
    std::string error;
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"abc", &words, &error));
    EXPECT_EQ(error, "unterminated quote");
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"\\q\"", &words, &error));
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"\\x4\"", &words, &error));
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"\\", &words, &error));
}

TEST(ScriptNumbers, NumbersAreWrittenAsInCAndMinusOneIsAllOnes) {
    uint32_t value = 0;
    EXPECT_TRUE(simhost::ParseWord32("0x1F", &value));
    EXPECT_EQ(value, 0x1Fu);
    EXPECT_TRUE(simhost::ParseWord32("31", &value));
    EXPECT_EQ(value, 31u);
    EXPECT_TRUE(simhost::ParseWord32("-1", &value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_TRUE(simhost::ParseWord32("4294967295", &value));
    for (const char* bad : {"", "-", "0x", "0x1G", "12a", "4294967296", "-2", "0x123456789"}) {
        EXPECT_FALSE(simhost::ParseWord32(bad, &value)) << bad;
    }
}

TEST(ScriptBytes, NumbersAndQuotedTextMakeOneByteList) {
    std::vector<Word> words;
    std::string error;
    ASSERT_TRUE(simhost::SplitWords("serial-in 0 0x41 \"bc\" 10", &words, &error));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(simhost::ParseBytes(words, 2, &bytes, &error));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x41, 'b', 'c', 10}));
    ASSERT_TRUE(simhost::SplitWords("serial-in 0 256", &words, &error));
    EXPECT_FALSE(simhost::ParseBytes(words, 2, &bytes, &error));
    EXPECT_EQ(error, "bad byte '256'");
}

TEST(Session, VirtualTimeLastsAsLongAsTheSession) {
    ASSERT_FALSE(w32test::clock::IsVirtual());
    std::ostringstream out;
    {
        simhost::Session session(out);
        session.RunLine("virtual-time on", 1);
        EXPECT_TRUE(w32test::clock::IsVirtual());
        uint64_t before = w32test::clock::NowMicros();
        w32::Sleep(60000);  // a minute of a board's time-outs, at no cost
        EXPECT_GE(w32test::clock::NowMicros() - before, 60000000u);
        EXPECT_EQ(session.Finish(), 0);
    }
    EXPECT_FALSE(w32test::clock::IsVirtual());
    EXPECT_EQ(out.str(),
              "> virtual-time on\nvirtual time on\n"
              "session end: 0 of 0 host objects released, 0 errors\n");
}

}  // namespace
