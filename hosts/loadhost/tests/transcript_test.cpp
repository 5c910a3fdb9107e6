// Whole loadhost sessions against the test plug-in and its board: each transcripts/NAME.script is
// run and its output, followed by the exit code, must equal transcripts/NAME.expected line for
// line. With LOADHOST_UPDATE_TRANSCRIPTS=1 in the environment the expected files are rewritten.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "session.h"

namespace {

namespace fs = std::filesystem;

fs::path TranscriptFolder() {
    return fs::path(FWT_SOURCE_DIR) / "hosts/loadhost/tests/transcripts";
}

std::vector<std::string> ScriptNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(TranscriptFolder(), error)) {
        if (entry.path().extension() == ".script") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

class Transcript : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcript, SessionOutputMatchesTheExpectedTranscript) {
    // Paths inside the scripts are relative to their folder.
    fs::path previous = fs::current_path();
    fs::current_path(TranscriptFolder());
    std::ifstream script(GetParam() + ".script", std::ios::binary);
    ASSERT_TRUE(script.is_open());
    std::ostringstream output;
    int exitCode = 0;
    {
        loadhost::Session session(output);
        session.RunScript(script);
        exitCode = session.Finish();
    }
    output << "exit code " << exitCode << "\n";
    fs::path expectedPath = GetParam() + ".expected";
    const char* update = std::getenv("LOADHOST_UPDATE_TRANSCRIPTS");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(expectedPath, std::ios::binary) << output.str();
    }
    std::vector<std::string> actual = Lines(output.str());
    std::vector<std::string> expected = Lines(ReadFile(expectedPath));
    fs::current_path(previous);
    for (size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i])
            << "first difference at line " << i + 1 << "; whole output:\n"
            << output.str();
    }
    EXPECT_EQ(actual.size(), expected.size()) << "whole output:\n" << output.str();
}

INSTANTIATE_TEST_SUITE_P(Scripts, Transcript, ::testing::ValuesIn(ScriptNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
