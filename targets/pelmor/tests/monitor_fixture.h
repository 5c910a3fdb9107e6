// The monitor board on a virtual port under virtual time, with the monitor debugger's target
// loaded onto it, and the conversation as the board's log has it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boards/board_session.h"
#include "boards/rom_monitor.h"
#include "monitor_target.h"
#include "ostrel/register_file.h"

namespace monitortest {

constexpr int kCom = 7;

inline std::string ProgramPath(const char* name) {
    return std::string(FWT_SOURCE_DIR) + "/targets/pelmor/tests/programs/" + name;
}

class MonitorSession : public boardtest::BoardSession<pelmor::CMonitorTarget> {
protected:
    MonitorSession() : BoardSession(kCom) {}

    void Attach(const std::string& options) {
        ASSERT_NO_FATAL_FAILURE(AttachBoard("rom-monitor", options));
        Connect(new pelmor::CMonitorTarget(), 9600, false);
    }

    // The target on the board of `options`, with the program loaded and debugging started.
    void Load(const std::string& options, const char* program = "count.hex") {
        Attach(options);
        ASSERT_EQ(m_target->LoadProgram(ProgramPath(program).c_str()), SIM_OK) << Messages();
        ASSERT_EQ(m_target->Reset(), SIM_OK) << Messages();
        Forget();
    }

    boards::RomMonitorBoard& Board() { return dynamic_cast<boards::RomMonitorBoard&>(*m_board); }
    CMonitorLink& Link() { return m_target->Link(); }

    std::vector<std::string> MessageTexts() const { return m_sink.Texts(); }
    // The bytes one side sent since the log was cleared, as text.
    std::string Sent(bool fromHost) const {
        std::string bytes;
        for (const boardtest::WireByte& b : Wire()) {
            if (b.fromHost == fromHost) {
                bytes += static_cast<char>(b.byte);
            }
        }
        return bytes;
    }
};

}  // namespace monitortest
