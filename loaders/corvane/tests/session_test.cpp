// Corvane's downloads as whole sessions: a cancel at every callback changes nothing, a port that
// does not open, and a program built from C into the board's RAM.
#include <gtest/gtest.h>

#include "loadhost/download_cases.h"

namespace {

using loadhosttest::CancelCase;
using loadhosttest::CancelRun;
using loadhosttest::Lines;
using loadhosttest::ProgramCase;
using loadhosttest::Rising;
using loadhosttest::UnopenedPortCase;

const auto File = loadhosttest::TranscriptFiles(FWT_SOURCE_DIR, "corvane");

const Lines kSetup = {"plugin Corvane", "virtual-time on", "board brontal-g COM3", "port port=2"};

Lines Download(const std::string& extra, const std::string& file) {
    Lines lines = loadhosttest::DownloadLines(kSetup, extra, file);
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

[[maybe_unused]] const bool kRegistered = loadhosttest::RegisterCases(
    __FILE__, __LINE__,
    CancelCase{
        "CorvaneCancel", "NoCallbackStopsTheDownload",
        [](const std::string& extra) { return Download(extra, File("small.hex")); }, 50, true,
        [](const CancelRun& run) {
            EXPECT_NE(run.output.find("board memory equals"), std::string::npos) << run.output;
            ASSERT_EQ(run.callbacks.size(), run.uncancelled.size()) << run.output;
            for (size_t i = 0; i < run.callbacks.size(); ++i) {
                EXPECT_EQ(Unanswered(run.callbacks[i]), run.uncancelled[i]);
            }
            EXPECT_NE(run.callbacks[run.at - 1], run.answered);
        }},
    UnopenedPortCase{"CorvanePort",
                     "APortThatDoesNotOpenFailsProgramModeAndNothingIsSent",
                     kSetup,
                     File("small.hex"),
                     100,
                     {"message \"\\nError changing to Program Mode, ec=1059\"\n"
                      "result 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"}},
    ProgramCase{"CorvaneProgram",
                "AProgramBuiltFromCIsInTheBoardsRamAfterTheDownload",
                CORVANE_PROGRAM,
                kSetup,
                {},
                4,
                Rising::AsTheCheckSays,
                [](const std::string& output, const std::vector<int>& percents) {
                    size_t notice = output.find(": start notice\n");
                    ASSERT_NE(notice, std::string::npos) << output;
                    EXPECT_EQ(output.find(": start notice\n", notice + 1), std::string::npos)
                        << output;
                    // 1 after the parse, 10 before the writes, rising through the writes
                    // and the read-back, and 1 again once the program was started.
                    EXPECT_EQ(percents.front(), 1);
                    EXPECT_EQ(percents.back(), 1);
                    for (size_t i = 2; i + 1 < percents.size(); ++i) {
                        EXPECT_LE(percents[i - 1], percents[i]) << "call " << i;
                    }
                    EXPECT_EQ(percents[1], 10);
                    EXPECT_LE(percents[percents.size() - 2], 99);
                }});

}  // namespace
