// Wendra's downloads as whole sessions: a cancel at every callback, a port that does not open,
// mode switches that fail, and a program built from C into the board.
#include <gtest/gtest.h>

#include "loadhost/session_fixture.h"
#include "w32test/vport.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::Count;
using loadhosttest::RunSession;

std::string File(const std::string& name) {
    return loadhosttest::TranscriptFile(FWT_SOURCE_DIR, "wendra", name);
}

std::vector<std::string> Download(const std::string& extra, const std::string& file) {
    std::vector<std::string> lines = loadhosttest::DownloadLines(
        {"plugin Wendra", "virtual-time on", "board corvanec COM3", "port port=2"}, extra, file);
    lines.push_back("board-log");
    return lines;
}

// Whether a cancel answered to this callback is taken: the version and set-type texts, the
// records' texts and percentages, and the start notice (whose record the percentages reuse).
bool TakesACancel(const std::string& callback) {
    for (const char* text :
         {"start notice", "PIC Version", "Success setting type", "Success writing", ": percent "}) {
        if (callback.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(WendraCancel, AtEveryCallbackTheDownloadEndsDefinedWithTheBoardReleased) {
    const std::string file = File("relocated.hex");
    int exitCode = -1;
    std::string whole = RunSession(Download("", file), &exitCode);
    ASSERT_EQ(exitCode, 0) << whole;
    std::vector<std::string> uncancelled = CallbackLines(whole);
    ASSERT_GT(uncancelled.size(), 10u) << whole;
    const std::string cancelLine = "message \"Download is cancelled by the users request.\"";

    for (size_t at = 1; at <= uncancelled.size(); ++at) {
        SCOPED_TRACE("cancel at callback " + std::to_string(at) + ": " + uncancelled[at - 1]);
        std::string output =
            RunSession(Download("cancel-at " + std::to_string(at), file), &exitCode);
        // No callback after the return, the port closed.
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("port COM3 closed\n"), std::string::npos) << output;
        // The board always gets the run command and the RTS pulse at the end.
        EXPECT_NE(output.find("host> 52 'R'\n"), std::string::npos) << output;
        EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
        std::vector<std::string> callbacks = CallbackLines(output);
        ASSERT_GE(callbacks.size(), at) << output;
        for (size_t i = 0; i + 1 < at; ++i) {
            EXPECT_EQ(callbacks[i], uncancelled[i]);
        }
        EXPECT_EQ(callbacks[at - 1], uncancelled[at - 1] + " -> cancel");
        if (!TakesACancel(uncancelled[at - 1])) {
            EXPECT_EQ(callbacks.size(), uncancelled.size()) << output;
            EXPECT_EQ(Count(output, cancelLine), 0u) << output;
            continue;
        }
        EXPECT_EQ(Count(output, cancelLine), 1u) << output;
        EXPECT_NE(callbacks.back().find(cancelLine), std::string::npos) << output;
        // Once the records began, a cancel stops them but the boot vector is still written.
        bool inRecords = uncancelled[at - 1].find("Success writing") != std::string::npos ||
                         uncancelled[at - 1].find(": percent ") != std::string::npos ||
                         uncancelled[at - 1].find("start notice") != std::string::npos;
        EXPECT_EQ(output.find("Success Special Bytes Programming") != std::string::npos, inRecords)
            << output;
    }
}

class WendraPort : public loadhosttest::SessionTest {};

TEST_F(WendraPort, APortThatDoesNotOpenFailsProgramModeAndNothingIsSent) {
    Run({"plugin Wendra", "virtual-time on", "board corvanec COM3", "port port=2"});
    ASSERT_TRUE(
        w32test::vport::FailNext(3, w32test::vport::CallKind::Open, 100, ERROR_ACCESS_DENIED));
    Run("download \"" + File("small.hex") + "\"");
    Run("board-log");
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_NE(Output().find("callback 1: message \"Error changing to Program Mode, ec=1059, "
                            "WIN32 Error=5("),
              std::string::npos)
        << Output();
    EXPECT_NE(Output().find("result 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"),
              std::string::npos)
        << Output();
    EXPECT_NE(Output().find("board on COM3:\nsession end"), std::string::npos) << Output();
}

TEST_F(WendraPort, FailingModeSwitchesAnswerTheirCodesAndRelayToNobody) {
    Run({"plugin Wendra", "virtual-time on", "board corvanec COM3", "port port=2 handle=open"});
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

TEST(WendraProgram, AProgramBuiltFromCIsInTheBoardsFlashAfterTheDownload) {
    const std::string program = WENDRA_PROGRAM;
    if (program.empty()) {
        GTEST_SKIP() << "sdcc was not found: no program was built";
    }
    const std::string path = loadhosttest::GenericPath(program);
    int exitCode = -1;
    std::string output =
        RunSession({"plugin Wendra", "virtual-time on", "board corvanec COM3", "port port=2",
                    "download \"" + path + "\"", "board-check \"" + path + "\""},
                   &exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
    EXPECT_NE(output.find("board memory equals "), std::string::npos) << output;
    std::vector<std::string> callbacks = CallbackLines(output);
    ASSERT_FALSE(callbacks.empty());
    EXPECT_EQ(callbacks[0], "callback 1: start notice");
    std::vector<int> percents = loadhosttest::Percentages(output);
    ASSERT_GE(percents.size(), 2u) << output;
    for (size_t i = 1; i < percents.size(); ++i) {
        EXPECT_LT(percents[i - 1], percents[i]) << output;
    }
    EXPECT_GE(percents.front(), 1);
    EXPECT_LE(percents.back(), 99);
}

}  // namespace
