// C8051Target: the simulated 8051 chip that the host debugs: memory spaces, the engine's chip,
// call stack, option words, program loading and the queries of the run loops.
#pragma once

#include <cstdint>
#include <memory>

#include "chip_catalogue.h"
#include "comms/comms.h"
#include "kernel_upload.h"
#include "ostrel/chip.h"
#include "simtarget/chip_spaces.h"
#include "simtarget/target_base.h"
#include "target_options.h"

namespace ostrel {

// The four memory spaces the host sees (kSpaceSfr to kMemorySpaceCount).
using namespace chip_spaces;

// Option words 0 to 4, as the host's get and set slots number them.
enum OptionWord : int {
    kOptionTimers = 0,
    kOptionInterrupts = 1,
    kOptionSerial = 2,
    kOptionHardwarePortMode = 3,
    kOptionHardwarePortsActive = 4,
    kOptionWordCount = 5,
};

// The virtual operations are declared in slot order: the target's own (slots 65 to 74) follow
// the framework's directly, everything else comes after them. The spaces' base has no virtual
// operation, so it moves no slot.
class C8051Target : public CTargetBase, public IChipHost, private CChipSpaces {
public:
    // Looks `chipId` up in the catalogue (the first row when it is absent or unknown) and reads
    // the "ExtMem=" option from `options`. A chip of the 8051's own family.
    C8051Target(const char* chipId, const char* options)
        : C8051Target(chipId, options, ChipFamily::k8051) {}

    // --- ISimTarget ---
    void* SIM_CALL Destroy(uint32_t flags) override;
    void SIM_CALL SetPortObserver(ISimPortObserver* observer) override;
    int32_t SIM_CALL GetRegisterCount() override;
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;
    int32_t SIM_CALL GetSimulateTimers() override { return m_options[kOptionTimers]; }
    int32_t SIM_CALL GetSimulateInterrupts() override { return m_options[kOptionInterrupts]; }
    int32_t SIM_CALL GetSimulateSerial() override { return m_options[kOptionSerial]; }
    int32_t SIM_CALL GetHardwarePortMode() override { return m_options[kOptionHardwarePortMode]; }
    void SIM_CALL SetSimulateTimers(int32_t value) override;
    void SIM_CALL SetSimulateInterrupts(int32_t value) override;
    void SIM_CALL SetSimulateSerial(int32_t value) override;
    void SIM_CALL SetHardwarePortMode(int32_t value) override {
        m_options[kOptionHardwarePortMode] = value;
    }
    int32_t SIM_CALL GetPeripheralItemCount() override;
    void SIM_CALL GetPeripheralItemText(int32_t index, SimPeripheralItem* item) override;
    void SIM_CALL EditPeripheralItem(int32_t index, SimPeripheralItem* item) override;
    int32_t SIM_CALL HasCapability(int32_t kind) override;
    SimStatus SIM_CALL SetCommSettings(const comm_settings* settings) override;
    const comm_settings* SIM_CALL GetCommSettings() override;
    SimStatus SIM_CALL LoadProgram(const char* path) override;
    SimStatus SIM_CALL PutSerialInput(int32_t channel, const uint8_t* bytes,
                                      uint32_t count) override;
    int32_t SIM_CALL GetMemorySpaceCount() override { return kMemorySpaceCount; }
    uint8_t SIM_CALL GetMemorySpaceInfo(int32_t space, const char** name, uint32_t* size) override;
    SimStatus SIM_CALL ReadMemory(uint32_t address, uint8_t* buffer, uint32_t count,
                                  uint32_t* countRead, int32_t space) override;
    SimStatus SIM_CALL WriteMemory(uint32_t address, const uint8_t* bytes, uint32_t count,
                                   uint32_t* countWritten, int32_t space) override;
    SimStatus SIM_CALL GetRegisterDumpText(char* buffer, int32_t length, int32_t word) override;
    SimStatus SIM_CALL GetPC(uint32_t* pc) override;
    SimStatus SIM_CALL GetSP(uint32_t* sp) override;
    SimStatus SIM_CALL GetPCAndFrame(uint32_t* pc, uint32_t* frame) override;
    SimStatus SIM_CALL GetCallStackText(char* buffer, int32_t length) override;
    SimStatus SIM_CALL IsReturnAt(uint32_t address, uint8_t* result) override;
    SimStatus SIM_CALL IsCallAt(uint32_t address, uint8_t* result) override;
    SimStatus SIM_CALL GetNextInstructionAddress(uint32_t address, uint32_t* next) override;
    // Runs in the chip's own loop, which lets machine cycles pass in one go while the
    // peripherals are quiet; a run that reports ports to the host goes instruction by instruction.
    SimStatus SIM_CALL RunSteps(int32_t count) override;

    // --- framework ---
    SimStatus StartDebugging() override;
    SimStatus StopDebugging() override;

    // --- the target's own operations, slots 65 to 74 ---
    virtual int32_t GetHardwarePortsActive();
    // Port registers on the board of the hardware-port mode: 0 or the link's error.
    virtual int32_t ReadBoardSfr(uint8_t address, uint8_t* value);
    virtual int32_t WriteBoardSfr(uint8_t address, uint8_t value);
    // One step of the chip, then the host's port observer and window messages.
    SimStatus ExecuteInstruction() override;
    // One machine cycle of every peripheral. `cycleIndex` is 1 for an instruction's first cycle,
    // 2 to 4 for its later ones and 2 for the cycles of an interrupt entry; `count` is what a
    // running timer adds.
    virtual void AdvanceTimers(int32_t count, int32_t cycleIndex);
    // A cycle of an interrupt entry: AdvanceTimers (count, 2).
    virtual void AdvanceTimersSecondCycle(int32_t count);
    // Enters the pending enabled interrupt of highest priority, if any: 0, or SIM_STACK_FAULT
    // when the return address does not fit on the stack (nothing is entered then).
    virtual SimStatus CheckInterrupts();
    // Sources beyond the 8051's own (Timer 2): may replace *vector and raise the interrupt
    // level as CheckInterrupts does, given the level it started from.
    virtual void CheckExtraInterrupts(int32_t* vector, uint8_t startLevel);
    // One tick of the serial port's own clock.
    virtual void AdvanceSerialPort();
    virtual void SetHardwarePortsActive(int32_t value);

    // --- what the run loops ask (framework) ---
    void ReportPorts() override;
    bool IsUnconditionalTransferAt(uint32_t address) override;
    bool IsRelativeBranchAt(uint32_t address) override;

    virtual ~C8051Target();

    // --- the simulation-kernel link of the hardware-port mode ---
    // Looks for the kernel on the board port at each rate of the search list: true when one
    // answered (hardware ports are then active, the port stays at its rate).
    bool DetectKernelBaud();
    // Puts the kernel on the board through the loader the settings choose: true when the
    // loader's download returned 0.
    bool UploadKernel();
    // The same as if the host's program were `programPath`: the image is looked for beside it.
    bool UploadKernelFrom(const char* programPath);

    // --- the simulated chip ---
    // Chips of the 8052 family have Timer 2 and its interrupt vector 0x2B.
    bool HasTimer2() const { return m_chip.HasTimer2(); }
    const ChipInfo* GetChip() const { return m_chipInfo; }
    ExtMemMode GetExtMemMode() const { return m_extMem; }
    CChip& Chip() { return m_chip; }
    const CChip& Chip() const { return m_chip; }

    // What exists once a program is loaded (null before).
    CRegisterFile* Registers() { return IsLoaded() ? &m_chip.Registers() : nullptr; }
    CProgramMemory* ProgramMemory() { return m_program.get(); }
    CCallStack* CallStack() { return m_callStack.get(); }
    // The segment behind a memory space (program memory for space 3 in the "Overlapped" mode).
    CMemorySegment* Space(int32_t space);

    uint8_t LastSerialInput() const { return m_chip.Serial().LastReceived(); }
    // Bytes the host sent that the program has not received yet.
    size_t PendingSerialInput() const { return m_chip.Serial().PendingInput(); }

    // A transfer's frame on the call stack (appended; see CTargetBase::PushCallFrame).
    void PushCallFrame(uint32_t address, uint32_t from, uint8_t kind);

protected:
    C8051Target(const char* chipId, const char* options, ChipFamily family);

    // --- IChipHost: the chip's memory, messages, calls and board ---
    uint8_t ReadOutside(ChipSpace space, uint32_t address) override;
    bool WriteOutside(ChipSpace space, uint32_t address, uint8_t value) override;
    void ChipMessage(int32_t level, const char* text) override;
    void Called(uint16_t destination, uint16_t from, CallKind kind) override;
    void Returned(uint16_t address) override;
    void SerialTransmit(uint8_t value) override;
    bool HardwarePortsActive() override { return m_options[kOptionHardwarePortsActive] != 0; }
    bool ReadBoardPort(uint8_t address, uint8_t* value) override;
    void WriteBoardPort(uint8_t address, uint8_t value) override;
    bool ResizeCodeAndData(uint32_t codeSize, uint32_t dataSize) override;

    // The loader the stored serial settings choose for the kernel upload.
    virtual const KernelLoaderBinding& KernelLoader();

private:
    static constexpr uint32_t kSerialSettingsSize = 56;

    // Points the chip at the spaces of the loaded program; needed again whenever a space is
    // rebuilt, as the chip works on their bytes directly.
    void BindChipMemory();
    void RedirectVectors(CProgramMemory& program);
    // The stored serial settings' parity word: 0 none, 1 odd, 2 even.
    uint32_t StoredParity() const;
    // The simulation-kernel start-up of the hardware-port mode, before the first instruction:
    // finds the kernel, or uploads it and looks again, and says which ports the run uses.
    void StartHardwarePorts();
    // A line of the kernel link at level 0.
    void Say(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // The run's breakpoints as one bit per program address, for the chip's own loop.
    void MarkBreakpoints();

    ExtMemMode m_extMem = ExtMemMode::None;
    const ChipInfo* m_chipInfo = nullptr;
    CChip m_chip;
    std::unique_ptr<CCallStack> m_callStack;
    // The spaces' segments are CChipSpaces's; m_externalData is absent in the "Overlapped" mode.
    int32_t m_options[kOptionWordCount] = {0, 0, 0, 0, 0};
    alignas(4) uint8_t m_serialSettings[kSerialSettingsSize] = {};
    CComms m_boardPort;  // the simulation-kernel link's port
    uint8_t m_firstRun = 1;
    ISimPortObserver* m_observer = nullptr;
    uint64_t m_breakpointBits[0x10000 / 64] = {};
};

}  // namespace ostrel
