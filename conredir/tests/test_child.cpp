// A child program for conredir's tests: prints what the test asks for and exits with a known code.
#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <windows.h>
#define getpid _getpid
#define isatty _isatty
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "abc") {
        std::printf("abc\n");
        return 3;
    }
    if (what == "args") {
        for (int i = 2; i < argc; ++i) {
            std::printf("[%s]\n", argv[i]);
        }
        return 0;
    }
    if (what == "where") {
        // A console here means conredir gave the child a screen buffer to write into.
        std::printf(isatty(1) ? "console\n" : "pipe\n");
        return 0;
    }
    if (what == "exit" && argc > 2) {
        return std::atoi(argv[2]);
    }
    if (what == "lines" && argc > 2) {
        // All lines in one write, so that they land faster than conredir polls.
        std::string text;
        for (int i = 1; i <= std::atoi(argv[2]); ++i) {
            text += "line " + std::to_string(i) + "\n";
        }
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return 0;
    }
    if (what == "wait") {
        // Says who it is, then waits far longer than any test: only a kill ends it in time.
        std::printf("pid %d\n", static_cast<int>(getpid()));
        std::fflush(stdout);
        for (int second = 0; second < 600; ++second) {
#if defined(_WIN32)
            Sleep(1000);
#else
            sleep(1);
#endif
        }
        return 0;
    }
    std::fprintf(stderr,
                 "usage: conredir_test_child abc | args ... | where | exit N | lines N | wait\n");
    return 100;
}
