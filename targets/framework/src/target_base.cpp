// The target base: flags, host objects, forwarding, the control operations and call frames.
#include "simtarget/target_base.h"

#include <climits>

CTargetBase::CTargetBase() = default;

CTargetBase::~CTargetBase() {
    // The host keeps its objects alive until the target lets them go, once each.
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

int32_t CTargetBase::GetMaxBreakpoints() { return INT_MAX; }

SimStatus CTargetBase::Reset() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    StopDebugging();
    StartDebugging();
    return SIM_OK;
}

SimStatus CTargetBase::Stop() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    StopDebugging();
    return SIM_OK;
}

SimStatus CTargetBase::RequestBreak() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    RaiseBreakRequest();
    OnBreakRequested();
    return SIM_OK;
}

SimStatus CTargetBase::StepInstruction() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    return ExecuteInstruction();
}

void CTargetBase::PutRegister(const char* name, uint32_t value) { SetRegister(name, value); }

void CTargetBase::SetDebugInfo(ISimDebugInfo* debugInfo) { m_debugInfo = debugInfo; }

const char* CTargetBase::ResolveAddress(uint32_t address, uint32_t from, uint8_t* found) {
    uint32_t low = kNoCaller;
    uint32_t high = kNoCaller;
    return ResolveAddress(address, from, found, &low, &high);
}

const char* CTargetBase::ResolveAddress(uint32_t address, uint32_t from, uint8_t* found,
                                        uint32_t* low, uint32_t* high) {
    if (found != nullptr) {
        *found = 0;
    }
    if (m_debugInfo == nullptr) {
        return "";
    }
    const char* name = m_debugInfo->ResolveAddress(address, from, found, low, high);
    return name != nullptr ? name : "";
}

bool CTargetBase::IsKnownAddress(uint32_t address) {
    if (m_debugInfo == nullptr) {
        return true;
    }
    return m_debugInfo->IsKnownAddress(address) != 0;
}

void CTargetBase::SetMessageSink(ISimMessageSink* sink) { m_messageSink = sink; }

void CTargetBase::OutputMessage(int32_t level, const char* text) {
    if (m_messageSink != nullptr) {
        m_messageSink->Output(level, text != nullptr ? text : "");
    }
}

void CTargetBase::SetSerialTerminal(ISimSerialTerminal* terminal) { m_serialTerminal = terminal; }

void CTargetBase::SerialOutput(int32_t channel, const uint8_t* bytes, uint32_t count) {
    if (m_serialTerminal != nullptr) {
        m_serialTerminal->Transmit(channel, bytes, count);
    }
}

bool CTargetBase::ValidateBreakpoint(int32_t, uint32_t) { return true; }

bool CTargetBase::BreakpointRemoved(int32_t) { return true; }

void CTargetBase::PushCallFrame(CCallStack* stack, uint32_t address, uint32_t from, uint8_t kind,
                                bool withCutBack) {
    if (stack == nullptr) {
        return;
    }
    uint8_t found = 0;
    uint32_t low = address;
    uint32_t high = from;
    ResolveAddress(address, from, &found, &low, &high);
    bool isCall = kind == kFrameLcall || (kind & 0x1F) == kFrameAcall;
    if (found != 0 && !isCall) {
        return;  // a jump to a routine the host knows by name is not a new frame
    }
    uint32_t sp = 0;
    GetSP(&sp);
    if (withCutBack) {
        stack->Push(address, from, sp, kind, low, high);
    } else {
        stack->Append(CallStackFrame{address, from, sp, kind});
    }
}
