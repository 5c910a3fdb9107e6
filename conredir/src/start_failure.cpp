// conredir's messages for a child that did not start.
#include "start_failure.h"

#include <vector>

#include "command_line.h"

namespace conredir {

std::string NoProgramText() {
    return "conredir: no program to run (usage: conredir PROGRAM [ARGUMENT...])\n";
}

std::string StartFailureText(const std::string& commandLine, const std::string& reason) {
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty() || words[0].empty()) {
        return NoProgramText();
    }
    std::string text = reason;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return "conredir: cannot start \"" + words[0] + "\": " + text + "\n";
}

}  // namespace conredir
