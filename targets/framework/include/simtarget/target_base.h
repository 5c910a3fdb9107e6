// CTargetBase: what the simulator and board-debugger targets share: loaded and break-request
// flags, the breakpoint table, forwarding to the host objects and the run loops.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "simtarget/call_stack.h"
#include "simtarget/host_objects.h"
#include "simtarget/memory_segment.h"
#include "simtarget/sim_interfaces.h"

// What the run loops ask of the target. A table of its own, so that the slots of the target's own
// virtual operations follow the framework's last slot (StopDebugging) directly.
class IRunLoopTarget {
public:
    // One instruction: 0 or a failure status.
    virtual SimStatus ExecuteInstruction() = 0;
    // Shows the port values to the host once at the start of a run (nothing by default).
    virtual void ReportPorts() {}
    // An unconditional transfer (jumps and returns) / an instruction with a relative operand.
    virtual bool IsUnconditionalTransferAt(uint32_t address) = 0;
    virtual bool IsRelativeBranchAt(uint32_t address) = 0;
    // Called by RequestBreak after it raised the break request.
    virtual void OnBreakRequested() {}

protected:
    IRunLoopTarget() = default;
    ~IRunLoopTarget() = default;
    IRunLoopTarget(const IRunLoopTarget&) = default;
    IRunLoopTarget& operator=(const IRunLoopTarget&) = default;
};

// A target derives this class and supplies the pure operations: its chip's reset
// (StartDebugging), its stop (StopDebugging), the run loops' operations of IRunLoopTarget, and
// Destroy, besides the ISimTarget slots that are its own (program loading, memory, registers, PC
// queries). The run loops then come from here; a target that runs differently (a board that
// steps remotely, or a simulator with a faster loop of its own) overrides the loop slots it
// needs.
//
// The framework's operations follow the 52 ISimTarget slots in a fixed order (slots 52 to 64),
// and the base adds nothing after them: a target's own virtual operations begin at slot 65. So
// the base has no virtual destructor; the first class of a target family that has one destroys
// the target in its Destroy.
class CTargetBase : public ISimTarget, public ISegmentOwner, public IRunLoopTarget {
public:
    CTargetBase();
    CTargetBase(const CTargetBase&) = delete;
    CTargetBase& operator=(const CTargetBase&) = delete;

    // --- ISimTarget slots with the framework's bodies ---
    int32_t SIM_CALL GetRegisterCount() override { return 0; }
    const char* SIM_CALL GetRegisterName(int32_t) override { return ""; }
    uint32_t SIM_CALL GetRegister(const char*) override { return 0; }
    void SIM_CALL SetRegister(const char*, uint32_t) override {}
    int32_t SIM_CALL GetMaxBreakpoints() override;
    SimStatus SIM_CALL AddBreakpoint(uint32_t address, int32_t* index) override;
    SimStatus SIM_CALL EnableBreakpoint(int32_t index) override;
    SimStatus SIM_CALL DisableBreakpoint(int32_t index) override;
    SimStatus SIM_CALL RemoveBreakpoint(int32_t index) override;
    SimStatus SIM_CALL DisableAllBreakpoints() override;
    SimStatus SIM_CALL RemoveAllBreakpoints() override;
    SimStatus SIM_CALL GetBreakpoint(int32_t index, uint32_t* address, uint8_t* enabled) override;
    SimStatus SIM_CALL Reset() override;
    SimStatus SIM_CALL Stop() override;
    SimStatus SIM_CALL RequestBreak() override;
    SimStatus SIM_CALL StepInstruction() override;
    SimStatus SIM_CALL StepUntil(uint32_t stopAddress, uint32_t rangeEnd, uint8_t stopInKnownCalls,
                                 uint8_t stepRelative, uint8_t stepUnconditional) override;
    SimStatus SIM_CALL RunSteps(int32_t count) override;
    SimStatus SIM_CALL StepOver(uint8_t whole) override;
    SimStatus SIM_CALL StepOut(uint8_t whole) override;

    // --- framework operations ---
    // SetRegister under another name, for the target's own register writes.
    virtual void PutRegister(const char* name, uint32_t value);
    virtual void SetDebugInfo(ISimDebugInfo* debugInfo);
    // The host's name for `address`; an empty text (and *found 0) without debug information.
    virtual const char* ResolveAddress(uint32_t address, uint32_t from, uint8_t* found);
    // As above, passing the caller's preset range words through to the host.
    virtual const char* ResolveAddress(uint32_t address, uint32_t from, uint8_t* found,
                                       uint32_t* low, uint32_t* high);
    // True without debug information.
    virtual bool IsKnownAddress(uint32_t address);
    virtual void SetMessageSink(ISimMessageSink* sink);
    // To the host's sink when one is installed.
    void OutputMessage(int32_t level, const char* text) override;
    virtual void SetSerialTerminal(ISimSerialTerminal* terminal);
    // To the host's serial terminal when one is installed.
    virtual void SerialOutput(int32_t channel, const uint8_t* bytes, uint32_t count);
    // Asked before a breakpoint is added or enabled (1-based index); false refuses it.
    virtual bool ValidateBreakpoint(int32_t index, uint32_t address);
    // Told when a breakpoint is disabled or removed (1-based index).
    virtual bool BreakpointRemoved(int32_t index);
    // The target's reset of the chip (Reset: StopDebugging, then StartDebugging).
    virtual SimStatus StartDebugging() = 0;
    virtual SimStatus StopDebugging() = 0;

    // True when an enabled breakpoint holds `address`; 0xFFFFFFFF never matches.
    bool IsBreakpointAt(uint32_t address) const;
    // 1-based index of the enabled breakpoint at `address`, 0 when there is none.
    int32_t FindEnabledBreakpoint(uint32_t address) const;

    // Adds the frame of a transfer to `address` from `from` with the current SP to `stack`
    // (nothing when there is no stack yet). A transfer that is not a call and lands on a symbol
    // the host knows adds no frame. With `withCutBack` the frame goes through CCallStack::Push
    // (for targets that see transfers but not returns), else it is appended.
    void PushCallFrame(CCallStack* stack, uint32_t address, uint32_t from, uint8_t kind,
                       bool withCutBack);

    // Breakpoint table, for targets that arm breakpoints themselves: entries 0 to count-1.
    int32_t GetBreakpointCount() const { return m_count; }
    int32_t GetBreakpointCapacity() const { return m_capacity; }
    uint32_t GetBreakpointAddress(int32_t entry) const { return m_addresses[entry]; }
    bool IsBreakpointEnabled(int32_t entry) const { return m_enabled[entry] != 0; }

    bool IsLoaded() const { return m_loaded != 0; }
    bool IsBreakRequested() const { return m_breakRequest.load() != 0; }

protected:
    // Releases the host objects still installed. Not virtual: see above.
    ~CTargetBase();

    void SetLoaded(bool loaded) { m_loaded = loaded ? 1 : 0; }
    // The break request may be raised from another thread while a run loop polls it.
    void RaiseBreakRequest() { m_breakRequest.store(1); }
    void ClearBreakRequest() { m_breakRequest.store(0); }

    ISimMessageSink* GetMessageSink() const { return m_host.MessageSink(); }
    ISimDebugInfo* GetDebugInfo() const { return m_host.DebugInfo(); }
    ISimSerialTerminal* GetSerialTerminal() const { return m_host.SerialTerminal(); }

private:
    static constexpr int32_t kGrowthStep = 20;

    SimStatus CheckIndex(int32_t index) const;
    bool Grow();
    // PC after a step, and the call/return class of an address, as the run loops need them.
    SimStatus ReadPC(uint32_t* pc);
    SimStatus AskCall(uint32_t address, bool* isCall);
    SimStatus AskReturn(uint32_t address, bool* isReturn);
    // Runs until the PC stands on a call (*atCall true) or a failure, a break request or a
    // breakpoint ends the run first (*atCall false; the result is the run's status).
    SimStatus RunToCall(bool* atCall);
    // Executes one instruction, then runs on, counting calls and returns, until the PC stands
    // on the return that leaves the routine the run started in (*atReturn true; the return is
    // not executed), or a failure or a break request ends the run first (*atReturn false).
    SimStatus RunToRoutineReturn(bool* atReturn);

    uint8_t m_loaded = 0;
    std::atomic<uint8_t> m_breakRequest{0};
    CHostObjects m_host;
    int32_t m_capacity = 0;
    int32_t m_count = 0;
    std::unique_ptr<uint32_t[]> m_addresses;
    std::unique_ptr<uint8_t[]> m_enabled;
};
