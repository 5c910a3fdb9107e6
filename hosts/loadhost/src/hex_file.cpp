// Reading an Intel HEX file into bytes by address, independently of any loader or board.
#include "hex_file.h"

#include <fstream>
#include <vector>

#include "hexdigits/hex_digits.h"

namespace loadhost {

bool ReadHexFileCells(const std::string& path, std::map<uint32_t, uint8_t>* cells,
                      std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot open '" + path + "'";
        return false;
    }
    cells->clear();
    uint32_t base = 0;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        std::string where = path + " line " + std::to_string(number);
        if (line[0] != ':' || line.size() < 11 || line.size() % 2 == 0) {
            *error = where + ": not an Intel HEX record";
            return false;
        }
        std::vector<uint8_t> bytes;
        unsigned sum = 0;
        for (size_t i = 1; i < line.size(); i += 2) {
            uint8_t value = 0;
            if (!ReadHexByte(line.c_str() + i, &value)) {
                *error = where + ": not an Intel HEX record";
                return false;
            }
            bytes.push_back(value);
            sum += value;
        }
        if (bytes.size() != bytes[0] + 5u || (sum & 0xFF) != 0) {
            *error = where + ": wrong length or checksum";
            return false;
        }
        uint32_t address = static_cast<uint32_t>(bytes[1]) << 8 | bytes[2];
        uint32_t value = bytes[0] >= 2 ? (static_cast<uint32_t>(bytes[4]) << 8 | bytes[5]) : 0;
        switch (bytes[3]) {
            case 0x00:
                for (uint32_t i = 0; i < bytes[0]; ++i) {
                    (*cells)[base + address + i] = bytes[4 + i];
                }
                break;
            case 0x01:
                return true;
            case 0x02:
                base = value << 4;
                break;
            case 0x04:
                base = value << 16;
                break;
            default:
                break;  // start addresses say nothing about memory
        }
    }
    return true;
}

}  // namespace loadhost
