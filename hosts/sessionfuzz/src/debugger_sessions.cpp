// Debugger sessions: each of the three debuggers against its board with random damage on the
// line and a random run of commands; judged by the documented status codes and the host's own
// checks at the session's end (every host object released once).
#include <cstdio>

#include "session.h"

namespace sessionfuzz {
namespace {

struct DebuggerKind {
    const char* name;
    const char* once;  // the set-up of the process: the plug-in
    // The set-up of each session before its random commands; %S is the tree's root, %D the line
    // damage, %C the COM port's number, %P the port's number in the settings (%C - 1).
    const char* setUp;
    uint32_t low, high;  // where the program lies
};

const std::vector<DebuggerKind>& Debuggers() {
    static const std::vector<DebuggerKind> kinds = {
        {"Yardlow",
         "virtual-time on\n"
         "plugin Yardlow\n",
         "board debug-kernel COM%C %D\n"
         "create 8051 ExtMem=Separate\n"
         "settings port=%P baud=19200 word9=1\n"
         "load %S/targets/yardlow/tests/programs/hello.hex\n",
         0x0800, 0x086A},
        {"Pelmor",
         "virtual-time on\n"
         "plugin Pelmor\n",
         "board rom-monitor COM%C %D\n"
         "create 8051\n"
         "settings port=%P baud=9600\n"
         "load %S/targets/pelmor/tests/programs/count.hex\n",
         0x1000, 0x1030},
        {"Ostrel",
         "plugin Ostrel\n"
         "virtual-time on\n",
         "create 8051\n"
         "board sim-kernel COM%C baud=19200 p3=0x3C image=%S/targets/ostrel/kernel/Pindrake.hex "
         "%D\n"
         "settings port=%P baud=9600\n"
         "option hardware-ports 1\n"
         "load %S/targets/ostrel/tests/sessions/toggle_ports.hex\n",
         0x0000, 0x000E},
    };
    return kinds;
}

int Pick(std::mt19937_64& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

std::string Replace(std::string text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
        text.replace(at, what.size(), with);
        at += with.size();
    }
    return text;
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

// One command of a debugger session; every run is bounded by a step limit.
std::string RandomCommand(std::mt19937_64& random, const DebuggerKind& kind) {
    auto address = [&] { return Hex(static_cast<uint32_t>(Pick(random, kind.low, kind.high))); };
    auto limit = [&] { return " limit=" + std::to_string(Pick(random, 1, 400)); };
    switch (Pick(random, 0, 19)) {
        case 0:
        case 1:
            return "step";
        case 2:
            return "run " + std::to_string(Pick(random, 1, 40)) + limit();
        case 3:
            return "run -1" + limit();
        case 4:
        case 5:
            return "bp add " + address();
        case 6:
            return Pick(random, 0, 1) ? "bp remove-all" : "bp list";
        case 7:
            return "regs";
        case 8:
            return "reg PC";
        case 9:
            return "read " + std::to_string(Pick(random, 0, 3)) + " " + address() + " " +
                   std::to_string(Pick(random, 1, 24));
        case 10:
            return "write 2 " + Hex(static_cast<uint32_t>(Pick(random, 0x30, 0x7F))) + " " +
                   std::to_string(Pick(random, 0, 255));
        case 11:
            return "reset";
        case 12:
            return "over";
        case 13:
            return "out 1" + limit();
        case 14:
            return "until " + address() + limit();
        case 15:
            return "pc";
        case 16:
            return "dump";
        case 17:
            return "callstack";
        case 18:
            return "stop-after " + std::to_string(Pick(random, 1, 300)) +
                   (Pick(random, 0, 1) ? " break" : " stop");
        default:
            return "serial-in 0 \"x\"";
    }
}

}  // namespace

Session DebuggerSession(uint64_t seed, const std::string& sourceDir) {
    std::mt19937_64 random(seed);
    const DebuggerKind& kind =
        Debuggers()[Pick(random, 0, static_cast<int>(Debuggers().size()) - 1)];
    Session session;
    session.host = "simhost";
    session.subject = kind.name;
    std::string& s = session.script;
    s += "# Debugger sessions of the session fuzzer, seed " + std::to_string(seed) + "\n";
    s += kind.once;
    // Each session has a target of its own (create destroys the one before) and a board of its
    // own on a port of its own.
    for (int part = 1; part <= kSessionsPerProcess; ++part) {
        s += "# session " + std::to_string(part) + "\n";
        std::string setUp = Replace(kind.setUp, "%S", sourceDir);
        setUp = Replace(setUp, "%D", RandomDamage(random));
        setUp = Replace(setUp, "%C", std::to_string(part));
        s += Replace(setUp, "%P", std::to_string(part - 1));
        s += "reset\n";
        int commands = Pick(random, 4, 16);
        for (int i = 0; i < commands; ++i) {
            s += RandomCommand(random, kind) + "\n";
        }
    }
    return session;
}

std::string JudgeDebuggerOutput(const Session& /*session*/, const std::string& output) {
    static const std::set<int> kStatuses = {0,    1101, 1102, 1103, 1104, 1105, 1106,
                                            1108, 1109, 1111, 1112, 1113, 1114};
    bool ended = false;
    for (const std::string& line : Lines(output)) {
        int code = 0;
        if (std::sscanf(line.c_str(), "status %d", &code) == 1 && kStatuses.count(code) == 0 &&
            CommsResults().count(code) == 0) {
            return "status " + std::to_string(code) + " is not a documented status";
        }
        // Errors of a script line are the session's own doing (a step limit reached, an address
        // the target refuses); those at the end are the host's checks: a host object leaked or
        // released twice.
        if (line.compare(0, 7, "error: ") == 0 && line.compare(0, 12, "error: line ") != 0) {
            return "the host found a fault: " + line;
        }
        if (line.compare(0, 12, "session end:") == 0) {
            ended = true;
        }
    }
    return ended ? "" : "the session did not end";
}

}  // namespace sessionfuzz
