// CHostObjects: the three objects the host installs in a target (its debug information, message
// sink and serial terminal), held until the target lets them go, and what a target asks of them.
// A target base keeps one and forwards its framework operations to it.
#pragma once

#include <cstdint>

#include "simtarget/sim_interfaces.h"

class CHostObjects {
public:
    CHostObjects() = default;
    // The host keeps its objects alive until the target lets them go: releases each installed
    // one once.
    ~CHostObjects();
    CHostObjects(const CHostObjects&) = delete;
    CHostObjects& operator=(const CHostObjects&) = delete;

    void SetDebugInfo(ISimDebugInfo* debugInfo) { m_debugInfo = debugInfo; }
    void SetMessageSink(ISimMessageSink* sink) { m_messageSink = sink; }
    void SetSerialTerminal(ISimSerialTerminal* terminal) { m_serialTerminal = terminal; }
    ISimDebugInfo* DebugInfo() const { return m_debugInfo; }
    ISimMessageSink* MessageSink() const { return m_messageSink; }
    ISimSerialTerminal* SerialTerminal() const { return m_serialTerminal; }

    // The host's name for `address`, the caller's range words passed through; an empty text
    // (and *found 0) without debug information.
    const char* ResolveAddress(uint32_t address, uint32_t from, uint8_t* found, uint32_t* low,
                               uint32_t* high) const;
    // True without debug information.
    bool IsKnownAddress(uint32_t address) const;
    // To the message sink when one is installed (a null text as an empty one).
    void OutputMessage(int32_t level, const char* text) const;
    // To the serial terminal when one is installed.
    void SerialOutput(int32_t channel, const uint8_t* bytes, uint32_t count) const;

private:
    ISimMessageSink* m_messageSink = nullptr;
    ISimDebugInfo* m_debugInfo = nullptr;
    ISimSerialTerminal* m_serialTerminal = nullptr;
};
