// A pseudo-terminal standing in for a serial port: the port side is mapped to a COM number
// through the environment, the far side is held by the test to read and write like a board.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace w32::testing {

class PtyFarEnd {
public:
    // Opens the pair and maps "COM<com>" to it; ok() tells whether that worked.
    explicit PtyFarEnd(int com) : m_variable("COM" + std::to_string(com)) {
        char name[128] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0) {
            m_portName = name;
            setenv(m_variable.c_str(), name, 1);
        }
    }
    ~PtyFarEnd() {
        unsetenv(m_variable.c_str());
        if (m_slave >= 0) {
            close(m_slave);
        }
        HangUp();
    }
    PtyFarEnd(const PtyFarEnd&) = delete;
    PtyFarEnd& operator=(const PtyFarEnd&) = delete;

    bool ok() const { return m_master >= 0; }
    // The far side's descriptor (its termios shows the port's settings).
    int fd() const { return m_master; }
    // The device the port side opens, e.g. "/dev/pts/3".
    const std::string& PortName() const { return m_portName; }

    // Up to `count` bytes, waiting at most `ms` for each piece.
    std::string Read(size_t count, int ms = 1000) {
        std::string data;
        while (data.size() < count) {
            struct pollfd p = {m_master, POLLIN, 0};
            if (poll(&p, 1, ms) <= 0) {
                break;
            }
            char buffer[256];
            ssize_t n = read(m_master, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            data.append(buffer, static_cast<size_t>(n));
        }
        return data;
    }
    // Closes the far side, as a cable pulled out or a device gone: the port side is hung up.
    void HangUp() {
        if (m_master >= 0) {
            close(m_master);
            m_master = -1;
        }
    }
    void Write(const std::string& data) {
        ASSERT_EQ(write(m_master, data.data(), data.size()), static_cast<ssize_t>(data.size()));
    }

private:
    std::string m_variable;
    std::string m_portName;
    int m_master = -1;
    int m_slave = -1;
};

}  // namespace w32::testing
