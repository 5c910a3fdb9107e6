// The arithmetic instructions against the 8051's rules for their results and flags: every
// operand pair of ADD, ADDC, SUBB, MUL and DIV, and DA A after every BCD addition.
#include <gtest/gtest.h>

#include <cstdint>

#include "chip_bench.h"
#include "ostrel/sfr.h"

namespace ostrel {
namespace {

constexpr uint8_t kAddImmediate = 0x24;
constexpr uint8_t kAddcImmediate = 0x34;
constexpr uint8_t kSubbImmediate = 0x94;
constexpr uint8_t kMul = 0xA4;
constexpr uint8_t kDiv = 0x84;
constexpr uint8_t kDa = 0xD4;

// PSW bits that no arithmetic instruction touches: F0, the bank, bit 1.
constexpr uint8_t kUntouched = sfr::PSW_F0 | sfr::PSW_RS | 0x02;

bool OddOnes(uint8_t value) {
    int ones = 0;
    for (int bit = 0; bit < 8; ++bit) {
        ones += (value >> bit) & 1;
    }
    return (ones & 1) != 0;
}

struct Flags {
    bool cy;
    bool ac;
    bool ov;
};

class AluTest : public ::testing::Test {
protected:
    // Runs the instruction `code` once with A, B and PSW as given.
    void Run(std::initializer_list<uint8_t> code, uint8_t a, uint8_t b, uint8_t psw) {
        bench_.Program(0, code);
        bench_.registers.SetAcc(a);
        bench_.registers.SetB(b);
        bench_.registers.SetPsw(psw);
        ASSERT_EQ(bench_.chip.Step(), SIM_OK);
    }
    uint8_t A() const { return bench_.Sfr(sfr::ACC); }
    uint8_t B() const { return bench_.Sfr(sfr::B); }
    uint8_t Psw() const { return bench_.Sfr(sfr::PSW); }
    Flags FlagsNow() const {
        return {(Psw() & sfr::PSW_CY) != 0, (Psw() & sfr::PSW_AC) != 0, (Psw() & sfr::PSW_OV) != 0};
    }

    // The sum as unsigned and as signed numbers decides CY and OV; the low nibbles decide AC.
    void ExpectAddition(uint8_t opcode, bool withCarry) {
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                for (int carryIn = 0; carryIn < 2; ++carryIn) {
                    const uint8_t psw =
                        static_cast<uint8_t>((carryIn ? sfr::PSW_CY : 0) | kUntouched);
                    Run({opcode, static_cast<uint8_t>(b)}, static_cast<uint8_t>(a), 0, psw);
                    const int c = withCarry ? carryIn : 0;
                    const int sum = a + b + c;
                    const int signedSum = static_cast<int8_t>(a) + static_cast<int8_t>(b) + c;
                    const Flags flags = FlagsNow();
                    ASSERT_EQ(A(), sum & 0xFF) << a << "+" << b << "+" << c;
                    ASSERT_EQ(flags.cy, sum > 0xFF) << a << "+" << b << "+" << c;
                    ASSERT_EQ(flags.ac, (a & 0x0F) + (b & 0x0F) + c > 0x0F) << a << "+" << b;
                    ASSERT_EQ(flags.ov, signedSum < -128 || signedSum > 127) << a << "+" << b;
                    ASSERT_EQ(Psw() & kUntouched, kUntouched);
                    ASSERT_EQ((Psw() & sfr::PSW_P) != 0, OddOnes(A()));
                }
            }
        }
    }

    testing::ChipBench bench_;
};

TEST_F(AluTest, AddSetsCarryAuxiliaryCarryAndOverflowByTheRules) {
    ExpectAddition(kAddImmediate, false);
}

TEST_F(AluTest, AddcAddsTheCarryToo) { ExpectAddition(kAddcImmediate, true); }

TEST_F(AluTest, SubbSubtractsTheBorrowAndSetsTheBorrowFlags) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            for (int c = 0; c < 2; ++c) {
                const uint8_t psw = static_cast<uint8_t>((c ? sfr::PSW_CY : 0) | kUntouched);
                Run({kSubbImmediate, static_cast<uint8_t>(b)}, static_cast<uint8_t>(a), 0, psw);
                const int difference = a - b - c;
                const int signedDifference = static_cast<int8_t>(a) - static_cast<int8_t>(b) - c;
                const Flags flags = FlagsNow();
                ASSERT_EQ(A(), difference & 0xFF) << a << "-" << b << "-" << c;
                ASSERT_EQ(flags.cy, difference < 0) << a << "-" << b << "-" << c;
                ASSERT_EQ(flags.ac, (a & 0x0F) - (b & 0x0F) - c < 0) << a << "-" << b << "-" << c;
                ASSERT_EQ(flags.ov, signedDifference < -128 || signedDifference > 127)
                    << a << "-" << b << "-" << c;
                ASSERT_EQ(Psw() & kUntouched, kUntouched);
                ASSERT_EQ((Psw() & sfr::PSW_P) != 0, OddOnes(A()));
            }
        }
    }
}

TEST_F(AluTest, MulLeavesTheProductInBAndAAndOverflowWhenItPassesAByte) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            // CY is cleared, AC is left as it was.
            const uint8_t psw = static_cast<uint8_t>(sfr::PSW_CY | ((a + b) & 1 ? sfr::PSW_AC : 0));
            Run({kMul}, static_cast<uint8_t>(a), static_cast<uint8_t>(b), psw);
            const int product = a * b;
            ASSERT_EQ(A(), product & 0xFF) << a << "*" << b;
            ASSERT_EQ(B(), product >> 8) << a << "*" << b;
            ASSERT_FALSE(FlagsNow().cy);
            ASSERT_EQ(FlagsNow().ov, product > 0xFF) << a << "*" << b;
            ASSERT_EQ(FlagsNow().ac, ((a + b) & 1) != 0);
        }
    }
}

TEST_F(AluTest, DivLeavesQuotientAndRemainderAndFlagsADivisionByZero) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            Run({kDiv}, static_cast<uint8_t>(a), static_cast<uint8_t>(b),
                sfr::PSW_CY | sfr::PSW_OV);
            if (b == 0) {
                // A and B are left as they were.
                ASSERT_EQ(A(), a);
                ASSERT_EQ(B(), 0);
                ASSERT_TRUE(FlagsNow().ov);
            } else {
                ASSERT_EQ(A(), a / b) << a << "/" << b;
                ASSERT_EQ(B(), a % b) << a << "/" << b;
                ASSERT_FALSE(FlagsNow().ov);
            }
            ASSERT_FALSE(FlagsNow().cy);
        }
    }
}

uint8_t Bcd(int value) { return static_cast<uint8_t>((value / 10) << 4 | (value % 10)); }

TEST_F(AluTest, DaAfterABcdAdditionGivesTheDecimalSumAndItsCarry) {
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 100; ++y) {
            for (int c = 0; c < 2; ++c) {
                bench_.Program(0, {kAddcImmediate, Bcd(y), kDa});
                bench_.registers.SetAcc(Bcd(x));
                bench_.registers.SetPsw(c ? sfr::PSW_CY : 0);
                bench_.Steps(2);
                const int sum = x + y + c;
                ASSERT_EQ(A(), Bcd(sum % 100)) << x << "+" << y << "+" << c;
                ASSERT_EQ(FlagsNow().cy, sum >= 100) << x << "+" << y << "+" << c;
            }
        }
    }
    EXPECT_TRUE(bench_.failures.empty());
}

TEST_F(AluTest, DaAdjustsEachNibbleByItsOwnCarryAndNeverClearsCy) {
    // 56h + 67h = BDh with both nibbles past 9: 123 in BCD.
    Run({kAddImmediate, 0x67}, 0x56, 0, 0);
    bench_.Program(0, {kDa});
    ASSERT_EQ(bench_.chip.Step(), SIM_OK);
    EXPECT_EQ(A(), 0x23);
    EXPECT_TRUE(FlagsNow().cy);
    // 99h + 99h = 132h: the low nibble's half carry alone adds 6, the carry adds 60h.
    Run({kAddImmediate, 0x99}, 0x99, 0, 0);
    bench_.Program(0, {kDa});
    ASSERT_EQ(bench_.chip.Step(), SIM_OK);
    EXPECT_EQ(A(), 0x98);
    EXPECT_TRUE(FlagsNow().cy);
    // A carry that comes in stays, and adds 60h.
    Run({kDa}, 0x00, 0, sfr::PSW_CY);
    EXPECT_EQ(A(), 0x60);
    EXPECT_TRUE(FlagsNow().cy);
    // AC alone adds 6 to a low nibble that is no digit past 9.
    Run({kDa}, 0x12, 0, sfr::PSW_AC);
    EXPECT_EQ(A(), 0x18);
    EXPECT_FALSE(FlagsNow().cy);
}

}  // namespace
}  // namespace ostrel
