// The monitor link byte by byte against the monitor board: what each command sends, the echoes
// it reads and checks, the register dump's rules and the run that steps off a breakpoint.
#include <gtest/gtest.h>

#include <algorithm>

#include "monitor_fixture.h"
#include "w32/clock.h"

namespace {

using monitortest::MonitorSession;

class Dialogue : public MonitorSession {};

TEST_F(Dialogue, ResetWritesTheRegistersInOrderThenClearsTheFourBreakpoints) {
    Load("");
    ASSERT_TRUE(m_target->Link().Reset());
    // Each command's echo counts hold: a miscounted one would shift every command after it.
    EXPECT_EQ(Sent(true), "CA00CB00CD0000CS07CP1000CW00B00000B10000B20000B30000");
    EXPECT_EQ(Board().Monitor().Chip().Registers().Pc(), 0x1000);
    EXPECT_EQ(Board().Monitor().Chip().Registers().Sp(), 0x07);
}

TEST_F(Dialogue, ExecuteTakesOnlyTheStepAndGoCodes) {
    Load("");
    EXPECT_FALSE(Link().Execute(0x12));
    EXPECT_EQ(Sent(true), "");
    EXPECT_TRUE(Link().Execute(kMonitorStep));
    EXPECT_EQ(Terminal(), "S\r\n*");
}

TEST_F(Dialogue, ABreakpointEchoWithoutItsBlankFailsBeforeTheDigitIsSent) {
    Load("monitor-fault=bad-b-echo");
    EXPECT_FALSE(Link().SetMonitorBreakpoint(0, 0x1013));
    EXPECT_EQ(Sent(true), "B");
    EXPECT_EQ(Board().Monitor().Breakpoint(0), 0);
    EXPECT_FALSE(Link().SetBreakpoint(1, 0x1013));
    EXPECT_EQ(Link().BreakpointAddress(0), 0u);
}

TEST_F(Dialogue, BreakpointsOutsideOneToFourAreRefusedUnsent) {
    Load("");
    EXPECT_FALSE(Link().SetBreakpoint(0, 0x1013));
    EXPECT_FALSE(Link().SetBreakpoint(5, 0x1013));
    EXPECT_EQ(Sent(true), "");
    EXPECT_TRUE(Link().SetBreakpoint(4, 0x1013));
    EXPECT_EQ(Board().Monitor().Breakpoint(3), 0x1013);
    EXPECT_TRUE(Link().ClearBreakpoint(4));
    EXPECT_EQ(Board().Monitor().Breakpoint(3), 0);
    EXPECT_EQ(Link().BreakpointAddress(3), 0u);
}

TEST_F(Dialogue, ChangingDplOrDphSendsTheWholeDptrWithTheOtherByteHeld) {
    Load("");
    Link().Context().dph = 0x12;
    Link().Context().dpl = 0x00;
    const BYTE low = 0x34;
    DWORD written = 0;
    ASSERT_TRUE(Link().WriteMemory(0, 0x82, &low, 1, &written));
    EXPECT_EQ(written, 1u);
    EXPECT_EQ(Sent(true), "CD1234");
    EXPECT_EQ(Board().Monitor().Chip().Registers().Dptr(), 0x1234);
    const BYTE high = 0x56;
    ASSERT_TRUE(Link().WriteMemory(0, 0x83, &high, 1, &written));
    EXPECT_EQ(Board().Monitor().Chip().Registers().Dptr(), 0x5634);
    // Registers the monitor cannot change, and more than one byte, fail unsent.
    m_board->Log().Clear();
    EXPECT_FALSE(Link().WriteMemory(0, 0x90, &low, 1, &written));
    const BYTE two[2] = {1, 2};
    EXPECT_FALSE(Link().WriteMemory(0, 0xE0, two, 2, &written));
    EXPECT_FALSE(Link().WriteMemory(1, 0x1000, &low, 1, &written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(Sent(true), "");
}

TEST_F(Dialogue, AnAlterationWritesTheBoardAndTheContextsWorkingRegisters) {
    Load("");
    const BYTE bytes[3] = {0x42, 0x43, 0x44};
    ASSERT_TRUE(Link().AlterInternalRam(3, 0x06, bytes));
    EXPECT_EQ(Sent(true), "A06424344\r");
    EXPECT_EQ(Board().Monitor().Chip().InternalRam()[0x06], 0x42);
    EXPECT_EQ(Board().Monitor().Chip().InternalRam()[0x08], 0x44);
    EXPECT_EQ(Link().Context().internalRam[0x07], 0x43);
    ASSERT_TRUE(Link().ReadRegisters());
    EXPECT_EQ(Link().Context().internalRam[0x07], 0x43);
}

TEST_F(Dialogue, ADumpWithAPcBelowUserCodeKeepsItsValuesAndFails) {
    Load("monitor-fault=low-pc monitor-fault-at=2");
    // The chip's PC 0x1FFF is dumped as 0FFF.
    ASSERT_TRUE(Link().ChangeRegister16('P', 0x1F, 0xFF));
    ASSERT_TRUE(Link().ChangeRegister8('A', 0x5A));
    m_sink.messages.clear();
    EXPECT_FALSE(Link().ReadRegisters());
    EXPECT_EQ(Link().Context().Pc(), 0x0FFF);
    EXPECT_EQ(Link().Context().acc, 0x5A);
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"Error: Program Counter (PC) is 0FFF. Addresses less than "
                                       "0x1000 are not legal for use with PELMOR"});
}

TEST_F(Dialogue, ADumpWithFewerThanFourteenFieldsFailsAndKeepsTheContext) {
    Load("monitor-fault=short-dump");
    Link().Context().acc = 0x77;
    EXPECT_FALSE(Link().ReadRegisters());
    EXPECT_EQ(Link().Context().acc, 0x77);
    EXPECT_TRUE(m_sink.messages.empty());
}

TEST_F(Dialogue, ARunFromInsideABreakpointStepsOffItFirst) {
    Load("");
    // The PC one byte past a breakpoint's address: stepped once (to 0x1019), then run.
    ASSERT_TRUE(Link().SetBreakpoint(1, 0x1012));
    ASSERT_TRUE(Link().SetBreakpoint(2, 0x1016));
    Link().Context().SetPc(0x1013);
    ASSERT_TRUE(Link().ChangeRegister16('P', 0x10, 0x13));
    m_board->Log().Clear();
    ASSERT_TRUE(Link().Go());
    EXPECT_EQ(Sent(true), "SRG R");
    EXPECT_EQ(Link().Context().Pc(), 0x1016);
}

TEST_F(Dialogue, AStepOffABreakpointThatLandsOnAnotherEndsTheRunThere) {
    Load("");
    ASSERT_TRUE(Link().SetBreakpoint(1, 0x1013));
    ASSERT_TRUE(Link().SetBreakpoint(2, 0x1019));
    ASSERT_TRUE(Link().ChangeRegister16('P', 0x10, 0x13));
    ASSERT_TRUE(Link().ReadRegisters());
    m_board->Log().Clear();
    ASSERT_TRUE(Link().Go());
    EXPECT_EQ(Sent(true), "SR");
    EXPECT_EQ(Link().Context().Pc(), 0x1019);
}

TEST_F(Dialogue, ARunThatNeverLeavesABreakpointsBytesGivesUpAfter1024Steps) {
    // 0x1010 NOP, 0x1011 NOP, 0x1012 SJMP 0x1011: the PC moves on every step, yet never leaves.
    Load("", "tight_loops.hex");
    ASSERT_TRUE(Link().SetBreakpoint(1, 0x1010));
    ASSERT_TRUE(Link().ChangeRegister16('P', 0x10, 0x10));
    Link().Context().SetPc(0x1010);
    m_board->Log().Clear();
    EXPECT_FALSE(Link().Go());
    const std::string sent = Sent(true);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 'S'), kStepOffLimit);
    EXPECT_EQ(sent.find('G'), std::string::npos);
}

TEST_F(Dialogue, ARunWithoutItsPromptFailsAfterItsReadsAndSendsNothingMore) {
    // The load and the reset are eleven commands, the breakpoint the twelfth: the run's answer
    // at the breakpoint lacks its '*'.
    Load("monitor-fault=no-prompt monitor-fault-at=13");
    ASSERT_TRUE(Link().SetBreakpoint(1, 0x1013));
    m_board->Log().Clear();
    const DWORD start = w32::GetTickCount();
    EXPECT_FALSE(Link().Go());
    // The bound is kept: read after read times out, a second each, until 1024 reads are made.
    EXPECT_GT(w32::GetTickCount() - start, 1000u * 1000u);
    // A dump asked for now could reach a program still running.
    EXPECT_EQ(Sent(true), "G ");
    EXPECT_EQ(Board().Monitor().Chip().Registers().Pc(), 0x1013);
}

TEST_F(Dialogue, AStepThatBringsNoAnswerFailsAtTheFirstReadTimeOut) {
    Load("monitor-fault=silent monitor-fault-at=12");
    const DWORD start = w32::GetTickCount();
    EXPECT_FALSE(Link().Step());
    // One read's time-out of a second, not one for each of the run's reads.
    EXPECT_LT(w32::GetTickCount() - start, 2000u);
}

}  // namespace
