// conredir on Windows: runs its arguments as a command line in the mode the system's version asks
// for.
#include "command_line.h"
#include "redirect_windows.h"

int main(int argc, char** argv) {
    const std::string commandLine = conredir::JoinArguments(argc - 1, argv + 1);
    const conredir::Mode mode = conredir::ModeForVersionClass(conredir::QueryWindowsVersionClass());
    return conredir::RunRedirect(commandLine, mode);
}
