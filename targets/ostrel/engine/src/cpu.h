// The inline accessors that every instruction handler is built from: memory through the bound
// views, registers, flags, and the operand columns of the arithmetic and logic rows.
#pragma once

#include <cstdint>

#include "ostrel/chip_host.h"
#include "ostrel/cpu_state.h"
#include "ostrel/register_file.h"
#include "ostrel/sfr.h"
#include "simtarget/sim_status.h"

namespace ostrel::engine {

// The handler of one opcode: 0 or the failure status of the instruction. A handler that fails
// leaves the chip as it found it, so that the next step executes the instruction again.
using Handler = SimStatus (*)(Cpu&);

// --- internal RAM ---

inline uint8_t RamRead(Cpu& c, uint8_t address) {
    return address < c.ramSize ? c.ram[address]
                               : c.host->ReadOutside(ChipSpace::InternalRam, address);
}

// False when the address lies outside the chip's internal RAM.
inline bool RamWrite(Cpu& c, uint8_t address, uint8_t value) {
    if (address < c.ramSize) {
        c.ram[address] = value;
        return true;
    }
    return c.host->WriteOutside(ChipSpace::InternalRam, address, value);
}

// --- special function registers without side effects ---

inline uint8_t& Sfr(Cpu& c, uint8_t address) { return c.sfr[address]; }
inline uint8_t& Acc(Cpu& c) { return c.sfr[sfr::ACC]; }
inline uint8_t& Psw(Cpu& c) { return c.sfr[sfr::PSW]; }

inline bool Carry(Cpu& c) { return (Psw(c) & sfr::PSW_CY) != 0; }

inline void SetCarry(Cpu& c, bool on) {
    Psw(c) = static_cast<uint8_t>(on ? (Psw(c) | sfr::PSW_CY) : (Psw(c) & ~sfr::PSW_CY));
}

inline uint16_t Dptr(Cpu& c) {
    return static_cast<uint16_t>((c.sfr[sfr::DPH] << 8) | c.sfr[sfr::DPL]);
}

inline void SetDptr(Cpu& c, uint16_t value) {
    c.sfr[sfr::DPL] = static_cast<uint8_t>(value);
    c.sfr[sfr::DPH] = static_cast<uint8_t>(value >> 8);
}

// --- working registers of the selected bank ---

inline uint8_t RegisterAddress(Cpu& c, int n) {
    return static_cast<uint8_t>((Psw(c) & sfr::PSW_RS) + n);
}

inline uint8_t ReadR(Cpu& c, int n) { return RamRead(c, RegisterAddress(c, n)); }
inline void WriteR(Cpu& c, int n, uint8_t value) { RamWrite(c, RegisterAddress(c, n), value); }

// --- direct addresses: internal RAM below 0x80, the register file's rules above ---

inline uint8_t DirectRead(Cpu& c, uint8_t address) {
    if (address < 0x80) {
        return RamRead(c, address);
    }
    return (c.sfrAccess[address - 0x80] & kSfrReadSpecial) == 0 ? c.sfr[address]
                                                                : c.regs->ReadDirect(address);
}

// The read of a read-modify-write instruction: a port answers its latch, not its pins.
inline uint8_t DirectReadForUpdate(Cpu& c, uint8_t address) {
    if (address < 0x80) {
        return RamRead(c, address);
    }
    c.regs->SetReadModifyWrite(true);
    const uint8_t value = c.regs->ReadDirect(address);
    c.regs->SetReadModifyWrite(false);
    return value;
}

// A refused direct write never ends the instruction: the space has reported it already.
inline void DirectWrite(Cpu& c, uint8_t address, uint8_t value) {
    if (address < 0x80) {
        RamWrite(c, address, value);
    } else if ((c.sfrAccess[address - 0x80] & kSfrWriteSpecial) == 0) {
        c.sfr[address] = value;
    } else {
        c.regs->WriteDirect(address, value);
    }
}

// --- bit addresses ---

inline bool BitRead(Cpu& c, uint8_t bit) {
    if (bit < 0x80) {
        return (RamRead(c, static_cast<uint8_t>(0x20 + (bit >> 3))) >> (bit & 7)) & 1;
    }
    return c.regs->ReadBit(bit);
}

inline bool BitReadForUpdate(Cpu& c, uint8_t bit) {
    if (bit < 0x80) {
        return BitRead(c, bit);
    }
    c.regs->SetReadModifyWrite(true);
    const bool value = c.regs->ReadBit(bit);
    c.regs->SetReadModifyWrite(false);
    return value;
}

// False when the space refuses the byte that holds the bit.
inline bool BitWrite(Cpu& c, uint8_t bit, bool value) {
    if (bit < 0x80) {
        const uint8_t address = static_cast<uint8_t>(0x20 + (bit >> 3));
        const uint8_t mask = static_cast<uint8_t>(1u << (bit & 7));
        const uint8_t byte = RamRead(c, address);
        return RamWrite(c, address, static_cast<uint8_t>(value ? (byte | mask) : (byte & ~mask)));
    }
    return c.regs->WriteBit(bit, value);
}

// --- program memory ---

inline uint8_t CodeRead(Cpu& c, uint16_t address) {
    return address < c.codeSize ? c.code[address] : c.host->ReadOutside(ChipSpace::Code, address);
}

// --- external data ---

inline uint8_t ExternalRead(Cpu& c, uint16_t address) {
    return address < c.xdataSize ? c.xdata[address]
                                 : c.host->ReadOutside(ChipSpace::ExternalData, address);
}

inline bool ExternalWrite(Cpu& c, uint16_t address, uint8_t value) {
    if (address < c.xdataSize) {
        c.xdata[address] = value;
        return true;
    }
    return c.host->WriteOutside(ChipSpace::ExternalData, address, value);
}

// --- the stack ---

// Pushes the two bytes of a return address, low byte first. When internal RAM cannot hold
// either byte nothing is stored and SP keeps its value; the space reports the refused address,
// which is also kept for the failure message.
inline bool PushReturnAddress(Cpu& c, uint16_t address) {
    const uint8_t sp = c.sfr[sfr::SP];
    const uint8_t low = static_cast<uint8_t>(sp + 1);
    const uint8_t high = static_cast<uint8_t>(sp + 2);
    if (low >= c.ramSize || high >= c.ramSize) {
        const uint8_t refused = low >= c.ramSize ? low : high;
        RamWrite(c, refused, 0);  // refused: the space reports the address
        c.refusedStackAddress = refused;
        return false;
    }
    c.ram[low] = static_cast<uint8_t>(address);
    c.ram[high] = static_cast<uint8_t>(address >> 8);
    c.sfr[sfr::SP] = high;
    return true;
}

inline uint8_t PopByte(Cpu& c) {
    const uint8_t sp = c.sfr[sfr::SP];
    const uint8_t value = RamRead(c, sp);
    c.sfr[sfr::SP] = static_cast<uint8_t>(sp - 1);
    return value;
}

// --- flags ---

inline void SetPswFlags(Cpu& c, bool carry, bool auxCarry, bool overflow) {
    uint8_t psw = static_cast<uint8_t>(Psw(c) & ~(sfr::PSW_CY | sfr::PSW_AC | sfr::PSW_OV));
    if (carry) {
        psw |= sfr::PSW_CY;
    }
    if (auxCarry) {
        psw |= sfr::PSW_AC;
    }
    if (overflow) {
        psw |= sfr::PSW_OV;
    }
    Psw(c) = psw;
}

// P of every byte: 1 for an odd number of one bits.
struct ParityTable {
    uint8_t odd[256] = {};
    constexpr ParityTable() {
        for (int value = 0; value < 256; ++value) {
            int ones = 0;
            for (int bit = 0; bit < 8; ++bit) {
                ones += (value >> bit) & 1;
            }
            odd[value] = static_cast<uint8_t>(ones & 1);
        }
    }
};
inline constexpr ParityTable kParity{};
static_assert(sfr::PSW_P == 1, "P is PSW's lowest bit");

// P of PSW: set when A holds an odd number of one bits.
inline void UpdateParity(Cpu& c) {
    Psw(c) = static_cast<uint8_t>((Psw(c) & ~sfr::PSW_P) | kParity.odd[Acc(c)]);
}

// The relative-branch target of the instruction in hand: the next instruction plus the offset.
inline uint16_t RelativeTarget(Cpu& c, uint8_t offset) {
    return static_cast<uint16_t>(c.next + static_cast<int8_t>(offset));
}

// The second operand of the arithmetic and logic rows, chosen by the opcode's low nibble L:
// 4 #data, 5 direct, 6 and 7 @R0 and @R1, 8 to 15 R0 to R7.
template <int L>
inline uint8_t Source(Cpu& c) {
    static_assert(L >= 4 && L <= 15, "no operand for this column");
    if constexpr (L == 4) {
        return c.b1;
    } else if constexpr (L == 5) {
        return DirectRead(c, c.b1);
    } else if constexpr (L == 6 || L == 7) {
        return RamRead(c, ReadR(c, L - 6));
    } else {
        return ReadR(c, L - 8);
    }
}

}  // namespace ostrel::engine
