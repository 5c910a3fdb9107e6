// loadhost: the stand-in download host. Runs a script of download commands against a loader
// plug-in and simulated boards and writes what happens to standard output.
#include <iostream>

#include "hostscript/host_main.h"
#include "session.h"

int main(int argc, char** argv) {
    const hostscript::HostProgram program = {
        "loadhost",
        "usage: loadhost [SCRIPT|-]\n"
        "Runs the download commands of SCRIPT (standard input when it is '-' or missing)\n"
        "against a loader plug-in and prints each command, every callback and each result.\n"
        "Exit code: 0 when every line ran, 1 when a line failed, a download left its port\n"
        "open or the plug-in called back outside a download, 2 when the script cannot be read.\n"};
    return hostscript::RunHostMain(argc, argv, program, [](std::istream& script, const char*) {
        loadhost::Session session(std::cout);
        session.RunScript(script);
        return session.Finish();
    });
}
