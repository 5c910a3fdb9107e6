// The loadhost program as a user starts it: what it does with a script it cannot run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

std::string LoadhostPath() {
    char self[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + "loadhost";
}

struct Finished {
    int exitCode = -1;
    std::string output;  // standard output and error together
};

Finished RunLoadhost(const std::string& argument) {
    Finished run;
    const std::string command = "'" + LoadhostPath() + "' '" + argument + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[512];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(LoadhostProgram, AFolderIsNoScript) {
    const std::string folder = std::string(FWT_SOURCE_DIR) + "/hosts/loadhost/tests/transcripts";
    const Finished run = RunLoadhost(folder);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "loadhost: '" + folder + "' is a folder, not a script\n");
}

}  // namespace
