// The session cases most loaders' tests share, written once: a cancel answered at every callback,
// a port that does not open, a modem line that cannot be set, mode switches that fail, and a
// program built from C. A loader's test file gives each case as a row (its session's lines, its
// files, the texts it answers) and registers it under the suite and name the loader's test has.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "loadhost/session_fixture.h"
#include "w32test/vport.h"

namespace loadhosttest {

// Script lines of a session.
using Lines = std::vector<std::string>;

// `lines` followed by `more`.
inline Lines Joined(Lines lines, std::initializer_list<std::string> more) {
    lines.insert(lines.end(), more);
    return lines;
}

// --- A cancel answered at every callback in turn ---------------------------------------------

// One download with a cancel answered at callback `at`, beside the same download without one.
struct CancelRun {
    size_t at;                                    // from 1
    const std::string& answered;                  // callback `at` of the uncancelled download
    const std::vector<std::string>& uncancelled;  // the callbacks of the uncancelled download
    size_t firstPercent;                          // FirstPercent(uncancelled)
    const std::string& output;
    const std::vector<std::string>& callbacks;  // those of this download
};

struct CancelCase {
    const char* suite;
    const char* name;
    // The session's lines with `extra` (a cancel-at line, or "") before the download.
    std::function<Lines(const std::string& extra)> download;
    // The uncancelled download has more callbacks than this; 0: it has a percentage.
    size_t moreCallbacksThan;
    // Each cancelled download answers 0 with "result 0 OK" just before the port is closed.
    bool okThenClosed;
    // What this loader does with the cancel of `run`.
    std::function<void(const CancelRun& run)> check;
};

// Where a download stops when a cancel is answered to `run.answered`: at that callback when it
// holds one of `stopTexts`, at the first percentage when it is the start notice (whose record the
// percentages use), 0 when the download takes no cancel there.
inline size_t StopOf(const CancelRun& run, std::initializer_list<const char*> stopTexts) {
    for (const char* text : stopTexts) {
        if (Holds(run.answered, text)) {
            return run.at;
        }
    }
    return Holds(run.answered, "start notice") ? run.firstPercent : 0;
}

// The check of a loader whose download takes a cancel only in its bytes (a percentage, or the
// start notice for the first of them): it stops there, or else runs to its end, and the cancel
// stands on the callback it was answered to.
inline void ExpectStopOnlyInTheBytes(const CancelRun& run) {
    size_t stop = StopOf(run, {": percent "});
    ASSERT_EQ(run.callbacks.size(), stop == 0 ? run.uncancelled.size() : stop) << run.output;
    EXPECT_EQ(run.callbacks[run.at - 1], run.answered + " -> cancel");
}

class CancelTest : public ::testing::Test {
public:
    explicit CancelTest(CancelCase row) : m_row(std::move(row)) {}

    void TestBody() override {
        int exitCode = -1;
        std::string whole = RunSession(m_row.download(""), &exitCode);
        ASSERT_EQ(exitCode, 0) << whole;
        const std::vector<std::string> uncancelled = CallbackLines(whole);
        const size_t firstPercent = FirstPercent(uncancelled);
        if (m_row.moreCallbacksThan == 0) {
            ASSERT_GT(firstPercent, 0u) << whole;
        } else {
            ASSERT_GT(uncancelled.size(), m_row.moreCallbacksThan) << whole;
        }

        for (size_t at = 1; at <= uncancelled.size(); ++at) {
            const std::string& answered = uncancelled[at - 1];
            SCOPED_TRACE("cancel at callback " + std::to_string(at) + ": " + answered);
            std::string output =
                RunSession(m_row.download("cancel-at " + std::to_string(at)), &exitCode);
            EXPECT_EQ(exitCode, 0) << output;
            if (m_row.okThenClosed) {
                EXPECT_NE(output.find("result 0 OK\nport COM3 closed\n"), std::string::npos)
                    << output;
            }
            const std::vector<std::string> callbacks = CallbackLines(output);
            m_row.check({at, answered, uncancelled, firstPercent, output, callbacks});
        }
    }

private:
    CancelCase m_row;
};

// --- Port faults, each in a session fed line by line -----------------------------------------

// A port that does not open for `failures` tries: nothing reaches the board.
struct UnopenedPortCase {
    const char* suite;
    const char* name;
    Lines setup;       // up to the port record
    std::string file;  // the download's file
    int failures;
    std::vector<std::string> texts;  // each stands in the output
};

// A modem line (RTS or DTR) that cannot be set: program mode fails with the system's text.
struct UnsetLineCase {
    const char* suite;
    const char* name;
    Lines setup;
    std::string file;
    std::string message;  // the start of callback 1
};

// Both mode switches failing on the host's own handle: each answers its code and the host hears
// nothing of it.
struct FailedSwitchCase {
    const char* suite;
    const char* name;
    Lines setup;  // with the port record that holds the handle
    // When not empty: the board's log after the switches does not hold this (the line the
    // switches would have moved).
    std::string unmovedLine;
};

// A session fed line by line for one row, the row's set-up lines first.
template <class Case>
class RowSessionTest : public SessionTest {
public:
    explicit RowSessionTest(Case row) : m_row(std::move(row)) {}

protected:
    void RunSetup() {
        for (const std::string& line : m_row.setup) {
            Run(line);
        }
    }

    Case m_row;
};

class UnopenedPortTest : public RowSessionTest<UnopenedPortCase> {
public:
    using RowSessionTest::RowSessionTest;

    void TestBody() override {
        RunSetup();
        ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Open, m_row.failures,
                                             ERROR_ACCESS_DENIED));
        Run("download \"" + m_row.file + "\"");
        Run("board-log");
        EXPECT_EQ(m_session.Finish(), 0);
        const std::string text = Output();
        for (const std::string& expected : m_row.texts) {
            EXPECT_NE(text.find(expected), std::string::npos) << text;
        }
        EXPECT_NE(text.find("board on COM3:\nsession end"), std::string::npos) << text;
    }
};

class UnsetLineTest : public RowSessionTest<UnsetLineCase> {
public:
    using RowSessionTest::RowSessionTest;

    void TestBody() override {
        RunSetup();
        ASSERT_TRUE(
            w32test::vport::FailNext(3, w32test::vport::CallKind::Lines, 1, ERROR_GEN_FAILURE));
        Run("download \"" + m_row.file + "\"");
        EXPECT_EQ(m_session.Finish(), 0);
        EXPECT_NE(Output().find(m_row.message), std::string::npos) << Output();
        EXPECT_NE(Output().find("result 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"),
                  std::string::npos)
            << Output();
    }
};

class FailedSwitchTest : public RowSessionTest<FailedSwitchCase> {
public:
    using RowSessionTest::RowSessionTest;

    void TestBody() override {
        RunSetup();
        ASSERT_TRUE(
            w32test::vport::FailNext(3, w32test::vport::CallKind::Lines, 2, ERROR_GEN_FAILURE));
        Run("setmode 0");
        Run("setmode 1");
        if (!m_row.unmovedLine.empty()) {
            Run("board-log");
        }
        EXPECT_EQ(m_session.Finish(), 0);
        EXPECT_EQ(Output().find("callback"), std::string::npos) << Output();
        EXPECT_NE(Output().find("> setmode 0\nresult 2120 LDR_ERR_PROGRAM_MODE\n"),
                  std::string::npos)
            << Output();
        EXPECT_NE(Output().find("> setmode 1\nresult 2121 LDR_ERR_RUN_MODE\n"), std::string::npos)
            << Output();
        if (!m_row.unmovedLine.empty()) {
            EXPECT_EQ(Output().find(m_row.unmovedLine), std::string::npos) << Output();
        }
    }
};

// --- A program built from C ------------------------------------------------------------------

// How the percentages of a whole download run.
enum class Rising { Strictly, NeverFalling, AsTheCheckSays };

struct ProgramCase {
    const char* suite;
    const char* name;
    std::string program;  // the built program, empty where no 8051 compiler was found
    Lines setup;          // up to the port record
    Lines after;          // after the download and the board check
    size_t minPercents;
    Rising rising;
    // The loader's own checks of the session's output.
    std::function<void(const std::string& output, const std::vector<int>& percents)> check;
};

class ProgramTest : public ::testing::Test {
public:
    explicit ProgramTest(ProgramCase row) : m_row(std::move(row)) {}

    void TestBody() override {
        if (m_row.program.empty()) {
            GTEST_SKIP() << "sdcc was not found: no program was built";
        }
        const std::string path = GenericPath(m_row.program);
        Lines lines =
            Joined(m_row.setup, {"download \"" + path + "\"", "board-check \"" + path + "\""});
        lines.insert(lines.end(), m_row.after.begin(), m_row.after.end());
        int exitCode = -1;
        std::string output = RunSession(lines, &exitCode);
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
        EXPECT_NE(output.find("board memory equals "), std::string::npos) << output;
        std::vector<int> percents = Percentages(output);
        ASSERT_GE(percents.size(), m_row.minPercents) << output;
        for (size_t i = 1; i < percents.size() && m_row.rising != Rising::AsTheCheckSays; ++i) {
            if (m_row.rising == Rising::Strictly) {
                EXPECT_LT(percents[i - 1], percents[i]) << "call " << i;
            } else {
                EXPECT_LE(percents[i - 1], percents[i]) << "call " << i;
            }
        }
        if (m_row.check) {
            m_row.check(output, percents);
        }
    }

private:
    ProgramCase m_row;
};

// --- Registration under the loader's own suite and test names --------------------------------

// `Fixture` is the class every test of the suite has: ::testing::Test for whole sessions,
// SessionTest for sessions fed line by line (a loader's own TEST_F in the same suite uses it too).
// GoogleTest takes the test it is handed and deletes it after the run.
template <class Fixture, class CaseTest, class Case>
void RegisterCase(const Case& row, const char* file, int line) {
    ::testing::RegisterTest(row.suite, row.name, nullptr, nullptr, file, line,
                            [row]() -> Fixture* { return new CaseTest(row); });
}

inline void Register(const CancelCase& row, const char* file, int line) {
    RegisterCase<::testing::Test, CancelTest>(row, file, line);
}
inline void Register(const UnopenedPortCase& row, const char* file, int line) {
    RegisterCase<SessionTest, UnopenedPortTest>(row, file, line);
}
inline void Register(const UnsetLineCase& row, const char* file, int line) {
    RegisterCase<SessionTest, UnsetLineTest>(row, file, line);
}
inline void Register(const FailedSwitchCase& row, const char* file, int line) {
    RegisterCase<SessionTest, FailedSwitchTest>(row, file, line);
}
inline void Register(const ProgramCase& row, const char* file, int line) {
    RegisterCase<::testing::Test, ProgramTest>(row, file, line);
}

// Registers each of a loader's rows, which stand at `file`:`line`. True, so that a test file can
// register its rows as it starts.
template <class... Cases>
bool RegisterCases(const char* file, int line, const Cases&... rows) {
    (Register(rows, file, line), ...);
    return true;
}

}  // namespace loadhosttest
