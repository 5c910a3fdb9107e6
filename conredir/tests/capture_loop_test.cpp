// The capture loop against an in-memory screen buffer: what reaches conredir's output, and when.
#include <gtest/gtest.h>

#include <string>

#include "fake_screen.h"

namespace {

using conredir::CellPos;
using conredir::RunCaptureLoop;
using conredir_test::FakeScreen;

TEST(CaptureLoop, LineAndExitGivesTheLineWithOneLineBreak) {
    FakeScreen screen(80, 25);
    screen.AtPassStart(1, [&] {
        screen.Write("abc\r\n");
        screen.End();
    });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "abc\r\n");
    EXPECT_EQ(screen.passes, 1);
    EXPECT_TRUE(screen.AllCellsEmpty());
}

TEST(CaptureLoop, SilentChildGivesNoOutputAfterPausesOfFiftyMilliseconds) {
    FakeScreen screen(80, 25);
    screen.AtPassStart(3, [&] { screen.End(); });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "");
    EXPECT_EQ(screen.passes, 3);
    EXPECT_EQ(screen.pauses, (std::vector<unsigned>{50, 50, 50}));
}

TEST(CaptureLoop, EmptyCellsBecomeOneLineBreakPerRowTheySpan) {
    struct Case {
        int width;
        std::string written;
        std::string expected;
    };
    const Case cases[] = {
        {80, "abc", "abc"},
        {80, "a\r\n\r\n\r\nb\r\n", "a\r\n\r\n\r\nb\r\n"},
        {10, "key  value\r\n", "key  value\r\n"},  // a full row wraps, then the line end
        {4, "ab\r\ncd", "ab\r\ncd"},
        {4, "\r\n\r\nx", "\r\n\r\nx"},
    };
    for (const Case& c : cases) {
        FakeScreen screen(c.width, 25);
        screen.AtPassStart(1, [&] {
            screen.Write(c.written);
            screen.End();
        });
        RunCaptureLoop(screen);
        EXPECT_EQ(screen.output, c.expected) << "width " << c.width;
    }
}

TEST(CaptureLoop, BufferGoesBackToTheTopOnceTheCursorPassedHalfOfIt) {
    FakeScreen screen(80, 4);
    screen.AtPassStart(1, [&] { screen.Write("one\r\n"); });
    screen.AtPassStart(2, [&] {
        EXPECT_EQ(screen.cursor(), (CellPos{0, 1}));
        screen.Write("two\r\n");
    });
    screen.AtPassStart(3, [&] {
        EXPECT_EQ(screen.cursor(), CellPos{});
        EXPECT_TRUE(screen.AllCellsEmpty());
        screen.Write("three");
    });
    screen.AtPassStart(5, [&] { screen.End(); });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "one\r\ntwo\r\nthree");
    EXPECT_EQ(screen.homesWhileTimeCritical, 1);
    EXPECT_EQ(screen.homesAtNormalPriority, 0);
    EXPECT_FALSE(screen.timeCritical);
}

// Progress lines and spinners go back to the start of their row with '\r' and write it again.
TEST(CaptureLoop, EveryRewriteOfTheSameRowComesOutInOrder) {
    FakeScreen screen(80, 25);
    screen.AtPassStart(1, [&] { screen.Write("Progress 10%"); });
    screen.AtPassStart(2, [&] { screen.Write("\rProgress 20%"); });
    screen.AtPassStart(3, [&] {
        screen.Write("\rDone.       \r\n");
        screen.End();
    });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "Progress 10%Progress 20%Done.       \r\n");
    EXPECT_TRUE(screen.AllCellsEmpty());
}

TEST(CaptureLoop, ShorterRewriteOfARowBelowTheTopGivesOnlyItsText) {
    FakeScreen screen(80, 25);
    screen.AtPassStart(1, [&] { screen.Write("line\r\nProgress 10%"); });
    screen.AtPassStart(2, [&] {
        screen.Write("\rOK");
        screen.End();
    });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "line\r\nProgress 10%OK");
}

TEST(CaptureLoop, RewriteFollowedByMoreRowsInOnePassComesOutWhole) {
    FakeScreen screen(80, 25);
    screen.AtPassStart(1, [&] { screen.Write("Copying |"); });
    screen.AtPassStart(2, [&] {
        screen.Write("\rCopying /\r\nDone\r\n");
        screen.End();
    });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "Copying |Copying /\r\nDone\r\n");
}

TEST(CaptureLoop, OutputWrittenBetweenTheTwoCursorReadsIsNeitherLostNorRepeated) {
    FakeScreen screen(80, 4);
    screen.AtPassStart(1, [&] { screen.Write("one\r\ntwo\r\n"); });
    screen.BeforeSecondCursorRead(1, [&] { screen.Write("three\r\n"); });
    screen.BeforeSecondCursorRead(2, [&] { screen.Write("four"); });
    screen.AtPassStart(5, [&] { screen.End(); });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(screen.scrolls, 0);
}

TEST(CaptureLoop, CursorMovedAboveTheCopiedPositionIsCopiedFromTheTop) {
    FakeScreen screen(80, 25);
    screen.AtPassStart(1, [&] { screen.Write("one\r\n"); });
    // The child goes back to the top (as a screen clear does) and writes there.
    screen.AtPassStart(2, [&] {
        screen.MoveCursor(CellPos{});
        screen.Write("top");
        screen.End();
    });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "one\r\ntop");
}

TEST(CaptureLoop, PassesThatCannotReadTheBufferCountAsNoNewOutput) {
    // A cursor that cannot be read, then cells that cannot be copied.
    for (bool FakeScreen::*refusal :
         {&FakeScreen::cursorUnreadable, &FakeScreen::cellsUnreadable}) {
        FakeScreen screen(80, 25);
        screen.AtPassStart(1, [&] {
            screen.Write("abc\r\n");
            screen.*refusal = true;
        });
        screen.AtPassStart(4, [&] { screen.*refusal = false; });
        screen.AtPassStart(5, [&] { screen.End(); });
        RunCaptureLoop(screen);
        EXPECT_EQ(screen.output, "abc\r\n");
        EXPECT_EQ(screen.pauses.size(), 4u);  // passes 1 to 3, and the last one
        EXPECT_TRUE(screen.AllCellsEmpty());
    }
}

TEST(CaptureLoop, BufferThatNeverBecomesReadableEndsWithTheChild) {
    FakeScreen screen(80, 25);
    screen.AtPassStart(1, [&] {
        screen.Write("abc\r\n");
        screen.cursorUnreadable = true;
    });
    screen.AtPassStart(3, [&] { screen.End(); });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, "");
    EXPECT_EQ(screen.passes, 3);
}

TEST(CaptureLoop, ManyShortBurstsNeverScrollASmallBuffer) {
    FakeScreen screen(8, 4);
    std::string expected;
    for (int pass = 1; pass <= 40; ++pass) {
        const std::string line = "line" + std::to_string(pass) + "\r\n";
        expected += line;
        screen.AtPassStart(pass, [&screen, line] { screen.Write(line); });
    }
    screen.AtPassStart(41, [&] { screen.End(); });
    RunCaptureLoop(screen);
    EXPECT_EQ(screen.output, expected);
    EXPECT_EQ(screen.scrolls, 0);
}

}  // namespace
