// session_fuzz: randomized fault sessions of every loader (through loadhost) and every debugger
// (through simhost) against their simulated boards, each session bounded in real time. Prints the
// count of sessions, the sessions per second, and every failing seed with the script that
// reproduces it. Exit code 0 when no session failed.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bounded_run.h"
#include "session.h"

namespace sessionfuzz {
namespace {

void Usage() {
    std::fputs(
        "usage: session_fuzz [loaders|debuggers|all] [--seconds N] [--jobs N] [--seed S]\n"
        "                    [--bound N] [--out DIR] [--one SEED]\n"
        "Runs random sessions of the loaders (loadhost) and debuggers (simhost) beside this\n"
        "program against their boards with random line damage, for N seconds each (default 60),\n"
        "on N jobs at once (default: the machine's cores), six sessions to a host process, the\n"
        "processes' seeds counting from S (default: from the clock). A session fails on a\n"
        "sanitizer report, a real time past its bound (default 15 s; a process has six times\n"
        "that), a result outside the documented set, a port left open, a host object not\n"
        "released, or a loader's success with the board's memory different from the file.\n"
        "--one SEED runs the sessions of that seed again and prints their script and output.\n"
        "Failing sessions are kept in DIR (default: ../session-fuzz beside the program) with\n"
        "their scripts. Exit code 0 when no session failed.\n",
        stdout);
}

struct Options {
    std::string which = "all";
    double seconds = 60;
    int jobs = 0;
    uint64_t seed = 0;
    bool seedGiven = false;
    double bound = 15;  // seconds of real time a session may take
    std::string out;
    bool one = false;
    uint64_t oneSeed = 0;
};

struct Phase {
    const char* name;
    const char* note;  // what the phase does not check, and why
    Session (*make)(uint64_t seed, const std::string& sourceDir);
    std::string (*judge)(const Session& session, const std::string& output);
};

Session MakeLoader(uint64_t seed, const std::string&) { return LoaderSession(seed); }

const Phase kPhases[] = {
    {"loaders",
     "the text loaders (Tuvmar, Zeppra, Lomrik, Gristan) read no answer by design: their boards' "
     "memory is not checked against the file",
     MakeLoader, JudgeLoaderOutput},
    {"debuggers", "", DebuggerSession, JudgeDebuggerOutput}};

std::string FolderOfProgram() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return ".";
    }
    std::string text(path, static_cast<size_t>(n));
    return text.substr(0, text.rfind('/'));
}

void MakeFolder(const std::string& path) { mkdir(path.c_str(), 0755); }

struct Result {
    std::string failure;  // "" when the session passed
    std::string folder;   // where its script, files and output are
};

// Runs one session in `folder` and judges it.
Result RunSession(const Phase& phase, const Session& session, const std::string& bin,
                  const std::string& folder, double bound) {
    MakeFolder(folder);
    WriteFile(folder + "/session.script", session.script);
    for (const auto& file : session.files) {
        WriteFile(folder + "/" + file.first, file.second);
    }
    // The sessions of one process share its bound.
    double processBound = bound * kSessionsPerProcess;
    RunOutcome outcome = RunBounded(bin + "/" + session.host, "session.script", folder,
                                    folder + "/output.txt", folder + "/stderr.txt", processBound);
    Result result;
    result.folder = folder;
    std::string errors = ReadFile(folder + "/stderr.txt");
    char text[96];
    if (!outcome.finished) {
        std::snprintf(text, sizeof text,
                      "still running after the bound of its %d sessions, %.0f s of real time",
                      kSessionsPerProcess, processBound);
        result.failure = text;
    } else if (outcome.exitCode == 23 || errors.find("Sanitizer") != std::string::npos ||
               errors.find("runtime error:") != std::string::npos) {
        result.failure = "a sanitizer report (stderr.txt)";
    } else if (outcome.signal != 0) {
        result.failure = "ended by signal " + std::to_string(outcome.signal);
    } else if (outcome.exitCode != 0 && outcome.exitCode != 1) {
        result.failure = session.host + " exited with " + std::to_string(outcome.exitCode);
    } else {
        result.failure = phase.judge(session, ReadFile(folder + "/output.txt"));
    }
    return result;
}

std::string Indented(const std::string& text) {
    std::string out;
    for (const std::string& line : Lines(text)) {
        out += "    " + line + "\n";
    }
    return out;
}

// Runs sessions of one phase on `jobs` threads until `seconds` have passed; returns the count
// of failures.
int RunPhase(const Phase& phase, const Options& options, const std::string& bin,
             const std::string& sourceDir) {
    std::printf("%s: session seeds from %llu, %.0f s on %d jobs\n", phase.name,
                static_cast<unsigned long long>(options.seed), options.seconds, options.jobs);
    if (phase.note[0] != '\0') {
        std::printf("%s: %s\n", phase.name, phase.note);
    }
    std::fflush(stdout);
    std::atomic<uint64_t> next{0};
    std::atomic<int> failures{0};
    std::mutex lock;
    std::map<std::string, int> bySubject;
    auto start = std::chrono::steady_clock::now();
    auto end = start + std::chrono::duration<double>(options.seconds);
    std::vector<std::thread> workers;
    for (int j = 0; j < options.jobs; ++j) {
        workers.emplace_back([&, j] {
            std::string work = options.out + "/" + phase.name + "-work-" + std::to_string(j);
            while (std::chrono::steady_clock::now() < end) {
                uint64_t seed = options.seed + next++;
                Session session = phase.make(seed, sourceDir);
                Result result = RunSession(phase, session, bin, work, options.bound);
                std::lock_guard<std::mutex> guard(lock);
                bySubject[session.subject] += kSessionsPerProcess;
                if (result.failure.empty()) {
                    continue;
                }
                std::string kept = options.out + "/" + phase.name + "-" + std::to_string(seed);
                std::string move = "rm -rf '" + kept + "' && mv '" + work + "' '" + kept + "'";
                if (std::system(move.c_str()) != 0) {
                    kept = work;
                }
                if (++failures <= 10) {
                    std::printf(
                        "FAILED %s seed %llu (%s): %s\n  reproduce: cd %s && %s/%s "
                        "session.script\n  script:\n%s",
                        phase.name, static_cast<unsigned long long>(seed), session.subject.c_str(),
                        result.failure.c_str(), kept.c_str(), bin.c_str(), session.host.c_str(),
                        Indented(session.script).c_str());
                    std::fflush(stdout);
                }
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    uint64_t sessions = next.load() * kSessionsPerProcess;
    std::string subjects;
    for (const auto& entry : bySubject) {
        subjects +=
            (subjects.empty() ? "" : ", ") + entry.first + " " + std::to_string(entry.second);
    }
    std::printf("%s: %llu sessions in %.1f s, %.1f sessions per second (%s), %d failing\n",
                phase.name, static_cast<unsigned long long>(sessions), took,
                took > 0 ? sessions / took : 0.0, subjects.c_str(), failures.load());
    std::fflush(stdout);
    return failures.load();
}

int RunOne(const Phase& phase, const Options& options, const std::string& bin,
           const std::string& sourceDir) {
    Session session = phase.make(options.oneSeed, sourceDir);
    std::string folder = options.out + "/" + phase.name + "-" + std::to_string(options.oneSeed);
    Result result = RunSession(phase, session, bin, folder, options.bound);
    std::printf("%s session %llu (%s) in %s:\n%s--- output\n%s--- %s\n", phase.name,
                static_cast<unsigned long long>(options.oneSeed), session.subject.c_str(),
                folder.c_str(), Indented(session.script).c_str(),
                ReadFile(folder + "/output.txt").c_str(),
                result.failure.empty() ? "passed" : ("FAILED: " + result.failure).c_str());
    return result.failure.empty() ? 0 : 1;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (arg != name || i + 1 >= argc) {
                return nullptr;
            }
            return argv[++i];
        };
        const char* v = nullptr;
        if (arg == "loaders" || arg == "debuggers" || arg == "all") {
            options->which = arg;
        } else if ((v = value("--seconds")) != nullptr) {
            options->seconds = std::atof(v);
        } else if ((v = value("--jobs")) != nullptr) {
            options->jobs = std::atoi(v);
        } else if ((v = value("--seed")) != nullptr) {
            options->seed = std::strtoull(v, nullptr, 0);
            options->seedGiven = true;
        } else if ((v = value("--bound")) != nullptr) {
            options->bound = std::atof(v);
        } else if ((v = value("--out")) != nullptr) {
            options->out = v;
        } else if ((v = value("--one")) != nullptr) {
            options->one = true;
            options->oneSeed = std::strtoull(v, nullptr, 0);
        } else {
            return false;
        }
    }
    return options->seconds > 0 && options->bound > 0 && options->jobs >= 0;
}

}  // namespace
}  // namespace sessionfuzz

int main(int argc, char** argv) {
    using namespace sessionfuzz;
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        Usage();
        return 2;
    }
    std::string bin = FolderOfProgram();
    if (options.out.empty()) {
        options.out = bin + "/../session-fuzz";
    }
    MakeFolder(options.out);
    if (options.jobs == 0) {
        unsigned cores = std::thread::hardware_concurrency();
        options.jobs = cores > 1 ? static_cast<int>(cores) : 1;
    }
    if (!options.seedGiven) {
        // Each run tries new sessions; the seeds it prints bring any of them back.
        options.seed = static_cast<uint64_t>(
                           std::chrono::system_clock::now().time_since_epoch().count() / 1000) %
                       1000000000000ull;
    }
    int failures = 0;
    for (const Phase& phase : kPhases) {
        if (options.which != "all" && options.which != phase.name) {
            continue;
        }
        failures += options.one ? RunOne(phase, options, bin, FWT_SOURCE_DIR)
                                : RunPhase(phase, options, bin, FWT_SOURCE_DIR);
    }
    return failures == 0 ? 0 : 1;
}
