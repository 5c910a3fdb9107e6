// Direct mode over fork and execvp; a close-on-exec pipe tells a failed start from a child's exit.
#include "redirect_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "command_line.h"
#include "start_failure.h"

namespace conredir {

namespace {

constexpr int kDirectFailure = 242;

// Reads the error number a child reports when execvp failed; false when the pipe closed empty
// because the program started.
bool ReadStartFailure(int fd, int* error) {
    for (;;) {
        const ssize_t got = read(fd, error, sizeof *error);
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

// Standard error, not standard output: that carries the child's output alone.
int StartFailure(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    return kDirectFailure;
}

// Ctrl-C and Ctrl-\ at the terminal reach the child as well: conredir leaves them to it and waits
// for its exit code, as a shell does, rather than ending first and taking the child with it.
class TerminalKeysLeftToChild {
public:
    TerminalKeysLeftToChild() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGINT, &ignore, &m_interrupt);
        sigaction(SIGQUIT, &ignore, &m_quit);
    }
    ~TerminalKeysLeftToChild() { Restore(); }
    // The child takes the keys as conredir found them.
    void Restore() {
        sigaction(SIGINT, &m_interrupt, nullptr);
        sigaction(SIGQUIT, &m_quit, nullptr);
    }

private:
    struct sigaction m_interrupt {};
    struct sigaction m_quit {};
};

}  // namespace

int RunRedirect(const std::string& commandLine) {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) {
        return StartFailure(NoProgramText());
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return StartFailure(StartFailureText(commandLine, std::strerror(errno)));
    }
    const pid_t parent = getpid();
    TerminalKeysLeftToChild keys;
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return StartFailure(StartFailureText(commandLine, std::strerror(error)));
    }
    if (child == 0) {
        close(report[0]);
        keys.Restore();
        // A conredir that is killed takes its child with it; one killed before this line ran
        // has a new parent already.
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) {
            _exit(kDirectFailure);
        }
        execvp(argv[0], argv.data());
        const int error = errno;
        ssize_t ignored = write(report[1], &error, sizeof error);
        (void)ignored;
        _exit(127);
    }
    close(report[1]);
    int error = 0;
    const bool failed = ReadStartFailure(report[0], &error);
    close(report[0]);
    const int code = WaitForExitCode(child);
    if (failed) {
        return StartFailure(StartFailureText(commandLine, std::strerror(error)));
    }
    return code;
}

}  // namespace conredir
