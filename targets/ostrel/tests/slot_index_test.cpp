// The slots of the simulated chip's own virtual operations, which follow the framework's: a
// host or a derived target reaches them by position.
#include <gtest/gtest.h>

#include "c8051_target.h"
#include "slot_of.h"
#include "target_variants.h"

namespace ostrel {
namespace {

TEST(TargetSlots, TheChipsOwnOperationsFollowTheFrameworksInTheirFixedOrder) {
    EXPECT_SLOT(C8051Target, StopDebugging, 64);
    EXPECT_SLOT(C8051Target, GetHardwarePortsActive, 65);
    EXPECT_SLOT(C8051Target, ReadBoardSfr, 66);
    EXPECT_SLOT(C8051Target, WriteBoardSfr, 67);
    EXPECT_SLOT(C8051Target, ExecuteInstruction, 68);
    EXPECT_SLOT(C8051Target, AdvanceTimers, 69);
    EXPECT_SLOT(C8051Target, AdvanceTimersSecondCycle, 70);
    EXPECT_SLOT(C8051Target, CheckInterrupts, 71);
    EXPECT_SLOT(C8051Target, CheckExtraInterrupts, 72);
    EXPECT_SLOT(C8051Target, AdvanceSerialPort, 73);
    EXPECT_SLOT(C8051Target, SetHardwarePortsActive, 74);
}

TEST(TargetSlots, EveryChipsClassKeepsThem) {
    EXPECT_SLOT(C8052Target, ExecuteInstruction, 68);
    EXPECT_SLOT(CAT89S53Target, CheckExtraInterrupts, 72);
    EXPECT_SLOT(CGristanT32Target, SetHardwarePortsActive, 74);
    // The host's own slots stay where they were.
    EXPECT_SLOT(C8051Target, RunSteps, 49);
    EXPECT_SLOT(CGristan8Target, GetRegister, 4);
}

}  // namespace
}  // namespace ostrel
