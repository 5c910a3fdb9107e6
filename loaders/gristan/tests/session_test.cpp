// Gristan's downloads as whole sessions: a cancel at every callback, RTS that cannot be set,
// failing mode switches, and a program built from C into the Gristan board's memory.
#include <gtest/gtest.h>

#include "loadhost/download_cases.h"

namespace {

using loadhosttest::CancelCase;
using loadhosttest::CancelRun;
using loadhosttest::DownloadLines;
using loadhosttest::FailedSwitchCase;
using loadhosttest::Lines;
using loadhosttest::ProgramCase;
using loadhosttest::Rising;
using loadhosttest::StopOf;
using loadhosttest::UnsetLineCase;

const auto File = loadhosttest::TranscriptFiles(FWT_SOURCE_DIR, "gristan");

Lines SessionStart(const std::string& port) {
    return {"plugin Gristan", "virtual-time on", "board saltrem-a COM3", port};
}

[[maybe_unused]] const bool kRegistered = loadhosttest::RegisterCases(
    __FILE__, __LINE__,
    // Gristan's messages take no cancel; a percentage does (and the start notice's record is the
    // one the percentages use): the bytes stop there, the host is told, and the download still
    // answers 0.
    CancelCase{"GristanCancel", "AtEveryCallbackTheDownloadAnswersZeroAndStopsOnlyInItsBytes",
               [](const std::string& extra) {
                   return DownloadLines(SessionStart("port port=2"), extra, File("small.hex"));
               },
               0, true,
               [](const CancelRun& run) {
                   size_t stop = StopOf(run, {": percent "});
                   if (stop == 0) {
                       ASSERT_EQ(run.callbacks.size(), run.uncancelled.size()) << run.output;
                   } else {
                       ASSERT_EQ(run.callbacks.size(), stop + 1) << run.output;
                       EXPECT_EQ(run.callbacks.back(),
                                 "callback " + std::to_string(stop + 1) +
                                     ": message \"Download is cancelled by the users "
                                     "request.\"");
                   }
                   EXPECT_EQ(run.callbacks[run.at - 1], run.answered + " -> cancel");
               }},
    UnsetLineCase{"GristanPort", "RtsThatCannotBeSetFailsProgramModeWithTheSystemsText",
                  SessionStart("port port=2"), File("small.hex"),
                  "callback 1: message \"Error changing to Program Mode, ec=1041, "
                  "WIN32 Error=31("},
    FailedSwitchCase{"GristanPort", "FailingModeSwitchesAnswerTheirCodesAndRelayToNobody",
                     SessionStart("port port=2 handle=open"), " rts "},
    ProgramCase{"GristanProgram",
                "AProgramBuiltFromCIsInTheBoardsMemoryAfterTheDownload",
                GRISTAN_PROGRAM,
                SessionStart("port port=2"),
                {},
                100,
                Rising::NeverFalling,
                nullptr});

}  // namespace
