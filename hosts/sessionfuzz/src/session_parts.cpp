// What the loader and debugger sessions share: result codes of the serial library, random
// programs and random line damage, lines of output.
#include <algorithm>
#include <cstdio>

#include "session.h"

namespace sessionfuzz {

const std::set<int>& CommsResults() {
    static const std::set<int> codes = {1001, 1002, 1003, 1004, 1011, 1012, 1013, 1017, 1021, 1022,
                                        1023, 1041, 1042, 1043, 1044, 1052, 1053, 1056, 1057, 1058,
                                        1059, 1060, 1061, 1062, 1063, 1064, 1066, 1067};
    return codes;
}

namespace {

int Pick(std::mt19937_64& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

std::string HexRecord(uint32_t address, uint8_t type, const std::vector<uint8_t>& data) {
    char text[16];
    std::string line = ":";
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    std::snprintf(text, sizeof text, "%02X%04X%02X", static_cast<unsigned>(data.size()),
                  static_cast<unsigned>(address & 0xFFFF), type);
    line += text;
    for (uint8_t b : data) {
        std::snprintf(text, sizeof text, "%02X", b);
        line += text;
        sum += b;
    }
    std::snprintf(text, sizeof text, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return line + text;
}

}  // namespace

std::string RandomHexProgram(std::mt19937_64& random, uint32_t lowest) {
    std::string eol = Pick(random, 0, 1) != 0 ? "\r\n" : "\n";
    std::string text;
    uint32_t address = lowest;
    int blocks = Pick(random, 1, 4);
    for (int b = 0; b < blocks; ++b) {
        int length = Pick(random, 1, 96);
        while (length > 0) {
            int record = std::min(length, Pick(random, 1, 16));
            std::vector<uint8_t> data;
            for (int i = 0; i < record; ++i) {
                data.push_back(static_cast<uint8_t>(Pick(random, 0, 255)));
            }
            text += HexRecord(address, 0, data) + eol;
            address += static_cast<uint32_t>(record);
            length -= record;
        }
        address += static_cast<uint32_t>(Pick(random, 0, 64));
    }
    return text + ":00000001FF" + eol;
}

std::string RandomDamage(std::mt19937_64& random) {
    if (Pick(random, 0, 9) == 0) {
        return "";
    }
    static const char* const kKinds[] = {"any",   "any",      "flip",     "drop",
                                         "delay", "truncate", "flip,drop"};
    static const char* const kWays[] = {"both", "both", "to-host", "to-board"};
    // Mostly light damage, so that downloads get far; now and then heavy.
    int rate = Pick(random, 0, 3) == 0 ? Pick(random, 20, 200) : Pick(random, 1, 15);
    std::string text = std::string("damage=") + kKinds[Pick(random, 0, 6)] +
                       " damage-rate=" + std::to_string(rate) +
                       " damage-seed=" + std::to_string(Pick(random, 1, 1 << 30)) +
                       " damage-way=" + kWays[Pick(random, 0, 3)];
    if (Pick(random, 0, 1) == 0) {
        text += " damage-delay-us=" + std::to_string(Pick(random, 100, 300000));
    }
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace sessionfuzz
