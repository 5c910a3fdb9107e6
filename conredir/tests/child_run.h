// Running a program from a test and collecting its standard output and exit code.
#pragma once

#include <string>
#include <vector>

namespace conredir_test {

struct Finished {
    std::string output;
    std::string errors;  // standard error
    int exitCode = 0;
};

// The path of a program built beside the test program (".exe" is added on Windows).
std::string ProgramPath(const std::string& name);

// Runs words[0] with the later words as its arguments, its standard output and error into pipes,
// and waits for it. On Windows the program gets a console of its own without a window, as a caller
// that reads its output through a pipe gives it.
Finished RunProgram(const std::vector<std::string>& words);

#if defined(_WIN32)
// The same, for a program that gets no console at all.
Finished RunWithoutConsole(const std::vector<std::string>& words);
#else
// A program left running, its standard output in a pipe.
struct Started {
    int pid = -1;
    int output = -1;  // the pipe's read end, the caller's to close
};
Started StartProgram(const std::vector<std::string>& words);
// Reads `fd` up to and including the next line end, waiting at most `seconds`; false on time-out,
// end of file or error.
bool ReadLine(int fd, std::string* line, int seconds);
#endif

// The lines of `output`, line ends ("\r\n" or "\n") removed.
std::vector<std::string> Lines(const std::string& output);

}  // namespace conredir_test
