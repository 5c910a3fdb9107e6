// The host's serial input as the program receives it: every byte, in order, one at a time, and
// never sent back to the host.
#include "engine_bench.h"

namespace ostrel {
namespace {

using testing::RecordingTerminal;

// MOV SCON,#50h / MOV R0,#30h, then the receive loop at 0045h, which keeps the bytes from 30h on.
constexpr uint8_t kStart[] = {0x75, 0x98, 0x50, 0x78, 0x30};
// JNB RI,$ / MOV @R0,SBUF / INC R0 / CLR RI / SJMP 0045h
const std::vector<uint8_t> kReadThenClear = {0x30, 0x98, 0xFD, 0xA6, 0x99,
                                             0x08, 0xC2, 0x98, 0x80, 0xF6};
// JNB RI,$ / CLR RI / MOV @R0,SBUF / INC R0 / SJMP 0045h
const std::vector<uint8_t> kClearThenRead = {0x30, 0x98, 0xFD, 0xC2, 0x98,
                                             0xA6, 0x99, 0x08, 0x80, 0xF6};
// JNB RI,$ / CLR RI / INC R7 / SJMP 0045h: counts the bytes without reading them
const std::vector<uint8_t> kCountOnly = {0x30, 0x98, 0xFD, 0xC2, 0x98, 0x0F, 0x80, 0xF8};

class SerialInputTest : public testing::EngineTest {
protected:
    // The target releases the terminal when it goes, so it goes first.
    void TearDown() override { target_.reset(); }

    void LoadReceiver(const std::vector<uint8_t>& loop) {
        std::vector<uint8_t> code(std::begin(kStart), std::end(kStart));
        code.insert(code.end(), loop.begin(), loop.end());
        Load({{0x0000, {0x02, 0x00, 0x40}}, {0x0040, code}});
        target_->SetSerialTerminal(&terminal_);
        Steps(3);  // to the loop, the receiver on
    }

    SimStatus Send(const std::string& text) {
        return target_->PutSerialInput(0, reinterpret_cast<const uint8_t*>(text.data()),
                                       static_cast<uint32_t>(text.size()));
    }

    std::string Received(size_t count) {
        std::string text;
        for (size_t i = 0; i < count; ++i) {
            text += static_cast<char>(Ram(0x30 + static_cast<uint32_t>(i)));
        }
        return text;
    }

    RecordingTerminal terminal_;
};

TEST_F(SerialInputTest, BytesOfOneCallArriveInOrderEachOnceTheOneBeforeIsRead) {
    LoadReceiver(kReadThenClear);
    ASSERT_EQ(Send("Hello"), SIM_OK);
    EXPECT_EQ(target_->PendingSerialInput(), 4u);
    Steps(5 * 5);
    EXPECT_EQ(Received(5), "Hello");
    EXPECT_EQ(target_->PendingSerialInput(), 0u);
    EXPECT_EQ(target_->LastSerialInput(), 'o');
}

TEST_F(SerialInputTest, ClearingRiBeforeReadingSbufLosesNothing) {
    LoadReceiver(kClearThenRead);
    ASSERT_EQ(Send("abc"), SIM_OK);
    Steps(3 * 5);
    EXPECT_EQ(Received(3), "abc");
}

TEST_F(SerialInputTest, AProgramThatOnlyWaitsForRiStillGetsEveryByte) {
    LoadReceiver(kCountOnly);
    ASSERT_EQ(Send("1234"), SIM_OK);
    Steps(4 * 5);  // each byte after the first waits for one look at RI
    EXPECT_EQ(Reg("R7"), 4u);
    EXPECT_EQ(target_->PendingSerialInput(), 0u);
}

TEST_F(SerialInputTest, LaterInputWaitsBehindTheBytesNotReadYet) {
    LoadReceiver(kReadThenClear);
    ASSERT_EQ(Send("ab"), SIM_OK);
    ASSERT_EQ(Send("c"), SIM_OK);
    Steps(5);  // 'a' read, 'b' in SBUF
    ASSERT_EQ(Send("d"), SIM_OK);
    Steps(3 * 5);
    EXPECT_EQ(Received(4), "abcd");
}

TEST_F(SerialInputTest, InputWaitsWhileTheReceiverIsSwitchedOff) {
    LoadReceiver(kReadThenClear);
    ASSERT_EQ(Send("xy"), SIM_OK);
    Steps(2);  // 'x' read: SBUF is free, RI still set
    SetSfr(sfr::SCON, static_cast<uint8_t>(Sfr(sfr::SCON) & ~sfr::SCON_REN));
    Steps(8);
    EXPECT_EQ(target_->PendingSerialInput(), 1u);
    EXPECT_EQ(Sfr(sfr::SBUF), 'x');
    SetSfr(sfr::SCON, static_cast<uint8_t>(Sfr(sfr::SCON) | sfr::SCON_REN));
    Steps(5);
    EXPECT_EQ(Received(2), "xy");
}

TEST_F(SerialInputTest, AnInterruptDrivenReceiverTakesEveryByte) {
    // 0023h: MOV @R0,SBUF / INC R0 / CLR RI / RETI
    // 0040h: MOV SCON,#50h / MOV R0,#30h / MOV IE,#90h / SJMP $
    Load({{0x0000, {0x02, 0x00, 0x40}},
          {0x0023, {0xA6, 0x99, 0x08, 0xC2, 0x98, 0x32}},
          {0x0040, {0x75, 0x98, 0x50, 0x78, 0x30, 0x75, 0xA8, 0x90, 0x80, 0xFE}}});
    Simulate(true, true);
    Steps(4);
    ASSERT_EQ(Send("xyz"), SIM_OK);
    Steps(3 * 5);
    EXPECT_EQ(Received(3), "xyz");
    EXPECT_EQ(Pc(), 0x0048u);
}

TEST_F(SerialInputTest, AReceivedByteIsNotSentBackToTheHost) {
    LoadReceiver(kReadThenClear);
    target_->SetSimulateSerial(1);
    ASSERT_EQ(Send("q"), SIM_OK);
    EXPECT_EQ(Sfr(sfr::SBUF), 'q');
    Steps(5);
    EXPECT_TRUE(terminal_.sent.empty());
    EXPECT_EQ(Chip().Serial().Status(), 0);  // no transmission either
    EXPECT_FALSE(Sfr(sfr::SCON) & sfr::SCON_TI);
}

// 0040h: MOV SCON,#50h
// 0043h: JNB RI,$ / CLR RI / MOV A,SBUF / INC A / MOV SBUF,A / SJMP 0043h
// Echoes every byte plus one.
const std::vector<uint8_t> kEchoPlusOne = {0x75, 0x98, 0x50, 0x30, 0x98, 0xFD, 0xC2, 0x98,
                                           0xE5, 0x99, 0x04, 0xF5, 0x99, 0x80, 0xF4};

TEST_F(SerialInputTest, AProgramThatWritesSbufReadsTheNextReceivedByteNotItsOwn) {
    Load({{0x0000, {0x02, 0x00, 0x40}}, {0x0040, kEchoPlusOne}});
    target_->SetSerialTerminal(&terminal_);
    Steps(2);  // the receiver on, waiting for RI
    ASSERT_EQ(Send("HAL"), SIM_OK);
    std::string echoed;
    for (int i = 0; i < 60 && echoed.size() < 3; ++i) {
        Steps(1);
        for (; echoed.size() < terminal_.sent.size();) {
            echoed += static_cast<char>(terminal_.sent[echoed.size()].second);
        }
        // Between the program's write and its next read, SBUF shows the byte that came in.
        if (Pc() == 0x004Du && echoed.size() < 3) {
            EXPECT_EQ(Sfr(sfr::SBUF), "HAL"[echoed.size()]) << echoed;
        }
    }
    EXPECT_EQ(echoed, "IBM");
}

TEST_F(SerialInputTest, TheHostSeesTheReceiveBufferAsSbuf) {
    // 0040h: MOV SCON,#50h / MOV SBUF,#'x'
    Load({{0x0000, {0x02, 0x00, 0x40}}, {0x0040, {0x75, 0x98, 0x50, 0x75, 0x99, 'x'}}});
    target_->SetSerialTerminal(&terminal_);
    Steps(2);
    ASSERT_EQ(Send("q"), SIM_OK);
    Steps(1);  // MOV SBUF,#'x' goes out; the received 'q' stays
    ASSERT_EQ(terminal_.sent.size(), 1u);
    EXPECT_EQ(terminal_.sent[0].second, 'x');
    EXPECT_EQ(Reg("SBUF"), uint32_t{'q'});
    uint8_t byte = 0;
    uint32_t read = 0;
    ASSERT_EQ(target_->ReadMemory(sfr::SBUF, &byte, 1, &read, kSpaceSfr), SIM_OK);
    EXPECT_EQ(byte, 'q');
    char dump[1024];
    ASSERT_EQ(target_->GetRegisterDumpText(dump, sizeof(dump), 0), SIM_OK);
    EXPECT_NE(std::string(dump).find("SBUF    0x71\r\n"), std::string::npos);
}

TEST_F(SerialInputTest, ResetDropsInputThatHasNotArrived) {
    LoadReceiver(kReadThenClear);
    ASSERT_EQ(Send("lost"), SIM_OK);
    ASSERT_EQ(target_->Reset(), SIM_OK);
    EXPECT_EQ(target_->PendingSerialInput(), 0u);
    Steps(4);
    ASSERT_EQ(Send("new"), SIM_OK);
    Steps(3 * 5);
    EXPECT_EQ(Received(3), "new");
}

}  // namespace
}  // namespace ostrel
