// The Gristan chips: MCON's split of their RAM between program and data, and the bits that only
// a timed-access window lets the program change.
#include "engine_bench.h"

namespace ostrel {
namespace {

using Code = std::vector<uint8_t>;

const Code kOpenWindow = {0x75, 0xC7, 0xAA, 0x75, 0xC7, 0x55};  // MOV TA,#0AAh / MOV TA,#55h
const Code kSetPaa = {0x43, 0xC6, 0x02};                        // ORL MCON,#02h
const Code kClearPaa = {0x53, 0xC6, 0xFD};                      // ANL MCON,#0FDh
const Code kSetPd = {0x43, 0x87, 0x02};                         // ORL PCON,#02h
const Code kSjmpSelf = {0x80, 0xFE};

const char* const kGristanChips[] = {"Gristan-8", "GristanT-8", "Gristan-32", "GristanT-32"};

Code Join(std::initializer_list<Code> pieces) {
    Code code;
    for (const Code& piece : pieces) {
        code.insert(code.end(), piece.begin(), piece.end());
    }
    return code;
}

class GristanTest : public testing::EngineTest {
protected:
    CGristanTarget& Gristan() { return dynamic_cast<CGristanTarget&>(*target_); }
    uint32_t Partition() { return Gristan().Mcon().Partition(); }
    uint32_t SpaceSize(int32_t space) {
        uint32_t size = 0;
        target_->GetMemorySpaceInfo(space, nullptr, &size);
        return size;
    }
    uint8_t ProgramByte(uint32_t address) {
        uint8_t byte = 0;
        uint32_t read = 0;
        EXPECT_EQ(target_->ReadMemory(address, &byte, 1, &read, kSpaceProgram), SIM_OK);
        return byte;
    }
};

TEST_F(GristanTest, ResetGivesMconAndTaTheirValuesAndLeavesTheStartPartition) {
    for (const char* chip : kGristanChips) {
        Load({{0x0000, kSjmpSelf}}, chip);
        EXPECT_EQ(Reg("MCON"), 0xF8u) << chip;
        EXPECT_EQ(Reg("TA"), 0xE9u) << chip;
        EXPECT_EQ(Partition(), 8192u) << chip;
        ASSERT_EQ(target_->GetRegisterCount(), 35) << chip;
        EXPECT_STREQ(target_->GetRegisterName(33), "MCON");
        EXPECT_STREQ(target_->GetRegisterName(34), "TA");
        EXPECT_STREQ(target_->GetRegisterName(35), "");
    }
}

TEST_F(GristanTest, FirstChangeOfMconGivesTheThirtyTwoKilobyteChipsTheirWholeRange) {
    // MOV MCON,#0F0h / LJMP 4000h; 4000h: SJMP $
    for (const char* chip : {"Gristan-32", "GristanT-32"}) {
        Load({{0x0000, {0x75, 0xC6, 0xF0, 0x02, 0x40, 0x00}}, {0x4000, kSjmpSelf}}, chip);
        Steps(1);
        EXPECT_EQ(Reg("MCON"), 0xF8u) << chip;  // bit 3 comes back
        EXPECT_EQ(Partition(), 32768u) << chip;
        EXPECT_EQ(SpaceSize(kSpaceProgram), 32768u);
        Steps(2);
        EXPECT_EQ(Pc(), 0x4000u);
    }
    for (const char* chip : {"Gristan-8", "GristanT-8"}) {
        Load({{0x0000, {0x75, 0xC6, 0xF0, 0x80, 0xFE}}}, chip);
        Steps(1);
        EXPECT_EQ(Reg("MCON"), 0xF8u) << chip;
        EXPECT_EQ(Partition(), 8192u) << chip;
    }
}

TEST_F(GristanTest, CodeAtOrPastThePartitionIsOutOfRangeWithoutAMessage) {
    Load({{0x0000, {0x02, 0x20, 0x00}}}, "Gristan-8");  // LJMP 2000h
    Steps(1);
    EXPECT_EQ(Step(), SIM_OUT_OF_RANGE);
    EXPECT_EQ(Pc(), 0x2000u);
    EXPECT_TRUE(Messages().empty());
    // the 32 KB chip, whose program memory holds the code, still starts with 8 KB of it
    Load({{0x0000, {0x02, 0x40, 0x00}}, {0x4000, kSjmpSelf}}, "Gristan-32");
    Steps(1);
    EXPECT_EQ(Step(), SIM_OUT_OF_RANGE);
}

TEST_F(GristanTest, ProtectedBitsChangeOnlyInsideATimedAccessWindow) {
    // ORL PCON,#0C6h (SMOD is free) / MOV IP,#0FFh / the window / ORL PCON,#02h / SJMP $
    Load({{0x0000, Join({{0x43, 0x87, 0xC6, 0x75, 0xB8, 0xFF}, kOpenWindow, kSetPd, kSjmpSelf})}},
         "Gristan-8");
    Steps(2);
    EXPECT_EQ(Reg("PCON"), 0x80u);
    EXPECT_EQ(Reg("IP"), 0x7Fu);
    Steps(3);
    EXPECT_EQ(Reg("PCON"), 0x82u);
}

TEST_F(GristanTest, TheWindowLastsFourMachineCyclesFromTheSecondWrite) {
    // the window, NOP, then MOV PCON,A (one cycle, still inside) or ORL PCON,#02h (two, not)
    const Code start = Join({{0x74, 0x02}, kOpenWindow, {0x00}});
    Load({{0x0000, Join({start, {0xF5, 0x87}, kSjmpSelf})}}, "Gristan-8");
    Steps(5);
    EXPECT_EQ(Reg("PCON"), 0x02u);
    Load({{0x0000, Join({start, kSetPd, kSjmpSelf})}}, "Gristan-8");
    Steps(5);
    EXPECT_EQ(Reg("PCON"), 0x00u);
}

TEST_F(GristanTest, TheSecondWriteMustComeWhileTheFirstIsArmed) {
    // MOV TA,#0AAh / NOP / NOP / MOV TA,#55h / ORL PCON,#02h
    Load({{0x0000, Join({{0x75, 0xC7, 0xAA, 0x00, 0x00, 0x75, 0xC7, 0x55}, kSetPd})}}, "Gristan-8");
    Steps(5);
    EXPECT_EQ(Reg("PCON"), 0x00u);
    EXPECT_FALSE(Gristan().TimedAccess().IsOpen());
}

TEST_F(GristanTest, TaReadsItsIdleValueAfterEveryInstruction) {
    Load({{0x0000, {0x75, 0xC7, 0x12, 0xE5, 0xC7}}}, "Gristan-8");  // MOV TA,#12h / MOV A,TA
    Steps(2);
    EXPECT_EQ(Reg("TA"), 0xE9u);
    EXPECT_EQ(Reg("ACC"), 0xE9u);
}

TEST_F(GristanTest, ThePartitionMovesOnlyThroughPaaWhichOnlyTimedAccessSets) {
    // MOV MCON,#48h / ORL MCON,#02h: neither sticks
    Load({{0x0000, {0x75, 0xC6, 0x48, 0x43, 0xC6, 0x02, 0x80, 0xFE}}}, "Gristan-32");
    Steps(1);
    EXPECT_EQ(Reg("MCON"), 0xF8u);
    EXPECT_EQ(Partition(), 32768u);  // what 0F8h names on this chip, not 48h's 8 KB
    Steps(1);
    EXPECT_EQ(Reg("MCON"), 0xF8u);
    EXPECT_EQ(Partition(), 32768u);  // PAA would have put it at 2 KB
}

TEST_F(GristanTest, DataSpaceTakesWhatTheProgramLeavesOfTheSharedRam) {
    // MOV DPTR,#0100h / MOV A,#5Ah / MOVX @DPTR,A, then with PAA set (program 2 KB) PA = 6,
    // then PAA cleared: 12 KB of program, 20 KB of data
    const Code code = Join({{0x90, 0x01, 0x00, 0x74, 0x5A, 0xF0},
                            kOpenWindow,
                            kSetPaa,
                            {0x75, 0xC6, 0x6A},  // MOV MCON,#6Ah
                            kOpenWindow,
                            kClearPaa,
                            kSjmpSelf});
    Load({{0x0000, code}, {0x2800, {0xC3}}}, "Gristan-32");
    Steps(3);
    EXPECT_EQ(SpaceSize(kSpaceExternalData), 0x10000u);  // as loaded, until MCON moves
    Steps(3);
    EXPECT_EQ(Reg("MCON"), 0xFAu);
    EXPECT_EQ(Partition(), 2048u);
    EXPECT_EQ(SpaceSize(kSpaceProgram), 2048u);
    EXPECT_EQ(SpaceSize(kSpaceExternalData), 0x8000u - 2048u);
    Steps(1);
    EXPECT_EQ(Reg("MCON"), 0x6Au);
    EXPECT_EQ(Partition(), 2048u);  // held while PAA is set
    Steps(3);
    EXPECT_EQ(Reg("MCON"), 0x68u);
    EXPECT_EQ(Partition(), 0x3000u);
    EXPECT_EQ(SpaceSize(kSpaceProgram), 0x3000u);
    EXPECT_EQ(SpaceSize(kSpaceExternalData), 0x5000u);
    // both keep their bytes by address across the moves
    EXPECT_EQ(ProgramByte(0x2800), 0xC3);
    EXPECT_EQ(Reg("DPTR->"), 0x5Au);
    Steps(1);
    EXPECT_EQ(Step(), SIM_OK);
}

TEST_F(GristanTest, ClearingPaaBringsBackThePartitionOfTheLatchedMcon) {
    Load({{0x0000, Join({kOpenWindow, kSetPaa, kOpenWindow, kClearPaa, kSjmpSelf})}}, "Gristan-8");
    Steps(3);
    EXPECT_EQ(Partition(), 2048u);
    Steps(3);
    EXPECT_EQ(Reg("MCON"), 0xF8u);
    EXPECT_EQ(Partition(), 8192u);
}

TEST_F(GristanTest, APartitionOfNothingStopsTheChipUntilItsReset) {
    const Code code = Join(
        {kOpenWindow, kSetPaa, {0x75, 0xC6, 0x0A}, kOpenWindow, kClearPaa, kSjmpSelf});  // PA = 0
    Load({{0x0000, code}}, "Gristan-8");
    Steps(6);
    EXPECT_EQ(Step(), SIM_OUT_OF_RANGE);  // the write itself completes, then nothing runs
    EXPECT_EQ(Partition(), 0u);
    EXPECT_FALSE(Gristan().Mcon().Valid());
    const uint32_t pc = Pc();
    EXPECT_EQ(Step(), SIM_OUT_OF_RANGE);
    EXPECT_EQ(Pc(), pc);
    ASSERT_EQ(target_->Reset(), SIM_OK);
    EXPECT_EQ(Partition(), 8192u);
    EXPECT_EQ(Reg("MCON"), 0xF8u);
    EXPECT_EQ(Step(), SIM_OK);
}

TEST_F(GristanTest, ResetPutsThePartitionBackAndStopClearsHiddenData) {
    // the 32 KB range (program 32 KB, no data), then back to 8 KB by a reset
    Load({{0x0000, {0x75, 0xC6, 0xF0, 0x80, 0xFE}}}, "Gristan-32");
    uint8_t byte = 0x77;
    ASSERT_EQ(target_->WriteMemory(0x6000, &byte, 1, nullptr, kSpaceExternalData), SIM_OK);
    Steps(1);
    ASSERT_EQ(Partition(), 32768u);
    EXPECT_EQ(SpaceSize(kSpaceExternalData), 0u);
    ASSERT_EQ(target_->Reset(), SIM_OK);  // stops first: data is gone, even the hidden byte
    EXPECT_EQ(Partition(), 8192u);
    EXPECT_EQ(SpaceSize(kSpaceExternalData), 0x6000u);
    uint32_t read = 0;
    ASSERT_EQ(target_->ReadMemory(0x6000 - 1, &byte, 1, &read, kSpaceExternalData), SIM_OK);
    EXPECT_EQ(byte, 0);
    Steps(1);
    EXPECT_EQ(Partition(), 32768u);
}

}  // namespace
}  // namespace ostrel
