// Timers 0 and 1 and the serial port's transmit timing, one machine cycle at a time.
#include "engine_bench.h"

namespace ostrel {
namespace {

class TimerTest : public testing::EngineTest {
protected:
    void SetUp() override {
        Load({{0x0000, {0x80, 0xFE}}});  // SJMP $
        Simulate(true, false);
    }

    // Timer 1 reloading FFh: one overflow, one serial tick, every machine cycle.
    void ClockSerialEveryCycle(uint8_t scon) {
        target_->SetSimulateSerial(1);
        SetSfr(sfr::SCON, scon);
        SetSfr(sfr::TMOD, 0x20);
        SetSfr(sfr::TH1, 0xFF);
        SetSfr(sfr::TL1, 0xFF);
        SetSfr(sfr::TCON, sfr::TCON_TR1);
    }

    // Runs a program that starts at 0x0040 with the given TMOD and TCON, both latched, and
    // Timer 0 at 0; returns T0 after `instructions` steps.
    uint32_t CountOver(const std::vector<uint8_t>& code, uint8_t tmod, uint8_t tcon,
                       int instructions, uint8_t p3 = 0xFF) {
        Load({{0x0000, {0x02, 0x00, 0x40}}, {0x0040, code}});
        Simulate(true, false);
        Steps(1);
        SetSfr(sfr::TMOD, tmod);
        SetSfr(sfr::TCON, tcon);
        target_->Registers()->WritePort(3, p3);
        Cycle();  // latches the controls and samples the pins
        SetReg("T0", 0);
        Steps(instructions);
        return Reg("T0");
    }
};

TEST_F(TimerTest, CounterModeDoesNotCount) {
    SetSfr(sfr::TMOD, 0x05);
    SetSfr(sfr::TCON, sfr::TCON_TR0);
    Steps(10);
    EXPECT_EQ(Reg("T0"), 0u);
}

TEST_F(TimerTest, AutoReloadOverflowReloadsFromTh) {
    SetSfr(sfr::TMOD, 0x02);
    SetSfr(sfr::TH0, 0xF0);
    SetSfr(sfr::TL0, 0xFF);
    SetSfr(sfr::TCON, sfr::TCON_TR0);
    Cycle();
    EXPECT_EQ(Sfr(sfr::TL0), 0xF0);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF0);
}

TEST_F(TimerTest, ThirteenBitModeCarriesFromTheLowFiveBits) {
    SetSfr(sfr::TMOD, 0x00);
    SetSfr(sfr::TH0, 0xFF);
    SetSfr(sfr::TL0, 0x1E);
    SetSfr(sfr::TCON, sfr::TCON_TR0);
    Cycle();
    EXPECT_EQ(Sfr(sfr::TH0), 0xFF);
    Cycle();
    EXPECT_EQ(Sfr(sfr::TH0), 0x00);
    EXPECT_EQ(Sfr(sfr::TL0), 0x20);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF0);
}

TEST_F(TimerTest, SplitModeCountsTheHighByteUnderTr1AndStopsTimer1) {
    SetSfr(sfr::TMOD, 0x33);
    SetSfr(sfr::TL0, 0x10);
    SetSfr(sfr::TH0, 0xFF);
    SetSfr(sfr::TL1, 0x42);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    Cycle();
    EXPECT_EQ(Sfr(sfr::TL0), 0x10);
    EXPECT_EQ(Sfr(sfr::TH0), 0x00);
    EXPECT_EQ(Sfr(sfr::TL1), 0x42);
    EXPECT_EQ(Sfr(sfr::TCON) & (sfr::TCON_TF0 | sfr::TCON_TF1), sfr::TCON_TF1);
}

TEST_F(TimerTest, GateHoldsTheTimerWhileTheLastSampleOfInt0IsLow) {
    SetSfr(sfr::TMOD, 0x09);
    SetSfr(sfr::TCON, sfr::TCON_TR0);
    target_->Registers()->WritePort(3, 0xFB);
    std::vector<int> counts;
    for (int i = 0; i < 3; ++i) {
        Cycle();
        counts.push_back(Sfr(sfr::TL0));
    }
    target_->Registers()->WritePort(3, 0xFF);
    for (int i = 0; i < 2; ++i) {
        Cycle();
        counts.push_back(Sfr(sfr::TL0));
    }
    // Each cycle counts by the pin as sampled at the end of the cycle before.
    EXPECT_EQ(counts, (std::vector<int>{1, 1, 1, 1, 2}));
}

TEST_F(TimerTest, TwoCycleInstructionThatStartsTheTimerCountsOnlyItsSecondCycle) {
    // MOV TCON,#10h / SJMP $
    Load({{0x0000, {0x75, 0x88, 0x10, 0x80, 0xFE}}});
    Simulate(true, false);
    SetSfr(sfr::TMOD, 0x01);
    Steps(1);
    EXPECT_EQ(Sfr(sfr::TL0), 1);
    Steps(1);
    EXPECT_EQ(Sfr(sfr::TL0), 3);
}

TEST_F(TimerTest, TwoCycleInstructionThatStopsTheTimerCountsOnlyItsFirstCycle) {
    // MOV TCON,#0
    EXPECT_EQ(CountOver({0x75, 0x88, 0x00}, 0x01, sfr::TCON_TR0, 1), 1u);
}

TEST_F(TimerTest, TwoCycleInstructionThatClearsTheGateWhileInt0IsHighSkipsItsFirstCycle) {
    // MOV TMOD,#01h, with the gate set and the pin high before: the timer ran
    EXPECT_EQ(CountOver({0x75, 0x89, 0x01}, 0x09, sfr::TCON_TR0, 1), 1u);
    // a one-cycle instruction of the same effect counts its cycle: MOV TMOD,A
    Load({{0x0000, {0x74, 0x01, 0xF5, 0x89}}});
    Simulate(true, false);
    Steps(1);
    SetSfr(sfr::TMOD, 0x09);
    SetSfr(sfr::TCON, sfr::TCON_TR0);
    Cycle();
    SetReg("T0", 0);
    Steps(1);
    EXPECT_EQ(Reg("T0"), 1u);
}

TEST_F(TimerTest, Int0RisingDuringATwoCycleInstructionSkipsItsFirstCycleEvenWithoutTheGate) {
    // MOV P3,#0FFh with INT0 sampled low, the timer running without its gate
    EXPECT_EQ(CountOver({0x75, 0xB0, 0xFF}, 0x01, sfr::TCON_TR0, 1, 0xFB), 1u);
    // the pin falling instead does not hold the timer: MOV P3,#0FBh
    EXPECT_EQ(CountOver({0x75, 0xB0, 0xFB}, 0x01, sfr::TCON_TR0, 1), 2u);
}

TEST_F(TimerTest, SkippedCycleOfTimer0InSplitModeHoldsItsHighByteToo) {
    // MOV TCON,#50h starts TL0; TH0 runs under TR1, set and latched before, yet waits too
    Load({{0x0000, {0x75, 0x88, 0x50}}});
    Simulate(true, false);
    SetSfr(sfr::TMOD, 0x03);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    Cycle();
    SetReg("T0", 0);
    Steps(1);
    EXPECT_EQ(Sfr(sfr::TL0), 1);
    EXPECT_EQ(Sfr(sfr::TH0), 1);
}

TEST_F(TimerTest, Timer1StandsInModeThreeWhileTimer0sHighByteRaisesTf1) {
    SetSfr(sfr::TMOD, 0x30);  // Timer 1 in mode 3, Timer 0 in mode 0 and stopped
    SetSfr(sfr::TH1, 0xFF);
    SetSfr(sfr::TL1, 0xFF);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    Cycles(3);
    EXPECT_EQ(Reg("T1"), 0xFFFFu);
    EXPECT_FALSE(Sfr(sfr::TCON) & sfr::TCON_TF1);
}

TEST_F(TimerTest, WhileTimer0IsSplitOnlyItsHighByteRaisesTf1AndTimer1StillClocksThePort) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x50);
    SetSfr(sfr::TMOD, 0x23);  // Timer 1 reloading, Timer 0 split in two
    SetSfr(sfr::TH1, 0xFF);
    SetSfr(sfr::TL1, 0xFF);
    SetSfr(sfr::TH0, 0xFD);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    std::vector<bool> flags;
    std::vector<int> prescaler;
    for (int cycle = 1; cycle <= 3; ++cycle) {
        Cycle();
        flags.push_back((Sfr(sfr::TCON) & sfr::TCON_TF1) != 0);
        prescaler.push_back(Chip().Serial().BaudPrescaler());
        EXPECT_EQ(Sfr(sfr::TL1), 0xFF) << cycle;  // Timer 1 overflowed and reloaded
    }
    // TH0 runs under TR1 and overflows in the third cycle; Timer 1's own overflows raise
    // nothing, yet each one is a tick of the serial port.
    EXPECT_EQ(flags, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(Sfr(sfr::TH0), 0x00);
    EXPECT_EQ(prescaler, (std::vector<int>{1, 0, 1}));
}

TEST_F(TimerTest, OnceTimer0IsNoLongerSplitTimer1RaisesTf1Again) {
    SetSfr(sfr::TMOD, 0x23);
    SetSfr(sfr::TH1, 0xFF);
    SetSfr(sfr::TL1, 0xFF);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    Cycle();
    EXPECT_FALSE(Sfr(sfr::TCON) & sfr::TCON_TF1);
    SetSfr(sfr::TMOD, 0x21);
    Cycle();
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF1);
}

TEST_F(TimerTest, OverflowInTheFirstCycleOfALongInstructionNeedsNoFurtherWait) {
    SetSfr(sfr::TMOD, 0x01);
    SetSfr(sfr::TCON, sfr::TCON_TR0);
    Cycle();
    for (int cycleClass : {2, 3}) {
        for (int index : {1, 2}) {
            Chip().Interrupts().SetDelayFlag(kDelayTimer0, false);
            SetReg("T0", 0xFFFF);
            Cycle(cycleClass, index);
            EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_TF0);
            EXPECT_EQ(Chip().Interrupts().DelayFlag(kDelayTimer0), index == 1)
                << "class " << cycleClass << " cycle " << index;
        }
    }
    Chip().Interrupts().SetDelayFlag(kDelayTimer0, false);
    SetReg("T0", 0xFFFF);
    Cycle(1, 1);
    EXPECT_FALSE(Chip().Interrupts().DelayFlag(kDelayTimer0));
}

TEST_F(TimerTest, FallingEdgeSetsIe0OnlyWhenEdgeTriggered) {
    SetSfr(sfr::TCON, sfr::TCON_IT0);
    target_->Registers()->WritePort(3, 0xFB);
    Cycle();
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_IE0);
    SetSfr(sfr::TCON, sfr::TCON_IT0);  // the program clears the request, the pin stays low
    Cycles(2);
    EXPECT_FALSE(Sfr(sfr::TCON) & sfr::TCON_IE0);
    // INT1 on its own bits
    SetSfr(sfr::TCON, sfr::TCON_IT1);
    target_->Registers()->WritePort(3, 0xF7);
    Cycle();
    EXPECT_EQ(Sfr(sfr::TCON), sfr::TCON_IT1 | sfr::TCON_IE1);
}

TEST_F(TimerTest, ExternalDelayFlagsFollowTheirRequests) {
    Chip().Interrupts().SetDelayFlag(kDelayExternal0, true);
    Chip().Interrupts().SetDelayFlag(kDelayExternal1, true);
    target_->Registers()->WritePort(3, 0xF7);  // INT1 low, level-triggered: IE1 stays set
    Cycle();
    EXPECT_FALSE(Chip().Interrupts().DelayFlag(kDelayExternal0));
    EXPECT_TRUE(Chip().Interrupts().DelayFlag(kDelayExternal1));
}

TEST_F(TimerTest, WithoutTheTimerOptionOnlyInterruptEntriesAdvanceTimersAndPins) {
    // 0000h LJMP 0040h; 0023h serial: CLR TI / RETI
    // 0040h CLR P3.2 / NOP / NOP / SETB TI / NOP / NOP
    Load({{0x0000, {0x02, 0x00, 0x40}},
          {0x0023, {0xC2, 0x99, 0x32}},
          {0x0040, {0xC2, 0xB2, 0x00, 0x00, 0xD2, 0x99, 0x00, 0x00}}});
    Simulate(false, true);
    Steps(1);
    SetSfr(sfr::TMOD, 0x01);
    SetSfr(sfr::TCON, sfr::TCON_TR0 | sfr::TCON_IT0);
    SetSfr(sfr::IE, 0x90);  // EA, ES
    Steps(3);
    EXPECT_EQ(Reg("T0"), 0u);
    EXPECT_FALSE(Sfr(sfr::TCON) & sfr::TCON_IE0);  // the pin fell unseen
    Steps(1);                                      // SETB TI: the serial routine's entry
    ASSERT_EQ(Pc(), 0x0023u);
    EXPECT_EQ(Reg("T0"), 2u);
    EXPECT_TRUE(Sfr(sfr::TCON) & sfr::TCON_IE0);
    Steps(4);  // CLR TI, RETI, NOP, NOP
    EXPECT_EQ(Pc(), 0x0048u);
    EXPECT_EQ(Reg("T0"), 2u);
}

TEST_F(TimerTest, OnlyAutoReloadOverflowsOfTimer1ClockTheSerialPort) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x50);
    SetSfr(sfr::TMOD, 0x10);  // 16 bits
    SetSfr(sfr::TH1, 0xFF);
    SetSfr(sfr::TL1, 0xFF);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    for (int i = 0; i < 70; ++i) {
        Cycle();
        SetSfr(sfr::TH1, 0xFF);
        SetSfr(sfr::TL1, 0xFF);
    }
    EXPECT_EQ(Chip().Serial().BitTime(), 0);
    EXPECT_EQ(Chip().Serial().BaudPrescaler(), 0);
}

TEST_F(TimerTest, Mode1FrameOnTxdAndTiAfterThe285thOverflowFromTheStartBit) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x50);
    SetSfr(sfr::TMOD, 0x20);  // Timer 1 reloads FFh: one overflow a machine cycle
    SetSfr(sfr::TH1, 0xFF);
    SetSfr(sfr::TL1, 0xFF);
    SetSfr(sfr::TCON, sfr::TCON_TR1);
    target_->Registers()->WriteDirect(sfr::SBUF, 0xA6);  // 10100110: D0 is 0, D1 is 1

    int startBit = -1, firstOne = -1, ti = -1;
    for (int cycle = 1; cycle <= 400 && ti < 0; ++cycle) {
        Cycle();
        const bool txd = (Sfr(sfr::P3) & kTxd) != 0;
        if (startBit < 0 && !txd) {
            startBit = cycle;
        } else if (startBit > 0 && firstOne < 0 && txd) {
            firstOne = cycle;
        }
        if (Sfr(sfr::SCON) & sfr::SCON_TI) {
            ti = cycle;
        }
    }
    EXPECT_EQ(startBit % 32, 0);         // a bit boundary
    EXPECT_EQ(firstOne, startBit + 64);  // D0 (0) at the next boundary, D1 (1) after it
    EXPECT_EQ(ti, startBit + 286);
}

TEST_F(TimerTest, WithSmodABitLastsSixteenOverflowsAndTiComesTwoBeforeTheEnd) {
    ClockSerialEveryCycle(0x50);
    SetSfr(sfr::PCON, sfr::PCON_SMOD);
    target_->Registers()->WriteDirect(sfr::SBUF, 0x01);
    const std::vector<std::pair<int, char>> expected = {
        {16, '0'},            // the start bit at a boundary
        {32, '1'},            // D0
        {48, '0'},            // D1 to D7
        {16 + 9 * 16, '1'},   // the stop bit
        {16 + 9 * 16, 'T'}};  // 145 ticks from the start bit, TI at the 2nd last
    EXPECT_EQ(TxdChanges(200), expected);
}

TEST_F(TimerTest, ModeThreeSendsTb8BeforeTheStopBit) {
    ClockSerialEveryCycle(0xC0);  // mode 3, TB8 clear
    target_->Registers()->WriteDirect(sfr::SBUF, 0xFF);
    std::string boundaries;
    for (int cycle = 1; cycle <= 360; ++cycle) {
        Cycle();
        if (cycle % 32 == 0) {
            boundaries += P3Bit(kTxd) ? '1' : '0';
        }
    }
    // start, eight ones, TB8, the stop bit, idle
    EXPECT_EQ(boundaries, "01111111101");
    EXPECT_TRUE(SconBit(sfr::SCON_TI));
}

TEST_F(TimerTest, ModeTwoStartsAtAThirdOfItsDividerAndTakes53Cycles) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x80);
    Cycles(2);  // the divider at 24
    target_->Registers()->WriteDirect(sfr::SBUF, 0x55);
    int ti = 0;
    for (int cycle = 1; cycle <= 100 && ti == 0; ++cycle) {
        Cycle();
        if (SconBit(sfr::SCON_TI)) {
            ti = cycle;
        }
    }
    // the divider reaches 36 in the first cycle, the count runs out in the 53rd
    EXPECT_EQ(ti, 54);
    EXPECT_TRUE(P3Bit(kTxd));  // no pin is driven
}

TEST_F(TimerTest, AWriteDuringATransmissionRestartsItWithTheNewByteAtOnce) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x00);
    target_->Registers()->WriteDirect(sfr::SBUF, 0x00);
    Cycles(4);  // the request and three zeros
    target_->Registers()->WriteDirect(sfr::SBUF, 0x5A);
    std::string bits;
    for (int i = 0; i < 10; ++i) {
        Cycle();
        bits += P3Bit(0x01) ? '1' : '0';
        EXPECT_FALSE(SconBit(sfr::SCON_TI)) << i;
    }
    // The next cycle shifts out the new byte's D0, then the transmission starts again with
    // the rest of it (01011010 from D0 on) and its count of nine.
    EXPECT_EQ(bits, "0101101011");
    Cycle();
    EXPECT_TRUE(SconBit(sfr::SCON_TI));
}

TEST_F(TimerTest, WithoutSerialTimingTiRisesWithTheWrite) {
    target_->Registers()->WriteDirect(sfr::SBUF, 0x41);
    EXPECT_TRUE(Sfr(sfr::SCON) & sfr::SCON_TI);
}

TEST_F(TimerTest, Mode0ShiftsTheByteOutOnRxdOneBitACycle) {
    target_->SetSimulateSerial(1);
    SetSfr(sfr::SCON, 0x00);
    target_->Registers()->WriteDirect(sfr::SBUF, 0x05);  // 00000101
    std::string bits;
    for (int i = 0; i < 11; ++i) {
        Cycle();
        bits += (Sfr(sfr::P3) & 0x01) ? '1' : '0';
    }
    // The request is seen in the first cycle, the bits leave from the second, then RXD is 1
    // and TI follows in the next cycle.
    EXPECT_EQ(bits, "11010000011");
    EXPECT_TRUE(Sfr(sfr::SCON) & sfr::SCON_TI);
}

}  // namespace
}  // namespace ostrel
