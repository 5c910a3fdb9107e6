// The target base: flags, host objects, forwarding, the control operations and call frames.
#include "simtarget/target_base.h"

#include <climits>

CTargetBase::CTargetBase() = default;

// The host objects are let go by m_host.
CTargetBase::~CTargetBase() = default;

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

void CTargetBase::SetDebugInfo(ISimDebugInfo* debugInfo) { m_host.SetDebugInfo(debugInfo); }

const char* CTargetBase::ResolveAddress(uint32_t address, uint32_t from, uint8_t* found) {
    uint32_t low = kNoCaller;
    uint32_t high = kNoCaller;
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
