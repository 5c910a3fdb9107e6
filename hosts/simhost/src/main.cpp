// simhost: the stand-in debugger host. Runs a script of debugger commands against a debugger
// plug-in and writes what happens to standard output.
#include <iostream>

#include "hostscript/host_main.h"
#include "run_interrupt.h"
#include "script_files.h"
#include "session.h"

int main(int argc, char** argv) {
    const hostscript::HostProgram program = {
        "simhost",
        "usage: simhost [SCRIPT|-]\n"
        "Runs the debugger commands of SCRIPT (standard input when it is '-' or missing)\n"
        "against a debugger plug-in and prints each command and its results. Relative paths\n"
        "in SCRIPT are taken from its folder. Ctrl-C stops a run and the script goes on.\n"
        "Exit code: 0 when every line ran and every host object was released, 1 otherwise,\n"
        "2 when the script cannot be read.\n"};
    return hostscript::RunHostMain(argc, argv, program, [](std::istream& script, const char* path) {
        simhost::RunInterrupt::CatchCtrlC();
        simhost::Session session(std::cout);
        if (path != nullptr) {
            session.SetScriptFolder(simhost::ScriptFolderOf(path));
        }
        session.RunScript(script);
        return session.Finish();
    });
}
