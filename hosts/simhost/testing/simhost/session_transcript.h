// Running simhost scripts from test code and comparing their output with the expected transcript.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "session.h"

namespace simhosttest {

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The output of `folder`/NAME.script followed by "exit code N", run with `folder` as the current
// folder because paths in a script are relative to its own.
inline std::string RunScript(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::ifstream script(name + ".script", std::ios::binary);
    std::ostringstream output;
    if (!script.is_open()) {
        output << "cannot read " << name << ".script\n";
    } else {
        simhost::Session session(output);
        session.RunScript(script);
        const int exitCode = session.Finish();  // its closing line comes first
        output << "exit code " << exitCode << "\n";
    }
    std::filesystem::current_path(previous);
    return output.str();
}

// Runs `folder`/NAME.script and compares its output line for line with NAME.expected.
// SIMHOST_UPDATE_TRANSCRIPTS=1 writes the output as the new expected transcript.
inline void ExpectTranscript(const std::filesystem::path& folder, const std::string& name) {
    const std::string output = RunScript(folder, name);
    const std::filesystem::path expectedPath = folder / (name + ".expected");
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

}  // namespace simhosttest
