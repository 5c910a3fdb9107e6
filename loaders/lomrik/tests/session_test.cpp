// Lomrik's downloads as whole sessions: a cancel at every callback, DTR that cannot be set,
// failing mode switches, and a program built from C into the kit board's memory.
#include <gtest/gtest.h>

#include "loadhost/download_cases.h"

namespace {

using loadhosttest::CancelCase;
using loadhosttest::DownloadLines;
using loadhosttest::ExpectStopOnlyInTheBytes;
using loadhosttest::FailedSwitchCase;
using loadhosttest::Lines;
using loadhosttest::ProgramCase;
using loadhosttest::Rising;
using loadhosttest::UnsetLineCase;

const auto File = loadhosttest::TranscriptFiles(FWT_SOURCE_DIR, "lomrik");

Lines SessionStart(const std::string& port) {
    return {"plugin Lomrik", "virtual-time on", "board saltrem-a COM3 line=dtr", port};
}

[[maybe_unused]] const bool kRegistered = loadhosttest::RegisterCases(
    __FILE__, __LINE__,
    // Lomrik's messages take no cancel; a percentage does (and the start notice's record is the
    // one the percentages use): the bytes stop there without a word, and the download still
    // answers 0.
    CancelCase{"LomrikCancel", "AtEveryCallbackTheDownloadAnswersZeroAndStopsOnlyInItsBytes",
               [](const std::string& extra) {
                   return DownloadLines(SessionStart("port port=2"), extra, File("small.hex"));
               },
               0, true, ExpectStopOnlyInTheBytes},
    UnsetLineCase{"LomrikPort", "DtrThatCannotBeSetFailsProgramModeWithTheSystemsText",
                  SessionStart("port port=2"), File("small.hex"),
                  "callback 1: message \"Error changing to Program Mode, ec=1043, "
                  "WIN32 Error=31("},
    FailedSwitchCase{"LomrikPort", "FailingModeSwitchesAnswerTheirCodesAndRelayToNobody",
                     SessionStart("port port=2 handle=open"), " dtr "},
    ProgramCase{"LomrikProgram",
                "AProgramBuiltFromCIsInTheBoardsMemoryAfterTheDownload",
                LOMRIK_PROGRAM,
                SessionStart("port port=2"),
                {},
                100,
                Rising::NeverFalling,
                nullptr});

}  // namespace
