// A cancel answered at every callback of a download, one session each: every one ends with the
// result the test plug-in defines for it, its port closed, and no callback after the return.
#include <gtest/gtest.h>

#include "transcript_files.h"

namespace {

using loadhosttest::CallbackLines;
using loadhosttest::RunSession;

std::vector<std::string> SessionLines(const std::string& extra) {
    std::vector<std::string> lines = {"plugin testloader", "virtual-time on",
                                      "board loader-test COM3", "port port=2"};
    if (!extra.empty()) {
        lines.push_back(extra);
    }
    lines.push_back("download \"" + loadhosttest::TranscriptFile("tiny.hex") + "\"");
    return lines;
}

TEST(CancelAtEveryCallback, EachEndsWithItsResultAndThePortClosed) {
    int exitCode = -1;
    std::string whole = RunSession(SessionLines(""), &exitCode);
    ASSERT_EQ(exitCode, 0) << whole;
    std::vector<std::string> uncancelled = CallbackLines(whole);
    ASSERT_GT(uncancelled.size(), 3u) << whole;
    const size_t last = uncancelled.size();
    EXPECT_EQ(uncancelled[0], "callback 1: start notice");
    EXPECT_EQ(uncancelled[last - 1],
              "callback " + std::to_string(last) + ": message \"\\nDownload complete\"");

    for (size_t at = 1; at <= last; ++at) {
        SCOPED_TRACE("cancel at callback " + std::to_string(at));
        std::string output = RunSession(SessionLines("cancel-at " + std::to_string(at)), &exitCode);
        // Exit code 0: no error line, so no callback came after the export returned.
        EXPECT_EQ(exitCode, 0) << output;
        EXPECT_NE(output.find("port COM3 closed\n"), std::string::npos) << output;
        std::vector<std::string> callbacks = CallbackLines(output);
        ASSERT_GE(callbacks.size(), at) << output;
        // Up to the cancel, the same callbacks as without one.
        for (size_t i = 0; i + 1 < at; ++i) {
            EXPECT_EQ(callbacks[i], uncancelled[i]);
        }
        EXPECT_EQ(callbacks[at - 1], uncancelled[at - 1] + " -> cancel");
        if (at == last) {
            // The closing line is relayed without taking a cancel.
            EXPECT_EQ(callbacks.size(), last);
            EXPECT_NE(output.find("result 0 OK\n"), std::string::npos) << output;
        } else {
            ASSERT_EQ(callbacks.size(), at + 1) << output;
            EXPECT_EQ(callbacks[at], "callback " + std::to_string(at + 1) +
                                         ": message \"\\nDownload cancelled by the host\"");
            EXPECT_NE(output.find("result 2143 LDR_ERR_DOWNLOAD\n"), std::string::npos) << output;
        }
    }
}

}  // namespace
