// Misbehaving replies: the chosen fault on the chosen replies, and random damage.
#include "boards/misbehaviour.h"

#include "boards/catalogue.h"

namespace boards {

void ReplyShaper::Set(const ReplyDamage& d) {
    m_damage = d;
    m_damaging = true;
    m_random.seed(d.seed);
}

void ReplyShaper::Recheck(Reply& reply) {
    if (reply.check == CheckRule::None || reply.bytes.empty()) {
        return;
    }
    BYTE sum = 0;
    for (size_t i = static_cast<size_t>(reply.checkFrom); i + 1 < reply.bytes.size(); ++i) {
        sum = static_cast<BYTE>(sum + reply.bytes[i]);
    }
    reply.bytes.back() = reply.check == CheckRule::Sum ? sum : static_cast<BYTE>(0x100 - sum);
}

bool ReplyShaper::Hits(int replyNumber) const {
    const Misbehaviour& m = m_misbehaviour;
    if (replyNumber < m.atReply) {
        return false;
    }
    return m.replies == 0 || replyNumber < m.atReply + m.replies;
}

bool ReplyShaper::Shape(Reply& reply) {
    const Misbehaviour& m = m_misbehaviour;
    if (reply.echo) {
        int index = m_echoes++;
        if (m.fault == Fault::WrongEcho && index == m.echoAt && !reply.bytes.empty()) {
            reply.bytes[0] = static_cast<BYTE>(reply.bytes[0] + 1);
        }
        return Damage(reply);
    }
    int number = ++m_replies;
    if (Hits(number)) {
        switch (m.fault) {
            case Fault::WrongCheck:
                if (reply.check != CheckRule::None && !reply.bytes.empty()) {
                    reply.bytes.back() = static_cast<BYTE>(reply.bytes.back() + 1);
                }
                break;
            case Fault::WrongCommand:
                if (reply.commandAt >= 0) {
                    reply.bytes[reply.commandAt] ^= 0x40;
                    Recheck(reply);
                }
                break;
            case Fault::FailureStatus:
                if (reply.statusAt >= 0) {
                    reply.bytes[reply.statusAt] = reply.failureValue;
                    Recheck(reply);
                }
                break;
            case Fault::NoAnswer:
                return false;
            case Fault::LateAnswer:
                reply.delayMicros += m.lateMicros;
                break;
            case Fault::TruncatedAnswer:
                if (reply.bytes.size() > m.keepBytes) {
                    reply.bytes.resize(m.keepBytes);
                }
                break;
            case Fault::None:
            case Fault::WrongEcho:
            case Fault::WrongBaud:
                break;
        }
    }
    return Damage(reply);
}

bool ReplyShaper::Damage(Reply& reply) {
    if (!m_damaging || reply.bytes.empty()) {
        return true;
    }
    auto chance = [this](int percent) {
        return std::uniform_int_distribution<int>(0, 99)(m_random) < percent;
    };
    if (chance(m_damage.dropPercent)) {
        return false;
    }
    if (chance(m_damage.flipPercent)) {
        size_t at = std::uniform_int_distribution<size_t>(0, reply.bytes.size() - 1)(m_random);
        int bit = std::uniform_int_distribution<int>(0, 7)(m_random);
        reply.bytes[at] ^= static_cast<BYTE>(1u << bit);
    }
    if (chance(m_damage.truncatePercent)) {
        reply.bytes.resize(
            std::uniform_int_distribution<size_t>(0, reply.bytes.size() - 1)(m_random));
    }
    if (chance(m_damage.delayPercent)) {
        reply.delayMicros +=
            std::uniform_int_distribution<uint64_t>(0, m_damage.maxDelayMicros)(m_random);
    }
    return !reply.bytes.empty();
}

bool Misconduct::Take(BoardOptions& options, std::string* error) {
    static const struct {
        const char* name;
        Fault fault;
    } kFaults[] = {{"wrong-check", Fault::WrongCheck}, {"wrong-command", Fault::WrongCommand},
                   {"failure", Fault::FailureStatus},  {"no-answer", Fault::NoAnswer},
                   {"late", Fault::LateAnswer},        {"truncated", Fault::TruncatedAnswer},
                   {"wrong-echo", Fault::WrongEcho},   {"wrong-baud", Fault::WrongBaud}};
    std::string text;
    if (options.Take("fault", &text)) {
        bool known = false;
        for (const auto& f : kFaults) {
            if (text == f.name) {
                misbehaviour.fault = f.fault;
                known = true;
            }
        }
        if (!known) {
            *error =
                "fault must be wrong-check, wrong-command, failure, no-answer, late, "
                "truncated, wrong-echo or wrong-baud";
            return false;
        }
    }
    Misbehaviour& m = misbehaviour;
    uint32_t at = static_cast<uint32_t>(m.atReply);
    uint32_t replies = static_cast<uint32_t>(m.replies);
    uint32_t late = static_cast<uint32_t>(m.lateMicros);
    uint32_t keep = static_cast<uint32_t>(m.keepBytes);
    uint32_t echoAt = static_cast<uint32_t>(m.echoAt);
    uint32_t wrongBaud = 9600;
    if (!options.TakeNumber("at", &at, error) || !options.TakeNumber("replies", &replies, error) ||
        !options.TakeNumber("late-us", &late, error) || !options.TakeNumber("keep", &keep, error) ||
        !options.TakeNumber("echo-at", &echoAt, error) ||
        !options.TakeNumber("wrong-baud", &wrongBaud, error)) {
        return false;
    }
    m.atReply = static_cast<int>(at);
    m.replies = static_cast<int>(replies);
    m.lateMicros = late;
    m.keepBytes = keep;
    m.echoAt = static_cast<int>(echoAt);
    m.wrongBaud = wrongBaud;

    uint32_t seed = damage.seed;
    uint32_t flip = 0, drop = 0, delay = 0, truncate = 0;
    uint32_t maxDelay = static_cast<uint32_t>(damage.maxDelayMicros);
    if (!options.TakeNumber("seed", &seed, error) || !options.TakeNumber("flip", &flip, error) ||
        !options.TakeNumber("drop", &drop, error) || !options.TakeNumber("delay", &delay, error) ||
        !options.TakeNumber("truncate", &truncate, error) ||
        !options.TakeNumber("max-delay-us", &maxDelay, error)) {
        return false;
    }
    damage.seed = seed;
    damage.flipPercent = static_cast<int>(flip);
    damage.dropPercent = static_cast<int>(drop);
    damage.delayPercent = static_cast<int>(delay);
    damage.truncatePercent = static_cast<int>(truncate);
    damage.maxDelayMicros = maxDelay;
    damaged = flip + drop + delay + truncate > 0;
    return true;
}

}  // namespace boards
