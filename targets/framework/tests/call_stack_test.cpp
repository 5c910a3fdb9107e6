// The call stack: appending, cut-back pushes, returns, its bound, the listing and call frames
// that a target pushes through its host's debug information.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "fake_target.h"
#include "sim_host_fakes.h"

namespace {

class CallStack : public ::testing::Test {
protected:
    void SetUp() override {
        const uint8_t nop = 0;
        ASSERT_TRUE(target.LoadImage(0, &nop, 1));
        target.SetDebugInfo(&symbols);
    }
    void TearDown() override { target.SetDebugInfo(nullptr); }
    std::string Text(int32_t length = 1024) {
        std::string buffer(static_cast<size_t>(length), '#');
        stack->GetText(target, &buffer[0], length);
        return std::string(buffer.c_str());
    }

    SymbolTable symbols;
    CFakeTarget target{""};
    std::unique_ptr<CCallStack> stack{new CCallStack};
};

TEST_F(CallStack, ReturnsRemoveTheirFrameAndEverythingAboveIt) {
    stack->Append({0x100, 0x0005, 9, kFrameLcall});
    stack->Append({0x200, 0x0103, 11, kFrameLcall});
    stack->PopTo(0x0103);
    EXPECT_EQ(stack->GetCount(), 1);
    stack->Append({0x200, 0x0103, 11, kFrameLcall});
    stack->PopTo(0x0005);
    EXPECT_EQ(stack->GetCount(), 0);
    EXPECT_EQ(stack->Top(), nullptr);
}

TEST_F(CallStack, AReturnNoFrameWaitsForLeavesAPlaceholderListedShort) {
    symbols.symbols[0x0123] = "main";
    stack->PopTo(0x0123);
    ASSERT_EQ(stack->GetCount(), 1);
    EXPECT_EQ(stack->Top()->kind, kFrameUnmatchedReturn);
    EXPECT_EQ(Text(), "0x0123:(main)\r\n");
    EXPECT_STREQ(CallFrameKindText(kFrameUnmatchedReturn), "Cannot find callstack frame to remove");
}

TEST_F(CallStack, TheListingNamesEachFrameWithItsKindCallerAndStackPointer) {
    symbols.symbols[0x0000] = "start";
    symbols.symbols[0x0100] = "init";
    stack->Append({0x0000, kNoCaller, 7, kFrameRestart});
    stack->Append({0x0100, 0x0005, 9, kFrameLcall});
    stack->Append({0x0300, 0x0107, 11, 0x31});  // an ACALL opcode of another page
    EXPECT_EQ(Text(),
              "0x0000:(start)\r\n"
              "0x0100:(init LCALL from 0x0005, SFP:0x0009)\r\n"
              "0x0300:( UNKNOWN OPCODE from 0x0107, SFP:0x000B)\r\n");
    EXPECT_STREQ(CallFrameKindText(kFrameAjmp), "AJMP");
    EXPECT_STREQ(CallFrameKindText(kFrameLjmp), "LJMP");
    EXPECT_STREQ(CallFrameKindText(kFrameAcall), "ACALL");
    EXPECT_STREQ(CallFrameKindText(kFrameJmpDptr), "JMPDPTR");
    EXPECT_STREQ(CallFrameKindText(kFrameSjmp), "SJMP");
    EXPECT_STREQ(CallFrameKindText(kFrameRestart), "RESTART");
}

TEST_F(CallStack, AListingTooLongForTheBufferStopsAtALineBoundary) {
    stack->Append({0x0000, kNoCaller, 7, kFrameRestart});
    stack->Append({0x0100, kNoCaller, 7, kFrameRestart});
    // Each line is "0x0000:()\r\n": 11 characters.
    EXPECT_EQ(Text(23), "0x0000:()\r\n0x0100:()\r\n");
    EXPECT_EQ(Text(22), "0x0000:()\r\n");  // no room for the terminating zero
    EXPECT_EQ(Text(12), "0x0000:()\r\n");
    EXPECT_EQ(Text(5), "");
    stack->Clear();
    EXPECT_EQ(Text(), "");
}

TEST_F(CallStack, AZeroOrNegativeLengthWritesNothing) {
    stack->Append({0x0000, kNoCaller, 7, kFrameRestart});
    char buffer[4] = {'a', 'b', 'c', 'd'};
    stack->GetText(target, buffer + 2, 0);
    stack->GetText(target, buffer + 2, -5);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
}

TEST_F(CallStack, ACutBackPushClosesALoopInsteadOfAddingAFrame) {
    stack->Append({0x0100, 0x0005, 9, kFrameLcall});
    stack->Append({0x0200, 0x0110, 11, kFrameLjmp});
    stack->Append({0x0300, 0x0210, 13, kFrameLjmp});
    // A transfer back to 0x0110, where the second frame came from: that frame and the one
    // above it go.
    stack->Push(0x0110, 0x0310, 13, kFrameLjmp, kNoCaller, kNoCaller);
    EXPECT_EQ(stack->GetCount(), 1);
    // A transfer into a routine whose range holds a frame's caller cuts back to that frame.
    stack->Append({0x0200, 0x0110, 11, kFrameLjmp});
    stack->Push(0x0180, 0x0230, 11, kFrameSjmp, 0x0108, 0x0120);
    EXPECT_EQ(stack->GetCount(), 1);
    // Otherwise the frame is added.
    stack->Push(0x0400, 0x0120, 11, kFrameLjmp, kNoCaller, kNoCaller);
    ASSERT_EQ(stack->GetCount(), 2);
    EXPECT_EQ(stack->Top()->address, 0x0400u);
    stack->Push(0x0500, 0x0410, 11, kFrameLjmp, 0x0600, 0x0700);
    EXPECT_EQ(stack->GetCount(), 3);
}

TEST_F(CallStack, TheStackKeepsItsNewestFramesWhenCallsNeverReturn) {
    for (uint32_t i = 0; i < CCallStack::kMaxFrames + 5; ++i) {
        stack->Append({i, i + 3, 0, kFrameLcall});
    }
    EXPECT_EQ(stack->GetCount(), CCallStack::kMaxFrames);
    EXPECT_EQ(stack->GetFrame(0)->address, 5u);
    EXPECT_EQ(stack->Top()->address, CCallStack::kMaxFrames + 4u);
    // Returns still find their frames across the ring's seam.
    stack->PopTo(CCallStack::kMaxFrames + 3u);  // the frame of address kMaxFrames
    EXPECT_EQ(stack->GetCount(), CCallStack::kMaxFrames - 5);
    EXPECT_EQ(stack->Top()->address, CCallStack::kMaxFrames - 1u);
    stack->PopTo(8);
    EXPECT_EQ(stack->GetCount(), 0);
}

TEST_F(CallStack, AJumpToASymbolTheHostKnowsAddsNoFrameButACallDoes) {
    symbols.symbols[0x0200] = "loop";
    target.PushCallFrame(stack.get(), 0x0200, 0x0010, kFrameLjmp, false);
    EXPECT_EQ(stack->GetCount(), 0);
    target.PushCallFrame(stack.get(), 0x0200, 0x0010, kFrameLcall, false);
    target.PushCallFrame(stack.get(), 0x0200, 0x0010, 0xF1, false);  // ACALL of page 7
    EXPECT_EQ(stack->GetCount(), 2);
    target.PushCallFrame(stack.get(), 0x0300, 0x0010, kFrameLjmp, false);
    ASSERT_EQ(stack->GetCount(), 3);
    // The frame carries the target's SP.
    EXPECT_EQ(stack->Top()->sfp, 7u);
    target.PushCallFrame(nullptr, 0x0300, 0x0010, kFrameLcall, false);
}

TEST_F(CallStack, WithoutDebugInformationEveryTransferIsAFrameAndNamesAreEmpty) {
    target.SetDebugInfo(nullptr);
    uint8_t found = 1;
    EXPECT_STREQ(target.ResolveAddress(0x0200, 0x0010, &found), "");
    EXPECT_EQ(found, 0);
    found = 1;
    uint32_t low = 5;
    uint32_t high = 6;
    EXPECT_STREQ(target.ResolveAddress(0x0200, 0x0010, &found, &low, &high), "");
    EXPECT_EQ(found, 0);
    target.PushCallFrame(stack.get(), 0x0200, 0x0010, kFrameLjmp, false);
    EXPECT_EQ(stack->GetCount(), 1);
}

TEST_F(CallStack, ACutBackPushUsesTheRangeTheHostAnswers) {
    stack->Append({0x0100, 0x0005, 9, kFrameLcall});
    stack->Append({0x0200, 0x0110, 11, kFrameLjmp});
    // Without a range from the host the preset words (address, from) serve as the range: a
    // frame whose caller lies between 0x0108 and 0x0300 is cut back.
    target.PushCallFrame(stack.get(), 0x0108, 0x0300, kFrameSjmp, true);
    EXPECT_EQ(stack->GetCount(), 1);
    stack->Append({0x0200, 0x0110, 11, kFrameLjmp});
    symbols.ranges[0x0400] = {0x0100, 0x0120};
    target.PushCallFrame(stack.get(), 0x0400, 0x0500, kFrameLjmp, true);
    EXPECT_EQ(stack->GetCount(), 1);
}

TEST_F(CallStack, NestedCallsAndOneReturnInTheMachineLeaveOneFrame) {
    // 0: LCALL 0x10; 0x10: LCALL 0x20; 0x20: RET
    uint8_t program[0x21] = {};
    program[0x00] = 0x12;
    program[0x02] = 0x10;
    program[0x10] = 0x12;
    program[0x12] = 0x20;
    program[0x20] = 0x22;
    ASSERT_TRUE(target.LoadImage(0, program, sizeof program));
    symbols.symbols[0x0000] = "start";
    ASSERT_EQ(target.Reset(), SIM_OK);
    ASSERT_EQ(target.RunSteps(3), SIM_OK);
    char text[256];
    ASSERT_EQ(target.GetCallStackText(text, sizeof text), SIM_OK);
    // The restart frame is not kept: the host knows the start address.
    EXPECT_STREQ(text, "0x0010:( LCALL from 0x0003, SFP:0x0009)\r\n");
    uint32_t pc = 0;
    uint32_t frame = 0;
    ASSERT_EQ(target.GetPCAndFrame(&pc, &frame), SIM_OK);
    EXPECT_EQ(pc, 0x13u);
    EXPECT_EQ(frame, 9u);
}

}  // namespace
