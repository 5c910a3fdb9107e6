// Splitting host script lines into words, and reading numbers and bytes from them.
#include "hostscript/words.h"

#include "hexdigits/hex_digits.h"

namespace hostscript {

bool SplitWords(const std::string& line, std::vector<Word>* words, std::string* error) {
    words->clear();
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '#') {
            break;
        }
        Word word;
        if (c != '"') {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
                   line[i] != '\n') {
                word.text += line[i++];
            }
            words->push_back(word);
            continue;
        }
        word.quoted = true;
        ++i;
        bool closed = false;
        while (i < line.size()) {
            c = line[i++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c != '\\') {
                word.text += c;
                continue;
            }
            if (i >= line.size()) {
                break;
            }
            char e = line[i++];
            switch (e) {
                case 'n':
                    word.text += '\n';
                    break;
                case 'r':
                    word.text += '\r';
                    break;
                case 't':
                    word.text += '\t';
                    break;
                case '"':
                case '\\':
                    word.text += e;
                    break;
                case 'x': {
                    uint8_t value = 0;
                    if (i + 2 > line.size() || !ReadHexByte(line.c_str() + i, &value)) {
                        *error = "bad \\x escape (two hex digits expected)";
                        return false;
                    }
                    word.text += static_cast<char>(value);
                    i += 2;
                    break;
                }
                default:
                    *error = std::string("unknown escape \\") + e;
                    return false;
            }
        }
        if (!closed) {
            *error = "unterminated quote";
            return false;
        }
        words->push_back(word);
    }
    return true;
}

bool ParseNumber(const std::string& text, int64_t* value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    bool hex = text.size() > i + 1 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X');
    if (hex) {
        i += 2;
    }
    if (i >= text.size() || text.size() - i > (hex ? 8u : 10u)) {
        return false;
    }
    int64_t result = 0;
    for (; i < text.size(); ++i) {
        uint8_t digit = 0;
        if (hex) {
            if (!ReadHexDigit(text[i], &digit)) {
                return false;
            }
            result = result * 16 + digit;
        } else {
            if (text[i] < '0' || text[i] > '9') {
                return false;
            }
            result = result * 10 + (text[i] - '0');
        }
    }
    *value = negative ? -result : result;
    return true;
}

bool ParseWord32(const std::string& text, uint32_t* value) {
    int64_t number = 0;
    if (!ParseNumber(text, &number) || number < -1 || number > 0xFFFFFFFFll) {
        return false;
    }
    *value = static_cast<uint32_t>(number);
    return true;
}

bool ParseBytes(const std::vector<Word>& words, size_t first, std::vector<uint8_t>* bytes,
                std::string* error) {
    bytes->clear();
    for (size_t i = first; i < words.size(); ++i) {
        if (words[i].quoted) {
            bytes->insert(bytes->end(), words[i].text.begin(), words[i].text.end());
            continue;
        }
        int64_t value = 0;
        if (!ParseNumber(words[i].text, &value) || value < 0 || value > 255) {
            *error = "bad byte '" + words[i].text + "'";
            return false;
        }
        bytes->push_back(static_cast<uint8_t>(value));
    }
    return true;
}

}  // namespace hostscript
