// The board debuggers' register model: names, values by name, what setting one changes, and the
// register window text.
#include <gtest/gtest.h>

#include <string>

#include "boardlink/cpu_state.h"
#include "boardlink/register_model.h"
#include "simtarget/memory_segment.h"

namespace {

class Owner : public ISegmentOwner {
public:
    void OutputMessage(int32_t, const char* text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class Registers : public ::testing::Test {
protected:
    uint32_t Get(const char* name) { return ReadRegister(m_state, Spaces(), FindRegister(name)); }
    void Set(const char* name, uint32_t value) {
        SetModelRegister(m_state, Spaces(), FindRegister(name), value);
    }
    RegisterSpaces Spaces() {
        RegisterSpaces spaces;
        spaces.internalRam = &m_ram;
        spaces.atDptr = &m_external;
        return spaces;
    }
    std::string Dump(size_t length) {
        std::string buffer(length, '#');
        WriteRegisterDumpText(m_state, Spaces(), &buffer[0], length);
        return buffer.c_str();
    }

    Owner m_owner;
    CMemorySegment m_sfr{256, &m_owner};
    CMemorySegment m_ram{256, &m_owner};
    CMemorySegment m_external{0x10000, &m_owner};
    CpuState m_state{m_ram.PointerAt(0), m_sfr.PointerAt(0)};
};

TEST_F(Registers, ANewModelIsResetAndStopped) {
    EXPECT_EQ(Get("SP"), 7u);
    EXPECT_EQ(Get("Port0"), 0xFFu);
    EXPECT_EQ(Get("Port3"), 0xFFu);
    EXPECT_EQ(Get("PC"), 0xFFFFu);
    EXPECT_EQ(Get("ACC"), 0u);
}

TEST_F(Registers, NamesAreTheTablesInItsOrderAndCaseMatters) {
    EXPECT_STREQ(RegisterName(0), "ACC");
    EXPECT_STREQ(RegisterName(27), "0x08");
    EXPECT_STREQ(RegisterName(41), "0x16");
    EXPECT_STREQ(RegisterName(44), "PSW->CAF__O_P");
    EXPECT_STREQ(RegisterName(46), "R1->");
    EXPECT_STREQ(RegisterName(47), "");
    EXPECT_STREQ(RegisterName(-1), "");
    m_state.SetSfr(0xB8, 0x15);
    EXPECT_EQ(Get("IP"), 0x15u);
    EXPECT_EQ(Get("ip"), 0u);
    EXPECT_EQ(FindRegister("ip"), -1);
}

TEST_F(Registers, WorkingRegistersAndPointersFollowTheBank) {
    Set("PSW", 0x18);  // bank 3
    m_ram.WriteByte(0x18, 0x21);
    m_ram.WriteByte(0x19, 0x30);
    m_ram.WriteByte(0x30, 0x99);
    EXPECT_EQ(Get("R0"), 0x21u);
    EXPECT_EQ(Get("R1->"), 0x99u);
    Set("R7", 0x42);
    EXPECT_EQ(m_ram.ReadByte(0x1F), 0x42);
    Set("R1->", 0x55);
    EXPECT_EQ(m_ram.ReadByte(0x30), 0x55);
}

TEST_F(Registers, AccCarriesItsParityIntoPsw) {
    Set("ACC", 0x07);
    EXPECT_EQ(Get("PSW") & 1, 1u);
    Set("ACC", 0x03);
    EXPECT_EQ(Get("PSW") & 1, 0u);
    for (int value = 0; value < 256; ++value) {
        int ones = 0;
        for (int bit = 0; bit < 8; ++bit) {
            ones += (value >> bit) & 1;
        }
        ASSERT_EQ(CpuState::Parity(static_cast<uint8_t>(value)), ones % 2) << value;
    }
}

TEST_F(Registers, SixteenBitPairsSplitIntoTheirBytes) {
    Set("T1", 0x1234);
    EXPECT_EQ(m_state.Sfr(0x8D), 0x12);
    EXPECT_EQ(m_state.Sfr(0x8B), 0x34);
    EXPECT_EQ(Get("T1"), 0x1234u);
    Set("DPTR", 0xBEEF);
    EXPECT_EQ(m_state.Sfr(0x83), 0xBE);
    EXPECT_EQ(m_state.Sfr(0x82), 0xEF);
    Set("PC", 0x10800);
    EXPECT_EQ(Get("PC"), 0x0800u);
}

TEST_F(Registers, DptrPointsIntoExternalDataForReadsAndWrites) {
    Set("DPTR", 0x1234);
    Set("DPTR->", 0x5A);
    EXPECT_EQ(m_external.ReadByte(0x1234), 0x5A);
    EXPECT_EQ(m_ram.ReadByte(0x34), 0);
    EXPECT_EQ(Get("DPTR->"), 0x5Au);
    EXPECT_TRUE(m_owner.messages.empty());
}

TEST_F(Registers, IeAndIpAreNotSetByName) {
    Set("IE", 0x85);
    Set("IP", 0x10);
    Set("nothing", 1);
    EXPECT_EQ(Get("IE"), 0u);
    EXPECT_EQ(Get("IP"), 0u);
}

TEST_F(Registers, TheWindowShowsRegistersFlagsPointedBytesAndTheRamLines) {
    Set("ACC", 0x81);  // two ones: parity clear
    Set("PSW", 0xC4);  // C, A and O
    Set("DPTR", 0x0100);
    Set("DPTR->", 0xD1);
    Set("R0", 0x20);
    m_ram.WriteByte(0x20, 0xAB);
    m_ram.WriteByte(0x07, 0xCD);  // SP 7 points at it
    m_ram.WriteByte(0x16, 0x66);
    m_state.m_pc = 0x0845;
    const std::string text = Dump(2048);
    const std::string head =
        "8051 Registers:\r\nACC     0x81\r\nB       0x00\r\nSP      0x07    [0xCD]\r\n"
        "DPTR  0x0100    [0xD1]\r\nPC    0x0845\r\nPSW     0xC4    CA---O--\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("R0      0x20    [0xAB]\r\n"), std::string::npos);
    EXPECT_NE(text.find("T1    0x0000\r\n0x08:   0x00\r\n"), std::string::npos);
    const std::string tail = "0x15:   0x00\r\n0x16:   0x66\r\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(Registers, AWindowTooSmallForTheRegistersLeavesTheRamLinesOut) {
    const std::string whole = Dump(2048);
    const size_t registers = whole.find("0x08:");
    EXPECT_EQ(Dump(100), whole.substr(0, 99));
    EXPECT_EQ(Dump(registers), whole.substr(0, registers - 1));
    EXPECT_EQ(Dump(registers + 20), whole.substr(0, registers + 19));
}

}  // namespace
