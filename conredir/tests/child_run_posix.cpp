// Running a test's program on Linux with fork and execv, output through a pipe.
#include "child_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace conredir_test {

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
    if (pipe(out) != 0) {
        result.exitCode = -1000;
        return result;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(argv[0], argv.data());
        _exit(126);
    }
    close(out[1]);
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        result.output.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
    return result;
}

}  // namespace conredir_test
