// A small test machine on the target base: enough of an 8051-like instruction set to drive every
// run loop, the call stack, memory spaces and the host objects before a real target exists.
//
// Instructions (opcode, bytes, effect):
//   00       NOP
//   02 hh ll LJMP hhll            (unconditional transfer)
//   04       INC A
//   12 hh ll LCALL hhll           (pushes the return address, low byte first, as a call frame)
//   22       RET                  (unconditional transfer)
//   70 rr    JNZ rel              (relative operand)
//   74 dd    MOV A,#dd
//   80 rr    SJMP rel             (unconditional transfer, relative operand)
//   E5 99    MOV A,SBUF           (next byte of serial input, 0 when none is waiting)
//   E5 dd    MOV A,dd             (data space byte)
//   F5 99    MOV SBUF,A           (sends A on serial channel 0)
//   F5 dd    MOV dd,A             (data space byte)
//   anything else: SIM_UNKNOWN_OPCODE, the PC unchanged.
// Spaces: 0 "Data Memory" (256 bytes; the stack grows up from SP 7), 1 "Program Memory" (4 KB).
// Registers: "A", "SP", "PC". Ports for an observer: Port0 = A, Port1 = SP, Port2/3 = PC.
// The option text "ForgetSink" makes the target drop its message sink unreleased when it is
// destroyed: a faulty target for the host's leak check.
#pragma once

#include <cstdint>
#include <memory>

#include "simtarget/target_base.h"

class CFakeTarget : public CTargetBase {
public:
    static constexpr uint32_t kDataSize = 256;
    static constexpr uint32_t kProgramSize = 4096;

    explicit CFakeTarget(const char* options);
    virtual ~CFakeTarget();

    // Test helper: loads `bytes` at `address` as if from a program file (spaces created anew,
    // target loaded) without touching the file system.
    bool LoadImage(uint32_t address, const uint8_t* bytes, uint32_t count);
    const char* GetOptions() const { return m_options; }
    CCallStack* GetCallStack() { return m_callStack.get(); }
    // Instructions executed since construction, and resets and stops seen.
    uint64_t GetExecutedCount() const { return m_executed; }
    int GetStartCount() const { return m_starts; }
    int GetStopCount() const { return m_stops; }
    // Order of the last Reset's calls: 'S' stop, 'R' start.
    const char* GetResetTrail() const { return m_trail; }

    // ISimTarget
    // Destroys the most derived target (and frees it with kSimDestroyFree); returns this.
    void* SIM_CALL Destroy(uint32_t flags) override;
    void SIM_CALL SetPortObserver(ISimPortObserver* observer) override;
    int32_t SIM_CALL GetRegisterCount() override;
    const char* SIM_CALL GetRegisterName(int32_t index) override;
    uint32_t SIM_CALL GetRegister(const char* name) override;
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;
    int32_t SIM_CALL GetSimulateTimers() override { return m_options4[0]; }
    int32_t SIM_CALL GetSimulateInterrupts() override { return m_options4[1]; }
    int32_t SIM_CALL GetSimulateSerial() override { return m_options4[2]; }
    int32_t SIM_CALL GetHardwarePortMode() override { return m_options4[3]; }
    void SIM_CALL SetSimulateTimers(int32_t value) override { m_options4[0] = value; }
    void SIM_CALL SetSimulateInterrupts(int32_t value) override { m_options4[1] = value; }
    void SIM_CALL SetSimulateSerial(int32_t value) override { m_options4[2] = value; }
    void SIM_CALL SetHardwarePortMode(int32_t value) override { m_options4[3] = value; }
    int32_t SIM_CALL GetPeripheralItemCount() override { return 1; }
    void SIM_CALL GetPeripheralItemText(int32_t index, SimPeripheralItem* item) override;
    void SIM_CALL EditPeripheralItem(int32_t index, SimPeripheralItem* item) override;
    int32_t SIM_CALL HasCapability(int32_t kind) override { return kind == 1 ? 1 : 0; }
    SimStatus SIM_CALL SetCommSettings(const comm_settings* settings) override;
    const comm_settings* SIM_CALL GetCommSettings() override;
    SimStatus SIM_CALL LoadProgram(const char* path) override;
    SimStatus SIM_CALL PutSerialInput(int32_t channel, const uint8_t* bytes,
                                      uint32_t count) override;
    int32_t SIM_CALL GetMemorySpaceCount() override { return 2; }
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

    // Framework
    SimStatus StartDebugging() override;
    SimStatus StopDebugging() override;
    SimStatus ExecuteInstruction() override;
    void ReportPorts() override;
    bool IsUnconditionalTransferAt(uint32_t address) override;
    bool IsRelativeBranchAt(uint32_t address) override;

private:
    uint8_t OpcodeAt(uint32_t address);
    bool CreateSpaces();
    static int32_t StoreRecord(void* context, uint32_t address, uint32_t count,
                               const uint8_t* bytes);
    static void RelayMessage(void* context, int32_t level, const char* text);
    void ReadPorts(uint32_t values[4]);
    SimStatus Push(uint8_t value);

    char m_options[64] = {};
    std::unique_ptr<CMemorySegment> m_data;
    std::unique_ptr<CProgramMemory> m_program;
    std::unique_ptr<CCallStack> m_callStack;
    uint32_t m_pc = 0;
    uint8_t m_sp = 7;
    uint8_t m_a = 0;
    int32_t m_options4[4] = {};
    uint8_t m_settings[kSimSerialSettingsSize] = {};
    uint8_t m_input[256] = {};  // serial input waiting, a ring
    uint32_t m_inputFirst = 0;
    uint32_t m_inputCount = 0;
    ISimPortObserver* m_observer = nullptr;
    uint64_t m_executed = 0;
    int m_starts = 0;
    int m_stops = 0;
    char m_trail[8] = {};
};
