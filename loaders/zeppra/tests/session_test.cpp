// Zeppra's downloads as whole sessions: a cancel at every callback with the result its place
// gives, a cancel of the set-type tries, the program-mode line and the purge failing, failing
// mode switches, and a program built from C into the board's memory.
#include <gtest/gtest.h>

#include "loadhost/download_cases.h"

namespace {

using loadhosttest::CancelCase;
using loadhosttest::CancelRun;
using loadhosttest::Count;
using loadhosttest::FailedSwitchCase;
using loadhosttest::Holds;
using loadhosttest::Lines;
using loadhosttest::ProgramCase;
using loadhosttest::Rising;
using loadhosttest::RunSession;
using loadhosttest::UnsetLineCase;

const auto File = loadhosttest::TranscriptFiles(FWT_SOURCE_DIR, "zeppra");

Lines SessionStart(const std::string& board, const std::string& port) {
    return {"plugin Zeppra", "virtual-time on", "board saltrem-a-pic COM3" + board, port};
}

Lines Download(const std::string& board, const std::string& extra, const std::string& file) {
    Lines lines =
        loadhosttest::DownloadLines(SessionStart(" " + board, "port port=2"), extra, file);
    lines.push_back("board-log");
    return lines;
}

const char kCancelLine[] = "message \"Download is cancelled by the users request.\"";

[[maybe_unused]] const bool kRegistered = loadhosttest::RegisterCases(
    __FILE__, __LINE__,
    // Every download that reaches the board's commands ends with 'H' and answers its write's
    // result (0); a cancel in a percentage (or in the start notice, whose record the percentages
    // use) stops the bytes, one answered to the set-type text sends none of them; the other
    // messages take none.
    CancelCase{"ZeppraCancel", "AtEveryCallbackTheEndCommandGoesAndTheDownloadAnswersZero",
               [](const std::string& extra) { return Download("", extra, File("small.hex")); }, 40,
               true,
               [](const CancelRun& run) {
                   const std::string& output = run.output;
                   EXPECT_EQ(Count(output, "host> 48 'H'"), 1u) << output;
                   ASSERT_GE(run.callbacks.size(), run.at) << output;
                   EXPECT_EQ(run.callbacks[run.at - 1], run.answered + " -> cancel");
                   const bool taken = Holds(run.answered, "setting type") ||
                                      Holds(run.answered, ": percent ") ||
                                      Holds(run.answered, "start notice");
                   if (!taken) {
                       EXPECT_EQ(run.callbacks.size(), run.uncancelled.size()) << output;
                       EXPECT_EQ(Count(output, kCancelLine), 0u) << output;
                       return;
                   }
                   EXPECT_NE(run.callbacks.back().find(kCancelLine), std::string::npos) << output;
                   EXPECT_EQ(Count(output, kCancelLine), 1u) << output;
                   // After a cancel of the tries no byte of the file goes: the load gets none.
                   EXPECT_EQ(Holds(run.answered, "setting type"),
                             output.find("Downloading '") == std::string::npos)
                       << output;
               }},
    UnsetLineCase{"ZeppraPort", "RtsThatCannotBeSetFailsProgramModeWithTheSystemsText",
                  SessionStart("", "port port=2"), File("small.hex"),
                  "callback 1: message \"Error changing to Program Mode, ec=1041, "
                  "WIN32 Error=31("},
    FailedSwitchCase{"ZeppraPort", "FailingModeSwitchesAnswerTheirCodesAndRelayToNobody",
                     SessionStart("", "port port=2 handle=open"), ""},
    ProgramCase{"ZeppraProgram",
                "AProgramBuiltFromCIsInTheBoardsMemoryAfterTheDownload",
                ZEPPRA_PROGRAM,
                SessionStart(" baud=19200", "port port=2 baud=19200"),
                {},
                100,
                Rising::NeverFalling,
                nullptr});

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

// The suite's shared cases run in the fixture that feeds a session line by line.
using ZeppraPort = loadhosttest::SessionTest;

TEST_F(ZeppraPort, AReceiveBufferThatCannotBePurgedEndsBeforeTheFrame) {
    for (const std::string& line : SessionStart("", "port port=2")) {
        Run(line);
    }
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

}  // namespace
