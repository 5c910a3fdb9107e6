// Reading script lines of bounded length.
#include "hostscript/script_lines.h"

namespace hostscript {

LineRead ReadScriptLine(std::istream& script, std::string* line) {
    line->clear();
    std::streambuf* in = script.rdbuf();
    if (in == nullptr || !script.good()) {
        return LineRead::End;
    }
    using Traits = std::istream::traits_type;
    for (;;) {
        Traits::int_type c = in->sbumpc();
        if (Traits::eq_int_type(c, Traits::eof())) {
            script.setstate(std::ios::eofbit);
            return line->empty() ? LineRead::End : LineRead::Line;
        }
        if (Traits::to_char_type(c) == '\n') {
            return LineRead::Line;
        }
        if (line->size() == kMaxScriptLine) {
            line->clear();
            return LineRead::TooLong;
        }
        line->push_back(Traits::to_char_type(c));
    }
}

int ForEachScriptLine(std::istream& script,
                      const std::function<void(const std::string& line, int number)>& run) {
    std::string line;
    for (int number = 1;; ++number) {
        LineRead read = ReadScriptLine(script, &line);
        if (read == LineRead::End) {
            return 0;
        }
        if (read == LineRead::TooLong) {
            return number;
        }
        run(line, number);
    }
}

std::string TooLongLineText() {
    return "the line is longer than " + std::to_string(kMaxScriptLine) +
           " characters: the script is not read further";
}

}  // namespace hostscript
