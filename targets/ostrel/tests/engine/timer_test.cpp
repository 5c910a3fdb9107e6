// Timers 0 and 1 and the serial port's transmit timing, one machine cycle at a time.
#include "engine_bench.h"

namespace ostrel {
namespace {

constexpr uint8_t kTxd = 0x02;  // P3.1

class TimerTest : public testing::EngineTest {
protected:
    void SetUp() override {
        Load({{0x0000, {0x80, 0xFE}}});  // SJMP $
        Simulate(true, false);
    }

    // One machine cycle of a one-cycle instruction.
    void Cycle() {
        target_->SetCurrentCycleClass(1);
        target_->AdvanceTimers(1, 1);
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
    EXPECT_EQ(target_->Registers()->Timing().bitTime, 0);
    EXPECT_EQ(target_->Registers()->Timing().baudPrescaler, 0);
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
