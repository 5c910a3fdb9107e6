// Tuvmar's downloads as whole sessions: a cancel at every callback, run mode on the host's own
// port, a failing line of the host's port, and a program built from C into the monitor's memory.
#include <gtest/gtest.h>

#include "loadhost/session_fixture.h"
#include "w32test/vport.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::FirstPercent;
using loadhosttest::RunSession;

std::string File(const std::string& name) {
    return loadhosttest::TranscriptFile(FWT_SOURCE_DIR, "tuvmar", name);
}

std::vector<std::string> Download(const std::string& extra, const std::string& file) {
    return loadhosttest::DownloadLines(
        {"plugin Tuvmar", "virtual-time on", "board rom-monitor COM3", "port port=2"}, extra, file);
}

// Tuvmar's messages take no cancel; a percentage does (and the start notice's record is the one
// the percentages use): the bytes stop there, and the download still answers 0.
TEST(TuvmarCancel, AtEveryCallbackTheDownloadAnswersZeroAndStopsOnlyInItsBytes) {
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
        for (size_t i = 0; i < callbacks.size(); ++i) {
            if (i != at - 1) {
                EXPECT_EQ(callbacks[i], uncancelled[i]);
            }
        }
    }
}

class TuvmarPort : public loadhosttest::SessionTest {};

// Tuvmar closes the port after every switch, also the host's own handle, in program mode too: a
// host that counts on it closes nothing and opens the port by number for its next call.
TEST_F(TuvmarPort, EverySwitchClosesThePortAlsoOnTheHostsOwnHandle) {
    Run({"plugin Tuvmar", "virtual-time on", "board rom-monitor COM3", "port port=2 handle=open",
         "setmode 0", "download \"" + File("small.hex") + "\"",
         "port port=2 handle=open \"run=G 1000\"", "board-log", "setmode 1", "board-log"});
    EXPECT_EQ(m_session.Finish(), 0) << Output();
    const std::string text = Output();
    const std::string closedByPlugin =
        "result 0 OK\nport COM3 closed by the plug-in, with the host's handle\n";
    EXPECT_NE(text.find("> setmode 0\n" + closedByPlugin), std::string::npos) << text;
    // The download opened the port by number: the host's handle no longer held it.
    const size_t download = text.find("> download ");
    ASSERT_NE(download, std::string::npos) << text;
    EXPECT_EQ(text.find("result", download), text.find("result 0 OK\nport COM3 closed\n", download))
        << text;
    EXPECT_NE(text.find("> setmode 1\nresult 0 OK\n"), std::string::npos) << text;
    const size_t runMode = text.find("> setmode 1\n");
    ASSERT_NE(runMode, std::string::npos) << text;
    EXPECT_NE(text.find(closedByPlugin, runMode), std::string::npos) << text;
    // The run command went out through the host's handle, which the plug-in then closed.
    const size_t command = text.find("host> 47 'G'", runMode);
    ASSERT_NE(command, std::string::npos) << text;
    EXPECT_NE(text.find("host> 0D\n", command), std::string::npos) << text;
    EXPECT_NE(text.find(" close\n", command), std::string::npos) << text;
}

TEST_F(TuvmarPort, ACommandThatCannotBeWrittenEndsWithItsCodeBeforeAnyByte) {
    Run({"plugin Tuvmar", "virtual-time on", "board rom-monitor COM3", "port port=2"});
    // The monitor has no line to switch: the first write is the CR.
    Run("board-log");
    ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Write, 1, ERROR_GEN_FAILURE));
    Run("download \"" + File("small.hex") + "\"");
    Run("board-log");
    EXPECT_EQ(m_session.Finish(), 0);
    const std::string text = Output();
    EXPECT_NE(text.find("message \"Error writing to port, ec=1011\"\n"
                        "result 2160 LDR_ERR_PORT_WRITE\nport COM3 closed\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("host>"), std::string::npos) << text;
}

TEST(TuvmarProgram, AProgramBuiltFromCIsInTheMonitorsMemoryAfterTheDownload) {
    const std::string program = TUVMAR_PROGRAM;
    if (program.empty()) {
        GTEST_SKIP() << "sdcc was not found: no program was built";
    }
    const std::string path = loadhosttest::GenericPath(program);
    int exitCode = -1;
    std::string output =
        RunSession({"plugin Tuvmar", "virtual-time on", "board rom-monitor COM3", "port port=2",
                    "download \"" + path + "\"", "board-check \"" + path + "\"", "board-log"},
                   &exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
    EXPECT_NE(output.find("board memory equals "), std::string::npos) << output;
    EXPECT_EQ(output.find("the board also holds"), std::string::npos) << output;
    EXPECT_NE(output.find("monitor: load complete"), std::string::npos) << output;
    EXPECT_EQ(output.find("bad line"), std::string::npos) << output;
    std::vector<int> percents = loadhosttest::Percentages(output);
    ASSERT_GE(percents.size(), 100u) << output;
    EXPECT_EQ(percents.front(), 1);
    EXPECT_EQ(percents.back(), 99);
    for (size_t i = 1; i < percents.size(); ++i) {
        EXPECT_LE(percents[i - 1], percents[i]) << "call " << i;
    }
}

}  // namespace
