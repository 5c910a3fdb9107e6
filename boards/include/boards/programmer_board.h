// The programmer board: its controller speaks binary packets, keeps the chip's memories by memory
// kind and can hand the line to a chip's boot loader.
//
// Packets of the controller (multi-byte fields low byte first; the check byte is the 8-bit sum of
// every byte before it; every reply begins with the command byte):
//   1 type                         set chip type        -> 1 status check
//   2 kind n addr(2) data(n)       write block          -> 2 status check
//   3 kind n addr(2)               read block           -> 3 status data(n) check
//   4                              erase                -> 4 status check
//   5                              read version block   -> 5 v0 v1 v2 v3 check
//   6                              start resident loader-> 6 status check
//   7                              read board word      -> 7 status high low check
//   10 kind n addr(2) data(n)      compare block        -> 10 status data(n) check (the chip's
//   bytes)
// and the length-prefixed packets (length = bytes between it and the check byte; the check byte
// makes the whole packet add up to 0; replies likewise, or 0xEC with an error code):
//   2 0 seq                        connection check     -> 2 0 seq check
//   4 6 kind count(2)              blank check          -> 3 6 used(2) check (cells not 0xFF)
//   2 2 device                     set type (0: none)   -> 2 2 status check
// A packet is what arrives without a pause of a few character times; the two kinds differ in
// length. Status 0 is done; 1 refused or failed; 2 the request's check byte was wrong.
//
// Chip type 2 (the boot-loader chips) hands the line to the board's boot loader, when it has one,
// until the chip's program starts. Chip type 3 (the HC908 chip) has one address space, its flash
// written as kind 2 and everything read as kind 1; it needs its RAM-resident loader before the
// flash can be written: the two loader images in RAM (177 bytes from 0x40, 315 bytes from 0x100),
// the bytes 1, 0 at the board word + 4, then start (command 6). The chip runs the images only when
// each ends with its check: the CRC-CCITT (polynomial 0x1021 from 0xFFFF) of the bytes before it,
// high byte first. Command 5 then reads the loader's version instead of the board's.
//
// The PIC chips (types 14 and 16) take the memory kind of a block packet as a selector whose
// meaning depends on the direction: code is written as 2 and read as 4, data written as 0xFF and
// read as 5, the configuration (special) area written as 0 and read as 0xFF. Their data cells
// travel in the even places of byte pairs (the odd places are padding). The memories of the three
// areas are Memory(2), Memory(1) and Memory(4), as the blank check names them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/boot_loader.h"
#include "boards/catalogue.h"
#include "boards/misbehaviour.h"

namespace boards {

struct ProgrammerBoardOptions {
    LineSettings line = LineSettings{19200};
    // The set-chip-type packet is refused (status 1) until this try (1-based).
    int acceptSetTypeAt = 1;
    // The chip types the controller knows; others are refused.
    std::set<BYTE> chipTypes = {1, 2, 3, 8, 9, 11, 14, 16};
    std::array<BYTE, 4> version = {'P', 'B', '2', '1'};
    std::array<BYTE, 4> loaderVersion = {'R', 'L', '0', '7'};
    WORD boardWord = 0x0240;
    uint64_t eraseMicros = 20000;
    // The Kestrix board: after an RTS pulse it restarts and sends 'R' when ready.
    bool kestrix = false;
    uint64_t kestrixStartMicros = 300000;
    // Non-zero: every length-prefixed packet is answered by the board error 0xEC with this code.
    BYTE boardError = 0;
    // A boot loader behind the controller, for chip type 2.
    bool bootLoader = false;
    BootLoaderOptions loader;
};

class ProgrammerBoard : public Board, private BootLoader::Host {
public:
    // Memory kind 3, the serial EEPROM, holds 0x2000 bytes; every other kind 0x10000.
    static constexpr size_t kEepromSize = 0x2000;

    explicit ProgrammerBoard(const ProgrammerBoardOptions& options = ProgrammerBoardOptions());

    void Misbehave(const Misbehaviour& m);
    void Damage(const ReplyDamage& d) { m_shaper.Set(d); }

    // The chip's memory of one kind (created erased on first use).
    std::vector<BYTE>& Memory(BYTE kind);
    // Where a block packet's bytes live for the chip type set: the memory, and whether its cells
    // travel in byte pairs. False for a kind the chip does not take in that direction.
    struct Placement {
        BYTE kind;
        bool pairs;
    };
    bool Place(BYTE command, BYTE kind, Placement* placement) const;
    BYTE ChipType() const { return m_chipType; }
    int SetTypeTries() const { return m_setTypeTries; }
    bool ResidentLoaderRunning() const { return m_loaderRunning; }
    // The line belongs to the boot loader.
    bool InLoaderMode() const { return m_loaderMode; }
    BootLoader* Chip() { return m_chip.get(); }

protected:
    void OnOpen() override { Follow(); }
    void OnHostSettings(const LineSettings&) override { Follow(); }
    void OnByte(BYTE byte, bool garbled) override;
    void OnRts(bool on) override;

private:
    void Answer(Reply reply) override;
    void ProgramStarted() override;
    void Note(const std::string& what) override;
    void Follow();

    void EndOfPacket();
    bool TakeControllerPacket(const std::vector<BYTE>& p);
    bool TakeLengthPacket(const std::vector<BYTE>& p);
    void SetChipType(BYTE type);
    void WriteBlock(BYTE kind, size_t n, uint32_t address, const BYTE* data);
    void ReadBlock(BYTE command, BYTE kind, size_t n, uint32_t address, const BYTE* compare);
    void Status(BYTE command, BYTE status, uint64_t delayMicros = 0);
    void LengthReply(std::vector<BYTE> body);
    bool KindUsable(BYTE packetKind, const Placement& place, size_t n, uint32_t address);
    // The image in RAM at `at` ends with the check of the bytes before it.
    bool LoaderImageIntact(size_t at, size_t size);

    ProgrammerBoardOptions m_options;
    ReplyShaper m_shaper;
    std::vector<BYTE> m_packet;
    uint64_t m_packetSerial = 0;
    std::map<BYTE, std::vector<BYTE>> m_memory;
    BYTE m_chipType = 0;
    int m_setTypeTries = 0;
    std::vector<bool> m_ramWritten;
    bool m_loaderStartFlag = false;
    bool m_loaderRunning = false;
    std::unique_ptr<BootLoader> m_chip;
    bool m_loaderMode = false;
    bool m_rtsRaised = false;
};

// The catalogue's maker, at the options' framing (the board runs at 19200, 9600 or 57600 baud):
// tries=N (set type accepted from try N), types=1,2,3 (the chip types it knows), version=XXXX and
// loader-version=XXXX (four characters), word= (the board word), erase-us=, kestrix=1, error=
// (0xEC code for the length-prefixed packets), loader=p89|t89 (a boot loader behind the
// controller; p89 answers a display line after a 0 byte), and the faults of Misconduct.
std::unique_ptr<Board> MakeProgrammerBoard(BoardOptions& options, std::string* error);

}  // namespace boards
