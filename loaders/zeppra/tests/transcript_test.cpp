// Zeppra's sessions in the stand-in host: each transcripts/NAME.script against its NAME.expected.
#include <gtest/gtest.h>

#include "loadhost/session_support.h"

namespace {

std::filesystem::path Folder() {
    return std::filesystem::path(FWT_SOURCE_DIR) / "loaders/zeppra/tests/transcripts";
}

class ZeppraTranscript : public ::testing::TestWithParam<std::string> {};

TEST_P(ZeppraTranscript, MatchesTheExpectedOutput) {
    loadhosttest::ExpectTranscript(Folder(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Scripts, ZeppraTranscript,
                         ::testing::ValuesIn(loadhosttest::ScriptNames(Folder())),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
