// What the loaders' session tests share: their files, the lines of a download, counting in the
// output, and a fixture that runs a session line by line.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "loadhost/session_support.h"
#include "session.h"

namespace loadhosttest {

// loaders/`loader`/tests/transcripts/`name` under `sourceDir`, as a script line quotes it.
inline std::string TranscriptFile(const std::filesystem::path& sourceDir, const std::string& loader,
                                  const std::string& name) {
    return GenericPath(sourceDir / "loaders" / loader / "tests/transcripts" / name);
}

// TranscriptFile of `loader` for each name it is given.
inline std::function<std::string(const std::string&)> TranscriptFiles(
    std::filesystem::path sourceDir, std::string loader) {
    return [sourceDir, loader](const std::string& name) {
        return TranscriptFile(sourceDir, loader, name);
    };
}

// The `setup` lines, then `extra` if there is one, then the download of `file`.
inline std::vector<std::string> DownloadLines(std::vector<std::string> setup,
                                              const std::string& extra, const std::string& file) {
    if (!extra.empty()) {
        setup.push_back(extra);
    }
    setup.push_back("download \"" + file + "\"");
    return setup;
}

// How often `what` occurs in `text`.
inline size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

inline bool Holds(const std::string& line, const char* what) {
    return line.find(what) != std::string::npos;
}

// The number (from 1) of the first percentage among `callbacks`, 0 without one.
inline size_t FirstPercent(const std::vector<std::string>& callbacks) {
    for (size_t i = 0; i < callbacks.size(); ++i) {
        if (Holds(callbacks[i], ": percent ")) {
            return i + 1;
        }
    }
    return 0;
}

// A session that a test feeds line by line, so that port faults can be set between the lines.
class SessionTest : public ::testing::Test {
protected:
    void Run(const std::string& line) { m_session.RunLine(line, ++m_line); }
    void Run(std::initializer_list<std::string> lines) {
        for (const std::string& line : lines) {
            Run(line);
        }
    }
    std::string Output() const { return m_output.str(); }

    std::ostringstream m_output;
    loadhost::Session m_session{m_output};
    int m_line = 0;
};

}  // namespace loadhosttest
