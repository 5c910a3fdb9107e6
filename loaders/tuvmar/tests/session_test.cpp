// Tuvmar's downloads as whole sessions: a cancel at every callback, run mode on the host's own
// port, a failing line of the host's port, and a program built from C into the monitor's memory.
#include <gtest/gtest.h>

#include "loadhost/download_cases.h"

namespace {

using loadhosttest::CancelCase;
using loadhosttest::CancelRun;
using loadhosttest::DownloadLines;
using loadhosttest::ExpectStopOnlyInTheBytes;
using loadhosttest::Lines;
using loadhosttest::ProgramCase;
using loadhosttest::Rising;

const auto File = loadhosttest::TranscriptFiles(FWT_SOURCE_DIR, "tuvmar");

const Lines kSetup = {"plugin Tuvmar", "virtual-time on", "board rom-monitor COM3", "port port=2"};

[[maybe_unused]] const bool kRegistered = loadhosttest::RegisterCases(
    __FILE__, __LINE__,
    // Tuvmar's messages take no cancel; a percentage does (and the start notice's record is the
    // one the percentages use): the bytes stop there, and the download still answers 0.
    CancelCase{
        "TuvmarCancel", "AtEveryCallbackTheDownloadAnswersZeroAndStopsOnlyInItsBytes",
        [](const std::string& extra) { return DownloadLines(kSetup, extra, File("small.hex")); }, 0,
        true,
        [](const CancelRun& run) {
            ExpectStopOnlyInTheBytes(run);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            for (size_t i = 0; i < run.callbacks.size(); ++i) {
                if (i != run.at - 1) {
                    EXPECT_EQ(run.callbacks[i], run.uncancelled[i]);
                }
            }
        }},
    ProgramCase{"TuvmarProgram",
                "AProgramBuiltFromCIsInTheMonitorsMemoryAfterTheDownload",
                TUVMAR_PROGRAM,
                kSetup,
                {"board-log"},
                100,
                Rising::NeverFalling,
                [](const std::string& output, const std::vector<int>& percents) {
                    EXPECT_EQ(output.find("the board also holds"), std::string::npos) << output;
                    EXPECT_NE(output.find("monitor: load complete"), std::string::npos) << output;
                    EXPECT_EQ(output.find("bad line"), std::string::npos) << output;
                    EXPECT_EQ(percents.front(), 1);
                    EXPECT_EQ(percents.back(), 99);
                }});

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

}  // namespace
