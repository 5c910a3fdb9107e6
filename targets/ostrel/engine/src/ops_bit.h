// Handlers of the Boolean instructions: the carry with bits (ANL, ORL, MOV), and CLR, SETB and
// CPL of bits and of the carry.
#pragma once

#include "cpu.h"

namespace ostrel::engine {

// ANL C,bit / ANL C,/bit.
template <bool Inverted>
SimStatus AnlCBit(Cpu& c) {
    const bool bit = BitRead(c, c.b1) != Inverted;
    SetCarry(c, Carry(c) && bit);
    return SIM_OK;
}

// ORL C,bit / ORL C,/bit.
template <bool Inverted>
SimStatus OrlCBit(Cpu& c) {
    const bool bit = BitRead(c, c.b1) != Inverted;
    SetCarry(c, Carry(c) || bit);
    return SIM_OK;
}

inline SimStatus MovCBit(Cpu& c) {
    SetCarry(c, BitRead(c, c.b1));
    return SIM_OK;
}

inline SimStatus MovBitC(Cpu& c) { return BitWrite(c, c.b1, Carry(c)) ? SIM_OK : SIM_OUT_OF_RANGE; }

// CLR bit / SETB bit.
template <bool Value>
SimStatus SetBit(Cpu& c) {
    return BitWrite(c, c.b1, Value) ? SIM_OK : SIM_OUT_OF_RANGE;
}

inline SimStatus CplBit(Cpu& c) {
    return BitWrite(c, c.b1, !BitReadForUpdate(c, c.b1)) ? SIM_OK : SIM_OUT_OF_RANGE;
}

// CLR C / SETB C.
template <bool Value>
SimStatus SetC(Cpu& c) {
    SetCarry(c, Value);
    return SIM_OK;
}

inline SimStatus CplC(Cpu& c) {
    SetCarry(c, !Carry(c));
    return SIM_OK;
}

}  // namespace ostrel::engine
