// What the simulator knows about each 8051 opcode before executing it: length, operand kinds,
// instruction group and cycle class.
#pragma once

#include <cstdint>

namespace ostrel {

enum OpcodeFlags : uint16_t {
    kOpTwoBytes = 1u << 0,
    kOpThreeBytes = 1u << 1,
    kOpImmediate = 1u << 2,
    kOpDirect = 1u << 3,
    kOpBit = 1u << 4,
    kOpRelative = 1u << 5,
    kOpAddr11 = 1u << 6,
    kOpUnconditional = 1u << 7,  // AJMP, LJMP, SJMP, JMP @A+DPTR, RET, RETI
    kOpFlowGroup = 1u << 8,      // NOP, AJMP, LJMP, ACALL, LCALL, SJMP
    kOpStackGroup = 1u << 9,     // RET, RETI, PUSH, POP
    kOpCarryBitGroup = 1u << 10,
    kOpAccOnlyGroup = 1u << 11,  // CLR A, CPL A, SWAP A, MUL AB, DIV AB
};

constexpr int kOpCycleShift = 13;
constexpr uint16_t kOpCycleMask = 3u << kOpCycleShift;

// 256 entries indexed by opcode.
extern const uint16_t kOpcodeInfo[256];

// 1, 2 or 3.
inline int InstructionSize(uint8_t opcode) {
    const uint16_t info = kOpcodeInfo[opcode];
    return (info & kOpThreeBytes) ? 3 : (info & kOpTwoBytes) ? 2 : 1;
}

// 1 one-cycle, 2 two-cycle, 3 four-cycle (MUL, DIV), 0 the undefined opcode 0xA5.
inline int CycleClass(uint8_t opcode) {
    return (kOpcodeInfo[opcode] & kOpCycleMask) >> kOpCycleShift;
}

inline bool IsCallOpcode(uint8_t opcode) { return opcode == 0x12 || (opcode & 0x1F) == 0x11; }
inline bool IsReturnOpcode(uint8_t opcode) { return opcode == 0x22 || opcode == 0x32; }

}  // namespace ostrel
