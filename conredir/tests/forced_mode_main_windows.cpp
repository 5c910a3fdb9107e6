// conredir with a fixed version class, so that tests can run both modes on one system.
#include "command_line.h"
#include "redirect_windows.h"

int main(int argc, char** argv) {
    const std::string commandLine = conredir::JoinArguments(argc - 1, argv + 1);
    return conredir::RunRedirect(commandLine,
                                 conredir::ModeForVersionClass(CONREDIR_VERSION_CLASS));
}
