// Handlers of the data-transfer instructions: MOV in all its forms, MOVC, MOVX, PUSH, POP, XCH
// and XCHD.
#pragma once

#include "cpu.h"

namespace ostrel::engine {

// --- MOV ---

template <int L>
SimStatus MovAFrom(Cpu& c) {
    Acc(c) = Source<L>(c);
    return SIM_OK;
}

// MOV Rn,A / MOV Rn,#data / MOV Rn,direct.
template <int N>
SimStatus MovRFromA(Cpu& c) {
    WriteR(c, N, Acc(c));
    return SIM_OK;
}

template <int N>
SimStatus MovRImmediate(Cpu& c) {
    WriteR(c, N, c.b1);
    return SIM_OK;
}

template <int N>
SimStatus MovRDirect(Cpu& c) {
    WriteR(c, N, DirectRead(c, c.b1));
    return SIM_OK;
}

// MOV direct,A / MOV direct,#data / MOV direct,Rn / MOV direct,@Ri / MOV direct,direct.
inline SimStatus MovDirectA(Cpu& c) {
    DirectWrite(c, c.b1, Acc(c));
    return SIM_OK;
}

inline SimStatus MovDirectImmediate(Cpu& c) {
    DirectWrite(c, c.b1, c.b2);
    return SIM_OK;
}

template <int N>
SimStatus MovDirectR(Cpu& c) {
    DirectWrite(c, c.b1, ReadR(c, N));
    return SIM_OK;
}

template <int I>
SimStatus MovDirectIndirect(Cpu& c) {
    DirectWrite(c, c.b1, RamRead(c, ReadR(c, I)));
    return SIM_OK;
}

// The source address comes first in the instruction, the destination second.
inline SimStatus MovDirectDirect(Cpu& c) {
    DirectWrite(c, c.b2, DirectRead(c, c.b1));
    return SIM_OK;
}

// MOV @Ri,A / MOV @Ri,#data / MOV @Ri,direct: an address outside internal RAM fails.
template <int I>
SimStatus MovIndirectA(Cpu& c) {
    return RamWrite(c, ReadR(c, I), Acc(c)) ? SIM_OK : SIM_OUT_OF_RANGE;
}

template <int I>
SimStatus MovIndirectImmediate(Cpu& c) {
    return RamWrite(c, ReadR(c, I), c.b1) ? SIM_OK : SIM_OUT_OF_RANGE;
}

template <int I>
SimStatus MovIndirectDirect(Cpu& c) {
    return RamWrite(c, ReadR(c, I), DirectRead(c, c.b1)) ? SIM_OK : SIM_OUT_OF_RANGE;
}

inline SimStatus MovDptrImmediate(Cpu& c) {
    SetDptr(c, static_cast<uint16_t>((c.b1 << 8) | c.b2));
    return SIM_OK;
}

// --- MOVC: program memory ---

inline SimStatus MovcAPc(Cpu& c) {
    Acc(c) = CodeRead(c, static_cast<uint16_t>(Acc(c) + c.pc + 1));
    return SIM_OK;
}

inline SimStatus MovcADptr(Cpu& c) {
    Acc(c) = CodeRead(c, static_cast<uint16_t>(Acc(c) + Dptr(c)));
    return SIM_OK;
}

// --- MOVX: the external data space (program memory when it overlaps) ---

// @Ri addresses a 256-byte page of the external space that P2's latch selects.
template <int I>
uint16_t PagedAddress(Cpu& c) {
    return static_cast<uint16_t>((c.regs->PortLatch(2) << 8) | ReadR(c, I));
}

inline SimStatus MovxADptr(Cpu& c) {
    Acc(c) = ExternalRead(c, Dptr(c));
    return SIM_OK;
}

template <int I>
SimStatus MovxAIndirect(Cpu& c) {
    Acc(c) = ExternalRead(c, PagedAddress<I>(c));
    return SIM_OK;
}

inline SimStatus MovxDptrA(Cpu& c) {
    return ExternalWrite(c, Dptr(c), Acc(c)) ? SIM_OK : SIM_EXTERNAL_ADDRESS_FAULT;
}

template <int I>
SimStatus MovxIndirectA(Cpu& c) {
    return ExternalWrite(c, PagedAddress<I>(c), Acc(c)) ? SIM_OK : SIM_EXTERNAL_ADDRESS_FAULT;
}

// --- the stack ---

// The byte is read after SP has moved, as on the chip: PUSH SP stores the new SP.
inline SimStatus Push(Cpu& c) {
    const uint8_t sp = c.sfr[sfr::SP];
    const uint8_t at = static_cast<uint8_t>(sp + 1);
    if (at >= c.ramSize && !RamWrite(c, at, 0)) {
        c.refusedStackAddress = at;
        return SIM_STACK_FAULT;
    }
    c.sfr[sfr::SP] = at;
    RamWrite(c, at, DirectRead(c, c.b1));
    return SIM_OK;
}

inline SimStatus Pop(Cpu& c) {
    DirectWrite(c, c.b1, PopByte(c));
    return SIM_OK;
}

// --- exchanges ---

inline SimStatus XchADirect(Cpu& c) {
    const uint8_t value = DirectRead(c, c.b1);
    DirectWrite(c, c.b1, Acc(c));
    Acc(c) = value;
    return SIM_OK;
}

template <int N>
SimStatus XchAR(Cpu& c) {
    const uint8_t value = ReadR(c, N);
    WriteR(c, N, Acc(c));
    Acc(c) = value;
    return SIM_OK;
}

// The memory byte is written first: when it is refused, A keeps its value.
template <int I>
SimStatus XchAIndirect(Cpu& c) {
    const uint8_t address = ReadR(c, I);
    const uint8_t value = RamRead(c, address);
    if (!RamWrite(c, address, Acc(c))) {
        return SIM_OUT_OF_RANGE;
    }
    Acc(c) = value;
    return SIM_OK;
}

template <int I>
SimStatus XchdAIndirect(Cpu& c) {
    const uint8_t address = ReadR(c, I);
    const uint8_t value = RamRead(c, address);
    const uint8_t a = Acc(c);
    if (!RamWrite(c, address, static_cast<uint8_t>((value & 0xF0) | (a & 0x0F)))) {
        return SIM_OUT_OF_RANGE;
    }
    Acc(c) = static_cast<uint8_t>((a & 0xF0) | (value & 0x0F));
    return SIM_OK;
}

}  // namespace ostrel::engine
