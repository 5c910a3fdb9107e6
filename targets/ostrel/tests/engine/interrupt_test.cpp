// Interrupt acceptance: the one-instruction wait of latched requests, priorities and the polling
// order, the rule after RETI, the entry's call frame and a stack that cannot take the entry.
#include "engine_bench.h"

namespace ostrel {
namespace {

constexpr uint8_t kNop = 0x00;
constexpr uint8_t kReti = 0x32;
// MOV DPTR,#0 twice: two-cycle instructions that change nothing the tests look at. Requests set
// before them are latched during the first and compete at once after the second.
const std::vector<uint8_t> kTwoCycles = {0x90, 0x00, 0x00, 0x90, 0x00, 0x00};

class InterruptTest : public testing::EngineTest {
protected:
    // NOPs from 0x0040 on, RETI at every vector.
    void LoadNops(const std::vector<uint8_t>& start = {}, const char* chipId = "8051") {
        Program program = {{0x0000, {0x02, 0x00, 0x40}}};
        for (uint16_t vector : {0x03, 0x0B, 0x13, 0x1B, 0x23}) {
            program[vector] = {kReti};
        }
        std::vector<uint8_t> code = start;
        code.resize(code.size() + 32, kNop);
        program[0x0040] = code;
        Load(program, chipId);
        Simulate(true, true);
        Steps(1);  // the LJMP
    }

    // Timer 0 in 16-bit mode, running, one count before it overflows (after the latch that the
    // next instruction's first cycle takes).
    void ArmTimer0(uint8_t low) {
        SetSfr(sfr::TMOD, 0x01);
        SetSfr(sfr::TH0, 0xFF);
        SetSfr(sfr::TL0, low);
        SetSfr(sfr::TCON, sfr::TCON_TR0);
        SetSfr(sfr::IE, 0x82);
    }
};

TEST_F(InterruptTest, OverflowInAOneCycleInstructionWaitsForTheNextTwoCycleOne) {
    LoadNops({kNop, 0x90, 0x00, 0x00});
    ArmTimer0(0xFF);
    Steps(1);  // overflows
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF0);
    Steps(1);  // two cycles: the request competes at once
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_FALSE(Sfr(sfr::TCON) & sfr::TCON_TF0);
}

TEST_F(InterruptTest, OverflowInAOneCycleInstructionWaitsTwoOneCycleInstructions) {
    LoadNops();
    ArmTimer0(0xFF);
    Steps(2);
    EXPECT_EQ(Pc(), 0x0042u);
    Steps(1);
    EXPECT_EQ(Pc(), 0x000Bu);
}

TEST_F(InterruptTest, OverflowInTheFirstCycleOfATwoCycleInstructionIsTakenAfterTheNextOne) {
    // NOP counts FEh to FFh, MOV DPTR overflows in its first cycle, then a one-cycle NOP
    LoadNops({kNop, 0x90, 0x00, 0x00, kNop});
    ArmTimer0(0xFE);
    Steps(2);
    EXPECT_EQ(Pc(), 0x0044u);
    Steps(1);
    EXPECT_EQ(Pc(), 0x000Bu);
}

TEST_F(InterruptTest, WithoutTimersOnlyTheSerialFlagsInterrupt) {
    // SETB TF0 / NOP / NOP / SETB TI / NOP
    LoadNops({0xD2, 0x8D, kNop, kNop, 0xD2, 0x99});
    Simulate(false, true);
    SetSfr(sfr::IE, 0x92);
    Steps(3);
    EXPECT_EQ(Pc(), 0x0044u);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0023u);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF0);
}

TEST_F(InterruptTest, SourcesOfOnePriorityArePolledExternal0First) {
    LoadNops(kTwoCycles);
    SetSfr(sfr::IE, 0x8F);
    SetSfr(sfr::TCON, sfr::TCON_TF1 | sfr::TCON_TF0 | sfr::TCON_IE1 | sfr::TCON_IE0 |
                          sfr::TCON_IT1 | sfr::TCON_IT0);
    Steps(2);
    EXPECT_EQ(Pc(), 0x0003u);
    EXPECT_EQ(Sfr(sfr::TCON) & (sfr::TCON_TF1 | sfr::TCON_TF0 | sfr::TCON_IE1 | sfr::TCON_IE0),
              sfr::TCON_TF1 | sfr::TCON_TF0 | sfr::TCON_IE1);
}

TEST_F(InterruptTest, AHighPriorityRequestWinsAndTheLowOneStaysPending) {
    LoadNops(kTwoCycles);
    SetSfr(sfr::IE, 0x83);
    SetSfr(sfr::IP, 0x01);  // external 0 high
    SetSfr(sfr::TCON, sfr::TCON_TF0 | sfr::TCON_IE0 | sfr::TCON_IT0);
    Steps(2);
    EXPECT_EQ(Pc(), 0x0003u);
    EXPECT_EQ(Chip().Interrupts().Level(), 2);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF0);
}

TEST_F(InterruptTest, NothingIsTakenRightAfterReti) {
    LoadNops(kTwoCycles);
    SetSfr(sfr::IE, 0x83);
    SetSfr(sfr::TCON, sfr::TCON_TF0 | sfr::TCON_IE0 | sfr::TCON_IT0);
    Steps(2);
    ASSERT_EQ(Pc(), 0x0003u);
    Steps(1);  // RETI
    EXPECT_EQ(Pc(), 0x0046u);
    EXPECT_EQ(Chip().Interrupts().Level(), 0);
    // Timer 0 has waited long enough: it is taken after the one instruction behind RETI, a
    // one-cycle NOP.
    Steps(1);
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Ram(0x08), 0x47);
}

// MOV IE,#82h / MOV 30h,#1 / SETB EA / MOV IP,#2: writes of IE and IP, each followed by a
// two-cycle instruction after which a waiting request would compete at once.
const std::vector<uint8_t> kEnableThenFlag = {0x75, 0xA8, 0x82, 0x75, 0x30, 0x01};
const std::vector<uint8_t> kSetbEaThenFlag = {0xD2, 0xAF, 0x75, 0x30, 0x01};
const std::vector<uint8_t> kWriteIpThenFlag = {0x75, 0xB8, 0x02, 0x75, 0x30, 0x01};

TEST_F(InterruptTest, AWriteOfIeHoldsTheInterruptOffForOneMoreInstruction) {
    // MOV DPTR,#0 latches the pending TF0; the program then enables it and sets the flag that
    // its routine would read: the routine runs after the flag is set.
    std::vector<uint8_t> code = {0x90, 0x00, 0x00};
    code.insert(code.end(), kEnableThenFlag.begin(), kEnableThenFlag.end());
    LoadNops(code);
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0043u);
    Steps(1);  // MOV IE,#82h: two cycles, TF0 latched, yet nothing is entered
    EXPECT_EQ(Pc(), 0x0046u);
    EXPECT_EQ(Chip().Interrupts().Level(), 0);
    Steps(1);  // MOV 30h,#1
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Ram(0x30), 1);
    EXPECT_EQ(Ram(0x08), 0x49);  // the routine returns behind the flag's write
}

TEST_F(InterruptTest, SettingEaByItsBitHoldsTheInterruptOffToo) {
    std::vector<uint8_t> code = {0x90, 0x00, 0x00};
    code.insert(code.end(), kSetbEaThenFlag.begin(), kSetbEaThenFlag.end());
    LoadNops(code);
    SetSfr(sfr::IE, sfr::IE_ET0);
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    Steps(2);  // MOV DPTR, SETB EA
    EXPECT_EQ(Pc(), 0x0045u);
    Steps(1);
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Ram(0x30), 1);
}

TEST_F(InterruptTest, AWriteOfIpHoldsOffARequestThatIsAlreadyEnabled) {
    std::vector<uint8_t> code = {0x90, 0x00, 0x00};
    code.insert(code.end(), kWriteIpThenFlag.begin(), kWriteIpThenFlag.end());
    LoadNops(code);
    SetSfr(sfr::IE, 0x82);
    Steps(1);  // MOV DPTR: nothing latched yet
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    Chip().Timers().SetLatchedTcon(sfr::TCON_TF0);
    Steps(1);  // MOV IP,#2: the request would compete now
    EXPECT_EQ(Pc(), 0x0046u);
    Steps(1);
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Chip().Interrupts().Level(), 2);  // entered at the priority just written
}

TEST_F(InterruptTest, AnotherTwoCycleWriteInTheSamePlaceLetsTheRequestInAtOnce) {
    // MOV DPTR,#0 / MOV 31h,#2 / MOV 30h,#1: as above with a write that is neither IE nor IP.
    LoadNops({0x90, 0x00, 0x00, 0x75, 0x31, 0x02, 0x75, 0x30, 0x01});
    SetSfr(sfr::IE, 0x82);
    Steps(1);
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    Chip().Timers().SetLatchedTcon(sfr::TCON_TF0);
    Steps(1);
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Ram(0x30), 0);
}

// Every source pending while EA is clear, then one write that enables them all: the order in
// which the routines are entered, one after each RETI and the instruction behind it.
class PendingSourcesTest : public testing::EngineTest {
protected:
    static constexpr uint16_t kExternal0 = 0x03, kTimer0 = 0x0B, kExternal1 = 0x13, kTimer1 = 0x1B,
                              kSerial = 0x23, kTimer2 = 0x2B;

    // From 0x0040: MOV TCON,#0AFh (TF1, TF0, IE1, IE0, both edge-triggered, no timer running) /
    // SETB TI / [SETB TF2] / NOP / `enable` / NOPs. The serial routine clears TI, Timer 2's TF2;
    // the other requests are cleared by their entries.
    void Run(const char* chipId, bool timer2, const std::vector<uint8_t>& enable) {
        std::vector<uint8_t> code = {0x75, 0x88, 0xAF, 0xD2, 0x99};
        if (timer2) {
            code.insert(code.end(), {0xD2, 0xCF});
        }
        code.push_back(0x00);
        code.insert(code.end(), enable.begin(), enable.end());
        code.resize(code.size() + 40, 0x00);
        Load({{0x0000, {0x02, 0x00, 0x40}},
              {kExternal0, {0x32}},
              {kTimer0, {0x32}},
              {kExternal1, {0x32}},
              {kTimer1, {0x32}},
              {kSerial, {0xC2, 0x99, 0x32}},
              {kTimer2, {0xC2, 0xCF, 0x32}},
              {0x0040, code}},
             chipId);
        Simulate(true, true);
        for (int i = 0; i < 40 && entered_.size() < 6; ++i) {
            Steps(1);
            for (uint16_t vector : {kExternal0, kTimer0, kExternal1, kTimer1, kSerial, kTimer2}) {
                if (Pc() == vector) {
                    entered_.push_back(vector);
                }
            }
        }
    }

    std::vector<uint16_t> entered_;
};

// MOV IE,#0BFh: EA with every source's enable bit.
const std::vector<uint8_t> kEnableAll = {0x75, 0xA8, 0xBF};

TEST_F(PendingSourcesTest, AllEnabledAtOnceAreServedInPollingOrderWithTimer2Last) {
    Run("8052", true, kEnableAll);
    EXPECT_EQ(entered_,
              (std::vector<uint16_t>{kExternal0, kTimer0, kExternal1, kTimer1, kSerial, kTimer2}));
}

TEST_F(PendingSourcesTest, AllEnabledAtOnceAreServedInPollingOrderOnAChipWithoutTimer2) {
    Run("8051", false, kEnableAll);
    EXPECT_EQ(entered_, (std::vector<uint16_t>{kExternal0, kTimer0, kExternal1, kTimer1, kSerial}));
}

TEST_F(PendingSourcesTest, AfterAnIpWriteTheHighSourceComesFirstThenThePollingOrder) {
    // MOV IE,#0BFh / MOV IP,#08h: Timer 1 high; the IP write holds off one more instruction.
    std::vector<uint8_t> enable = kEnableAll;
    enable.insert(enable.end(), {0x75, 0xB8, 0x08});
    Run("8052", true, enable);
    EXPECT_EQ(entered_,
              (std::vector<uint16_t>{kTimer1, kExternal0, kTimer0, kExternal1, kSerial, kTimer2}));
}

TEST_F(InterruptTest, AHighRoutineNestsInALowOneAndRetiUnwindsTheLevels) {
    LoadNops(kTwoCycles);
    SetSfr(sfr::IE, 0x8A);
    SetSfr(sfr::IP, 0x08);  // Timer 1 high
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    Steps(2);
    ASSERT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Chip().Interrupts().Level(), 1);
    SetSfr(sfr::TCON, sfr::TCON_TF1);
    Chip().Timers().SetLatchedTcon(sfr::TCON_TF1);
    Chip().SetCycleClass(2);
    ASSERT_EQ(target_->CheckInterrupts(), SIM_OK);
    EXPECT_EQ(Pc(), 0x001Bu);
    EXPECT_EQ(Chip().Interrupts().Level(), 3);
    Steps(1);
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Chip().Interrupts().Level(), 1);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0046u);
    EXPECT_EQ(Chip().Interrupts().Level(), 0);
}

TEST_F(InterruptTest, EntryPushesTheReturnAddressAndShowsTheRoutineOnTheCallStack) {
    LoadNops(kTwoCycles);
    SetSfr(sfr::IE, 0x82);
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    const int32_t frames = target_->CallStack()->GetCount();
    Steps(2);
    EXPECT_EQ(Reg("SP"), 0x09u);
    EXPECT_EQ(Ram(0x08), 0x46);
    EXPECT_EQ(Ram(0x09), 0x00);
    ASSERT_EQ(target_->CallStack()->GetCount(), frames + 1);
    const CallStackFrame* top = target_->CallStack()->Top();
    EXPECT_EQ(top->address, 0x000Bu);
    EXPECT_EQ(top->from, 0x0046u);
    EXPECT_EQ(top->kind, kFrameLcall);
    Steps(1);
    EXPECT_EQ(target_->CallStack()->GetCount(), frames);
}

TEST_F(InterruptTest, EntryThatOverflowsTheStackEntersNothing) {
    LoadNops(kTwoCycles);
    SetReg("SP", 0x7F);
    SetSfr(sfr::IE, 0x82);
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    Steps(1);
    EXPECT_EQ(Step(), SIM_STACK_FAULT);
    EXPECT_EQ(Pc(), 0x0046u);  // the instruction itself completed
    EXPECT_EQ(Reg("SP"), 0x7Fu);
    EXPECT_EQ(Chip().Interrupts().Level(), 0);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF0);
    EXPECT_EQ(Messages().back(),
              "FATAL ERROR: Trying to use stack outside the allowed region, SP=80, mem size=80");
}

TEST_F(InterruptTest, FallingEdgeOnInt0IsTakenAfterTheNextTwoCycleInstruction) {
    // CLR P3.2 / MOV DPTR,#0
    LoadNops({0xC2, 0xB2, 0x90, 0x00, 0x00});
    SetSfr(sfr::IE, 0x81);
    SetSfr(sfr::TCON, sfr::TCON_IT0);
    Steps(1);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_IE0);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0003u);
    EXPECT_FALSE(Sfr(sfr::TCON) & sfr::TCON_IE0);
}

TEST_F(InterruptTest, FallingEdgeOnInt0WaitsTwoOneCycleInstructions) {
    // CLR P3.2 / NOP / NOP
    LoadNops({0xC2, 0xB2});
    SetSfr(sfr::IE, 0x81);
    SetSfr(sfr::TCON, sfr::TCON_IT0);
    Steps(1);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_IE0);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0043u);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0003u);
}

TEST_F(InterruptTest, LevelTriggeredRequestFollowsThePin) {
    // CLR P3.2 / SETB P3.2 / NOP / NOP
    LoadNops({0xC2, 0xB2, 0xD2, 0xB2});
    Steps(1);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_IE0);
    Steps(2);
    EXPECT_FALSE(Sfr(sfr::TCON) & sfr::TCON_IE0);
}

}  // namespace
}  // namespace ostrel
