// Serial ports over termios: a Linux tty with the Win32 communications functions' behaviour.
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "com_devices_posix.h"
#include "control_lines.h"
#include "read_timeouts.h"
#include "serial_port.h"
#include "tty_baud_posix.h"
#include "w32/errors.h"

namespace w32 {
namespace serial {
namespace {

uint64_t RealMicros() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

// poll() time-out for a deadline: whole milliseconds, rounded up; -1 waits for ever.
int PollTimeout(uint64_t deadline) {
    if (deadline == kNoDeadline) {
        return -1;
    }
    uint64_t now = RealMicros();
    if (deadline <= now) {
        return 0;
    }
    return static_cast<int>(std::min<uint64_t>((deadline - now + 999) / 1000, 60 * 60 * 1000));
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The error of a call on a terminal whose far end hung up (or whose device went away).
const DWORD kFarEndGone = ERROR_GEN_FAILURE;

DWORD ErrorOfErrno(int e) {
    switch (e) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return ERROR_FILE_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EBUSY:
            return ERROR_ACCESS_DENIED;
        case ENOTTY:
        case EINVAL:
            return ERROR_INVALID_FUNCTION;  // the device has no such function (a pty has no lines)
        default:
            return ERROR_GEN_FAILURE;
    }
}

// A port is opened by one handle at a time, as on Windows; within this process by device
// number, and against other processes by an advisory lock.
std::mutex& OpenDevicesLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::set<dev_t>& OpenDevices() {
    static std::set<dev_t>* devices = new std::set<dev_t>;
    return *devices;
}

class TtyPort : public Port {
public:
    TtyPort(int fd, int wake, dev_t device) : m_fd(fd), m_wake(wake), m_device(device) {
        m_dcb.DCBlength = sizeof(DCB);
        m_dcb.fBinary = 1;
        m_dcb.fTXContinueOnXoff = 1;
        m_dcb.XonLim = 2048;
        m_dcb.XoffLim = 512;
    }

    void OnClose() override {
        close(m_fd);
        close(m_wake);
        std::lock_guard<std::mutex> lock(OpenDevicesLock());
        OpenDevices().erase(m_device);
    }

    BOOL Setup(DWORD, DWORD) override { return TRUE; }  // the kernel sizes its own queues

    BOOL GetState(DCB* dcb) override {
        struct termios t {};
        uint32_t baud = 0;
        if (tcgetattr(m_fd, &t) != 0 || !GetTtyBaud(m_fd, &baud)) {
            return Fail(ErrorOfErrno(errno));
        }
        std::lock_guard<std::mutex> lock(m_stateLock);
        DCB d = m_dcb;
        d.DCBlength = sizeof(DCB);
        d.BaudRate = baud;
        d.fBinary = 1;
        d.fParity = (t.c_iflag & INPCK) ? 1 : 0;
        d.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
        d.fOutX = (t.c_iflag & IXON) ? 1 : 0;
        d.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
        d.fRtsControl = (t.c_cflag & CRTSCTS) ? RTS_CONTROL_HANDSHAKE : m_dcb.fRtsControl;
        switch (t.c_cflag & CSIZE) {
            case CS5:
                d.ByteSize = 5;
                break;
            case CS6:
                d.ByteSize = 6;
                break;
            case CS7:
                d.ByteSize = 7;
                break;
            default:
                d.ByteSize = 8;
                break;
        }
        if (!(t.c_cflag & PARENB)) {
            d.Parity = NOPARITY;
        } else if (t.c_cflag & CMSPAR) {
            d.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
        } else {
            d.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
        }
        d.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
        d.XonChar = static_cast<char>(t.c_cc[VSTART]);
        d.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
        *dcb = d;
        return TRUE;
    }

    BOOL SetState(const DCB& dcb) override {
        // termios has no 1.5 stop bits, no DTR handshake and no RTS toggling.
        if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
            (dcb.StopBits != ONESTOPBIT && dcb.StopBits != TWOSTOPBITS) ||
            dcb.fDtrControl == DTR_CONTROL_HANDSHAKE || dcb.fRtsControl == RTS_CONTROL_TOGGLE) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        struct termios t {};
        if (tcgetattr(m_fd, &t) != 0) {
            return Fail(ErrorOfErrno(errno));
        }
        // The lines as they are before the call: a tty raises both when its rate leaves 0, and
        // a line whose control mode stays must keep its level whatever the framing does.
        int linesBefore = 0;
        bool hasLines = ioctl(m_fd, TIOCMGET, &linesBefore) == 0;
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
        static const tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
        t.c_cflag |= kSizes[dcb.ByteSize - 5] | CLOCAL | CREAD;
        switch (dcb.Parity) {
            case ODDPARITY:
                t.c_cflag |= PARENB | PARODD;
                break;
            case EVENPARITY:
                t.c_cflag |= PARENB;
                break;
            case MARKPARITY:
                t.c_cflag |= PARENB | PARODD | CMSPAR;
                break;
            case SPACEPARITY:
                t.c_cflag |= PARENB | CMSPAR;
                break;
            default:
                break;
        }
        if (dcb.StopBits == TWOSTOPBITS) {
            t.c_cflag |= CSTOPB;
        }
        if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
            t.c_cflag |= CRTSCTS;
        }
        t.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF);
        t.c_iflag |= (dcb.fParity && dcb.Parity != NOPARITY ? INPCK : 0) | (dcb.fOutX ? IXON : 0) |
                     (dcb.fInX ? IXOFF : 0);
        t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
        t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
        if (tcsetattr(m_fd, TCSANOW, &t) != 0) {
            return Fail(ErrorOfErrno(errno));
        }
        if (!SetTtyBaud(m_fd, dcb.BaudRate)) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        // The lines last. A port without modem lines (a pseudo-terminal) simply has none to set.
        std::lock_guard<std::mutex> lock(m_stateLock);
        if (hasLines && !DriveControlLines(m_dcb, dcb, linesBefore)) {
            return Fail(ErrorOfErrno(errno));
        }
        m_dcb = dcb;
        return TRUE;
    }

    BOOL Purge(DWORD flags) override {
        bool rx = (flags & PURGE_RXCLEAR) != 0;
        bool tx = (flags & PURGE_TXCLEAR) != 0;
        // A write returns when its bytes have left; the output queue holds bytes only after a
        // write time-out. A pseudo-terminal has no queue of its own (it reads 0): what a flush of
        // its output would throw away is what the far end has not read yet, bytes that have left.
        int queued = 0;
        if (tx && (ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0)) {
            tx = false;
        }
        if (!rx && !tx) {
            return TRUE;  // nothing is pending to abort: every call completes before it returns
        }
        if (tcflush(m_fd, rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH) != 0) {
            return Fail(ErrorOfErrno(errno));
        }
        return TRUE;
    }

    BOOL Escape(DWORD function) override {
        bool ok;
        switch (function) {
            case SETRTS:
                ok = SetLine(TIOCM_RTS, true);
                break;
            case CLRRTS:
                ok = SetLine(TIOCM_RTS, false);
                break;
            case SETDTR:
                ok = SetLine(TIOCM_DTR, true);
                break;
            case CLRDTR:
                ok = SetLine(TIOCM_DTR, false);
                break;
            default:
                return Fail(ERROR_NOT_SUPPORTED);
        }
        return ok ? TRUE : Fail(ErrorOfErrno(errno));
    }

    BOOL ModemStatus(DWORD* status) override {
        int bits = 0;
        if (ioctl(m_fd, TIOCMGET, &bits) != 0) {
            return Fail(ErrorOfErrno(errno));
        }
        *status = ((bits & TIOCM_CTS) ? MS_CTS_ON : 0) | ((bits & TIOCM_DSR) ? MS_DSR_ON : 0) |
                  ((bits & TIOCM_RNG) ? MS_RING_ON : 0) | ((bits & TIOCM_CAR) ? MS_RLSD_ON : 0);
        return TRUE;
    }

    BOOL ClearError(DWORD* errors, COMSTAT* status) override {
        if (errors != nullptr) {
            *errors = NewLineErrors();
        }
        if (status != nullptr) {
            int in = 0;
            int out = 0;
            if (ioctl(m_fd, FIONREAD, &in) != 0) {
                return Fail(ErrorOfErrno(errno));
            }
            if (ioctl(m_fd, TIOCOUTQ, &out) != 0) {
                out = 0;
            }
            *status = COMSTAT{};
            status->cbInQue = static_cast<DWORD>(in);
            status->cbOutQue = static_cast<DWORD>(out);
        }
        return TRUE;
    }

    BOOL Read(BYTE* buffer, DWORD count, DWORD* got) override {
        *got = 0;
        if (count == 0) {
            return TRUE;
        }
        uint64_t start = RealMicros();
        ReadTimeouts limits(Timeouts(), count, start);
        uint64_t lastByte = start;
        bool hangUpSeen = false;
        for (;;) {
            ssize_t n = read(m_fd, buffer + *got, count - *got);
            if (n == 0 && hangUpSeen) {
                return Fail(kFarEndGone);  // nothing to read, and nothing will come
            }
            if (n > 0) {
                *got += static_cast<DWORD>(n);
                lastByte = RealMicros();
                if (*got == count) {
                    return TRUE;
                }
                continue;  // take everything that is waiting before looking at the time
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && errno != EAGAIN) {
                return Fail(ErrorOfErrno(errno));
            }
            if (*got > 0 && limits.EndsWithAnyByte()) {
                return TRUE;
            }
            int timeout = PollTimeout(limits.Deadline(*got, lastByte));
            if (timeout == 0) {
                return TRUE;  // timed out: success with the bytes so far
            }
            struct pollfd p = {m_fd, POLLIN, 0};
            int ready = poll(&p, 1, timeout);
            if (ready < 0 && errno != EINTR) {
                return Fail(ErrorOfErrno(errno));
            }
            // A hung-up terminal reads as readable and then gives nothing: the read above, once
            // more, tells whether bytes were still waiting.
            hangUpSeen = ready > 0 && (p.revents & (POLLHUP | POLLERR)) != 0;
        }
    }

    BOOL Write(const BYTE* data, DWORD count, DWORD* written) override {
        *written = 0;
        COMMTIMEOUTS t = Timeouts();
        uint64_t deadline = kNoDeadline;
        if (t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0) {
            uint64_t ms = static_cast<uint64_t>(t.WriteTotalTimeoutMultiplier) * count +
                          t.WriteTotalTimeoutConstant;
            deadline = RealMicros() + ms * 1000;
        }
        while (*written < count) {
            ssize_t n = write(m_fd, data + *written, count - *written);
            if (n > 0) {
                *written += static_cast<DWORD>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && errno != EAGAIN) {
                return Fail(ErrorOfErrno(errno));
            }
            int timeout = PollTimeout(deadline);
            if (timeout == 0) {
                return TRUE;  // timed out: success with the bytes written so far
            }
            struct pollfd p = {m_fd, POLLOUT, 0};
            if (poll(&p, 1, timeout) < 0 && errno != EINTR) {
                return Fail(ErrorOfErrno(errno));
            }
        }
        // As on Windows, the write is done when the bytes have left, not when the kernel took them.
        int pending = 0;
        while (ioctl(m_fd, TIOCOUTQ, &pending) == 0 && pending > 0 && PollTimeout(deadline) != 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return TRUE;
    }

    BOOL SetMask(DWORD mask) override {
        m_mask = mask;
        ++m_maskChanges;
        uint64_t one = 1;
        ssize_t n = write(m_wake, &one, sizeof one);
        (void)n;  // a full counter still wakes the waiter
        return TRUE;
    }

    BOOL WaitEvent(DWORD* events) override {
        uint64_t changes = m_maskChanges;
        for (;;) {
            if (m_maskChanges != changes) {
                *events = 0;
                return TRUE;
            }
            DWORD mask = m_mask;
            if (mask == 0) {
                return Fail(ERROR_INVALID_PARAMETER);
            }
            struct pollfd p[2] = {{m_wake, POLLIN, 0}, {m_fd, 0, 0}};
            if (mask & EV_RXCHAR) {
                p[1].events = POLLIN;
            }
            if (poll(p, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return Fail(ErrorOfErrno(errno));
            }
            if (p[0].revents & POLLIN) {
                uint64_t value = 0;
                ssize_t n = read(m_wake, &value, sizeof value);
                (void)n;
                continue;
            }
            if (p[1].revents & (POLLHUP | POLLERR)) {
                return Fail(kFarEndGone);  // a hung-up terminal also reads as readable
            }
            if (p[1].revents & POLLIN) {
                *events = EV_RXCHAR;
                return TRUE;
            }
        }
    }

private:
    bool SetLine(int line, bool on) { return ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0; }

    // Puts RTS and DTR where a change of the control block from `before` to `after` leaves them:
    // at the level of a new control mode, else at `linesBefore`. A line under the driver's
    // handshake is left to it.
    bool DriveControlLines(const DCB& before, const DCB& after, int linesBefore) {
        ControlLineDrives drives = ControlLineChanges(before, after);
        int now = 0;
        if (ioctl(m_fd, TIOCMGET, &now) != 0) {
            return NoModemLines(errno);
        }
        struct {
            int bit;
            LineDrive drive;
            bool handedOver;
        } lines[] = {
            {TIOCM_RTS, drives.rts, after.fRtsControl == RTS_CONTROL_HANDSHAKE},
            {TIOCM_DTR, drives.dtr, false},
        };
        for (const auto& line : lines) {
            if (line.handedOver) {
                continue;
            }
            bool wanted = line.drive.drive ? line.drive.on : (linesBefore & line.bit) != 0;
            if (wanted != ((now & line.bit) != 0) && !SetLine(line.bit, wanted)) {
                return false;
            }
        }
        return true;
    }

    static bool NoModemLines(int e) { return e == ENOTTY || e == EINVAL; }

    // Line errors since the last call, from the driver's counters (none on a pseudo-terminal).
    DWORD NewLineErrors() {
        struct serial_icounter_struct c {};
        if (ioctl(m_fd, TIOCGICOUNT, &c) != 0) {
            return 0;
        }
        std::lock_guard<std::mutex> lock(m_stateLock);
        DWORD errors = (c.overrun != m_counts.overrun ? CE_OVERRUN : 0) |
                       (c.buf_overrun != m_counts.buf_overrun ? CE_RXOVER : 0) |
                       (c.parity != m_counts.parity ? CE_RXPARITY : 0) |
                       (c.frame != m_counts.frame ? CE_FRAME : 0) |
                       (c.brk != m_counts.brk ? CE_BREAK : 0);
        m_counts = c;
        return errors;
    }

    int m_fd;
    int m_wake;
    dev_t m_device;
    std::mutex m_stateLock;
    DCB m_dcb{};
    struct serial_icounter_struct m_counts {};
    std::atomic<DWORD> m_mask{0};
    std::atomic<uint64_t> m_maskChanges{0};
};

}  // namespace

HANDLE OpenSystemPort(int comNumber, LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                      HANDLE) {
    std::string path = DevicePathOfCom(comNumber);
    if (path.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(ErrorOfErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    // The system raises RTS and DTR when a tty opens; drop them at once, so that a board wired to
    // reset or change mode on them sees only what the port's settings ask for.
    int lines = TIOCM_RTS | TIOCM_DTR;
    ioctl(fd, TIOCMBIC, &lines);

    struct stat st {};
    struct termios t {};
    if (fstat(fd, &st) != 0 || tcgetattr(fd, &t) != 0) {
        close(fd);
        SetLastError(ERROR_FILE_NOT_FOUND);  // not a serial device
        return INVALID_HANDLE_VALUE;
    }
    {
        std::lock_guard<std::mutex> lock(OpenDevicesLock());
        if (OpenDevices().count(st.st_rdev) != 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        OpenDevices().insert(st.st_rdev);
    }
    // Raw bytes, as a Windows port delivers them; reads wait in poll(), never in read().
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (tcsetattr(fd, TCSANOW, &t) != 0 || wake < 0) {
        if (wake >= 0) {
            close(wake);
        }
        close(fd);
        std::lock_guard<std::mutex> lock(OpenDevicesLock());
        OpenDevices().erase(st.st_rdev);
        SetLastError(ERROR_GEN_FAILURE);
        return INVALID_HANDLE_VALUE;
    }
    return handles::Register(std::make_shared<TtyPort>(fd, wake, st.st_rdev));
}

}  // namespace serial
}  // namespace w32
