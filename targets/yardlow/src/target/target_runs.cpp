// Runs on the board: single steps, runs to breakpoints (planted by the kernel, or fast single
// steps when there are more than it holds), stepping until an address, over a call and out of a
// routine.
#include "kernel_target.h"
#include "simtarget/opcode_facts.h"

namespace yardlow {

namespace {

constexpr uint32_t kNoRangeEnd = 0xFFFFFFFFu;
constexpr uint32_t kBreakpointBytes = 3;

}  // namespace

int32_t CKernelTarget::EnabledBreakpointEntry(uint32_t address) const {
    for (int32_t i = 0; i < GetBreakpointCount(); ++i) {
        if (IsBreakpointEnabled(i) && GetBreakpointAddress(i) == address) {
            return i;
        }
    }
    return -1;
}

bool CKernelTarget::CoveredByBreakpoint(uint32_t address) const {
    for (int32_t i = 0; i < GetBreakpointCount(); ++i) {
        if (IsBreakpointEnabled(i) && address - GetBreakpointAddress(i) < kBreakpointBytes) {
            return true;
        }
    }
    return false;
}

SimStatus CKernelTarget::FastStep(bool* first) {
    const SimStatus status = KernelExecute(*first ? kFastStep : kFastStepFromPc);
    *first = false;
    return status;
}

SimStatus SIM_CALL CKernelTarget::StepInstruction() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    m_link.Message(1, "Single Step Executing(PC = %04X).Please wait...", m_model->m_pc);
    return StepOnBoard();
}

SimStatus SIM_CALL CKernelTarget::RunSteps(int32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    if (count == -1 && GetBreakpointCount() <= kKernelSlots) {
        return PrepareBreakpoints();
    }
    if (count == -1) {
        // More breakpoints than the kernel's slots: every instruction is a fast step.
        m_link.Message(1, "Fast Single Step Executing(PC = %04X).Please wait...", m_model->m_pc);
        bool first = true;
        for (;;) {
            const SimStatus status = FastStep(&first);
            if (status != SIM_OK) {
                return status;
            }
            if (IsBreakRequested()) {
                m_link.Message(1, "Break Single Step Executing");
                break;
            }
            if (AtBreakpoint()) {
                break;
            }
        }
        return KernelExecute(kReadContext);
    }
    SimStatus status = SIM_OK;
    for (int32_t i = 0; i < count; ++i) {
        m_link.Message(1, "Single Step Executing.Please wait...");
        status = StepOnBoard();
        if (status != SIM_OK || IsBreakRequested() || AtBreakpoint()) {
            break;
        }
    }
    return status;
}

SimStatus CKernelTarget::PrepareBreakpoints() {
    // Two breakpoints closer than an LCALL's three bytes would write over each other.
    bool overlap = false;
    for (int32_t i = 0; i < GetBreakpointCount(); ++i) {
        for (int32_t j = i + 1; j < GetBreakpointCount(); ++j) {
            if (!IsBreakpointEnabled(i) || !IsBreakpointEnabled(j)) {
                continue;
            }
            const bool iLower = GetBreakpointAddress(i) <= GetBreakpointAddress(j);
            const int32_t low = iLower ? i : j;
            const int32_t high = iLower ? j : i;
            const uint32_t distance = GetBreakpointAddress(high) - GetBreakpointAddress(low);
            if (distance > 0 && distance < kBreakpointBytes) {
                m_link.Message(1,
                               "WARNING: breakpoint #%d (PC = %04X) overlapes breakpoint #%d "
                               "(PC = %04X)",
                               low, GetBreakpointAddress(low), high, GetBreakpointAddress(high));
                overlap = true;
            }
        }
    }
    if (overlap) {
        m_link.Message(1, "WARNING: one breakpoint takes 3 bytes of program memory");
        m_link.Message(1, " ");
        return SIM_OK;
    }

    // The instruction under a breakpoint runs before the breakpoints go in.
    while (CoveredByBreakpoint(m_model->m_pc)) {
        m_link.Message(1, "Single Step Executing(PC = %04X).Please wait...", m_model->m_pc);
        if (IsBreakRequested()) {
            m_link.Message(1, "Break Single Step Executing");
            return SIM_OK;
        }
        const SimStatus status = StepOnBoard();
        // Landing on a breakpoint (the one stepped off included, as a loop on itself does) ends
        // the run there.
        if (status != SIM_OK || AtBreakpoint()) {
            return status;
        }
    }

    if (!RestoreLeftoverSlots()) {
        return BoardDoesNotReply();
    }
    bool any = false;
    for (int32_t i = 0; i < GetBreakpointCount(); ++i) {
        if (!IsBreakpointEnabled(i)) {
            continue;
        }
        if (!m_link.SetSlot(i, GetBreakpointAddress(i))) {
            for (int32_t j = 0; j < i; ++j) {
                m_link.ClearSlot(j);
            }
            return SIM_BAD_INDEX;
        }
        any = true;
    }
    if (!any) {
        m_link.Message(1, "WARNING: program will start without breakpoints");
    }
    return Go();
}

SimStatus CKernelTarget::Go() {
    const int opened = OpenPort();
    if (opened != 0) {
        return static_cast<SimStatus>(opened);
    }
    PrepareExchange();
    PutContext();
    if (m_link.GetBoardKind() == BOARD_KIND_S53_PIC) {
        m_link.Message(1,
                       "********* AT89S53 RESTRICTION *********\nHardware ports will contain the "
                       "reset values (0FFH)\nwhen user program will be interrupted by "
                       "breakpoint\nUSE T89C51RD2 TO AVOID THIS PROBLEM\n");
    }
    m_link.Message(1, "BreakPoint Executing(PC = %04X).Please wait...", m_model->m_pc);
    Executing executing(*this);
    const bool went = m_link.Go();
    const bool read = GetContext();
    const bool restored = m_link.RemoveBreakpoints();
    return went && read && restored ? SIM_OK : SIM_EXECUTION_STOPPED;
}

SimStatus SIM_CALL CKernelTarget::StepUntil(uint32_t stopAddress, uint32_t rangeEnd,
                                            uint8_t stopInKnownCalls, uint8_t stepRelative,
                                            uint8_t stepUnconditional) {
    ClearBreakRequest();
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    m_link.Message(1, "!Fast Single Step Executing(PC = %04X).Please wait...", m_model->m_pc);
    const uint8_t opcode = ProgramByte(m_model->m_pc);
    if ((stepUnconditional != 0 && opcodes::IsUnconditionalTransfer(opcode)) ||
        (stepRelative != 0 && opcodes::IsRelativeBranch(opcode))) {
        return StepOnBoard();
    }
    bool first = true;
    for (;;) {
        const SimStatus status = FastStep(&first);
        if (status != SIM_OK) {
            return status;
        }
        const uint32_t pc = m_model->m_pc;
        const bool knownCall =
            stopInKnownCalls != 0 && opcodes::IsCall(m_lastOpcode) && IsKnownAddress(pc);
        const bool inRange = rangeEnd != kNoRangeEnd && stopAddress < pc && pc <= rangeEnd;
        if (IsBreakRequested() || AtBreakpoint() || knownCall || pc == stopAddress || inRange) {
            break;
        }
    }
    return KernelExecute(kReadContext);
}

SimStatus SIM_CALL CKernelTarget::StepOver(uint8_t whole) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    m_link.Message(1, "Fast Single Step Executing(PC = %04X).Please wait...", m_model->m_pc);
    const auto broken = [this] {
        m_link.Message(1, "Break Step Over");
        return SIM_EXECUTION_STOPPED;
    };
    bool first = true;
    SimStatus status = SIM_OK;
    if (whole != 0) {
        if (!AtCall()) {
            return StepOnBoard();
        }
    } else {
        while (!AtCall()) {
            if ((status = FastStep(&first)) != SIM_OK) {
                return status;
            }
            if (IsBreakRequested()) {
                return broken();
            }
            if (AtBreakpoint()) {
                return KernelExecute(kReadContext);
            }
        }
    }
    // Into the call and on, counting calls and returns, to the return that matches it.
    for (int depth = 1; depth > 0;) {
        if ((status = FastStep(&first)) != SIM_OK) {
            return status;
        }
        if (IsBreakRequested()) {
            return broken();
        }
        depth += AtCall() ? 1 : AtReturn() ? -1 : 0;
    }
    if ((status = KernelExecute(kReadContext)) != SIM_OK) {
        return status;
    }
    if (whole != 0) {
        status = StepOnBoard();
        return IsBreakRequested() ? SIM_EXECUTION_STOPPED : status;
    }
    if (AtCall()) {
        return SIM_OK;
    }
    first = true;
    for (;;) {
        if ((status = FastStep(&first)) != SIM_OK) {
            return status;
        }
        if (IsBreakRequested()) {
            return broken();
        }
        if (AtCall() || AtBreakpoint()) {
            return KernelExecute(kReadContext);
        }
    }
}

SimStatus SIM_CALL CKernelTarget::StepOut(uint8_t whole) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    m_link.Message(1, "Fast Single Step Executing(PC = %04X).Please wait...", m_model->m_pc);
    const auto broken = [this] {
        m_link.Message(1, "Break Step Out");
        return SIM_EXECUTION_STOPPED;
    };
    int32_t noted = -1;
    if (whole != 0) {
        if (AtReturn()) {
            return StepOnBoard();
        }
    } else {
        noted = EnabledBreakpointEntry(m_model->m_pc);
    }
    bool first = true;
    SimStatus status = SIM_OK;
    // On, counting calls and returns, to the return that leaves the routine.
    for (int depth = 0; depth >= 0;) {
        if ((status = FastStep(&first)) != SIM_OK) {
            return status;
        }
        if (IsBreakRequested()) {
            return broken();
        }
        depth += AtCall() ? 1 : AtReturn() ? -1 : 0;
    }
    if ((status = KernelExecute(kReadContext)) != SIM_OK) {
        return status;
    }
    if (whole != 0) {
        return StepOnBoard();
    }
    if (AtCall()) {
        return SIM_OK;
    }
    first = true;
    for (;;) {
        if ((status = FastStep(&first)) != SIM_OK) {
            return status;
        }
        if (IsBreakRequested()) {
            return broken();
        }
        const int32_t entry = EnabledBreakpointEntry(m_model->m_pc);
        if (AtCall() || (entry >= 0 && entry != noted)) {
            return KernelExecute(kReadContext);
        }
    }
}

}  // namespace yardlow
