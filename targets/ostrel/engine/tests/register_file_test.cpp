// The register file: names, banks, bits, ports and their latches, stack, reset and the dump.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "chip_bench.h"
#include "ostrel/sfr.h"

namespace ostrel {
namespace {

using testing::FakeChipHost;

class RegisterFileTest : public ::testing::Test {
protected:
    explicit RegisterFileTest(uint32_t ramSize = 256)
        : bench_(ChipFamily::k8051, ramSize), chip_(bench_.host), registers_(bench_.registers) {}

    uint8_t Ram(uint8_t address) { return bench_.ram[address]; }

    testing::ChipBench bench_;
    FakeChipHost& chip_;
    CRegisterFile& registers_;
};

TEST_F(RegisterFileTest, NamesTheRegistersInTheHostsOrder) {
    const char* const expected[] = {
        "ACC",   "B",     "SP",    "DPTR",  "PC",     "PSW",  "IE",   "IP",
        "R0",    "R1",    "R2",    "R3",    "R4",     "R5",   "R6",   "R7",
        "Port0", "Port1", "Port2", "Port3", "PCON",   "SBUF", "SCON", "TCON",
        "TMOD",  "T0",    "T1",    "SP->",  "DPTR->", "R0->", "R1->", "PSW->CAF__O_P",
        "cycles"};
    ASSERT_EQ(CRegisterFile::GetNameCount(), 33);
    for (int i = 0; i < 33; ++i) {
        EXPECT_STREQ(CRegisterFile::GetName(i), expected[i]);
    }
    EXPECT_STREQ(CRegisterFile::GetName(-1), "");
    EXPECT_STREQ(CRegisterFile::GetName(33), "");
}

TEST_F(RegisterFileTest, WorkingRegistersFollowTheBankThatPswSelects) {
    registers_.Set("PSW", 0x18);
    registers_.Set("R3", 0x5A);
    EXPECT_EQ(Ram(0x1B), 0x5A);
    registers_.Set("PSW", 0x08);
    registers_.Set("R0", 0x11);
    EXPECT_EQ(Ram(0x08), 0x11);
    EXPECT_EQ(registers_.Get("R3"), Ram(0x0B));
    registers_.Set("PSW", 0x18);
    EXPECT_EQ(registers_.Get("R3"), 0x5Au);
}

TEST_F(RegisterFileTest, SixteenBitAndArrowRegistersReachWhatTheyName) {
    registers_.Set("DPTR", 0x1234);
    EXPECT_EQ(registers_.Sfr(sfr::DPH), 0x12);
    EXPECT_EQ(registers_.Sfr(sfr::DPL), 0x34);
    registers_.Set("PC", 0x1ABCD);
    EXPECT_EQ(registers_.Get("PC"), 0xABCDu);
    registers_.Set("T0", 0xBEEF);
    EXPECT_EQ(registers_.Sfr(sfr::TH0), 0xBE);
    EXPECT_EQ(registers_.Sfr(sfr::TL0), 0xEF);
    registers_.Set("T1", 0x0102);
    EXPECT_EQ(registers_.Get("T1"), 0x0102u);

    registers_.Set("SP", 0x30);
    registers_.Set("SP->", 0x77);
    EXPECT_EQ(Ram(0x30), 0x77);
    registers_.Set("R0", 0x90);  // @R0 reaches the upper RAM, not the SFRs
    registers_.Set("R0->", 0x66);
    EXPECT_EQ(Ram(0x90), 0x66);
    EXPECT_EQ(registers_.Sfr(0x90), 0xFF);
    registers_.Set("R1", 0x40);
    registers_.Set("R1->", 0x55);
    EXPECT_EQ(registers_.Get("R1->"), 0x55u);
    registers_.Set("DPTR->", 0x99);
    EXPECT_EQ(bench_.xdata[0x1234], 0x99);
    EXPECT_EQ(registers_.Get("DPTR->"), 0x99u);

    registers_.Set("PSW->CAF__O_P", 0x80);
    EXPECT_EQ(registers_.Get("PSW"), 0x80u);
    EXPECT_EQ(registers_.Get("nothing"), 0u);
    EXPECT_EQ(registers_.Get(nullptr), 0u);
    registers_.Set("acc", 1);  // names are compared exactly
    EXPECT_EQ(registers_.Get("ACC"), 0u);
}

TEST_F(RegisterFileTest, WritingAccKeepsTheParityFlag) {
    registers_.Set("ACC", 0x07);
    EXPECT_EQ(registers_.Psw() & sfr::PSW_P, sfr::PSW_P);
    registers_.WriteDirect(sfr::ACC, 0x03);
    EXPECT_EQ(registers_.Psw() & sfr::PSW_P, 0);
    registers_.WriteBit(0xE0, true);  // ACC.0
    EXPECT_EQ(registers_.Acc(), 0x03);
    EXPECT_EQ(registers_.Psw() & sfr::PSW_P, 0);
    registers_.WriteBit(0xE7, true);
    EXPECT_EQ(registers_.Psw() & sfr::PSW_P, sfr::PSW_P);
}

TEST_F(RegisterFileTest, BitAddressesMapToTheBitAreaAndToTheSfrs) {
    bench_.ram[0x20] = 0x80;
    EXPECT_TRUE(registers_.ReadBit(0x07));
    EXPECT_FALSE(registers_.ReadBit(0x06));
    EXPECT_TRUE(registers_.WriteBit(0x7F, true));
    EXPECT_EQ(Ram(0x2F), 0x80);
    EXPECT_TRUE(registers_.WriteBit(0x08, true));
    EXPECT_EQ(Ram(0x21), 0x01);

    registers_.SetCarry(true);
    EXPECT_TRUE(registers_.ReadBit(0xD7));
    EXPECT_TRUE(registers_.WriteBit(0xD7, false));
    EXPECT_FALSE(registers_.Carry());
    EXPECT_TRUE(registers_.WriteBit(0x8C, true));  // TR0
    EXPECT_EQ(registers_.Sfr(sfr::TCON), sfr::TCON_TR0);
    EXPECT_TRUE(registers_.WriteBit(0x99, true));  // SCON.1, not SBUF
    EXPECT_EQ(registers_.Sfr(sfr::SCON), sfr::SCON_TI);
    EXPECT_TRUE(chip_.transmitted.empty());
}

TEST_F(RegisterFileTest, PortsKeepLatchAndPinsApart) {
    registers_.WriteDirect(sfr::P1, 0x0F);
    EXPECT_EQ(registers_.PortLatch(1), 0x0F);
    EXPECT_EQ(registers_.ReadDirect(sfr::P1), 0x0F);
    // Something outside pulls a pin low: the port reads the pins, the latch keeps what was
    // written.
    registers_.SetSfr(sfr::P1, 0x0E);
    EXPECT_EQ(registers_.ReadDirect(sfr::P1), 0x0E);
    registers_.SetReadModifyWrite(true);
    EXPECT_EQ(registers_.ReadDirect(sfr::P1), 0x0F);
    registers_.SetReadModifyWrite(false);
    EXPECT_EQ(registers_.Get("Port1"), 0x0Eu);
}

TEST_F(RegisterFileTest, PortBitWritesStartFromTheLatch) {
    registers_.WriteDirect(sfr::P2, 0xF0);
    registers_.SetSfr(sfr::P2, 0x00);  // pins held low from outside
    EXPECT_TRUE(registers_.WriteBit(0xA0, true));
    EXPECT_EQ(registers_.PortLatch(2), 0xF1);
    EXPECT_EQ(registers_.Sfr(sfr::P2), 0xF1);
    EXPECT_TRUE(registers_.WriteBit(0xA7, false));
    EXPECT_EQ(registers_.PortLatch(2), 0x71);
}

TEST_F(RegisterFileTest, PortBitReadsCopyThePortValueIntoItsByte) {
    registers_.WriteDirect(sfr::P3, 0xFF);
    chip_.portsActive = true;
    chip_.boardPins[sfr::P3] = 0xFB;
    EXPECT_FALSE(registers_.ReadBit(0xB2));
    EXPECT_EQ(registers_.Sfr(sfr::P3), 0xFB);
    // Inside a read-modify-write instruction the bit comes from the latch, the board is not asked.
    chip_.boardReads.clear();
    registers_.SetReadModifyWrite(true);
    EXPECT_TRUE(registers_.ReadBit(0xB2));
    EXPECT_TRUE(chip_.boardReads.empty());
}

TEST_F(RegisterFileTest, ActiveHardwarePortsAskAndTellTheBoard) {
    chip_.portsActive = true;
    chip_.boardPins[sfr::P0] = 0x3C;
    EXPECT_EQ(registers_.ReadDirect(sfr::P0), 0x3C);
    EXPECT_EQ(registers_.Sfr(sfr::P0), 0x3C);
    registers_.WriteDirect(sfr::P0, 0x81);
    ASSERT_FALSE(chip_.boardWrites.empty());
    EXPECT_EQ(chip_.boardWrites.back(), std::make_pair(sfr::P0, uint8_t{0x81}));
    // A silent board leaves the simulated value.
    chip_.boardAnswers = false;
    EXPECT_EQ(registers_.ReadDirect(sfr::P0), 0x81);
    // Other registers never go to the board.
    chip_.boardReads.clear();
    registers_.ReadDirect(sfr::TCON);
    EXPECT_TRUE(chip_.boardReads.empty());
}

TEST_F(RegisterFileTest, SbufWritesGoToTheTerminalAndLeaveTheReceiveBuffer) {
    registers_.Set("SBUF", 0x5A);  // what the program reads next
    registers_.WriteDirect(sfr::SBUF, 'A');
    EXPECT_EQ(chip_.transmitted, std::vector<uint8_t>{'A'});
    EXPECT_EQ(registers_.Sfr(sfr::SCON) & sfr::SCON_TI, sfr::SCON_TI);
    EXPECT_EQ(registers_.ReadDirect(sfr::SBUF), 0x5A);
    EXPECT_EQ(registers_.Get("SBUF"), 0x5Au);
}

TEST_F(RegisterFileTest, SimulatedSerialTimingRequestsATransmissionInsteadOfSettingTi) {
    bench_.chip.SetSimulateSerial(true);
    registers_.SetSfr(sfr::SCON, 0x50);
    registers_.WriteDirect(sfr::SBUF, 0x41);
    EXPECT_EQ(registers_.Sfr(sfr::SCON) & sfr::SCON_TI, 0);
    EXPECT_EQ(bench_.chip.Serial().Status() & CSerialPort::kRequested, CSerialPort::kRequested);
    EXPECT_EQ(chip_.transmitted, std::vector<uint8_t>{0x41});
}

TEST_F(RegisterFileTest, StackGrowsUpwardsFromSeven) {
    EXPECT_EQ(registers_.Sp(), 7);
    EXPECT_TRUE(registers_.PushByte(0x34));
    EXPECT_TRUE(registers_.PushByte(0x12));
    EXPECT_EQ(registers_.Sp(), 9);
    EXPECT_EQ(Ram(8), 0x34);
    EXPECT_EQ(registers_.PopByte(), 0x12);
    EXPECT_EQ(registers_.PopByte(), 0x34);
    EXPECT_EQ(registers_.Sp(), 7);
}

TEST_F(RegisterFileTest, CycleCounterWrapsAtSixteenBits) {
    registers_.Set("cycles", 0xFFFE);
    registers_.AddCycles(3);
    EXPECT_EQ(registers_.Get("cycles"), 1u);
}

TEST_F(RegisterFileTest, ResetReturnsEveryModelledRegisterToItsResetValue) {
    for (const char* name : {"ACC", "B", "PSW", "DPTR", "IE", "IP", "PCON", "SCON", "TCON", "TMOD",
                             "T0", "T1", "cycles"}) {
        registers_.Set(name, 0xFFFF);
    }
    registers_.Set("SP", 0x60);
    registers_.Set("SBUF", 0x42);
    registers_.WriteDirect(sfr::P1, 0x00);
    registers_.SetSfr(sfr::P1, 0x00);
    bench_.chip.Interrupts().SetLevel(3);
    registers_.SetReadModifyWrite(true);
    bench_.chip.Timers().SetLatchedTcon(0x10);
    bench_.chip.SetSimulateSerial(true);
    registers_.WriteDirect(sfr::SBUF, 0x41);  // a transmission waits

    bench_.chip.Reset();

    for (const char* name : {"ACC", "B", "PSW", "DPTR", "IE", "IP", "PCON", "SCON", "TCON", "TMOD",
                             "T0", "T1", "cycles"}) {
        EXPECT_EQ(registers_.Get(name), 0u) << name;
    }
    EXPECT_EQ(registers_.Get("SP"), 7u);
    EXPECT_EQ(registers_.Get("SBUF"), 0x42u);
    for (int port = 0; port < 4; ++port) {
        EXPECT_EQ(registers_.PortLatch(port), 0xFF);
        EXPECT_EQ(registers_.ReadPort(port), 0xFF);
    }
    EXPECT_EQ(bench_.chip.Interrupts().PreviousPins(), 0xFF);
    EXPECT_EQ(bench_.chip.Interrupts().Level(), 0);
    EXPECT_FALSE(registers_.ReadModifyWrite());
    EXPECT_EQ(bench_.chip.Timers().LatchedTcon(), 0);
    EXPECT_EQ(bench_.chip.Serial().Status(), 0);
}

TEST_F(RegisterFileTest, ResetWritesTheFourPortsToAnActiveBoard) {
    chip_.portsActive = true;
    registers_.Reset();
    const std::vector<std::pair<uint8_t, uint8_t>> expected = {
        {sfr::P0, 0xFF}, {sfr::P1, 0xFF}, {sfr::P2, 0xFF}, {sfr::P3, 0xFF}};
    EXPECT_EQ(chip_.boardWrites, expected);
}

class SmallRamTest : public RegisterFileTest {
protected:
    SmallRamTest() : RegisterFileTest(64) {}
};

TEST_F(SmallRamTest, RefusedRamAddressesAnswerFalseAndGoToTheHost) {
    EXPECT_FALSE(registers_.WriteDirect(0x50, 1));
    EXPECT_FALSE(registers_.WriteIndirect(0x80, 1));
    EXPECT_EQ(registers_.ReadIndirect(0x80), 0);
    registers_.SetSp(0x3F);
    EXPECT_FALSE(registers_.PushByte(9));
    EXPECT_EQ(registers_.Sp(), 0x40);
    using Access = FakeChipHost::Access;
    const std::vector<Access> expected = {{ChipSpace::InternalRam, 0x50},
                                          {ChipSpace::InternalRam, 0x80},
                                          {ChipSpace::InternalRam, 0x80},
                                          {ChipSpace::InternalRam, 0x40}};
    EXPECT_EQ(chip_.outside, expected);
    EXPECT_TRUE(registers_.WriteDirect(sfr::B, 1));
}

TEST_F(RegisterFileTest, DumpsRegistersAndLowRamInTheFixedLayout) {
    registers_.Set("ACC", 0xA5);
    registers_.Set("B", 0x0B);
    registers_.Set("SP", 0x30);
    registers_.Set("SP->", 0x5C);
    registers_.Set("DPTR", 0x1234);
    registers_.Set("DPTR->", 0xD7);
    registers_.Set("PC", 0x0123);
    registers_.Set("PSW", 0xC4);  // CY, AC, OV; ACC has even parity
    registers_.UpdateParity();
    registers_.Set("IE", 0x82);
    registers_.Set("IP", 0x10);
    for (int i = 0; i < 8; ++i) {
        registers_.Set(CRegisterFile::GetName(8 + i), static_cast<uint32_t>(0x08 + i));
    }
    registers_.Set("R0", 0x0C);
    registers_.Set("R1", 0x0D);
    registers_.Set("Port1", 0x3C);
    registers_.Set("PCON", 0x80);
    registers_.Set("SBUF", 0x41);
    registers_.Set("SCON", 0x50);
    registers_.Set("TCON", 0x50);
    registers_.Set("TMOD", 0x21);
    registers_.Set("T0", 0xABCD);
    registers_.Set("T1", 0xFD00);
    for (int i = 0; i < 15; ++i) {
        bench_.ram[0x08 + i] = static_cast<uint8_t>(0xE0 + i);
    }

    char text[2048];
    registers_.WriteDumpText(text, sizeof(text));
    const std::string expected =
        "8051 Registers:\r\n"
        "ACC     0xA5\r\n"
        "B       0x0B\r\n"
        "SP      0x30    [0x5C]\r\n"
        "DPTR  0x1234    [0xD7]\r\n"
        "PC    0x0123\r\n"
        "PSW     0xC4    CA---O--\r\n"
        "IE      0x82\r\n"
        "IP      0x10\r\n"
        "R0      0x0C    [0xE4]\r\n"
        "R1      0x0D    [0xE5]\r\n"
        "R2      0x0A\r\n"
        "R3      0x0B\r\n"
        "R4      0x0C\r\n"
        "R5      0x0D\r\n"
        "R6      0x0E\r\n"
        "R7      0x0F\r\n"
        "Port0   0xFF\r\n"
        "Port1   0x3C\r\n"
        "Port2   0xFF\r\n"
        "Port3   0xFF\r\n"
        "PCON    0x80\r\n"
        "SBUF    0x41\r\n"
        "SCON    0x50\r\n"
        "TCON    0x50\r\n"
        "TMOD    0x21\r\n"
        "T0    0xABCD\r\n"
        "T1    0xFD00\r\n"
        "0x08:   0xE0\r\n0x09:   0xE1\r\n0x0A:   0xE2\r\n0x0B:   0xE3\r\n0x0C:   0xE4\r\n"
        "0x0D:   0xE5\r\n0x0E:   0xE6\r\n0x0F:   0xE7\r\n0x10:   0xE8\r\n0x11:   0xE9\r\n"
        "0x12:   0xEA\r\n0x13:   0xEB\r\n0x14:   0xEC\r\n0x15:   0xED\r\n0x16:   0xEE\r\n";
    EXPECT_EQ(std::string(text), expected);
}

TEST_F(RegisterFileTest, DumpShowsEachPswFlagByItsLetter) {
    registers_.Set("PSW", 0xFF);
    char text[2048];
    registers_.WriteDumpText(text, sizeof(text));
    EXPECT_NE(std::string(text).find("PSW     0xFF    CAF--O-P\r\n"), std::string::npos);
}

TEST_F(RegisterFileTest, DumpIsCutToTheBufferAndStaysTerminated) {
    char full[2048];
    registers_.WriteDumpText(full, sizeof(full));
    const std::string whole = full;
    const size_t registersPart = whole.find("0x08:");
    ASSERT_NE(registersPart, std::string::npos);

    std::vector<char> small(21, 'x');
    registers_.WriteDumpText(small.data(), small.size());
    EXPECT_EQ(std::string(small.data()), whole.substr(0, 20));

    // Room for the registers and part of the RAM lines.
    std::vector<char> partRam(registersPart + 10, 'x');
    registers_.WriteDumpText(partRam.data(), partRam.size());
    EXPECT_EQ(std::string(partRam.data()), whole.substr(0, registersPart + 9));

    char untouched = 'x';
    registers_.WriteDumpText(&untouched, 0);
    EXPECT_EQ(untouched, 'x');
}

}  // namespace
}  // namespace ostrel
