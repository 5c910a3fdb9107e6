// The opcode facts the debuggers step and list call stacks by, checked against the instruction
// set's own groups.
#include <gtest/gtest.h>

#include "simtarget/opcode_facts.h"

namespace {

using namespace opcodes;

TEST(OpcodeFacts, EveryCallIsLcallOrOneOfTheEightAcallsAndNoJumpIsACall) {
    int calls = 0;
    for (int op = 0; op < 256; ++op) {
        calls += IsCall(static_cast<uint8_t>(op)) ? 1 : 0;
    }
    EXPECT_EQ(calls, 9);
    for (uint8_t page = 0; page < 8; ++page) {
        const uint8_t acall = static_cast<uint8_t>(page << 5 | 0x11);
        const uint8_t ajmp = static_cast<uint8_t>(page << 5 | 0x01);
        EXPECT_TRUE(IsCall(acall));
        EXPECT_EQ(InstructionSize(acall), 2);
        EXPECT_FALSE(IsCall(ajmp));
        EXPECT_TRUE(IsAjmp(ajmp));
        EXPECT_TRUE(IsUnconditionalTransfer(ajmp));
        EXPECT_FALSE(IsUnconditionalTransfer(acall));
    }
    EXPECT_TRUE(IsCall(0x12));
    EXPECT_EQ(InstructionSize(0x12), 3);
}

TEST(OpcodeFacts, ReturnsAndJumpsAreTheUnconditionalTransfers) {
    EXPECT_TRUE(IsReturn(0x22));
    EXPECT_TRUE(IsReturn(0x32));
    int transfers = 0;
    for (int op = 0; op < 256; ++op) {
        transfers += IsUnconditionalTransfer(static_cast<uint8_t>(op)) ? 1 : 0;
    }
    // Eight AJMPs, LJMP, SJMP, JMP @A+DPTR, RET and RETI.
    EXPECT_EQ(transfers, 13);
    for (uint8_t op : {0x02, 0x80, 0x73, 0x22, 0x32}) {
        EXPECT_TRUE(IsUnconditionalTransfer(op)) << int(op);
    }
}

TEST(OpcodeFacts, RelativeBranchesCarryTheirOffsetLast) {
    // SJMP, JC, JNC, JZ, JNZ take one offset byte; JBC, JB, JNB, CJNE and DJNZ direct take a
    // second operand before it; DJNZ Rn has the register in its opcode.
    for (uint8_t op : {0x80, 0x40, 0x50, 0x60, 0x70, 0xD8, 0xDF}) {
        EXPECT_TRUE(IsRelativeBranch(op)) << int(op);
        EXPECT_EQ(InstructionSize(op), 2) << int(op);
    }
    for (uint8_t op : {0x10, 0x20, 0x30, 0xB4, 0xB5, 0xB6, 0xBF, 0xD5}) {
        EXPECT_TRUE(IsRelativeBranch(op)) << int(op);
        EXPECT_EQ(InstructionSize(op), 3) << int(op);
    }
    EXPECT_FALSE(IsRelativeBranch(0x02));
    EXPECT_FALSE(IsRelativeBranch(0x73));
}

TEST(OpcodeFacts, InstructionLengthsOfTheMovesAndTheUndefinedOpcode) {
    EXPECT_EQ(InstructionSize(0x00), 1);  // NOP
    EXPECT_EQ(InstructionSize(0x74), 2);  // MOV A,#data
    EXPECT_EQ(InstructionSize(0x75), 3);  // MOV direct,#data
    EXPECT_EQ(InstructionSize(0x85), 3);  // MOV direct,direct
    EXPECT_EQ(InstructionSize(0x90), 3);  // MOV DPTR,#data16
    EXPECT_EQ(InstructionSize(0xE0), 1);  // MOVX A,@DPTR
    EXPECT_EQ(CycleClass(0xA4), 3);       // MUL AB takes four cycles
    EXPECT_EQ(CycleClass(0xA5), 0);       // no instruction
}

}  // namespace
