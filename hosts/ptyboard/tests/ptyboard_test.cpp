// ptyboard as a program: a programmer board reached through the terminal it links, at the rate
// the terminal is set to, the modem-line levels of the lines file passed on, and what it leaves
// at the end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class PtyBoardProgram : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/ptyboard_test.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        m_folder = folder;
        m_link = m_folder + "/com1";
        m_lines = m_folder + "/lines";
        m_memory = m_folder + "/memory.bin";
        m_transcript = m_folder + "/board.log";
        m_pid = fork();
        ASSERT_GE(m_pid, 0);
        if (m_pid == 0) {
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            execl(PTYBOARD_PROGRAM, "ptyboard", "--link", m_link.c_str(), "--lines",
                  m_lines.c_str(), "--memory-out", m_memory.c_str(), "--transcript",
                  m_transcript.c_str(), "programmer", "baud=19200", static_cast<char*>(nullptr));
            _exit(127);
        }
        // The link appears once the board is ready.
        for (int i = 0; i < 200 && access(m_link.c_str(), F_OK) != 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_fd = open(m_link.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(m_fd, 0) << "no terminal at " << m_link;
        termios t{};
        ASSERT_EQ(tcgetattr(m_fd, &t), 0);
        cfmakeraw(&t);
        cfsetispeed(&t, B19200);
        cfsetospeed(&t, B19200);
        ASSERT_EQ(tcsetattr(m_fd, TCSANOW, &t), 0);
    }

    void TearDown() override {
        if (m_fd >= 0) {
            close(m_fd);
        }
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        for (const std::string& f : {m_lines, m_memory, m_transcript, m_link}) {
            unlink(f.c_str());
        }
        rmdir(m_folder.c_str());
    }

    // Sends bytes and collects `count` reply bytes (at most a second of waiting).
    std::vector<unsigned char> Exchange(const std::vector<unsigned char>& out, size_t count) {
        EXPECT_EQ(write(m_fd, out.data(), out.size()), static_cast<ssize_t>(out.size()));
        std::vector<unsigned char> in;
        while (in.size() < count) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) {
                break;
            }
            unsigned char buffer[64];
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            in.insert(in.end(), buffer, buffer + n);
        }
        return in;
    }

    // Ends the program as the demo does, so that it writes what it leaves.
    int Stop() {
        int status = -1;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return status;
    }

    std::string m_folder, m_link, m_lines, m_memory, m_transcript;
    pid_t m_pid = -1;
    int m_fd = -1;
};

TEST_F(PtyBoardProgram, TheBoardAnswersThroughTheTerminalAndKeepsWhatWasWritten) {
    // The version request, then a block of two bytes written at 0x0010 of memory kind 1.
    EXPECT_EQ(Exchange({5}, 6), (std::vector<unsigned char>{5, 'P', 'B', '2', '1', 0xFA}));
    std::vector<unsigned char> block = {2, 1, 2, 0x10, 0x00, 0xAB, 0xCD};
    unsigned char sum = 0;
    for (unsigned char b : block) {
        sum = static_cast<unsigned char>(sum + b);
    }
    block.push_back(sum);
    EXPECT_EQ(Exchange(block, 3), (std::vector<unsigned char>{2, 0, 2}));

    std::ofstream(m_lines, std::ios::app) << "DTR 1\nRTS 1\n";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int status = Stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const std::string memory = ReadAll(m_memory);
    ASSERT_GE(memory.size(), 0x20u);
    EXPECT_EQ(static_cast<unsigned char>(memory[0x10]), 0xAB);
    EXPECT_EQ(static_cast<unsigned char>(memory[0x11]), 0xCD);
    EXPECT_EQ(static_cast<unsigned char>(memory[0x12]), 0xFF);
    const std::string log = ReadAll(m_transcript);
    EXPECT_NE(log.find("settings 19200 8N1"), std::string::npos) << log;
    EXPECT_NE(log.find("dtr 1"), std::string::npos) << log;
    EXPECT_NE(log.find("rts 1"), std::string::npos) << log;
    EXPECT_EQ(access(m_link.c_str(), F_OK), -1) << "the link outlived the program";
}

TEST_F(PtyBoardProgram, BytesAtAnotherRateReachTheBoardGarbled) {
    termios t{};
    ASSERT_EQ(tcgetattr(m_fd, &t), 0);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    ASSERT_EQ(tcsetattr(m_fd, TCSANOW, &t), 0);
    EXPECT_TRUE(Exchange({5}, 6).empty());
    Stop();
    EXPECT_NE(ReadAll(m_transcript).find(" garbled"), std::string::npos)
        << ReadAll(m_transcript);
}

}  // namespace
