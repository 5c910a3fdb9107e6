// Handlers of the logic instructions: ANL, ORL, XRL on A and on direct bytes, CLR A, CPL A,
// the rotates and SWAP A.
#pragma once

#include "cpu.h"

namespace ostrel::engine {

struct AndOp {
    static uint8_t Apply(uint8_t a, uint8_t b) { return static_cast<uint8_t>(a & b); }
};
struct OrOp {
    static uint8_t Apply(uint8_t a, uint8_t b) { return static_cast<uint8_t>(a | b); }
};
struct XorOp {
    static uint8_t Apply(uint8_t a, uint8_t b) { return static_cast<uint8_t>(a ^ b); }
};

// ANL/ORL/XRL A,<operand of column L>.
template <typename Op, int L>
SimStatus LogicA(Cpu& c) {
    Acc(c) = Op::Apply(Acc(c), Source<L>(c));
    return SIM_OK;
}

// ANL/ORL/XRL direct,A: a read-modify-write of the direct byte.
template <typename Op>
SimStatus LogicDirectA(Cpu& c) {
    DirectWrite(c, c.b1, Op::Apply(DirectReadForUpdate(c, c.b1), Acc(c)));
    return SIM_OK;
}

// ANL/ORL/XRL direct,#data.
template <typename Op>
SimStatus LogicDirectImmediate(Cpu& c) {
    DirectWrite(c, c.b1, Op::Apply(DirectReadForUpdate(c, c.b1), c.b2));
    return SIM_OK;
}

inline SimStatus ClrA(Cpu& c) {
    Acc(c) = 0;
    return SIM_OK;
}

inline SimStatus CplA(Cpu& c) {
    Acc(c) = static_cast<uint8_t>(~Acc(c));
    return SIM_OK;
}

inline SimStatus RlA(Cpu& c) {
    const uint8_t a = Acc(c);
    Acc(c) = static_cast<uint8_t>((a << 1) | (a >> 7));
    return SIM_OK;
}

inline SimStatus RrA(Cpu& c) {
    const uint8_t a = Acc(c);
    Acc(c) = static_cast<uint8_t>((a >> 1) | (a << 7));
    return SIM_OK;
}

inline SimStatus RlcA(Cpu& c) {
    const uint8_t a = Acc(c);
    Acc(c) = static_cast<uint8_t>((a << 1) | (Carry(c) ? 1 : 0));
    SetCarry(c, (a & 0x80) != 0);
    return SIM_OK;
}

inline SimStatus RrcA(Cpu& c) {
    const uint8_t a = Acc(c);
    Acc(c) = static_cast<uint8_t>((a >> 1) | (Carry(c) ? 0x80 : 0));
    SetCarry(c, (a & 0x01) != 0);
    return SIM_OK;
}

inline SimStatus SwapA(Cpu& c) {
    const uint8_t a = Acc(c);
    Acc(c) = static_cast<uint8_t>((a << 4) | (a >> 4));
    return SIM_OK;
}

}  // namespace ostrel::engine
