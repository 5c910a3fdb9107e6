// A simulated debug board on a virtual port under virtual time, the port object the routines
// talk through, and what the board received.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "boardloader/board_loader.h"
#include "boards/board.h"
#include "boards/catalogue.h"
#include "comms/comms.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace boardtest {

constexpr int kCom = 7;

// One byte the host sent, as the board's log has it.
struct Arrival {
    uint64_t time;
    BYTE byte;
};

class OnBoard : public ::testing::Test {
protected:
    void TearDown() override {
        m_comms.Deinstall();
        if (m_board != nullptr) {
            w32test::vport::Detach(kCom);
        }
    }

    void Attach(const std::string& kind, const std::string& options) {
        std::string error;
        m_board = boards::MakeBoard(kind, options, &error);
        ASSERT_NE(m_board, nullptr) << error;
        ASSERT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
    }
    // Opens the port at `baud` 8N1 and puts the board into program mode.
    void OpenInProgramMode(DWORD baud) {
        comm_settings settings = {};
        settings.port = kCom - 1;
        settings.baud = baud;
        settings.dataBits = 8;
        ASSERT_EQ(m_comms.SetCommPort(&settings), 0);
        ASSERT_EQ(m_comms.SetRTS(), 0);
        m_comms.SetTimeOut(20);
    }
    template <typename T>
    T& BoardAs() {
        return dynamic_cast<T&>(*m_board);
    }
    // The bytes the host sent since the log was last cleared, with their arrival times.
    std::vector<Arrival> HostBytes() const {
        std::vector<Arrival> bytes;
        for (const boards::Record& r : m_board->Log().Records()) {
            if (r.what.compare(0, 6, "host> ") == 0) {
                bytes.push_back(
                    {r.time, static_cast<BYTE>(std::stoul(r.what.substr(6, 2), nullptr, 16))});
            }
        }
        return bytes;
    }
    std::string HostText() const {
        std::string text;
        for (const Arrival& a : HostBytes()) {
            text += static_cast<char>(a.byte);
        }
        return text;
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<boards::Board> m_board;
    CComms m_comms;
    char m_text[kBoardTextSize] = {};
};

}  // namespace boardtest
