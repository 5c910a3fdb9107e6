// Handlers of the program-flow instructions: jumps, calls and returns (which the host sees for
// its call stack), the conditional relative jumps, CJNE and DJNZ.
#pragma once

#include "cpu.h"
#include "ostrel/chip.h"

namespace ostrel::engine {

inline SimStatus Nop(Cpu&) { return SIM_OK; }

// AJMP and ACALL reach the 2 KB page of the instruction that follows them.
inline uint16_t PageTarget(Cpu& c) {
    return static_cast<uint16_t>((c.next & 0xF800) | ((c.op & 0xE0) << 3) | c.b1);
}

inline SimStatus Ajmp(Cpu& c) {
    c.next = PageTarget(c);
    return SIM_OK;
}

inline SimStatus Ljmp(Cpu& c) {
    c.next = static_cast<uint16_t>((c.b1 << 8) | c.b2);
    return SIM_OK;
}

inline SimStatus Sjmp(Cpu& c) {
    c.next = RelativeTarget(c, c.b1);
    return SIM_OK;
}

inline SimStatus JmpADptr(Cpu& c) {
    c.next = static_cast<uint16_t>(Dptr(c) + Acc(c));
    return SIM_OK;
}

// A call pushes its return address and shows the routine on the call stack.
inline SimStatus CallTo(Cpu& c, uint16_t destination, CallKind kind) {
    if (!PushReturnAddress(c, c.next)) {
        return SIM_STACK_FAULT;
    }
    c.host->Called(destination, c.next, kind);
    c.next = destination;
    return SIM_OK;
}

inline SimStatus Acall(Cpu& c) { return CallTo(c, PageTarget(c), CallKind::Acall); }

inline SimStatus Lcall(Cpu& c) {
    return CallTo(c, static_cast<uint16_t>((c.b1 << 8) | c.b2), CallKind::Lcall);
}

inline SimStatus Ret(Cpu& c) {
    const uint8_t high = PopByte(c);
    const uint8_t low = PopByte(c);
    c.next = static_cast<uint16_t>((high << 8) | low);
    c.host->Returned(c.next);
    return SIM_OK;
}

// RETI also ends the running interrupt level: high over low returns to low, any other to none.
inline SimStatus Reti(Cpu& c) {
    Ret(c);
    c.chip->Interrupts().EndRoutine();
    return SIM_OK;
}

// --- conditional relative jumps ---

inline SimStatus JumpIf(Cpu& c, bool taken, uint8_t offset) {
    if (taken) {
        c.next = RelativeTarget(c, offset);
    }
    return SIM_OK;
}

inline SimStatus Jc(Cpu& c) { return JumpIf(c, Carry(c), c.b1); }
inline SimStatus Jnc(Cpu& c) { return JumpIf(c, !Carry(c), c.b1); }
inline SimStatus Jz(Cpu& c) { return JumpIf(c, Acc(c) == 0, c.b1); }
inline SimStatus Jnz(Cpu& c) { return JumpIf(c, Acc(c) != 0, c.b1); }
inline SimStatus Jb(Cpu& c) { return JumpIf(c, BitRead(c, c.b1), c.b2); }
inline SimStatus Jnb(Cpu& c) { return JumpIf(c, !BitRead(c, c.b1), c.b2); }

// JBC clears the bit when it jumps; a refused clear fails before the jump.
inline SimStatus Jbc(Cpu& c) {
    if (!BitReadForUpdate(c, c.b1)) {
        return SIM_OK;
    }
    if (!BitWrite(c, c.b1, false)) {
        return SIM_OUT_OF_RANGE;
    }
    c.next = RelativeTarget(c, c.b2);
    return SIM_OK;
}

// --- compare and decrement loops ---

// CY is set when the first operand is the smaller; the jump is taken when they differ.
inline SimStatus CompareJump(Cpu& c, uint8_t first, uint8_t second) {
    SetCarry(c, first < second);
    return JumpIf(c, first != second, c.b2);
}

// CJNE A,#data,rel (L = 4) / CJNE A,direct,rel (L = 5).
template <int L>
SimStatus CjneA(Cpu& c) {
    return CompareJump(c, Acc(c), Source<L>(c));
}

template <int I>
SimStatus CjneIndirect(Cpu& c) {
    return CompareJump(c, RamRead(c, ReadR(c, I)), c.b1);
}

template <int N>
SimStatus CjneR(Cpu& c) {
    return CompareJump(c, ReadR(c, N), c.b1);
}

template <int N>
SimStatus DjnzR(Cpu& c) {
    const uint8_t value = static_cast<uint8_t>(ReadR(c, N) - 1);
    WriteR(c, N, value);
    return JumpIf(c, value != 0, c.b1);
}

inline SimStatus DjnzDirect(Cpu& c) {
    const uint8_t value = static_cast<uint8_t>(DirectReadForUpdate(c, c.b1) - 1);
    DirectWrite(c, c.b1, value);
    return JumpIf(c, value != 0, c.b2);
}

}  // namespace ostrel::engine
