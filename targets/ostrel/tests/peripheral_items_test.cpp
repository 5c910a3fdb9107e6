// The peripheral items: every name, kind, value text and edit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "chip_bench.h"
#include "oscillator.h"
#include "peripheral_items.h"
#include "ostrel/sfr.h"
#include "simtarget/sim_interfaces.h"

namespace ostrel {
namespace {

class PeripheralItemsTest : public ::testing::Test {
protected:
    void SetUp() override { SetOscillatorHz(kDefaultOscillatorHz); }
    void TearDown() override { SetOscillatorHz(kDefaultOscillatorHz); }

    SimPeripheralItem Item(int index) {
        SimPeripheralItem item;
        std::memset(&item, 0x5A, sizeof(item));
        DescribePeripheralItem(bench_.registers, index, &item);
        return item;
    }
    std::string Text(int index) { return Item(index).valueText; }
    int32_t Value(int index) { return Item(index).value; }
    void Edit(int index, int32_t value) {
        SimPeripheralItem item{};
        item.value = value;
        EditPeripheralItem(bench_.registers, index, item);
    }
    uint8_t Sfr(uint8_t address) { return bench_.registers.Sfr(address); }
    void SetSfr(uint8_t address, uint8_t value) { bench_.registers.SetSfr(address, value); }

    testing::ChipBench bench_;
};

TEST_F(PeripheralItemsTest, ListsTwentyThreeItemsByNameAndKind) {
    const std::pair<const char*, int32_t> expected[] = {{"power", 2},
                                                        {"F oscillator", 3},
                                                        {"T1 Overflow", 1},
                                                        {"T1 Run", 1},
                                                        {"T0 Overflow", 1},
                                                        {"T0 Run", 1},
                                                        {"IE1", 1},
                                                        {"IT1", 1},
                                                        {"IE0", 1},
                                                        {"IT0", 1},
                                                        {"T1 mode", 2},
                                                        {"T0 mode", 2},
                                                        {"T1 GATE", 1},
                                                        {"T0 GATE", 1},
                                                        {"C/T 1", 1},
                                                        {"C/T 0", 1},
                                                        {"Serial Port mode", 2},
                                                        {"SM2", 1},
                                                        {"REN", 1},
                                                        {"TB8", 1},
                                                        {"RB8", 1},
                                                        {"TI", 1},
                                                        {"RI", 1}};
    ASSERT_EQ(kPeripheralItemCount, 23);
    for (int i = 0; i < kPeripheralItemCount; ++i) {
        const SimPeripheralItem item = Item(i);
        EXPECT_STREQ(item.name, expected[i].first) << i;
        EXPECT_EQ(item.kind, expected[i].second) << i;
    }
}

TEST_F(PeripheralItemsTest, IndicesOutsideTheListGiveAnEmptyItemAndChangeNothing) {
    for (int index : {-1, 23, 1000}) {
        const SimPeripheralItem item = Item(index);
        EXPECT_EQ(item.kind, 0);
        EXPECT_STREQ(item.name, "");
        EXPECT_STREQ(item.valueText, "");
        EXPECT_EQ(item.value, 0);
        Edit(index, 1);
    }
    EXPECT_EQ(Sfr(sfr::PCON), 0);
    EXPECT_EQ(Sfr(sfr::TCON), 0);
    EXPECT_EQ(Sfr(sfr::SCON), 0);
    EXPECT_EQ(GetOscillatorHz(), kDefaultOscillatorHz);
}

TEST_F(PeripheralItemsTest, PowerModeReadsPowerDownBeforeIdle) {
    EXPECT_EQ(Value(0), 0);
    EXPECT_EQ(Text(0), "running mode");
    SetSfr(sfr::PCON, sfr::PCON_IDL);
    EXPECT_EQ(Value(0), 2);
    EXPECT_EQ(Text(0), "idle mode");
    SetSfr(sfr::PCON, sfr::PCON_PD);
    EXPECT_EQ(Value(0), 1);
    EXPECT_EQ(Text(0), "power down mode");
    SetSfr(sfr::PCON, sfr::PCON_PD | sfr::PCON_IDL);
    EXPECT_EQ(Value(0), 1);
}

TEST_F(PeripheralItemsTest, PowerModeEditsSetTheChosenBitAndKeepTheOthers) {
    SetSfr(sfr::PCON, sfr::PCON_SMOD);
    Edit(0, 2);
    EXPECT_EQ(Sfr(sfr::PCON), sfr::PCON_SMOD | sfr::PCON_IDL);
    EXPECT_EQ(Value(0), 2);
    // Power down comes on top of idle: the idle bit stays.
    Edit(0, 1);
    EXPECT_EQ(Sfr(sfr::PCON), sfr::PCON_SMOD | sfr::PCON_IDL | sfr::PCON_PD);
    EXPECT_EQ(Value(0), 1);
    Edit(0, 0);
    EXPECT_EQ(Sfr(sfr::PCON), sfr::PCON_SMOD);
    SetSfr(sfr::PCON, sfr::PCON_PD);
    Edit(0, 2);
    EXPECT_EQ(Sfr(sfr::PCON), sfr::PCON_PD | sfr::PCON_IDL);
    Edit(0, 3);
    Edit(0, -1);
    EXPECT_EQ(Sfr(sfr::PCON), sfr::PCON_PD | sfr::PCON_IDL);
}

TEST_F(PeripheralItemsTest, OscillatorEditsAreLimitedAndSharedByAllTargets) {
    EXPECT_EQ(Value(1), 22118400);
    EXPECT_EQ(Text(1), "[Hz]");
    Edit(1, 60000000);
    EXPECT_EQ(Value(1), 50000000);
    Edit(1, -5);
    EXPECT_EQ(Value(1), 0);
    Edit(1, 11059200);
    testing::ChipBench other;
    SimPeripheralItem item{};
    DescribePeripheralItem(other.registers, 1, &item);
    EXPECT_EQ(item.value, 11059200);
}

TEST_F(PeripheralItemsTest, OverflowItemsShowTheFlagAndTheHighestRateOfTheMode) {
    SetSfr(sfr::TMOD, 0x00);
    EXPECT_EQ(Text(2), "Max F overflow is 225 Hz");  // 22118400 / 98304
    EXPECT_EQ(Text(4), "Max F overflow is 225 Hz");
    SetSfr(sfr::TMOD, 0x11);
    EXPECT_EQ(Text(2), "Max F overflow is 28 Hz");  // 22118400 / 786432
    SetSfr(sfr::TMOD, 0x22);
    SetSfr(sfr::TH1, 0xFD);
    SetSfr(sfr::TH0, 0x00);
    EXPECT_EQ(Text(2), "Max F overflow is 614400 Hz");  // 22118400 / 12 / 3
    EXPECT_EQ(Text(4), "Max F overflow is 7200 Hz");    // 22118400 / 12 / 256
    SetSfr(sfr::TMOD, 0x33);
    EXPECT_EQ(Text(2), "Max F overflow is 7200 Hz");  // 22118400 / 3072
    EXPECT_EQ(Value(2), 0);
    EXPECT_EQ(Value(4), 0);
    SetSfr(sfr::TCON, sfr::TCON_TF1);
    EXPECT_EQ(Value(2), 1);
    EXPECT_EQ(Value(4), 0);
    SetSfr(sfr::TCON, sfr::TCON_TF0);
    EXPECT_EQ(Value(4), 1);
    Edit(2, 0);  // the overflow flags cannot be edited here
    Edit(4, 0);
    EXPECT_EQ(Sfr(sfr::TCON), sfr::TCON_TF0);
}

TEST_F(PeripheralItemsTest, RunItemsTellAndSwitchTheTimers) {
    EXPECT_EQ(Text(3), "Timer 1 is stopped");
    EXPECT_EQ(Text(5), "Timer 0 is stopped");
    Edit(3, 1);
    EXPECT_EQ(Sfr(sfr::TCON), sfr::TCON_TR1);
    EXPECT_EQ(Text(3), "Timer 1 is operating");
    EXPECT_EQ(Value(3), 1);
    Edit(5, 1);
    EXPECT_EQ(Text(5), "Timer 0 is operating");
    Edit(3, 0);
    EXPECT_EQ(Sfr(sfr::TCON), sfr::TCON_TR0);
}

TEST_F(PeripheralItemsTest, InterruptPinItemsAreTheLowTconBits) {
    const uint8_t masks[] = {sfr::TCON_IE1, sfr::TCON_IT1, sfr::TCON_IE0, sfr::TCON_IT0};
    for (int i = 0; i < 4; ++i) {
        SetSfr(sfr::TCON, 0);
        Edit(6 + i, 1);
        EXPECT_EQ(Sfr(sfr::TCON), masks[i]) << i;
        EXPECT_EQ(Value(6 + i), 1);
        SetSfr(sfr::TCON, 0xFF);
        Edit(6 + i, 0);
        EXPECT_EQ(Sfr(sfr::TCON), 0xFF & ~masks[i]) << i;
    }
}

TEST_F(PeripheralItemsTest, TimerModeGateAndCounterItemsAreTheTmodFields) {
    const char* const modes[] = {"13-bit mode", "16-bit mode", "8-bit auto reload mode",
                                 "8-bit dual mode"};
    for (int mode = 0; mode < 4; ++mode) {
        SetSfr(sfr::TMOD, static_cast<uint8_t>(mode << 4 | (3 - mode)));
        EXPECT_EQ(Value(10), mode);
        EXPECT_EQ(Text(10), modes[mode]);
        EXPECT_EQ(Value(11), 3 - mode);
        EXPECT_EQ(Text(11), modes[3 - mode]);
    }
    SetSfr(sfr::TMOD, 0);
    Edit(10, 2);
    Edit(11, 1);
    EXPECT_EQ(Sfr(sfr::TMOD), 0x21);
    Edit(11, 4);  // no such mode
    EXPECT_EQ(Sfr(sfr::TMOD), 0x21);
    Edit(12, 1);
    EXPECT_EQ(Sfr(sfr::TMOD), 0xA1);
    Edit(13, 1);
    EXPECT_EQ(Sfr(sfr::TMOD), 0xA9);
    EXPECT_EQ(Text(14), "Timer");
    Edit(14, 1);
    Edit(15, 1);
    EXPECT_EQ(Sfr(sfr::TMOD), 0xED);
    EXPECT_EQ(Text(14), "Counter");
    EXPECT_EQ(Text(15), "Counter");
    EXPECT_EQ(Value(12), 1);
    EXPECT_EQ(Value(13), 1);
}

TEST_F(PeripheralItemsTest, SerialModeShowsTheBaudRateOfEachMode) {
    SetSfr(sfr::TH1, 0xFD);
    SetSfr(sfr::SCON, 0x00);
    EXPECT_EQ(Text(16), "Shift register,BaudRate=1843200");
    SetSfr(sfr::SCON, 0x40);
    EXPECT_EQ(Value(16), 1);
    EXPECT_EQ(Text(16), "UART,8 bit,BaudRate=19200");
    SetSfr(sfr::PCON, sfr::PCON_SMOD);
    EXPECT_EQ(Text(16), "UART,8 bit,BaudRate=38400");
    SetSfr(sfr::SCON, 0x80);
    EXPECT_EQ(Text(16), "UART,9 bit,BaudRate=691200");
    SetSfr(sfr::PCON, 0);
    EXPECT_EQ(Text(16), "UART,9 bit,BaudRate=345600");
    SetSfr(sfr::SCON, 0xC0);
    EXPECT_EQ(Value(16), 3);
    EXPECT_EQ(Text(16), "UART,9 bit,BaudRate=19200");
    SetSfr(sfr::SCON, 0x13);
    Edit(16, 1);
    EXPECT_EQ(Sfr(sfr::SCON), 0x53);
}

TEST_F(PeripheralItemsTest, SerialControlBitItemsAreTheLowSconBits) {
    EXPECT_EQ(Text(17), "Normal Exchanging");
    Edit(17, 1);
    EXPECT_EQ(Text(17), "Multi-Processor Exchanging");
    EXPECT_EQ(Sfr(sfr::SCON), sfr::SCON_SM2);
    const uint8_t masks[] = {sfr::SCON_REN, sfr::SCON_TB8, sfr::SCON_RB8, sfr::SCON_TI,
                             sfr::SCON_RI};
    for (int i = 0; i < 5; ++i) {
        SetSfr(sfr::SCON, 0);
        EXPECT_EQ(Value(18 + i), 0);
        Edit(18 + i, 7);  // any non-zero value sets the flag
        EXPECT_EQ(Sfr(sfr::SCON), masks[i]) << i;
        EXPECT_EQ(Value(18 + i), 1);
    }
}

}  // namespace
}  // namespace ostrel
