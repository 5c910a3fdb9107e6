// The six interfaces between a debugger host and a debugger plug-in: factory, target and the
// four host objects a target reports to.
//
// These classes are a binary contract with a 32-bit host built by the platform's usual
// compiler, which calls them through their tables of virtual operations. Hence:
// - the order of the virtual operations below is the slot order and never changes;
// - slot 0 is an explicit Destroy(flags) (a virtual destructor would take two slots here);
// - no operation name is overloaded (overloads could be laid out differently by that compiler);
// - members use thiscall on 32-bit Windows, which SIM_CALL spells out;
// - scalars are 32-bit, one-byte flags are uint8_t, texts are zero-terminated 8-bit strings
//   owned by the side that returns them (the receiver copies them before its next call).
// No exception crosses these interfaces: failures are SimStatus codes, false flags, null
// pointers or messages to the host's sink.
#pragma once

#include <cstdint>

#include "simtarget/sim_status.h"

#if defined(_WIN32) && !defined(_WIN64)
#define SIM_CALL __thiscall
#else
#define SIM_CALL
#endif

// The port-settings record of the comms library; the host passes a 56-byte block whose first
// 28 bytes are one.
struct comm_settings;

// Size of the host's serial-settings block handed to ISimTarget::SetCommSettings.
constexpr uint32_t kSimSerialSettingsSize = 56;

class ISimTarget;
class ISimMessageSink;
class ISimDebugInfo;
class ISimSerialTerminal;
class ISimPortObserver;

// One peripheral status item of a target (GetPeripheralItemText, EditPeripheralItem).
struct SimPeripheralItem {
    int32_t kind;  // 1 on/off flag, 2 choice from a list, 3 number
    char name[32];
    char valueText[32];
    int32_t value;
};

// Destroy(flags): bit 0 set frees the object after destroying it; the result is the object.
constexpr uint32_t kSimDestroyFree = 1;

// The object that a plug-in's GetSimFactoryInterface returns.
class ISimFactory {
public:
    /* 0 */ virtual void* SIM_CALL Destroy(uint32_t flags) = 0;
    /* 1 */ virtual uint32_t SIM_CALL GetTargetTypeForChip(const char* chipId) = 0;
    /* 2 */ virtual uint32_t SIM_CALL GetTargetType() = 0;
    /* 3 */ virtual uint8_t SIM_CALL Reserved3() = 0;
    /* 4 */ virtual const char* SIM_CALL GetFamilyName() = 0;
    /* 5 */ virtual const char* SIM_CALL GetManufacturers() = 0;
    /* 6 */ virtual const char* SIM_CALL GetChips(const char* manufacturer) = 0;
    /* 7 */ virtual const char* SIM_CALL GetDefaultChip() = 0;
    /* 8 */ virtual int32_t SIM_CALL QueryFlag8() { return 0; }
    /* 9 */ virtual int32_t SIM_CALL QueryFlag9() { return 0; }
    /* 10 */ virtual int32_t SIM_CALL QueryFlag10() { return 0; }
    // Installs the three host objects in the new target before returning it; null for a chip
    // the plug-in does not know. `flag` has no effect on any target of this system.
    /* 11 */ virtual ISimTarget* SIM_CALL CreateTarget(ISimMessageSink* sink,
                                                       ISimDebugInfo* debugInfo,
                                                       ISimSerialTerminal* terminal,
                                                       const char* chipId, const char* options,
                                                       uint8_t flag) = 0;

protected:
    ISimFactory() = default;
    ~ISimFactory() = default;
    ISimFactory(const ISimFactory&) = default;
    ISimFactory& operator=(const ISimFactory&) = default;
};

// A debug target: one simulated chip or one board. Operations that need a loaded program
// answer SIM_NOT_LOADED until one is loaded.
class ISimTarget {
public:
    /* 0 */ virtual void* SIM_CALL Destroy(uint32_t flags) = 0;
    /* 1 */ virtual void SIM_CALL SetPortObserver(ISimPortObserver*) {}
    /* 2 */ virtual int32_t SIM_CALL GetRegisterCount() = 0;
    /* 3 */ virtual const char* SIM_CALL GetRegisterName(int32_t index) = 0;
    /* 4 */ virtual uint32_t SIM_CALL GetRegister(const char* name) = 0;
    /* 5 */ virtual void SIM_CALL SetRegister(const char* name, uint32_t value) = 0;
    /* 6 */ virtual int32_t SIM_CALL GetSimulateTimers() { return 0; }
    /* 7 */ virtual int32_t SIM_CALL GetSimulateInterrupts() { return 0; }
    /* 8 */ virtual int32_t SIM_CALL GetSimulateSerial() { return 0; }
    /* 9 */ virtual int32_t SIM_CALL GetHardwarePortMode() { return 0; }
    /* 10 */ virtual void SIM_CALL SetSimulateTimers(int32_t) {}
    /* 11 */ virtual void SIM_CALL SetSimulateInterrupts(int32_t) {}
    /* 12 */ virtual void SIM_CALL SetSimulateSerial(int32_t) {}
    /* 13 */ virtual void SIM_CALL SetHardwarePortMode(int32_t) {}
    /* 14 */ virtual void SIM_CALL Reserved14(int32_t) {}
    /* 15 */ virtual int32_t SIM_CALL GetPeripheralItemCount() { return 0; }
    /* 16 */ virtual void SIM_CALL GetPeripheralItemText(int32_t, SimPeripheralItem*) {}
    /* 17 */ virtual void SIM_CALL EditPeripheralItem(int32_t, SimPeripheralItem*) {}
    /* 18 */ virtual int32_t SIM_CALL HasCapability(int32_t) { return 0; }
    // `settings` points to the host's 56-byte block (kSimSerialSettingsSize).
    /* 19 */ virtual SimStatus SIM_CALL SetCommSettings(const comm_settings*) { return SIM_OK; }
    /* 20 */ virtual const comm_settings* SIM_CALL GetCommSettings() { return nullptr; }
    /* 21 */ virtual SimStatus SIM_CALL LoadProgram(const char* path) = 0;
    /* 22 */ virtual SimStatus SIM_CALL PutSerialInput(int32_t channel, const uint8_t* bytes,
                                                       uint32_t count) = 0;
    /* 23 */ virtual int32_t SIM_CALL GetMaxBreakpoints() = 0;
    // Breakpoint indices are 1-based.
    /* 24 */ virtual SimStatus SIM_CALL AddBreakpoint(uint32_t address, int32_t* index) = 0;
    /* 25 */ virtual SimStatus SIM_CALL EnableBreakpoint(int32_t index) = 0;
    /* 26 */ virtual SimStatus SIM_CALL DisableBreakpoint(int32_t index) = 0;
    /* 27 */ virtual SimStatus SIM_CALL RemoveBreakpoint(int32_t index) = 0;
    /* 28 */ virtual SimStatus SIM_CALL DisableAllBreakpoints() = 0;
    /* 29 */ virtual SimStatus SIM_CALL RemoveAllBreakpoints() = 0;
    /* 30 */ virtual SimStatus SIM_CALL GetBreakpoint(int32_t index, uint32_t* address,
                                                      uint8_t* enabled) = 0;
    /* 31 */ virtual int32_t SIM_CALL GetMemorySpaceCount() = 0;
    // True (non-zero) when `space` is valid; then its name and size are stored.
    /* 32 */ virtual uint8_t SIM_CALL GetMemorySpaceInfo(int32_t space, const char** name,
                                                         uint32_t* size) = 0;
    /* 33 */ virtual SimStatus SIM_CALL ReadMemory(uint32_t address, uint8_t* buffer,
                                                   uint32_t count, uint32_t* countRead,
                                                   int32_t space) = 0;
    /* 34 */ virtual SimStatus SIM_CALL WriteMemory(uint32_t address, const uint8_t* bytes,
                                                    uint32_t count, uint32_t* countWritten,
                                                    int32_t space) = 0;
    /* 35 */ virtual SimStatus SIM_CALL GetRegisterDumpText(char* buffer, int32_t length,
                                                            int32_t word) = 0;
    /* 36 */ virtual SimStatus SIM_CALL GetPC(uint32_t* pc) = 0;
    /* 37 */ virtual SimStatus SIM_CALL GetSP(uint32_t* sp) = 0;
    // `frame` receives the stack pointer of the top call frame, 0xFFFFFFFF when there is none.
    /* 38 */ virtual SimStatus SIM_CALL GetPCAndFrame(uint32_t* pc, uint32_t* frame) = 0;
    /* 39 */ virtual int32_t SIM_CALL Reserved39() { return 0; }
    /* 40 */ virtual SimStatus SIM_CALL GetCallStackText(char* buffer, int32_t length) = 0;
    /* 41 */ virtual SimStatus SIM_CALL IsReturnAt(uint32_t address, uint8_t* result) = 0;
    /* 42 */ virtual SimStatus SIM_CALL IsCallAt(uint32_t address, uint8_t* result) = 0;
    /* 43 */ virtual SimStatus SIM_CALL GetNextInstructionAddress(uint32_t address,
                                                                  uint32_t* next) = 0;
    /* 44 */ virtual SimStatus SIM_CALL Reset() = 0;
    /* 45 */ virtual SimStatus SIM_CALL Stop() = 0;
    /* 46 */ virtual SimStatus SIM_CALL RequestBreak() = 0;
    /* 47 */ virtual SimStatus SIM_CALL StepInstruction() = 0;
    // Runs until the PC equals `stopAddress` or, when `rangeEnd` is not 0xFFFFFFFF, lies in
    // stopAddress+1 to rangeEnd (or a status, a break request or a breakpoint ends the run).
    /* 48 */ virtual SimStatus SIM_CALL StepUntil(uint32_t stopAddress, uint32_t rangeEnd,
                                                  uint8_t stopInKnownCalls, uint8_t stepRelative,
                                                  uint8_t stepUnconditional) = 0;
    // `count` -1 runs without bound.
    /* 49 */ virtual SimStatus SIM_CALL RunSteps(int32_t count) = 0;
    /* 50 */ virtual SimStatus SIM_CALL StepOver(uint8_t whole) = 0;
    /* 51 */ virtual SimStatus SIM_CALL StepOut(uint8_t) { return SIM_OK; }

protected:
    ISimTarget() = default;
    ~ISimTarget() = default;
    ISimTarget(const ISimTarget&) = default;
    ISimTarget& operator=(const ISimTarget&) = default;
};

// Host object: takes the target's message texts. Level 0 is ordinary output, level 1 an
// error or notice; some targets use further levels.
class ISimMessageSink {
public:
    /* 0 */ virtual void SIM_CALL Output(int32_t level, const char* text) = 0;
    // Called once, when the target that holds the object is destroyed.
    /* 1 */ virtual void SIM_CALL Release() = 0;

protected:
    ISimMessageSink() = default;
    ~ISimMessageSink() = default;
    ISimMessageSink(const ISimMessageSink&) = default;
    ISimMessageSink& operator=(const ISimMessageSink&) = default;
};

// Host object: the host's debug information about the loaded program.
class ISimDebugInfo {
public:
    // Names `address` (reached from `from`) and sets *found when it is a known symbol. `low`
    // and `high` arrive preset by the caller and may come back as an address range (both not
    // 0xFFFFFFFF) for the call stack's cut-back push.
    /* 0 */ virtual const char* SIM_CALL ResolveAddress(uint32_t address, uint32_t from,
                                                        uint8_t* found, uint32_t* low,
                                                        uint32_t* high) = 0;
    /* 1 */ virtual uint8_t SIM_CALL IsKnownAddress(uint32_t address) = 0;
    /* 2 */ virtual void SIM_CALL Release() = 0;

protected:
    ISimDebugInfo() = default;
    ~ISimDebugInfo() = default;
    ISimDebugInfo(const ISimDebugInfo&) = default;
    ISimDebugInfo& operator=(const ISimDebugInfo&) = default;
};

// Host object: receives the bytes that the target's serial port sends.
class ISimSerialTerminal {
public:
    /* 0 */ virtual void SIM_CALL Transmit(int32_t channel, const uint8_t* bytes,
                                           uint32_t count) = 0;
    /* 1 */ virtual void SIM_CALL Release() = 0;

protected:
    ISimSerialTerminal() = default;
    ~ISimSerialTerminal() = default;
    ISimSerialTerminal(const ISimSerialTerminal&) = default;
    ISimSerialTerminal& operator=(const ISimSerialTerminal&) = default;
};

// Host object: receives port values after simulated instructions. Targets call only slots 3
// and 4; the first three slots belong to the host.
class ISimPortObserver {
public:
    /* 0 */ virtual void SIM_CALL Reserved0() {}
    /* 1 */ virtual void SIM_CALL Reserved1() {}
    /* 2 */ virtual void SIM_CALL Reserved2() {}
    // `names` "Port0" to "Port3", their values, `count` 4.
    /* 3 */ virtual void SIM_CALL UpdateValues(const char* const* names, const uint32_t* values,
                                               int32_t count) = 0;
    // Non-zero while the observer wants port values.
    /* 4 */ virtual int32_t SIM_CALL IsActive() = 0;

protected:
    ISimPortObserver() = default;
    ~ISimPortObserver() = default;
    ISimPortObserver(const ISimPortObserver&) = default;
    ISimPortObserver& operator=(const ISimPortObserver&) = default;
};
