// Corvane's downloads as whole sessions: a cancel at every callback changes nothing, a port that
// does not open, and a program built from C into the board's RAM.
#include <gtest/gtest.h>

#include "loadhost/session_fixture.h"
#include "w32test/vport.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::RunSession;

std::string File(const std::string& name) {
    return loadhosttest::TranscriptFile(FWT_SOURCE_DIR, "corvane", name);
}

std::vector<std::string> Download(const std::string& extra, const std::string& file) {
    std::vector<std::string> lines = loadhosttest::DownloadLines(
        {"plugin Corvane", "virtual-time on", "board brontal-g COM3", "port port=2"}, extra, file);
    lines.push_back("board-check \"" + file + "\"");
    return lines;
}

// A callback line without what the host answered to it.
std::string Unanswered(std::string line) {
    for (const char* answer : {" -> cancel not delivered (no record)", " -> cancel"}) {
        size_t at = line.find(answer);
        if (at != std::string::npos) {
            line.erase(at);
        }
    }
    return line;
}

TEST(CorvaneCancel, NoCallbackStopsTheDownload) {
    const std::string file = File("small.hex");
    int exitCode = -1;
    std::string whole = RunSession(Download("", file), &exitCode);
    ASSERT_EQ(exitCode, 0) << whole;
    std::vector<std::string> uncancelled = CallbackLines(whole);
    ASSERT_GT(uncancelled.size(), 50u) << whole;

    for (size_t at = 1; at <= uncancelled.size(); ++at) {
        SCOPED_TRACE("cancel at callback " + std::to_string(at) + ": " + uncancelled[at - 1]);
        std::string output =
            RunSession(Download("cancel-at " + std::to_string(at), file), &exitCode);
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("result 0 OK\nport COM3 closed\n"), std::string::npos) << output;
        EXPECT_NE(output.find("board memory equals"), std::string::npos) << output;
        std::vector<std::string> callbacks = CallbackLines(output);
        ASSERT_EQ(callbacks.size(), uncancelled.size()) << output;
        for (size_t i = 0; i < callbacks.size(); ++i) {
            EXPECT_EQ(Unanswered(callbacks[i]), uncancelled[i]);
        }
        EXPECT_NE(callbacks[at - 1], uncancelled[at - 1]);
    }
}

class CorvanePort : public loadhosttest::SessionTest {};

TEST_F(CorvanePort, APortThatDoesNotOpenFailsProgramModeAndNothingIsSent) {
    Run({"plugin Corvane", "virtual-time on", "board brontal-g COM3", "port port=2"});
    ASSERT_TRUE(
        w32test::vport::FailNext(3, w32test::vport::CallKind::Open, 100, ERROR_ACCESS_DENIED));
    Run("download \"" + File("small.hex") + "\"");
    Run("board-log");
    EXPECT_EQ(m_session.Finish(), 0);
    const std::string text = Output();
    EXPECT_NE(text.find("message \"\\nError changing to Program Mode, ec=1059\"\n"
                        "result 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("board on COM3:\nsession end"), std::string::npos) << text;
}

TEST(CorvaneProgram, AProgramBuiltFromCIsInTheBoardsRamAfterTheDownload) {
    const std::string program = CORVANE_PROGRAM;
    if (program.empty()) {
        GTEST_SKIP() << "sdcc was not found: no program was built";
    }
    int exitCode = -1;
    std::string output = RunSession(Download("", loadhosttest::GenericPath(program)), &exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
    EXPECT_NE(output.find("board memory equals "), std::string::npos) << output;
    size_t notice = output.find(": start notice\n");
    ASSERT_NE(notice, std::string::npos) << output;
    EXPECT_EQ(output.find(": start notice\n", notice + 1), std::string::npos) << output;
    // 1 after the parse, 10 before the writes, rising through the writes and the read-back, and
    // 1 again once the program was started.
    std::vector<int> percents = loadhosttest::Percentages(output);
    ASSERT_GE(percents.size(), 4u) << output;
    EXPECT_EQ(percents.front(), 1);
    EXPECT_EQ(percents.back(), 1);
    for (size_t i = 2; i + 1 < percents.size(); ++i) {
        EXPECT_LE(percents[i - 1], percents[i]) << "call " << i;
    }
    EXPECT_EQ(percents[1], 10);
    EXPECT_LE(percents[percents.size() - 2], 99);
}

}  // namespace
