// CMonitorTarget: the ROM-monitor debugger's target. It sends the user's HEX file through the
// monitor's load command, then steps and runs the program through the monitor's dialogue, with a
// host-side register model and memory copies as the host's view.
#pragma once

#include <cstdint>
#include <memory>

#include "boardlink/cpu_state.h"
#include "boardlink/model_target.h"
#include "boardlink/register_model.h"
#include "comms/comms.h"
#include "monitor_target_base.h"
#include "pelmor/monitor_link.h"
#include "simtarget/chip_spaces.h"

namespace pelmor {

// The four memory spaces the host sees (kSpaceSfr to kMemorySpaceCount).
using namespace chip_spaces;

// The monitor debugger's registers: 19 entries of the shared register table.
constexpr int32_t kMonitorRegisterCount = 19;

class CMonitorTarget : public TModelTarget<CMonitorTarget, CTargetBase> {
public:
    CMonitorTarget();

    // --- ISimTarget ---
    void* SIM_CALL Destroy(uint32_t flags) override;
    int32_t SIM_CALL GetRegisterCount() override { return kMonitorRegisterCount; }
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    // Into the model, then to the monitor (R0 to R7 at the current bank's internal RAM).
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;
    SimStatus SIM_CALL SetCommSettings(const comm_settings* settings) override;
    const comm_settings* SIM_CALL GetCommSettings() override;
    SimStatus SIM_CALL LoadProgram(const char* path) override;
    SimStatus SIM_CALL PutSerialInput(int32_t channel, const uint8_t* bytes,
                                      uint32_t count) override;
    SimStatus SIM_CALL ReadMemory(uint32_t address, uint8_t* buffer, uint32_t count,
                                  uint32_t* countRead, int32_t space) override;
    SimStatus SIM_CALL WriteMemory(uint32_t address, const uint8_t* bytes, uint32_t count,
                                   uint32_t* countWritten, int32_t space) override;
    SimStatus SIM_CALL GetRegisterDumpText(char* buffer, int32_t length, int32_t word) override;
    SimStatus SIM_CALL GetPCAndFrame(uint32_t* pc, uint32_t* frame) override;
    SimStatus SIM_CALL GetCallStackText(char* buffer, int32_t length) override;
    SimStatus SIM_CALL StepInstruction() override;
    SimStatus SIM_CALL StepUntil(uint32_t stopAddress, uint32_t rangeEnd, uint8_t stopInKnownCalls,
                                 uint8_t stepRelative, uint8_t stepUnconditional) override;
    SimStatus SIM_CALL RunSteps(int32_t count) override;
    SimStatus SIM_CALL StepOver(uint8_t whole) override;
    // Stepping out is not offered: nothing is sent, the result is 0.
    SimStatus SIM_CALL StepOut(uint8_t) override { return SIM_OK; }

    // --- framework ---
    // Sets monitor breakpoint index - 1.
    bool ValidateBreakpoint(int32_t index, uint32_t address) override;
    // Clears monitor breakpoint index - 1.
    bool BreakpointRemoved(int32_t index) override;
    // The model reset with the PC at the program's start, written to the monitor with the board's
    // reset; the monitor's breakpoints cleared, then the enabled entries set again.
    SimStatus StartDebugging() override;
    // Clears RAM and external data; nothing goes to the board.
    SimStatus StopDebugging() override;

    virtual ~CMonitorTarget();

    // --- for tests ---
    CMonitorLink& Link() { return m_link; }
    CpuState* Model() { return m_model.get(); }
    CComms& Port() { return m_comms; }

private:
    static int32_t StoreLoaded(void* context, uint32_t address, uint32_t count,
                               const uint8_t* bytes);
    static void HexMessage(void* context, int32_t level, const char* text);

    // Opens the port when it is closed (0 or Initialize's code) and hands the link its handle.
    int PrepareExchange();
    void CopyModelToLink();
    void CopyLinkToModel();
    // Sends the register `index` now holds in the model to the monitor.
    bool SendRegister(int index);
    SimStatus MonitorStep();
    bool AtCall();
    bool AtReturn();
    RegisterSpaces Spaces();

    TargetLinkOutput<CMonitorTarget> m_linkOutput{*this};
    CMonitorLink m_link{m_linkOutput};
    std::unique_ptr<CpuState> m_model;
    alignas(4) uint8_t m_serialSettings[kSimSerialSettingsSize] = {};
    CComms m_comms;
    uint32_t m_programStart = 0;
    bool m_startSeen = false;
};

}  // namespace pelmor
