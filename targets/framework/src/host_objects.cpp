// The host objects a target holds: their release and the forwarding to them.
#include "simtarget/host_objects.h"

CHostObjects::~CHostObjects() {
    if (m_debugInfo != nullptr) {
        m_debugInfo->Release();
        m_debugInfo = nullptr;
    }
    if (m_messageSink != nullptr) {
        m_messageSink->Release();
        m_messageSink = nullptr;
    }
    if (m_serialTerminal != nullptr) {
        m_serialTerminal->Release();
        m_serialTerminal = nullptr;
    }
}

const char* CHostObjects::ResolveAddress(uint32_t address, uint32_t from, uint8_t* found,
                                         uint32_t* low, uint32_t* high) const {
    if (found != nullptr) {
        *found = 0;
    }
    if (m_debugInfo == nullptr) {
        return "";
    }
    const char* name = m_debugInfo->ResolveAddress(address, from, found, low, high);
    return name != nullptr ? name : "";
}

bool CHostObjects::IsKnownAddress(uint32_t address) const {
    return m_debugInfo == nullptr || m_debugInfo->IsKnownAddress(address) != 0;
}

void CHostObjects::OutputMessage(int32_t level, const char* text) const {
    if (m_messageSink != nullptr) {
        m_messageSink->Output(level, text != nullptr ? text : "");
    }
}

void CHostObjects::SerialOutput(int32_t channel, const uint8_t* bytes, uint32_t count) const {
    if (m_serialTerminal != nullptr) {
        m_serialTerminal->Transmit(channel, bytes, count);
    }
}
