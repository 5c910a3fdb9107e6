// Whole debugging sessions with the Yardlow plug-in in the stand-in debugger host, against the
// debug board that runs the program: each sessions/NAME.script runs in simhost and its output,
// with the exit code, must equal sessions/NAME.expected.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "simhost/session_transcript.h"

namespace {

class YardlowSession : public ::testing::TestWithParam<std::string> {};

TEST_P(YardlowSession, OutputMatchesTheExpectedTranscript) {
    simhosttest::ExpectTranscript(
        std::filesystem::path(FWT_SOURCE_DIR) / "targets/yardlow/tests/sessions", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Sessions, YardlowSession,
                         ::testing::Values("factory", "stepping", "breakpoints", "memory",
                                           "misbehaviours", "refused_loads", "stops", "pic_boards",
                                           "limits"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
