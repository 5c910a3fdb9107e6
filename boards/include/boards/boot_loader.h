// The serial boot loader of the 8051 flash chips (the T89C51Rx2 and the P89 chips): command
// records in Intel-HEX form, every character echoed, each record answered once it is whole.
//
// The loader learns the host's rate from the first 'U' it hears and keeps that rate until the chip
// is reset. A 'U' faster than the chip's detection reaches (maxBaud) makes it settle on a wrong
// rate: from then on every character is garbage to it, and its echoes reach the host as garbage
// (their bits complemented); the same when the host talks at another framing than the one found.
// Before a rate is found only a 'U' is heard, and an 'R' or 'H' asks the chip to run its program.
//
// Once the rate is found every character is echoed. Records (':' NN AAAA TT data CC, hex digits in
// either case, CC making the record's bytes add up to 0) and their answers:
//   type 00  program NN bytes from AAAA                                      ".\r\n" after 2 ms
//   type 01  end of a file                                                    ".\r\n"
//   type 02  oscillator frequency code (one byte)                            ".\r\n"
//   type 03  07: erase the chip (slow: 1.5 s); 04 00: erase boot vector and status byte;
//            06 01 vv: boot vector vv; 06 00 ss: status byte ss; 05 01: security bits
//                                                                             ".\r\n" after 20 ms
//   type 04  SSSS EEEE 00: display the bytes SSSS..EEEE: "\r\n" "SSSS=", two hex digits a byte,
//            "\r\n" (2n + 9 characters); the P89 chips answer only once a 0 byte follows
//   type 05  07 02: the boot vector; 07 01: the status byte: "XX.\r\n"
// A record with a wrong checksum, count digits that are not hex digits, or a request the chip does
// not know is answered "X\r\n" and not carried out. Outside a record 'R' or 'H' asks the chip to
// run its program once it is released (how a board releases it is the board's matter; the boards
// that reset the chip with RTS call OnRtsFalling).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/catalogue.h"
#include "boards/misbehaviour.h"

namespace boards {

struct BootLoaderOptions {
    // The chip answers a display record only once a 0 byte follows it (the P89 chips).
    bool displayAfterZero = false;
    // A reset with the status byte 0 starts the program (boards without a programmer controller).
    bool bootsOnClearStatus = false;
    uint32_t maxBaud = 115200;  // the fastest rate its 'U' detection follows
    BYTE bootVector = 0xFC;     // the special bytes as the chip comes
    BYTE statusByte = 0xFF;
    uint64_t eraseMicros = 1500000;  // whole-chip erase
    uint64_t programMicros = 2000;   // programming a data record
    uint64_t specialMicros = 20000;  // the boot vector, status byte and security bits
    size_t flashSize = 0x10000;
    // Faults, counted from 1 since the chip was made.
    uint32_t badEcho = 0;           // the k-th character it takes is echoed as another (0: none)
    uint32_t badReply = 0;          // the n-th record is answered "X\r\n" and not carried out
    uint32_t badRead = kNoAddress;  // a display of this address shows another byte

    static constexpr uint32_t kNoAddress = 0xFFFFFFFF;
};

// Takes the chip's keys out of a board's options: isp-max-baud=, boot-vector=, status-byte=,
// bad-echo=, bad-reply=, bad-read=. False with a reason.
bool TakeBootLoaderKeys(BoardOptions& options, BootLoaderOptions* chip, std::string* error);

class BootLoader {
public:
    // What the loader needs of the board it sits on.
    class Host {
    public:
        // An echo or an answer, as the chip means it; the board may shape it (misbehaviour).
        virtual void Answer(Reply reply) = 0;
        // The chip's program started (OnRtsFalling): the board decides who has the line now.
        virtual void ProgramStarted() = 0;
        // Something worth a line in the board's log ("loader rate 19200", "program runs"); the
        // board decides whether to keep it.
        virtual void Note(const std::string& what) = 0;

    protected:
        ~Host() = default;
    };

    BootLoader(Host& host, const BootLoaderOptions& options);

    // Reset into the loader: the rate is found again from the next 'U', no run is asked for, a
    // partial record is dropped. Memory and special bytes stay.
    void EnterLoader();
    // A byte the host sent, at the framing it came with (`host`; baud 0 when it came garbled).
    void OnByte(BYTE byte, const LineSettings& host);
    // The reset line falls: the chip starts its program when that was asked for (or, with
    // bootsOnClearStatus, when the status byte is 0); otherwise it is back in the loader.
    void OnRtsFalling();
    // Starts with the rate already fixed (a chip that locked onto another rate).
    void LockAt(DWORD baud);

    bool Locked() const { return m_locked; }
    DWORD LockedBaud() const { return m_rate.baud; }
    bool Running() const { return m_running; }
    bool RunRequested() const { return m_runRequested; }

    // The whole flash (erased cells 0xFF), and the cells data records wrote since the last chip
    // erase (what a board's download put there).
    std::vector<BYTE>& Flash() { return m_flash; }
    const std::map<uint32_t, uint8_t>& Programmed() const { return m_programmed; }
    // A cell the running chip programs itself (a debug kernel planting a breakpoint): it counts
    // as programmed, like a download's. Addresses past the flash are ignored.
    void WriteCell(uint32_t address, uint8_t value);
    BYTE BootVector() const { return m_bootVector; }
    BYTE StatusByte() const { return m_statusByte; }
    bool SecurityBitsSet() const { return m_securityBits; }
    int FrequencyCode() const { return m_frequency; }

private:
    void Echo(BYTE byte);
    void Say(const std::string& text, uint64_t delayMicros);
    void TakeRecordCharacter(char c);
    void CarryOut();
    bool Decode(std::vector<BYTE>* bytes) const;
    std::string DisplayText() const;

    Host& m_host;
    BootLoaderOptions m_options;
    bool m_locked = false;
    bool m_wrongRate = false;
    LineSettings m_rate;
    bool m_running = false;
    bool m_runRequested = false;
    std::string m_record;  // the record so far, from its ':'
    bool m_awaitingZero = false;
    uint32_t m_displayFrom = 0;
    uint32_t m_displayTo = 0;
    uint32_t m_taken = 0;
    uint32_t m_records = 0;
    std::vector<BYTE> m_flash;
    std::map<uint32_t, uint8_t> m_programmed;
    BYTE m_bootVector;
    BYTE m_statusByte;
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

// The framing a byte came at as the chip takes it: the host's, or baud 0 when it came garbled.
LineSettings ByteFraming(const LineSettings& host, bool garbled);

// The catalogue's maker: chip=p89|t89 (p89 answers a display record after a 0 byte),
// boots-on-status=1 (a reset with the status byte 0 starts the program), erase-us=, the chip's
// keys (TakeBootLoaderKeys) and the faults of Misconduct. The options' framing is where it listens
// until a 'U' fixes the rate.
std::unique_ptr<Board> MakeBootLoaderBoard(BoardOptions& options, std::string* error);

}  // namespace boards
