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

namespace {

#if defined(_WIN32)
// In a console, waits until the text before the cursor on its row is gone, which is how
// conredir's capture shows it has copied it; elsewhere (a pipe) nothing is waited for. Bounded,
// so that a conredir that never copies it fails its test instead of hanging it.
void WaitUntilCopied() {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    for (int tenth = 0; tenth < 100; ++tenth) {
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (!GetConsoleScreenBufferInfo(out, &info)) {
            return;
        }
        char row[512] = {};
        DWORD count = info.dwCursorPosition.X < 512 ? info.dwCursorPosition.X : 512;
        DWORD read = 0;
        if (!ReadConsoleOutputCharacterA(out, row, count, COORD{0, info.dwCursorPosition.Y},
                                         &read)) {
            return;
        }
        bool copied = true;
        for (DWORD i = 0; i < read; ++i) {
            copied = copied && row[i] == 0;
        }
        if (copied) {
            return;
        }
        Sleep(100);
    }
}
#else
void WaitUntilCopied() {}
#endif

}  // namespace

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
    if (what == "progress") {
        // A progress line rewritten in place, each text written once the one before was taken.
        const char* const texts[] = {"Progress 10%", "\rProgress 20%", "\rDone.       \n"};
        for (const char* text : texts) {
            std::fputs(text, stdout);
            std::fflush(stdout);
            WaitUntilCopied();
        }
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
    std::fprintf(
        stderr,
        "usage: conredir_test_child abc | args ... | where | exit N | lines N | progress | wait\n");
    return 100;
}
