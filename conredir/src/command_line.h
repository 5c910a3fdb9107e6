// The child's command line: how conredir joins its arguments, and how a Windows program splits it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace conredir {

// Size of the command-line buffer handed to the system, its terminating zero included.
constexpr std::size_t kCommandLineSize = 4096;

// Joins `count` arguments into one command line: each argument is followed by one blank while the
// running total of lengths plus blanks stays below kCommandLineSize; the argument that would reach
// it is dropped together with every argument after it. Nothing is quoted, so an argument holding
// blanks reaches the child as several words, exactly as the caller typed it.
std::string JoinArguments(int count, const char* const* arguments);

// Splits a command line into the words a Windows program receives as its arguments: the first
// word is the program name (quotes group, backslashes are plain); later words follow the C
// runtime's rules for quotes and the backslashes in front of them. Blanks and tabs separate words.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace conredir
