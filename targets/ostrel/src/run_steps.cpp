// Running the chip for the host: one instruction with the host's port observer and window
// messages after it, and runs of many, which go through the chip's own loop.
#include <algorithm>
#include <cstring>

#include "c8051_target.h"
#include "ostrel/sfr.h"
#include "w32/messages.h"
#include "w32/win32.h"

namespace ostrel {

namespace {

// Steps of the chip's loop between two looks at the host's break request.
constexpr uint32_t kStepsBetweenLooks = 4096;

}  // namespace

SimStatus C8051Target::ExecuteInstruction() {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    // The observer sees the ports again only when the instruction changed one of them.
    ISimPortObserver* const observer = m_observer;
    uint8_t portsBefore[4] = {};
    const uint8_t* const sfrBytes = m_chip.Sfr();
    if (observer != nullptr) {
        for (int i = 0; i < 4; ++i) {
            portsBefore[i] = sfrBytes[sfr::kPorts[i]];
        }
    }
    if (m_options[kOptionHardwarePortMode] != 0 && m_firstRun != 0) {
        m_firstRun = 0;
        StartHardwarePorts();
    }

    const SimStatus status = m_chip.Step();

    if (observer != nullptr && observer->IsActive() != 0) {
        for (int i = 0; i < 4; ++i) {
            if (sfrBytes[sfr::kPorts[i]] != portsBefore[i]) {
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

void C8051Target::MarkBreakpoints() {
    std::memset(m_breakpointBits, 0, sizeof(m_breakpointBits));
    for (int32_t entry = 0; entry < GetBreakpointCount(); ++entry) {
        const uint32_t address = GetBreakpointAddress(entry);
        if (IsBreakpointEnabled(entry) && address <= 0xFFFF) {
            m_breakpointBits[address >> 6] |= uint64_t{1} << (address & 63);
        }
    }
}

SimStatus SIM_CALL C8051Target::RunSteps(int32_t count) {
    if (!IsLoaded()) {
        return SIM_NOT_LOADED;
    }
    // A host that watches the ports gets each instruction with its window messages, and the
    // kernel start-up comes before the first instruction: both take the framework's loop.
    if (m_observer != nullptr || (m_options[kOptionHardwarePortMode] != 0 && m_firstRun != 0)) {
        return CTargetBase::RunSteps(count);
    }
    ClearBreakRequest();
    MarkBreakpoints();
    // A count of 0 or below -1 has no last instruction: such a run ends like an unbounded one.
    const bool bounded = count > 0;
    uint32_t left = bounded ? static_cast<uint32_t>(count) : 0;
    for (;;) {
        const uint32_t chunk = bounded ? std::min(left, kStepsBetweenLooks) : kStepsBetweenLooks;
        uint32_t steps = 0;
        const SimStatus status = m_chip.Run(chunk, m_breakpointBits, &steps);
        if (status != SIM_OK) {
            return status;
        }
        if (bounded) {
            left -= steps;
            if (left == 0) {
                return SIM_OK;
            }
        }
        // The break request may come from another thread at any time; a run that ended before
        // its chunk did stopped at a breakpoint.
        if (IsBreakRequested() || steps < chunk) {
            return SIM_OK;
        }
    }
}

}  // namespace ostrel
