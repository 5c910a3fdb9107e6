// The target base's breakpoint table: 1-based at the interface, grown 20 entries at a time.
#include <new>

#include "simtarget/target_base.h"

bool CTargetBase::Grow() {
    int32_t capacity = m_capacity + kGrowthStep;
    std::unique_ptr<uint32_t[]> addresses(new (std::nothrow) uint32_t[capacity]);
    std::unique_ptr<uint8_t[]> enabled(new (std::nothrow) uint8_t[capacity]);
    if (addresses == nullptr || enabled == nullptr) {
        return false;
    }
    for (int32_t i = 0; i < capacity; ++i) {
        addresses[i] = i < m_capacity ? m_addresses[i] : 0xFFFFFFFFu;
        enabled[i] = i < m_capacity ? m_enabled[i] : 0;
    }
    m_addresses = std::move(addresses);
    m_enabled = std::move(enabled);
    m_capacity = capacity;
    return true;
}

SimStatus CTargetBase::AddBreakpoint(uint32_t address, int32_t* index) {
    // Out of memory, the table cannot take the breakpoint: refused like any other.
    if (m_count == m_capacity && !Grow()) {
        return SIM_BAD_INDEX;
    }
    for (int32_t i = 0; i < m_count; ++i) {
        if (m_addresses[i] == address) {
            return SIM_DUPLICATE_BREAKPOINT;
        }
    }
    if (!ValidateBreakpoint(m_count + 1, address)) {
        return SIM_BAD_INDEX;
    }
    m_addresses[m_count] = address;
    m_enabled[m_count] = 1;
    ++m_count;
    if (index != nullptr) {
        *index = m_count;
    }
    return SIM_OK;
}

SimStatus CTargetBase::CheckIndex(int32_t index) const {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (index < 1 || index > m_count) {
        return SIM_BAD_INDEX;
    }
    return SIM_OK;
}

SimStatus CTargetBase::EnableBreakpoint(int32_t index) {
    SimStatus status = CheckIndex(index);
    if (status != SIM_OK) {
        return status;
    }
    if (!ValidateBreakpoint(index, m_addresses[index - 1])) {
        return SIM_BAD_INDEX;
    }
    m_enabled[index - 1] = 1;
    return SIM_OK;
}

SimStatus CTargetBase::DisableBreakpoint(int32_t index) {
    SimStatus status = CheckIndex(index);
    if (status != SIM_OK) {
        return status;
    }
    BreakpointRemoved(index);
    m_enabled[index - 1] = 0;
    return SIM_OK;
}

SimStatus CTargetBase::RemoveBreakpoint(int32_t index) {
    SimStatus status = CheckIndex(index);
    if (status != SIM_OK) {
        return status;
    }
    BreakpointRemoved(index);
    for (int32_t i = index - 1; i < m_count - 1; ++i) {
        m_addresses[i] = m_addresses[i + 1];
        m_enabled[i] = m_enabled[i + 1];
    }
    --m_count;
    m_addresses[m_count] = 0xFFFFFFFFu;
    m_enabled[m_count] = 0;
    return SIM_OK;
}

SimStatus CTargetBase::DisableAllBreakpoints() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    for (int32_t i = 0; i < m_count; ++i) {
        m_enabled[i] = 0;
    }
    return SIM_OK;
}

SimStatus CTargetBase::RemoveAllBreakpoints() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    m_addresses.reset();
    m_enabled.reset();
    m_capacity = 0;
    m_count = 0;
    return SIM_OK;
}

SimStatus CTargetBase::GetBreakpoint(int32_t index, uint32_t* address, uint8_t* enabled) {
    SimStatus status = CheckIndex(index);
    if (status != SIM_OK) {
        return status;
    }
    if (address != nullptr) {
        *address = m_addresses[index - 1];
    }
    if (enabled != nullptr) {
        *enabled = m_enabled[index - 1];
    }
    return SIM_OK;
}

int32_t CTargetBase::FindEnabledBreakpoint(uint32_t address) const {
    if (address == 0xFFFFFFFFu) {
        return 0;
    }
    for (int32_t i = 0; i < m_count; ++i) {
        if (m_enabled[i] != 0 && m_addresses[i] == address) {
            return i + 1;
        }
    }
    return 0;
}

bool CTargetBase::IsBreakpointAt(uint32_t address) const {
    return FindEnabledBreakpoint(address) != 0;
}
