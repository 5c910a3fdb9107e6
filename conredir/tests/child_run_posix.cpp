// Running a test's program on Linux with fork and execv, output through a pipe.
#include "child_run.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>

namespace conredir_test {

namespace {

void ReadToEnd(int fd, std::string* into) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        into->append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
}

}  // namespace

std::string ProgramPath(const std::string& name) {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

Finished RunProgram(const std::vector<std::string>& words) {
    std::vector<std::string> copies = words;
    std::vector<char*> argv;
    for (std::string& w : copies) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);

    Finished result;
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        result.exitCode = -1000;
        return result;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        close(err[0]);
        close(err[1]);
        execv(argv[0], argv.data());
        _exit(126);
    }
    close(out[1]);
    close(err[1]);
    // Standard error holds a line or two: it waits in its pipe while the output is read.
    ReadToEnd(out[0], &result.output);
    ReadToEnd(err[0], &result.errors);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
    return result;
}

Started StartProgram(const std::vector<std::string>& words) {
    std::vector<std::string> copies = words;
    std::vector<char*> argv;
    for (std::string& w : copies) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    Started started;
    int out[2];
    if (pipe(out) != 0) {
        return started;
    }
    started.pid = fork();
    if (started.pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(argv[0], argv.data());
        _exit(126);
    }
    close(out[1]);
    started.output = out[0];
    return started;
}

bool ReadLine(int fd, std::string* line, int seconds) {
    line->clear();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wanted{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&wanted, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        *line += c;
        if (c == '\n') {
            return true;
        }
    }
}

}  // namespace conredir_test
