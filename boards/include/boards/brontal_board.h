// The 8051 board with the Brontal-G program monitor: while the host holds RTS on, a small binary
// monitor puts bytes into the board's RAM and reads them back; with RTS off the program runs.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "boards/board.h"
#include "boards/catalogue.h"
#include "boards/program_store.h"

namespace boards {

// Monitor commands, each answered after 100 us at the board's framing (bytes at another rate are
// noise to it and ignored):
//   04 hi lo   the counter := hi lo           -> '!'
//   02 d       RAM[counter] := d, counter + 1 -> '!'
//   01         counter + 1                    -> RAM[counter] (0 where nothing was written)
// Any other command byte is ignored. RTS on starts the monitor afresh (a command half sent is
// forgotten); RTS off runs the program.
class BrontalBoard : public Board, public ProgramStore {
public:
    // Counts start at 1: the k-th byte the board receives, the n-th command it carries out.
    struct Faults {
        uint32_t silentAt = 0;          // from this byte on the board answers nothing
        uint32_t badAck = 0;            // this command is answered '?' and not carried out
        uint32_t badRead = kNoAddress;  // reading this address gives its bits complemented
        static constexpr uint32_t kNoAddress = 0xFFFFFFFF;
    };
    BrontalBoard(const LineSettings& line, const Faults& faults);

    const std::map<uint32_t, uint8_t>& LoadedCells() const override { return m_ram; }
    bool InMonitor() const { return m_monitor; }
    uint16_t Counter() const { return m_counter; }

protected:
    void OnRts(bool on) override;
    void OnByte(BYTE byte, bool garbled) override;

private:
    void CarryOut();

    Faults m_faults;
    bool m_monitor = false;
    std::vector<BYTE> m_command;
    uint16_t m_counter = 0;
    uint32_t m_received = 0;
    uint32_t m_commands = 0;
    std::map<uint32_t, uint8_t> m_ram;
};

// The catalogue's maker: at the options' framing; keys silent-at=, bad-ack=, bad-read=.
std::unique_ptr<Board> MakeBrontalBoard(BoardOptions& options, std::string* error);

}  // namespace boards
