// Each peripheral's own word on how many machine cycles it stays quiet: exactly the cycles
// before the one in which it changes more than its counts, set up through its registers.
#include <gtest/gtest.h>

#include <cstdint>

#include "chip_bench.h"
#include "ostrel/sfr.h"

namespace ostrel {
namespace {

class QuietCyclesTest : public ::testing::Test {
protected:
    explicit QuietCyclesTest(ChipFamily family = ChipFamily::k8052) : bench_(family) {
        bench_.chip.SetSimulateTimers(true);
        bench_.chip.SetSimulateSerial(true);
    }

    // Writes as the program does, then lets one cycle latch the controls.
    void Write(uint8_t address, uint8_t value) { bench_.registers.WriteDirect(address, value); }
    void Latch() { bench_.Cycle(); }

    // Runs `part`'s quiet cycles one by one, checking that `watched` does not change in them,
    // then one more, in which it must.
    void ExpectQuietUntilChange(const CChipPart& part, uint8_t watched, uint32_t expected) {
        const uint32_t quiet = part.QuietCycles();
        ASSERT_EQ(quiet, expected);
        const uint8_t before = bench_.Sfr(watched);
        for (uint32_t i = 0; i < quiet; ++i) {
            bench_.Cycle();
            ASSERT_EQ(bench_.Sfr(watched), before) << "cycle " << i + 1;
        }
        bench_.Cycle();
        EXPECT_NE(bench_.Sfr(watched), before);
    }

    testing::ChipBench bench_;
};

TEST_F(QuietCyclesTest, TimersAreQuietUntilTheCycleOfTheirOverflowInEachMode) {
    const CTimers& timers = bench_.chip.Timers();
    EXPECT_EQ(timers.QuietCycles(), CChipPart::kQuietForever);  // nothing runs
    // Mode 1, 16 bits.
    Write(sfr::TMOD, 0x01);
    Write(sfr::TH0, 0xFF);
    Write(sfr::TL0, 0xF0);
    Write(sfr::TCON, sfr::TCON_TR0);
    EXPECT_EQ(timers.QuietCycles(), 0u);  // a control not latched yet
    Latch();
    ExpectQuietUntilChange(timers, sfr::TCON, 14);
    // Mode 0: TH above five bits of TL.
    Write(sfr::TCON, 0);
    Write(sfr::TMOD, 0x00);
    Write(sfr::TH0, 0xFE);
    Write(sfr::TL0, 0xFC);  // the upper bits of TL count too, and do not carry
    Write(sfr::TCON, sfr::TCON_TR0);
    Latch();
    ExpectQuietUntilChange(timers, sfr::TCON, 32 + 2);
    // Mode 2 on Timer 1.
    Write(sfr::TCON, 0);
    Write(sfr::TMOD, 0x20);
    Write(sfr::TH1, 0x80);
    Write(sfr::TL1, 0xFA);
    Write(sfr::TCON, sfr::TCON_TR1);
    Latch();
    ExpectQuietUntilChange(timers, sfr::TCON, 4);
    // Mode 3: the nearer of TL0 (under TR0) and TH0 (under TR1).
    Write(sfr::TCON, 0);
    Write(sfr::TMOD, 0x03);
    Write(sfr::TL0, 0x10);
    Write(sfr::TH0, 0xF8);
    Write(sfr::TCON, sfr::TCON_TR0 | sfr::TCON_TR1);
    Latch();
    ExpectQuietUntilChange(timers, sfr::TCON, 6);
}

TEST_F(QuietCyclesTest, ATimerHeldByItsGateOrCountingPulsesIsQuietForever) {
    const CTimers& timers = bench_.chip.Timers();
    Write(sfr::P3, static_cast<uint8_t>(~sfr::P3_INT0));
    Write(sfr::TMOD, 0x09);  // gate on INT0, which is low
    Write(sfr::TH0, 0xFF);
    Write(sfr::TL0, 0xFF);
    Write(sfr::TCON, sfr::TCON_TR0 | sfr::TCON_IT0);
    Latch();
    EXPECT_EQ(timers.QuietCycles(), CChipPart::kQuietForever);
    Write(sfr::TMOD, 0x05);  // counter mode
    Latch();
    EXPECT_EQ(timers.QuietCycles(), CChipPart::kQuietForever);
}

TEST_F(QuietCyclesTest, PinsThatMovedOrARequestThatDoesNotFollowItsPinActNow) {
    const CInterruptController& interrupts = bench_.chip.Interrupts();
    // A new chip's external-1 delay waits for a request that is not there: the next cycle
    // drops it.
    EXPECT_EQ(interrupts.QuietCycles(), 0u);
    Latch();
    EXPECT_EQ(interrupts.QuietCycles(), CChipPart::kQuietForever);
    bench_.SetSfr(sfr::P3, static_cast<uint8_t>(~sfr::P3_INT1));  // from outside, unseen yet
    EXPECT_EQ(interrupts.QuietCycles(), 0u);
    Latch();
    EXPECT_EQ(interrupts.QuietCycles(), CChipPart::kQuietForever);
    // Level-triggered: the request follows the low pin in the next cycle.
    bench_.SetSfr(sfr::TCON, 0);
    EXPECT_EQ(interrupts.QuietCycles(), 0u);
    Latch();
    EXPECT_EQ(bench_.Sfr(sfr::TCON) & sfr::TCON_IE1, sfr::TCON_IE1);
    EXPECT_EQ(interrupts.QuietCycles(), CChipPart::kQuietForever);
}

TEST_F(QuietCyclesTest, TheSerialPortActsEveryCycleWhileAByteLeavesInModes0And2) {
    const CSerialPort& serial = bench_.chip.Serial();
    Write(sfr::SCON, 0x00);
    EXPECT_EQ(serial.QuietCycles(), CChipPart::kQuietForever);
    Write(sfr::SBUF, 0x55);
    EXPECT_EQ(serial.QuietCycles(), 0u);
    bench_.Cycles(10);  // the request and nine bits; TI is pending now
    EXPECT_EQ(bench_.Sfr(sfr::SCON) & sfr::SCON_TI, 0);
    EXPECT_EQ(serial.QuietCycles(), 0u);
    Latch();
    EXPECT_EQ(bench_.Sfr(sfr::SCON) & sfr::SCON_TI, sfr::SCON_TI);
    EXPECT_EQ(serial.QuietCycles(), CChipPart::kQuietForever);
    // In mode 1 a byte leaves on Timer 1's overflows, which the timers never pass over.
    Write(sfr::SCON, 0x40);
    Write(sfr::SBUF, 0x55);
    EXPECT_EQ(serial.QuietCycles(), CChipPart::kQuietForever);
}

TEST_F(QuietCyclesTest, Timer2IsQuietUntilItsOverflowInEachMode) {
    const CTimer2& timer2 = *bench_.chip.Timer2();
    EXPECT_EQ(timer2.QuietCycles(), CChipPart::kQuietForever);
    // Auto-reload.
    Write(sfr::TH2, 0xFF);
    Write(sfr::TL2, 0xF5);
    Write(sfr::T2CON, sfr::T2CON_TR2);
    EXPECT_EQ(timer2.QuietCycles(), 0u);
    Latch();
    ExpectQuietUntilChange(timer2, sfr::T2CON, 9);
    // The baud-rate generator counts six a cycle; its overflow reloads without a flag.
    Write(sfr::T2CON, sfr::T2CON_TR2 | sfr::T2CON_TCLK);
    Write(sfr::RCAP2H, 0x12);
    Write(sfr::TH2, 0xFF);
    Write(sfr::TL2, 0xE0);
    Latch();
    ExpectQuietUntilChange(timer2, sfr::TH2, 4);
}

class QuietCyclesOf80C52Test : public QuietCyclesTest {
protected:
    QuietCyclesOf80C52Test() : QuietCyclesTest(ChipFamily::k80C52) {}
};

TEST_F(QuietCyclesOf80C52Test, Timer2CountingDownIsQuietUntilItReachesItsReload) {
    const CTimer2& timer2 = *bench_.chip.Timer2();
    Write(sfr::T2MOD, sfr::T2MOD_DCEN);
    Write(sfr::RCAP2H, 0xFF);
    Write(sfr::RCAP2L, 0xF0);
    Write(sfr::TH2, 0x00);
    Write(sfr::TL2, 0x03);
    Write(sfr::T2CON, sfr::T2CON_TR2);
    Write(sfr::P1, static_cast<uint8_t>(~sfr::P1_T2EX));  // down
    bench_.Cycles(3);  // the direction turns, then the count goes on
    ASSERT_FALSE(timer2.CountsUp());
    // Down through 0 to FFFFh and on to RCAP2.
    ExpectQuietUntilChange(timer2, sfr::T2CON, 0x10000u - 0xFFF0u + bench_.Sfr(sfr::TL2));
}

}  // namespace
}  // namespace ostrel
