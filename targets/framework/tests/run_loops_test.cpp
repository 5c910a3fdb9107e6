// The run loops of the target base on the test machine: counts, unbounded runs, stop addresses
// and ranges, the step flags, stepping over and out of routines, and break requests.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "fake_target.h"
#include "sim_host_fakes.h"

namespace {

// 0x00 MOV A,#1; 0x02 LCALL 0x10; 0x05 INC A; 0x06 LCALL 0x20; 0x09 NOP; 0x0A SJMP $
// 0x10 NOP; 0x11 LCALL 0x20 (nested); 0x14 INC A; 0x15 RET
// 0x20 NOP; 0x21 NOP; 0x22 RET
// 0x30 SJMP $ (a routine that never returns); 0x40 LJMP 0x50; 0x50 JNZ +2; 0x52 NOP ...
std::vector<uint8_t> Program() {
    std::vector<uint8_t> p(0x60, 0x00);
    auto put = [&p](uint32_t at, std::vector<uint8_t> bytes) {
        for (size_t i = 0; i < bytes.size(); ++i) {
            p[at + i] = bytes[i];
        }
    };
    put(0x00, {0x74, 0x01, 0x12, 0x00, 0x10, 0x04, 0x12, 0x00, 0x20, 0x00, 0x80, 0xFE});
    put(0x10, {0x00, 0x12, 0x00, 0x20, 0x04, 0x22});
    put(0x20, {0x00, 0x00, 0x22});
    put(0x30, {0x80, 0xFE});
    put(0x40, {0x02, 0x00, 0x50});
    put(0x50, {0x70, 0x02});
    return p;
}

// The test machine, telling another thread when a run has executed its first instruction: a break
// requested from then on is one the run must see (each run clears older requests as it starts).
class CWatchedTarget : public CFakeTarget {
public:
    using CFakeTarget::CFakeTarget;

    std::future<void> NextInstructionRuns() {
        m_runs = std::promise<void>();
        m_armed.store(true);
        return m_runs.get_future();
    }
    SimStatus ExecuteInstruction() override {
        SimStatus status = CFakeTarget::ExecuteInstruction();
        if (m_armed.exchange(false)) {
            m_runs.set_value();
        }
        return status;
    }

private:
    std::promise<void> m_runs;
    std::atomic<bool> m_armed{false};
};

class RunLoops : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<uint8_t> program = Program();
        ASSERT_TRUE(target.LoadImage(0, program.data(), static_cast<uint32_t>(program.size())));
        ASSERT_EQ(target.Reset(), SIM_OK);
    }
    uint32_t PC() {
        uint32_t pc = 0;
        EXPECT_EQ(target.GetPC(&pc), SIM_OK);
        return pc;
    }
    void At(uint32_t pc) { target.SetRegister("PC", pc); }
    void Patch(uint32_t address, uint8_t value) {
        uint32_t written = 0;
        ASSERT_EQ(target.WriteMemory(address, &value, 1, &written, 1), SIM_OK);
    }
    void Breakpoint(uint32_t address) {
        int32_t index = 0;
        ASSERT_EQ(target.AddBreakpoint(address, &index), SIM_OK);
    }
    uint64_t Executed() const { return target.GetExecutedCount(); }

    // Runs `run` while another thread asks for a break once the run is under way; returns its
    // status.
    template <typename Run>
    SimStatus RunWithBreakFromAnotherThread(Run run) {
        std::future<void> running = target.NextInstructionRuns();
        std::thread breaker([this, &running] {
            if (running.wait_for(std::chrono::seconds(30)) == std::future_status::ready) {
                target.RequestBreak();
            }
        });
        SimStatus status = run();
        breaker.join();
        return status;
    }

    CWatchedTarget target{""};
};

TEST_F(RunLoops, EveryLoopAnswersNotLoadedBeforeAProgramIsLoaded) {
    CFakeTarget empty("");
    EXPECT_EQ(empty.RunSteps(1), SIM_NOT_LOADED);
    EXPECT_EQ(empty.RunSteps(-1), SIM_NOT_LOADED);
    EXPECT_EQ(empty.StepUntil(0, 0xFFFFFFFF, 0, 0, 0), SIM_NOT_LOADED);
    EXPECT_EQ(empty.StepOver(1), SIM_NOT_LOADED);
    EXPECT_EQ(empty.StepOut(1), SIM_NOT_LOADED);
    EXPECT_EQ(empty.StepInstruction(), SIM_NOT_LOADED);
    EXPECT_EQ(empty.Reset(), SIM_NOT_LOADED);
    EXPECT_EQ(empty.Stop(), SIM_NOT_LOADED);
    EXPECT_EQ(empty.RequestBreak(), SIM_NOT_LOADED);
    EXPECT_EQ(empty.GetExecutedCount(), 0u);
    EXPECT_EQ(empty.GetStartCount() + empty.GetStopCount(), 0);
}

TEST_F(RunLoops, ResetStopsThenStartsAndStopOnlyStops) {
    EXPECT_STREQ(target.GetResetTrail(), "SR");
    ASSERT_EQ(target.Stop(), SIM_OK);
    EXPECT_EQ(target.GetStopCount(), 2);
    EXPECT_EQ(target.GetStartCount(), 1);
    EXPECT_STREQ(target.GetResetTrail(), "S");
}

TEST_F(RunLoops, RunStepsExecutesTheFirstInstructionEvenOnABreakpoint) {
    Breakpoint(0x00);
    EXPECT_EQ(target.RunSteps(1), SIM_OK);
    EXPECT_EQ(PC(), 0x02u);
    EXPECT_EQ(Executed(), 1u);
}

TEST_F(RunLoops, RunStepsWithACountStopsAfterThatManyOrAtABreakpoint) {
    EXPECT_EQ(target.RunSteps(3), SIM_OK);
    EXPECT_EQ(PC(), 0x11u);
    EXPECT_EQ(Executed(), 3u);
    Breakpoint(0x21);
    EXPECT_EQ(target.RunSteps(100), SIM_OK);
    EXPECT_EQ(PC(), 0x21u);
    EXPECT_EQ(Executed(), 5u);
}

TEST_F(RunLoops, UnboundedRunStopsOnTheFirstEnabledBreakpointItLandsOn) {
    Breakpoint(0x10);
    Breakpoint(0x14);
    ASSERT_EQ(target.DisableBreakpoint(1), SIM_OK);
    EXPECT_EQ(target.RunSteps(-1), SIM_OK);
    EXPECT_EQ(PC(), 0x14u);
    EXPECT_EQ(Executed(), 7u);
}

TEST_F(RunLoops, AFailingInstructionEndsARunWithItsStatusAndKeepsThePC) {
    Patch(0x14, 0xA5);
    EXPECT_EQ(target.RunSteps(-1), SIM_UNKNOWN_OPCODE);
    EXPECT_EQ(PC(), 0x14u);
    EXPECT_EQ(target.RunSteps(5), SIM_UNKNOWN_OPCODE);
    EXPECT_EQ(PC(), 0x14u);
}

TEST_F(RunLoops, ARunForgetsABreakRequestFromBeforeIt) {
    // Reset's stop raised the request; the run clears it and goes on.
    EXPECT_TRUE(target.IsBreakRequested());
    EXPECT_EQ(target.RunSteps(4), SIM_OK);
    EXPECT_EQ(Executed(), 4u);
    ASSERT_EQ(target.RequestBreak(), SIM_OK);
    Breakpoint(0x0A);
    EXPECT_EQ(target.RunSteps(-1), SIM_OK);
    EXPECT_EQ(PC(), 0x0Au);
}

TEST_F(RunLoops, ABreakRequestFromAnotherThreadStopsEveryKindOfRun) {
    At(0x0A);  // SJMP $
    EXPECT_EQ(RunWithBreakFromAnotherThread([this] { return target.RunSteps(-1); }), SIM_OK);
    EXPECT_GT(Executed(), 0u);
    // A count of 0 never reaches its last instruction; a huge count takes too long to wait for.
    EXPECT_EQ(RunWithBreakFromAnotherThread([this] { return target.RunSteps(0); }), SIM_OK);
    uint64_t before = Executed();
    EXPECT_EQ(RunWithBreakFromAnotherThread([this] { return target.RunSteps(2000000000); }),
              SIM_OK);
    EXPECT_LT(Executed() - before, 2000000000u);
    EXPECT_EQ(RunWithBreakFromAnotherThread(
                  [this] { return target.StepUntil(0x0FFF, 0xFFFFFFFF, 0, 0, 0); }),
              SIM_OK);
    EXPECT_EQ(PC(), 0x0Au);
}

TEST_F(RunLoops, ABreakRequestStopsStepOverAndStepOutInARoutineThatNeverReturns) {
    Patch(0x03, 0x00);
    Patch(0x04, 0x30);  // 0x02: LCALL 0x0030, which never returns
    At(0x02);
    EXPECT_EQ(RunWithBreakFromAnotherThread([this] { return target.StepOver(1); }), SIM_OK);
    EXPECT_EQ(PC(), 0x30u);
    EXPECT_EQ(RunWithBreakFromAnotherThread([this] { return target.StepOut(0); }), SIM_OK);
    EXPECT_EQ(PC(), 0x30u);
}

TEST_F(RunLoops, StepUntilStopsAtTheAddressOrInsideTheRangeAfterIt) {
    EXPECT_EQ(target.StepUntil(0x14, 0xFFFFFFFF, 0, 0, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x14u);
    ASSERT_EQ(target.Reset(), SIM_OK);
    // 0x0F is never reached; 0x10 is the first PC inside 0x10..0x12.
    EXPECT_EQ(target.StepUntil(0x0F, 0x12, 0, 0, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x10u);
    ASSERT_EQ(target.Reset(), SIM_OK);
    // The range starts after the stop address: 0x11 lies below 0x13..0x14 and does not stop.
    EXPECT_EQ(target.StepUntil(0x12, 0x14, 0, 0, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x14u);
}

TEST_F(RunLoops, StepUntilStopsAtABreakpointOrAFailure) {
    Breakpoint(0x20);
    EXPECT_EQ(target.StepUntil(0x0A, 0xFFFFFFFF, 0, 0, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x20u);
    Patch(0x21, 0xA5);
    EXPECT_EQ(target.StepUntil(0x0A, 0xFFFFFFFF, 0, 0, 0), SIM_UNKNOWN_OPCODE);
    EXPECT_EQ(PC(), 0x21u);
}

TEST_F(RunLoops, StepUntilTakesOneStepOverATransferWhenItsFlagAsksForIt) {
    At(0x40);  // LJMP 0x50
    EXPECT_EQ(target.StepUntil(0x0FFF, 0xFFFFFFFF, 0, 0, 1), SIM_OK);
    EXPECT_EQ(PC(), 0x50u);
    EXPECT_EQ(Executed(), 1u);
    // JNZ: the relative flag, not the transfer flag, applies.
    Breakpoint(0x53);
    EXPECT_EQ(target.StepUntil(0x0FFF, 0xFFFFFFFF, 0, 0, 1), SIM_OK);
    EXPECT_EQ(PC(), 0x53u);
    At(0x50);
    EXPECT_EQ(target.StepUntil(0x0FFF, 0xFFFFFFFF, 0, 1, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x52u);
}

TEST_F(RunLoops, StepUntilStopsInACalledRoutineTheHostKnows) {
    SymbolTable symbols;
    symbols.symbols[0x20] = "delay";
    target.SetDebugInfo(&symbols);
    Breakpoint(0x0A);
    EXPECT_EQ(target.StepUntil(0x0FFF, 0xFFFFFFFF, 0, 0, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x0Au);
    ASSERT_EQ(target.Reset(), SIM_OK);
    // Landing on the known address 0x20 by a call stops; 0x10 is not known.
    uint64_t before = Executed();
    EXPECT_EQ(target.StepUntil(0x0FFF, 0xFFFFFFFF, 1, 0, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x20u);
    EXPECT_EQ(Executed() - before, 4u);
    target.SetDebugInfo(nullptr);
    // Without debug information every address counts as known: the first call stops.
    ASSERT_EQ(target.Reset(), SIM_OK);
    EXPECT_EQ(target.StepUntil(0x0FFF, 0xFFFFFFFF, 1, 0, 0), SIM_OK);
    EXPECT_EQ(PC(), 0x10u);
}

TEST_F(RunLoops, StepOverAWholeInstructionThatIsNoCallIsOneStep) {
    EXPECT_EQ(target.StepOver(1), SIM_OK);
    EXPECT_EQ(PC(), 0x02u);
    EXPECT_EQ(Executed(), 1u);
}

TEST_F(RunLoops, StepOverACallRunsTheNestedRoutinesAndStopsAfterIt) {
    At(0x02);
    Breakpoint(0x20);  // inside the routine: not a stop while stepping over
    EXPECT_EQ(target.StepOver(1), SIM_OK);
    EXPECT_EQ(PC(), 0x05u);
    EXPECT_EQ(Executed(), 8u);
    ASSERT_NE(target.GetCallStack(), nullptr);
    EXPECT_EQ(target.GetCallStack()->GetCount(), 1);  // only the restart frame
}

TEST_F(RunLoops, StepOverWithoutWholeRunsToTheNextCallOverItAndOnToTheFollowingCall) {
    EXPECT_EQ(target.StepOver(0), SIM_OK);
    EXPECT_EQ(PC(), 0x06u);
    ASSERT_EQ(target.Reset(), SIM_OK);
    Breakpoint(0x02);
    uint64_t before = Executed();
    EXPECT_EQ(target.StepOver(0), SIM_OK);
    EXPECT_EQ(PC(), 0x02u);
    EXPECT_EQ(Executed() - before, 1u);
}

TEST_F(RunLoops, AFailureInsideASteppedOverRoutineReturnsAtOnceWithoutRunningItAgain) {
    Patch(0x14, 0xA5);
    At(0x02);
    EXPECT_EQ(target.StepOver(1), SIM_UNKNOWN_OPCODE);
    EXPECT_EQ(PC(), 0x14u);
    // LCALL, NOP, LCALL, NOP, NOP, RET and the one failing attempt.
    EXPECT_EQ(Executed(), 7u);
}

TEST_F(RunLoops, StepOutOfARoutineStopsAfterItsReturn) {
    ASSERT_EQ(target.RunSteps(2), SIM_OK);  // into the routine at 0x10
    ASSERT_EQ(PC(), 0x10u);
    EXPECT_EQ(target.StepOut(1), SIM_OK);
    EXPECT_EQ(PC(), 0x05u);
    ASSERT_EQ(target.Reset(), SIM_OK);
    ASSERT_EQ(target.StepUntil(0x22, 0xFFFFFFFF, 0, 0, 0), SIM_OK);
    uint64_t before = Executed();
    EXPECT_EQ(target.StepOut(1), SIM_OK);  // on a return: that one step only
    EXPECT_EQ(PC(), 0x14u);
    EXPECT_EQ(Executed() - before, 1u);
}

TEST_F(RunLoops, StepOutWithoutWholeGoesOnToTheNextCallOrAnotherBreakpoint) {
    ASSERT_EQ(target.RunSteps(2), SIM_OK);
    EXPECT_EQ(target.StepOut(0), SIM_OK);
    EXPECT_EQ(PC(), 0x06u);

    ASSERT_EQ(target.Reset(), SIM_OK);
    ASSERT_EQ(target.RunSteps(2), SIM_OK);
    Breakpoint(0x15);  // the routine's return: the run ends after executing it
    EXPECT_EQ(target.StepOut(0), SIM_OK);
    EXPECT_EQ(PC(), 0x05u);
}

TEST_F(RunLoops, AFailureWhileSteppingOutReturnsAtOnce) {
    ASSERT_EQ(target.RunSteps(2), SIM_OK);
    Patch(0x20, 0xA5);
    uint64_t before = Executed();
    EXPECT_EQ(target.StepOut(1), SIM_UNKNOWN_OPCODE);
    EXPECT_EQ(PC(), 0x20u);
    EXPECT_EQ(Executed() - before, 3u);
}

}  // namespace
