// The simhost program on Linux as a user runs it: Ctrl-C during a run, a kill, a folder for a
// script. Its output is read through a pipe while it runs.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <string>
#include <vector>

namespace {

const std::string kPrograms = std::string(FWT_SOURCE_DIR) + "/hosts/simhost/tests/programs";

std::string SimhostPath() {
    char self[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + "simhost";
}

// simhost running with its standard output and error in pipes.
class Simhost {
public:
    explicit Simhost(const std::string& script) {
        int out[2];
        int err[2];
        if (pipe(out) != 0 || pipe(err) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            close(out[0]);
            close(out[1]);
            close(err[0]);
            close(err[1]);
            std::string program = SimhostPath();
            execl(program.c_str(), program.c_str(), script.c_str(), static_cast<char*>(nullptr));
            _exit(126);
        }
        close(out[1]);
        close(err[1]);
        m_out = out[0];
        m_err = err[0];
    }
    ~Simhost() {
        if (m_pid > 0 && !m_waited) {
            kill(m_pid, SIGKILL);
            Wait();
        }
        if (m_out >= 0) {
            close(m_out);
        }
        if (m_err >= 0) {
            close(m_err);
        }
    }

    // Reads standard output until it holds `text`, for at most 30 s; true when it came.
    bool ReadUntil(const std::string& text) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (m_output.find(text) == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd wanted{m_out, POLLIN, 0};
            if (left.count() <= 0 || poll(&wanted, 1, static_cast<int>(left.count())) <= 0 ||
                !ReadSome(m_out, &m_output)) {
                return false;
            }
        }
        return true;
    }
    void Signal(int number) { kill(m_pid, number); }
    // Reads both pipes to their end and waits for the program: its wait status.
    int Finish() {
        while (ReadSome(m_out, &m_output)) {
        }
        while (ReadSome(m_err, &m_errors)) {
        }
        return Wait();
    }
    const std::string& Output() const { return m_output; }
    const std::string& Errors() const { return m_errors; }

private:
    static bool ReadSome(int fd, std::string* into) {
        char buffer[4096];
        for (;;) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return false;
            }
            into->append(buffer, static_cast<size_t>(got));
            return true;
        }
    }
    int Wait() {
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_waited = true;
        return status;
    }

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    bool m_waited = false;
    std::string m_output;
    std::string m_errors;
};

const char kUntilTheRun[] =
    "> plugin fake_sim_plugin\n"
    "plug-in loaded: fake_sim_plugin\n"
    "> create FAKE51\n"
    "message 0: Fake target with options ''\n"
    "target 1 created\n"
    "options: timers=0 interrupts=0 serial=0 hardware-ports=0\n"
    "> load ../transcripts/program.hex\n"
    "status 0 OK\n"
    "> reset\n"
    "status 0 OK pc=0000\n"
    "> reg PC 0x000E\n"
    "PC = 0E\n"
    "> observer on\n"
    "observer on\n"
    "> run -1\n"
    "ports: Port0=00 Port1=07 Port2=0E Port3=00\n";

// Lines reach the pipe as they are printed, from a script found from the current folder and
// naming its program from its own folder; Ctrl-C then ends the run, not simhost.
TEST(SimhostProgram, CtrlCStopsTheRunAndTheScriptGoesOn) {
    Simhost simhost(kPrograms + "/interrupted.script");
    ASSERT_TRUE(simhost.ReadUntil("ports:")) << simhost.Output();
    simhost.Signal(SIGINT);
    int status = simhost.Finish();
    EXPECT_EQ(simhost.Output(), std::string(kUntilTheRun) +
                                    "interrupted by Ctrl-C\n"
                                    "status 0 OK pc=000E\n"
                                    "> pc\n"
                                    "pc=000E\n"
                                    "target 1 destroyed\n"
                                    "session end: 3 of 3 host objects released, 0 errors\n");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SimhostProgram, AKilledSimhostHasLostNoLine) {
    Simhost simhost(kPrograms + "/interrupted.script");
    ASSERT_TRUE(simhost.ReadUntil("ports:")) << simhost.Output();
    simhost.Signal(SIGKILL);
    int status = simhost.Finish();
    EXPECT_EQ(simhost.Output(), kUntilTheRun);
    EXPECT_TRUE(WIFSIGNALED(status));
}

TEST(SimhostProgram, AFolderIsNoScript) {
    Simhost simhost(kPrograms);
    int status = simhost.Finish();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(simhost.Output(), "");
    EXPECT_EQ(simhost.Errors(), "simhost: '" + kPrograms + "' is a folder, not a script\n");
}

}  // namespace
