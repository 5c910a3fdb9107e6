// Frandle's downloads as whole sessions: a cancel at every callback, detection finding the boot
// loader at every pulse length, a port that does not open, failing mode switches, and a program
// built from C into the board's flash.
#include <gtest/gtest.h>

#include "loadhost/session_fixture.h"
#include "w32test/vport.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::Count;
using loadhosttest::Holds;
using loadhosttest::RunSession;

std::string File(const std::string& name) {
    return loadhosttest::TranscriptFile(FWT_SOURCE_DIR, "frandle", name);
}

std::vector<std::string> Download(const std::string& board, const std::string& extra,
                                  const std::string& file) {
    std::vector<std::string> lines =
        loadhosttest::DownloadLines({"plugin Frandle", "virtual-time on",
                                     "board brontal-e COM3 baud=19200 " + board, "port port=2"},
                                    extra, file);
    lines.push_back("board-log");
    return lines;
}

// A cancel answered to a line's success or to a percentage (or to the start notice, whose record
// the percentages use) ends the download there with 0; every other callback takes none.
TEST(FrandleCancel, AtEveryCallbackTheDownloadAnswersZeroAndStopsOnlyInItsLines) {
    const std::string file = File("lines.hex");
    int exitCode = -1;
    std::string whole = RunSession(Download("", "", file), &exitCode);
    ASSERT_EQ(exitCode, 0) << whole;
    std::vector<std::string> uncancelled = CallbackLines(whole);
    ASSERT_GT(uncancelled.size(), 12u) << whole;
    size_t firstPercent = 0;
    for (size_t i = 0; i < uncancelled.size() && firstPercent == 0; ++i) {
        firstPercent = Holds(uncancelled[i], ": percent ") ? i + 1 : 0;
    }

    for (size_t at = 1; at <= uncancelled.size(); ++at) {
        const std::string& answered = uncancelled[at - 1];
        SCOPED_TRACE("cancel at callback " + std::to_string(at) + ": " + answered);
        std::string output =
            RunSession(Download("", "cancel-at " + std::to_string(at), file), &exitCode);
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("result 0 OK\nport COM3 closed\n"), std::string::npos) << output;
        std::vector<std::string> callbacks = CallbackLines(output);
        size_t expected = uncancelled.size();
        if (Holds(answered, "Success writing line") || Holds(answered, ": percent ")) {
            expected = at;
        } else if (Holds(answered, "start notice")) {
            expected = firstPercent;
        }
        ASSERT_EQ(callbacks.size(), expected) << output;
        EXPECT_EQ(callbacks[at - 1], answered + " -> cancel");
        // No line goes after the one whose answer was cancelled.
        EXPECT_EQ(Count(output, "host> 3A ':'"),
                  Count(output, "Success writing line") + (expected == uncancelled.size() ? 1 : 0))
            << output;
    }
}

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

class FrandlePort : public loadhosttest::SessionTest {
protected:
    void Prepare(const char* port) {
        Run({"plugin Frandle", "virtual-time on", "board brontal-e COM3 baud=19200", port});
    }
};

TEST_F(FrandlePort, APortThatDoesNotOpenIsNamedAndNothingIsSent) {
    Prepare("port port=2");
    ASSERT_TRUE(
        w32test::vport::FailNext(3, w32test::vport::CallKind::Open, 1, ERROR_ACCESS_DENIED));
    Run("download \"" + File("small.hex") + "\"");
    Run("board-log");
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_NE(Output().find("callback 1: message \"WARNING: Can not open COM3\"\n"
                            "callback 2: message \"Please check COM port under "
                            "Tools->Options->Loader\"\n"
                            "result 2143 LDR_ERR_DOWNLOAD\nport COM3 closed\n"),
              std::string::npos)
        << Output();
    EXPECT_NE(Output().find("board on COM3:\nsession end"), std::string::npos) << Output();
}

TEST_F(FrandlePort, FailingModeSwitchesAnswerTheirCodesAndRelayToNobody) {
    Prepare("port port=2 handle=open");
    ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Lines, 2, ERROR_GEN_FAILURE));
    Run("setmode 0");
    Run("setmode 1");
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_EQ(Output().find("callback"), std::string::npos) << Output();
    EXPECT_NE(Output().find("> setmode 0\nresult 2120 LDR_ERR_PROGRAM_MODE\n"), std::string::npos)
        << Output();
    EXPECT_NE(Output().find("> setmode 1\nresult 2121 LDR_ERR_RUN_MODE\n"), std::string::npos)
        << Output();
}

TEST(FrandleProgram, AProgramBuiltFromCIsInTheBoardsFlashAndRunsAfterTheNextReset) {
    const std::string program = FRANDLE_PROGRAM;
    if (program.empty()) {
        GTEST_SKIP() << "sdcc was not found: no program was built";
    }
    const std::string path = loadhosttest::GenericPath(program);
    int exitCode = -1;
    std::string output =
        RunSession({"plugin Frandle", "virtual-time on", "board brontal-e COM3 baud=19200",
                    "port port=2", "download \"" + path + "\"", "board-check \"" + path + "\""},
                   &exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
    EXPECT_NE(output.find("message \"Download Completed Successfully\""), std::string::npos)
        << output;
    EXPECT_NE(output.find("board memory equals "), std::string::npos) << output;
    EXPECT_EQ(output.find("the board also holds"), std::string::npos) << output;
    std::vector<int> percents = loadhosttest::Percentages(output);
    ASSERT_GE(percents.size(), 5u) << output;
    for (size_t i = 1; i < percents.size(); ++i) {
        EXPECT_LT(percents[i - 1], percents[i]) << "call " << i;
    }
}

}  // namespace
