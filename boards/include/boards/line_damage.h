// Random damage to the bytes on a board's line, either way or both, the same in every run of one
// seed: what a noisy cable does to any board, whatever its firmware.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "w32/types.h"

namespace boards {

class BoardOptions;

// What may happen to a byte on the line.
enum class Harm {
    None,
    Flip,      // one bit of the byte flipped
    Drop,      // the byte lost
    Delay,     // the byte, and every byte behind it, held back up to maxDelayMicros
    Truncate,  // the byte and the rest of its message lost (see Board)
};

struct LineDamageSettings {
    // Kinds that may happen: bits of 1 << Harm.
    uint32_t kinds = 0;
    // Damaged bytes in a thousand, on each way that is damaged.
    uint32_t perMille = 10;
    uint32_t seed = 1;
    bool toHost = true;   // the board's bytes
    bool toBoard = true;  // the host's bytes
    uint64_t maxDelayMicros = 100000;

    bool Any() const { return kinds != 0 && perMille != 0 && (toHost || toBoard); }

    // Takes damage=flip|drop|delay|truncate|any (several joined by commas), damage-rate= (bytes in
    // a thousand, 1 to 1000; default 10), damage-seed=, damage-way=both|to-host|to-board and
    // damage-delay-us= (the longest hold; default 100000) out of `options`. The other keys need
    // damage=. False with a reason for a value that is none of these.
    bool Take(BoardOptions& options, std::string* error);
};

// The draws of one way of the line, in the order its bytes pass.
class LineDamage {
public:
    LineDamage(const LineDamageSettings& settings, bool toHost);

    struct Hit {
        Harm harm = Harm::None;
        BYTE mask = 0;             // Flip: the bit flipped
        uint64_t delayMicros = 0;  // Delay: how long
    };
    // What happens to the next byte of this way.
    Hit Next();

private:
    LineDamageSettings m_settings;
    bool m_on;
    std::mt19937 m_random;
};

}  // namespace boards
