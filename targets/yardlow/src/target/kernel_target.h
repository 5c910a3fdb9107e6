// CKernelTarget: the board debugger's target. It debugs a program on the 8051 debug board through
// the debug kernel it downloads there, with the register model as the host's view of the CPU.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "boardlink/cpu_state.h"
#include "boardlink/model_target.h"
#include "boardlink/register_model.h"
#include "boardloader/kernel_link.h"
#include "comms/comms.h"
#include "simtarget/chip_spaces.h"
#include "simtarget/target_base.h"

namespace yardlow {

// The four memory spaces the host sees (kSpaceSfr to kMemorySpaceCount).
using namespace chip_spaces;

// The external data space the option text chooses ("ExtMem=None|Overlapped|Separate").
enum class ExtMemMode : int { None = 0, Overlapped = 1, Separate = 2 };

// KernelExecute's modes: a fast step with the whole register block, the registers read back,
// a fast step on the kernel's own registers.
enum KernelMode : int32_t { kFastStep = 1, kReadContext = 2, kFastStepFromPc = 3 };

// The virtual operations are declared in slot order: the target's own (SetModelRegister,
// KernelExecute) follow the framework's, and nothing but the destructor comes after them.
class CKernelTarget : public TModelTarget<CKernelTarget, CTargetBase> {
public:
    // Reads the "ExtMem=" choice from `options` (null for none).
    explicit CKernelTarget(const char* options);

    // --- ISimTarget ---
    void* SIM_CALL Destroy(uint32_t flags) override;
    int32_t SIM_CALL GetRegisterCount() override { return kRegisterCount; }
    const char* SIM_CALL GetRegisterName(int32_t index) override { return RegisterName(index); }
    uint32_t SIM_CALL GetRegister(const char* name) override;
    // Into the model, then the model to the board ("DPTR->": the external-data byte on the
    // board, then in the model).
    void SIM_CALL SetRegister(const char* name, uint32_t value) override;
    int32_t SIM_CALL HasCapability(int32_t kind) override { return kind == 1 ? 1 : 0; }
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
    // Writes the call-stack text and answers SIM_NOT_SUPPORTED, as the host expects of it.
    SimStatus SIM_CALL GetCallStackText(char* buffer, int32_t length) override;
    SimStatus SIM_CALL StepInstruction() override;
    SimStatus SIM_CALL StepUntil(uint32_t stopAddress, uint32_t rangeEnd, uint8_t stopInKnownCalls,
                                 uint8_t stepRelative, uint8_t stepUnconditional) override;
    SimStatus SIM_CALL RunSteps(int32_t count) override;
    SimStatus SIM_CALL StepOver(uint8_t whole) override;
    SimStatus SIM_CALL StepOut(uint8_t whole) override;
    // StopDebugging, then StartDebugging: 1108 when the stop left a run still going (nothing
    // is started then) or when program bytes under breakpoints of an earlier run could not be
    // put back; 0 otherwise.
    SimStatus SIM_CALL Reset() override;
    // StopDebugging: 1108 when a run is still going after the stop's wait, 0 otherwise.
    SimStatus SIM_CALL Stop() override;

    // --- framework ---
    // The model's reset, the PC at the program's start, the kernel started (run mode), and the
    // program's bytes back under breakpoints an earlier run left planted (1108 when they could
    // not be put back).
    SimStatus StartDebugging() override;
    // Ends a run in progress (also from another thread), clears RAM and external data, and
    // holds the board (program mode). 1108, with model, port and board untouched, when the run
    // has not ended after the wait for it.
    SimStatus StopDebugging() override;

    // --- the target's own operations ---
    // Changes the register model only.
    virtual void SetModelRegister(const char* name, uint32_t value);
    // Fast execution (KernelMode): 0, or 1108 after "!!! E R R O R !!! ..." (or the two
    // kernel-area lines), or the port's open failure.
    virtual SimStatus KernelExecute(int32_t mode);

    // --- what the run loops ask ---
    // One instruction with the whole register block.
    SimStatus ExecuteInstruction() override { return StepOnBoard(); }
    bool IsUnconditionalTransferAt(uint32_t address) override;
    bool IsRelativeBranchAt(uint32_t address) override;

    virtual ~CKernelTarget();

    // --- for tests ---
    CKernelLink& Link() { return m_link; }
    CpuState* Model() { return m_model.get(); }
    CComms& Port() { return m_comms; }
    ExtMemMode GetExtMemMode() const { return m_extMem; }
    bool IsExecuting() const { return m_executing.load() != 0; }

private:
    // Sets the executing flag for the length of a kernel exchange.
    class Executing {
    public:
        explicit Executing(CKernelTarget& target) : m_target(target) {
            m_target.m_executing.store(1);
        }
        ~Executing() { m_target.m_executing.store(0); }
        Executing(const Executing&) = delete;
        Executing& operator=(const Executing&) = delete;

    private:
        CKernelTarget& m_target;
    };

    // --- loading (target_load.cpp) ---
    static int32_t StoreLoaded(void* context, uint32_t address, uint32_t count,
                               const uint8_t* bytes);
    static void HexMessage(void* context, int32_t level, const char* text);
    // Reads a program file into program memory; false after "Cannot load '%s' into memory".
    bool ReadProgramFile(const char* path);
    SimStatus RefuseLoad();

    // --- the board (target_debugging.cpp) ---
    // Opens the port when it is closed: 0 or Initialize's code.
    int OpenPort();
    // 100 ms per byte, and the link on the port's handle.
    void PrepareExchange();
    void PutContext();
    // False when a board exchange failed.
    bool GetContext();
    void GetShortContext();
    SimStatus StepOnBoard();
    // The call stack after the instruction at `address` with `opcode` ran.
    void UpdateCallStack(uint32_t address, uint8_t opcode);
    void KernelAreaLines();
    SimStatus BoardDoesNotReply();
    bool ContextPcInKernel() const { return m_model->m_pc < kKernelAreaEnd; }

    // --- runs (target_runs.cpp) ---
    SimStatus PrepareBreakpoints();
    SimStatus Go();
    // Fast steps: the first of a sequence carries the whole register block (mode 1), the ones
    // after it go on from the kernel's own registers (mode 3).
    SimStatus FastStep(bool* first);
    bool AtCall();
    bool AtReturn();
    bool AtBreakpoint() { return IsBreakpointAt(m_model->m_pc); }
    // The 0-based table entry of the enabled breakpoint at `address`, -1 when there is none.
    int32_t EnabledBreakpointEntry(uint32_t address) const;
    // Whether an enabled breakpoint's three bytes cover `address`.
    bool CoveredByBreakpoint(uint32_t address) const;
    // Slots a run could not restore (the program went on running on the board): their bytes go
    // back before anything runs, reads program memory or plants breakpoints, and when the target
    // goes. A held board is let run for it and held again. False when some are still left over.
    bool RestoreLeftoverSlots();

    // --- memory (target_memory.cpp) ---
    RegisterSpaces Spaces();

    TargetLinkOutput<CKernelTarget> m_linkOutput{*this};
    CKernelLink m_link{m_linkOutput};
    std::unique_ptr<CpuState> m_model;
    std::unique_ptr<CCallStack> m_callStack;
    uint8_t m_lastOpcode = 0;
    alignas(4) uint8_t m_serialSettings[kSimSerialSettingsSize] = {};
    CComms m_comms;
    ExtMemMode m_extMem = ExtMemMode::None;
    // Shared with the host's thread that stops a run: 1 while a kernel exchange is in progress.
    std::atomic<uint8_t> m_executing{0};
    // The board is held (program mode) from StopDebugging to StartDebugging.
    std::atomic<bool> m_held{false};
    // What the load noted: the first address written (the kernel's first record), and the
    // user's file's first record (the program's start) and lowest address.
    uint32_t m_firstWritten = 0;
    bool m_anyWritten = false;
    uint32_t m_programStart = 0;
    uint32_t m_userLowest = 0;
    bool m_readingUserFile = false;
    bool m_userRecordSeen = false;
    const char* m_loadingPath = nullptr;
};

}  // namespace yardlow
