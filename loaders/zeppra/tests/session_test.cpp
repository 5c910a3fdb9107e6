// Zeppra's downloads as whole sessions: a cancel at every callback with the result its place
// gives, a cancel of the set-type tries, the program-mode line and the purge failing, failing
// mode switches, and a program built from C into the board's memory.
#include <gtest/gtest.h>

#include "loadhost/session_fixture.h"
#include "w32test/vport.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::Count;
using loadhosttest::Holds;
using loadhosttest::RunSession;

std::string File(const std::string& name) {
    return loadhosttest::TranscriptFile(FWT_SOURCE_DIR, "zeppra", name);
}

std::vector<std::string> Download(const std::string& board, const std::string& extra,
                                  const std::string& file) {
    std::vector<std::string> lines = loadhosttest::DownloadLines(
        {"plugin Zeppra", "virtual-time on", "board saltrem-a-pic COM3 " + board, "port port=2"},
        extra, file);
    lines.push_back("board-log");
    return lines;
}

const char kCancelLine[] = "message \"Download is cancelled by the users request.\"";

// Every download that reaches the board's commands ends with 'H' and answers its write's result
// (0); a cancel in a percentage (or in the start notice, whose record the percentages use) stops
// the bytes, one answered to the set-type text sends none of them; the other messages take none.
TEST(ZeppraCancel, AtEveryCallbackTheEndCommandGoesAndTheDownloadAnswersZero) {
    const std::string file = File("small.hex");
    int exitCode = -1;
    std::string whole = RunSession(Download("", "", file), &exitCode);
    ASSERT_EQ(exitCode, 0) << whole;
    std::vector<std::string> uncancelled = CallbackLines(whole);
    ASSERT_GT(uncancelled.size(), 40u) << whole;

    for (size_t at = 1; at <= uncancelled.size(); ++at) {
        const std::string& answered = uncancelled[at - 1];
        SCOPED_TRACE("cancel at callback " + std::to_string(at) + ": " + answered);
        std::string output =
            RunSession(Download("", "cancel-at " + std::to_string(at), file), &exitCode);
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("result 0 OK\nport COM3 closed\n"), std::string::npos) << output;
        EXPECT_EQ(Count(output, "host> 48 'H'"), 1u) << output;
        std::vector<std::string> callbacks = CallbackLines(output);
        ASSERT_GE(callbacks.size(), at) << output;
        EXPECT_EQ(callbacks[at - 1], answered + " -> cancel");
        const bool taken = Holds(answered, "setting type") || Holds(answered, ": percent ") ||
                           Holds(answered, "start notice");
        if (!taken) {
            EXPECT_EQ(callbacks.size(), uncancelled.size()) << output;
            EXPECT_EQ(Count(output, kCancelLine), 0u) << output;
            continue;
        }
        EXPECT_NE(callbacks.back().find(kCancelLine), std::string::npos) << output;
        EXPECT_EQ(Count(output, kCancelLine), 1u) << output;
        // After a cancel of the tries no byte of the file goes: the load gets none.
        EXPECT_EQ(Holds(answered, "setting type"),
                  output.find("Downloading '") == std::string::npos)
            << output;
    }
}

TEST(ZeppraCancel, ACancelAnsweredToARetryEndsAtOnceWithTheFailedTrysCode) {
    int exitCode = -1;
    std::string output = RunSession(
        Download("pic-fault=bad-status pic-frame=1", "cancel-on \"Retrying\"", File("small.hex")),
        &exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("callback 3: message \"Retrying set type, ec=2175\" -> cancel\n"
                          "result 2175 LDR_ERR_SET_TYPE\nport COM3 closed\n"),
              std::string::npos)
        << output;
    // One frame went, nothing after it.
    EXPECT_EQ(Count(output, "host> 01"), 1u) << output;
    EXPECT_EQ(Count(output, "host> 0D"), 0u) << output;
}

class ZeppraPort : public loadhosttest::SessionTest {
protected:
    void Prepare(const char* port) {
        Run({"plugin Zeppra", "virtual-time on", "board saltrem-a-pic COM3", port});
    }
};

TEST_F(ZeppraPort, RtsThatCannotBeSetFailsProgramModeWithTheSystemsText) {
    Prepare("port port=2");
    ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Lines, 1, ERROR_GEN_FAILURE));
    Run("download \"" + File("small.hex") + "\"");
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_NE(Output().find("callback 1: message \"Error changing to Program Mode, ec=1041, "
                            "WIN32 Error=31("),
              std::string::npos)
        << Output();
    EXPECT_NE(Output().find("result 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"),
              std::string::npos)
        << Output();
}

TEST_F(ZeppraPort, AReceiveBufferThatCannotBePurgedEndsBeforeTheFrame) {
    Prepare("port port=2");
    ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Purge, 1, ERROR_GEN_FAILURE));
    Run("download \"" + File("small.hex") + "\"");
    Run("board-log");
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_NE(Output().find("callback 2: message \"Error purging receive buffer, ec=1017\"\n"
                            "result 2176 LDR_ERR_PURGE\n"),
              std::string::npos)
        << Output();
    EXPECT_EQ(Output().find("host>"), std::string::npos) << Output();
}

TEST_F(ZeppraPort, FailingModeSwitchesAnswerTheirCodesAndRelayToNobody) {
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

TEST(ZeppraProgram, AProgramBuiltFromCIsInTheBoardsMemoryAfterTheDownload) {
    const std::string program = ZEPPRA_PROGRAM;
    if (program.empty()) {
        GTEST_SKIP() << "sdcc was not found: no program was built";
    }
    const std::string path = loadhosttest::GenericPath(program);
    int exitCode = -1;
    std::string output = RunSession(
        {"plugin Zeppra", "virtual-time on", "board saltrem-a-pic COM3 baud=19200",
         "port port=2 baud=19200", "download \"" + path + "\"", "board-check \"" + path + "\""},
        &exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
    EXPECT_NE(output.find("board memory equals "), std::string::npos) << output;
    std::vector<int> percents = loadhosttest::Percentages(output);
    ASSERT_GE(percents.size(), 100u) << output;
    for (size_t i = 1; i < percents.size(); ++i) {
        EXPECT_LE(percents[i - 1], percents[i]) << "call " << i;
    }
}

}  // namespace
