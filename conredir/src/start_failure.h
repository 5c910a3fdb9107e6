// What conredir says on standard error when it cannot start the child (its standard output
// carries the child's output only).
#pragma once

#include <string>

namespace conredir {

// The line for a command line that names no program (conredir run without arguments).
std::string NoProgramText();

// The line for a child that could not be started: the program the command line names and the
// system's reason ("No such file or directory", "The system cannot find the file specified.").
// A command line without a program gets NoProgramText.
std::string StartFailureText(const std::string& commandLine, const std::string& reason);

}  // namespace conredir
