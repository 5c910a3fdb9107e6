// A simulated board on a virtual port under virtual time, a board debugger's target talking to it
// through that port, and what the target told the host and the wire carried: the test fixture the
// board debuggers share. The fixture of a debugger derives it with the target's class and port.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boards/catalogue.h"
#include "sim_host_fakes.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace boardtest {

// One byte of the conversation: sent by the host or by the board, and when it arrived.
struct WireByte {
    bool fromHost;
    BYTE byte;
    uint64_t time;
};

template <class Target>
class BoardSession : public ::testing::Test {
protected:
    // The board answers on COM`com`.
    explicit BoardSession(int com) : m_com(com) {}

    void TearDown() override {
        if (m_target != nullptr) {
            m_target->Destroy(kSimDestroyFree);
        }
        if (m_board != nullptr) {
            w32test::vport::Detach(m_com);
        }
    }

    // The board of the catalogue's `kind` with `options`, on the port.
    void AttachBoard(const char* kind, const std::string& options) {
        std::string error;
        m_board = boards::MakeBoard(kind, options, &error);
        ASSERT_NE(m_board, nullptr) << error;
        ASSERT_TRUE(w32test::vport::Attach(m_com, m_board.get()));
    }

    // Takes `target` (destroyed at the end of the test) and gives it the recording host objects
    // and the port's settings: `baud`, 8 data bits, and the download flag.
    void Connect(Target* target, uint32_t baud, bool download) {
        m_target = target;
        m_target->SetMessageSink(&m_sink);
        m_target->SetSerialTerminal(&m_terminal);
        uint32_t block[14] = {};
        block[0] = static_cast<uint32_t>(m_com - 1);
        block[1] = baud;
        block[2] = 8;
        block[9] = download ? 1 : 0;
        m_target->SetCommSettings(reinterpret_cast<const comm_settings*>(block));
    }

    // Forgets what was said so far.
    void Forget() {
        m_sink.messages.clear();
        m_terminal.sent.clear();
        m_board->Log().Clear();
    }

    // The host's messages, one a line.
    std::string Messages() const {
        std::string text;
        for (const auto& message : m_sink.messages) {
            text += message.second + "\n";
        }
        return text;
    }
    // What the target sent to the host's serial terminal.
    std::string Terminal() const {
        std::string text;
        for (const auto& sent : m_terminal.sent) {
            text += static_cast<char>(sent.second);
        }
        return text;
    }
    // The bytes both ways since the log was cleared, in the order they arrived.
    std::vector<WireByte> Wire() const {
        std::vector<WireByte> bytes;
        for (const boards::Record& r : m_board->Log().Records()) {
            const bool host = r.what.compare(0, 6, "host> ") == 0;
            if (host || r.what.compare(0, 7, "board> ") == 0) {
                const size_t at = host ? 6 : 7;
                bytes.push_back({host,
                                 static_cast<BYTE>(std::stoul(r.what.substr(at, 2), nullptr, 16)),
                                 r.time});
            }
        }
        return bytes;
    }

    const int m_com;
    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<boards::Board> m_board;
    Target* m_target = nullptr;
    RecordingSink m_sink;
    RecordingTerminal m_terminal;
};

}  // namespace boardtest
