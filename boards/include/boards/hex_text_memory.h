// A board's reader of Intel HEX text arriving byte by byte: complete lines become memory cells.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace boards {

// Lines end at CR or LF (empty lines are skipped). A line is good when it is ':' followed by an
// even number of hex digits whose bytes are count, address (2), type, count data bytes and a
// checksum that makes the sum of all of them 0 mod 256. Types: 00 data (stored at the extended
// base + address), 01 end of file, 02 extended segment address (base = value * 16), 04 extended
// linear address (base = value << 16); any other type, or a bad line, counts as bad and stores
// nothing.
class HexTextMemory {
public:
    enum class Line { None, Good, Bad, End };

    // Takes one received byte; tells whether it completed a line and how that line was read.
    Line Take(uint8_t byte);
    // Forgets a partial line and the extended base (a new load begins); keeps the cells.
    void Restart();

    // Whether the next byte begins a line (nothing of a line is pending).
    bool AtLineStart() const { return m_line.empty(); }
    const std::map<uint32_t, uint8_t>& Cells() const { return m_cells; }
    int GoodLines() const { return m_goodLines; }
    int BadLines() const { return m_badLines; }

private:
    Line ReadLine();

    std::string m_line;
    uint32_t m_base = 0;
    std::map<uint32_t, uint8_t> m_cells;
    int m_goodLines = 0;
    int m_badLines = 0;
};

}  // namespace boards
