// CChip: one simulated 8051-family chip, the engine that runs a program on it. It executes
// instructions through its opcode table, keeps the register file, and advances its on-chip
// peripherals (the parts of its variant) machine cycle by machine cycle, or, while none of them
// can change anything visible, many cycles at once.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "ostrel/chip_host.h"
#include "ostrel/chip_part.h"
#include "ostrel/chip_variant.h"
#include "ostrel/cpu_state.h"
#include "ostrel/interrupt_controller.h"
#include "ostrel/mcon_register.h"
#include "ostrel/register_file.h"
#include "ostrel/serial_port.h"
#include "ostrel/timed_access.h"
#include "ostrel/timer2.h"
#include "ostrel/timers.h"
#include "simtarget/sim_status.h"

namespace ostrel {

class CChip {
public:
    CChip(ChipFamily family, IChipHost& host);
    CChip(const CChip&) = delete;
    CChip& operator=(const CChip&) = delete;

    const ChipVariant& Variant() const { return m_variant; }
    bool HasTimer2() const { return m_timer2.has_value(); }
    IChipHost& Host() { return m_host; }

    // --- memory ---
    // Points the chip at its spaces (the SFR view must hold 256 bytes); needed again whenever a
    // space is rebuilt. External data may be program memory itself (the same bytes).
    void BindMemory(MemoryView sfr, MemoryView code, MemoryView internalRam,
                    MemoryView externalData);
    bool IsBound() const { return m_cpu.sfr != nullptr; }
    const engine::Cpu& Memory() const { return m_cpu; }
    uint8_t* Sfr() const { return m_cpu.sfr; }
    // Whether MOVX reaches program memory.
    bool ExternalDataIsCode() const;

    // --- what is simulated (the host's option words 0 to 2) ---
    void SetSimulateTimers(bool on);
    void SetSimulateInterrupts(bool on) { m_simulateInterrupts = on; }
    void SetSimulateSerial(bool on);
    bool SimulateTimers() const { return m_simulateTimers; }
    bool SimulateInterrupts() const { return m_simulateInterrupts; }
    bool SimulateSerial() const { return m_simulateSerial; }

    // --- life ---
    // A program freshly loaded into newly bound memory: the register file and every part as on
    // a new chip.
    void PowerOn();
    // The chip's reset. PC is the caller's.
    void Reset();

    // --- running ---
    // One step: an instruction, or one machine cycle while the chip is idle, or nothing at all
    // while it is powered down. Returns 0 or the failure status; a failing instruction leaves
    // the chip as it was.
    SimStatus Step();
    // Up to `limit` steps; ends early after a failure or a step that leaves the PC on an address
    // whose bit is set in `breakpoints` (65536 bits, null for none). `*steps` counts the steps
    // that completed.
    SimStatus Run(uint32_t limit, const uint64_t* breakpoints, uint32_t* steps);

    // The pieces of a step, as a step runs them.
    // One machine cycle of every part; `count` is what a running timer adds, `index` as in
    // MachineCycle.
    void RunMachineCycle(int32_t count, int index);
    // Enters the pending enabled interrupt of highest priority, if any: 0, or SIM_STACK_FAULT when
    // the return address does not fit on the stack (nothing is entered then).
    SimStatus CheckInterrupts();
    // The sources beyond the 8051's own (see CInterruptController::ChooseExtra).
    void CheckExtraInterrupts(int32_t* vector, uint8_t startLevel);
    // One tick of the serial port's own clock.
    void AdvanceSerialPort() { m_serial.Tick(); }
    // The cycle class of the instruction in hand (1, 2, 3; 0 for the undefined opcode).
    int CycleClass() const { return m_cycleClass; }
    void SetCycleClass(int cycleClass) { m_cycleClass = cycleClass; }

    // --- time that the parts have not seen yet ---
    // Lets the parts catch up with the machine cycles that passed while they were quiet; done
    // before anything reads or writes their registers.
    void BringUpToDate();
    // A write changed what the parts do, or which interrupts are asked for: the next machine
    // cycles run one by one until the parts are quiet again, and the sources are polled.
    void TimingChanged() {
        m_quiet = 0;
        m_requests = true;
    }
    // Off: every machine cycle runs one by one (for comparing the two ways; on by default).
    void SetEventDriven(bool on) { m_eventDriven = on; }

    // --- the parts ---
    CRegisterFile& Registers() { return m_registers; }
    const CRegisterFile& Registers() const { return m_registers; }
    CTimers& Timers() { return m_timers; }
    const CTimers& Timers() const { return m_timers; }
    CInterruptController& Interrupts() { return m_interrupts; }
    const CInterruptController& Interrupts() const { return m_interrupts; }
    CSerialPort& Serial() { return m_serial; }
    const CSerialPort& Serial() const { return m_serial; }
    // Null where the variant lacks them.
    CTimer2* Timer2() { return m_timer2 ? &*m_timer2 : nullptr; }
    const CTimer2* Timer2() const { return m_timer2 ? &*m_timer2 : nullptr; }
    CTimedAccess* TimedAccess() { return m_timedAccess ? &*m_timedAccess : nullptr; }
    const CTimedAccess* TimedAccess() const { return m_timedAccess ? &*m_timedAccess : nullptr; }
    CMconRegister* Mcon() { return m_mcon ? &*m_mcon : nullptr; }
    const CMconRegister* Mcon() const { return m_mcon ? &*m_mcon : nullptr; }
    // The part that serves the register at `address` (0x80 to 0xFF), or null.
    CChipPart* OwnerOf(uint8_t address) const { return m_owners[address & 0x7F]; }

private:
    static constexpr int kMaxParts = 8;

    void Claim(CChipPart& part, std::initializer_list<uint8_t> addresses);
    void AddTimed(CChipPart& part);
    // What stays as it is through a run: the host changes the options between runs only.
    struct RunMode {
        bool timers;
        bool interrupts;
        bool watching;  // parts that watch each instruction
    };
    // A step whose machine cycles the parts may not have seen yet: the body of Run's loop.
    [[gnu::always_inline]] inline SimStatus StepPending(const RunMode& mode);
    SimStatus IdleCycle();
    // The interrupt check after an instruction, as far as a source may ask for one.
    SimStatus PollInterrupts();
    // The machine cycles of an instruction of `cycleClass`, passed over while the parts are
    // quiet, else one by one.
    void AdvanceCycles(int cycleClass);
    void RunCyclesOneByOne(uint32_t cycles);
    // What the parts say after cycles that ran one by one (or after anything else may have
    // changed): how long they stay quiet, whether any interrupt source asks.
    void AskParts();
    uint32_t QuietCycles() const;
    SimStatus InstructionPartsAfter(int cycleClass);
    void ReportFailure(SimStatus status);

    const ChipVariant& m_variant;
    IChipHost& m_host;
    engine::Cpu m_cpu;
    CRegisterFile m_registers;
    std::optional<CTimer2> m_timer2;
    CTimers m_timers;
    CInterruptController m_interrupts;
    CSerialPort m_serial;
    std::optional<CTimedAccess> m_timedAccess;
    std::optional<CMconRegister> m_mcon;

    // The parts in the chip's order: those with machine cycles (and those of each beat), those
    // that watch instructions.
    CChipPart* m_timed[kMaxParts] = {};
    int m_timedCount = 0;
    CChipPart* m_beat[3][kMaxParts] = {};
    int m_beatCount[3] = {};
    CChipPart* m_watching[kMaxParts] = {};
    int m_watchingCount = 0;
    CChipPart* m_owners[128] = {};

    bool m_simulateTimers = false;
    bool m_simulateInterrupts = false;
    bool m_simulateSerial = false;
    int m_cycleClass = 0;
    // Machine cycles that passed and that the parts have not seen yet, and how many may pass so
    // since the parts last said (the distance to the next cycle that must run on its own).
    uint32_t m_pending = 0;
    uint32_t m_quiet = 0;
    // False while no interrupt source can be asking (nothing changed since the parts said so).
    bool m_requests = true;
    bool m_eventDriven = true;
};

}  // namespace ostrel
