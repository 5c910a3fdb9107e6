// The board's record of a conversation: kept whole up to its bounds, its two ends kept beyond
// them with a line saying how much went.
#include <gtest/gtest.h>

#include <string>

#include "boards/transcript.h"

namespace {

TEST(Transcript, AConversationPastTheBoundsKeepsItsHeadAndTailWithALineForTheRest) {
    boards::Transcript log;
    log.Bound(3, 2);
    for (int i = 0; i < 10; ++i) {
        log.Add(static_cast<uint64_t>(i) * 1000, "entry " + std::to_string(i));
    }
    EXPECT_EQ(log.Events(),
              "entry 0\nentry 1\nentry 2\n"
              "(5 entries dropped: the log keeps its first 3 and last 2)\n"
              "entry 8\nentry 9\n");
    EXPECT_EQ(log.Dropped(), 5u);
    EXPECT_EQ(log.TimeOf("entry 9"), 9000u);
    EXPECT_EQ(log.TimeOf("entry 5"), boards::Transcript::kNever);
    log.Clear();
    EXPECT_EQ(log.Dropped(), 0u);
    log.Add(0, "fresh");
    EXPECT_EQ(log.Events(), "fresh\n");
}

TEST(Transcript, AnEndlessConversationStaysWithinTheDefaultBounds) {
    // As a run that never ends feeds it: a few million bytes each way.
    boards::Transcript log;
    const uint64_t added = 3 * boards::Transcript::kKeptAtEachEnd;
    for (uint64_t i = 0; i < added; ++i) {
        log.Add(i, "host> 41 'A'");
    }
    EXPECT_EQ(log.Records().size(), 2 * boards::Transcript::kKeptAtEachEnd + 1);
    EXPECT_EQ(log.Dropped(), added - 2 * boards::Transcript::kKeptAtEachEnd);
}

TEST(Transcript, AConversationWithinTheBoundsIsKeptWhole) {
    boards::Transcript log;
    log.Bound(4, 4);
    for (int i = 0; i < 8; ++i) {
        log.Add(static_cast<uint64_t>(i), std::to_string(i));
    }
    EXPECT_EQ(log.Events(), "0\n1\n2\n3\n4\n5\n6\n7\n");
    EXPECT_EQ(log.Dropped(), 0u);
}

}  // namespace
