// The chip protocol's boot-loader lines against a simulated chip: echoes, answers, texts,
// time-outs, and leaving the loader on the port that owns the handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "boards/boot_loader.h"
#include "boards/misbehaviour.h"
#include "boards/programmer_board.h"
#include "protocol_rig.h"
#include "tarnel/protocols/board_protocol.h"
#include "tarnel/protocols/chip_protocol.h"
#include "tarnel/protocols/port_reopen.h"

namespace {

using boards::BootLoaderBoard;
using boards::BootLoaderOptions;
using boards::Fault;
using boards::Misbehaviour;
using protocol_test::HostBytes;

std::string Text(const std::vector<BYTE>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class BootLoaderLineTest : public protocol_test::ProtocolRig {
protected:
    // A chip alone on the line, its rate already found at `baud`.
    BootLoaderBoard& PutChip(const BootLoaderOptions& options = {}, DWORD baud = 19200) {
        BootLoaderBoard& chip = Put(std::make_unique<BootLoaderBoard>(options));
        Open(baud);
        char text[CChipProtocol::kTextSize] = {};
        EXPECT_EQ(CChipProtocol(171).Sync(m_port, text), BOARD_OK);
        EXPECT_TRUE(chip.Chip().Locked());
        m_port.SetTimeOut(20);
        chip.Log().Clear();
        return chip;
    }

    char m_text[CChipProtocol::kTextSize] = {};
};

TEST_F(BootLoaderLineTest, EachCharacterWaitsForItsEchoAndTheAnswerIsRead) {
    BootLoaderBoard& chip = PutChip();
    CChipProtocol protocol(171);
    ASSERT_EQ(protocol.SendLine(m_port, ":0100000218E5"), BOARD_OK);
    EXPECT_EQ(Text(HostBytes(chip.Log())), ":0100000218E5");
    // Host and chip take turns: no character leaves before the echo of the one before.
    std::string turns;
    for (const boards::Record& r : chip.Log().Records()) {
        turns += r.what.substr(0, 2) == "ho" ? 'h' : 'b';
    }
    std::string expected;
    for (int i = 0; i < 13; ++i) {
        expected += "hb";
    }
    EXPECT_EQ(turns, expected + "bbb");
    EXPECT_EQ(chip.Chip().FrequencyCode(), 0x18);
}

TEST_F(BootLoaderLineTest, FrequencyLineFollowsTheChipType) {
    struct Case {
        BYTE type;
        const char* line;  // null: nothing is sent
    };
    const Case cases[] = {{2, ":0100000218E5"},  {12, ":0100000218E5"}, {8, ":010000020BF2"},
                          {10, ":010000020BF2"}, {9, ":0100000205F8"},  {15, nullptr},
                          {1, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        BootLoaderBoard& chip = PutChip();
        CChipProtocol protocol(163);
        protocol.SetType(c.type);
        int result = protocol.SetFrequency(m_port, m_text);
        if (c.line != nullptr) {
            EXPECT_EQ(result, BOARD_OK);
            EXPECT_STREQ(m_text, "Success Frequency Specification");
            EXPECT_EQ(Text(HostBytes(chip.Log())), c.line);
        } else {
            EXPECT_EQ(result, BOARD_LINE_FAILED);
            EXPECT_STREQ(m_text, "Invalid Frequency Specification");
            EXPECT_TRUE(HostBytes(chip.Log()).empty());
        }
        m_port.Deinstall();
    }
}

TEST_F(BootLoaderLineTest, SyncLetsTheChipFindTheHostsRate) {
    BootLoaderBoard& chip = Put(std::make_unique<BootLoaderBoard>());
    Open(57600);
    CChipProtocol protocol(167);
    EXPECT_EQ(protocol.Sync(m_port, m_text), BOARD_OK);
    EXPECT_STREQ(m_text, "Success response to 'U' (Echo = U)");
    EXPECT_EQ(chip.Chip().LockedBaud(), 57600u);
    EXPECT_EQ(Text(HostBytes(chip.Log())), "U");
}

TEST_F(BootLoaderLineTest, SyncCallsTenWrongEchoesASuccess) {
    BootLoaderBoard& chip = Put(std::make_unique<BootLoaderBoard>());
    Misbehaviour m;
    m.fault = Fault::WrongBaud;
    m.wrongBaud = 9600;
    chip.Misbehave(m);
    Open(19200);
    CChipProtocol protocol(163);
    EXPECT_EQ(protocol.Sync(m_port, m_text), BOARD_OK);
    EXPECT_EQ(HostBytes(chip.Log()).size(), 10u);
    std::string text = m_text;
    EXPECT_EQ(text.substr(0, 32), "Success response to 'U' (Echo = ");
    EXPECT_NE(text, "Success response to 'U' (Echo = U)");
}

TEST_F(BootLoaderLineTest, SyncWithoutAnEchoFailsWithABlank) {
    Put(std::make_unique<boards::Board>());
    Open(19200);
    CChipProtocol protocol(163);
    EXPECT_EQ(protocol.Sync(m_port, m_text), COMMS_READ_TIMEOUT);
    EXPECT_STREQ(m_text, "Invalid response to 'U' (Echo =  )");
    EXPECT_LE(Elapsed(), 101000u);
}

TEST_F(BootLoaderLineTest, SlowEraseReadsWithTenSecondsAndLeavesTwentyMs) {
    BootLoaderOptions options;
    options.eraseMicros = 3000000;
    BootLoaderBoard& chip = PutChip(options);
    chip.Chip().Flash()[0x10] = 0x00;
    m_port.SetTimeOut(100);
    CChipProtocol protocol(163);
    EXPECT_EQ(protocol.EraseChip(m_port, m_text), BOARD_OK);
    EXPECT_STREQ(m_text, "Success Chip Erasing");
    EXPECT_EQ(chip.Chip().Flash()[0x10], 0xFF);
    EXPECT_EQ(Text(HostBytes(chip.Log())), ":0100000307F5");
    COMMTIMEOUTS t{};
    ASSERT_EQ(m_port.GetTimeOut(&t), COMMS_OK);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 20u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 20u);

    Misbehaviour m;
    m.fault = Fault::FailureStatus;
    chip.Misbehave(m);
    m_port.SetTimeOut(100);
    EXPECT_EQ(protocol.EraseChip(m_port, m_text), BOARD_LINE_FAILED);
    EXPECT_STREQ(m_text, "Invalid Chip Erasing ");
    ASSERT_EQ(m_port.GetTimeOut(&t), COMMS_OK);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 20u);
}

TEST_F(BootLoaderLineTest, EndRecordSetsVectorAndStatusByte) {
    BootLoaderBoard& chip = PutChip();
    CChipProtocol protocol(165);
    EXPECT_EQ(protocol.ProgramSpecialBytes(m_port, m_text), BOARD_OK);
    EXPECT_STREQ(m_text, "Success Special Bytes Programming");
    EXPECT_EQ(Text(HostBytes(chip.Log())), ":020000030400F7:030000030601FCF7:03000003060000F4");
    EXPECT_EQ(chip.Chip().BootVector(), 0xFC);
    EXPECT_EQ(chip.Chip().StatusByte(), 0x00);
}

TEST_F(BootLoaderLineTest, EndRecordStopsAtTheFirstRefusedLine) {
    const char* const texts[] = {"Invalid Bytes Erasing", "Invalid Set Vector",
                                 "Invalid Status Clear"};
    for (int failing = 1; failing <= 3; ++failing) {
        SCOPED_TRACE(failing);
        BootLoaderBoard& chip = PutChip();
        Misbehaviour m;
        m.fault = Fault::FailureStatus;
        m.atReply = failing;
        chip.Misbehave(m);
        CChipProtocol protocol(165);
        EXPECT_EQ(protocol.ProgramSpecialBytes(m_port, m_text), BOARD_LINE_FAILED);
        EXPECT_STREQ(m_text, texts[failing - 1]);
        std::vector<BYTE> sent = HostBytes(chip.Log());
        EXPECT_EQ(std::count(sent.begin(), sent.end(), ':'), failing);
        COMMTIMEOUTS t{};
        ASSERT_EQ(m_port.GetTimeOut(&t), COMMS_OK);
        EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 20u);
        m_port.Deinstall();
    }
}

TEST_F(BootLoaderLineTest, SecurityBitsLine) {
    BootLoaderBoard& chip = PutChip();
    CChipProtocol protocol(170);
    EXPECT_EQ(protocol.SetSecurityBits(m_port, m_text), BOARD_OK);
    EXPECT_STREQ(m_text, "Success Security Bits Settings");
    EXPECT_EQ(Text(HostBytes(chip.Log())), ":020000030501F5");
    EXPECT_TRUE(chip.Chip().SecurityBitsSet());

    Misbehaviour m;
    m.fault = Fault::NoAnswer;
    chip.Misbehave(m);
    EXPECT_EQ(protocol.SetSecurityBits(m_port, m_text), BOARD_LINE_FAILED);
    EXPECT_STREQ(m_text, "Invalid Security Bits Settings");
}

TEST_F(BootLoaderLineTest, DataLineAndItsTexts) {
    BootLoaderBoard& chip = PutChip();
    CChipProtocol protocol(163);
    const BYTE data[2] = {0x12, 0x34};
    EXPECT_EQ(protocol.WriteHexRecords(m_port, 0x0100, 2, data, m_text), BOARD_OK);
    EXPECT_EQ(Text(HostBytes(chip.Log())), ":020100001234B7");
    EXPECT_STREQ(m_text, "Success writing 2 bytes, 0100-0101");
    EXPECT_EQ(chip.Chip().Flash()[0x0101], 0x34);

    Misbehaviour m;
    m.fault = Fault::FailureStatus;
    chip.Misbehave(m);
    EXPECT_EQ(protocol.WriteHexRecords(m_port, 0xFFF0, 2, data, m_text), BOARD_LINE_FAILED);
    EXPECT_STREQ(m_text, "*** Error FFF0-FFF1 address ***");

    chip.Log().Clear();
    std::vector<BYTE> many(256, 0x55);
    EXPECT_EQ(protocol.WriteHexRecords(m_port, 0x0000, 256, many.data(), m_text), BOARD_TOO_LONG);
    EXPECT_STREQ(m_text, "*** Error 0000-00FF address ***");
    EXPECT_TRUE(HostBytes(chip.Log()).empty());
}

TEST_F(BootLoaderLineTest, DisplayLineIsFollowedByAZeroForTheP89Chips) {
    BootLoaderOptions p89;
    p89.displayAfterZero = true;
    for (BYTE device : {163, 165, 166, 168}) {
        SCOPED_TRACE(static_cast<int>(device));
        BootLoaderBoard& chip = PutChip(p89);
        for (int i = 0; i < 4; ++i) {
            chip.Chip().Flash()[0x0100 + i] = static_cast<BYTE>(0xA0 + i);
        }
        CChipProtocol protocol(device);
        BYTE data[4] = {};
        EXPECT_EQ(protocol.ReadRecord(m_port, 0x0100, 4, data, m_text), BOARD_OK);
        EXPECT_STREQ(m_text, "OK");
        EXPECT_EQ(HostBytes(chip.Log()),
                  protocol_test::Bytes(std::string(":050000040100010300F2\0", 22)));
        EXPECT_EQ(data[3], 0xA3);
        m_port.Deinstall();
    }
    for (BYTE device : {167, 170, 171}) {
        SCOPED_TRACE(static_cast<int>(device));
        BootLoaderBoard& chip = PutChip();
        chip.Chip().Flash()[0x0100] = 0x5C;
        CChipProtocol protocol(device);
        BYTE data[1] = {};
        EXPECT_EQ(protocol.ReadRecord(m_port, 0x0100, 1, data, m_text), BOARD_OK);
        EXPECT_EQ(Text(HostBytes(chip.Log())), ":050000040100010000F5");
        EXPECT_EQ(data[0], 0x5C);
        m_port.Deinstall();
    }
}

TEST_F(BootLoaderLineTest, AP89ChipAskedWithoutTheZeroNeverAnswers) {
    BootLoaderOptions p89;
    p89.displayAfterZero = true;
    PutChip(p89);
    CChipProtocol protocol(167);
    BYTE data[2] = {0x11, 0x22};
    EXPECT_EQ(protocol.ReadRecord(m_port, 0x0000, 2, data, m_text), COMMS_READ_TIMEOUT);
    EXPECT_STREQ(m_text, "Received reply: ");
    EXPECT_EQ(data[0], 0x11);
}

// Echoes every character and answers a complete display line with a fixed text.
class FixedDisplayChip : public boards::Board {
public:
    explicit FixedDisplayChip(std::string answer)
        : Board(w32test::vport::LineSettings{19200}), m_answer(std::move(answer)) {}

protected:
    void OnByte(BYTE b, bool) override {
        Send(std::vector<BYTE>{b});
        m_line += static_cast<char>(b);
        if (m_line.size() == 21) {
            Send(m_answer);
            m_line.clear();
        }
    }

private:
    std::string m_answer;
    std::string m_line;
};

TEST_F(BootLoaderLineTest, ADisplayAnswerWithOtherThanHexDigitsIsRefused) {
    Put(std::make_unique<FixedDisplayChip>("0100 = 12G4\r\n"));
    Open(19200);
    m_port.SetTimeOut(20);
    CChipProtocol protocol(171);
    BYTE data[2] = {0x77, 0x77};
    EXPECT_EQ(protocol.ReadRecord(m_port, 0x0100, 2, data, m_text), BOARD_LINE_FAILED);
    EXPECT_STREQ(m_text, "Received reply: 0100 = 12G4\r\n");
    EXPECT_EQ(data[0], 0x77);
}

TEST_F(BootLoaderLineTest, ADisplayLineBeyondTheAddressSpaceIsRefusedUnsent) {
    BootLoaderBoard& chip = PutChip();
    CChipProtocol protocol(171);
    BYTE data[32] = {};
    EXPECT_EQ(protocol.ReadRecord(m_port, 0xFFF0, 32, data, m_text), BOARD_TOO_LONG);
    EXPECT_STREQ(m_text, "*** Error Command Line ***");
    EXPECT_TRUE(HostBytes(chip.Log()).empty());
}

// Each fault of the chip ends a line in its own result, in bounded time. (The answer has no check
// or command byte: those faults do not apply to it.)
TEST_F(BootLoaderLineTest, EachMisbehaviourEndsALineInItsCode) {
    struct Case {
        Fault fault;
        int result;
    };
    const Case cases[] = {{Fault::FailureStatus, BOARD_LINE_FAILED},
                          {Fault::NoAnswer, BOARD_LINE_FAILED},
                          {Fault::LateAnswer, BOARD_LINE_FAILED},
                          {Fault::TruncatedAnswer, COMMS_READ_TIMEOUT},
                          {Fault::WrongEcho, BOARD_LINE_FAILED}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        BootLoaderBoard& chip = PutChip();
        Misbehaviour m;
        m.fault = c.fault;
        m.keepBytes = 1;  // the '.' alone
        chip.Misbehave(m);
        uint64_t before = Now();
        CChipProtocol protocol(171);
        EXPECT_EQ(protocol.SendLine(m_port, ":0100000218E5"), c.result);
        // 13 echoes and 3 answer bytes at 20 ms each at most, and one more wait for a short read.
        EXPECT_LE(Now() - before, (13 + 3 + 2) * 20000u + 13 * 600u);
        ExpectPortFreeAfterClose();
    }
}

TEST_F(BootLoaderLineTest, AWrongEchoFailsTheLineAndTheNextLineStaysInStep) {
    BootLoaderBoard& chip = PutChip();
    Misbehaviour m;
    m.fault = Fault::WrongEcho;
    m.echoAt = 12;  // the last character of the line: the chip still carries it out
    chip.Misbehave(m);
    CChipProtocol protocol(171);
    protocol.SetType(15);
    EXPECT_EQ(protocol.SendLine(m_port, ":0100000218E5"), BOARD_LINE_FAILED);
    EXPECT_EQ(protocol.SendLine(m_port, ":010000020BF2"), BOARD_OK);
    EXPECT_EQ(chip.Chip().FrequencyCode(), 0x0B);
}

TEST_F(BootLoaderLineTest, AWrongEchoMidLineStopsTheSending) {
    BootLoaderBoard& chip = PutChip();
    Misbehaviour m;
    m.fault = Fault::WrongEcho;
    m.echoAt = 3;
    chip.Misbehave(m);
    CChipProtocol protocol(171);
    EXPECT_EQ(protocol.SendLine(m_port, ":0100000218E5"), BOARD_LINE_FAILED);
    EXPECT_EQ(Text(HostBytes(chip.Log())), ":010");
    EXPECT_LE(Elapsed(), 200000u);

    m.echoAt = 4;  // the fifth character of the next line
    chip.Misbehave(m);
    EXPECT_EQ(protocol.SendEcho(m_port, ":0100000218E5"), BOARD_LINE_FAILED);
}

TEST_F(BootLoaderLineTest, SendEchoPassesOnAMissingEcho) {
    Put(std::make_unique<boards::Board>(w32test::vport::LineSettings{19200}));
    Open(19200);
    m_port.SetTimeOut(20);
    CChipProtocol protocol(171);
    EXPECT_EQ(protocol.SendEcho(m_port, ":00"), COMMS_READ_TIMEOUT);
    EXPECT_EQ(protocol.SendLine(m_port, ":00"), COMMS_READ_TIMEOUT);
    EXPECT_LE(Elapsed(), 200000u);
}

// ---- leaving the loader ----

class LeaveLoaderTest : public protocol_test::ProtocolRig {};

TEST_F(LeaveLoaderTest, RunStartsTheChipOnTheOwnersPort) {
    // Device 170: the controller at 9600 baud, the chip at 115200 once it has the line.
    boards::ProgrammerBoardOptions options;
    options.line.baud = 9600;
    options.bootLoader = true;
    auto& board = Put(std::make_unique<boards::ProgrammerBoard>(options));
    Open(9600);
    CChipProtocol chip(170);
    chip.SetType(12);
    ASSERT_EQ(chip.SetChipType(m_port), BOARD_OK);
    ASSERT_EQ(ReopenPortAt(m_port, 115200), COMMS_OK);
    m_port.SetRTS();
    w32::Sleep(200);
    m_port.PurgeRcvBuffer();
    char text[CChipProtocol::kTextSize] = {};
    ASSERT_EQ(chip.Sync(m_port, text), BOARD_OK);
    EXPECT_EQ(board.Chip()->LockedBaud(), 115200u);
    const BYTE data[3] = {1, 2, 3};
    ASSERT_EQ(chip.WriteHexRecords(m_port, 0x0200, 3, data, text), BOARD_OK);
    ASSERT_EQ(m_port.SetTimeOut(250), COMMS_OK);

    board.Log().Clear();
    EXPECT_EQ(chip.ResetToRun(m_port), BOARD_OK);
    EXPECT_EQ(board.Chip()->Flash()[0x0202], 3);
    EXPECT_TRUE(board.Chip()->Running());
    EXPECT_FALSE(board.InLoaderMode());
    EXPECT_EQ(HostBytes(board.Log()), std::vector<BYTE>{'R'});

    // Closed and opened again; RTS up, 'R' 100 ms later, then down, up, down 100 ms apart.
    std::vector<boards::Record> steps;
    for (const boards::Record& r : board.Log().Records()) {
        if (r.what == "close" || r.what.compare(0, 4, "open") == 0 || r.what == "rts 1" ||
            (r.what == "rts 0" && !steps.empty() && steps.back().what != "close") ||
            r.what.compare(0, 8, "host> 52") == 0) {
            steps.push_back(r);
        }
    }
    std::vector<std::string> order;
    for (const boards::Record& r : steps) {
        order.push_back(r.what);
    }
    ASSERT_EQ(order, (std::vector<std::string>{"close", "open 9600 8N1", "rts 1", "host> 52 'R'",
                                               "rts 0", "rts 1", "rts 0"}));
    EXPECT_GE(steps[3].time - steps[2].time, 100000u);
    EXPECT_LT(steps[3].time - steps[2].time, 102000u);
    EXPECT_LT(steps[4].time - steps[3].time, 101000u);
    EXPECT_EQ(steps[5].time - steps[4].time, 100000u);
    EXPECT_EQ(steps[6].time - steps[5].time, 100000u);
    EXPECT_EQ(board.Log().Text().find("garbled"), std::string::npos);

    // The caller's object still owns a working port, with the time-outs of an open: the 250 ms
    // belonged to the step before.
    EXPECT_TRUE(m_port.IsInitialized());
    COMMTIMEOUTS t{};
    ASSERT_EQ(m_port.GetTimeOut(&t), COMMS_OK);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 1000u);
    CBoardProtocol controller;
    controller.SetType(1);
    EXPECT_EQ(controller.SetChipType(m_port), BOARD_OK);
    ExpectPortFreeAfterClose();
}

TEST_F(LeaveLoaderTest, RunLetterAndRateByChipType) {
    struct Case {
        BYTE type;
        DWORD baud;
        std::vector<BYTE> sent;
    };
    const Case cases[] = {{2, 19200, {'R'}}, {12, 9600, {'R'}}, {15, 19200, {'R'}},
                          {3, 19200, {'H'}}, {4, 19200, {'H'}}, {1, 19200, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        // The board listens at the rate the letter must come at: any other rate garbles it.
        auto& board = Put(std::make_unique<boards::Board>(w32test::vport::LineSettings{c.baud}));
        Open(57600);
        CChipProtocol chip(171);
        chip.SetType(c.type);
        EXPECT_EQ(chip.ResetToRun(m_port), BOARD_OK);
        EXPECT_EQ(HostBytes(board.Log()), c.sent);
        EXPECT_EQ(board.Log().Text().find("garbled"), std::string::npos);
        m_port.Deinstall();
    }
}

TEST_F(LeaveLoaderTest, ReopeningStartsFromTheTimeOutsOfAnOpen) {
    Put(std::make_unique<boards::Board>());
    Open(19200);
    COMMTIMEOUTS set = {7, 33, 44, 55, 66};
    ASSERT_EQ(m_port.SetTimeOut(&set), COMMS_OK);
    ASSERT_EQ(ReopenPortAt(m_port, 115200), COMMS_OK);
    COMMTIMEOUTS now{};
    ASSERT_EQ(m_port.GetTimeOut(&now), COMMS_OK);
    EXPECT_EQ(now.ReadIntervalTimeout, 1000u);
    EXPECT_EQ(now.ReadTotalTimeoutMultiplier, 1000u);
    EXPECT_EQ(now.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(now.WriteTotalTimeoutMultiplier, 1000u);
    EXPECT_EQ(now.WriteTotalTimeoutConstant, 0u);
    comm_settings s{};
    m_port.GetCommPort(&s);
    EXPECT_EQ(s.baud, 115200u);
    EXPECT_EQ(s.port, kCom - 1);
    ExpectPortFreeAfterClose();
}

}  // namespace
