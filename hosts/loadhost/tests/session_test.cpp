// What loadhost itself must catch (a callback when no download runs, a port a download left
// open), downloads and switches on ports with faults put on them, and the plug-in's word.
#include <gtest/gtest.h>

#include <sstream>

#include "hostscript/endless_stream.h"
#include "plugin_exports.h"
#include "transcript_files.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/vport.h"

namespace {

TEST(Session, ACallbackAfterTheExportReturnedIsAnError) {
    std::ostringstream output;
    loadhost::Session session(output);
    session.RunLine("plugin testloader", 1);
    char text[] = "\nlate";
    ProgressRecord record = {};
    record.text = text;
    session.OnCallback(-1, &record);
    EXPECT_EQ(session.Finish(), 1);
    EXPECT_NE(output.str().find("callback 1: message \"\\nlate\"\nerror: "
                                "line 1: callback after the export returned\n"),
              std::string::npos)
        << output.str();
}

TEST(Session, APortLeftOpenAfterADownloadIsAnError) {
    // Someone else holds the board's port when the download ends: the check sees it open.
    std::ostringstream output;
    loadhost::Session session(output);
    session.RunLine("virtual-time on", 1);
    session.RunLine("board loader-test COM6", 2);
    HANDLE other = w32::CreateFileA("\\\\.\\COM6", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    session.RunLine("plugin testloader", 3);
    session.RunLine("port port=5", 4);
    session.RunLine("download \"" + loadhosttest::TranscriptFile("tiny.hex") + "\"", 5);
    w32::CloseHandle(other);
    EXPECT_EQ(session.Finish(), 1);
    EXPECT_NE(output.str().find("error: line 5: port COM6 left open\n"), std::string::npos)
        << output.str();
}

// A session whose lines run one by one, so that a test can put faults on a port in between.
class Faults : public ::testing::Test {
protected:
    void SetUp() override {
        Run("plugin testloader");
        Run("virtual-time on");
        Run("board loader-test COM3");
        Run("port port=2");
    }
    void Run(const std::string& line) { m_session.RunLine(line, ++m_line); }
    std::string Download() {
        return "download \"" + loadhosttest::TranscriptFile("tiny.hex") + "\"";
    }
    std::string Output() const { return m_output.str(); }

    std::ostringstream m_output;
    loadhost::Session m_session{m_output};
    int m_line = 0;
};

TEST_F(Faults, APortThatFailsToOpenEndsTheDownloadWithItsLine) {
    ASSERT_TRUE(
        w32test::vport::FailNext(3, w32test::vport::CallKind::Open, 1, ERROR_ACCESS_DENIED));
    Run(Download());
    EXPECT_EQ(m_session.Finish(), 0);
    EXPECT_NE(Output().find("callback 1: message \"\\nCannot open COM3, ec=1001\"\n"
                            "result 2143 LDR_ERR_DOWNLOAD\n"
                            "port COM3 closed\n"),
              std::string::npos)
        << Output();
}

TEST_F(Faults, AFailingSwitchAfterADownloadRelaysToNobody) {
    Run(Download());
    ASSERT_TRUE(w32test::vport::FailNext(3, w32test::vport::CallKind::Lines, 2, ERROR_GEN_FAILURE));
    size_t before = Output().size();
    Run("setmode 0");
    Run("setmode 1");
    EXPECT_EQ(m_session.Finish(), 0);
    std::string after = Output().substr(before);
    EXPECT_EQ(after.find("callback"), std::string::npos) << after;
    EXPECT_NE(after.find("> setmode 0\nresult 2120 LDR_ERR_PROGRAM_MODE\nport COM3 closed\n"),
              std::string::npos)
        << after;
    EXPECT_NE(after.find("> setmode 1\nresult 2121 LDR_ERR_RUN_MODE\nport COM3 closed\n"),
              std::string::npos)
        << after;
}

TEST(Session, AScriptLineWithoutEndEndsTheScriptWithExitTwo) {
    // As `loadhost /dev/zero` reads it: one line that never ends.
    int exitCode = 0;
    size_t zerosRead = 0;
    std::string output =
        hostscript::RunEndlessScript<loadhost::Session>("virtual-time on\n", &exitCode, &zerosRead);
    EXPECT_EQ(exitCode, 2);
    EXPECT_LE(zerosRead, 8192u);
    EXPECT_EQ(output,
              "> virtual-time on\nvirtual time on\n"
              "error: line 2: the line is longer than 4096 characters: the script is not read "
              "further\nsession end: 1 error\n");
}

TEST(Session, UnderVirtualTimeAPortWithoutABoardIsNotOpenedUnlessRealPortsAreOn) {
    // COM200 names no device here, so even the real-port open touches no hardware.
    std::ostringstream output;
    loadhost::Session session(output);
    int line = 0;
    for (const char* text : {"plugin testloader", "virtual-time on", "port port=199"}) {
        session.RunLine(text, ++line);
    }
    session.RunLine("download \"" + loadhosttest::TranscriptFile("tiny.hex") + "\"", ++line);
    const std::string refused =
        "COM200 has no board: not opened (under virtual time a script reaches the machine's "
        "serial devices only after real-ports on)\n";
    EXPECT_NE(output.str().find("port COM200 closed (no board on it, not opened)\n"),
              std::string::npos)
        << output.str();
    EXPECT_NE(output.str().find(refused), std::string::npos) << output.str();
    session.RunLine("real-ports on", ++line);
    size_t before = output.str().size();
    session.RunLine("download \"" + loadhosttest::TranscriptFile("tiny.hex") + "\"", ++line);
    EXPECT_EQ(output.str().find(refused, before), std::string::npos) << output.str();
    EXPECT_EQ(session.Finish(), 0);
}

TEST(Session, ThePluginsWordIsItsFileNameInCapitals) {
    EXPECT_EQ(loadhost::PluginWord("bin/Wendra.dll"), "WENDRA");
    EXPECT_EQ(loadhost::PluginWord("C:\\tools\\Frandle"), "FRANDLE");
    EXPECT_EQ(loadhost::PluginWord("./testloader.so"), "TESTLOADER");
}

}  // namespace
