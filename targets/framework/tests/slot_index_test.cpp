// Slot indices of every operation of the host interfaces: the host calls them by position.
#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

#include "simtarget/sim_interfaces.h"
#include "simtarget/target_base.h"
#include "slot_of.h"

namespace {

TEST(InterfaceSlots, FactoryOperationsSitInTheHostsOrder) {
    EXPECT_SLOT(ISimFactory, Destroy, 0);
    EXPECT_SLOT(ISimFactory, GetTargetTypeForChip, 1);
    EXPECT_SLOT(ISimFactory, GetTargetType, 2);
    EXPECT_SLOT(ISimFactory, Reserved3, 3);
    EXPECT_SLOT(ISimFactory, GetFamilyName, 4);
    EXPECT_SLOT(ISimFactory, GetManufacturers, 5);
    EXPECT_SLOT(ISimFactory, GetChips, 6);
    EXPECT_SLOT(ISimFactory, GetDefaultChip, 7);
    EXPECT_SLOT(ISimFactory, QueryFlag8, 8);
    EXPECT_SLOT(ISimFactory, QueryFlag9, 9);
    EXPECT_SLOT(ISimFactory, QueryFlag10, 10);
    EXPECT_SLOT(ISimFactory, CreateTarget, 11);
}

TEST(InterfaceSlots, TargetOperationsSitInTheHostsOrder) {
    EXPECT_SLOT(ISimTarget, Destroy, 0);
    EXPECT_SLOT(ISimTarget, SetPortObserver, 1);
    EXPECT_SLOT(ISimTarget, GetRegisterCount, 2);
    EXPECT_SLOT(ISimTarget, GetRegisterName, 3);
    EXPECT_SLOT(ISimTarget, GetRegister, 4);
    EXPECT_SLOT(ISimTarget, SetRegister, 5);
    EXPECT_SLOT(ISimTarget, GetSimulateTimers, 6);
    EXPECT_SLOT(ISimTarget, GetSimulateInterrupts, 7);
    EXPECT_SLOT(ISimTarget, GetSimulateSerial, 8);
    EXPECT_SLOT(ISimTarget, GetHardwarePortMode, 9);
    EXPECT_SLOT(ISimTarget, SetSimulateTimers, 10);
    EXPECT_SLOT(ISimTarget, SetSimulateInterrupts, 11);
    EXPECT_SLOT(ISimTarget, SetSimulateSerial, 12);
    EXPECT_SLOT(ISimTarget, SetHardwarePortMode, 13);
    EXPECT_SLOT(ISimTarget, Reserved14, 14);
    EXPECT_SLOT(ISimTarget, GetPeripheralItemCount, 15);
    EXPECT_SLOT(ISimTarget, GetPeripheralItemText, 16);
    EXPECT_SLOT(ISimTarget, EditPeripheralItem, 17);
    EXPECT_SLOT(ISimTarget, HasCapability, 18);
    EXPECT_SLOT(ISimTarget, SetCommSettings, 19);
    EXPECT_SLOT(ISimTarget, GetCommSettings, 20);
    EXPECT_SLOT(ISimTarget, LoadProgram, 21);
    EXPECT_SLOT(ISimTarget, PutSerialInput, 22);
    EXPECT_SLOT(ISimTarget, GetMaxBreakpoints, 23);
    EXPECT_SLOT(ISimTarget, AddBreakpoint, 24);
    EXPECT_SLOT(ISimTarget, EnableBreakpoint, 25);
    EXPECT_SLOT(ISimTarget, DisableBreakpoint, 26);
    EXPECT_SLOT(ISimTarget, RemoveBreakpoint, 27);
    EXPECT_SLOT(ISimTarget, DisableAllBreakpoints, 28);
    EXPECT_SLOT(ISimTarget, RemoveAllBreakpoints, 29);
    EXPECT_SLOT(ISimTarget, GetBreakpoint, 30);
    EXPECT_SLOT(ISimTarget, GetMemorySpaceCount, 31);
    EXPECT_SLOT(ISimTarget, GetMemorySpaceInfo, 32);
    EXPECT_SLOT(ISimTarget, ReadMemory, 33);
    EXPECT_SLOT(ISimTarget, WriteMemory, 34);
    EXPECT_SLOT(ISimTarget, GetRegisterDumpText, 35);
    EXPECT_SLOT(ISimTarget, GetPC, 36);
    EXPECT_SLOT(ISimTarget, GetSP, 37);
    EXPECT_SLOT(ISimTarget, GetPCAndFrame, 38);
    EXPECT_SLOT(ISimTarget, Reserved39, 39);
    EXPECT_SLOT(ISimTarget, GetCallStackText, 40);
    EXPECT_SLOT(ISimTarget, IsReturnAt, 41);
    EXPECT_SLOT(ISimTarget, IsCallAt, 42);
    EXPECT_SLOT(ISimTarget, GetNextInstructionAddress, 43);
    EXPECT_SLOT(ISimTarget, Reset, 44);
    EXPECT_SLOT(ISimTarget, Stop, 45);
    EXPECT_SLOT(ISimTarget, RequestBreak, 46);
    EXPECT_SLOT(ISimTarget, StepInstruction, 47);
    EXPECT_SLOT(ISimTarget, StepUntil, 48);
    EXPECT_SLOT(ISimTarget, RunSteps, 49);
    EXPECT_SLOT(ISimTarget, StepOver, 50);
    EXPECT_SLOT(ISimTarget, StepOut, 51);
}

TEST(InterfaceSlots, HostObjectOperationsSitInTheHostsOrder) {
    EXPECT_SLOT(ISimMessageSink, Output, 0);
    EXPECT_SLOT(ISimMessageSink, Release, 1);
    EXPECT_SLOT(ISimDebugInfo, ResolveAddress, 0);
    EXPECT_SLOT(ISimDebugInfo, IsKnownAddress, 1);
    EXPECT_SLOT(ISimDebugInfo, Release, 2);
    EXPECT_SLOT(ISimSerialTerminal, Transmit, 0);
    EXPECT_SLOT(ISimSerialTerminal, Release, 1);
    EXPECT_SLOT(ISimPortObserver, UpdateValues, 3);
    EXPECT_SLOT(ISimPortObserver, IsActive, 4);
}

TEST(InterfaceSlots, TargetBaseKeepsTheHostSlotsAndAddsItsOwnBehindThem) {
    // Overriding in the base must not move a host slot.
    EXPECT_SLOT(CTargetBase, Destroy, 0);
    EXPECT_SLOT(CTargetBase, AddBreakpoint, 24);
    EXPECT_SLOT(CTargetBase, StepOut, 51);
    // The framework's own operations follow slot 51 in the order the simulator target expects.
    EXPECT_SLOT(CTargetBase, PutRegister, 52);
    EXPECT_SLOT(CTargetBase, SetDebugInfo, 53);
    EXPECT_SLOT(CTargetBase, IsKnownAddress, 56);
    EXPECT_SLOT(CTargetBase, SetMessageSink, 57);
    EXPECT_SLOT(CTargetBase, OutputMessage, 58);
    EXPECT_SLOT(CTargetBase, SetSerialTerminal, 59);
    EXPECT_SLOT(CTargetBase, SerialOutput, 60);
    EXPECT_SLOT(CTargetBase, ValidateBreakpoint, 61);
    EXPECT_SLOT(CTargetBase, BreakpointRemoved, 62);
    EXPECT_SLOT(CTargetBase, StartDebugging, 63);
    EXPECT_SLOT(CTargetBase, StopDebugging, 64);
}

// A target's own virtual operations come right after the framework's: the run loops' operations
// and the destructor have no slot in the host's table.
class FirstOwnSlot : public CTargetBase {
public:
    virtual int32_t OwnOperation() { return 0; }
    SimStatus ExecuteInstruction() override { return SIM_OK; }
    virtual int32_t SecondOwnOperation() { return 0; }
};

TEST(InterfaceSlots, TargetsOwnOperationsBeginAtSlot65) {
    EXPECT_SLOT(FirstOwnSlot, OwnOperation, 65);
    // An operation of the run loops takes the next slot where the target declares it.
    EXPECT_SLOT(FirstOwnSlot, ExecuteInstruction, 66);
    EXPECT_SLOT(FirstOwnSlot, SecondOwnOperation, 67);
}

// The layout of the records and scalars the host shares.
static_assert(sizeof(SimStatus) == 4, "SimStatus is a 32-bit integer");
static_assert(sizeof(SimPeripheralItem) == 72, "peripheral item record");
static_assert(std::is_same<std::underlying_type<SimStatus>::type, int32_t>::value, "");

#if defined(_WIN32) && !defined(_WIN64)
// The host's compiler passes `this` in ECX and lets the callee pop the arguments.
static_assert(std::is_same<decltype(&ISimTarget::GetPC),
                           SimStatus (__thiscall ISimTarget::*)(uint32_t*)>::value,
              "thiscall");
static_assert(!std::is_same<decltype(&ISimTarget::GetPC),
                            SimStatus (__attribute__((cdecl)) ISimTarget::*)(uint32_t*)>::value,
              "not cdecl");
static_assert(!std::is_same<decltype(&ISimDebugInfo::IsKnownAddress),
                            uint8_t (__attribute__((cdecl)) ISimDebugInfo::*)(uint32_t)>::value,
              "not cdecl");
static_assert(sizeof(void*) == 4, "32-bit pointers");
#endif

}  // namespace
