// Lomrik's downloads as whole sessions: a cancel at every callback, DTR that cannot be set,
// failing mode switches, and a program built from C into the kit board's memory.
#include <gtest/gtest.h>

#include "loadhost/session_fixture.h"
#include "w32test/vport.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::FirstPercent;
using loadhosttest::RunSession;

std::string File(const std::string& name) {
    return loadhosttest::TranscriptFile(FWT_SOURCE_DIR, "lomrik", name);
}

std::vector<std::string> Download(const std::string& extra, const std::string& file) {
    return loadhosttest::DownloadLines(
        {"plugin Lomrik", "virtual-time on", "board saltrem-a COM3 line=dtr", "port port=2"}, extra,
        file);
}

// Lomrik's messages take no cancel; a percentage does (and the start notice's record is the one
// the percentages use): the bytes stop there without a word, and the download still answers 0.
TEST(LomrikCancel, AtEveryCallbackTheDownloadAnswersZeroAndStopsOnlyInItsBytes) {
    const std::string file = File("small.hex");
    int exitCode = -1;
    std::string whole = RunSession(Download("", file), &exitCode);
    ASSERT_EQ(exitCode, 0) << whole;
    std::vector<std::string> uncancelled = CallbackLines(whole);
    const size_t firstPercent = FirstPercent(uncancelled);
    ASSERT_GT(firstPercent, 0u) << whole;

    for (size_t at = 1; at <= uncancelled.size(); ++at) {
        SCOPED_TRACE("cancel at callback " + std::to_string(at) + ": " + uncancelled[at - 1]);
        std::string output =
            RunSession(Download("cancel-at " + std::to_string(at), file), &exitCode);
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("result 0 OK\nport COM3 closed\n"), std::string::npos) << output;
        std::vector<std::string> callbacks = CallbackLines(output);
        size_t expected = uncancelled.size();
        if (uncancelled[at - 1].find(": percent ") != std::string::npos) {
            expected = at;
        } else if (uncancelled[at - 1].find("start notice") != std::string::npos) {
            expected = firstPercent;
        }
        ASSERT_EQ(callbacks.size(), expected) << output;
        EXPECT_EQ(callbacks[at - 1], uncancelled[at - 1] + " -> cancel");
    }
}

class LomrikPort : public loadhosttest::SessionTest {
protected:
    void Prepare(const char* port) {
        Run({"plugin Lomrik", "virtual-time on", "board saltrem-a COM3 line=dtr", port});
    }
};

TEST_F(LomrikPort, DtrThatCannotBeSetFailsProgramModeWithTheSystemsText) {
    Prepare("port port=2");
    ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Lines, 1, ERROR_GEN_FAILURE));
    Run("download \"" + File("small.hex") + "\"");
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_NE(Output().find("callback 1: message \"Error changing to Program Mode, ec=1043, "
                            "WIN32 Error=31("),
              std::string::npos)
        << Output();
    EXPECT_NE(Output().find("result 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"),
              std::string::npos)
        << Output();
}

TEST_F(LomrikPort, FailingModeSwitchesAnswerTheirCodesAndRelayToNobody) {
    Prepare("port port=2 handle=open");
    ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Lines, 2, ERROR_GEN_FAILURE));
    Run("setmode 0");
    Run("setmode 1");
    Run("board-log");
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_EQ(Output().find("callback"), std::string::npos) << Output();
    EXPECT_NE(Output().find("> setmode 0\nresult 2120 LDR_ERR_PROGRAM_MODE\n"), std::string::npos)
        << Output();
    EXPECT_NE(Output().find("> setmode 1\nresult 2121 LDR_ERR_RUN_MODE\n"), std::string::npos)
        << Output();
    EXPECT_EQ(Output().find(" dtr "), std::string::npos) << Output();
}

TEST(LomrikProgram, AProgramBuiltFromCIsInTheBoardsMemoryAfterTheDownload) {
    const std::string program = LOMRIK_PROGRAM;
    if (program.empty()) {
        GTEST_SKIP() << "sdcc was not found: no program was built";
    }
    const std::string path = loadhosttest::GenericPath(program);
    int exitCode = -1;
    std::string output =
        RunSession({"plugin Lomrik", "virtual-time on", "board saltrem-a COM3 line=dtr",
                    "port port=2", "download \"" + path + "\"", "board-check \"" + path + "\""},
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
