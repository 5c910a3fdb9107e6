// Running a host program on a script with a bound in real time, its output kept in files.
#pragma once

#include <string>

namespace sessionfuzz {

struct RunOutcome {
    bool finished = false;  // false: killed at the bound
    int exitCode = -1;      // when it finished by exiting
    int signal = 0;         // when a signal ended it
    double seconds = 0;     // real time it took
};

// Runs `program` with the one argument `script` in `folder`, standard output into `outPath`,
// standard error into `errPath`; kills it once `boundSeconds` of real time have passed. The
// sanitizers of the child exit with 23 when they report.
RunOutcome RunBounded(const std::string& program, const std::string& script,
                      const std::string& folder, const std::string& outPath,
                      const std::string& errPath, double boundSeconds);

// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& text);

}  // namespace sessionfuzz
