// The monitor board on a virtual port under virtual time, with the monitor debugger's target
// loaded onto it, and the conversation as the board's log has it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/catalogue.h"
#include "boards/rom_monitor.h"
#include "monitor_target.h"
#include "ostrel/register_file.h"
#include "sim_host_fakes.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace monitortest {

constexpr int kCom = 7;

inline std::string ProgramPath(const char* name) {
    return std::string(FWT_SOURCE_DIR) + "/targets/pelmor/tests/programs/" + name;
}

class MonitorSession : public ::testing::Test {
protected:
    void TearDown() override {
        if (m_target != nullptr) {
            m_target->Destroy(kSimDestroyFree);
        }
        if (m_board != nullptr) {
            w32test::vport::Detach(kCom);
        }
    }

    void Attach(const std::string& options) {
        std::string error;
        m_board = boards::MakeBoard("rom-monitor", options, &error);
        ASSERT_NE(m_board, nullptr) << error;
        ASSERT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
        m_target = new pelmor::CMonitorTarget();
        m_target->SetMessageSink(&m_sink);
        m_target->SetSerialTerminal(&m_terminal);
        uint32_t block[14] = {};
        block[0] = kCom - 1;
        block[1] = 9600;
        block[2] = 8;
        m_target->SetCommSettings(reinterpret_cast<const comm_settings*>(block));
    }

    // The target on the board of `options`, with the program loaded and debugging started.
    void Load(const std::string& options, const char* program = "count.hex") {
        Attach(options);
        ASSERT_EQ(m_target->LoadProgram(ProgramPath(program).c_str()), SIM_OK) << Messages();
        ASSERT_EQ(m_target->Reset(), SIM_OK) << Messages();
        Forget();
    }

    // Forgets what was said so far.
    void Forget() {
        m_sink.messages.clear();
        m_terminal.sent.clear();
        m_board->Log().Clear();
    }

    boards::RomMonitorBoard& Board() { return dynamic_cast<boards::RomMonitorBoard&>(*m_board); }
    CMonitorLink& Link() { return m_target->Link(); }

    std::string Messages() const {
        std::string text;
        for (const auto& message : m_sink.messages) {
            text += message.second + "\n";
        }
        return text;
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : m_sink.messages) {
            texts.push_back(message.second);
        }
        return texts;
    }
    std::string Terminal() const {
        std::string text;
        for (const auto& sent : m_terminal.sent) {
            text += static_cast<char>(sent.second);
        }
        return text;
    }
    // The bytes one side sent since the log was cleared, as text.
    std::string Sent(bool fromHost) const {
        const std::string prefix = fromHost ? "host> " : "board> ";
        std::string bytes;
        for (const boards::Record& r : m_board->Log().Records()) {
            if (r.what.compare(0, prefix.size(), prefix) == 0) {
                bytes +=
                    static_cast<char>(std::stoul(r.what.substr(prefix.size(), 2), nullptr, 16));
            }
        }
        return bytes;
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<boards::Board> m_board;
    pelmor::CMonitorTarget* m_target = nullptr;
    RecordingSink m_sink;
    RecordingTerminal m_terminal;
};

}  // namespace monitortest
