// Building simulated boards by name: the option text, the framing every board listens at, and
// the look-up in the catalogue's table.
#include "boards/catalogue.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace boards {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool ParseNumber(const std::string& text, uint32_t* value) {
    if (text.empty() || text.size() > 10 || text[0] == '-' || text[0] == '+') {
        return false;
    }
    // Decimal, or hexadecimal behind 0x; a leading 0 does not make it octal.
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    unsigned long long number = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || number > 0xFFFFFFFFull) {
        return false;
    }
    *value = static_cast<uint32_t>(number);
    return true;
}

// baud=, data=, parity=, stop= into the options' framing.
bool ReadFraming(BoardOptions& options, std::string* error) {
    LineSettings line;
    uint32_t number = line.baud;
    if (!options.TakeNumber("baud", &number, error)) {
        return false;
    }
    if (number == 0) {
        *error = "baud must not be 0";
        return false;
    }
    line.baud = number;
    number = line.dataBits;
    if (!options.TakeNumber("data", &number, error)) {
        return false;
    }
    if (number < 5 || number > 8) {
        *error = "data must be 5 to 8";
        return false;
    }
    line.dataBits = static_cast<BYTE>(number);
    std::string text;
    if (options.Take("parity", &text)) {
        static const char kLetters[] = "NOEMS";
        if (text.size() != 1 ||
            std::strchr(kLetters, std::toupper(static_cast<unsigned char>(text[0]))) == nullptr) {
            *error = "parity must be N, O, E, M or S";
            return false;
        }
        line.parity = static_cast<BYTE>(
            std::strchr(kLetters, std::toupper(static_cast<unsigned char>(text[0]))) - kLetters);
    }
    if (options.Take("stop", &text)) {
        if (text == "1") {
            line.stopBits = ONESTOPBIT;
        } else if (text == "1.5") {
            line.stopBits = ONE5STOPBITS;
        } else if (text == "2") {
            line.stopBits = TWOSTOPBITS;
        } else {
            *error = "stop must be 1, 1.5 or 2";
            return false;
        }
    }
    options.SetFraming(line);
    return true;
}

}  // namespace

bool BoardOptions::Parse(const std::string& text, std::string* error) {
    m_entries.clear();
    size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        std::string word = text.substr(i, end - i);
        i = end;
        size_t equals = word.find('=');
        if (equals == std::string::npos || equals == 0) {
            *error = "option '" + word + "' is not KEY=VALUE";
            return false;
        }
        Entry entry;
        entry.key = Lower(word.substr(0, equals));
        entry.value = word.substr(equals + 1);
        for (const Entry& e : m_entries) {
            if (e.key == entry.key) {
                *error = "option '" + entry.key + "' given twice";
                return false;
            }
        }
        m_entries.push_back(entry);
    }
    return true;
}

bool BoardOptions::Take(const std::string& key, std::string* value) {
    for (Entry& e : m_entries) {
        if (e.key == key) {
            e.taken = true;
            *value = e.value;
            return true;
        }
    }
    return false;
}

bool BoardOptions::TakeNumber(const std::string& key, uint32_t* value, std::string* error) {
    std::string text;
    if (!Take(key, &text)) {
        return true;
    }
    if (!ParseNumber(text, value)) {
        *error = key + " must be a number, not '" + text + "'";
        return false;
    }
    return true;
}

std::vector<std::string> BoardOptions::Untaken() const {
    std::vector<std::string> keys;
    for (const Entry& e : m_entries) {
        if (!e.taken) {
            keys.push_back(e.key);
        }
    }
    return keys;
}

std::unique_ptr<Board> MakeBoard(const std::string& kind, const std::string& options,
                                 std::string* error) {
    std::string reason;
    std::unique_ptr<Board> board;
    const BoardKind* found = nullptr;
    for (const BoardKind& k : BoardKinds()) {
        if (kind == k.name) {
            found = &k;
        }
    }
    BoardOptions parsed;
    uint32_t failWriteAt = 0;
    uint32_t lineCalls = 0;
    LineDamageSettings damage;
    if (found == nullptr) {
        reason = "unknown board '" + kind + "' (boards:";
        for (const BoardKind& k : BoardKinds()) {
            reason += std::string(" ") + k.name;
        }
        reason += ")";
    } else if (parsed.Parse(options, &reason) && ReadFraming(parsed, &reason) &&
               parsed.TakeNumber("fail-write-at", &failWriteAt, &reason) &&
               parsed.TakeNumber("log-line-calls", &lineCalls, &reason) &&
               damage.Take(parsed, &reason)) {
        board = found->make(parsed, &reason);
        if (board != nullptr) {
            board->FailWriteAt(failWriteAt);
            board->LogEveryLineCall(lineCalls != 0);
            if (damage.Any()) {
                board->DamageLine(damage);
            }
        }
        std::vector<std::string> untaken = parsed.Untaken();
        if (board != nullptr && !untaken.empty()) {
            board.reset();
            reason = "board '" + kind + "' takes no option '" + untaken.front() + "'";
        }
    }
    if (board == nullptr && error != nullptr) {
        *error = reason.empty() ? "board '" + kind + "' cannot be made" : reason;
    }
    return board;
}

}  // namespace boards
