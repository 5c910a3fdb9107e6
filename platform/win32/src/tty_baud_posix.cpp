// Baud rates through the kernel's second termios record, which carries the rate as a number.
// Its header clashes with the C library's <termios.h>, so it lives in a file of its own.
#include "tty_baud_posix.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace w32 {
namespace serial {

namespace {

struct NamedRate {
    uint32_t baud;
    tcflag_t code;
};

// Rates with a termios name keep it, so that other programs reading the settings understand them.
const NamedRate kNamedRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

tcflag_t CodeOf(uint32_t baud) {
    for (const NamedRate& r : kNamedRates) {
        if (r.baud == baud) {
            return r.code;
        }
    }
    return BOTHER;
}

}  // namespace

bool SetTtyBaud(int fd, uint32_t baud) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        return false;
    }
    tcflag_t code = CodeOf(baud);
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= code | (code << IBSHIFT);
    t.c_ispeed = baud;
    t.c_ospeed = baud;
    return ioctl(fd, TCSETS2, &t) == 0;
}

bool GetTtyBaud(int fd, uint32_t* baud) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        return false;
    }
    *baud = t.c_ospeed;
    return true;
}

}  // namespace serial
}  // namespace w32
