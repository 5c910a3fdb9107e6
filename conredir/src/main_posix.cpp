// conredir on Linux: runs its arguments, joined into one command line, with inherited output.
#include "command_line.h"
#include "redirect_posix.h"

int main(int argc, char** argv) {
    return conredir::RunRedirect(conredir::JoinArguments(argc - 1, argv + 1));
}
