// ptyboard: a simulated board behind a pseudo-terminal, so that a program in another process
// (under wine: through a COM link of the prefix's dosdevices) talks to it as to a serial port.
//
// The board sits on a virtual port of this process, on real time. Bytes from the terminal go to
// the port at the framing the terminal's far side was last set to; the board's replies go back
// to the terminal. A terminal carries no modem lines: the levels the program set arrive, when
// pty_lines is preloaded into it, as lines of a file that is read here and passed on.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "boards/catalogue.h"
#include "boards/programmer_board.h"
#include "w32/serial.h"
#include "w32/win32.h"
#include "w32test/vport.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void Stop(int) { g_stop = 1; }

constexpr int kCom = 1;  // the board's port inside this process

struct Arguments {
    std::string link;
    std::string lines;
    std::string memoryOut;
    std::string transcript;
    std::string kind;
    std::string options;
};

void Usage() {
    std::cerr
        << "usage: ptyboard --link PATH [--lines FILE] [--memory-out FILE] [--transcript FILE]\n"
           "                KIND [OPTION...]\n"
           "  --link PATH        made a link to the terminal (e.g. <prefix>/dosdevices/com1)\n"
           "  --lines FILE       modem-line changes written by pty_lines (\"RTS 1\")\n"
           "  --memory-out FILE  at the end: the programmer board's chip memory of kind 1\n"
           "  --transcript FILE  at the end: the board's record of the conversation\n"
           "  KIND OPTION...     a board of the catalogue, with its KEY=VALUE options\n"
           "Runs until SIGTERM or SIGINT.\n";
}

bool Parse(int argc, char** argv, Arguments* a) {
    int i = 1;
    for (; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--link" && i + 1 < argc) {
            a->link = argv[++i];
        } else if (word == "--lines" && i + 1 < argc) {
            a->lines = argv[++i];
        } else if (word == "--memory-out" && i + 1 < argc) {
            a->memoryOut = argv[++i];
        } else if (word == "--transcript" && i + 1 < argc) {
            a->transcript = argv[++i];
        } else {
            break;
        }
    }
    if (i >= argc || a->link.empty()) {
        return false;
    }
    a->kind = argv[i++];
    for (; i < argc; ++i) {
        a->options += (a->options.empty() ? "" : " ") + std::string(argv[i]);
    }
    return true;
}

DWORD BaudOf(speed_t speed) {
    static const struct {
        speed_t speed;
        DWORD baud;
    } kRates[] = {{B300, 300},     {B600, 600},       {B1200, 1200},    {B2400, 2400},
                  {B4800, 4800},   {B9600, 9600},     {B19200, 19200},  {B38400, 38400},
                  {B57600, 57600}, {B115200, 115200}, {B230400, 230400}};
    for (const auto& r : kRates) {
        if (r.speed == speed) {
            return r.baud;
        }
    }
    return 9600;
}

// The framing the terminal's far side is set to, as the port's DCB fields.
void FramingOf(int master, DCB* dcb) {
    termios t{};
    if (tcgetattr(master, &t) != 0) {
        return;
    }
    dcb->BaudRate = BaudOf(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
        case CS5:
            dcb->ByteSize = 5;
            break;
        case CS6:
            dcb->ByteSize = 6;
            break;
        case CS7:
            dcb->ByteSize = 7;
            break;
        default:
            dcb->ByteSize = 8;
            break;
    }
    if (!(t.c_cflag & PARENB)) {
        dcb->Parity = NOPARITY;
    } else if (t.c_cflag & CMSPAR) {
        dcb->Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    } else {
        dcb->Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    }
    dcb->StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
}

// Passes the modem-line changes written to the file since the last call on to the port.
void FollowLines(const std::string& path, std::streamoff* done, HANDLE port) {
    if (path.empty()) {
        return;
    }
    std::ifstream in(path);
    if (!in || !in.seekg(*done)) {
        return;
    }
    std::string name;
    int level = 0;
    while (in >> name >> level) {
        DWORD function = 0;
        if (name == "RTS") {
            function = level ? SETRTS : CLRRTS;
        } else if (name == "DTR") {
            function = level ? SETDTR : CLRDTR;
        }
        if (function != 0) {
            w32::EscapeCommFunction(port, function);
        }
        in.ignore(1);  // the line's end
        *done = in.tellg();
    }
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!Parse(argc, argv, &args)) {
        Usage();
        return 2;
    }
    std::string problem;
    std::unique_ptr<boards::Board> board = boards::MakeBoard(args.kind, args.options, &problem);
    if (board == nullptr) {
        std::cerr << "ptyboard: " << problem << "\n";
        return 2;
    }
    int master = -1;
    int slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("ptyboard: openpty");
        return 1;
    }
    // The far side reads raw bytes: no echo, no line editing, no CR/LF translation.
    termios raw{};
    tcgetattr(master, &raw);
    raw.c_iflag = raw.c_oflag = raw.c_lflag = 0;
    tcsetattr(master, TCSANOW, &raw);
    unlink(args.link.c_str());
    if (symlink(name, args.link.c_str()) != 0) {
        std::perror(("ptyboard: " + args.link).c_str());
        return 1;
    }
    if (!args.lines.empty()) {
        std::ofstream(args.lines, std::ios::trunc);
    }

    w32test::vport::Attach(kCom, board.get());
    HANDLE port = w32::CreateFileA("\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    COMMTIMEOUTS at_once{MAXDWORD, 0, 0, 0, 0};
    w32::SetCommTimeouts(port, &at_once);
    DCB line{};
    line.DCBlength = sizeof line;
    w32::GetCommState(port, &line);

    signal(SIGTERM, Stop);
    signal(SIGINT, Stop);
    std::cout << "ptyboard: a " << args.kind << " board behind " << name << " (" << args.link << ")"
              << std::endl;

    std::streamoff linesDone = 0;
    std::vector<BYTE> buffer(4096);
    while (!g_stop) {
        pollfd p{master, POLLIN, 0};
        const int ready = poll(&p, 1, 1);
        FollowLines(args.lines, &linesDone, port);
        if (ready > 0 && (p.revents & POLLIN)) {
            const ssize_t n = read(master, buffer.data(), buffer.size());
            if (n > 0) {
                DCB now = line;
                FramingOf(master, &now);
                if (now.BaudRate != line.BaudRate || now.ByteSize != line.ByteSize ||
                    now.Parity != line.Parity || now.StopBits != line.StopBits) {
                    line = now;
                    w32::SetCommState(port, &line);
                }
                DWORD written = 0;
                w32::WriteFile(port, buffer.data(), static_cast<DWORD>(n), &written, nullptr);
            }
        }
        DWORD got = 0;
        if (w32::ReadFile(port, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
            got > 0) {
            for (DWORD sent = 0; sent < got;) {
                const ssize_t n = write(master, buffer.data() + sent, got - sent);
                if (n <= 0) {
                    break;
                }
                sent += static_cast<DWORD>(n);
            }
        }
    }

    w32::CloseHandle(port);
    w32test::vport::Detach(kCom);
    if (!args.transcript.empty()) {
        std::ofstream(args.transcript) << board->Log().Text();
    }
    if (!args.memoryOut.empty()) {
        if (auto* programmer = dynamic_cast<boards::ProgrammerBoard*>(board.get())) {
            const std::vector<BYTE>& memory = programmer->Memory(1);
            std::ofstream(args.memoryOut, std::ios::binary)
                .write(reinterpret_cast<const char*>(memory.data()),
                       static_cast<std::streamsize>(memory.size()));
        }
    }
    unlink(args.link.c_str());
    close(slave);
    close(master);
    return 0;
}
