// Loading through the monitor, starting and stopping, the register model to and from the link,
// single steps, runs to the monitor's breakpoints, stepping until an address and over calls.
#include <cstdio>

#include "monitor_target.h"
#include "ostrel/sfr.h"
#include "hexfile/hex_reader.h"
#include "simtarget/opcode_facts.h"

namespace pelmor {

namespace {

namespace sfr = ostrel::sfr;

constexpr uint32_t kProgramSize = 0x10000;
constexpr uint32_t kSmallSpace = 0x100;
constexpr uint32_t kNoRangeEnd = 0xFFFFFFFFu;
constexpr SimStatus kStoppedDebugging = static_cast<SimStatus>(1);

}  // namespace

int32_t CMonitorTarget::StoreLoaded(void* context, uint32_t address, uint32_t count,
                                    const uint8_t* bytes) {
    CMonitorTarget& target = *static_cast<CMonitorTarget*>(context);
    if (!target.m_program->WriteLoaded(address, count, bytes)) {
        return kHexOutOfRange;
    }
    if (!target.m_startSeen) {
        target.m_startSeen = true;
        target.m_programStart = address;
    }
    return kHexOk;
}

void CMonitorTarget::HexMessage(void* context, int32_t level, const char* text) {
    static_cast<CMonitorTarget*>(context)->OutputMessage(level, text);
}

SimStatus SIM_CALL CMonitorTarget::LoadProgram(const char* path) {
    // Whatever was loaded before is replaced: a load that fails leaves nothing to debug.
    SetLoaded(false);
    m_program = CProgramMemory::Create(kProgramSize, this);
    m_startSeen = false;
    m_programStart = 0;
    if (m_program == nullptr ||
        ReadHexFile(this, path, kHexFormatIntel, StoreLoaded, HexMessage) != kHexOk) {
        char line[1024];
        std::snprintf(line, sizeof line, "Cannot load '%s' into memory",
                      path != nullptr ? path : "");
        OutputMessage(1, line);
        return SIM_LOAD_FAILED;
    }
    m_sfrSpace = CMemorySegment::Create(kSmallSpace, this);
    m_internalRam = CMemorySegment::Create(kSmallSpace, this);
    m_externalData = CMemorySegment::Create(0, this);
    if (m_sfrSpace == nullptr || m_internalRam == nullptr || m_externalData == nullptr) {
        return SIM_LOAD_FAILED;
    }
    m_model = std::make_unique<CpuState>(m_internalRam->PointerAt(0), m_sfrSpace->PointerAt(0));
    const int downloaded = m_link.DownloadFile(m_comms, path);
    if (downloaded != 0) {
        // The board does not hold the program: nothing can be debugged on it.
        char line[128];
        std::snprintf(line, sizeof line, "Cannot download program into the board, Error:%d",
                      downloaded);
        OutputMessage(1, line);
        return SIM_LOAD_FAILED;
    }
    SetLoaded(true);
    return SIM_OK;
}

int CMonitorTarget::PrepareExchange() {
    if (!m_comms.IsInitialized()) {
        const int opened = m_comms.Initialize();
        if (opened != 0) {
            return opened;
        }
    }
    m_link.SetPortHandle(m_comms.GetHandle());
    return 0;
}

void CMonitorTarget::CopyModelToLink() {
    MonitorContext& c = m_link.Context();
    const CpuState& m = *m_model;
    for (uint32_t i = 0; i < sizeof c.internalRam; ++i) {
        c.internalRam[i] = m.m_internalRam[i];
    }
    c.acc = m.Sfr(sfr::ACC);
    c.b = m.Sfr(sfr::B);
    c.sp = m.Sfr(sfr::SP);
    c.dph = m.Sfr(sfr::DPH);
    c.dpl = m.Sfr(sfr::DPL);
    c.psw = m.Sfr(sfr::PSW);
    c.SetPc(m.m_pc);
}

void CMonitorTarget::CopyLinkToModel() {
    const MonitorContext& c = m_link.Context();
    CpuState& m = *m_model;
    for (uint32_t i = 0; i < sizeof c.internalRam; ++i) {
        m.m_internalRam[i] = c.internalRam[i];
    }
    m.SetAcc(c.acc);
    m.SetSfr(sfr::B, c.b);
    m.SetSfr(sfr::SP, c.sp);
    m.SetSfr(sfr::DPH, c.dph);
    m.SetSfr(sfr::DPL, c.dpl);
    m.SetSfr(sfr::PSW, c.psw);
    m.m_pc = c.Pc();
}

SimStatus CMonitorTarget::StartDebugging() {
    m_model->Reset();
    m_model->m_pc = static_cast<uint16_t>(m_programStart);
    CopyModelToLink();
    const int opened = PrepareExchange();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    if (!m_link.Reset()) {
        return SIM_EXECUTION_STOPPED;
    }
    // The board's reset cleared the monitor's breakpoints; the enabled ones stop runs again.
    for (int32_t i = 0; i < kBreakpointEntries; ++i) {
        if (EntryEnabled(i) && !m_link.SetBreakpoint(i + 1, EntryAddress(i))) {
            return SIM_EXECUTION_STOPPED;
        }
    }
    return SIM_OK;
}

SimStatus CMonitorTarget::StopDebugging() {
    m_internalRam->Fill(0);
    m_externalData->Fill(0);
    m_model->m_pc = CpuState::kStoppedPc;
    const int opened = PrepareExchange();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    return kStoppedDebugging;
}

bool CMonitorTarget::ValidateBreakpoint(int32_t index, uint32_t address) {
    return PrepareExchange() == 0 && m_link.SetBreakpoint(index, address);
}

bool CMonitorTarget::BreakpointRemoved(int32_t index) {
    return PrepareExchange() == 0 && m_link.ClearBreakpoint(index);
}

SimStatus CMonitorTarget::MonitorStep() {
    const int opened = PrepareExchange();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    const bool stepped = m_link.Step();
    CopyLinkToModel();
    return stepped ? SIM_OK : SIM_EXECUTION_STOPPED;
}

SimStatus SIM_CALL CMonitorTarget::StepInstruction() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    return MonitorStep();
}

SimStatus SIM_CALL CMonitorTarget::RunSteps(int32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    if (count == -1) {
        const int opened = PrepareExchange();
        if (opened != 0) {
            return static_cast<SimStatus>(opened);
        }
        const bool ran = m_link.Go();
        CopyLinkToModel();
        return ran ? SIM_OK : SIM_EXECUTION_STOPPED;
    }
    int32_t made = 0;
    do {
        const SimStatus status = MonitorStep();
        if (status != SIM_OK) {
            return status;
        }
        ++made;
    } while (made < count && !IsBreakpointAt(m_model->m_pc));
    return SIM_OK;
}

SimStatus SIM_CALL CMonitorTarget::StepUntil(uint32_t stopAddress, uint32_t rangeEnd,
                                             uint8_t stopInKnownCalls, uint8_t stepRelative,
                                             uint8_t stepUnconditional) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    const int opened = PrepareExchange();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    const uint8_t first = ProgramByte(m_model->m_pc);
    if ((stepUnconditional != 0 && opcodes::IsUnconditionalTransfer(first)) ||
        (stepRelative != 0 && opcodes::IsRelativeBranch(first))) {
        if (MonitorStep() != SIM_OK) {
            return SIM_EXECUTION_STOPPED;
        }
    }
    for (;;) {
        const bool wasCall = AtCall();
        if (MonitorStep() != SIM_OK) {
            return SIM_EXECUTION_STOPPED;
        }
        const uint32_t pc = m_model->m_pc;
        if (IsBreakRequested() || IsBreakpointAt(pc) ||
            (stopInKnownCalls != 0 && wasCall && IsKnownAddress(pc)) || pc == stopAddress ||
            (rangeEnd != kNoRangeEnd && stopAddress < pc && pc <= rangeEnd)) {
            return SIM_OK;
        }
    }
}

SimStatus SIM_CALL CMonitorTarget::StepOver(uint8_t whole) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    SimStatus status = SIM_OK;
    // One step; *ended when the run is over (a failure, a break, a breakpoint reached).
    const auto step = [this, &status](bool* ended) {
        status = MonitorStep();
        if (status == SIM_OK && IsBreakRequested()) {
            status = SIM_EXECUTION_STOPPED;
        }
        *ended = status != SIM_OK || IsBreakpointAt(m_model->m_pc);
    };
    bool ended = false;
    if (whole != 0) {
        if (!AtCall()) {
            return MonitorStep();
        }
    } else {
        while (!AtCall()) {
            step(&ended);
            if (ended) {
                return status;
            }
        }
    }
    // Into the call and on, counting calls and returns, to the return that matches it.
    for (int depth = 1; depth > 0;) {
        step(&ended);
        if (ended) {
            return status;
        }
        depth += AtCall() ? 1 : AtReturn() ? -1 : 0;
    }
    if (whole != 0) {
        step(&ended);
        return status;
    }
    while (!AtCall()) {
        step(&ended);
        if (ended) {
            return status;
        }
    }
    return SIM_OK;
}

}  // namespace pelmor
