// One step of the simulated chip: fetch, execute through the opcode table, then what follows
// every instruction (parity, serial input, interrupts, machine cycles, the watching parts); idle
// and power-down; interrupt entry; runs of many steps.
#include <cstdio>

#include "cpu.h"
#include "opcode_table.h"
#include "ostrel/chip.h"
#include "simtarget/opcode_facts.h"

namespace ostrel {

namespace {

constexpr uint8_t kReti = 0x32;

// The breakpoints of a run that has none.
constexpr uint64_t kNoBreakpoints[0x10000 / 64] = {};

// Machine cycles of an instruction by its cycle class (MUL and DIV take four).
constexpr uint32_t MachineCycles(int cycleClass) {
    return cycleClass == 3 ? 4 : cycleClass == 2 ? 2 : 1;
}

}  // namespace

void CChip::AskParts() {
    m_quiet = QuietCycles();
    m_requests = m_interrupts.AnyRequest();
}

SimStatus CChip::Step() { return Run(1, nullptr, nullptr); }

SimStatus CChip::Run(uint32_t limit, const uint64_t* breakpoints, uint32_t* steps) {
    // The host may have changed any register since the last step: the parts say anew how long
    // they stay quiet and whether an interrupt is asked for.
    AskParts();
    const RunMode mode{m_simulateTimers, m_simulateInterrupts, m_watchingCount != 0};
    const uint64_t* const bits = breakpoints != nullptr ? breakpoints : kNoBreakpoints;
    uint32_t done = 0;
    SimStatus status = SIM_OK;
    while (done < limit) {
        status = StepPending(mode);
        if (status != SIM_OK) {
            break;
        }
        ++done;
        const uint16_t pc = m_registers.Pc();
        if (((bits[pc >> 6] >> (pc & 63)) & 1) != 0) {
            break;
        }
    }
    BringUpToDate();
    if (steps != nullptr) {
        *steps = done;
    }
    return status;
}

inline void CChip::AdvanceCycles(int cycleClass) {
    const uint32_t cycles = MachineCycles(cycleClass);
    if (m_quiet - m_pending >= cycles) {
        m_pending += cycles;
    } else {
        RunCyclesOneByOne(cycles);
    }
}

void CChip::RunCyclesOneByOne(uint32_t cycles) {
    BringUpToDate();
    for (uint32_t i = 1; i <= cycles; ++i) {
        RunMachineCycle(1, static_cast<int>(i));
    }
    AskParts();
}

inline SimStatus CChip::PollInterrupts() {
    if (!m_requests) {
        return SIM_OK;
    }
    const SimStatus status = CheckInterrupts();
    if (status != SIM_OK) {
        ReportFailure(status);
    }
    return status;
}

inline SimStatus CChip::StepPending(const RunMode& mode) {
    engine::Cpu& c = m_cpu;
    const uint8_t pcon = c.sfr[sfr::PCON];
    if ((pcon & (sfr::PCON_PD | sfr::PCON_IDL)) != 0) {
        // Power-down stops the oscillator: nothing runs until the reset. Idle stops only the
        // instructions.
        return (pcon & sfr::PCON_PD) != 0 ? SIM_OK : IdleCycle();
    }
    for (int i = 0; mode.watching && i < m_watchingCount; ++i) {
        const SimStatus status = m_watching[i]->BeforeInstruction();
        if (status != SIM_OK) {
            return status;
        }
    }

    const uint16_t pc = m_registers.Pc();
    const uint8_t op = engine::CodeRead(c, pc);
    const uint16_t info = opcodes::kInfo[op];
    const int cycleClass = (info & opcodes::kCycleMask) >> opcodes::kCycleShift;
    m_cycleClass = cycleClass;
    // Operand bytes are fetched only as far as the instruction reaches.
    c.pc = pc;
    c.op = op;
    if ((info & (opcodes::kTwoBytes | opcodes::kThreeBytes)) == 0) {
        c.next = static_cast<uint16_t>(pc + 1);
    } else {
        c.b1 = engine::CodeRead(c, static_cast<uint16_t>(pc + 1));
        if ((info & opcodes::kThreeBytes) == 0) {
            c.next = static_cast<uint16_t>(pc + 2);
        } else {
            c.b2 = engine::CodeRead(c, static_cast<uint16_t>(pc + 2));
            c.next = static_cast<uint16_t>(pc + 3);
        }
    }

    m_interrupts.ForgetWrite();
    SimStatus status = engine::kHandlers[op](c);
    if (status != SIM_OK) {
        if (status != SIM_UNKNOWN_OPCODE) {
            ReportFailure(status);
        }
        return status;
    }
    m_registers.AddCycles(cycleClass);
    m_registers.SetPc(c.next);
    engine::UpdateParity(c);
    // The host's next byte arrives as soon as the program has read the one before.
    if (m_serial.HasInput()) {
        m_serial.DeliverInput();
        m_requests = true;
    }
    // The chip finishes one more instruction after RETI and after any write of IE or IP before
    // it takes an interrupt; the requests are seen meanwhile all the same.
    if (mode.interrupts) {
        if (op != kReti && !m_interrupts.WrittenByInstruction()) {
            status = PollInterrupts();
            if (status != SIM_OK) {
                return status;
            }
        } else if (m_requests) {
            m_interrupts.RecordRequests();
        }
    }
    if (mode.timers) {
        AdvanceCycles(cycleClass);
    }
    return mode.watching ? InstructionPartsAfter(cycleClass) : SIM_OK;
}

SimStatus CChip::IdleCycle() {
    // A machine cycle with no instruction: the peripherals run. An enabled interrupt is polled
    // as after a one-cycle instruction; taking it ends the idle mode, and its entry's two cycles
    // are the step.
    m_cycleClass = 1;
    if (m_serial.HasInput()) {
        m_serial.DeliverInput();
        m_requests = true;
    }
    if (m_simulateInterrupts) {
        const SimStatus status = PollInterrupts();
        if (status != SIM_OK || (m_cpu.sfr[sfr::PCON] & sfr::PCON_IDL) == 0) {
            return status;
        }
    }
    m_registers.AddCycles(1);
    if (m_simulateTimers) {
        AdvanceCycles(1);
    }
    return SIM_OK;
}

SimStatus CChip::InstructionPartsAfter(int cycleClass) {
    for (int i = 0; i < m_watchingCount; ++i) {
        const SimStatus status = m_watching[i]->AfterInstruction(cycleClass);
        if (status != SIM_OK) {
            return status;
        }
    }
    for (int i = 0; i < m_watchingCount; ++i) {
        m_watching[i]->EndInstruction(cycleClass);
    }
    return SIM_OK;
}

SimStatus CChip::CheckInterrupts() {
    const uint8_t startLevel = m_interrupts.Level();
    const int32_t vector = m_interrupts.Choose(m_cycleClass);
    if (vector < 0) {
        // Requests just recorded, or disabled ones, need no poll until something changes.
        m_requests = m_interrupts.AnyRequest();
        return SIM_OK;
    }
    const uint16_t returnAddress = m_registers.Pc();
    if (!engine::PushReturnAddress(m_cpu, returnAddress)) {
        // Nothing is entered: the level falls back and the request stays pending.
        m_interrupts.SetLevel(startLevel);
        return SIM_STACK_FAULT;
    }
    BringUpToDate();
    m_interrupts.Acknowledge(vector);
    m_cpu.sfr[sfr::PCON] = static_cast<uint8_t>(m_cpu.sfr[sfr::PCON] & ~sfr::PCON_IDL);
    m_host.Called(static_cast<uint16_t>(vector), returnAddress, CallKind::Interrupt);
    m_registers.SetPc(static_cast<uint16_t>(vector));
    // The hardware's two-cycle call to the vector is timer time whatever the option says.
    RunMachineCycle(1, 2);
    RunMachineCycle(1, 2);
    AskParts();
    return SIM_OK;
}

void CChip::CheckExtraInterrupts(int32_t* vector, uint8_t startLevel) {
    m_interrupts.ChooseExtra(vector, startLevel);
}

void CChip::ReportFailure(SimStatus status) {
    // The stack message names the address that did not fit (SP itself is left as it was), the
    // others the instruction's PC.
    unsigned where = m_registers.Pc();
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
            where = m_cpu.refusedStackAddress;
            break;
        default:
            return;
    }
    char text[256];
    std::snprintf(text, sizeof(text), format, where, static_cast<unsigned>(m_cpu.ramSize));
    m_host.ChipMessage(0, text);
}

}  // namespace ostrel
