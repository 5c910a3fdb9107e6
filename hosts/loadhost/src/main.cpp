// loadhost: the stand-in download host. Runs a script of download commands against a loader
// plug-in and simulated boards and writes what happens to standard output.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "session.h"

namespace {

void Usage() {
    std::fputs(
        "usage: loadhost [SCRIPT|-]\n"
        "Runs the download commands of SCRIPT (standard input when it is '-' or missing)\n"
        "against a loader plug-in and prints each command, every callback and each result.\n"
        "Exit code: 0 when every line ran, 1 when a line failed, a download left its port\n"
        "open or the plug-in called back outside a download, 2 when the script cannot be read.\n",
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
        // A folder opens as an empty file on some systems: the run would pass with no command.
        std::error_code error;
        if (std::filesystem::is_directory(argv[1], error)) {
            std::fprintf(stderr, "loadhost: '%s' is a folder, not a script\n", argv[1]);
            return 2;
        }
        file.open(argv[1], std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "loadhost: cannot open script '%s'\n", argv[1]);
            return 2;
        }
    }
    int result = 0;
    {
        loadhost::Session session(std::cout);
        session.RunScript(fromFile ? static_cast<std::istream&>(file) : std::cin);
        result = session.Finish();
    }
    std::cout.flush();
    return result;
}
