// Wendra's downloads as whole sessions: a cancel at every callback, a port that does not open,
// mode switches that fail, and a program built from C into the board.
#include <gtest/gtest.h>

#include "loadhost/download_cases.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::CancelCase;
using loadhosttest::CancelRun;
using loadhosttest::Count;
using loadhosttest::DownloadLines;
using loadhosttest::FailedSwitchCase;
using loadhosttest::Holds;
using loadhosttest::Lines;
using loadhosttest::ProgramCase;
using loadhosttest::Rising;
using loadhosttest::UnopenedPortCase;

const auto File = loadhosttest::TranscriptFiles(FWT_SOURCE_DIR, "wendra");

Lines SessionStart(const std::string& port) {
    return {"plugin Wendra", "virtual-time on", "board corvanec COM3", port};
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

[[maybe_unused]] const bool kRegistered = loadhosttest::RegisterCases(
    __FILE__, __LINE__,
    CancelCase{"WendraCancel", "AtEveryCallbackTheDownloadEndsDefinedWithTheBoardReleased",
               [](const std::string& extra) {
                   Lines lines =
                       DownloadLines(SessionStart("port port=2"), extra, File("relocated.hex"));
                   lines.push_back("board-log");
                   return lines;
               },
               10, false,
               [](const CancelRun& run) {
                   const std::string cancelLine =
                       "message \"Download is cancelled by the users request.\"";
                   const std::string& output = run.output;
                   // No callback after the return, the port closed.
                   EXPECT_NE(output.find("port COM3 closed\n"), std::string::npos) << output;
                   // The board always gets the run command and the RTS pulse at the end.
                   EXPECT_NE(output.find("host> 52 'R'\n"), std::string::npos) << output;
                   EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
                   ASSERT_GE(run.callbacks.size(), run.at) << output;
                   for (size_t i = 0; i + 1 < run.at; ++i) {
                       EXPECT_EQ(run.callbacks[i], run.uncancelled[i]);
                   }
                   EXPECT_EQ(run.callbacks[run.at - 1], run.answered + " -> cancel");
                   if (!TakesACancel(run.answered)) {
                       EXPECT_EQ(run.callbacks.size(), run.uncancelled.size()) << output;
                       EXPECT_EQ(Count(output, cancelLine), 0u) << output;
                       return;
                   }
                   EXPECT_EQ(Count(output, cancelLine), 1u) << output;
                   EXPECT_NE(run.callbacks.back().find(cancelLine), std::string::npos) << output;
                   // Once the records began, a cancel stops them but the boot vector is still
                   // written.
                   bool inRecords = Holds(run.answered, "Success writing") ||
                                    Holds(run.answered, ": percent ") ||
                                    Holds(run.answered, "start notice");
                   EXPECT_EQ(output.find("Success Special Bytes Programming") != std::string::npos,
                             inRecords)
                       << output;
               }},
    UnopenedPortCase{"WendraPort",
                     "APortThatDoesNotOpenFailsProgramModeAndNothingIsSent",
                     SessionStart("port port=2"),
                     File("small.hex"),
                     100,
                     {"callback 1: message \"Error changing to Program Mode, ec=1059, "
                      "WIN32 Error=5(",
                      "result 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"}},
    FailedSwitchCase{"WendraPort", "FailingModeSwitchesAnswerTheirCodesAndRelayToNobody",
                     SessionStart("port port=2 handle=open"), ""},
    ProgramCase{"WendraProgram",
                "AProgramBuiltFromCIsInTheBoardsFlashAfterTheDownload",
                WENDRA_PROGRAM,
                SessionStart("port port=2"),
                {},
                2,
                Rising::Strictly,
                [](const std::string& output, const std::vector<int>& percents) {
                    std::vector<std::string> callbacks = CallbackLines(output);
                    ASSERT_FALSE(callbacks.empty());
                    EXPECT_EQ(callbacks[0], "callback 1: start notice");
                    EXPECT_GE(percents.front(), 1);
                    EXPECT_LE(percents.back(), 99);
                }});

}  // namespace
