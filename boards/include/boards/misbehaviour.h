// How a simulated board can be told to misbehave: one chosen fault on chosen replies, or random
// damage to every reply, applied where the board hands its answer to the wire.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "w32/types.h"

namespace boards {

class BoardOptions;

// How the last byte of a reply is formed from the bytes before it.
enum class CheckRule {
    None,        // no check byte (text replies, echoes, sync bytes)
    Sum,         // the 8-bit sum of every byte before it
    NegatedSum,  // the 8-bit sum's negation, so that the whole reply adds up to 0
};

// One answer of a board as its firmware means it, before any misbehaviour.
struct Reply {
    std::vector<BYTE> bytes;
    CheckRule check = CheckRule::None;
    int commandAt = -1;        // the command byte (-1: none)
    int statusAt = -1;         // the status byte (-1: none)
    BYTE failureValue = 1;     // what a failing board puts at statusAt
    int checkFrom = 0;         // the first byte the check covers
    bool echo = false;         // a character echoed back, counted apart from replies
    uint64_t delayMicros = 0;  // from the event that caused it to the first byte leaving
};

enum class Fault {
    None,
    WrongCheck,       // the check byte is one off
    WrongCommand,     // the command byte is another (check byte kept right)
    FailureStatus,    // the status says failure (check byte kept right)
    NoAnswer,         // the reply is not sent
    LateAnswer,       // the reply leaves lateMicros later than it would
    TruncatedAnswer,  // only the first keepBytes of the reply are sent
    WrongEcho,        // the echo of character echoAt differs from the character
    WrongBaud,        // the board runs at wrongBaud and answers what it cannot read with noise
};

struct Misbehaviour {
    Fault fault = Fault::None;
    // The first reply that misbehaves: 1-based, counted from when the board was told, echoes not
    // counted.
    int atReply = 1;
    int replies = 1;  // how many replies in a row misbehave; 0: every one from atReply on
    uint64_t lateMicros = 2000000;
    size_t keepBytes = 1;
    int echoAt = 0;  // 0-based, counted over the board's echoes from when it was told
    DWORD wrongBaud = 0;
};

// Random damage to every reply and echo: each kind with its own chance in percent.
struct ReplyDamage {
    uint32_t seed = 1;
    int flipPercent = 0;      // one bit of one byte flipped
    int dropPercent = 0;      // the whole reply lost
    int delayPercent = 0;     // the reply held back by up to maxDelayMicros
    int truncatePercent = 0;  // the reply cut short at a random length
    uint64_t maxDelayMicros = 500000;
};

// Applies a board's misbehaviour and damage to its replies, counting them as they go.
class ReplyShaper {
public:
    // Replies and echoes are counted from here on.
    void Set(const Misbehaviour& m) {
        m_misbehaviour = m;
        m_replies = 0;
        m_echoes = 0;
    }
    void Set(const ReplyDamage& d);
    const Misbehaviour& Get() const { return m_misbehaviour; }

    // Changes `reply` as the board's faults say; false when it is not to be sent at all.
    bool Shape(Reply& reply);

    // The reply's check byte recomputed from the bytes before it (after a deliberate change).
    static void Recheck(Reply& reply);

private:
    bool Hits(int replyNumber) const;
    bool Damage(Reply& reply);

    Misbehaviour m_misbehaviour;
    ReplyDamage m_damage;
    bool m_damaging = false;
    std::mt19937 m_random;
    int m_replies = 0;
    int m_echoes = 0;
};

// A board's faults as the catalogue's options give them.
struct Misconduct {
    Misbehaviour misbehaviour;
    bool damaged = false;
    ReplyDamage damage;

    // Takes the keys of the faults out of `options`: fault=wrong-check|wrong-command|failure|
    // no-answer|late|truncated|wrong-echo|wrong-baud, at=, replies=, late-us=, keep=, echo-at=,
    // wrong-baud=; and random damage: seed=, flip=, drop=, delay=, truncate= (percent),
    // max-delay-us=. False with a reason for a value that is not one of these.
    bool Take(BoardOptions& options, std::string* error);
    // Gives them to a board that has Misbehave and Damage.
    template <class B>
    void ApplyTo(B& board) const {
        board.Misbehave(misbehaviour);
        if (damaged) {
            board.Damage(damage);
        }
    }
};

}  // namespace boards
