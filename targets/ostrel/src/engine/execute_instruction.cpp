// One step of the simulated chip: fetch, execute through the opcode table, then the hooks that
// follow every instruction (parity, interrupts, timers, the host's port observer and messages).
#include <cstdio>

#include "c8051_target.h"
#include "engine/opcode_table.h"
#include "opcode_info.h"
#include "w32/messages.h"
#include "w32/win32.h"

namespace ostrel {

namespace {

constexpr uint8_t kReti = 0x32;

// Machine cycles of an instruction by its cycle class (MUL and DIV take four).
int MachineCycles(int cycleClass) { return cycleClass == 3 ? 4 : cycleClass == 2 ? 2 : 1; }

}  // namespace

void C8051Target::BindEngine() {
    engine::Cpu& c = cpu_;
    c = engine::Cpu{};
    c.target = this;
    c.regs = registers_.get();
    if (c.regs == nullptr) {
        return;
    }
    c.sfr = sfrSpace_->PointerAt(0);
    c.ramSegment = internalRam_.get();
    c.ramSegment->GetBuffer(&c.ram, &c.ramSize);
    c.codeSegment = program_.get();
    c.codeSegment->GetBuffer(&c.code, &c.codeSize);
    c.xdataSegment = Space(kSpaceExternalData);
    if (c.xdataSegment != nullptr) {
        c.xdataSegment->GetBuffer(&c.xdata, &c.xdataSize);
    }
}

SimStatus C8051Target::ExecuteInstruction() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    engine::Cpu& c = cpu_;
    CRegisterFile& r = *c.regs;

    const uint16_t pc = r.Pc();
    const uint8_t op = engine::CodeRead(c, pc);
    lastOpcode_ = op;
    const int cycleClass = CycleClass(op);
    cycleClass_ = cycleClass;

    // The observer sees the ports again only when the instruction changed one of them.
    ISimPortObserver* const observer = observer_;
    uint8_t portsBefore[4] = {};
    if (observer != nullptr) {
        for (int i = 0; i < 4; ++i) {
            portsBefore[i] = c.sfr[sfr::kPorts[i]];
        }
    }

    if (options_[kOptionHardwarePortMode] != 0 && firstRun_ != 0) {
        firstRun_ = 0;
        StartHardwarePorts();
    }

    // Operand bytes are fetched only as far as the instruction reaches.
    const int size = InstructionSize(op);
    c.pc = pc;
    c.op = op;
    c.next = static_cast<uint16_t>(pc + size);
    c.b1 = size > 1 ? engine::CodeRead(c, static_cast<uint16_t>(pc + 1)) : 0;
    c.b2 = size > 2 ? engine::CodeRead(c, static_cast<uint16_t>(pc + 2)) : 0;

    SimStatus status = engine::kHandlers[op](c);
    if (status == SIM_OK) {
        r.AddCycles(cycleClass);
        r.SetPc(c.next);
        engine::UpdateParity(c);
        // The host's next byte arrives as soon as the program has read the one before.
        if (serialInputNext_ != serialInput_.size()) {
            DeliverSerialInput();
        }
        if (options_[kOptionInterrupts] != 0 && op != kReti) {
            status = CheckInterrupts();
        }
        if (status == SIM_OK && options_[kOptionTimers] != 0) {
            const int cycles = MachineCycles(cycleClass);
            for (int i = 1; i <= cycles; ++i) {
                AdvanceTimers(1, i);
                StepTimer2(1);
            }
        }
    }
    if (status != SIM_OK && status != SIM_UNKNOWN_OPCODE) {
        ReportExecutionFailure(status);
    }

    if (observer != nullptr && observer->IsActive() != 0) {
        for (int i = 0; i < 4; ++i) {
            if (c.sfr[sfr::kPorts[i]] != portsBefore[i]) {
                ReportPorts();
                break;
            }
        }
        // The host's handlers run here, inside the step: this is how a host stops a run.
        MSG message;
        while (w32::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            w32::DispatchMessageA(&message);
        }
    }
    return status;
}

void C8051Target::ReportExecutionFailure(SimStatus status) {
    const engine::Cpu& c = cpu_;
    // The stack message names the address that did not fit (SP itself is left as it was), the
    // others the instruction's PC.
    unsigned where = c.regs->Pc();
    const char* format = nullptr;
    switch (status) {
        case SIM_OUT_OF_RANGE:
            format =
                "FATAL ERROR: Trying to use address outside the allowed region, PC=%02X, "
                "mem size=%02X";
            break;
        case SIM_EXTERNAL_ADDRESS_FAULT:
            format =
                "FATAL ERROR: Trying to use external address which may not be available, "
                "PC=%02X, mem size=%02X";
            break;
        case SIM_STACK_FAULT:
            format =
                "FATAL ERROR: Trying to use stack outside the allowed region, SP=%02X, "
                "mem size=%02X";
            where = c.refusedStackAddress;
            break;
        default:
            return;
    }
    char text[256];
    std::snprintf(text, sizeof(text), format, where, static_cast<unsigned>(c.ramSize));
    OutputMessage(0, text);
}

}  // namespace ostrel
