// The engine is the simulator's hot loop: once a program runs, steps allocate nothing.
#include <atomic>
#include <cstdlib>
#include <new>

#include "engine_bench.h"

namespace {

std::atomic<long> allocations{0};

void* Allocate(std::size_t size) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* p = Allocate(size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

// Every replaceable form, so that each allocation is counted and freed alike.
void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace ostrel {
namespace {

class AllocationTest : public testing::EngineTest {};

TEST_F(AllocationTest, StepsWithCallsInterruptsTimersAndExternalMemoryAllocateNothing) {
    // 0000h LJMP 0040h; 000Bh Timer 0: RETI
    // 0040h: MOV TMOD,#2 / MOV TH0,#0C0h / MOV IE,#82h / SETB TR0 / MOV DPTR,#0100h
    // 004Dh: LCALL 0060h / MOVX @DPTR,A / INC DPTR / MUL AB / SJMP 004Dh
    // 0060h: INC A / PUSH ACC / POP B / RET
    Load({{0x0000, {0x02, 0x00, 0x40}},
          {0x000B, {0x32}},
          {0x0040, {0x75, 0x89, 0x02, 0x75, 0x8C, 0xC0, 0x75, 0xA8, 0x82, 0xD2, 0x8C,
                    0x90, 0x01, 0x00, 0x12, 0x00, 0x60, 0xF0, 0xA3, 0xA4, 0x80, 0xF7}},
          {0x0060, {0x04, 0xC0, 0xE0, 0xD0, 0xF0, 0x22}}},
         "8052");
    Simulate(true, true);
    target_->SetSimulateSerial(1);
    Steps(100);

    const long before = allocations.load();
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(Step(), SIM_OK);
    }
    EXPECT_EQ(allocations.load(), before);
    EXPECT_GT(target_->Registers()->Cycles(), 0);
}

TEST_F(AllocationTest, StepsThatSendAndReceiveOnTimer2sBaudRateAllocateNothing) {
    // 0040h: MOV SCON,#50h / MOV RCAP2H,#0FFh / MOV RCAP2L,#0F4h / MOV T2CON,#34h /
    //        MOV SBUF,#0
    // 004Fh: JNB RI,0057h / MOV A,SBUF / CLR RI / NOP / JNB TI,004Fh / CLR TI / MOV SBUF,A /
    //        SJMP 004Fh
    Load({{0x0000, {0x02, 0x00, 0x40}},
          {0x0040, {0x75, 0x98, 0x50, 0x75, 0xCB, 0xFF, 0x75, 0xCA, 0xF4, 0x75, 0xC8,
                    0x34, 0x75, 0x99, 0x00, 0x30, 0x98, 0x05, 0xE5, 0x99, 0xC2, 0x98,
                    0x00, 0x30, 0x99, 0xF5, 0xC2, 0x99, 0xF5, 0x99, 0x80, 0xEF}}},
         "80C52");
    Simulate(true, true);
    target_->SetSimulateSerial(1);
    Steps(10);
    const std::vector<uint8_t> input(4000, 0x55);
    ASSERT_EQ(target_->PutSerialInput(0, input.data(), static_cast<uint32_t>(input.size())),
              SIM_OK);

    const long before = allocations.load();
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(Step(), SIM_OK);
    }
    EXPECT_EQ(allocations.load(), before);
    EXPECT_LT(target_->PendingSerialInput(), input.size() - 100);
}

}  // namespace
}  // namespace ostrel
