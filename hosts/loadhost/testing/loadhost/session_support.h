// Running loadhost sessions from test code: whole scripts compared with their expected
// transcripts, single sessions of lines, and reading their output.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <regex>
#include <string>
#include <vector>

#include "session.h"

namespace loadhosttest {

// With '/' between folders on every system, so that it can be quoted in a script line.
inline std::string GenericPath(const std::filesystem::path& path) { return path.generic_string(); }

// The output of a session of `lines`, its exit code in *exitCode.
inline std::string RunSession(const std::vector<std::string>& lines, int* exitCode) {
    std::ostringstream output;
    loadhost::Session session(output);
    int number = 0;
    for (const std::string& line : lines) {
        session.RunLine(line, ++number);
    }
    *exitCode = session.Finish();
    return output.str();
}

inline std::vector<std::string> OutputLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// The "callback N: ..." lines, in order.
inline std::vector<std::string> CallbackLines(const std::string& text) {
    std::vector<std::string> callbacks;
    for (const std::string& line : OutputLines(text)) {
        if (line.compare(0, 9, "callback ") == 0) {
            callbacks.push_back(line);
        }
    }
    return callbacks;
}

// The percentages of "callback N: percent P" lines, in order.
inline std::vector<int> Percentages(const std::string& text) {
    std::vector<int> percents;
    for (const std::string& line : CallbackLines(text)) {
        size_t at = line.find(": percent ");
        if (at != std::string::npos) {
            percents.push_back(std::atoi(line.c_str() + at + 10));
        }
    }
    return percents;
}

// The names (without .script) of the scripts in `folder`, sorted.
inline std::vector<std::string> ScriptNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".script") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The transcripts hold the export lines of the builds that export plain names ("Download:
// WENDRA_Download (plain name)"). On the 32-bit ABI a loader exports its decorated names
// ("_WENDRA_Download@12", the banner also "?WENDRA_Copyright@@YGHPAPBD@Z"): such a line reads as
// the plain one there, and a plain name found there stays different, since a 32-bit loader
// without its decorated names is broken.
inline std::string AsTranscriptExportLine(const std::string& line) {
#if defined(_WIN32) && !defined(_WIN64)
    static const std::regex decorated(
        R"(^(\w+): (?:_(\w+)@\d+|\?(\w+)@@YGHPAPBD@Z) \(decorated name\)$)");
    std::smatch match;
    if (std::regex_match(line, match, decorated)) {
        return match[1].str() + ": " + match[2].str() + match[3].str() + " (plain name)";
    }
    const std::string plain = " (plain name)";
    if (line.size() > plain.size() &&
        line.compare(line.size() - plain.size(), plain.size(), plain) == 0) {
        return line + " on the 32-bit ABI, where decorated names are exported";
    }
#endif
    return line;
}

// Runs `folder`/NAME.script with `folder` as the current folder (paths in scripts are relative
// to it) and compares its output, followed by "exit code N", with NAME.expected line for line.
// With LOADHOST_UPDATE_TRANSCRIPTS=1 in the environment the expected file is rewritten.
inline void ExpectTranscript(const std::filesystem::path& folder, const std::string& name) {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::ifstream script(name + ".script", std::ios::binary);
    ASSERT_TRUE(script.is_open()) << name;
    std::ostringstream output;
    int exitCode = 0;
    {
        loadhost::Session session(output);
        session.RunScript(script);
        exitCode = session.Finish();
    }
    output << "exit code " << exitCode << "\n";
    const std::string expectedPath = name + ".expected";
    const char* update = std::getenv("LOADHOST_UPDATE_TRANSCRIPTS");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(expectedPath, std::ios::binary) << output.str();
    }
    std::ifstream expectedFile(expectedPath, std::ios::binary);
    std::ostringstream expectedText;
    expectedText << expectedFile.rdbuf();
    std::filesystem::current_path(previous);
    std::vector<std::string> actual = OutputLines(output.str());
    for (std::string& line : actual) {
        line = AsTranscriptExportLine(line);
    }
    std::vector<std::string> expected = OutputLines(expectedText.str());
    for (size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i])
            << "first difference at line " << i + 1 << "; whole output:\n"
            << output.str();
    }
    EXPECT_EQ(actual.size(), expected.size()) << "whole output:\n" << output.str();
}

}  // namespace loadhosttest
