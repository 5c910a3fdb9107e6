// Machine cycles passed in one go while the peripherals are quiet against the same cycles run
// one by one: random programs that start, stop, reload, read and write every peripheral, with
// interrupts, serial timing and idle, must leave two chips in the same state after every run.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "chip_bench.h"
#include "ostrel/sfr.h"

namespace ostrel {
namespace {

// Registers a random write may choose, and bits a random SETB or CLR may choose.
constexpr uint8_t kRegisters[] = {sfr::TMOD,   sfr::TCON, sfr::TL0,   sfr::TH0,   sfr::TL1,
                                  sfr::TH1,    sfr::SCON, sfr::SBUF,  sfr::IE,    sfr::IP,
                                  sfr::P1,     sfr::P3,   sfr::T2CON, sfr::T2MOD, sfr::RCAP2L,
                                  sfr::RCAP2H, sfr::TL2,  sfr::TH2};
constexpr uint8_t kBits[] = {0x8C, 0x8E, 0x8D, 0x8F, 0x88, 0x8A, 0x89, 0x8B,  // TCON
                             0xAF, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD,        // IE
                             0x99, 0x98, 0x9C,                                // TI, RI, REN
                             0xCA, 0xCF, 0xCE,                                // TR2, TF2, EXF2
                             0xB2, 0xB3, 0x91, 0xBC};                         // pins, PS

// A program of random pieces that loops for ever, with a short routine at every vector: the
// pieces set the peripherals up in their modes near an overflow, switch them, read them into a
// checksum, move the pins, wait in loops and polls, and sleep until an interrupt.
std::vector<uint8_t> RandomProgram(std::mt19937& random) {
    std::vector<uint8_t> code(0x2000, 0);
    for (uint16_t vector : {0x03, 0x0B, 0x13, 0x1B, 0x23, 0x2B}) {
        // INC 30h / CLR TI / RETI: the serial routine must clear TI or it never ends.
        const uint8_t routine[] = {0x05, 0x30, 0xC2, 0x99, 0x32};
        std::copy(std::begin(routine), std::end(routine), code.begin() + vector);
    }
    code[0] = 0x02;  // LJMP 0040h
    code[1] = 0x00;
    code[2] = 0x40;
    size_t at = 0x40;
    auto emit = [&](std::initializer_list<uint8_t> bytes) {
        for (uint8_t byte : bytes) {
            code[at++] = byte;
        }
    };
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto byte = [&]() { return static_cast<uint8_t>(random()); };
    auto mov = [&](uint8_t address, uint8_t value) { emit({0x75, address, value}); };
    while (at < 0x1F00) {
        switch (pick(14)) {
            case 0: {  // a timer in a random mode, near its overflow, running
                const bool one = pick(2) != 0;
                mov(sfr::TMOD, static_cast<uint8_t>(byte() & (pick(4) == 0 ? 0xFF : 0x33)));
                mov(one ? sfr::TH1 : sfr::TH0, static_cast<uint8_t>(0xF0 | byte()));
                mov(one ? sfr::TL1 : sfr::TL0, byte());
                emit({0xD2, static_cast<uint8_t>(one ? 0x8E : 0x8C)});  // SETB TRx
                break;
            }
            case 1:  // the serial port in a random mode, sometimes sending
                mov(sfr::SCON, static_cast<uint8_t>((byte() & 0xE8) | sfr::SCON_REN));
                if (pick(3) == 0) {
                    mov(sfr::SBUF, byte());
                }
                break;
            case 2:  // Timer 2 in a random mode (the 8051 just stores the bytes)
                mov(sfr::RCAP2H, static_cast<uint8_t>(0xF0 | byte()));
                mov(sfr::RCAP2L, byte());
                mov(sfr::T2MOD, static_cast<uint8_t>(byte() & 1));
                mov(sfr::T2CON, static_cast<uint8_t>((byte() & 0x39) | sfr::T2CON_TR2));
                break;
            case 3:  // interrupts
                mov(sfr::IE, static_cast<uint8_t>(0x80 | byte()));
                if (pick(2) == 0) {
                    mov(sfr::IP, byte());
                }
                break;
            case 4:
                mov(kRegisters[pick(sizeof(kRegisters))], byte());
                break;
            case 5:
                emit({static_cast<uint8_t>(pick(2) ? 0xD2 : 0xC2), kBits[pick(sizeof(kBits))]});
                break;
            case 6:  // MOV A,direct / XRL 31h,A: what was read shows in RAM
                emit({0xE5, kRegisters[pick(sizeof(kRegisters))], 0x62, 0x31});
                break;
            case 7:  // loops of a few hundred cycles
                emit({0x7E, static_cast<uint8_t>(1 + pick(4)), 0x7F,
                      static_cast<uint8_t>(1 + pick(255)), 0xDF, 0xFE, 0xDE, 0xFA});
                break;
            case 8:  // the pins: INT0, INT1, T2EX
                emit({static_cast<uint8_t>(pick(2) ? 0xB2 : 0xC2),
                      static_cast<uint8_t>(pick(3) == 0 ? 0x91 : 0xB2 + pick(2))});
                break;
            case 9:
                emit({0xA4, 0x84, 0xF0, 0xE0, 0xA3});  // MUL, DIV, MOVX out and in, INC DPTR
                break;
            case 10:  // a poll of a flag, bounded by a loop around it
                emit({0x7E, 0x20, static_cast<uint8_t>(pick(2) ? 0x30 : 0x20),
                      kBits[pick(sizeof(kBits))], 0x02, 0xDE, 0xFB});
                break;
            case 11:  // sleep until Timer 0 or Timer 1 overflows
                if (pick(3) == 0) {
                    mov(sfr::TMOD, 0x22);
                    mov(sfr::IE, 0x8A);
                    emit({0xD2, 0x8C, 0xD2, 0x8E});
                    emit({0x43, sfr::PCON, sfr::PCON_IDL});
                }
                break;
            default:
                for (int n = pick(6); n > 0; --n) {
                    emit({0x00});
                }
                break;
        }
    }
    emit({0x02, 0x00, 0x40});
    return code;
}

class EventDrivenTest : public ::testing::TestWithParam<ChipFamily> {
protected:
    static void Prepare(testing::ChipBench& bench, const std::vector<uint8_t>& code) {
        bench.code = code;
        bench.Bind();
        bench.registers.SetPc(0);
        bench.chip.SetSimulateTimers(true);
        bench.chip.SetSimulateInterrupts(true);
        bench.chip.SetSimulateSerial(true);
    }

    // Everything a program, the host or the next cycle could see.
    static void ExpectSame(testing::ChipBench& a, testing::ChipBench& b, int step) {
        ASSERT_EQ(a.registers.Pc(), b.registers.Pc()) << "after step " << step;
        ASSERT_EQ(a.sfr, b.sfr) << "after step " << step;
        ASSERT_EQ(a.ram, b.ram) << "after step " << step;
        ASSERT_EQ(a.registers.Cycles(), b.registers.Cycles()) << "after step " << step;
        CChip& x = a.chip;
        CChip& y = b.chip;
        ASSERT_EQ(x.Interrupts().Level(), y.Interrupts().Level()) << "after step " << step;
        for (int flag = 0; flag < kDelayFlagCount; ++flag) {
            ASSERT_EQ(x.Interrupts().DelayFlag(flag), y.Interrupts().DelayFlag(flag))
                << "delay flag " << flag << " after step " << step;
        }
        ASSERT_EQ(x.Interrupts().PreviousPins(), y.Interrupts().PreviousPins());
        ASSERT_EQ(x.Timers().LatchedTcon(), y.Timers().LatchedTcon()) << "after step " << step;
        ASSERT_EQ(x.Timers().LatchedTmod(), y.Timers().LatchedTmod()) << "after step " << step;
        ASSERT_EQ(x.Serial().Status(), y.Serial().Status()) << "after step " << step;
        ASSERT_EQ(x.Serial().BitTime(), y.Serial().BitTime()) << "after step " << step;
        ASSERT_EQ(x.Serial().BaudPrescaler(), y.Serial().BaudPrescaler());
        ASSERT_EQ(a.host.transmitted, b.host.transmitted) << "after step " << step;
        if (x.Timer2() != nullptr) {
            ASSERT_EQ(x.Timer2()->CountsUp(), y.Timer2()->CountsUp()) << "after step " << step;
        }
    }
};

TEST_P(EventDrivenTest, RandomProgramsLeaveTheSameChipAsCyclesOneByOne) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        std::mt19937 random(seed);
        const std::vector<uint8_t> code = RandomProgram(random);
        testing::ChipBench eventDriven(GetParam());
        testing::ChipBench oneByOne(GetParam());
        oneByOne.chip.SetEventDriven(false);
        Prepare(eventDriven, code);
        Prepare(oneByOne, code);
        int steps = 0;
        while (steps < 30000) {
            // Runs of every length, so that the parts are brought up to date at every point.
            const uint32_t length = 1 + random() % 200;
            uint32_t doneA = 0;
            uint32_t doneB = 0;
            const SimStatus a = eventDriven.chip.Run(length, nullptr, &doneA);
            const SimStatus b = oneByOne.chip.Run(length, nullptr, &doneB);
            ASSERT_EQ(a, b) << "seed " << seed << " step " << steps;
            ASSERT_EQ(doneA, doneB) << "seed " << seed << " step " << steps;
            steps += static_cast<int>(doneA) + 1;
            ExpectSame(eventDriven, oneByOne, steps);
            if (HasFatalFailure()) {
                FAIL() << "seed " << seed;
            }
            if (a != SIM_OK) {
                // A stack that overflowed: both start again from a fresh stack.
                for (testing::ChipBench* bench : {&eventDriven, &oneByOne}) {
                    bench->registers.SetSp(0x40);
                }
            }
            // The host sends bytes while the receiver is on, and may change any register.
            if (random() % 16 == 0 && (eventDriven.Sfr(sfr::SCON) & sfr::SCON_REN) != 0) {
                const uint8_t input[] = {static_cast<uint8_t>(random()),
                                         static_cast<uint8_t>(random())};
                for (testing::ChipBench* bench : {&eventDriven, &oneByOne}) {
                    ASSERT_TRUE(bench->chip.Serial().QueueInput(input, sizeof(input)));
                    bench->chip.Serial().DeliverInput();
                }
            }
            if (random() % 8 == 0) {
                const uint8_t address = kRegisters[random() % sizeof(kRegisters)];
                const uint8_t value = static_cast<uint8_t>(random());
                eventDriven.SetSfr(address, value);
                oneByOne.SetSfr(address, value);
            }
        }
        // External data is only written by MOVX: it is compared once, at the end.
        ASSERT_EQ(eventDriven.xdata, oneByOne.xdata) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryTimedVariant, EventDrivenTest,
                         ::testing::Values(ChipFamily::k8051, ChipFamily::k8052,
                                           ChipFamily::k80C52));

}  // namespace
}  // namespace ostrel
