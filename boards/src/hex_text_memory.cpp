// Intel HEX text into board memory, one received byte at a time.
#include "boards/hex_text_memory.h"

#include <vector>

namespace boards {
namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

HexTextMemory::Line HexTextMemory::Take(uint8_t byte) {
    if (byte != '\r' && byte != '\n') {
        m_line += static_cast<char>(byte);
        return Line::None;
    }
    if (m_line.empty()) {
        return Line::None;
    }
    Line line = ReadLine();
    m_line.clear();
    if (line == Line::Bad) {
        ++m_badLines;
    } else {
        ++m_goodLines;
    }
    return line;
}

void HexTextMemory::Restart() {
    m_line.clear();
    m_base = 0;
}

HexTextMemory::Line HexTextMemory::ReadLine() {
    if (m_line[0] != ':' || m_line.size() < 11 || (m_line.size() - 1) % 2 != 0) {
        return Line::Bad;
    }
    std::vector<uint8_t> bytes;
    unsigned sum = 0;
    for (size_t i = 1; i + 1 < m_line.size(); i += 2) {
        int high = DigitValue(m_line[i]);
        int low = DigitValue(m_line[i + 1]);
        if (high < 0 || low < 0) {
            return Line::Bad;
        }
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        sum += bytes.back();
    }
    size_t count = bytes[0];
    if (bytes.size() != count + 5 || (sum & 0xFF) != 0) {
        return Line::Bad;
    }
    uint32_t address = static_cast<uint32_t>(bytes[1]) << 8 | bytes[2];
    const uint8_t* data = bytes.data() + 4;
    switch (bytes[3]) {
        case 0x00:
            for (size_t i = 0; i < count; ++i) {
                m_cells[m_base + address + static_cast<uint32_t>(i)] = data[i];
            }
            return Line::Good;
        case 0x01:
            return Line::End;
        case 0x02:
        case 0x04:
            if (count != 2) {
                return Line::Bad;
            }
            m_base = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << (bytes[3] == 0x02 ? 4 : 16);
            return Line::Good;
        default:
            return Line::Bad;
    }
}

}  // namespace boards
