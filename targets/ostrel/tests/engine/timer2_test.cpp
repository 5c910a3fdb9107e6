// Timer 2 of the 8052 family, one machine cycle at a time: its registers by name, auto-reload,
// capture, counting up and down, the baud-rate generator and its interrupt.
#include "engine_bench.h"

namespace ostrel {
namespace {

constexpr uint8_t kTr2 = sfr::T2CON_TR2;

class Timer2Test : public testing::EngineTest {
protected:
    void LoadChip(const char* chipId) {
        Load({{0x0000, {0x80, 0xFE}}}, chipId);  // SJMP $
        Simulate(true, false);
    }
    void SetUp() override { LoadChip("80C52"); }

    // Timer 2's controls, latched by one cycle before the test's own cycles.
    void Start(uint8_t t2con, uint16_t t2, uint16_t reload, uint8_t t2mod = 0) {
        SetReg("T2MOD", t2mod);
        SetReg("T2CON", t2con & ~kTr2);
        Cycle();
        SetReg("T2", t2);
        SetReg("RCAP2", reload);
        SetReg("T2CON", t2con);
        Chip().Timers().SetLatchedTcon(0);
    }
    void T2ex(bool high) { target_->Registers()->WritePort(1, high ? 0xFF : 0xFD); }
    uint8_t T2con() { return Sfr(sfr::T2CON); }
    CTimer2& Timer2() { return dynamic_cast<C8052Target&>(*target_).Timer2(); }
    bool Requested() { return Timer2().InterruptRequested(); }
};

TEST_F(Timer2Test, RegisterListNamesT2ModOnlyOnChipsThatHaveIt) {
    for (const char* chip : {"8052", "80C52", "AT89S53"}) {
        LoadChip(chip);
        const bool hasT2mod = std::string(chip) != "8052";
        ASSERT_EQ(target_->GetRegisterCount(), hasT2mod ? 37 : 36) << chip;
        EXPECT_STREQ(target_->GetRegisterName(32), "cycles");
        EXPECT_STREQ(target_->GetRegisterName(33), "T2");
        EXPECT_STREQ(target_->GetRegisterName(34), "RCAP2");
        EXPECT_STREQ(target_->GetRegisterName(35), "T2CON");
        EXPECT_STREQ(target_->GetRegisterName(36), hasT2mod ? "T2MOD" : "") << chip;
        EXPECT_STREQ(target_->GetRegisterName(37), "");
    }
}

TEST_F(Timer2Test, TimerAndReloadAreSixteenBitRegisters) {
    SetReg("T2", 0x1234);
    SetReg("RCAP2", 0xABCD);
    EXPECT_EQ(Sfr(sfr::TH2), 0x12);
    EXPECT_EQ(Sfr(sfr::TL2), 0x34);
    EXPECT_EQ(Sfr(sfr::RCAP2H), 0xAB);
    EXPECT_EQ(Sfr(sfr::RCAP2L), 0xCD);
    EXPECT_EQ(Reg("T2"), 0x1234u);
    EXPECT_EQ(Reg("RCAP2"), 0xABCDu);
    SetReg("T2CON", 0x1FF);
    EXPECT_EQ(Reg("T2CON"), 0xFFu);
}

TEST_F(Timer2Test, The8052StoresT2ModButNeitherShowsNorUsesIt) {
    LoadChip("8052");
    SetReg("T2MOD", sfr::T2MOD_DCEN);
    EXPECT_EQ(Sfr(sfr::T2MOD), sfr::T2MOD_DCEN);
    EXPECT_EQ(Reg("T2MOD"), 0u);
    // With DCEN ignored, EXF2 alone asks for the interrupt and T2EX reloads instead of
    // turning the count.
    Start(kTr2 | sfr::T2CON_EXEN2, 0x0100, 0x8000, sfr::T2MOD_DCEN);
    T2ex(false);
    Cycles(2);
    EXPECT_EQ(Reg("T2"), 0x8000u);
    EXPECT_TRUE(Requested());
}

TEST_F(Timer2Test, AutoReloadOverflowRaisesTf2AndReloads) {
    Start(kTr2, 0xFFFE, 0x1234);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0xFFFFu);
    EXPECT_FALSE(T2con() & sfr::T2CON_TF2);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0x1234u);
    EXPECT_TRUE(T2con() & sfr::T2CON_TF2);
}

TEST_F(Timer2Test, T2exFallingEdgeReloadsOneStepLaterAndTheStepsCountIsLost) {
    Start(kTr2 | sfr::T2CON_EXEN2, 0x0100, 0x8000);
    T2ex(false);
    Cycle();  // the edge is seen by the next step
    EXPECT_EQ(Reg("T2"), 0x0101u);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0x8000u);
    EXPECT_EQ(T2con() & (sfr::T2CON_EXF2 | sfr::T2CON_TF2), sfr::T2CON_EXF2);
    T2ex(true);
    Cycles(2);
    EXPECT_EQ(Reg("T2"), 0x8002u);  // a rising edge does nothing
}

TEST_F(Timer2Test, T2exEdgeDuringATwoCycleInstructionWaitsTwoSteps) {
    Start(kTr2 | sfr::T2CON_EXEN2, 0x0100, 0x8000);
    Cycle();  // TR2 latched, as a two-cycle instruction needs it from before
    T2ex(false);
    Cycle(2, 1);
    Cycle(2, 2);
    EXPECT_EQ(Reg("T2"), 0x0103u);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0x8000u);
}

TEST_F(Timer2Test, T2exEdgeWithoutExen2LeavesTheCountAlone) {
    Start(kTr2, 0x0100, 0x8000);
    T2ex(false);
    Cycles(3);
    EXPECT_EQ(Reg("T2"), 0x0103u);
    EXPECT_EQ(T2con(), kTr2);
}

TEST_F(Timer2Test, CaptureCopiesTheCountAsItWasBeforeTheStep) {
    Start(kTr2 | sfr::T2CON_EXEN2 | sfr::T2CON_CPRL2, 0x00F0, 0x5555);
    T2ex(false);
    Cycle();
    EXPECT_EQ(Reg("RCAP2"), 0x5555u);
    Cycle();
    EXPECT_EQ(Reg("RCAP2"), 0x00F1u);
    EXPECT_EQ(Reg("T2"), 0x00F2u);
    EXPECT_EQ(T2con() & (sfr::T2CON_EXF2 | sfr::T2CON_TF2), sfr::T2CON_EXF2);
}

TEST_F(Timer2Test, CaptureModeWrapsAtItsOverflowInsteadOfReloading) {
    Start(kTr2 | sfr::T2CON_CPRL2, 0xFFFF, 0x5555);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0x0000u);
    EXPECT_EQ(Reg("RCAP2"), 0x5555u);
    EXPECT_TRUE(T2con() & sfr::T2CON_TF2);
}

TEST_F(Timer2Test, CountingDownFromTheReloadValueTurnsOverToFfffWithBothFlags) {
    Start(kTr2, 0x2000, 0x1000, sfr::T2MOD_DCEN);
    T2ex(false);  // down
    Cycles(2);
    ASSERT_FALSE(Timer2().CountsUp());
    SetReg("T2", 0x1000);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0xFFFFu);
    EXPECT_EQ(T2con() & (sfr::T2CON_EXF2 | sfr::T2CON_TF2), sfr::T2CON_EXF2 | sfr::T2CON_TF2);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0xFFFEu);
    // TF2 asks for the interrupt; EXF2 alone does not while DCEN is set
    EXPECT_TRUE(Requested());
    SetReg("T2CON", T2con() & ~sfr::T2CON_TF2);
    EXPECT_FALSE(Requested());
}

TEST_F(Timer2Test, TheStepInWhichTheDirectionTurnsCountsNothing) {
    Start(kTr2, 0x2000, 0x1000, sfr::T2MOD_DCEN);
    T2ex(false);
    Cycle();  // still up: the change is pending
    EXPECT_EQ(Reg("T2"), 0x2001u);
    Cycle();  // turns
    EXPECT_EQ(Reg("T2"), 0x2001u);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0x2000u);
    T2ex(true);
    Cycles(2);
    EXPECT_EQ(Reg("T2"), 0x1FFFu);  // one more down, then the turn
    Cycle();
    EXPECT_EQ(Reg("T2"), 0x2000u);
}

TEST_F(Timer2Test, CountingUpWithDcenOverflowsIntoTheReloadWithBothFlags) {
    Start(kTr2, 0xFFFF, 0x1000, sfr::T2MOD_DCEN);
    Cycle();
    EXPECT_EQ(Reg("T2"), 0x1000u);
    EXPECT_EQ(T2con() & (sfr::T2CON_EXF2 | sfr::T2CON_TF2), sfr::T2CON_EXF2 | sfr::T2CON_TF2);
}

TEST_F(Timer2Test, CounterModeAndAStoppedTimerDoNotCount) {
    Start(kTr2 | sfr::T2CON_CT2, 0x0000, 0x0000);
    Cycles(3);
    EXPECT_EQ(Reg("T2"), 0u);
    Start(0, 0x0000, 0x0000);
    Cycles(3);
    EXPECT_EQ(Reg("T2"), 0u);
}

TEST_F(Timer2Test, TwoCycleInstructionThatStartsTimer2CountsOnlyItsSecondCycle) {
    // MOV T2CON,#04h / SJMP $
    Load({{0x0000, {0x75, 0xC8, 0x04, 0x80, 0xFE}}}, "8052");
    Simulate(true, false);
    Steps(1);
    EXPECT_EQ(Reg("T2"), 1u);
    Steps(1);
    EXPECT_EQ(Reg("T2"), 3u);
}

TEST_F(Timer2Test, BaudRateGeneratorOverflowsEverySecondCycleAndNeverRaisesTf2) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x50);
    Start(kTr2 | sfr::T2CON_TCLK, 0xFFF4, 0xFFF4);
    const CSerialPort& serial = Chip().Serial();
    std::vector<int> ticks;
    for (int cycle = 1; cycle <= 8; ++cycle) {
        const uint8_t bitTime = serial.BitTime();
        Cycle();
        if (serial.BitTime() != bitTime) {
            ticks.push_back(cycle);
        }
        EXPECT_EQ(Reg("T2"), cycle % 2 == 1 ? 0xFFFAu : 0xFFF4u) << cycle;
    }
    EXPECT_EQ(ticks, (std::vector<int>{2, 4, 6, 8}));
    EXPECT_FALSE(T2con() & sfr::T2CON_TF2);
}

TEST_F(Timer2Test, BaudRateGeneratorTakesT2exOnlyAsExf2) {
    Start(kTr2 | sfr::T2CON_RCLK | sfr::T2CON_EXEN2, 0x1000, 0xFFF4);
    T2ex(false);
    Cycles(2);
    EXPECT_EQ(Reg("T2"), 0x100Cu);
    EXPECT_EQ(T2con() & (sfr::T2CON_EXF2 | sfr::T2CON_TF2), sfr::T2CON_EXF2);
}

TEST_F(Timer2Test, BaudRateGeneratorClocksTheFrameSixteenOverflowsToABit) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x50);
    Start(kTr2 | sfr::T2CON_TCLK, 0xFFFA, 0xFFFA);  // one overflow a cycle
    target_->Registers()->WriteDirect(sfr::SBUF, 0x01);
    const std::vector<std::pair<int, char>> expected = {
        {16, '0'}, {32, '1'}, {48, '0'}, {160, '1'}, {160, 'T'}};
    EXPECT_EQ(TxdChanges(200), expected);
}

TEST_F(Timer2Test, WhileTimer2IsTheBaudRateGeneratorTimer1DoesNotClockThePort) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x50);
    SetSfr(sfr::TMOD, 0x20);
    SetSfr(sfr::TH1, 0xFF);
    SetSfr(sfr::TL1, 0xFF);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    Start(sfr::T2CON_TCLK, 0x0000, 0x0000);  // the generator stands
    target_->Registers()->WriteDirect(sfr::SBUF, 0x00);
    Cycles(100);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF1);
    EXPECT_EQ(Chip().Serial().BitTime(), 0);
    EXPECT_TRUE(P3Bit(kTxd));
    // and without the serial option, the generator's overflows clock nothing either
    target_->SetSimulateSerial(0);
    Start(kTr2 | sfr::T2CON_TCLK, 0xFFFA, 0xFFFA);
    Cycles(40);
    EXPECT_EQ(Chip().Serial().BitTime(), 0);
}

class Timer2InterruptTest : public Timer2Test {
protected:
    // 0000h LJMP 0040h; 002Bh: RETI; 0040h: NOPs
    void SetUp() override {
        Load({{0x0000, {0x02, 0x00, 0x40}}, {0x002B, {0x32}}, {0x0040, std::vector<uint8_t>(16)}},
             "80C52");
        Simulate(true, true);
        Steps(1);
    }
};

TEST_F(Timer2InterruptTest, Tf2EntersAtOnceAndStaysSet) {
    SetSfr(sfr::IE, 0xA0);
    SetReg("T2CON", sfr::T2CON_TF2);
    Steps(1);  // a one-cycle instruction, yet no wait
    EXPECT_EQ(Pc(), 0x002Bu);
    EXPECT_TRUE(T2con() & sfr::T2CON_TF2);
    EXPECT_EQ(Chip().Interrupts().Level(), 1);
}

TEST_F(Timer2InterruptTest, Exf2AloneEntersOnlyWhileDcenIsClear) {
    SetSfr(sfr::IE, 0xA0);
    SetReg("T2MOD", sfr::T2MOD_DCEN);
    Steps(1);  // latches T2MOD
    SetReg("T2CON", sfr::T2CON_EXF2);
    Steps(2);
    EXPECT_EQ(Pc(), 0x0043u);
    SetReg("T2MOD", 0);
    Steps(2);  // the first latches T2MOD, the second enters
    EXPECT_EQ(Pc(), 0x002Bu);
}

TEST_F(Timer2InterruptTest, HighPriorityTimer2InterruptsALowRoutine) {
    SetSfr(sfr::IE, 0xA2);
    SetSfr(sfr::IP, sfr::IP_PT2);
    SetReg("PC", 0x0041);
    Chip().Interrupts().SetLevel(1);  // as inside a low-priority routine
    SetReg("T2CON", sfr::T2CON_TF2);
    Steps(1);
    EXPECT_EQ(Pc(), 0x002Bu);
    EXPECT_EQ(Chip().Interrupts().Level(), 3);
    // the same request at low priority waits for the routine's end
    SetSfr(sfr::IP, 0);
    Chip().Interrupts().SetLevel(1);
    SetReg("PC", 0x0041);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0042u);
}

TEST_F(Timer2InterruptTest, WithoutTheTimerOptionTf2StillInterruptsAndTheEntryRunsTimer2) {
    Simulate(false, true);
    Start(kTr2, 0x0000, 0x0000);
    SetSfr(sfr::IE, 0xA0);
    Steps(3);
    EXPECT_EQ(Reg("T2"), 0u);
    SetReg("T2CON", kTr2 | sfr::T2CON_TF2);
    Steps(1);
    EXPECT_EQ(Pc(), 0x002Bu);
    EXPECT_EQ(Reg("T2"), 2u);  // the entry's two machine cycles
}

}  // namespace
}  // namespace ostrel
