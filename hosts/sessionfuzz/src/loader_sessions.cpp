// Loader sessions: each of the seven loaders against its board, with random damage on the line,
// random framing of the port record and random cancels; judged by the loaders' documented result
// codes, the port closed after every call, and the board's memory after a success.
#include <cstdio>

#include "loader/loader_abi.h"
#include "session.h"

namespace sessionfuzz {
namespace {

struct LoaderKind {
    const char* plugin;
    const char* board;         // the board's kind
    const char* boardOptions;  // and its own options
    // Whether the loader reads the board's answers: the text loaders do not (by design they
    // cannot know what the board made of the text), so their boards' memory is not checked.
    bool readsAnswers;
    bool hasSetMode;
    bool passesCommsResults;  // a serial read's or write's code may be the result
    std::set<int> results;    // the loader's own codes, 0 among them
};

const std::vector<LoaderKind>& Loaders() {
    static const std::vector<LoaderKind> kinds = {
        {"Wendra",
         "corvanec",
         "",
         true,
         true,
         true,
         {0, LDR_ERR_LOAD_FILE, LDR_ERR_PROGRAM_MODE, LDR_ERR_DOWNLOAD, LDR_ERR_PIC_VERSION,
          LDR_ERR_SET_TYPE, LDR_ERR_PURGE, LDR_ERR_CHECKSUM}},
        {"Corvane",
         "brontal-g",
         "",
         true,
         false,
         false,
         {0, LDR_ERR_LOAD_FILE, LDR_ERR_HIGHEST_ADDR, LDR_ERR_PROGRAM_MODE, LDR_ERR_SET_PC,
          LDR_ERR_DOWNLOAD, LDR_ERR_UPLOAD, LDR_ERR_VERIFY}},
        {"Tuvmar",
         "rom-monitor",
         "",
         false,
         true,
         false,
         {0, LDR_ERR_DOWNLOAD, LDR_ERR_PORT_WRITE}},
        {"Zeppra",
         "saltrem-a-pic",
         "",
         false,
         true,
         true,
         {0, LDR_ERR_PROGRAM_MODE, LDR_ERR_DOWNLOAD, LDR_ERR_PORT_WRITE, LDR_ERR_PIC_VERSION,
          LDR_ERR_SET_TYPE, LDR_ERR_PURGE, LDR_ERR_CHECKSUM}},
        {"Lomrik",
         "saltrem-a",
         "line=dtr",
         false,
         true,
         false,
         {0, LDR_ERR_PROGRAM_MODE, LDR_ERR_DOWNLOAD, LDR_ERR_PORT_WRITE}},
        {"Gristan",
         "saltrem-a",
         "",
         false,
         true,
         false,
         {0, LDR_ERR_PROGRAM_MODE, LDR_ERR_DOWNLOAD, LDR_ERR_PORT_WRITE}},
        {"Frandle", "brontal-e", "baud=19200", true, true, true, {0, LDR_ERR_DOWNLOAD}},
    };
    return kinds;
}

const LoaderKind* LoaderNamed(const std::string& name) {
    for (const LoaderKind& kind : Loaders()) {
        if (name == kind.plugin) {
            return &kind;
        }
    }
    return nullptr;
}

int Pick(std::mt19937_64& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

// The port record of COM `com`: the framing the board expects most of the time, any other now
// and then.
std::string RandomPortLine(std::mt19937_64& random, int com) {
    std::string line = "port port=" + std::to_string(com - 1);
    if (Pick(random, 0, 9) < 6) {
        return line;
    }
    static const int kBauds[] = {1200, 4800, 9600, 19200, 38400, 57600, 115200};
    line += " baud=" + std::to_string(kBauds[Pick(random, 0, 6)]);
    line += " data=" + std::to_string(Pick(random, 0, 3) == 0 ? 7 : 8);
    line += " parity=" + std::to_string(Pick(random, 0, 3) == 0 ? Pick(random, 1, 2) : 0);
    line += " stop=" + std::to_string(Pick(random, 0, 3) == 0 ? 2 : 0);
    return line;
}

int ResultOf(const std::string& line) {
    int code = 0;
    return std::sscanf(line.c_str(), "result %d", &code) == 1 ? code : -1;
}

}  // namespace

Session LoaderSession(uint64_t seed) {
    std::mt19937_64 random(seed);
    const LoaderKind& kind = Loaders()[Pick(random, 0, static_cast<int>(Loaders().size()) - 1)];
    Session session;
    session.host = "loadhost";
    session.subject = kind.plugin;
    std::string& s = session.script;
    s += "# Loader sessions of the session fuzzer, seed " + std::to_string(seed) + "\n";
    s += std::string("plugin ") + kind.plugin + "\n";
    s += "virtual-time on\n";
    // Each session has a board of its own on a port of its own, and a program of its own.
    for (int part = 1; part <= kSessionsPerProcess; ++part) {
        int com = 2 + part;
        std::string program = "program" + std::to_string(part) + ".hex";
        session.files.push_back(
            {program, RandomHexProgram(random, static_cast<uint32_t>(Pick(random, 0x100, 0x300)))});
        s += "# session " + std::to_string(part) + "\n";
        s += std::string("board ") + kind.board + " COM" + std::to_string(com) + " " +
             kind.boardOptions + " " + RandomDamage(random) + "\n";
        s += RandomPortLine(random, com) + "\n";
        s +=
            "cancel-at " + std::to_string(Pick(random, 0, 2) == 0 ? Pick(random, 1, 60) : 0) + "\n";
        s += "download " + program + "\n";
        if (kind.readsAnswers) {
            s += "board-check " + program + "\n";
        }
        if (kind.hasSetMode && Pick(random, 0, 2) == 0) {
            s += "setmode " + std::to_string(Pick(random, 0, 1)) + "\n";
        }
    }
    return session;
}

std::string JudgeLoaderOutput(const Session& session, const std::string& output) {
    const LoaderKind* kind = LoaderNamed(session.subject);
    if (kind == nullptr) {
        return "unknown loader " + session.subject;
    }
    std::string command;  // the command whose output is being read
    int downloadResult = -1;
    bool cancelled = false;
    bool ended = false;
    for (const std::string& line : Lines(output)) {
        if (line.compare(0, 2, "> ") == 0) {
            command = line.substr(2);
            if (command.compare(0, 6, "board ") == 0) {
                // The next session.
                downloadResult = -1;
                cancelled = false;
            }
            continue;
        }
        if (line.compare(0, 12, "session end:") == 0) {
            ended = true;
        }
        if (line.find("-> cancel") != std::string::npos) {
            cancelled = true;
        }
        int code = ResultOf(line);
        if (code >= 0 && command.compare(0, 8, "download") == 0) {
            downloadResult = code;
            bool documented = kind->results.count(code) != 0 ||
                              (kind->passesCommsResults && CommsResults().count(code) != 0);
            if (!documented) {
                return "download result " + std::to_string(code) + " is not one of " +
                       kind->plugin + "'s";
            }
        } else if (code >= 0 && command.compare(0, 7, "setmode") == 0 && code != 0 &&
                   code != LDR_ERR_PROGRAM_MODE && code != LDR_ERR_RUN_MODE) {
            return "setmode result " + std::to_string(code) + " is not 0, 2120 or 2121";
        }
        if (line.compare(0, 6, "error:") != 0) {
            continue;
        }
        bool memoryDiffers = line.find("board memory differs") != std::string::npos;
        if (!memoryDiffers) {
            return "the host found a fault: " + line;
        }
        // Differences are a fault only where the loader said it had put the file there.
        if (downloadResult == 0 && !cancelled) {
            return "success answered, but " + line.substr(line.find("board memory"));
        }
    }
    if (!ended) {
        return "the session did not end";
    }
    return "";
}

}  // namespace sessionfuzz
