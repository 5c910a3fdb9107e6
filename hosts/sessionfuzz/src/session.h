// Randomized host sessions, several to one host process: the script the host runs, the files
// beside it, and how its output is judged.
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sessionfuzz {

// Sessions in one host process: each has its own board, port and program, so one start of the
// host (the most of a session's cost under the sanitizers) serves them all.
constexpr int kSessionsPerProcess = 6;

// The sessions of one host process, under one seed.
struct Session {
    std::string host;     // the program: "loadhost" or "simhost"
    std::string subject;  // the plug-in it drives
    std::string script;
    std::vector<std::pair<std::string, std::string>> files;  // name, content, beside the script
};

// The codes of the serial library's port object, which loaders and debuggers may pass on.
const std::set<int>& CommsResults();

// A random Intel HEX program: a few blocks of bytes between `lowest` and about lowest + 0x400,
// records of 1 to 16 bytes, LF or CR LF line ends, the end record last.
std::string RandomHexProgram(std::mt19937_64& random, uint32_t lowest);

// The random line damage of a board's options ("" now and then: an undamaged line).
std::string RandomDamage(std::mt19937_64& random);

// Loader sessions of seed `seed`: one of the seven loaders against its boards.
Session LoaderSession(uint64_t seed);
// "" when the output of a loader session is as the loaders' documented behaviour allows; else
// what is wrong.
std::string JudgeLoaderOutput(const Session& session, const std::string& output);

// Debugger sessions of seed `seed`: one of the three debuggers against its boards; the programs
// they load are taken from the tree at `sourceDir`.
Session DebuggerSession(uint64_t seed, const std::string& sourceDir);
std::string JudgeDebuggerOutput(const Session& session, const std::string& output);

// The lines of a text.
std::vector<std::string> Lines(const std::string& text);

}  // namespace sessionfuzz
