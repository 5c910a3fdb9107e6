// simhost: the stand-in debugger host. Runs a script of debugger commands against a debugger
// plug-in and writes what happens to standard output.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "run_interrupt.h"
#include "script_files.h"
#include "session.h"

namespace {

void Usage() {
    std::fputs(
        "usage: simhost [SCRIPT|-]\n"
        "Runs the debugger commands of SCRIPT (standard input when it is '-' or missing)\n"
        "against a debugger plug-in and prints each command and its results. Relative paths\n"
        "in SCRIPT are taken from its folder. Ctrl-C stops a run and the script goes on.\n"
        "Exit code: 0 when every line ran and every host object was released, 1 otherwise,\n"
        "2 when the script cannot be read.\n",
        stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 ||
        (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        Usage();
        return argc > 2 ? 2 : 0;
    }
    bool fromFile = argc == 2 && std::strcmp(argv[1], "-") != 0;
    std::ifstream file;
    if (fromFile) {
        if (simhost::IsFolder(argv[1])) {
            std::fprintf(stderr, "simhost: '%s' is a folder, not a script\n", argv[1]);
            return 2;
        }
        file.open(argv[1], std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "simhost: cannot open script '%s'\n", argv[1]);
            return 2;
        }
    }
    simhost::RunInterrupt::CatchCtrlC();
    simhost::Session session(std::cout);
    if (fromFile) {
        session.SetScriptFolder(simhost::ScriptFolderOf(argv[1]));
    }
    session.RunScript(fromFile ? static_cast<std::istream&>(file) : std::cin);
    int result = session.Finish();
    std::cout.flush();
    return result;
}
