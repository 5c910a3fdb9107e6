// The lines a board link reports, gathered for the tests of the debug board's link.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boardlink/board_link.h"

namespace boardtest {

// The link's lines, as the target's message output would get them.
class RecordedLines : public LinkMessageSink {
public:
    void OutputMessage(int level, const char* text) override {
        EXPECT_EQ(level, 1) << text;
        m_lines.push_back(text);
    }
    std::vector<std::string> m_lines;
};

}  // namespace boardtest
