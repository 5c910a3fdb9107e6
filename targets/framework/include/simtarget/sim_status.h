// Result codes of every debugger target operation that can fail.
#pragma once

#include <cstdint>

// 0 is success; the failures share one range. A 32-bit integer at the host interface. Codes of
// lower layers (a port that cannot be opened) may be passed on unchanged where a target says so.
enum SimStatus : int32_t {
    SIM_OK = 0,
    SIM_NOT_SUPPORTED = 1101,           // not possible for this target or memory space
    SIM_LOAD_FAILED = 1102,             // the program file could not be loaded
    SIM_OUT_OF_RANGE = 1103,            // address outside a memory space or PC outside program
    SIM_NOT_LOADED = 1104,              // no program loaded yet
    SIM_UNKNOWN_OPCODE = 1105,          // the instruction at the PC is not an 8051 instruction
    SIM_BAD_INDEX = 1106,               // breakpoint index outside the table, or refused
    SIM_EXECUTION_STOPPED = 1108,       // execution ended before completion
    SIM_DUPLICATE_BREAKPOINT = 1109,    // a breakpoint already exists at that address
    SIM_BAD_SPACE = 1111,               // memory-space index not valid
    SIM_BAD_LENGTH = 1112,              // more than one byte written to space 0
    SIM_STACK_FAULT = 1113,             // the simulated stack left internal RAM
    SIM_EXTERNAL_ADDRESS_FAULT = 1114,  // external data address outside the external data space
};
