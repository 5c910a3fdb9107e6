// CpuState: the host-side copy of a board's 8051 registers that the board debuggers read and
// change by name while the board is stopped, filled from the board after every step or run.
#pragma once

#include <cstdint>

// The model points into the target's own memory spaces (it owns neither array):
//  - m_internalRam: the 256 bytes of internal RAM; the working registers are its first 32;
//  - m_sfr: 256 bytes indexed by the special function register's own address (ACC at 0xE0);
//  - m_pc: the program counter, kStoppedPc while nothing is loaded or debugging stopped;
//  - m_psw: the PSW byte inside m_sfr.
class CpuState {
public:
    static constexpr uint16_t kStoppedPc = 0xFFFF;

    // The model over the two arrays, reset (Reset); PC kStoppedPc.
    CpuState(uint8_t* internalRam, uint8_t* sfr);

    // SP 7 and the four ports 0xFF; nothing else changes.
    void Reset();

    uint8_t Sfr(uint8_t address) const { return m_sfr[address]; }
    void SetSfr(uint8_t address, uint8_t value) { m_sfr[address] = value; }
    // The stack pointer.
    uint8_t Sp() const;
    // ACC, with the PSW's parity bit following it.
    void SetAcc(uint8_t value);
    uint16_t Dptr() const;
    void SetDptr(uint16_t value);
    // The working-register bank that PSW selects (0 to 3), and Rn's internal-RAM address in it.
    int Bank() const { return (*m_psw >> 3) & 3; }
    uint8_t RegisterAddress(int n) const { return static_cast<uint8_t>(Bank() * 8 + n); }
    uint8_t R(int n) const { return m_internalRam[RegisterAddress(n)]; }

    // The PSW parity bit for `value`: 1 for an odd number of one bits (from the nibbles'
    // parities).
    static uint8_t Parity(uint8_t value);

    uint8_t* m_internalRam;
    uint8_t* m_sfr;
    uint16_t m_pc;
    uint8_t* m_psw;
};
