// Whole debugging sessions with the Pelmor plug-in in the stand-in debugger host, against the
// monitor board that runs the program: each sessions/NAME.script runs in simhost and its output,
// with the exit code, must equal sessions/NAME.expected.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "simhost/session_transcript.h"

namespace {

class PelmorSession : public ::testing::TestWithParam<std::string> {};

TEST_P(PelmorSession, OutputMatchesTheExpectedTranscript) {
    simhosttest::ExpectTranscript(
        std::filesystem::path(FWT_SOURCE_DIR) / "targets/pelmor/tests/sessions", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Sessions, PelmorSession,
                         ::testing::Values("factory", "stepping", "breakpoints", "memory",
                                           "downloads", "misbehaviours", "runaways", "limits"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
