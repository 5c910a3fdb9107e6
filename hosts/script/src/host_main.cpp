// The stand-in hosts' command line: the usage, and the script from a file or standard input.
#include "hostscript/host_main.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace hostscript {

int RunHostMain(int argc, char** argv, const HostProgram& program,
                const std::function<int(std::istream& script, const char* path)>& run) {
    if (argc > 2 ||
        (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        std::fputs(program.usage, stdout);
        return argc > 2 ? 2 : 0;
    }
    bool fromFile = argc == 2 && std::strcmp(argv[1], "-") != 0;
    std::ifstream file;
    if (fromFile) {
        // A folder opens as an empty file on some systems: the run would pass with no command.
        std::error_code error;
        if (std::filesystem::is_directory(argv[1], error)) {
            std::fprintf(stderr, "%s: '%s' is a folder, not a script\n", program.name, argv[1]);
            return 2;
        }
        file.open(argv[1], std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "%s: cannot open script '%s'\n", program.name, argv[1]);
            return 2;
        }
    }
    int result =
        run(fromFile ? static_cast<std::istream&>(file) : std::cin, fromFile ? argv[1] : nullptr);
    std::cout.flush();
    return result;
}

}  // namespace hostscript
