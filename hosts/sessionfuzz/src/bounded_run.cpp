// Host programs run with a bound in real time: spawned, waited for, killed at the bound.
#include "bounded_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace sessionfuzz {

RunOutcome RunBounded(const std::string& program, const std::string& script,
                      const std::string& folder, const std::string& outPath,
                      const std::string& errPath, double boundSeconds) {
    RunOutcome outcome;
    auto start = std::chrono::steady_clock::now();
    // posix_spawn, not fork: the fuzzer's other threads may hold the allocator's locks at the
    // moment of a fork, and a child that allocates before its exec would wait for ever.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    // Its own process group, so that the kill at the bound reaches all of it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        if (entry.compare(0, 13, "ASAN_OPTIONS=") != 0 &&
            entry.compare(0, 14, "UBSAN_OPTIONS=") != 0) {
            environment.push_back(entry);
        }
    }
    environment.push_back("ASAN_OPTIONS=exitcode=23:detect_leaks=1");
    environment.push_back("UBSAN_OPTIONS=exitcode=23:print_stacktrace=1");
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(&entry[0]);
    }
    envp.push_back(nullptr);
    std::string programCopy = program;
    std::string scriptCopy = script;
    char* argv[] = {&programCopy[0], &scriptCopy[0], nullptr};
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        outcome.finished = true;
        outcome.exitCode = 127;  // as a shell says of a program it cannot start
        return outcome;
    }
    auto bound = start + std::chrono::duration<double>(boundSeconds);
    int status = 0;
    std::chrono::milliseconds pause(1);
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            outcome.finished = true;
            break;
        }
        if (std::chrono::steady_clock::now() >= bound) {
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(20)) {
            pause *= 2;
        }
    }
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.finished && WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    } else if (outcome.finished && WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    }
    return outcome;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file);
}

}  // namespace sessionfuzz
