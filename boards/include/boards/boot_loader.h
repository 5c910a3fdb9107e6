// The serial boot loader of the 8051 flash chips: command lines in Intel-HEX record form, every
// character echoed, each line answered by a line that begins with '.' when it was carried out.
//
// The loader finds the host's rate from the first 'U' it hears and keeps that rate until the chip
// is reset (RTS falling). A reset after 'R' or 'H' starts the chip's program instead; so does a
// reset with the status byte cleared on boards that boot by the status byte alone.
//
// Command lines (":" NN AAAA TT data CC, CC making the record's bytes add up to 0):
//   type 00  program NN bytes from AAAA
//   type 02  oscillator frequency code (one byte)
//   type 03  07: erase the chip (slow); 04 00: erase boot vector and status byte;
//            06 01 vv: boot vector vv; 06 00 ss: status byte ss; 05 01: security bits
//   type 04  SSSS EEEE 00: display the bytes SSSS..EEEE as "SSSS = " and two hex digits a byte,
//            then CR LF
// Answers: ".\r\n" done, "X\r\n" checksum wrong, "?\r\n" refused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/catalogue.h"
#include "boards/misbehaviour.h"

namespace boards {

struct BootLoaderOptions {
    // The chip answers a display line only once a 0 byte follows it.
    bool displayAfterZero = false;
    // A reset with the status byte 0 starts the program (boards without a programmer controller).
    bool bootsOnClearStatus = false;
    uint64_t eraseMicros = 1500000;  // whole-chip erase
    uint64_t lineMicros = 2000;      // carrying out any other line
    size_t flashSize = 0x10000;
};

class BootLoader {
public:
    // What the loader needs of the board it sits on.
    class Host {
    public:
        virtual void Answer(Reply reply) = 0;
        // The chip's program started: the board decides who has the line now.
        virtual void ProgramStarted() = 0;
        virtual void Note(const std::string& what) = 0;

    protected:
        ~Host() = default;
    };

    BootLoader(Host& host, const BootLoaderOptions& options);

    // Reset into the loader: the rate is found again from the next 'U'.
    void EnterLoader();
    void OnByte(BYTE byte);
    void OnRtsFalling();
    // Starts with the rate already fixed (a chip that locked onto another rate).
    void LockAt(DWORD baud) {
        m_locked = true;
        m_lockedBaud = baud;
    }

    bool Locked() const { return m_locked; }
    DWORD LockedBaud() const { return m_lockedBaud; }
    bool Running() const { return m_running; }

    std::vector<BYTE>& Flash() { return m_flash; }
    BYTE BootVector() const { return m_bootVector; }
    BYTE StatusByte() const { return m_statusByte; }
    bool SecurityBitsSet() const { return m_securityBits; }
    int FrequencyCode() const { return m_frequency; }

    // The rate of the host's line, for locking: set by the board before each byte.
    void HostRate(DWORD baud) { m_hostBaud = baud; }

private:
    void Echo(BYTE byte);
    void Say(const std::string& text, uint64_t delayMicros);
    void CarryOut();
    bool Decode(std::vector<BYTE>& bytes) const;
    std::string DisplayText() const;

    Host& m_host;
    BootLoaderOptions m_options;
    bool m_locked = false;
    DWORD m_lockedBaud = 0;
    DWORD m_hostBaud = 0;
    bool m_running = false;
    bool m_runRequested = false;
    std::string m_line;
    bool m_awaitingZero = false;
    uint32_t m_displayFrom = 0;
    uint32_t m_displayTo = 0;
    std::vector<BYTE> m_flash;
    BYTE m_bootVector = 0x00;
    BYTE m_statusByte = 0xFF;
    bool m_securityBits = false;
    int m_frequency = -1;
};

// A chip's boot loader alone on the line (the boards without a programmer controller): it starts
// in the loader and follows the host's rate until a 'U' fixes it.
class BootLoaderBoard : public Board, private BootLoader::Host {
public:
    explicit BootLoaderBoard(const BootLoaderOptions& options = BootLoaderOptions(),
                             const LineSettings& line = LineSettings());

    BootLoader& Chip() { return m_chip; }
    void Misbehave(const Misbehaviour& m);
    void Damage(const ReplyDamage& d) { m_shaper.Set(d); }

protected:
    void OnOpen() override { Follow(); }
    void OnHostSettings(const LineSettings&) override { Follow(); }
    void OnByte(BYTE byte, bool garbled) override;
    void OnRts(bool on) override;

private:
    void Answer(Reply reply) override;
    void ProgramStarted() override;
    void Note(const std::string& what) override;
    // While the loader looks for its rate it reads the host at whatever rate the host uses.
    void Follow();

    BootLoader m_chip;
    ReplyShaper m_shaper;
};

// The catalogue's maker: chip=p89|t89 (p89 answers a display line after a 0 byte),
// boots-on-status=1 (a reset with the status byte 0 starts the program), erase-us=, and the
// faults of Misconduct. The options' framing is where it listens until a 'U' fixes the rate.
std::unique_ptr<Board> MakeBootLoaderBoard(BoardOptions& options, std::string* error);

}  // namespace boards
