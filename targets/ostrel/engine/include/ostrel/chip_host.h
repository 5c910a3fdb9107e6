// What the simulated chip needs of whatever runs it (the debugger target, or a simulated board):
// its memory, the reports of addresses outside it, calls and returns, the serial line, the ports
// of a board, and memory of new sizes when a Gristan chip moves its split.
#pragma once

#include <cstdint>

namespace ostrel {

// The chip's memory spaces.
enum class ChipSpace { Sfr, Code, InternalRam, ExternalData };

// A space's bytes as the chip reaches them directly. An address at or past `size` goes to the
// host, which reports it.
struct MemoryView {
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
};

// What moved the program counter to a routine.
enum class CallKind { Acall, Lcall, Interrupt };

class IChipHost {
public:
    // A byte outside a space's view: 0 / false, and the host reports the address.
    virtual uint8_t ReadOutside(ChipSpace space, uint32_t address) = 0;
    virtual bool WriteOutside(ChipSpace space, uint32_t address, uint8_t value) = 0;
    // A message of the chip (level 0): the unknown opcode, the faults that end an instruction.
    virtual void ChipMessage(int32_t level, const char* text) = 0;
    // A call or an interrupt entry to `destination` that returns to `from`, and a return.
    virtual void Called(uint16_t destination, uint16_t from, CallKind kind) = 0;
    virtual void Returned(uint16_t address) = 0;
    // A byte written to SBUF, on its way out of the serial port.
    virtual void SerialTransmit(uint8_t value) = 0;
    // Ports on a board: while they are active a port read asks the board (false: no answer) and
    // a port write tells it.
    virtual bool HardwarePortsActive() = 0;
    virtual bool ReadBoardPort(uint8_t address, uint8_t* value) = 0;
    virtual void WriteBoardPort(uint8_t address, uint8_t value) = 0;
    // A Gristan chip moves the split of its RAM: program memory of `codeSize` bytes and an
    // external data space of `dataSize` bytes (none where MOVX reaches program memory), both
    // zero-filled and bound to the chip (CChip::BindMemory) before this returns. False, with
    // nothing changed, when the memory cannot be had.
    virtual bool ResizeCodeAndData(uint32_t codeSize, uint32_t dataSize) = 0;

protected:
    ~IChipHost() = default;
};

}  // namespace ostrel
