// How an instruction fails: the status, the messages, and a chip left as it was before the
// instruction, so that the next step runs it again.
#include "engine_bench.h"

namespace ostrel {
namespace {

using ::testing::ElementsAre;

class FailureTest : public testing::EngineTest {};

TEST_F(FailureTest, RefusedIndirectWriteLeavesTheChipAsItWasAndRunsAgainOnceItFits) {
    // MOV R0,#90h / MOV A,#55h / XCH A,@R0 on a chip with 128 bytes of RAM
    Load({{0x0000, {0x78, 0x90, 0x74, 0x55, 0xC6}}});
    Steps(2);
    const uint32_t cycles = Reg("cycles");

    EXPECT_EQ(Step(), SIM_OUT_OF_RANGE);
    EXPECT_EQ(Pc(), 0x0004u);
    EXPECT_EQ(Reg("ACC"), 0x55u);
    EXPECT_EQ(Reg("cycles"), cycles);
    EXPECT_THAT(Messages(),
                ElementsAre("ERROR: trying to access mem segment at address 144. Mem size=128.",
                            "ERROR: trying to access mem segment at address 144. Mem size=128.",
                            "FATAL ERROR: Trying to use address outside the allowed region, "
                            "PC=04, mem size=80"));

    SetReg("R0", 0x30);
    SetRam(0x30, 0x12);
    EXPECT_EQ(Step(), SIM_OK);
    EXPECT_EQ(Reg("ACC"), 0x12u);
    EXPECT_EQ(Ram(0x30), 0x55);
    EXPECT_EQ(Pc(), 0x0005u);
}

TEST_F(FailureTest, RefusedIndirectWritesOfEveryKindFail) {
    // MOV R1,#80h, then MOV @R1,A / MOV @R1,#1 / MOV @R1,30h / INC @R1 / XCHD A,@R1
    const std::vector<std::vector<uint8_t>> failing = {
        {0xF7}, {0x77, 0x01}, {0xA7, 0x30}, {0x07}, {0xD7}};
    for (const auto& instruction : failing) {
        std::vector<uint8_t> code = {0x79, 0x80};
        code.insert(code.end(), instruction.begin(), instruction.end());
        Load({{0x0000, code}});
        Steps(1);
        EXPECT_EQ(Step(), SIM_OUT_OF_RANGE) << "opcode " << int(instruction[0]);
        EXPECT_EQ(Pc(), 0x0002u);
    }
}

TEST_F(FailureTest, CallThatOverflowsTheStackLeavesSpAndTheStackAsTheyWere) {
    // LCALL 0010h with SP 7Eh: the low byte would fit at 7Fh, the high byte not at 80h
    Load({{0x0000, {0x12, 0x00, 0x10}}});
    SetReg("SP", 0x7E);
    SetRam(0x7F, 0xEE);
    const int32_t frames = target_->CallStack()->GetCount();

    EXPECT_EQ(Step(), SIM_STACK_FAULT);
    EXPECT_EQ(Reg("SP"), 0x7Eu);
    EXPECT_EQ(Ram(0x7F), 0xEE);
    EXPECT_EQ(Pc(), 0x0000u);
    EXPECT_EQ(target_->CallStack()->GetCount(), frames);
    EXPECT_EQ(Messages().back(),
              "FATAL ERROR: Trying to use stack outside the allowed region, SP=80, mem size=80");

    SetReg("SP", 0x07);
    EXPECT_EQ(Step(), SIM_OK);
    EXPECT_EQ(Reg("SP"), 0x09u);
    EXPECT_EQ(Ram(0x08), 0x03);
    EXPECT_EQ(Ram(0x09), 0x00);
    EXPECT_EQ(Pc(), 0x0010u);
}

TEST_F(FailureTest, PushAtTheTopOfRamFailsWithSpUnchanged) {
    // PUSH ACC with SP 7Fh
    Load({{0x0000, {0xC0, 0xE0}}});
    SetReg("SP", 0x7F);
    EXPECT_EQ(Step(), SIM_STACK_FAULT);
    EXPECT_EQ(Reg("SP"), 0x7Fu);
    EXPECT_EQ(Messages().back(),
              "FATAL ERROR: Trying to use stack outside the allowed region, SP=80, mem size=80");
}

TEST_F(FailureTest, WithoutExternalMemoryMovxWritesFailAndReadsAnswerZero) {
    // MOV A,#7 / MOVX A,@DPTR / MOVX @DPTR,A
    Load({{0x0000, {0x74, 0x07, 0xE0, 0xF0}}}, "8051", "");
    Steps(2);
    EXPECT_EQ(Reg("ACC"), 0u);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Step(), SIM_EXTERNAL_ADDRESS_FAULT);
    EXPECT_EQ(Pc(), 0x0003u);
    EXPECT_THAT(Messages(), ElementsAre("FATAL ERROR: Trying to use external address which may "
                                        "not be available, PC=03, mem size=80"));
}

TEST_F(FailureTest, OverlappedExternalMemoryIsProgramMemory) {
    // MOV DPTR,#0100h / MOVX A,@DPTR / INC A / MOVX @DPTR,A ; 0100h holds 41h
    Load({{0x0000, {0x90, 0x01, 0x00, 0xE0, 0x04, 0xF0}}, {0x0100, {0x41}}}, "8051",
         "ExtMem=Overlapped");
    Steps(4);
    uint8_t byte = 0;
    uint32_t read = 0;
    ASSERT_EQ(target_->ReadMemory(0x0100, &byte, 1, &read, kSpaceProgram), SIM_OK);
    EXPECT_EQ(byte, 0x42);
}

TEST_F(FailureTest, UndefinedOpcodeStopsWithoutMovingOrTimingAnything) {
    Load({{0x0000, {0x00, 0xA5}}});
    Simulate(true, true);
    SetSfr(sfr::TMOD, 0x01);
    SetSfr(sfr::TCON, sfr::TCON_TR0);
    Steps(1);
    const uint8_t counted = Sfr(sfr::TL0);

    EXPECT_EQ(Step(), SIM_UNKNOWN_OPCODE);
    EXPECT_EQ(Step(), SIM_UNKNOWN_OPCODE);
    EXPECT_EQ(Pc(), 0x0001u);
    EXPECT_EQ(Sfr(sfr::TL0), counted);
    EXPECT_THAT(Messages(),
                ElementsAre("opcode is not recognized...", "opcode is not recognized..."));
}

TEST_F(FailureTest, CyclesCountTheClassOfEachCompletedInstruction) {
    // MUL AB / NOP / SJMP $
    Load({{0x0000, {0xA4, 0x00, 0x80, 0xFE}}});
    Steps(1);
    EXPECT_EQ(Reg("cycles"), 3u);
    Steps(2);
    EXPECT_EQ(Reg("cycles"), 6u);
}

TEST_F(FailureTest, ParityFollowsAEvenAfterPswIsWritten) {
    // MOV A,#1 / MOV PSW,#0 / MOV PSW,#0FFh / CLR A
    Load({{0x0000, {0x74, 0x01, 0x75, 0xD0, 0x00, 0x75, 0xD0, 0xFF, 0xE4}}});
    Steps(2);
    EXPECT_EQ(Reg("PSW"), 0x01u);
    Steps(1);
    EXPECT_EQ(Reg("PSW"), 0xFFu);
    Steps(1);
    EXPECT_EQ(Reg("PSW"), 0xFEu);
}

TEST_F(FailureTest, FetchOutsideProgramMemoryRunsZerosWithTheSpacesMessage) {
    // LJMP 1FFFh on an 8 KB chip: the last byte is a NOP, then PC leaves program memory
    Load({{0x0000, {0x02, 0x1F, 0xFF}}}, "AT89C52");
    Steps(2);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Step(), SIM_OK);
    EXPECT_EQ(Pc(), 0x2001u);
    EXPECT_THAT(Messages(),
                ElementsAre("ERROR: trying to access mem segment at address 8192. Mem size=8192."));
}

}  // namespace
}  // namespace ostrel
