// C8051Target: the simulated 8051 chip that the host debugs: memory spaces, register file, call
// stack, option words, program loading and the queries of the run loops.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "chip_catalogue.h"
#include "engine/cpu.h"
#include "comms/comms.h"
#include "register_file.h"
#include "simtarget/target_base.h"
#include "target_options.h"

namespace ostrel {

// Indices of the four memory spaces the host sees.
enum MemorySpaceIndex : int32_t {
    kSpaceSfr = 0,
    kSpaceProgram = 1,
    kSpaceInternalRam = 2,
    kSpaceExternalData = 3,
    kMemorySpaceCount = 4,
};

// Option words 0 to 4, as the host's get and set slots number them.
enum OptionWord : int {
    kOptionTimers = 0,
    kOptionInterrupts = 1,
    kOptionSerial = 2,
    kOptionHardwarePortMode = 3,
    kOptionHardwarePortsActive = 4,
    kOptionWordCount = 5,
};

// The interrupt sources that wait one instruction before they compete, in this order.
enum DelayFlag : int {
    kDelayExternal0 = 0,
    kDelayExternal1 = 1,
    kDelayTimer0 = 2,
    kDelayTimer1 = 3,
    kDelayFlagCount = 4,
};

// The answer of a board-link operation while no board port is open.
constexpr int32_t kBoardPortNotOpen = 1059;

class C8051Target : public CTargetBase, public IRegisterFileHost {
public:
    // Looks `chipId` up in the catalogue (the first row when it is absent or unknown) and reads
    // the "ExtMem=" option from `options`.
    C8051Target(const char* chipId, const char* options);
    ~C8051Target() override;

    // --- ISimTarget ---
    void SIM_CALL SetPortObserver(ISimPortObserver* observer) override;
    int32_t SIM_CALL GetRegisterCount() override;
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;
    int32_t SIM_CALL GetSimulateTimers() override { return options_[kOptionTimers]; }
    int32_t SIM_CALL GetSimulateInterrupts() override { return options_[kOptionInterrupts]; }
    int32_t SIM_CALL GetSimulateSerial() override { return options_[kOptionSerial]; }
    int32_t SIM_CALL GetHardwarePortMode() override { return options_[kOptionHardwarePortMode]; }
    void SIM_CALL SetSimulateTimers(int32_t value) override { options_[kOptionTimers] = value; }
    void SIM_CALL SetSimulateInterrupts(int32_t value) override {
        options_[kOptionInterrupts] = value;
    }
    void SIM_CALL SetSimulateSerial(int32_t value) override { options_[kOptionSerial] = value; }
    void SIM_CALL SetHardwarePortMode(int32_t value) override {
        options_[kOptionHardwarePortMode] = value;
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

    // --- framework ---
    SimStatus StartDebugging() override;
    SimStatus StopDebugging() override;
    SimStatus ExecuteInstruction() override;
    void ReportPorts() override;
    bool IsUnconditionalTransferAt(uint32_t address) override;
    bool IsRelativeBranchAt(uint32_t address) override;

    // --- the simulated chip ---
    int32_t GetHardwarePortsActive() { return options_[kOptionHardwarePortsActive]; }
    void SetHardwarePortsActive(int32_t value) { options_[kOptionHardwarePortsActive] = value; }
    // Port registers on the board of the hardware-port mode: 0 or the link's error.
    virtual int32_t ReadBoardSfr(uint8_t address, uint8_t* value);
    virtual int32_t WriteBoardSfr(uint8_t address, uint8_t value);
    // Chips of the 8052 family have Timer 2 and its interrupt vector 0x2B.
    virtual bool HasTimer2() const { return false; }

    // --- the instruction engine ---
    // One machine cycle of Timer 0, Timer 1, the INT0 and INT1 pins and the serial port.
    // `cycleIndex` is 1 for an instruction's first cycle, 2 to 4 for its later ones and 2 for
    // the cycles of an interrupt entry; `count` is what a running timer adds.
    virtual void AdvanceTimers(int32_t count, int32_t cycleIndex);
    // A cycle of an interrupt entry: AdvanceTimers (count, 2) and Timer 2's step.
    virtual void AdvanceTimersSecondCycle(int32_t count);
    // Enters the pending enabled interrupt of highest priority, if any: 0, or SIM_STACK_FAULT
    // when the return address does not fit on the stack (nothing is entered then).
    virtual SimStatus CheckInterrupts();
    // Sources beyond the 8051's own (Timer 2): may replace *vector and raise the interrupt
    // level as CheckInterrupts does, given the level it started from.
    virtual void CheckExtraInterrupts(int32_t* vector, uint8_t startLevel);
    // One tick of the serial port's transmit timing.
    virtual void AdvanceSerialPort();
    // One machine cycle of Timer 2 on the chips that have it.
    virtual void StepTimer2(int32_t) {}
    // The simulation-kernel start-up of the hardware-port mode, before the first instruction.
    virtual void StartHardwarePorts() {}

    const ChipInfo* GetChip() const { return chip_; }
    ExtMemMode GetExtMemMode() const { return extMem_; }
    int32_t GetOption(int word) const { return options_[word]; }

    // What exists once a program is loaded (null before).
    CRegisterFile* Registers() { return registers_.get(); }
    CProgramMemory* ProgramMemory() { return program_.get(); }
    CCallStack* CallStack() { return callStack_.get(); }
    // The segment behind a memory space (program memory for space 3 in the "Overlapped" mode).
    CMemorySegment* Space(int32_t space);

    // The engine's bookkeeping of the current instruction.
    uint8_t LastOpcode() const { return lastOpcode_; }
    void SetLastOpcode(uint8_t opcode) { lastOpcode_ = opcode; }
    int CurrentCycleClass() const { return cycleClass_; }
    void SetCurrentCycleClass(int cycleClass) { cycleClass_ = cycleClass; }
    bool DelayFlag(int which) const { return delayFlags_[which] != 0; }
    void SetDelayFlag(int which, bool on) { delayFlags_[which] = on ? 1 : 0; }
    bool FirstRun() const { return firstRun_ != 0; }
    void ClearFirstRun() { firstRun_ = 0; }
    uint8_t LastSerialInput() const { return lastSerialInput_; }
    // Bytes the host sent that the program has not received yet.
    size_t PendingSerialInput() const { return serialInput_.size() - serialInputNext_; }
    ISimPortObserver* PortObserver() const { return observer_; }

    // SP + 1, then the byte at SP; false when internal RAM refuses it. / The byte at SP, SP - 1.
    bool PushByte(uint8_t value) { return registers_->PushByte(value); }
    uint8_t PopByte() { return registers_->PopByte(); }
    // A transfer's frame on the call stack (appended; see CTargetBase::PushCallFrame).
    void PushCallFrame(uint32_t address, uint32_t from, uint8_t kind);

    // --- IRegisterFileHost, and what MOVX reaches ---
    bool HardwarePortsActive() override { return options_[kOptionHardwarePortsActive] != 0; }
    bool ReadBoardPort(uint8_t address, uint8_t* value) override;
    void WriteBoardPort(uint8_t address, uint8_t value) override;
    void SerialTransmit(uint8_t value) override;
    bool SimulateSerial() override { return options_[kOptionSerial] != 0; }
    uint8_t ReadExternalData(uint16_t address) override;
    bool WriteExternalData(uint16_t address, uint8_t value) override;

protected:
    // The stored serial settings' parity word: 0 none, 1 odd, 2 even.
    uint32_t StoredParity() const;
    // The engine's view of the chip (its special-function-register bytes among it).
    engine::Cpu& Engine() { return cpu_; }
    // Puts new program memory and a new external data space (none: keep the space absent) in
    // place of the loaded ones, which go.
    void ReplaceCodeAndData(std::unique_ptr<CProgramMemory> program,
                            std::unique_ptr<CMemorySegment> externalData);

private:
    static constexpr uint32_t kSerialSettingsSize = 56;

    // Points the engine at the spaces of the loaded program; needed again whenever a space is
    // rebuilt, as the engine works on their bytes directly.
    void BindEngine();
    void ReportExecutionFailure(SimStatus status);
    void RedirectVectors(CProgramMemory& program);
    // The next byte of the host's input into SBUF, once the receiver is on and the program has
    // taken the byte before (RI clear).
    void DeliverSerialInput();
    void ReceiveByte(uint8_t byte);
    void DropSerialInput();

    std::unique_ptr<CRegisterFile> registers_;
    std::unique_ptr<CCallStack> callStack_;
    ExtMemMode extMem_ = ExtMemMode::None;
    std::unique_ptr<CMemorySegment> sfrSpace_;
    std::unique_ptr<CProgramMemory> program_;
    std::unique_ptr<CMemorySegment> internalRam_;
    std::unique_ptr<CMemorySegment> externalData_;  // absent in the "Overlapped" mode
    uint8_t lastOpcode_ = 0;
    uint8_t lastSerialInput_ = 0;
    const ChipInfo* chip_ = nullptr;
    int32_t options_[kOptionWordCount] = {0, 0, 0, 0, 0};
    int cycleClass_ = 0;
    alignas(4) uint8_t serialSettings_[kSerialSettingsSize] = {};
    CComms boardPort_;  // the simulation-kernel link's port
    uint8_t firstRun_ = 1;
    uint8_t delayFlags_[kDelayFlagCount] = {0, 1, 0, 1};
    ISimPortObserver* observer_ = nullptr;
    engine::Cpu cpu_;
    // The host's serial input: received in order, one byte whenever the program has read the
    // one before; the bytes before `serialInputNext_` are received already.
    std::vector<uint8_t> serialInput_;
    size_t serialInputNext_ = 0;
};

}  // namespace ostrel
