// Random damage to a board's line: its keys, and the draw for each byte.
#include "boards/line_damage.h"

#include <vector>

#include "boards/catalogue.h"

namespace boards {
namespace {

uint32_t Bit(Harm harm) { return 1u << static_cast<uint32_t>(harm); }

// The words of `text` between commas.
std::vector<std::string> CommaWords(const std::string& text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

}  // namespace

bool LineDamageSettings::Take(BoardOptions& options, std::string* error) {
    std::string text;
    bool given = options.Take("damage", &text);
    if (given) {
        static const struct {
            const char* name;
            uint32_t kinds;
        } kNames[] = {
            {"flip", Bit(Harm::Flip)},
            {"drop", Bit(Harm::Drop)},
            {"delay", Bit(Harm::Delay)},
            {"truncate", Bit(Harm::Truncate)},
            {"any", Bit(Harm::Flip) | Bit(Harm::Drop) | Bit(Harm::Delay) | Bit(Harm::Truncate)}};
        kinds = 0;
        for (const std::string& word : CommaWords(text)) {
            bool known = false;
            for (const auto& name : kNames) {
                if (word == name.name) {
                    kinds |= name.kinds;
                    known = true;
                }
            }
            if (!known) {
                *error =
                    "damage must be flip, drop, delay, truncate or any (joined by commas), "
                    "not '" +
                    text + "'";
                return false;
            }
        }
    }
    if (!given) {
        // The other keys say how the damage goes: alone they would quietly do nothing.
        for (const char* key : {"damage-rate", "damage-seed", "damage-way", "damage-delay-us"}) {
            if (options.Take(key, &text)) {
                *error = std::string(key) + " needs damage=";
                return false;
            }
        }
        return true;
    }
    uint32_t delay = static_cast<uint32_t>(maxDelayMicros);
    if (!options.TakeNumber("damage-rate", &perMille, error) ||
        !options.TakeNumber("damage-seed", &seed, error) ||
        !options.TakeNumber("damage-delay-us", &delay, error)) {
        return false;
    }
    maxDelayMicros = delay;
    if (perMille < 1 || perMille > 1000) {
        *error = "damage-rate must be 1 to 1000 (bytes in a thousand)";
        return false;
    }
    if (options.Take("damage-way", &text)) {
        if (text != "both" && text != "to-host" && text != "to-board") {
            *error = "damage-way must be both, to-host or to-board";
            return false;
        }
        toHost = text != "to-board";
        toBoard = text != "to-host";
    }
    return true;
}

LineDamage::LineDamage(const LineDamageSettings& settings, bool toHost)
    : m_settings(settings),
      m_on(settings.Any() && (toHost ? settings.toHost : settings.toBoard)),
      // Each way draws from its own sequence, so the damage one way does not depend on how many
      // bytes went the other way.
      m_random(settings.seed * 2u + (toHost ? 1u : 0u)) {}

LineDamage::Hit LineDamage::Next() {
    Hit hit;
    if (!m_on || std::uniform_int_distribution<uint32_t>(0, 999)(m_random) >= m_settings.perMille) {
        return hit;
    }
    Harm chosen[4];
    int count = 0;
    for (Harm harm : {Harm::Flip, Harm::Drop, Harm::Delay, Harm::Truncate}) {
        if (m_settings.kinds & Bit(harm)) {
            chosen[count++] = harm;
        }
    }
    hit.harm = chosen[std::uniform_int_distribution<int>(0, count - 1)(m_random)];
    if (hit.harm == Harm::Flip) {
        hit.mask = static_cast<BYTE>(1u << std::uniform_int_distribution<int>(0, 7)(m_random));
    } else if (hit.harm == Harm::Delay) {
        hit.delayMicros =
            std::uniform_int_distribution<uint64_t>(1, m_settings.maxDelayMicros + 1)(m_random);
    }
    return hit;
}

}  // namespace boards
