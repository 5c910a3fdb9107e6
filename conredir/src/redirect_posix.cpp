// Direct mode over fork and execvp; a close-on-exec pipe tells a failed start from a child's exit.
#include "redirect_posix.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "command_line.h"

namespace conredir {

namespace {

constexpr int kDirectFailure = 242;

// Reads the error number a child reports when execvp failed; false when the pipe closed empty
// because the program started.
bool ReadStartFailure(int fd) {
    int error = 0;
    for (;;) {
        const ssize_t got = read(fd, &error, sizeof error);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return got > 0;
    }
}

int WaitForExitCode(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return kDirectFailure;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : kDirectFailure;
}

}  // namespace

int RunRedirect(const std::string& commandLine) {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) {
        return kDirectFailure;
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return kDirectFailure;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return kDirectFailure;
    }
    if (child == 0) {
        close(report[0]);
        execvp(argv[0], argv.data());
        const int error = errno;
        ssize_t ignored = write(report[1], &error, sizeof error);
        (void)ignored;
        _exit(127);
    }
    close(report[1]);
    const bool failed = ReadStartFailure(report[0]);
    close(report[0]);
    const int code = WaitForExitCode(child);
    return failed ? kDirectFailure : code;
}

}  // namespace conredir
