/* Modem lines for a pseudo-terminal, preloaded into a program that treats the terminal as a
 * serial port: a terminal has no RTS, DTR, CTS or DSR, and the system refuses to set or read
 * them, so a program that raises DTR and RTS before it talks would give up. Here setting them
 * succeeds and reading them reports the levels last set, with CTS, DSR and carrier on. Each change
 * is also written, as "RTS 1\n" or "DTR 0\n", to the file named by FWT_PTY_LINES when set, so
 * that the program on the terminal's far end can pass the levels on to its board. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

static int g_lines = TIOCM_CTS | TIOCM_DSR | TIOCM_CD;

static void report(int before, int after) {
    const char* path = getenv("FWT_PTY_LINES");
    if (path == NULL || *path == '\0') {
        return;
    }
    int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    char text[32];
    if ((before ^ after) & TIOCM_RTS) {
        int n = snprintf(text, sizeof text, "RTS %d\n", (after & TIOCM_RTS) != 0);
        (void)!write(fd, text, (size_t)n);
    }
    if ((before ^ after) & TIOCM_DTR) {
        int n = snprintf(text, sizeof text, "DTR %d\n", (after & TIOCM_DTR) != 0);
        (void)!write(fd, text, (size_t)n);
    }
    close(fd);
}

/* The call through `next` (the system's own), with the modem-line requests a terminal refuses
 * answered here. */
static int with_lines(ioctl_fn next, int fd, unsigned long request, void* argument) {
    int result = next(fd, request, argument);
    if (result == 0 || (errno != ENOTTY && errno != EINVAL) || argument == NULL) {
        return result;
    }
    int saved = errno;
    struct termios t;
    if (tcgetattr(fd, &t) != 0) {
        errno = saved;
        return result;
    }
    int before = g_lines;
    switch (request) {
        case TIOCMGET:
            *(int*)argument = g_lines;
            return 0;
        case TIOCMBIS:
            g_lines |= *(const int*)argument & (TIOCM_RTS | TIOCM_DTR);
            break;
        case TIOCMBIC:
            g_lines &= ~(*(const int*)argument & (TIOCM_RTS | TIOCM_DTR));
            break;
        case TIOCMSET:
            g_lines = (g_lines & ~(TIOCM_RTS | TIOCM_DTR)) |
                      (*(const int*)argument & (TIOCM_RTS | TIOCM_DTR));
            break;
        default:
            errno = saved;
            return result;
    }
    report(before, g_lines);
    return 0;
}

int ioctl(int fd, unsigned long request, ...) {
    static ioctl_fn next = NULL;
    if (next == NULL) {
        next = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    }
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    return with_lines(next, fd, request, argument);
}

#if defined(__i386__)
/* A 32-bit program built with a 64-bit time calls ioctl under this name. */
int __ioctl_time64(int fd, unsigned long request, ...) {
    static ioctl_fn next = NULL;
    if (next == NULL) {
        next = (ioctl_fn)dlsym(RTLD_NEXT, "__ioctl_time64");
    }
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    return with_lines(next, fd, request, argument);
}
#endif
