// The simulated chip's registers: special function registers (those a peripheral serves go
// through it), working registers, ports with their latches, the stack, PC and the cycle counter;
// the registers by the names the host shows, and the register dump.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel {

class CChip;

namespace engine {
struct Cpu;
}

class CRegisterFile {
public:
    CRegisterFile(CChip& chip, engine::Cpu& cpu) : m_chip(chip), m_cpu(cpu) {}
    CRegisterFile(const CRegisterFile&) = delete;
    CRegisterFile& operator=(const CRegisterFile&) = delete;

    // The chip's reset of the core registers: SP 7, ports and their latches 0xFF (an active
    // board sees the four writes), ACC, B, PSW, DPTR and PCON 0, the cycle counter 0. The
    // peripherals reset their own registers. PC is the caller's.
    void Reset();

    // Register access by name, as the host sees it.
    static int GetNameCount();
    // The name at `index`; an empty text outside the table.
    static const char* GetName(int index);
    // 0 for an unknown name.
    uint32_t Get(const char* name);
    // Unknown names change nothing. A value is stored as the register shows it: SBUF's is what
    // the program reads next, and nothing is sent.
    void Set(const char* name, uint32_t value);

    // Direct addresses: below 0x80 internal RAM, ports as port reads give them, the registers of
    // a peripheral through it, the rest the special-function-register bytes.
    uint8_t ReadDirect(uint8_t address);
    // False when internal RAM refuses the address.
    bool WriteDirect(uint8_t address, uint8_t value);
    // Bit addresses: below 0x80 the bit area of internal RAM at 0x20, else bits of the SFRs.
    bool ReadBit(uint8_t bit);
    bool WriteBit(uint8_t bit, bool value);
    // @R0/@R1: the whole internal RAM, never the SFRs.
    uint8_t ReadIndirect(uint8_t address);
    bool WriteIndirect(uint8_t address, uint8_t value);
    // SP + 1, then the byte at SP; false (SP already moved) when the RAM refuses it.
    bool PushByte(uint8_t value);
    // The byte at SP, then SP - 1.
    uint8_t PopByte();

    // Ports: the value a read gives (the latch while the read-modify-write mark is set, the
    // board's answer while hardware ports are active), and the write of latch, byte and board.
    uint8_t ReadPort(int index);
    void WritePort(int index, uint8_t value);
    uint8_t PortLatch(int index) const { return m_latches[index]; }
    // Set by the engine around the read of a read-modify-write instruction.
    void SetReadModifyWrite(bool on) { m_readModifyWrite = on; }
    bool ReadModifyWrite() const { return m_readModifyWrite; }

    // The raw special-function-register byte, without any side effect.
    uint8_t Sfr(uint8_t address) const;
    void SetSfr(uint8_t address, uint8_t value);

    uint8_t Acc() const;
    // Also recomputes the parity flag.
    void SetAcc(uint8_t value);
    uint8_t B() const;
    void SetB(uint8_t value);
    uint8_t Psw() const;
    void SetPsw(uint8_t value);
    bool Carry() const;
    void SetCarry(bool on);
    uint8_t Sp() const;
    void SetSp(uint8_t value);
    uint16_t Dptr() const;
    void SetDptr(uint16_t value);
    uint16_t Pc() const { return m_pc; }
    void SetPc(uint16_t value) { m_pc = value; }
    // P of PSW from the number of one bits in ACC.
    void UpdateParity();

    // Working register Rn of the bank that PSW selects.
    uint8_t BankBase() const;
    uint8_t R(int n);
    bool SetR(int n, uint8_t value);

    // Grows by the cycle class of every executed instruction; wraps at 16 bits.
    uint16_t Cycles() const { return m_cycles; }
    void AddCycles(int cycleClass) { m_cycles = static_cast<uint16_t>(m_cycles + cycleClass); }

    // The register dump shown by the host: registers, then internal RAM 0x08 to 0x16, cut to
    // `length` bytes and always terminated (nothing is written for a null buffer or length 0).
    void WriteDumpText(char* buffer, size_t length);

private:
    uint8_t ReadRam(uint8_t address);
    bool WriteRam(uint8_t address, uint8_t value);
    uint8_t ReadExternal(uint16_t address);
    bool WriteExternal(uint16_t address, uint8_t value);
    // A special function register as the program reads (bits of `mask`) and writes it.
    uint8_t ReadSfr(uint8_t address, uint8_t mask);
    void WriteSfr(uint8_t address, uint8_t value);

    CChip& m_chip;
    engine::Cpu& m_cpu;
    uint16_t m_pc = 0;
    uint16_t m_cycles = 0;
    uint8_t m_latches[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    bool m_readModifyWrite = false;
};

}  // namespace ostrel
