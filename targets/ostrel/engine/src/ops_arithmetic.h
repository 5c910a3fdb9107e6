// Handlers of the arithmetic instructions: ADD, ADDC, SUBB, INC, DEC, MUL, DIV and DA.
#pragma once

#include "cpu.h"

namespace ostrel::engine {

inline void AddToAcc(Cpu& c, uint8_t operand, bool withCarry) {
    const unsigned a = Acc(c);
    const unsigned carryIn = withCarry && Carry(c) ? 1u : 0u;
    const unsigned sum = a + operand + carryIn;
    const bool auxCarry = (a & 0x0F) + (operand & 0x0F) + carryIn > 0x0F;
    // Signed overflow: both operands have one sign and the result the other.
    const bool overflow = ((a ^ sum) & (operand ^ sum) & 0x80) != 0;
    SetPswFlags(c, sum > 0xFF, auxCarry, overflow);
    Acc(c) = static_cast<uint8_t>(sum);
}

inline void SubtractFromAcc(Cpu& c, uint8_t operand) {
    const unsigned a = Acc(c);
    const unsigned borrowIn = Carry(c) ? 1u : 0u;
    const unsigned difference = a - operand - borrowIn;
    const bool borrow = a < operand + borrowIn;
    const bool auxBorrow = (a & 0x0F) < (operand & 0x0F) + borrowIn;
    // Signed overflow: the operands' signs differ and the result's sign is not A's.
    const bool overflow = ((a ^ operand) & (a ^ difference) & 0x80) != 0;
    SetPswFlags(c, borrow, auxBorrow, overflow);
    Acc(c) = static_cast<uint8_t>(difference);
}

template <int L>
SimStatus AddA(Cpu& c) {
    AddToAcc(c, Source<L>(c), false);
    return SIM_OK;
}

template <int L>
SimStatus AddcA(Cpu& c) {
    AddToAcc(c, Source<L>(c), true);
    return SIM_OK;
}

template <int L>
SimStatus SubbA(Cpu& c) {
    SubtractFromAcc(c, Source<L>(c));
    return SIM_OK;
}

// INC and DEC change no flag.
template <int Delta>
SimStatus StepA(Cpu& c) {
    Acc(c) = static_cast<uint8_t>(Acc(c) + Delta);
    return SIM_OK;
}

template <int Delta>
SimStatus StepDirect(Cpu& c) {
    DirectWrite(c, c.b1, static_cast<uint8_t>(DirectReadForUpdate(c, c.b1) + Delta));
    return SIM_OK;
}

template <int Delta, int I>
SimStatus StepIndirect(Cpu& c) {
    const uint8_t address = ReadR(c, I);
    return RamWrite(c, address, static_cast<uint8_t>(RamRead(c, address) + Delta))
               ? SIM_OK
               : SIM_OUT_OF_RANGE;
}

template <int Delta, int N>
SimStatus StepR(Cpu& c) {
    WriteR(c, N, static_cast<uint8_t>(ReadR(c, N) + Delta));
    return SIM_OK;
}

inline SimStatus IncDptr(Cpu& c) {
    SetDptr(c, static_cast<uint16_t>(Dptr(c) + 1));
    return SIM_OK;
}

inline SimStatus MulAB(Cpu& c) {
    const unsigned product = Acc(c) * Sfr(c, sfr::B);
    Acc(c) = static_cast<uint8_t>(product);
    Sfr(c, sfr::B) = static_cast<uint8_t>(product >> 8);
    SetPswFlags(c, false, (Psw(c) & sfr::PSW_AC) != 0, product > 0xFF);
    return SIM_OK;
}

// Division by zero sets OV and leaves A and B as they were.
inline SimStatus DivAB(Cpu& c) {
    const uint8_t divisor = Sfr(c, sfr::B);
    const bool auxCarry = (Psw(c) & sfr::PSW_AC) != 0;
    if (divisor == 0) {
        SetPswFlags(c, false, auxCarry, true);
        return SIM_OK;
    }
    const uint8_t dividend = Acc(c);
    Acc(c) = static_cast<uint8_t>(dividend / divisor);
    Sfr(c, sfr::B) = static_cast<uint8_t>(dividend % divisor);
    SetPswFlags(c, false, auxCarry, false);
    return SIM_OK;
}

// Decimal adjust after an addition of two BCD bytes. The carry is only ever set here: a carry
// that the addition produced survives.
inline SimStatus DaA(Cpu& c) {
    unsigned a = Acc(c);
    bool carry = Carry(c);
    if ((a & 0x0F) > 9 || (Psw(c) & sfr::PSW_AC) != 0) {
        a += 0x06;
        if (a > 0xFF) {
            carry = true;
        }
        a &= 0xFF;
    }
    if ((a & 0xF0) > 0x90 || carry) {
        a += 0x60;
        if (a > 0xFF) {
            carry = true;
        }
        a &= 0xFF;
    }
    Acc(c) = static_cast<uint8_t>(a);
    SetCarry(c, carry);
    return SIM_OK;
}

}  // namespace ostrel::engine
