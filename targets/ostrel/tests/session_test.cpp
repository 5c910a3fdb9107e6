// Whole debugger sessions with the Ostrel plug-in in the stand-in host: each sessions/NAME.script
// runs in simhost and its output, with the exit code, must equal sessions/NAME.expected.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "simhost/session_transcript.h"
#include "w32/modules.h"

namespace {

namespace fs = std::filesystem;

using simhosttest::ReadText;

const fs::path kSessions = fs::path(FWT_SOURCE_DIR) / "targets/ostrel/tests/sessions";

// The folder of the running program, with its last separator: the loader's lines name the kernel
// image there, and the transcripts say "<program folder>" for it wherever the build is.
std::string ProgramFolder() {
    char path[1024];
    const DWORD length = w32::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string program(path, length);
    return program.substr(0, program.find_last_of("\\/") + 1);
}

std::string RunSession(const std::string& name) {
    std::string text = simhosttest::RunScript(kSessions, name);
    // The transcript writes a backslash as two.
    std::string folder;
    for (char c : ProgramFolder()) {
        folder += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    for (size_t at = text.find(folder); !folder.empty() && at != std::string::npos;
         at = text.find(folder, at)) {
        text.replace(at, folder.size(), "<program folder>");
    }
    return text;
}

TEST(OstrelSession, ExampleProgramLoadsAndShowsItsRegistersAndMemory) {
    EXPECT_EQ(RunSession("example_program"), ReadText(kSessions / "example_program.expected"));
}

TEST(OstrelSession, AProgramOnTheBoardsPortsThroughTheSimulationKernel) {
    EXPECT_EQ(RunSession("hardware_ports"), ReadText(kSessions / "hardware_ports.expected"));
}

TEST(OstrelSession, NoKernelOnTheBoardIsUploadedThroughTheCorvanecLoader) {
    EXPECT_EQ(RunSession("kernel_upload_standin"),
              ReadText(kSessions / "kernel_upload_standin.expected"));
}

TEST(OstrelSession, NoKernelOnTheBoardIsUploadedThroughFrandleAndThenUsed) {
    EXPECT_EQ(RunSession("kernel_upload_frandle"),
              ReadText(kSessions / "kernel_upload_frandle.expected"));
}

}  // namespace
