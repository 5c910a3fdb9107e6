// Whole loadhost sessions against the test plug-in and its board: each transcripts/NAME.script is
// run and its output, followed by the exit code, must equal transcripts/NAME.expected line for
// line. With LOADHOST_UPDATE_TRANSCRIPTS=1 in the environment the expected files are rewritten.
#include <gtest/gtest.h>

#include "loadhost/session_support.h"

namespace {

std::filesystem::path TranscriptFolder() {
    return std::filesystem::path(FWT_SOURCE_DIR) / "hosts/loadhost/tests/transcripts";
}

class Transcript : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcript, SessionOutputMatchesTheExpectedTranscript) {
    loadhosttest::ExpectTranscript(TranscriptFolder(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Scripts, Transcript,
                         ::testing::ValuesIn(loadhosttest::ScriptNames(TranscriptFolder())),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
