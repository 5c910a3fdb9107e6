// What the host sees during a step: port reports to its observer, its window messages handled
// inside the step, and the ports of a board read through their latches by changing
// instructions.
#include "engine_bench.h"
#include "w32/messages.h"

namespace ostrel {
namespace {

using testing::RecordingObserver;

const UINT kHostMessage = WM_USER + 21;

// The target a message handler acts on, and the messages it saw.
C8051Target* handlerTarget = nullptr;
int handled = 0;

LRESULT CALLBACK BreakingProcedure(HWND, UINT message, WPARAM, LPARAM) {
    if (message == kHostMessage) {
        ++handled;
        if (handlerTarget != nullptr) {
            handlerTarget->RequestBreak();
        }
    }
    return 0;
}

class HostTest : public testing::EngineTest {
protected:
    void SetUp() override {
        handled = 0;
        handlerTarget = nullptr;
        window_ = w32::CreateMessageWindow(BreakingProcedure);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { w32::DestroyMessageWindow(window_); }

    HWND window_ = nullptr;
    RecordingObserver observer_;
};

TEST_F(HostTest, ObserverHearsOfPortsOnlyWhenAStepChangedThem) {
    // MOV P1,#5Ah / NOP / CPL P3.0
    Load({{0x0000, {0x75, 0x90, 0x5A, 0x00, 0xB2, 0xB0}}});
    target_->SetPortObserver(&observer_);
    Steps(2);
    ASSERT_EQ(observer_.updates.size(), 1u);
    EXPECT_EQ(observer_.updates[0][1], std::make_pair(std::string("Port1"), 0x5Au));
    observer_.active = 0;
    Steps(1);
    EXPECT_EQ(observer_.updates.size(), 1u);
}

TEST_F(HostTest, PendingMessagesAreHandledInsideAStepWhileTheObserverIsActive) {
    Load({{0x0000, {0x00, 0x00}}});
    target_->SetPortObserver(&observer_);
    observer_.active = 0;
    w32::PostMessageA(window_, kHostMessage, 0, 0);
    Steps(1);
    EXPECT_EQ(handled, 0);
    observer_.active = 1;
    Steps(1);
    EXPECT_EQ(handled, 1);
}

TEST_F(HostTest, AHandlerStopsAnEndlessRun) {
    Load({{0x0000, {0x80, 0xFE}}});  // SJMP $
    target_->SetPortObserver(&observer_);
    handlerTarget = target_.get();
    w32::PostMessageA(window_, kHostMessage, 0, 0);
    EXPECT_EQ(target_->RunSteps(-1), SIM_OK);
    EXPECT_EQ(handled, 1);
}

TEST_F(HostTest, MessagesWaitWithoutAnObserver) {
    Load({{0x0000, {0x00}}});
    w32::PostMessageA(window_, kHostMessage, 0, 0);
    Steps(1);
    EXPECT_EQ(handled, 0);
    MSG message;
    EXPECT_TRUE(w32::PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
}

// A board whose P1 pins read 0Fh whatever the latch holds.
class BoardTarget : public C8051Target {
public:
    using C8051Target::C8051Target;
    int32_t ReadBoardSfr(uint8_t address, uint8_t* value) override {
        *value = address == sfr::P1 ? 0x0F : 0xFF;
        return 0;
    }
    int32_t WriteBoardSfr(uint8_t, uint8_t) override { return 0; }
};

class BoardTest : public testing::EngineTest {
protected:
    std::unique_ptr<C8051Target> MakeTarget(const char* chipId, const char* options) override {
        return std::make_unique<BoardTarget>(chipId, options);
    }
};

TEST_F(BoardTest, ChangingInstructionsReadThePortLatchAndMovReadsThePins) {
    // ANL P1,#0F0h / MOV A,P1 / CPL P1.7 / MOV C,P1.0 / JBC P1.6,+0 / MOV B,P1 / INC P1
    Load({{0x0000,
           {0x53, 0x90, 0xF0, 0xE5, 0x90, 0xB2, 0x97, 0xA2, 0x90, 0x10, 0x96, 0x00, 0x85, 0x90,
            0xF0, 0x05, 0x90}}});
    target_->SetHardwarePortsActive(1);
    Steps(1);
    EXPECT_EQ(target_->Registers()->PortLatch(1), 0xF0);  // from the latch FFh, not the pins 0Fh
    Steps(1);
    EXPECT_EQ(Reg("ACC"), 0x0Fu);
    Steps(1);
    EXPECT_EQ(target_->Registers()->PortLatch(1), 0x70);
    Steps(1);
    EXPECT_TRUE(Reg("PSW") & sfr::PSW_CY);  // the pin
    Steps(1);
    EXPECT_EQ(target_->Registers()->PortLatch(1), 0x30);  // the latch bit was set: cleared
    Steps(1);
    EXPECT_EQ(Reg("B"), 0x0Fu);
    Steps(1);
    EXPECT_EQ(target_->Registers()->PortLatch(1), 0x31);
}

}  // namespace
}  // namespace ostrel
