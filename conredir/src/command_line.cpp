// Joining conredir's arguments into one command line, and splitting one the way a Windows child
// does.
#include "command_line.h"

namespace conredir {

std::string JoinArguments(int count, const char* const* arguments) {
    std::string line;
    std::size_t total = 0;
    for (int i = 0; i < count; ++i) {
        const std::string argument = arguments[i];
        total += argument.size() + 1;
        if (total >= kCommandLineSize) {
            break;
        }
        line += argument;
        line += ' ';
    }
    return line;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The program name: quotes toggle grouping and are dropped; a backslash is an ordinary character,
// so that "C:\Tools\" names a folder without escaping the closing quote.
std::size_t TakeProgramName(const std::string& line, std::size_t pos, std::string& word) {
    bool quoted = false;
    while (pos < line.size() && (quoted || !IsBlank(line[pos]))) {
        if (line[pos] == '"') {
            quoted = !quoted;
        } else {
            word += line[pos];
        }
        ++pos;
    }
    return pos;
}

// One later word. A run of backslashes in front of a quote is halved; an odd run makes the quote
// literal, an even run leaves it as a grouping quote. Inside a group, two quotes in a row stand
// for one literal quote and the group goes on.
std::size_t TakeArgument(const std::string& line, std::size_t pos, std::string& word) {
    bool quoted = false;
    while (pos < line.size()) {
        std::size_t slashes = 0;
        while (pos < line.size() && line[pos] == '\\') {
            ++slashes;
            ++pos;
        }
        if (pos < line.size() && line[pos] == '"') {
            word.append(slashes / 2, '\\');
            if (slashes % 2 == 1) {
                word += '"';
            } else if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
                word += '"';
                ++pos;
            } else {
                quoted = !quoted;
            }
            ++pos;
            continue;
        }
        word.append(slashes, '\\');
        if (pos >= line.size() || (!quoted && IsBlank(line[pos]))) {
            break;
        }
        word += line[pos];
        ++pos;
    }
    return pos;
}

std::size_t SkipBlanks(const std::string& line, std::size_t pos) {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::size_t pos = SkipBlanks(commandLine, 0);
    if (pos >= commandLine.size()) {
        return words;
    }
    std::string program;
    pos = TakeProgramName(commandLine, pos, program);
    words.push_back(program);
    for (pos = SkipBlanks(commandLine, pos); pos < commandLine.size();
         pos = SkipBlanks(commandLine, pos)) {
        std::string word;
        pos = TakeArgument(commandLine, pos, word);
        words.push_back(word);
    }
    return words;
}

}  // namespace conredir
