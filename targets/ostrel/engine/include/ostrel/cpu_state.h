// The instruction engine's view of the chip: its memory as plain bytes and the instruction in
// hand. Every instruction handler works on it.
#pragma once

#include <cstdint>

namespace ostrel {

class CChip;
class CRegisterFile;
class IChipHost;

namespace engine {

// What a special function register needs beyond its byte, per address from 0x80: reads and
// writes that go through the register file (ports, a peripheral's registers; ACC's parity).
constexpr uint8_t kSfrReadSpecial = 0x01;
constexpr uint8_t kSfrWriteSpecial = 0x02;

struct Cpu {
    CChip* chip = nullptr;
    IChipHost* host = nullptr;
    CRegisterFile* regs = nullptr;

    // The bound memory (see CChip::BindMemory). An address at or past a size goes to the host.
    uint8_t* sfr = nullptr;  // always 256 bytes: an 8-bit address is always inside
    uint8_t* ram = nullptr;
    uint32_t ramSize = 0;
    uint8_t* code = nullptr;
    uint32_t codeSize = 0;
    // MOVX's space: external data RAM, program memory in the "Overlapped" mode, or none.
    uint8_t* xdata = nullptr;
    uint32_t xdataSize = 0;

    // The instruction in hand: its address, opcode and operand bytes, and where execution goes
    // on when it completes.
    uint16_t pc = 0;
    uint16_t next = 0;
    uint8_t op = 0;
    uint8_t b1 = 0;
    uint8_t b2 = 0;

    // The stack address that a refused push tried to use, for the failure message.
    uint8_t refusedStackAddress = 0;

    uint8_t sfrAccess[128] = {};
};

}  // namespace engine
}  // namespace ostrel
