// The call stack that the engine keeps: a frame per call, none per jump, returns that close
// their frame or, with none waiting, leave a placeholder.
#include "engine_bench.h"

namespace ostrel {
namespace {

class CallFrameTest : public testing::EngineTest {
protected:
    const CallStackFrame* Top() { return target_->CallStack()->Top(); }
    int32_t Frames() { return target_->CallStack()->GetCount(); }
};

TEST_F(CallFrameTest, CallsAddFramesOfTheirKindAndReturnsCloseThem) {
    // 0000h LCALL 0100h / SJMP $ ; 0100h ACALL 0120h (opcode 31h) / RET ; 0120h RET
    Load(
        {{0x0000, {0x12, 0x01, 0x00, 0x80, 0xFE}}, {0x0100, {0x31, 0x20, 0x22}}, {0x0120, {0x22}}});
    ASSERT_EQ(Frames(), 1);  // the reset's
    Steps(1);
    ASSERT_EQ(Frames(), 2);
    EXPECT_EQ(Top()->address, 0x0100u);
    EXPECT_EQ(Top()->from, 0x0003u);
    EXPECT_EQ(Top()->sfp, 0x09u);
    EXPECT_EQ(Top()->kind, kFrameLcall);
    Steps(1);
    ASSERT_EQ(Frames(), 3);
    EXPECT_EQ(Top()->address, 0x0120u);
    EXPECT_EQ(Top()->from, 0x0102u);
    EXPECT_EQ(Top()->kind, kFrameAcall);
    Steps(2);
    EXPECT_EQ(Frames(), 1);
    EXPECT_EQ(Pc(), 0x0003u);
}

TEST_F(CallFrameTest, JumpsAddNoFrame) {
    // LJMP 0010h ; 0010h AJMP 0020h ; 0020h SJMP 0030h ; 0030h MOV DPTR,#40h / CLR A / JMP @A+DPTR
    Load({{0x0000, {0x02, 0x00, 0x10}},
          {0x0010, {0x01, 0x20}},
          {0x0020, {0x80, 0x0E}},
          {0x0030, {0x90, 0x00, 0x40, 0xE4, 0x73}}});
    Steps(6);
    EXPECT_EQ(Pc(), 0x0040u);
    EXPECT_EQ(Frames(), 1);
}

TEST_F(CallFrameTest, ReturnWithoutACallLeavesAPlaceholderAndStillReturns) {
    // MOV SP,#9 with 1234h on the stack / RET
    Load({{0x0000, {0x75, 0x81, 0x09, 0x22}}});
    SetRam(0x08, 0x34);
    SetRam(0x09, 0x12);
    Steps(2);
    EXPECT_EQ(Pc(), 0x1234u);
    EXPECT_EQ(Reg("SP"), 0x07u);
    ASSERT_EQ(Frames(), 2);
    EXPECT_EQ(Top()->kind, kFrameUnmatchedReturn);
    EXPECT_EQ(Top()->address, 0x1234u);
}

}  // namespace
}  // namespace ostrel
