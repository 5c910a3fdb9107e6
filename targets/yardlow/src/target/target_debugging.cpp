// Debugging on the board: starting and stopping, the register model to and from the kernel's
// register block, the full step and the fast execution modes.
#include "kernel_target.h"
#include "ostrel/sfr.h"
#include "simtarget/opcode_facts.h"
#include "w32/clock.h"

namespace yardlow {

namespace {

namespace sfr = ostrel::sfr;

constexpr DWORD kMsPerByte = 100;
constexpr int kWaitingPolls = 100;
// How long a stop waits for the run's exchange in progress to end. The longest exchange is a read
// of 255 bytes (the most one count byte asks for) at 100 ms per byte: 25.5 s when the board goes
// silent at its start. An aborted run ends its exchange in progress and gives up at the first
// byte that does not come, so a run the board holds up ends within that. A run still going
// after it waits for something other than the board.
constexpr DWORD kExecutingWaitMs = 26000;
// P3.0 and P3.1 are the serial line's RXD and TXD: written high, so that the kernel keeps its
// line. The other ports' low bits are the user's pins like any other.
constexpr BYTE kSerialPins = 0x03;

}  // namespace

int CKernelTarget::OpenPort() {
    if (m_comms.IsInitialized()) {
        return 0;
    }
    return m_comms.Initialize();
}

void CKernelTarget::PrepareExchange() {
    m_comms.SetTimeOut(kMsPerByte);
    m_link.SetPortHandle(m_comms.GetHandle());
}

SimStatus CKernelTarget::StartDebugging() {
    m_model->Reset();
    m_model->m_pc = static_cast<uint16_t>(m_programStart);
    m_callStack->Clear();
    PushCallFrame(m_callStack.get(), m_programStart, kNoCaller, kFrameRestart, false);
    m_link.Context().SetPc(m_model->m_pc);
    const int opened = OpenPort();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    PrepareExchange();
    m_link.EnterRunMode();
    m_held = false;
    // Nothing the user does from here on may see or run a planted byte.
    return RestoreLeftoverSlots() ? SIM_OK : SIM_EXECUTION_STOPPED;
}

SimStatus CKernelTarget::StopDebugging() {
    RaiseBreakRequest();
    OnBreakRequested();
    m_link.Abort();
    if (m_link.IsWaiting()) {
        m_link.Message(1, "Stop Debugger1.Please wait...");
        for (int i = 0; i < kWaitingPolls && m_link.IsWaiting(); ++i) {
            w32::Sleep(1);
        }
    }
    if (m_executing.load() != 0) {
        m_link.Message(1, "Stop Debugger2.Please wait...");
        // The exchange in progress ends by itself (the abort ends a report wait, every read has
        // its time-out): the board and the model are not touched before it has. A run that has
        // not ended in time is held by its host (one that serves the run's terminal or messages
        // on the thread that called Stop would wait for this stop for ever): the stop leaves
        // board and model to it, and the next Stop or Reset holds the board.
        const DWORD start = w32::GetTickCount();
        while (m_executing.load() != 0 && w32::GetTickCount() - start < kExecutingWaitMs) {
            w32::Sleep(1);
        }
        if (m_executing.load() != 0) {
            return SIM_EXECUTION_STOPPED;
        }
    }
    m_callStack->Clear();
    m_internalRam->Fill(0);
    m_externalData->Fill(0);
    m_model->m_pc = CpuState::kStoppedPc;
    const int opened = OpenPort();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    PrepareExchange();
    m_link.EnterProgramMode();
    m_held = true;
    return SIM_OK;
}

SimStatus SIM_CALL CKernelTarget::Reset() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    if (StopDebugging() == SIM_EXECUTION_STOPPED) {
        return SIM_EXECUTION_STOPPED;
    }
    return StartDebugging() == SIM_EXECUTION_STOPPED ? SIM_EXECUTION_STOPPED : SIM_OK;
}

SimStatus SIM_CALL CKernelTarget::Stop() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    return StopDebugging() == SIM_EXECUTION_STOPPED ? SIM_EXECUTION_STOPPED : SIM_OK;
}

bool CKernelTarget::RestoreLeftoverSlots() {
    if (!m_link.HasUsedSlots()) {
        return true;
    }
    if (OpenPort() != 0) {
        return false;
    }
    PrepareExchange();
    Executing executing(*this);
    // A held board's kernel takes no command: it runs for the restore and is held again after.
    const bool held = m_held;
    if (held) {
        m_link.EnterRunMode();
    }
    const bool restored = m_link.RemoveBreakpoints();
    if (held) {
        m_link.EnterProgramMode();
    }
    return restored;
}

void CKernelTarget::PutContext() {
    KernelContext& c = m_link.Context();
    const CpuState& m = *m_model;
    for (int i = 0; i < 32; ++i) {
        c.ram[i] = m.m_internalRam[i];
    }
    c.acc = m.Sfr(sfr::ACC);
    c.b = m.Sfr(sfr::B);
    c.sp = m.Sfr(sfr::SP);
    c.dph = m.Sfr(sfr::DPH);
    c.dpl = m.Sfr(sfr::DPL);
    c.psw = m.Sfr(sfr::PSW);
    c.ie = m.Sfr(sfr::IE);
    c.SetPc(m.m_pc);
    m_link.WriteSfr(KSFR_IP, m.Sfr(sfr::IP));
    m_link.WriteSfr(KSFR_P0, m.Sfr(sfr::P0));
    m_link.WriteSfr(KSFR_P1, m.Sfr(sfr::P1));
    m_link.WriteSfr(KSFR_P2, m.Sfr(sfr::P2));
    m_link.WriteSfr(KSFR_P3, m.Sfr(sfr::P3) | kSerialPins);
    m_link.WriteSfr(KSFR_TL0, m.Sfr(sfr::TL0));
    m_link.WriteSfr(KSFR_TH0, m.Sfr(sfr::TH0));
}

bool CKernelTarget::GetContext() {
    const KernelContext& c = m_link.Context();
    CpuState& m = *m_model;
    for (int i = 0; i < 32; ++i) {
        m.m_internalRam[i] = c.ram[i];
    }
    m.SetSfr(sfr::ACC, c.acc);
    m.SetSfr(sfr::B, c.b);
    m.SetSfr(sfr::SP, c.sp);
    m.SetSfr(sfr::DPH, c.dph);
    m.SetSfr(sfr::DPL, c.dpl);
    m.SetSfr(sfr::PSW, c.psw);
    m.SetSfr(sfr::IE, c.ie);
    m.m_pc = c.Pc();
    static const struct {
        BYTE code;
        uint8_t address;
    } kBoardSfrs[] = {{KSFR_IP, sfr::IP},     {KSFR_P0, sfr::P0},     {KSFR_P1, sfr::P1},
                      {KSFR_P2, sfr::P2},     {KSFR_P3, sfr::P3},     {KSFR_SCON, sfr::SCON},
                      {KSFR_PCON, sfr::PCON}, {KSFR_TCON, sfr::TCON}, {KSFR_TMOD, sfr::TMOD},
                      {KSFR_TL0, sfr::TL0},   {KSFR_TH0, sfr::TH0},   {KSFR_TL1, sfr::TL1},
                      {KSFR_TH1, sfr::TH1}};
    // The first exchange that fails ends the copy: the board is not answering.
    for (const auto& entry : kBoardSfrs) {
        BYTE value = 0;
        if (!m_link.ReadSfr(entry.code, &value)) {
            return false;
        }
        m.SetSfr(entry.address, value);
    }
    return m_link.ReadIram(0x100 - 0x20, 0x20, m.m_internalRam + 0x20);
}

void CKernelTarget::GetShortContext() {
    const KernelContext& c = m_link.Context();
    m_model->m_pc = c.Pc();
    m_model->SetSfr(sfr::SP, c.sp);
    m_model->SetSfr(sfr::IE, c.ie);
}

void CKernelTarget::KernelAreaLines() {
    m_link.Message(1, "WARNING: Invalid program counter, PC= %04X", m_model->m_pc);
    m_link.Message(1, "Program counter should not be inside the kernel debugger memory area");
}

SimStatus CKernelTarget::BoardDoesNotReply() {
    m_link.Message(1, "!!! E R R O R !!! Can not execute instruction. Board does not reply.");
    return SIM_EXECUTION_STOPPED;
}

SimStatus CKernelTarget::StepOnBoard() {
    if (ContextPcInKernel()) {
        KernelAreaLines();
        return SIM_EXECUTION_STOPPED;
    }
    if (IsBreakRequested()) {
        return SIM_OK;
    }
    const int opened = OpenPort();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    PrepareExchange();
    if (!RestoreLeftoverSlots()) {
        return BoardDoesNotReply();
    }
    PutContext();
    const uint32_t address = m_model->m_pc;
    m_lastOpcode = ProgramByte(address);
    Executing executing(*this);
    if (!m_link.Step() || !GetContext()) {
        return BoardDoesNotReply();
    }
    UpdateCallStack(address, m_lastOpcode);
    return SIM_OK;
}

SimStatus CKernelTarget::KernelExecute(int32_t mode) {
    // A break stops execution; the registers are still read back, so that the model holds what
    // the kernel holds before anything sends it again.
    if (IsBreakRequested() && mode != kReadContext) {
        return SIM_OK;
    }
    const int opened = OpenPort();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    PrepareExchange();
    const bool steps = mode == kFastStep || mode == kFastStepFromPc;
    if (steps && !RestoreLeftoverSlots()) {
        return BoardDoesNotReply();
    }
    Executing executing(*this);
    if (steps) {
        const uint32_t address = m_model->m_pc;
        m_lastOpcode = ProgramByte(address);
        if (ContextPcInKernel()) {
            KernelAreaLines();
            return SIM_EXECUTION_STOPPED;
        }
        if (mode == kFastStep) {
            PutContext();
        } else {
            m_link.Context().SetPc(m_model->m_pc);
        }
        if (!(mode == kFastStep ? m_link.FastStep() : m_link.StepFromPc())) {
            return BoardDoesNotReply();
        }
        GetShortContext();
        UpdateCallStack(address, m_lastOpcode);
        return SIM_OK;
    }
    if (mode == kReadContext && m_link.ReadContext() && GetContext()) {
        return SIM_OK;
    }
    return BoardDoesNotReply();
}

}  // namespace yardlow
