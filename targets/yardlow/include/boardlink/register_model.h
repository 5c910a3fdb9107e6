// The board debuggers' registers by name: the 47 names the host sees, their values read from
// and set into a CpuState, and the register window text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "boardlink/cpu_state.h"

class CMemorySegment;

// Indices of the register table, in the host's order.
enum RegisterIndex : int {
    kRegAcc = 0,
    kRegB = 1,
    kRegSp = 2,
    kRegDptr = 3,
    kRegPc = 4,
    kRegPsw = 5,
    kRegIe = 6,
    kRegIp = 7,
    kRegR0 = 8,      // R0 to R7 of the current bank: 8 to 15
    kRegPort0 = 16,  // Port0 to Port3: 16 to 19
    kRegPcon = 20,
    kRegSbuf = 21,
    kRegScon = 22,
    kRegTcon = 23,
    kRegTmod = 24,
    kRegT0 = 25,
    kRegT1 = 26,
    kRegRam08 = 27,  // "0x08" to "0x16": internal RAM 0x08 to 0x16, 27 to 41
    kRegAtSp = 42,
    kRegAtDptr = 43,
    kRegPswFlags = 44,
    kRegAtR0 = 45,
    kRegAtR1 = 46,
    kRegisterCount = 47,
};

// The name of table entry `index`; an empty text outside 0 to 46.
const char* RegisterName(int index);
// The entry of `name`, compared exactly (case matters); -1 for a name not in the table.
int FindRegister(const char* name);

// The memory a register name reaches beyond the model's arrays: internal RAM for "SP->", "R0->",
// "R1->" and "0x08" to "0x16", and the space "DPTR->" points into (external data in the kernel
// debugger; internal RAM in the monitor debugger). Reads and writes go through the segments, so
// an address outside one gives the segment's message (none from an empty segment).
struct RegisterSpaces {
    CMemorySegment* internalRam = nullptr;
    CMemorySegment* atDptr = nullptr;
};

// The register's value (8-bit ones zero-extended).
uint32_t ReadRegister(const CpuState& state, const RegisterSpaces& spaces, int index);
// Changes the model only (the value cut to 8 bits except PC, DPTR, T0 and T1): ACC with its
// parity, the SFRs, DPTR, PC, the working registers of the current bank, T0 and T1, internal RAM
// through the pointer names and "0x08" to "0x16", the byte "DPTR->" points at. IE, IP and any
// index outside the table change nothing.
void SetModelRegister(CpuState& state, const RegisterSpaces& spaces, int index, uint32_t value);

// The kernel debugger's register window: registers with the bytes SP, DPTR, R0 and R1 point at,
// the PSW's flags, then internal RAM 0x08 to 0x16. Cut at `length` - 1 characters and always
// terminated (nothing written for a null buffer or a length of 0); when the register block does
// not fit, the RAM lines are left out.
void WriteRegisterDumpText(const CpuState& state, const RegisterSpaces& spaces, char* buffer,
                           size_t length);
