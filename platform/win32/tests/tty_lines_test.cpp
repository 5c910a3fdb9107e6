// RTS and DTR of a tty, on a pseudo-terminal to which this program lends modem lines: the line
// requests of ioctl on that terminal are answered here and recorded, every other call goes on to
// the system. (A pseudo-terminal has no lines of its own.)
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <atomic>
#include <mutex>
#include <string>

#include "pty_far_end.h"
#include "w32/handles.h"
#include "w32/serial.h"

namespace {

struct LentLines {
    std::atomic<dev_t> device{0};
    std::mutex lock;
    int bits = 0;         // guarded by lock
    std::string changes;  // guarded by lock: "rts 1\n", "dtr 0\n", ... in order
};

LentLines& Lines() {
    static LentLines* lines = new LentLines;
    return *lines;
}

bool IsLentTerminal(int fd) {
    dev_t device = Lines().device.load();
    struct stat st {};
    return device != 0 && fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == device;
}

int AnswerLineRequest(unsigned long request, int* arg) {
    LentLines& lines = Lines();
    std::lock_guard<std::mutex> lock(lines.lock);
    if (request == TIOCMGET) {
        *arg = lines.bits;
        return 0;
    }
    int before = lines.bits;
    lines.bits = request == TIOCMBIS ? before | *arg : before & ~*arg;
    for (int bit : {TIOCM_RTS, TIOCM_DTR}) {
        if ((before ^ lines.bits) & bit) {
            lines.changes += bit == TIOCM_RTS ? "rts " : "dtr ";
            lines.changes += (lines.bits & bit) ? "1\n" : "0\n";
        }
    }
    return 0;
}

}  // namespace

extern "C" int ioctl(int fd, unsigned long request, ...) __THROW {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    if ((request == TIOCMGET || request == TIOCMBIS || request == TIOCMBIC) && IsLentTerminal(fd)) {
        return AnswerLineRequest(request, static_cast<int*>(arg));
    }
    using Ioctl = int (*)(int, unsigned long, void*);
    static Ioctl next = reinterpret_cast<Ioctl>(dlsym(RTLD_NEXT, "ioctl"));
    return next(fd, request, arg);
}

namespace {

class TtyLines : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_far.ok());
        struct stat st {};
        ASSERT_EQ(stat(m_far.PortName().c_str(), &st), 0);
        {
            std::lock_guard<std::mutex> lock(Lines().lock);
            Lines().bits = TIOCM_RTS | TIOCM_DTR;  // as the system leaves them when a tty opens
            Lines().changes.clear();
        }
        Lines().device = st.st_rdev;
        m_port = w32::CreateFileA("\\\\.\\COM42", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (m_port != INVALID_HANDLE_VALUE) {
            w32::CloseHandle(m_port);
        }
        Lines().device = 0;
    }
    std::string TakeChanges() {
        std::lock_guard<std::mutex> lock(Lines().lock);
        std::string changes = Lines().changes;
        Lines().changes.clear();
        return changes;
    }

    w32::testing::PtyFarEnd m_far{42};
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

TEST_F(TtyLines, SetCommStateMovesALineOnlyWhenItsControlModeChanges) {
    // Opening drops both lines; the control block then asks for DTR.
    EXPECT_EQ(TakeChanges(), "rts 0\ndtr 0\n");
    DCB dcb{};
    ASSERT_TRUE(w32::GetCommState(m_port, &dcb));
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    ASSERT_TRUE(w32::SetCommState(m_port, &dcb));
    ASSERT_TRUE(w32::EscapeCommFunction(m_port, SETRTS));
    ASSERT_TRUE(w32::EscapeCommFunction(m_port, CLRDTR));
    EXPECT_EQ(TakeChanges(), "dtr 1\nrts 1\ndtr 0\n");

    // A new rate with the same control modes leaves RTS up and DTR down.
    dcb.BaudRate = 57600;
    ASSERT_TRUE(w32::SetCommState(m_port, &dcb));
    EXPECT_EQ(TakeChanges(), "");

    // A mode that changes drives its line.
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    ASSERT_TRUE(w32::SetCommState(m_port, &dcb));
    EXPECT_EQ(TakeChanges(), "");  // DTR's mode changed to where the line already is
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ASSERT_TRUE(w32::SetCommState(m_port, &dcb));
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ASSERT_TRUE(w32::SetCommState(m_port, &dcb));
    EXPECT_EQ(TakeChanges(), "rts 0\n");
}

}  // namespace
