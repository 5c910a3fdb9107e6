// conredir with real children: output, exit codes and the argument limit in each mode it runs in.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#if !defined(_WIN32)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <string>
#include <vector>

#include "child_run.h"

namespace {

using conredir_test::Finished;
using conredir_test::Lines;
using conredir_test::ProgramPath;
using conredir_test::RunProgram;

#if defined(_WIN32)
const char kLineEnd[] = "\r\n";
#else
const char kLineEnd[] = "\n";
#endif

struct Redirector {
    const char* program;  // built beside the tests
    int startFailure;     // exit code when the child cannot be started
};

std::ostream& operator<<(std::ostream& out, const Redirector& r) { return out << r.program; }

class EachMode : public testing::TestWithParam<Redirector> {
protected:
    Finished Redirect(const std::vector<std::string>& arguments) {
        std::vector<std::string> words{ProgramPath(GetParam().program)};
        words.insert(words.end(), arguments.begin(), arguments.end());
        return RunProgram(words);
    }
    const std::string child_ = ProgramPath("conredir_test_child");
};

TEST_P(EachMode, ChildOutputAndExitCodePassThrough) {
    const Finished run = Redirect({child_, "abc"});
    EXPECT_EQ(run.output, std::string("abc") + kLineEnd);
    EXPECT_EQ(run.exitCode, 3);
}

TEST_P(EachMode, SilentChildGivesNoOutputAndItsExitCode) {
    const Finished run = Redirect({child_, "exit", "7"});
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.exitCode, 7);
}

// A child that does not start: the exit code of the mode, the reason on standard error, and
// nothing on standard output, which is the child's alone.
TEST_P(EachMode, NoArgumentsOrAMissingProgramCannotStartAChild) {
    const Finished none = Redirect({});
    EXPECT_EQ(none.output, "");
    EXPECT_EQ(none.exitCode, GetParam().startFailure);
    EXPECT_EQ(none.errors, "conredir: no program to run (usage: conredir PROGRAM [ARGUMENT...])" +
                               std::string(kLineEnd));

    const Finished missing = Redirect({"conredir-no-such-program", "x"});
    EXPECT_EQ(missing.output, "");
    EXPECT_EQ(missing.exitCode, GetParam().startFailure);
    EXPECT_EQ(missing.errors.rfind("conredir: cannot start \"conredir-no-such-program\": ", 0), 0u)
        << missing.errors;
    EXPECT_GT(missing.errors.size(), 60u) << "the system's reason is missing: " << missing.errors;
}

TEST_P(EachMode, AFileThatIsNoProgramCannotStartAChild) {
    // A text file in the place of a program: not executable here, no program format on Windows.
    const std::string notes = ProgramPath("conredir_test_notes");
    std::ofstream(notes, std::ios::binary) << "Notes, not a program.\n";
    const Finished run = Redirect({notes});
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.exitCode, GetParam().startFailure);
    EXPECT_EQ(run.errors.rfind("conredir: cannot start \"" + notes + "\": ", 0), 0u) << run.errors;
    std::remove(notes.c_str());
}

TEST_P(EachMode, LongArgumentListIsCutWhereTheCommandLineIsFull) {
    std::vector<std::string> arguments{child_, "args"};
    for (int i = 0; i < 1000; ++i) {
        arguments.push_back("w" + std::to_string(1000 + i));
    }
    // Each word takes its length and a blank; the word that brings the line to 4096 is the
    // first one dropped.
    std::size_t total = 0;
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        total += arguments[i].size() + 1;
        if (total >= 4096) {
            break;
        }
        if (i >= 2) {
            expected.push_back("[" + arguments[i] + "]");
        }
    }
    ASSERT_LT(expected.size(), 998u);

    const Finished run = Redirect(arguments);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Lines(run.output), expected);
}

#if defined(_WIN32)
// The test system reports one version only; these builds of conredir take the version class
// of NT 5.1 (direct mode) and NT 5.2 (capture mode) instead of asking.
INSTANTIATE_TEST_SUITE_P(Windows, EachMode,
                         testing::Values(Redirector{"conredir_as_nt51", 242},
                                         Redirector{"conredir_as_nt52", -2}));

TEST(CaptureMode, ChildWritesIntoAScreenBufferOnlyInCaptureMode) {
    const std::string child = ProgramPath("conredir_test_child");
    EXPECT_EQ(RunProgram({ProgramPath("conredir_as_nt52"), child, "where"}).output, "console\r\n");
    EXPECT_EQ(RunProgram({ProgramPath("conredir_as_nt51"), child, "where"}).output, "pipe\r\n");
}

TEST(CaptureMode, BurstLongerThanAScreenArrivesWhole) {
    const Finished run = RunProgram(
        {ProgramPath("conredir_as_nt52"), ProgramPath("conredir_test_child"), "lines", "3000"});
    EXPECT_EQ(run.exitCode, 0);
    const std::vector<std::string> lines = Lines(run.output);
    ASSERT_EQ(lines.size(), 3000u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i], "line " + std::to_string(i + 1));
    }
}

TEST(CaptureMode, EveryRewriteOfTheCurrentRowComesOut) {
    const Finished run = RunProgram(
        {ProgramPath("conredir_as_nt52"), ProgramPath("conredir_test_child"), "progress"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "Progress 10%Progress 20%Done.       \r\n");
}

TEST(CaptureMode, ProcessWithoutAConsoleRunsTheChildDirectly) {
    const std::string child = ProgramPath("conredir_test_child");
    const Finished run =
        conredir_test::RunWithoutConsole({ProgramPath("conredir_as_nt52"), child, "abc"});
    EXPECT_EQ(run.output, "abc\r\n");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(
        conredir_test::RunWithoutConsole({ProgramPath("conredir_as_nt52"), child, "where"}).output,
        "pipe\r\n");
}

TEST(Conredir, RunsTheChildInTheModeOfTheReportedVersion) {
    const Finished run =
        RunProgram({ProgramPath("conredir"), ProgramPath("conredir_test_child"), "abc"});
    EXPECT_EQ(run.output, "abc\r\n");
    EXPECT_EQ(run.exitCode, 3);
}
#else
INSTANTIATE_TEST_SUITE_P(Linux, EachMode, testing::Values(Redirector{"conredir", 242}));

TEST(DirectMode, CommandLineIsSplitAsAWindowsChildWouldSplitIt) {
    const Finished run = RunProgram({ProgramPath("conredir"), ProgramPath("conredir_test_child"),
                                     "args", "two words", R"("a b")", R"(c\"d)", R"(e\\f)"});
    EXPECT_EQ(Lines(run.output),
              (std::vector<std::string>{"[two]", "[words]", "[a b]", R"([c"d])", R"([e\\f])"}));
}

TEST(DirectMode, ProgramIsFoundOnThePath) {
    EXPECT_EQ(RunProgram({ProgramPath("conredir"), "sh", "-c", R"("exit 5")"}).exitCode, 5);
}

TEST(DirectMode, ChildEndedBySignalHasNoExitCode) {
    EXPECT_EQ(RunProgram({ProgramPath("conredir"), "sh", "-c", R"("kill -9 $$")"}).exitCode, 242);
}

// True once process `pid` has ended: gone, or a zombie that waits for its new parent.
bool HasEnded(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text)) {
        return true;
    }
    const std::size_t afterName = text.rfind(')');
    return afterName != std::string::npos && text.compare(afterName, 3, ") Z") == 0;
}

TEST(DirectMode, AKilledConredirTakesItsChildWithIt) {
    const conredir_test::Started conredir = conredir_test::StartProgram(
        {ProgramPath("conredir"), ProgramPath("conredir_test_child"), "wait"});
    ASSERT_GT(conredir.pid, 0);
    std::string line;
    ASSERT_TRUE(conredir_test::ReadLine(conredir.output, &line, 30));
    ASSERT_EQ(line.rfind("pid ", 0), 0u) << line;
    const int child = std::stoi(line.substr(4));

    kill(conredir.pid, SIGKILL);
    int status = 0;
    waitpid(conredir.pid, &status, 0);
    close(conredir.output);
    // The child's end follows the kill at once; the bound only keeps a failing test from hanging.
    bool ended = false;
    for (int tenth = 0; tenth < 300 && !(ended = HasEnded(child)); ++tenth) {
        usleep(100000);
    }
    EXPECT_TRUE(ended) << "the child " << child << " outlived conredir";
    if (!ended) {
        kill(child, SIGKILL);
    }
}
#endif

}  // namespace
