// Running loadhost sessions from test code and reading their output.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "session.h"

namespace loadhosttest {

// With '/' between folders on every system, so that it can be quoted in a script line.
inline std::string TranscriptFile(const std::string& name) {
    return (std::filesystem::path(FWT_SOURCE_DIR) / "hosts/loadhost/tests/transcripts" / name)
        .generic_string();
}

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

}  // namespace loadhosttest
