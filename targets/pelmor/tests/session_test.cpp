// Whole debugging sessions with the Pelmor plug-in in the stand-in debugger host, against the
// monitor board that runs the program: each sessions/NAME.script runs in simhost and its output,
// with the exit code, must equal sessions/NAME.expected.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstdlib>
#include <string>
#include <vector>

#include "session.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSessions = fs::path(FWT_SOURCE_DIR) / "targets/pelmor/tests/sessions";

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string RunSession(const std::string& name) {
    // Paths in a script are relative to its folder.
    const fs::path previous = fs::current_path();
    fs::current_path(kSessions);
    std::ifstream script(name + ".script", std::ios::binary);
    std::ostringstream output;
    if (!script.is_open()) {
        output << "cannot read " << name << ".script\n";
    } else {
        simhost::Session session(output);
        session.RunScript(script);
        const int exitCode = session.Finish();
        output << "exit code " << exitCode << "\n";
    }
    fs::current_path(previous);
    return output.str();
}

class PelmorSession : public ::testing::TestWithParam<std::string> {};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST_P(PelmorSession, OutputMatchesTheExpectedTranscript) {
    const std::string output = RunSession(GetParam());
    const fs::path expectedPath = kSessions / (GetParam() + ".expected");
    // SIMHOST_UPDATE_TRANSCRIPTS=1 writes the output as the new expected transcript.
    const char* update = std::getenv("SIMHOST_UPDATE_TRANSCRIPTS");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(expectedPath, std::ios::binary) << output;
    }
    const std::vector<std::string> actual = Lines(output);
    const std::vector<std::string> expected = Lines(ReadText(expectedPath));
    for (size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i])
            << "first difference at line " << i + 1 << "; whole output:\n"
            << output;
    }
    EXPECT_EQ(actual.size(), expected.size()) << "whole output:\n" << output;
}

INSTANTIATE_TEST_SUITE_P(Sessions, PelmorSession,
                         ::testing::Values("factory", "stepping", "breakpoints", "memory",
                                           "downloads", "misbehaviours"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
