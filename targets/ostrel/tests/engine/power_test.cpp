// Idle and power-down, one step at a time: PCON.IDL stops the instructions until an enabled
// interrupt is taken while the peripherals run on; PCON.PD stops everything until the reset.
#include "engine_bench.h"

namespace ostrel {
namespace {

// 0000h LJMP 0040h; 000Bh Timer 0: INC 31h / RETI; 0023h serial: CLR TI / INC 32h / RETI
// 0040h: MOV TMOD,#02h / MOV TH0,#0FCh / MOV TL0,#0FCh / MOV IE,#82h / SETB TR0 /
// 004Eh: ORL PCON,#<mode> / INC 30h / SJMP $
constexpr uint16_t kAfterSleep = 0x0051;

class PowerTest : public testing::EngineTest {
protected:
    void LoadSleeper(uint8_t mode, uint8_t ie = 0x82) {
        Load({{0x0000, {0x02, 0x00, 0x40}},
              {0x000B, {0x05, 0x31, 0x32}},
              {0x0023, {0xC2, 0x99, 0x05, 0x32, 0x32}},
              {0x0040, {0x75, 0x89, 0x02, 0x75, 0x8C, 0xFC, 0x75, 0x8A, 0xFC, 0x75, 0xA8,
                        ie,   0xD2, 0x8C, 0x43, 0x87, mode, 0x05, 0x30, 0x80, 0xFE}}});
        Simulate(true, true);
        Steps(7);  // to the instruction behind the one that sleeps
        ASSERT_EQ(Pc(), kAfterSleep);
    }
};

TEST_F(PowerTest, IdleStopsTheInstructionsWhileTheTimerRunsUntilItsInterruptIsTaken) {
    LoadSleeper(sfr::PCON_IDL);
    // Each step is one machine cycle of the sleeping chip: the PC stands, Timer 0 counts, the
    // cycle counter goes on. The overflow in the first cycle is latched at its end and waits
    // one cycle, as after a one-cycle instruction; the third step is the entry's two cycles.
    EXPECT_EQ(Sfr(sfr::TL0), 0xFF);
    const uint32_t cycles = Reg("cycles");
    std::vector<int> counts;
    int steps = 0;
    while (Pc() == kAfterSleep && steps < 20) {
        Steps(1);
        ++steps;
        counts.push_back(Sfr(sfr::TL0));
    }
    EXPECT_EQ(counts, (std::vector<int>{0xFC, 0xFD, 0xFF}));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(Reg("cycles"), cycles + 2);
    ASSERT_EQ(Pc(), 0x000Bu);
    // The entry ends the idle mode; the routine returns to the instruction behind the sleep.
    EXPECT_EQ(Sfr(sfr::PCON) & sfr::PCON_IDL, 0);
    EXPECT_EQ(Ram(0x30), 0);
    Steps(3);  // INC 31h, RETI, INC 30h
    EXPECT_EQ(Ram(0x31), 1);
    EXPECT_EQ(Ram(0x30), 1);
    // Timer 0 overflowed again in INC 31h: the request, seen during RETI, is taken right after
    // the one instruction that RETI lets run.
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Ram(0x08), kAfterSleep + 2);
}

TEST_F(PowerTest, IdleLetsTheSerialPortFinishItsByteWhoseInterruptWakesTheChip) {
    // The serial port sends a byte in mode 0 while the chip sleeps; its TI wakes the chip.
    LoadSleeper(sfr::PCON_IDL, 0x90);
    target_->SetSimulateSerial(1);
    SetSfr(sfr::TCON, 0);  // Timer 0 stands
    SetSfr(sfr::SCON, 0x00);
    target_->Registers()->WriteDirect(sfr::SBUF, 0x55);
    const uint8_t tl0 = Sfr(sfr::TL0);
    int steps = 0;
    while (Pc() == kAfterSleep && steps < 40) {
        Steps(1);
        ++steps;
    }
    // The request, nine bits, TI a cycle later, then taken after one more.
    EXPECT_EQ(steps, 12);
    EXPECT_EQ(Pc(), 0x0023u);
    EXPECT_EQ(Sfr(sfr::TL0), tl0);
}

TEST_F(PowerTest, ARunThroughIdleStopsAtTheRoutineAsSteppingDoes) {
    LoadSleeper(sfr::PCON_IDL);
    int32_t index = 0;
    ASSERT_EQ(target_->AddBreakpoint(0x000B, &index), SIM_OK);
    const uint32_t cycles = Reg("cycles");
    ASSERT_EQ(target_->RunSteps(-1), SIM_OK);
    EXPECT_EQ(Pc(), 0x000Bu);
    EXPECT_EQ(Reg("cycles"), cycles + 2);
    EXPECT_EQ(Sfr(sfr::TL0), 0xFF);
}

TEST_F(PowerTest, PowerDownStopsEverythingUntilTheReset) {
    LoadSleeper(sfr::PCON_PD);
    SetSfr(sfr::TCON, static_cast<uint8_t>(Sfr(sfr::TCON) | sfr::TCON_TF0));  // a request waits
    const uint32_t cycles = Reg("cycles");
    const uint8_t tl0 = Sfr(sfr::TL0);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(Step(), SIM_OK);
        EXPECT_EQ(Pc(), kAfterSleep);
        EXPECT_EQ(Sfr(sfr::TL0), tl0);
    }
    EXPECT_EQ(Reg("cycles"), cycles);
    EXPECT_EQ(Ram(0x31), 0);
    ASSERT_EQ(target_->RunSteps(100), SIM_OK);
    EXPECT_EQ(Pc(), kAfterSleep);
    ASSERT_EQ(target_->Reset(), SIM_OK);
    EXPECT_EQ(Sfr(sfr::PCON), 0);
    Steps(1);
    EXPECT_EQ(Pc(), 0x0040u);
}

TEST_F(PowerTest, ThePowerItemPutsTheChipToSleep) {
    LoadSleeper(0x00);  // ORL PCON,#0 sleeps not
    Steps(1);
    const uint32_t pc = Pc();
    SimPeripheralItem item{};
    item.value = 2;
    target_->EditPeripheralItem(0, &item);
    Steps(1);
    EXPECT_EQ(Pc(), pc);
    item.value = 0;
    target_->EditPeripheralItem(0, &item);
    Steps(1);
    EXPECT_NE(Pc(), pc);
}

}  // namespace
}  // namespace ostrel
