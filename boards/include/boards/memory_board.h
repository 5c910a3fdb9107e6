// The RAM and flash memory board and the drive: 9-byte headers with 32-bit addresses and 16-bit
// lengths at 115200 baud, after a resynchronisation byte.
//
// Header: command, 0, address (4 bytes), length (2 bytes), check; fields low byte first; each
// check byte is the negated sum of what it covers, so that the bytes and their check add up to 0.
//   2 erase (address and length 0)      -> 2 status check, once the erase is done
//   3 write, then length bytes + check  -> 3 status check
//   4 read                              -> length bytes + check, then 4 status check
// Between packets a 0xA5 is echoed (the host's resynchronisation); an RTS pulse makes the board
// forget any packet it was in. After a write header the board needs a few milliseconds before it
// can take the data: bytes sent sooner are lost. A packet left unfinished for 50 ms is dropped.
// The drive writes whole sectors only: 512 bytes at a multiple of 512. Status 0 done, 1 refused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boards/board.h"
#include "boards/catalogue.h"
#include "boards/misbehaviour.h"

namespace boards {

struct MemoryBoardOptions {
    LineSettings line = LineSettings{115200};
    bool drive = false;
    size_t size = 0x80000;
    uint64_t eraseMicros = 1500000;
    uint64_t headerBusyMicros = 4000;
};

class MemoryBoard : public Board {
public:
    static constexpr DWORD kBaud = 115200;
    static constexpr size_t kSector = 512;

    explicit MemoryBoard(const MemoryBoardOptions& options = MemoryBoardOptions());

    void Misbehave(const Misbehaviour& m);
    void Damage(const ReplyDamage& d) { m_shaper.Set(d); }

    std::vector<BYTE>& Memory() { return m_memory; }
    // Each accepted write: where and how long.
    struct Written {
        uint32_t address;
        size_t length;
    };
    const std::vector<Written>& Writes() const { return m_writes; }

protected:
    void OnByte(BYTE byte, bool garbled) override;
    void OnRts(bool on) override;

private:
    enum class State { Idle, Header, Data };

    void TakeHeader();
    void TakeData();
    void Status(BYTE command, BYTE status, uint64_t delayMicros = 0);
    void Answer(Reply reply);
    void Forget();

    MemoryBoardOptions m_options;
    ReplyShaper m_shaper;
    std::vector<BYTE> m_memory;
    std::vector<Written> m_writes;
    State m_state = State::Idle;
    std::vector<BYTE> m_bytes;
    uint32_t m_address = 0;
    size_t m_length = 0;
    uint64_t m_readyAt = 0;
    uint64_t m_serial = 0;
    bool m_rtsRaised = false;
};

// The catalogue's makers, at the options' framing (the boards run at 115200 baud): erase-us=,
// busy-us= (not ready after a write header), size=, and the faults of Misconduct.
std::unique_ptr<Board> MakeMemoryBoard(BoardOptions& options, std::string* error);
std::unique_ptr<Board> MakeDrive(BoardOptions& options, std::string* error);

}  // namespace boards
