// The run loops of the target base: RunSteps, StepUntil, StepOver and StepOut over the
// target's ExecuteInstruction. Every loop stops when the host raises the break request, so no
// run is beyond the host's reach.
#include "simtarget/target_base.h"

SimStatus CTargetBase::ReadPC(uint32_t* pc) { return GetPC(pc); }

SimStatus CTargetBase::AskCall(uint32_t address, bool* isCall) {
    uint8_t result = 0;
    SimStatus status = IsCallAt(address, &result);
    *isCall = status == SIM_OK && result != 0;
    return status;
}

SimStatus CTargetBase::AskReturn(uint32_t address, bool* isReturn) {
    uint8_t result = 0;
    SimStatus status = IsReturnAt(address, &result);
    *isReturn = status == SIM_OK && result != 0;
    return status;
}

SimStatus CTargetBase::RunSteps(int32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    if (count == -1) {
        ReportPorts();
    }
    // A count of 0 or below -1 has no last instruction: such a run ends like an unbounded one.
    bool bounded = count > 0;
    int32_t executed = 0;
    for (;;) {
        SimStatus status = ExecuteInstruction();
        if (status != SIM_OK) {
            return status;
        }
        if (bounded && ++executed == count) {
            return SIM_OK;
        }
        if (IsBreakRequested()) {
            return SIM_OK;
        }
        uint32_t pc = 0;
        status = ReadPC(&pc);
        if (status != SIM_OK || IsBreakpointAt(pc)) {
            return status;
        }
    }
}

SimStatus CTargetBase::StepUntil(uint32_t stopAddress, uint32_t rangeEnd, uint8_t stopInKnownCalls,
                                 uint8_t stepRelative, uint8_t stepUnconditional) {
    ClearBreakRequest();
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ReportPorts();
    uint32_t pc = 0;
    SimStatus status = ReadPC(&pc);
    if (status != SIM_OK) {
        return status;
    }
    if (stepUnconditional != 0 && IsUnconditionalTransferAt(pc)) {
        return ExecuteInstruction();
    }
    if (stepRelative != 0 && IsRelativeBranchAt(pc)) {
        return ExecuteInstruction();
    }
    for (;;) {
        // The instruction about to run is a call exactly when the opcode at the PC is one.
        bool wasCall = false;
        if (stopInKnownCalls != 0) {
            status = AskCall(pc, &wasCall);
            if (status != SIM_OK) {
                return status;
            }
        }
        status = ExecuteInstruction();
        if (status != SIM_OK) {
            return status;
        }
        status = ReadPC(&pc);
        if (status != SIM_OK) {
            return status;
        }
        if (IsBreakRequested() || IsBreakpointAt(pc)) {
            return SIM_OK;
        }
        if (wasCall && IsKnownAddress(pc)) {
            return SIM_OK;
        }
        if (pc == stopAddress) {
            return SIM_OK;
        }
        if (rangeEnd != 0xFFFFFFFFu && stopAddress < pc && pc <= rangeEnd) {
            return SIM_OK;
        }
    }
}

SimStatus CTargetBase::RunToCall(bool* atCall) {
    *atCall = false;
    for (;;) {
        uint32_t pc = 0;
        SimStatus status = ReadPC(&pc);
        if (status != SIM_OK) {
            return status;
        }
        bool isCall = false;
        status = AskCall(pc, &isCall);
        if (status != SIM_OK) {
            return status;
        }
        if (isCall) {
            *atCall = true;
            return SIM_OK;
        }
        status = ExecuteInstruction();
        if (status != SIM_OK || IsBreakRequested()) {
            return status;
        }
        status = ReadPC(&pc);
        if (status != SIM_OK || IsBreakpointAt(pc)) {
            return status;
        }
    }
}

SimStatus CTargetBase::RunToRoutineReturn(bool* atReturn) {
    *atReturn = false;
    int32_t depth = 0;
    SimStatus status = ExecuteInstruction();
    for (;;) {
        // A failing instruction ends the run at once, so that the caller's next phase does not
        // execute it again.
        if (status != SIM_OK || IsBreakRequested()) {
            return status;
        }
        uint32_t pc = 0;
        bool isCall = false;
        bool isReturn = false;
        status = ReadPC(&pc);
        if (status == SIM_OK) {
            status = AskCall(pc, &isCall);
        }
        if (status == SIM_OK && !isCall) {
            status = AskReturn(pc, &isReturn);
        }
        if (status != SIM_OK) {
            return status;
        }
        if (isCall) {
            ++depth;
        } else if (isReturn && --depth < 0) {
            *atReturn = true;
            return SIM_OK;
        }
        status = ExecuteInstruction();
    }
}

SimStatus CTargetBase::StepOver(uint8_t whole) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    uint32_t pc = 0;
    SimStatus status;
    if (whole != 0) {
        bool isCall = false;
        status = ReadPC(&pc);
        if (status == SIM_OK) {
            status = AskCall(pc, &isCall);
        }
        if (status != SIM_OK) {
            return status;
        }
        if (!isCall) {
            return ExecuteInstruction();
        }
    } else {
        bool atCall = false;
        status = RunToCall(&atCall);
        if (!atCall) {
            return status;
        }
    }

    // Over the call and the routine it enters, up to that routine's return. Breakpoints inside
    // the routine do not stop it.
    bool atReturn = false;
    status = RunToRoutineReturn(&atReturn);
    if (!atReturn) {
        return status;
    }

    if (whole != 0) {
        return ExecuteInstruction();
    }
    bool atCall = false;
    return RunToCall(&atCall);
}

SimStatus CTargetBase::StepOut(uint8_t whole) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    ClearBreakRequest();
    uint32_t pc = 0;
    SimStatus status = ReadPC(&pc);
    if (status != SIM_OK) {
        return status;
    }
    int32_t startBreakpoint = 0;
    if (whole != 0) {
        bool isReturn = false;
        status = AskReturn(pc, &isReturn);
        if (status != SIM_OK) {
            return status;
        }
        if (isReturn) {
            return ExecuteInstruction();
        }
    } else {
        startBreakpoint = FindEnabledBreakpoint(pc);
    }

    // Up to the return that leaves the current routine.
    bool atReturn = false;
    status = RunToRoutineReturn(&atReturn);
    if (!atReturn) {
        return status;
    }

    if (whole != 0) {
        return ExecuteInstruction();
    }
    // On to the next call; a breakpoint other than the one the step started on ends the run
    // after the instruction it holds.
    for (;;) {
        status = ReadPC(&pc);
        if (status != SIM_OK) {
            return status;
        }
        bool isCall = false;
        status = AskCall(pc, &isCall);
        if (status != SIM_OK || isCall) {
            return status;
        }
        status = ExecuteInstruction();
        if (status != SIM_OK || IsBreakRequested()) {
            return status;
        }
        int32_t breakpoint = FindEnabledBreakpoint(pc);
        if (breakpoint != 0 && breakpoint != startBreakpoint) {
            return status;
        }
    }
}
