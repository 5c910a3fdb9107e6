// A port object on a simulated board, opened as the programming thread opens it, on virtual time.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "boards/board.h"
#include "comms/comms.h"
#include "w32/clock.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace protocol_test {

// The bytes one side sent, in order, from the board's record (garbled ones included as read).
inline std::vector<BYTE> BytesFrom(const boards::Transcript& log, const char* side,
                                   uint64_t from = 0) {
    std::vector<BYTE> bytes;
    std::string prefix = std::string(side) + "> ";
    for (const boards::Record& r : log.Records()) {
        if (r.time >= from && r.what.compare(0, prefix.size(), prefix) == 0) {
            bytes.push_back(
                static_cast<BYTE>(std::stoul(r.what.substr(prefix.size(), 2), nullptr, 16)));
        }
    }
    return bytes;
}

inline std::vector<BYTE> HostBytes(const boards::Transcript& log, uint64_t from = 0) {
    return BytesFrom(log, "host", from);
}

inline std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

// The record's entries that are not bytes, in order ("rts 1", "settings 115200 8N1", ...).
inline std::vector<std::string> LineEvents(const boards::Transcript& log, uint64_t from = 0) {
    std::vector<std::string> events;
    for (const boards::Record& r : log.Records()) {
        if (r.time >= from && r.what.compare(0, 5, "host>") != 0 &&
            r.what.compare(0, 6, "board>") != 0) {
            events.push_back(r.what);
        }
    }
    return events;
}

// Answers every packet (what arrives without a 2 ms pause) with one fixed reply.
class FixedReplyBoard : public boards::Board {
public:
    explicit FixedReplyBoard(std::vector<BYTE> reply)
        : Board(w32test::vport::LineSettings{19200}), m_reply(std::move(reply)) {}

protected:
    void OnByte(BYTE, bool) override {
        uint64_t serial = ++m_serial;
        After(2000, [this, serial] {
            if (serial == m_serial) {
                Send(m_reply);
            }
        });
    }

private:
    std::vector<BYTE> m_reply;
    uint64_t m_serial = 0;
};

class ProtocolRig : public ::testing::Test {
protected:
    static const int kCom = 6;

    // Puts `board` on the port; the rig keeps it until the test ends.
    template <class B>
    B& Put(std::unique_ptr<B> board) {
        B& b = *board;
        w32test::vport::Detach(kCom);
        m_board = std::move(board);
        EXPECT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
        return b;
    }

    // Opens the port as the programming thread does: the settings text, DTR and RTS up, 100 ms,
    // an empty receive buffer, 100 ms per byte; then forgets what the board saw so far.
    void Open(DWORD baud = 19200) {
        char text[64];
        std::snprintf(text, sizeof text, "COM%d: baud=%lu parity=N data=8 stop=1", kCom,
                      static_cast<unsigned long>(baud));
        ASSERT_EQ(m_port.SetCommPort(text), COMMS_OK);
        ASSERT_EQ(m_port.SetDTR(), COMMS_OK);
        ASSERT_EQ(m_port.SetRTS(), COMMS_OK);
        w32::Sleep(100);
        ASSERT_EQ(m_port.PurgeRcvBuffer(), COMMS_OK);
        ASSERT_EQ(m_port.SetTimeOut(100), COMMS_OK);
        m_board->Log().Clear();
        m_start = Now();
    }

    // RTS down and the record cleared, so that the next raise shows as one.
    void LowerRtsAndForget() {
        ASSERT_EQ(m_port.ResetRTS(), COMMS_OK);
        m_board->Log().Clear();
    }

    uint64_t Now() const { return w32test::clock::NowMicros(); }
    uint64_t Elapsed() const { return Now() - m_start; }

    // After the owner closed its port no handle of the port is left open: a new object opens it.
    void ExpectPortFreeAfterClose() {
        m_port.Deinstall();
        CComms other;
        EXPECT_EQ(other.SetCommPort(kCom - 1), COMMS_OK) << "a handle of the port is still open";
        other.Deinstall();
    }

    void TearDown() override {
        m_port.Deinstall();
        w32test::vport::Detach(kCom);
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<boards::Board> m_board;
    CComms m_port;
    uint64_t m_start = 0;
};

}  // namespace protocol_test
