// pelmor::CTargetBase: the ROM-monitor target's own base: loaded and break flags, the host
// objects, and a fixed table of four breakpoints, each also a breakpoint of the monitor.
#pragma once

#include <atomic>
#include <cstdint>

#include "simtarget/host_objects.h"
#include "simtarget/memory_segment.h"
#include "simtarget/sim_interfaces.h"

namespace pelmor {

// Entries of the breakpoint table; an address of kFreeEntry marks an entry as free.
constexpr int32_t kBreakpointEntries = 4;
constexpr uint32_t kFreeEntry = 0xFFFFFFFFu;

// The framework operations follow the 52 target slots in this order; the target's own come after
// StopDebugging. The base has no virtual destructor (see Destroy in the target).
class CTargetBase : public ISimTarget, public ISegmentOwner {
public:
    CTargetBase();
    CTargetBase(const CTargetBase&) = delete;
    CTargetBase& operator=(const CTargetBase&) = delete;

    // --- ISimTarget: the breakpoint table and the control operations ---
    int32_t SIM_CALL GetMaxBreakpoints() override { return kBreakpointEntries; }
    SimStatus SIM_CALL AddBreakpoint(uint32_t address, int32_t* index) override;
    SimStatus SIM_CALL EnableBreakpoint(int32_t index) override;
    SimStatus SIM_CALL DisableBreakpoint(int32_t index) override;
    SimStatus SIM_CALL RemoveBreakpoint(int32_t index) override;
    SimStatus SIM_CALL DisableAllBreakpoints() override;
    SimStatus SIM_CALL RemoveAllBreakpoints() override;
    SimStatus SIM_CALL GetBreakpoint(int32_t index, uint32_t* address, uint8_t* enabled) override;
    // StopDebugging, then StartDebugging, whose failure is the result.
    SimStatus SIM_CALL Reset() override;
    SimStatus SIM_CALL Stop() override;
    SimStatus SIM_CALL RequestBreak() override;

    // --- framework operations ---
    virtual void SetDebugInfo(ISimDebugInfo* debugInfo);
    virtual const char* ResolveAddress(uint32_t address, uint32_t from, uint8_t* found);
    virtual const char* ResolveAddress(uint32_t address, uint32_t from, uint8_t* found,
                                       uint32_t* low, uint32_t* high);
    // True without debug information.
    virtual bool IsKnownAddress(uint32_t address);
    virtual void SetMessageSink(ISimMessageSink* sink);
    void OutputMessage(int32_t level, const char* text) override;
    virtual void SetSerialTerminal(ISimSerialTerminal* terminal);
    virtual void SerialOutput(int32_t channel, const uint8_t* bytes, uint32_t count);
    // Asked before a breakpoint is added or enabled (1-based index); false refuses it.
    virtual bool ValidateBreakpoint(int32_t index, uint32_t address);
    // Told when a breakpoint is disabled or removed (1-based index).
    virtual bool BreakpointRemoved(int32_t index);
    virtual SimStatus StartDebugging() = 0;
    virtual SimStatus StopDebugging() = 0;

    // An enabled entry holds `address` (kFreeEntry never matches).
    bool IsBreakpointAt(uint32_t address) const;
    uint32_t EntryAddress(int32_t entry) const { return m_addresses[entry]; }
    bool EntryEnabled(int32_t entry) const { return m_enabled[entry] != 0; }
    bool IsLoaded() const { return m_loaded != 0; }
    bool IsBreakRequested() const { return m_breakFlag.load() != 0; }
    // For whatever polls the flag inside a run (the link, while the board runs the program).
    const std::atomic<uint8_t>& BreakFlag() const { return m_breakFlag; }

protected:
    // Releases the host objects still installed.
    ~CTargetBase();

    void SetLoaded(bool loaded) { m_loaded = loaded ? 1 : 0; }
    void ClearBreakRequest() { m_breakFlag.store(0); }

private:
    // SIM_NOT_LOADED, SIM_BAD_INDEX for an index outside 1 to 4, else 0.
    SimStatus CheckIndex(int32_t index) const;
    // Disables every entry (and with `free` frees it) and clears every monitor breakpoint.
    SimStatus ClearAll(bool free);

    uint8_t m_loaded = 0;
    // Raised from another thread while a run polls it.
    std::atomic<uint8_t> m_breakFlag{0};
    CHostObjects m_host;
    int32_t m_tableSize = kBreakpointEntries;
    uint32_t m_addresses[kBreakpointEntries];
    uint8_t m_enabled[kBreakpointEntries] = {};
};

}  // namespace pelmor
