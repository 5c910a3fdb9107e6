// Frandle's sessions in the stand-in host: each transcripts/NAME.script against its NAME.expected.
#include <gtest/gtest.h>

#include "loadhost/session_support.h"

namespace {

std::filesystem::path Folder() {
    return std::filesystem::path(FWT_SOURCE_DIR) / "loaders/frandle/tests/transcripts";
}

class FrandleTranscript : public ::testing::TestWithParam<std::string> {};

TEST_P(FrandleTranscript, MatchesTheExpectedOutput) {
    loadhosttest::ExpectTranscript(Folder(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Scripts, FrandleTranscript,
                         ::testing::ValuesIn(loadhosttest::ScriptNames(Folder())),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
