// The T89C51Rx2's serial boot loader, as a part of a simulated board: it learns the host's baud
// rate from a 'U', echoes every character, and answers each Intel-HEX-form command record once
// the whole record has come.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "boards/board.h"
#include "boards/catalogue.h"

namespace boards {

// What the boot loader is told to do wrong, and its starting state; counts start at 1.
struct IspSettings {
    uint32_t maxBaud = 115200;  // the fastest rate its 'U' detection reaches
    BYTE bootVector = 0xFC;     // the special bytes as the chip comes
    BYTE statusByte = 0xFF;
    uint32_t badEcho = 0;           // the k-th character it takes is echoed as another (0: none)
    uint32_t badReply = 0;          // the n-th record is answered "X\r\n" and not carried out
    uint32_t badRead = kNoAddress;  // a display of this address shows another byte

    static constexpr uint32_t kNoAddress = 0xFFFFFFFF;
};

// Takes the boot loader's keys out of a board's options: isp-max-baud=, boot-vector=,
// status-byte=, bad-echo=, bad-reply=, bad-read=. False with a reason.
bool TakeIspSettings(BoardOptions& options, IspSettings* settings, std::string* error);

// Records (':' count address type data checksum, hex digits in either case) and their replies:
//   type 00  program the data bytes                       ".\r\n" after 2 ms
//   type 01  end of a file                                 ".\r\n"
//   type 02  oscillator setting (accepted)                 ".\r\n"
//   type 03  07: erase the chip (slow: 1.5 s); 04 00: erase boot vector and status byte;
//            06 01 v: boot vector := v; 06 00 v: status byte := v        ".\r\n" after 20 ms
//   type 04  display start..end: "\r\n" "AAAA=" two digits per byte "\r\n" (2n + 9 characters)
//   type 05  07 02: boot vector; 07 01: status byte: "XX.\r\n"
// A record with a wrong checksum or an unknown request is answered "X\r\n". Outside a record 'R'
// or 'H' asks to run the program once the board releases the chip.
//
// Until a 'U' has come the loader ignores the line. A 'U' at a rate up to maxBaud fixes that
// rate; above it the loader settles on a wrong rate and from then on every character is garbage
// to it, and its echoes garbage to the host (their bits complemented). The same when the host
// talks at another rate than the one fixed.
class IspBootLoader {
public:
    IspBootLoader(Board& board, const IspSettings& settings);

    // A reset: back in the boot loader, rate not yet fixed, no run asked for. Memory stays.
    void Reset();
    // A byte the host sent at `host` framing.
    void Take(BYTE byte, const LineSettings& host);

    bool RunRequested() const { return m_runRequested; }
    // The cells programmed since the last chip erase (erased cells read 0xFF).
    const std::map<uint32_t, uint8_t>& Programmed() const { return m_flash; }
    BYTE BootVector() const { return m_bootVector; }
    BYTE StatusByte() const { return m_statusByte; }

private:
    void Echo(BYTE byte);
    void Answer(uint64_t delayMicros, const std::string& text);
    void TakeRecordCharacter(char c);
    void CarryOut();
    std::string Display(unsigned first, unsigned last) const;
    BYTE Cell(unsigned address) const;

    Board& m_board;
    IspSettings m_settings;
    bool m_rateFixed = false;
    bool m_wrongRate = false;
    LineSettings m_rate;
    bool m_runRequested = false;
    std::string m_record;  // the record so far, from its ':'
    uint32_t m_taken = 0;
    uint32_t m_records = 0;
    std::map<uint32_t, uint8_t> m_flash;
    BYTE m_bootVector;
    BYTE m_statusByte;
};

}  // namespace boards
