// The serial-port object over virtual ports: opening, settings, reads, writes and lines as the
// board on the far end sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "boards/board.h"
#include "boards/echo_board.h"
#include "comms/comms.h"
#include "w32/clock.h"
#include "w32test/clock.h"
#include "w32/errors.h"
#include "w32/handles.h"
#include "w32test/vport.h"

namespace {

// Answers single command bytes with fixed replies, as soon as the command has arrived. It
// listens at 19200 baud, the port object's default.
class ReplyBoard : public boards::Board {
public:
    explicit ReplyBoard(std::map<BYTE, std::string> replies = {})
        : Board(w32test::vport::LineSettings{19200}), replies_(std::move(replies)) {}

protected:
    void OnByte(BYTE b, bool garbled) override {
        auto it = replies_.find(b);
        if (!garbled && it != replies_.end()) {
            Send(it->second);
        }
    }

private:
    std::map<BYTE, std::string> replies_;
};

// COM2 (port number 1) carries a board for the length of a test, whatever the machine has there.
class CommsOnBoard : public ::testing::Test {
protected:
    static const int kCom = 2;

    // Puts `board` on the port in place of the one there.
    void Put(std::shared_ptr<boards::Board> board) {
        w32test::vport::Detach(kCom);
        board_ = std::move(board);
        ASSERT_TRUE(w32test::vport::Attach(kCom, board_.get()));
    }
    void SetUp() override { Put(std::make_shared<ReplyBoard>()); }
    void TearDown() override { w32test::vport::Detach(kCom); }

    std::string Events() const { return board_->Log().Events(); }

    w32test::clock::VirtualTimeScope virtualTime_;
    std::shared_ptr<boards::Board> board_;
};

comm_settings Settings(int port, DWORD baud, int dataBits = 8, int parity = 0, int stopBits = 0) {
    comm_settings s{};
    s.port = port;
    s.baud = baud;
    s.dataBits = dataBits;
    s.parity = parity;
    s.stopBits = stopBits;
    return s;
}

void ExpectSettings(CComms& c, int port, DWORD baud, int dataBits, int parity, int stopBits) {
    comm_settings s{};
    c.GetCommPort(&s);
    EXPECT_EQ(s.port, port);
    EXPECT_EQ(s.baud, baud);
    EXPECT_EQ(s.dataBits, dataBits);
    EXPECT_EQ(s.parity, parity);
    EXPECT_EQ(s.stopBits, stopBits);
}

TEST_F(CommsOnBoard, SettingsTextIsParsedAndOpensThePort) {
    CComms c;
    EXPECT_EQ(c.SetCommPort("COM2: baud=9600 parity=N data=8 stop=1"), COMMS_OK);
    ExpectSettings(c, 1, 9600, 8, 0, 0);
    EXPECT_TRUE(c.IsInitialized());
    EXPECT_EQ(Events(), "open 9600 8N1\ndtr 1\n");

    c.Deinstall();

    // Keys in any order and case; absent keys keep their values. The port refuses 1.5 stop bits
    // with 8 data bits, so the open fails, but the settings are stored.
    CComms d;
    d.CurrPort(1);
    EXPECT_EQ(d.SetCommPort("stop=1.5 PARITY=m Baud=4800"), COMMS_SET_STATE_FAILED);
    ExpectSettings(d, 1, 4800, 8, 3, 1);
    EXPECT_FALSE(d.IsInitialized());
}

TEST_F(CommsOnBoard, EveryParityLetterReachesTheLineAsThatParity) {
    struct Case {
        const char* text;
        int code;
        const char* framing;  // as the board reads the line
    };
    const Case cases[] = {
        {"COM2: baud=9600 parity=N data=7 stop=1", NOPARITY, "9600 7N1"},
        {"COM2: baud=9600 parity=o data=7 stop=1", ODDPARITY, "9600 7O1"},
        {"COM2: baud=9600 parity=E data=7 stop=1", EVENPARITY, "9600 7E1"},
        {"COM2: baud=9600 parity=m data=7 stop=1", MARKPARITY, "9600 7M1"},
        {"COM2: baud=9600 parity=S data=7 stop=1", SPACEPARITY, "9600 7S1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        board_->Log().Clear();
        CComms port;
        ASSERT_EQ(port.SetCommPort(c.text), COMMS_OK);
        ExpectSettings(port, 1, 9600, 7, c.code, 0);
        EXPECT_EQ(Events(), std::string("open 9600 8N1\nsettings ") + c.framing + "\ndtr 1\n");
    }
}

TEST_F(CommsOnBoard, BadParityOrStopValueChangesNothing) {
    CComms c;
    ASSERT_EQ(c.SetCommPort("COM2: baud=9600 parity=E data=7 stop=2"), COMMS_OK);
    EXPECT_EQ(c.SetCommPort("COM5: baud=300 parity=x data=8 stop=1"), COMMS_BAD_PARITY);
    ExpectSettings(c, 1, 9600, 7, 2, 2);
    EXPECT_EQ(c.SetCommPort("COM5: baud=300 parity=N data=8 stop=1.4"), COMMS_BAD_STOP_BITS);
    ExpectSettings(c, 1, 9600, 7, 2, 2);
    EXPECT_EQ(c.SetCommPort("COM5: baud=300 parity=N data=8 stop=3"), COMMS_BAD_STOP_BITS);
    ExpectSettings(c, 1, 9600, 7, 2, 2);
}

TEST_F(CommsOnBoard, OutOfRangeParityAndStopCodesAreStoredAsZero) {
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    comm_settings s = Settings(1, 19200, 8, 7, 5);
    EXPECT_EQ(c.SetCommPort(&s), COMMS_OK);
    ExpectSettings(c, 1, 19200, 8, 0, 0);
}

TEST_F(CommsOnBoard, SettingsOfAnOpenPortWaitForTheNextOpen) {
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    comm_settings s = Settings(1, 57600);
    EXPECT_EQ(c.SetCommPort(&s), COMMS_OK);
    EXPECT_EQ(Events(), "open 9600 8N1\nsettings 19200 8N1\ndtr 1\n");
    EXPECT_EQ(c.Deinstall(), COMMS_OK);
    EXPECT_EQ(c.Initialize(), COMMS_OK);
    EXPECT_EQ(Events(),
              "open 9600 8N1\nsettings 19200 8N1\ndtr 1\npurge rx\npurge tx\ndtr 0\nclose\n"
              "open 9600 8N1\nsettings 57600 8N1\ndtr 1\n");
}

TEST_F(CommsOnBoard, OpeningRaisesOnlyTheLinesItsControlsAsk) {
    CComms c;
    c.CurrPort(1);
    c.RtsControlEnable(TRUE);
    c.DtrControlEnable(FALSE);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    EXPECT_EQ(Events(), "open 9600 8N1\nsettings 19200 8N1\nrts 1\n");
    // A close returns the controls to their defaults: DTR on, RTS off.
    c.Deinstall();
    board_->Log().Clear();
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    EXPECT_EQ(Events(), "open 9600 8N1\nsettings 19200 8N1\ndtr 1\n");
}

TEST_F(CommsOnBoard, LineChangesReachTheBoardInOrder) {
    CComms c;
    c.CurrPort(1);
    c.DtrControlEnable(FALSE);
    // The first line operation opens the port.
    EXPECT_EQ(c.SetRTS(), COMMS_OK);
    EXPECT_EQ(c.SetDTR(), COMMS_OK);
    EXPECT_EQ(c.RtsOff(), COMMS_OK);
    EXPECT_EQ(c.DtrOff(), COMMS_OK);
    EXPECT_EQ(c.RtsOn(), COMMS_OK);
    EXPECT_TRUE(c.GetRTS());
    EXPECT_FALSE(c.GetDTR());
    EXPECT_EQ(Events(), "open 9600 8N1\nsettings 19200 8N1\nrts 1\ndtr 1\nrts 0\ndtr 0\nrts 1\n");
}

TEST_F(CommsOnBoard, BaudChangeOnAnOpenPortReachesTheBoard) {
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    board_->Log().Clear();
    EXPECT_EQ(c.ChangeBaudRate(57600), COMMS_OK);
    EXPECT_EQ(Events(), "settings 57600 8N1\n");
    ExpectSettings(c, 1, 57600, 8, 0, 0);
}

TEST_F(CommsOnBoard, BaudChangeKeepsTheLinesWhereTheyWereSet) {
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    ASSERT_EQ(c.SetRTS(), COMMS_OK);
    ASSERT_EQ(c.ResetDTR(), COMMS_OK);
    board_->Log().Clear();
    EXPECT_EQ(c.ChangeBaudRate(57600), COMMS_OK);
    EXPECT_EQ(Events(), "settings 57600 8N1\n");
    EXPECT_TRUE(board_->Rts());
    EXPECT_FALSE(board_->Dtr());
    EXPECT_TRUE(c.GetRTS());
    EXPECT_FALSE(c.GetDTR());
}

TEST_F(CommsOnBoard, FailingSystemCallsGiveTheirResultCodesAndKeepTheSystemError) {
    using w32test::vport::CallKind;
    const DWORD kError = 1167;  // the device is not connected
    auto failNext = [](CallKind kind, DWORD error) {
        ASSERT_TRUE(w32test::vport::FailNext(kCom, kind, 1, error));
    };
    CComms c;
    c.CurrPort(1);
    // The on-demand open of a line change: the caller sees 1059 and the open's own error.
    failNext(CallKind::Open, ERROR_ACCESS_DENIED);
    EXPECT_EQ(c.SetRTS(), COMMS_NOT_OPEN);
    EXPECT_EQ(w32::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    failNext(CallKind::Settings, kError);
    EXPECT_EQ(c.Initialize(), COMMS_SET_STATE_FAILED);
    EXPECT_FALSE(c.IsInitialized());
    ASSERT_EQ(c.Initialize(), COMMS_OK);

    struct Case {
        CallKind kind;
        int (*call)(CComms&);
        int code;
    };
    const Case cases[] = {
        {CallKind::Lines, [](CComms& p) { return p.SetRTS(); }, COMMS_SET_RTS_FAILED},
        {CallKind::Lines, [](CComms& p) { return p.ResetRTS(); }, COMMS_CLEAR_RTS_FAILED},
        {CallKind::Lines, [](CComms& p) { return p.SetDTR(); }, COMMS_SET_DTR_FAILED},
        {CallKind::Lines, [](CComms& p) { return p.ResetDTR(); }, COMMS_CLEAR_DTR_FAILED},
        {CallKind::Write, [](CComms& p) { return p.PutByte('x'); }, COMMS_WRITE_FAILED},
        {CallKind::Read,
         [](CComms& p) {
             BYTE b;
             return p.GetByte(&b);
         },
         COMMS_READ_FAILED},
        {CallKind::Purge, [](CComms& p) { return p.PurgeRcvBuffer(); }, COMMS_PURGE_FAILED},
        {CallKind::Settings, [](CComms& p) { return p.ChangeBaudRate(9600); },
         COMMS_SET_STATE_FAILED},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.code);
        failNext(k.kind, kError);
        EXPECT_EQ(k.call(c), k.code);
        EXPECT_EQ(w32::GetLastError(), kError);
    }
    EXPECT_FALSE(c.GetRTS());  // the failed SetRTS left the remembered line as it was
}

TEST_F(CommsOnBoard, PortNumbersBeyondAnIntNameNoPortAndChangeNothing) {
    CComms c;
    c.CurrPort(INT_MAX);
    EXPECT_STREQ(c.CurrPortName(), "COM2147483648");
    char path[32];
    EXPECT_EQ(c.CurrPortName(path, sizeof path), COMMS_OK);
    EXPECT_STREQ(path, "\\\\.\\COM2147483648");
    EXPECT_EQ(c.Initialize(), COMMS_OPEN_FAILED);

    CComms d;
    ASSERT_EQ(d.SetCommPort("COM2: baud=9600"), COMMS_OK);
    EXPECT_EQ(d.SetCommPort("COM-2147483648: baud=300"), COMMS_OPEN_FAILED);
    EXPECT_EQ(d.SetCommPort("COM99999999999999999999: baud=300"), COMMS_OPEN_FAILED);
    EXPECT_EQ(d.SetCommPort("COM2: baud=4294967296"), COMMS_SET_STATE_FAILED);
    EXPECT_EQ(d.SetCommPort("COM2: baud=-1"), COMMS_SET_STATE_FAILED);
    EXPECT_EQ(d.SetCommPort("COM2: data=2147483648"), COMMS_SET_STATE_FAILED);
    ExpectSettings(d, 1, 9600, 8, 0, 0);
    // The ends that do fit.
    EXPECT_EQ(d.SetCommPort("COM2147483648: baud=4294967295 data=-2147483648"), COMMS_OK);
    ExpectSettings(d, INT_MAX, 0xFFFFFFFFu, INT_MIN, 0, 0);
}

TEST_F(CommsOnBoard, DataBitsTheControlBlockCannotHoldFailTheOpenInsteadOfWrapping) {
    CComms c;
    comm_settings s = Settings(1, 9600, 264);  // 264 is 8 in the block's byte
    EXPECT_EQ(c.SetCommPort(&s), COMMS_SET_STATE_FAILED);
    EXPECT_FALSE(c.IsInitialized());
    ExpectSettings(c, 1, 9600, 264, 0, 0);
    EXPECT_EQ(Events().find("settings"), std::string::npos) << Events();
}

TEST_F(CommsOnBoard, FailedOnDemandOpenReportsNotOpenAndStaysClosed) {
    w32test::vport::Detach(kCom);
    CComms c;
    c.CurrPort(149);  // COM150: nothing there
    EXPECT_EQ(c.Write(reinterpret_cast<const BYTE*>("x"), 1), COMMS_NOT_OPEN);
    EXPECT_FALSE(c.IsInitialized());
    EXPECT_EQ(c.GetHandle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(c.SetRTS(), COMMS_NOT_OPEN);
    EXPECT_EQ(c.Initialize(), COMMS_OPEN_FAILED);
    EXPECT_FALSE(c.IsInitialized());
}

TEST_F(CommsOnBoard, ReadsGetWhatTheBoardSends) {
    Put(std::make_shared<ReplyBoard>(std::map<BYTE, std::string>{{'p', "AB"}, {'s', "AB\rC"}}));
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(100), COMMS_OK);
    BYTE buffer[8] = {};

    EXPECT_EQ(c.Read(buffer, 0), COMMS_OK);
    EXPECT_EQ(c.GetNumRead(), 0u);

    // Partial data, then silence: a time-out, with the count of what did come.
    ASSERT_EQ(c.PutByte('p'), COMMS_OK);
    DWORD got = 99;
    EXPECT_EQ(c.Read(buffer, 4, got), COMMS_READ_TIMEOUT);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(c.GetNumRead(), 2u);
    EXPECT_EQ(std::memcmp(buffer, "AB", 2), 0);

    ASSERT_EQ(c.PutByte('s'), COMMS_OK);
    DWORD count = 0;
    EXPECT_EQ(c.GetString(buffer, count), COMMS_OK);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(std::memcmp(buffer, "AB\r", 3), 0);
    EXPECT_EQ(c.GetByte(buffer), COMMS_OK);
    EXPECT_EQ(buffer[0], 'C');

    ASSERT_EQ(c.PutByte('s'), COMMS_OK);
    EXPECT_EQ(c.GetStringCR(buffer, count), COMMS_OK);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(c.GetStringZero(buffer, count), COMMS_READ_TIMEOUT);
    EXPECT_EQ(count, 1u);  // the 'C', then nothing
    EXPECT_EQ(c.GetString(buffer, count), COMMS_READ_TIMEOUT);
    EXPECT_EQ(count, 0u);
}

// Sends "a", "b" and "c" 5, 14 and 23 ms after it hears 't': each gap shorter than a 10 ms read
// time-out, the whole longer.
class TrickleBoard : public boards::Board {
public:
    TrickleBoard() : Board(w32test::vport::LineSettings{19200}) {}

protected:
    void OnByte(BYTE b, bool garbled) override {
        if (!garbled && b == 't') {
            SendAfter(5000, "a");
            SendAfter(14000, "b");
            SendAfter(23000, "c");
        }
    }
};

TEST_F(CommsOnBoard, ASynchronousReadTimesOutOnlyAfterATimeOutWithoutAByte) {
    Put(std::make_shared<TrickleBoard>());
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    COMMTIMEOUTS t{0, 0, 10, 0, 0};
    ASSERT_EQ(c.SetTimeOut(&t), COMMS_OK);
    BYTE buffer[4] = {};
    DWORD got = 0;

    // Bytes that keep coming keep the read going past its time-out.
    ASSERT_EQ(c.PutByte('t'), COMMS_OK);
    uint64_t start = w32test::clock::NowMicros();
    EXPECT_EQ(c.Read(buffer, 3, got), COMMS_OK);
    EXPECT_EQ(got, 3u);
    EXPECT_GT(w32test::clock::NowMicros() - start, 20000u);
    EXPECT_EQ(std::memcmp(buffer, "abc", 3), 0);

    // Asked for one more than comes, it ends a whole time-out after the ask that brought "c".
    ASSERT_EQ(c.PutByte('t'), COMMS_OK);
    start = w32test::clock::NowMicros();
    EXPECT_EQ(c.Read(buffer, 4, got), COMMS_READ_TIMEOUT);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(c.GetNumRead(), 3u);
    EXPECT_EQ(std::memcmp(buffer, "abc", 3), 0);
    EXPECT_GE(w32test::clock::NowMicros() - start, 40000u);
}

TEST_F(CommsOnBoard, StringReadsStopAtTheirEndOrTheFirstReadThatFails) {
    Put(std::make_shared<ReplyBoard>(std::map<BYTE, std::string>{{'l', "ok\n"}, {'h', "ha"}}));
    CComms c;
    c.CurrPort(1);
    BYTE buffer[8] = {};
    DWORD count = 9;
    // Closed: not opened for a read; a null buffer is refused first.
    EXPECT_EQ(c.GetString(buffer, count), COMMS_NOT_OPEN);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(c.GetString(nullptr), COMMS_READ_FAILED);
    EXPECT_FALSE(c.IsInitialized());
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(100), COMMS_OK);

    // Part of a string, then silence: the part is stored and counted, the time-out returned.
    ASSERT_EQ(c.PutByte('h'), COMMS_OK);
    EXPECT_EQ(c.GetString(buffer), COMMS_READ_TIMEOUT);
    EXPECT_EQ(c.GetNumRead(), 2u);
    EXPECT_EQ(std::memcmp(buffer, "ha", 2), 0);

    // The strings with an end byte of their own count in `count` only; the bytes-read count is
    // the last one-byte read's.
    ASSERT_EQ(c.PutByte('l'), COMMS_OK);
    EXPECT_EQ(c.GetStringLF(buffer, count), COMMS_OK);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(c.GetNumRead(), 1u);
    ASSERT_EQ(c.PutByte('h'), COMMS_OK);
    EXPECT_EQ(c.GetStringCR(buffer, count), COMMS_READ_TIMEOUT);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(c.GetNumRead(), 0u);
}

TEST_F(CommsOnBoard, PutStringStopsAtTheFirstByteThatFailsAndCountsThoseBefore) {
    auto board = std::make_shared<ReplyBoard>();
    board->FailWriteAt(3);
    Put(board);
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    EXPECT_EQ(c.PutString(reinterpret_cast<const BYTE*>("hello")), COMMS_WRITE_FAILED);
    EXPECT_EQ(c.GetNumWritten(), 2u);
    EXPECT_EQ(board->Log().Events(),
              "open 9600 8N1\nsettings 19200 8N1\ndtr 1\nhost> 68 'h'\nhost> 65 'e'\n"
              "the host's next write fails\n");

    // Nothing to send: nothing sent, and no port opened for it.
    CComms closed;
    closed.CurrPort(1);
    EXPECT_EQ(closed.PutString(nullptr), COMMS_OK);
    EXPECT_EQ(closed.GetNumWritten(), 0u);
    EXPECT_FALSE(closed.IsInitialized());
}

TEST_F(CommsOnBoard, WritesCountWhatLeft) {
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    const BYTE data[] = {1, 2, 3, 4};
    DWORD written = 0;
    BYTE copy[4] = {1, 2, 3, 4};
    EXPECT_EQ(c.Write(copy, 4, written), COMMS_OK);
    EXPECT_EQ(written, 4u);

    // A write limit of 1 ms lets one byte out at 19200 baud (521 us each), none at 300.
    COMMTIMEOUTS t{0, 0, 0, 0, 1};
    ASSERT_EQ(c.SetTimeOut(&t), COMMS_OK);
    EXPECT_EQ(c.Write(data, 4), COMMS_PART_WRITTEN);
    EXPECT_EQ(c.GetNumWritten(), 1u);
    ASSERT_EQ(c.ChangeBaudRate(300), COMMS_OK);
    EXPECT_EQ(c.Write(data, 4), COMMS_NOTHING_WRITTEN);
    EXPECT_EQ(c.GetNumWritten(), 0u);

    t = COMMTIMEOUTS{0, 0, 0, 0, 0};
    ASSERT_EQ(c.SetTimeOut(&t), COMMS_OK);
    ASSERT_EQ(c.ChangeBaudRate(19200), COMMS_OK);
    board_->Log().Clear();
    EXPECT_EQ(c.PutString(reinterpret_cast<const BYTE*>("hi")), COMMS_OK);
    EXPECT_EQ(c.GetNumWritten(), 3u);
    EXPECT_EQ(Events(), "host> 68 'h'\nhost> 69 'i'\nhost> 00\n");
}

// Counts what reaches the one virtual operation that writes.
class CountingComms final : public CComms {
public:
    int writes = 0;
    std::string bytes;
    int Write(const BYTE* data, DWORD length) override {
        ++writes;
        bytes.append(reinterpret_cast<const char*>(data), length);
        return COMMS_OK;
    }
    using CComms::Write;
};

TEST(CommsWrites, SingleBytesTravelDownTheVirtualOperations) {
    CountingComms c;
    CComms& base = c;
    base.PutByte('a');
    base.WriteByte('b');
    base.Write(static_cast<BYTE>('c'));
    base.PutPacket(reinterpret_cast<const BYTE*>("de"), 2);
    BYTE f[] = {'f'};
    DWORD written = 0;
    base.Write(f, 1, written);
    base.PutString(reinterpret_cast<const BYTE*>("g"));
    EXPECT_EQ(c.bytes, std::string("abcdefg\0", 8));
    EXPECT_EQ(c.writes, 7);
}

TEST_F(CommsOnBoard, TimeOutsReadBackAndReapplyUnchanged) {
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    COMMTIMEOUTS mine{5, 6, 7, 8, 9};
    ASSERT_TRUE(w32::SetCommTimeouts(c.GetHandle(), &mine));
    COMMTIMEOUTS read{};
    EXPECT_EQ(c.GetTimeOut(&read), COMMS_OK);
    EXPECT_EQ(c.SetTimeOut(), COMMS_OK);
    COMMTIMEOUTS after{};
    ASSERT_TRUE(w32::GetCommTimeouts(c.GetHandle(), &after));
    EXPECT_EQ(std::memcmp(&after, &mine, sizeof mine), 0);
    // The per-byte form changes both multipliers and nothing else.
    EXPECT_EQ(c.SetTimeOut(100), COMMS_OK);
    ASSERT_TRUE(w32::GetCommTimeouts(c.GetHandle(), &after));
    COMMTIMEOUTS expected{5, 100, 7, 100, 9};
    EXPECT_EQ(std::memcmp(&after, &expected, sizeof expected), 0);
    c.Deinstall();
    EXPECT_EQ(c.SetTimeOut(), COMMS_TIMEOUTS_FAILED);
}

TEST_F(CommsOnBoard, ClosingTwiceReportsNotOpen) {
    CComms c;
    EXPECT_EQ(c.Deinstall(), COMMS_NOT_OPEN);
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    EXPECT_EQ(c.Initialize(), COMMS_ALREADY_OPEN);
    EXPECT_EQ(c.SetAsyncMode(), COMMS_ALREADY_OPEN);
    EXPECT_EQ(c.UnInitializePort(), COMMS_OK);
    EXPECT_EQ(c.Deinstall(), COMMS_NOT_OPEN);
    BYTE b = 0;
    EXPECT_EQ(c.Read(&b), COMMS_NOT_OPEN);
    EXPECT_EQ(c.GetModemStatus(), COMMS_NOT_OPEN);
    EXPECT_EQ(c.GetErrors(), COMMS_NOT_OPEN);
    EXPECT_EQ(c.PurgeRcvBuffer(), COMMS_NOT_OPEN);
}

TEST_F(CommsOnBoard, ChangingThePortNumberClosesThePort) {
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    c.CurrPort(1);
    EXPECT_TRUE(c.IsInitialized());
    c.CurrPort(4);
    EXPECT_FALSE(c.IsInitialized());
    EXPECT_EQ(c.CurrPort(), 4);
}

TEST_F(CommsOnBoard, PortBuiltAroundAnOpenHandleLeavesItOpen) {
    HANDLE h = w32::CreateFileA("\\\\.\\COM2", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    comm_settings s = Settings(1, 38400);
    {
        CComms c(h, &s);
        EXPECT_TRUE(c.IsInitialized());
        EXPECT_EQ(c.GetHandle(), h);
        ExpectSettings(c, 1, 38400, 8, 0, 0);
        EXPECT_EQ(c.PutByte('z'), COMMS_OK);
    }
    DWORD n = 0;
    EXPECT_TRUE(w32::WriteFile(h, "y", 1, &n, nullptr));  // still open
    {
        CComms c(h, &s);
        c.Detach();
        EXPECT_FALSE(c.IsInitialized());
        EXPECT_EQ(c.GetHandle(), INVALID_HANDLE_VALUE);
    }
    {
        CComms c(h, &s);
        EXPECT_EQ(c.Deinstall(), COMMS_OK);  // an explicit close does close it
    }
    EXPECT_FALSE(w32::WriteFile(h, "x", 1, &n, nullptr));
}

TEST_F(CommsOnBoard, LineStatusAndErrorsComeFromThePort) {
    class LinesBoard : public boards::Board {
    public:
        LinesBoard() : Board(w32test::vport::LineSettings{9600}) {}

    protected:
        void OnDtr(bool on) override { SetModemLines(on ? MS_CTS_ON : MS_DSR_ON); }
        void OnByte(BYTE, bool) override { Send("!"); }
    };
    Put(std::make_shared<LinesBoard>());
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);  // DTR on
    ASSERT_EQ(c.GetModemStatus(), COMMS_OK);
    EXPECT_TRUE(c.IsCts());
    EXPECT_FALSE(c.IsDsr());
    ASSERT_EQ(c.ResetDTR(), COMMS_OK);
    ASSERT_EQ(c.GetModemStatus(), COMMS_OK);
    EXPECT_FALSE(c.IsCts());
    EXPECT_TRUE(c.IsDsr());

    // At 19200 the board (at 9600) hears noise and answers at its own rate: framing errors.
    ASSERT_EQ(c.PutByte('?'), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(100), COMMS_OK);
    BYTE b = 0;
    ASSERT_EQ(c.Read(&b), COMMS_OK);
    EXPECT_NE(b, '!');
    ASSERT_EQ(c.GetErrors(), COMMS_OK);
    EXPECT_TRUE(c.IsFrameError());
    EXPECT_FALSE(c.IsParityError());
    ASSERT_EQ(c.GetErrors(), COMMS_OK);
    EXPECT_FALSE(c.IsFrameError());
}

TEST_F(CommsOnBoard, PurgeDropsWhatHasArrived) {
    Put(std::make_shared<boards::EchoBoard>(w32test::vport::LineSettings{19200}));
    CComms c;
    c.CurrPort(1);
    ASSERT_EQ(c.Initialize(), COMMS_OK);
    ASSERT_EQ(c.PutPacket(reinterpret_cast<const BYTE*>("old"), 3), COMMS_OK);
    w32::Sleep(10);
    EXPECT_EQ(c.PurgeRcvBuffer(), COMMS_OK);
    EXPECT_EQ(c.PurgeTransmitBuffer(), COMMS_OK);
    ASSERT_EQ(c.SetTimeOut(100), COMMS_OK);
    ASSERT_EQ(c.PutByte('n'), COMMS_OK);
    BYTE got[4] = {};
    DWORD n = 0;
    EXPECT_EQ(c.Read(got, 4, n), COMMS_READ_TIMEOUT);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(got), n), "n");
}

TEST(CommsNames, PortNamesAndDevicePaths) {
    CComms c;
    EXPECT_STREQ(c.CurrPortName(), "COM1");
    char path[16];
    EXPECT_EQ(c.CurrPortName(path, 8), COMMS_BUFFER_TOO_SMALL);
    EXPECT_EQ(c.CurrPortName(path, 9), COMMS_OK);
    EXPECT_STREQ(path, "\\\\.\\COM1");
    EXPECT_EQ(c.CurrPortName(nullptr, 9), COMMS_NO_BUFFER);
    EXPECT_EQ(c.CurrPortName(path, 0), COMMS_NO_BUFFER);
    c.CurrPort(11);
    EXPECT_STREQ(c.CurrPortName(), "COM12");
    c.CurrPort(-1);
    EXPECT_STREQ(c.CurrPortName(), "UNKNOWN");
    EXPECT_EQ(c.CurrPortName(path, 16), COMMS_OK);
    EXPECT_STREQ(path, "UNKNOWN");
}

TEST(CommsNames, EachThreadHasItsOwnNameBuffer) {
    CComms one;
    const char* mine = one.CurrPortName();
    std::string other;
    std::thread t([&] {
        CComms two;
        two.CurrPort(6);
        other = two.CurrPortName();
    });
    t.join();
    EXPECT_STREQ(mine, "COM1");
    EXPECT_EQ(other, "COM7");
}

TEST(CommsPortList, ListsPortsAscendingWithAClosingZero) {
    int ports[64];
    EXPECT_EQ(CComms::ListCommPorts(nullptr, 64), 0);
    EXPECT_EQ(CComms::ListCommPorts(ports, 1), 0);
#if !defined(_WIN32)
    // Here the list comes from the ports present, attached boards included.
    boards::Board on38;
    boards::Board on33;
    ASSERT_TRUE(w32test::vport::Attach(38, &on38));
    ASSERT_TRUE(w32test::vport::Attach(33, &on33));
    int count = CComms::ListCommPorts(ports, 64);
    ASSERT_GE(count, 2);
    EXPECT_EQ(ports[count], 0);
    EXPECT_TRUE(std::is_sorted(ports, ports + count));
    EXPECT_NE(std::find(ports, ports + count, 33), ports + count);
    EXPECT_NE(std::find(ports, ports + count, 38), ports + count);
    // An array too small for all of them still ends with its 0.
    int two[2] = {-1, -1};
    EXPECT_EQ(CComms::ListCommPorts(two, 2), 1);
    EXPECT_EQ(two[1], 0);
    w32test::vport::Detach(38);
    w32test::vport::Detach(33);
#else
    int count = CComms::ListCommPorts(ports, 64);
    EXPECT_EQ(ports[count], 0);
    EXPECT_TRUE(std::is_sorted(ports, ports + count));
#endif
}

}  // namespace
