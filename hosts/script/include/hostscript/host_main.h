// The command line of a stand-in host: `NAME [SCRIPT|-]`, with --help and -h.
#pragma once

#include <functional>
#include <istream>

namespace hostscript {

struct HostProgram {
    const char* name;   // the program's name, which starts its error lines
    const char* usage;  // printed for --help and -h, and for too many words
};

// Runs `run` on the script the command line names (standard input for '-' or none), with the
// script's path, or null for standard input, and returns its exit code once standard output is
// flushed; 0 after printing the usage asked for, 2 for too many words or a script that cannot be
// opened.
int RunHostMain(int argc, char** argv, const HostProgram& program,
                const std::function<int(std::istream& script, const char* path)>& run);

}  // namespace hostscript
