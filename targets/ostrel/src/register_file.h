// The simulated chip's registers: special function registers, working registers, ports, PC,
// interrupt level, cycle counter, and the peripheral timing state kept beside them.
#pragma once

#include <cstddef>
#include <cstdint>

class CMemorySegment;

namespace ostrel {

// What the register file needs of the target that owns it: the board link of the hardware-port
// mode, the serial output of SBUF writes and the external data space.
class IRegisterFileHost {
public:
    virtual bool HardwarePortsActive() = 0;
    // Asks the board for a port register; false when the board did not answer.
    virtual bool ReadBoardPort(uint8_t address, uint8_t* value) = 0;
    virtual void WriteBoardPort(uint8_t address, uint8_t value) = 0;
    // A byte written to SBUF: hand it to the host's terminal.
    virtual void SerialTransmit(uint8_t value) = 0;
    // Whether the serial port's timing is simulated (then TI follows the transmission's end).
    virtual bool SimulateSerial() = 0;
    // MOVX's data space (program memory when external data overlaps it).
    virtual uint8_t ReadExternalData(uint16_t address) = 0;
    virtual bool WriteExternalData(uint16_t address, uint8_t value) = 0;

protected:
    ~IRegisterFileHost() = default;
};

// Machine-cycle state of the timers, the external interrupt pins and the serial port.
struct PeripheralTiming {
    uint8_t latchedTcon = 0;
    uint8_t latchedTmod = 0;
    uint8_t pinSample[4] = {0xFF, 0xFF, 0xFF, 0xFF};  // previous samples of P0 to P3
    uint8_t serialStatus = 0;                         // bit 0 requested, bit 1 transmitting
    uint16_t txTicks = 0;                             // ticks left of the transmission, 0 idle
    uint16_t shiftRegister = 0;                       // survives a reset
    uint8_t baudPrescaler = 0;
    uint8_t bitTime = 0;
    uint8_t serialMarks = 0;  // bit 0 bit boundary, bit 1 TI pending
    uint8_t mode2Divider = 0;
    // Set when the program has read SBUF, or found RI clear, since the last byte came in: the
    // receiver may take the host's next byte once RI is clear.
    uint8_t inputTaken = 1;
};

constexpr uint8_t kSerialRequested = 0x01;
constexpr uint8_t kSerialTransmitting = 0x02;
// Serial marks: the last tick ended a bit time; the next machine cycle sets TI.
constexpr uint8_t kMarkBitBoundary = 0x01;
constexpr uint8_t kMarkTiPending = 0x02;

class CRegisterFile {
public:
    // Works over the target's internal RAM and 256-byte special-function-register space, which
    // must outlive it (the SFR space must hold 256 bytes). Starts reset.
    CRegisterFile(CMemorySegment& internalRam, CMemorySegment& sfrSpace, IRegisterFileHost& host);
    CRegisterFile(const CRegisterFile&) = delete;
    CRegisterFile& operator=(const CRegisterFile&) = delete;

    // The chip's reset: SP 7, ports and their latches 0xFF, every other modelled register at its
    // reset value (SBUF keeps its byte), timing state cleared, cycle counter 0. PC is the caller's.
    void Reset();

    // Register access by name, as the host sees it.
    static int GetNameCount();
    // The name at `index`; an empty text outside the table.
    static const char* GetName(int index);
    // 0 for an unknown name.
    uint32_t Get(const char* name);
    // Unknown names change nothing.
    void Set(const char* name, uint32_t value);

    // Direct addresses: below 0x80 internal RAM, ports as port reads give them, the rest SFRs.
    uint8_t ReadDirect(uint8_t address);
    // False when the memory space refuses the address.
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
    uint8_t PortLatch(int index) const { return latches_[index]; }
    // Set by the engine around the read of a read-modify-write instruction.
    void SetReadModifyWrite(bool on) { readModifyWrite_ = on; }
    bool ReadModifyWrite() const { return readModifyWrite_; }

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
    uint16_t Pc() const { return pc_; }
    void SetPc(uint16_t value) { pc_ = value; }
    // P of PSW from the number of one bits in ACC.
    void UpdateParity();

    // Working register Rn of the bank that PSW selects.
    uint8_t BankBase() const;
    uint8_t R(int n);
    bool SetR(int n, uint8_t value);

    // 0 none, 1 a low-priority routine runs, 2 high, 3 high over low.
    uint8_t InterruptLevel() const { return interruptLevel_; }
    void SetInterruptLevel(uint8_t level) { interruptLevel_ = level; }

    // Grows by the cycle class of every executed instruction; wraps at 16 bits.
    uint16_t Cycles() const { return cycles_; }
    void AddCycles(int cycleClass) { cycles_ = static_cast<uint16_t>(cycles_ + cycleClass); }

    PeripheralTiming& Timing() { return timing_; }
    const PeripheralTiming& Timing() const { return timing_; }

    // The register dump shown by the host: registers, then internal RAM 0x08 to 0x16, cut to
    // `length` bytes and always terminated (nothing is written for a null buffer or length 0).
    void WriteDumpText(char* buffer, size_t length);

    CMemorySegment& InternalRam() { return internalRam_; }
    CMemorySegment& SfrSpace() { return sfrSpace_; }

private:
    uint8_t ReadRam(uint8_t address);
    void TransmitByte(uint8_t value);

    CMemorySegment& internalRam_;
    CMemorySegment& sfrSpace_;
    uint8_t* sfrBytes_;  // the SFR space's 256 bytes: an 8-bit address is always inside
    IRegisterFileHost& host_;
    uint16_t pc_ = 0;
    uint8_t interruptLevel_ = 0;
    PeripheralTiming timing_;
    uint16_t cycles_ = 0;
    uint8_t latches_[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    bool readModifyWrite_ = false;
};

}  // namespace ostrel
