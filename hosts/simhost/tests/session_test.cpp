// What simhost scripts are made of (words, numbers, bytes) and the session's hold on the clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "hostscript/endless_stream.h"
#include "run_interrupt.h"
#include "script_files.h"
#include "script_words.h"
#include "session.h"
#include "transcript.h"
#include "w32/clock.h"
#include "w32/errors.h"
#include "w32/handles.h"
#include "w32/serial.h"
#include "w32test/clock.h"

namespace {

using simhost::Word;

std::vector<std::string> Texts(const std::vector<Word>& words) {
    std::vector<std::string> texts;
    for (const Word& w : words) {
        texts.push_back(w.text);
    }
    return texts;
}

TEST(ScriptWords, QuotesKeepBlanksAndEscapesAndAHashStartsAComment) {
    std::vector<Word> words;
    std::string error;
    ASSERT_TRUE(simhost::SplitWords("create  \"\" \"Ext Mem=\\x41\\\"\\n\" # a comment \"x\"\r",
                                    &words, &error));
    EXPECT_EQ(Texts(words), (std::vector<std::string>{"create", "", "Ext Mem=A\"\n"}));
    EXPECT_FALSE(words[0].quoted);
    EXPECT_TRUE(words[1].quoted);
    ASSERT_TRUE(simhost::SplitWords("   # only a comment", &words, &error));
    EXPECT_TRUE(words.empty());
}

TEST(ScriptWords, UnterminatedQuotesAndBadEscapesAreErrors) {
    std::vector<Word> words;
    std::string error;
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"abc", &words, &error));
    EXPECT_EQ(error, "unterminated quote");
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"\\q\"", &words, &error));
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"\\x4\"", &words, &error));
    EXPECT_FALSE(simhost::SplitWords("write 0 0 \"\\", &words, &error));
}

TEST(ScriptNumbers, NumbersAreWrittenAsInCAndMinusOneIsAllOnes) {
    uint32_t value = 0;
    EXPECT_TRUE(simhost::ParseWord32("0x1F", &value));
    EXPECT_EQ(value, 0x1Fu);
    EXPECT_TRUE(simhost::ParseWord32("31", &value));
    EXPECT_EQ(value, 31u);
    EXPECT_TRUE(simhost::ParseWord32("-1", &value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_TRUE(simhost::ParseWord32("4294967295", &value));
    for (const char* bad : {"", "-", "0x", "0x1G", "12a", "4294967296", "-2", "0x123456789"}) {
        EXPECT_FALSE(simhost::ParseWord32(bad, &value)) << bad;
    }
}

TEST(ScriptBytes, NumbersAndQuotedTextMakeOneByteList) {
    std::vector<Word> words;
    std::string error;
    ASSERT_TRUE(simhost::SplitWords("serial-in 0 0x41 \"bc\" 10", &words, &error));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(simhost::ParseBytes(words, 2, &bytes, &error));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x41, 'b', 'c', 10}));
    ASSERT_TRUE(simhost::SplitWords("serial-in 0 256", &words, &error));
    EXPECT_FALSE(simhost::ParseBytes(words, 2, &bytes, &error));
    EXPECT_EQ(error, "bad byte '256'");
}

TEST(SerialText, AProgramThatTalksOnAndOnKeepsOnlyItsLastBytesWithALineSayingSo) {
    std::ostringstream out;
    simhost::Transcript transcript(out);
    const size_t kept = simhost::Transcript::kSerialKept;
    // Seven bytes at a time, as a run that passes the program's output on as it comes.
    std::string sent;
    for (int i = 0; sent.size() < 5 * kept; ++i) {
        const std::string piece = "line" + std::to_string(i % 10) + "\n";
        sent += piece;
        transcript.Serial(0, reinterpret_cast<const uint8_t*>(piece.data()), piece.size());
    }
    transcript.Line("after");
    const std::string last = sent.substr(sent.size() - kept);
    EXPECT_EQ(out.str(), "serial 0: " + std::to_string(sent.size() - kept) +
                             " earlier bytes dropped (the last " + std::to_string(kept) +
                             " follow)\nserial 0: \"" + simhost::Escape(last) + "\"\nafter\n");
    // The next stretch starts whole again.
    out.str("");
    transcript.Serial(1, reinterpret_cast<const uint8_t*>("ok"), 2);
    transcript.Flush();
    EXPECT_EQ(out.str(), "serial 1: \"ok\"\n");
}

TEST(Session, VirtualTimeLastsAsLongAsTheSession) {
    ASSERT_FALSE(w32test::clock::IsVirtual());
    std::ostringstream out;
    {
        simhost::Session session(out);
        session.RunLine("virtual-time on", 1);
        EXPECT_TRUE(w32test::clock::IsVirtual());
        uint64_t before = w32test::clock::NowMicros();
        w32::Sleep(60000);  // a minute of a board's time-outs, at no cost
        EXPECT_GE(w32test::clock::NowMicros() - before, 60000000u);
        EXPECT_EQ(session.Finish(), 0);
    }
    EXPECT_FALSE(w32test::clock::IsVirtual());
    EXPECT_EQ(out.str(),
              "> virtual-time on\nvirtual time on\n"
              "session end: 0 of 0 host objects released, 0 errors\n");
}

TEST(Session, AScriptLineWithoutEndEndsTheScriptWithExitTwo) {
    // As `simhost /dev/zero` reads it: one line that never ends.
    int exitCode = 0;
    size_t zerosRead = 0;
    std::string output =
        hostscript::RunEndlessScript<simhost::Session>("virtual-time on\n", &exitCode, &zerosRead);
    EXPECT_EQ(exitCode, 2);
    EXPECT_LE(zerosRead, 8192u);
    EXPECT_EQ(output,
              "> virtual-time on\nvirtual time on\n"
              "error: line 2: the line is longer than 4096 characters: the script is not read "
              "further\nsession end: 0 of 0 host objects released, 1 error\n");
}

TEST(Session, UnderVirtualTimeAPortWithoutABoardIsNotOpenedUnlessRealPortsAreOn) {
    // What a plug-in does when the script forgot its board line. COM200 names no device here,
    // so even the real-port open touches no hardware.
    auto open = [] {
        HANDLE port = w32::CreateFileA("\\\\.\\COM200", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
        if (port != INVALID_HANDLE_VALUE) {
            w32::CloseHandle(port);
        }
    };
    const std::string refused =
        "COM200 has no board: not opened (under virtual time a script reaches the machine's "
        "serial devices only after real-ports on)\n";
    std::ostringstream out;
    simhost::Session session(out);
    open();  // real time: nothing refused
    session.RunLine("virtual-time on", 1);
    EXPECT_EQ(out.str().find(refused), std::string::npos) << out.str();
    open();
    session.RunLine("real-ports on", 2);
    EXPECT_NE(out.str().find(refused), std::string::npos) << out.str();
    size_t before = out.str().size();
    open();
    session.RunLine("real-ports off", 3);
    EXPECT_EQ(out.str().find(refused, before), std::string::npos) << out.str();
    EXPECT_EQ(session.Finish(), 0);
}

TEST(ScriptFiles, RelativePathsAreTakenFromTheScriptsFolder) {
    EXPECT_EQ(simhost::ScriptFolderOf("examples/demo.script"), "examples");
    EXPECT_EQ(simhost::ScriptFolderOf("demo.script"), "");
    EXPECT_EQ(simhost::PathFromScript("examples", "demo.hex"), "examples/demo.hex");
    EXPECT_EQ(simhost::PathFromScript("a/examples", "../b/demo.hex"), "a/b/demo.hex");
    EXPECT_EQ(simhost::PathFromScript("examples", "."), "examples");
    EXPECT_EQ(simhost::PathFromScript("", "demo.hex"), "demo.hex");
    EXPECT_EQ(simhost::PathFromScript("examples", "/abs/demo.hex"), "/abs/demo.hex");
    EXPECT_TRUE(simhost::IsBareName("Ostrel"));
    EXPECT_FALSE(simhost::IsBareName("./Ostrel"));
    EXPECT_FALSE(simhost::IsBareName("plugins\\Ostrel"));
}

// Runs `lines` in a session and gives back what it printed.
std::string RunLines(simhost::Session& session, std::ostringstream& out,
                     const std::vector<std::string>& lines) {
    int number = 0;
    for (const std::string& line : lines) {
        session.RunLine(line, ++number);
    }
    return out.str();
}

// The text the system gives for `code`, as a host shows it (no line end).
std::string SystemText(DWORD code) {
    char text[512] = {};
    DWORD length = w32::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, code, 0, text, sizeof text, nullptr);
    std::string result(text, length < sizeof text ? length : 0);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) {
        result.pop_back();
    }
    return result;
}

TEST(PluginLoading, AMissingPluginIsNamedWithTheSystemsReason) {
    std::ostringstream out;
    simhost::Session session(out);
    std::string text = RunLines(session, out, {"plugin no_such_plugin"});
    EXPECT_NE(text.find("error: line 1: cannot load plug-in 'no_such_plugin': " +
                        SystemText(ERROR_MOD_NOT_FOUND) + " ("),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("error 126)"), std::string::npos) << text;
#if !defined(_WIN32)
    // The loader's own words say which file it looked for.
    EXPECT_NE(text.find("no_such_plugin.so: cannot open shared object file"), std::string::npos)
        << text;
#endif
    EXPECT_EQ(session.Finish(), 1);
}

TEST(PluginLoading, AFileThatIsNoModuleIsCalledSo) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() /
                      ("simhost_plugin_test_" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
#if defined(_WIN32)
    const char* const kSystemEnding = ".dll";
#else
    const char* const kSystemEnding = ".so";
#endif
    std::ofstream(folder / (std::string("notes") + kSystemEnding), std::ios::binary)
        << "Plain text where a debugger plug-in was expected, long enough to look at.\n";
    std::string path = (folder / "notes.dll").generic_string();
    std::ostringstream out;
    std::string text;
    {
        simhost::Session session(out);
        text = RunLines(session, out, {"plugin " + path});
        EXPECT_EQ(session.Finish(), 1);
    }
    std::string format = SystemText(ERROR_BAD_EXE_FORMAT);
    size_t insert = format.find("%1");
    if (insert != std::string::npos) {
        format.replace(insert, 2, path);
    }
    EXPECT_NE(text.find("cannot load plug-in '" + path + "': " + format + " ("), std::string::npos)
        << text;
    EXPECT_NE(text.find("error 193)"), std::string::npos) << text;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// Ctrl-C reaches the run through RunInterrupt::Deliver, from a thread of its own as the system
// delivers it. The key may come before the target has begun (and cleared any earlier break
// request), so it is pressed until the run has ended.
std::string RunAndPressCtrlC(simhost::Session& session, std::ostringstream& out,
                             const std::string& runLine) {
    std::atomic<bool> ended{false};
    std::thread presser([&ended] {
        while (!ended.load()) {
            simhost::RunInterrupt::Deliver();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    size_t before = out.str().size();
    session.RunLine(runLine, 9);
    ended.store(true);
    presser.join();
    return out.str().substr(before);
}

class CtrlC : public ::testing::Test {
protected:
    void SetUp() override {
        session.SetScriptFolder(
            (std::filesystem::path(FWT_SOURCE_DIR) / "hosts/simhost/tests/transcripts")
                .generic_string());
        // The program's last instruction jumps to itself: a run from there never ends alone.
        RunLines(session, out,
                 {"plugin fake_sim_plugin", "create FAKE51", "load program.hex", "reset",
                  "reg PC 0x000E"});
    }
    std::ostringstream out;
    simhost::Session session{out};
};

TEST_F(CtrlC, StopsARunAndSaysWhereItStopped) {
    EXPECT_EQ(RunAndPressCtrlC(session, out, "run -1"),
              "> run -1\ninterrupted by Ctrl-C\nstatus 0 OK pc=000E\n");
    EXPECT_EQ(RunAndPressCtrlC(session, out, "until 0x0FFF"),
              "> until 0x0FFF\ninterrupted by Ctrl-C\nstatus 0 OK pc=000E\n");
    EXPECT_EQ(RunAndPressCtrlC(session, out, "out 0"),
              "> out 0\ninterrupted by Ctrl-C\nstatus 0 OK pc=000E\n");
    // The script goes on after an interrupted run, and the session ends well.
    EXPECT_EQ(RunLines(session, out, {"pc"}).substr(out.str().rfind("> pc")), "> pc\npc=000E\n");
    EXPECT_EQ(session.Finish(), 0);
}

TEST_F(CtrlC, StopsATraceBetweenTwoSteps) {
    std::istringstream text(RunAndPressCtrlC(session, out, "trace 0xFFFFFFFF PC"));
    std::string line;
    ASSERT_TRUE(std::getline(text, line));
    EXPECT_EQ(line, "> trace 0xFFFFFFFF PC");
    while (std::getline(text, line) && line == "000E PC=0E") {
    }
    EXPECT_EQ(line, "interrupted by Ctrl-C");
    ASSERT_TRUE(std::getline(text, line));
    EXPECT_EQ(line, "status 0 OK pc=000E");
    EXPECT_FALSE(std::getline(text, line));
    EXPECT_EQ(session.Finish(), 0);
}

TEST(CtrlCOutsideARun, IsLeftToTheProgramsOwnEnd) {
    EXPECT_FALSE(simhost::RunInterrupt::Deliver());
}

}  // namespace
