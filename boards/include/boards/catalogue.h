// The catalogue of simulated boards: any board built by name, with an option text, for the hosts
// and the tests that attach boards to virtual ports.
//
// A board kind is one line of the table in src/catalogue_kinds.cpp: its name, a one-line
// summary and the function that makes it from its options, e.g.
//     {"echo", "sends every byte back as it came", MakeEchoBoard},
// where the maker, declared beside the board's class, takes the keys it knows out of the options:
//     std::unique_ptr<Board> MakeEchoBoard(BoardOptions& options, std::string* error);
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"

namespace boards {

// The options of one board: KEY=VALUE words separated by blanks, e.g. "baud=19200 parity=E".
// The catalogue reads what every board takes: the framing it listens at (baud=, data=,
// parity=N|O|E|M|S, stop=1|1.5|2; 9600 8N1 for what is left out), fail-write-at=K (the host's
// write of the K-th byte the board would receive fails: Board::FailWriteAt), log-line-calls=1
// (every RTS and DTR call in the log, unchanged ones too: Board::LogEveryLineCall) and the line's
// random damage (damage=, damage-rate=, damage-seed=, damage-way=, damage-delay-us=: see
// LineDamageSettings and Board::DamageLine); a kind's maker takes its own keys. A key that nobody
// takes makes MakeBoard fail.
class BoardOptions {
public:
    // False with a reason for a word that is not KEY=VALUE or a key given twice.
    bool Parse(const std::string& text, std::string* error);

    // The value of `key`, which counts as taken from then on; false when it was not given.
    bool Take(const std::string& key, std::string* value);
    // A decimal or 0x hexadecimal number of 32 bits. True when the key was not given (`value`
    // untouched); false with a reason when its value is not such a number.
    bool TakeNumber(const std::string& key, uint32_t* value, std::string* error);

    // The keys nobody took, in their order in the text.
    std::vector<std::string> Untaken() const;
    // The framing the catalogue read, for the maker to listen at.
    const LineSettings& Framing() const { return m_framing; }
    void SetFraming(const LineSettings& framing) { m_framing = framing; }

private:
    struct Entry {
        std::string key;
        std::string value;
        bool taken = false;
    };
    std::vector<Entry> m_entries;
    LineSettings m_framing;
};

using BoardMaker = std::unique_ptr<Board> (*)(BoardOptions& options, std::string* error);

struct BoardKind {
    const char* name;
    const char* summary;
    BoardMaker make;
};

// Every kind of the catalogue, in the table's order.
const std::vector<BoardKind>& BoardKinds();

// A board of `kind` with the option text `options`; null with a reason in *error (when given)
// for an unknown kind, a wrong option text, or an option the kind does not take.
std::unique_ptr<Board> MakeBoard(const std::string& kind, const std::string& options,
                                 std::string* error = nullptr);

}  // namespace boards
