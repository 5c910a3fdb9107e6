// Reading a script line by line, no line longer than a host can hold.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string>

namespace hostscript {

// The longest script line, in characters without its line end: far beyond any command, short
// enough that a script without line ends (a device, a binary file) costs nothing.
constexpr size_t kMaxScriptLine = 4096;

enum class LineRead {
    Line,     // a line, without its '\n'
    End,      // nothing more to read
    TooLong,  // more than kMaxScriptLine characters before a line end; the rest is left unread
};

// The next line of `script` into *line; reads at most kMaxScriptLine + 1 characters of it.
LineRead ReadScriptLine(std::istream& script, std::string* line);

// Hands every line of `script` to `run` with its number (from 1), up to the end or to a line that
// is TooLong; returns that line's number, or 0 when the script was read to its end.
int ForEachScriptLine(std::istream& script,
                      const std::function<void(const std::string& line, int number)>& run);

// The error text for a line that was TooLong.
std::string TooLongLineText();

}  // namespace hostscript
