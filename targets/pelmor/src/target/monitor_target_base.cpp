// The ROM-monitor target's base: host objects, the four-entry breakpoint table, reset and stop.
#include "monitor_target_base.h"

namespace pelmor {

CTargetBase::CTargetBase() {
    for (uint32_t& address : m_addresses) {
        address = kFreeEntry;
    }
}

// The host objects are let go by m_host.
CTargetBase::~CTargetBase() = default;

SimStatus CTargetBase::CheckIndex(int32_t index) const {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (index < 1 || index > m_tableSize) {
        return SIM_BAD_INDEX;
    }
    return SIM_OK;
}

SimStatus SIM_CALL CTargetBase::AddBreakpoint(uint32_t address, int32_t* index) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    for (int32_t i = 0; i < m_tableSize; ++i) {
        if (address != kFreeEntry && m_addresses[i] == address) {
            return SIM_DUPLICATE_BREAKPOINT;
        }
    }
    for (int32_t i = 0; i < m_tableSize; ++i) {
        if (m_addresses[i] != kFreeEntry) {
            continue;
        }
        if (!ValidateBreakpoint(i + 1, address)) {
            return SIM_BAD_INDEX;
        }
        m_addresses[i] = address;
        m_enabled[i] = 1;
        if (index != nullptr) {
            *index = i + 1;
        }
        return SIM_OK;
    }
    return SIM_BAD_INDEX;
}

SimStatus SIM_CALL CTargetBase::EnableBreakpoint(int32_t index) {
    const SimStatus checked = CheckIndex(index);
    if (checked != SIM_OK) {
        return checked;
    }
    if (m_addresses[index - 1] == kFreeEntry ||
        !ValidateBreakpoint(index, m_addresses[index - 1])) {
        return SIM_BAD_INDEX;
    }
    m_enabled[index - 1] = 1;
    return SIM_OK;
}

SimStatus SIM_CALL CTargetBase::DisableBreakpoint(int32_t index) {
    const SimStatus checked = CheckIndex(index);
    if (checked != SIM_OK) {
        return checked;
    }
    BreakpointRemoved(index);
    m_enabled[index - 1] = 0;
    return SIM_OK;
}

SimStatus SIM_CALL CTargetBase::RemoveBreakpoint(int32_t index) {
    const SimStatus checked = CheckIndex(index);
    if (checked != SIM_OK) {
        return checked;
    }
    BreakpointRemoved(index);
    m_addresses[index - 1] = kFreeEntry;
    m_enabled[index - 1] = 0;
    return SIM_OK;
}

SimStatus CTargetBase::ClearAll(bool free) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    // A breakpoint left set in the monitor would still stop runs; an address left in the table
    // after a removal could not be added again.
    for (int32_t i = 0; i < m_tableSize; ++i) {
        BreakpointRemoved(i + 1);
        if (free) {
            m_addresses[i] = kFreeEntry;
        }
        m_enabled[i] = 0;
    }
    return SIM_OK;
}

SimStatus SIM_CALL CTargetBase::DisableAllBreakpoints() { return ClearAll(false); }

SimStatus SIM_CALL CTargetBase::RemoveAllBreakpoints() { return ClearAll(true); }

SimStatus SIM_CALL CTargetBase::GetBreakpoint(int32_t index, uint32_t* address, uint8_t* enabled) {
    const SimStatus checked = CheckIndex(index);
    if (checked != SIM_OK) {
        return checked;
    }
    if (address != nullptr) {
        *address = m_addresses[index - 1];
    }
    if (enabled != nullptr) {
        *enabled = m_enabled[index - 1];
    }
    return SIM_OK;
}

bool CTargetBase::IsBreakpointAt(uint32_t address) const {
    if (address == kFreeEntry) {
        return false;
    }
    for (int32_t i = 0; i < m_tableSize; ++i) {
        if (m_enabled[i] != 0 && m_addresses[i] == address) {
            return true;
        }
    }
    return false;
}

SimStatus SIM_CALL CTargetBase::Reset() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    StopDebugging();
    return StartDebugging();
}

SimStatus SIM_CALL CTargetBase::Stop() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    StopDebugging();
    return SIM_OK;
}

SimStatus SIM_CALL CTargetBase::RequestBreak() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    m_breakFlag.store(1);
    return SIM_OK;
}

void CTargetBase::SetDebugInfo(ISimDebugInfo* debugInfo) { m_host.SetDebugInfo(debugInfo); }

const char* CTargetBase::ResolveAddress(uint32_t address, uint32_t from, uint8_t* found) {
    uint32_t low = 0xFFFFFFFFu;
    uint32_t high = 0xFFFFFFFFu;
    return ResolveAddress(address, from, found, &low, &high);
}

const char* CTargetBase::ResolveAddress(uint32_t address, uint32_t from, uint8_t* found,
                                        uint32_t* low, uint32_t* high) {
    return m_host.ResolveAddress(address, from, found, low, high);
}

bool CTargetBase::IsKnownAddress(uint32_t address) { return m_host.IsKnownAddress(address); }

void CTargetBase::SetMessageSink(ISimMessageSink* sink) { m_host.SetMessageSink(sink); }

void CTargetBase::OutputMessage(int32_t level, const char* text) {
    m_host.OutputMessage(level, text);
}

void CTargetBase::SetSerialTerminal(ISimSerialTerminal* terminal) {
    m_host.SetSerialTerminal(terminal);
}

void CTargetBase::SerialOutput(int32_t channel, const uint8_t* bytes, uint32_t count) {
    m_host.SerialOutput(channel, bytes, count);
}

bool CTargetBase::ValidateBreakpoint(int32_t, uint32_t) { return true; }

bool CTargetBase::BreakpointRemoved(int32_t) { return true; }

}  // namespace pelmor
