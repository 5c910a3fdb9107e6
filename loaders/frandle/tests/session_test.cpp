// Frandle's downloads as whole sessions: a cancel at every callback, detection finding the boot
// loader at every pulse length, a port that does not open, failing mode switches, and a program
// built from C into the board's flash.
#include <gtest/gtest.h>

#include "loadhost/download_cases.h"

namespace {

using loadhosttest::CancelCase;
using loadhosttest::CancelRun;
using loadhosttest::Count;
using loadhosttest::FailedSwitchCase;
using loadhosttest::Lines;
using loadhosttest::ProgramCase;
using loadhosttest::Rising;
using loadhosttest::RunSession;
using loadhosttest::StopOf;
using loadhosttest::UnopenedPortCase;

const auto File = loadhosttest::TranscriptFiles(FWT_SOURCE_DIR, "frandle");

Lines SessionStart(const std::string& board, const std::string& port) {
    return {"plugin Frandle", "virtual-time on", "board brontal-e COM3 baud=19200" + board, port};
}

Lines Download(const std::string& board, const std::string& extra, const std::string& file) {
    Lines lines =
        loadhosttest::DownloadLines(SessionStart(" " + board, "port port=2"), extra, file);
    lines.push_back("board-log");
    return lines;
}

[[maybe_unused]] const bool kRegistered = loadhosttest::RegisterCases(
    __FILE__, __LINE__,
    // A cancel answered to a line's success or to a percentage (or to the start notice, whose
    // record the percentages use) ends the download there with 0; every other callback takes none.
    CancelCase{"FrandleCancel", "AtEveryCallbackTheDownloadAnswersZeroAndStopsOnlyInItsLines",
               [](const std::string& extra) { return Download("", extra, File("lines.hex")); }, 12,
               true,
               [](const CancelRun& run) {
                   size_t stop = StopOf(run, {"Success writing line", ": percent "});
                   size_t expected = stop == 0 ? run.uncancelled.size() : stop;
                   ASSERT_EQ(run.callbacks.size(), expected) << run.output;
                   EXPECT_EQ(run.callbacks[run.at - 1], run.answered + " -> cancel");
                   // No line goes after the one whose answer was cancelled.
                   EXPECT_EQ(Count(run.output, "host> 3A ':'"),
                             Count(run.output, "Success writing line") +
                                 (expected == run.uncancelled.size() ? 1 : 0))
                       << run.output;
               }},
    UnopenedPortCase{"FrandlePort",
                     "APortThatDoesNotOpenIsNamedAndNothingIsSent",
                     SessionStart("", "port port=2"),
                     File("small.hex"),
                     1,
                     {"callback 1: message \"WARNING: Can not open COM3\"\n"
                      "callback 2: message \"Please check COM port under "
                      "Tools->Options->Loader\"\n"
                      "result 2143 LDR_ERR_DOWNLOAD\nport COM3 closed\n"}},
    FailedSwitchCase{"FrandlePort", "FailingModeSwitchesAnswerTheirCodesAndRelayToNobody",
                     SessionStart("", "port port=2 handle=open"), ""},
    ProgramCase{
        "FrandleProgram",
        "AProgramBuiltFromCIsInTheBoardsFlashAndRunsAfterTheNextReset",
        FRANDLE_PROGRAM,
        SessionStart("", "port port=2"),
        {},
        5,
        Rising::Strictly,
        [](const std::string& output, const std::vector<int>&) {
            EXPECT_NE(output.find("message \"Download Completed Successfully\""), std::string::npos)
                << output;
            EXPECT_EQ(output.find("the board also holds"), std::string::npos) << output;
        }});

// Whichever pulse length the board needs, the tries before it find nothing and that one finds it.
TEST(FrandleDetection, TheBootLoaderIsFoundAtEachPulseLengthAfterTheLongerOnesFailed) {
    const std::string file = File("small.hex");
    for (int pulse = 200, tries = 1; pulse >= 0; pulse -= 25, ++tries) {
        SCOPED_TRACE("the board needs a pulse of at most " + std::to_string(pulse) + " ms");
        int exitCode = -1;
        std::string output =
            RunSession(Download("pulse-max=" + std::to_string(pulse), "", file), &exitCode);
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
        EXPECT_EQ(Count(output, "boot loader: no start after a reset"),
                  static_cast<size_t>(tries - 1))
            << output;
        // The last pulse refused is the one just longer; the one it needs is taken.
        const std::string refused = "boot loader: no start after a reset of ";
        if (pulse < 200) {
            EXPECT_NE(output.find(refused + std::to_string(pulse + 25) + " ms\n"),
                      std::string::npos)
                << output;
        }
        EXPECT_EQ(output.find(refused + std::to_string(pulse) + " ms\n"), std::string::npos)
            << output;
        EXPECT_EQ(Count(output, "boot loader starts"), 2u) << output;  // at the open, and found
        EXPECT_EQ(Count(output, "rts 0"), static_cast<size_t>(tries) + 1) << output;
    }
}

TEST(FrandleDetection, NineTriesFindNoBoardThatNeverPrompts) {
    int exitCode = -1;
    std::string output = RunSession(Download("prompt=0", "", File("small.hex")), &exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("message \"Cannot detect bootloader on the board. Exiting ...\"\n"
                          "result 1022\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(Count(output, "host> 0D"), 9u) << output;
    EXPECT_EQ(Count(output, "boot loader starts"), 10u) << output;
}

}  // namespace
