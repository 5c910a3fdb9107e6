// A debug board running the debug kernel on a virtual port under virtual time, with the board
// debugger's target loaded onto it, and the conversation as the board's log has it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "boards/catalogue.h"
#include "boards/debug_kernel.h"
#include "kernel_target.h"
#include "sim_host_fakes.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace kerneltest {

constexpr int kCom = 9;

inline std::string ProgramPath(const char* name) {
    return std::string(FWT_SOURCE_DIR) + "/targets/yardlow/tests/programs/" + name;
}

// One byte of the conversation: sent by the host or by the board, and when it arrived.
struct WireByte {
    bool fromHost;
    BYTE byte;
    uint64_t time;
};

class KernelSession : public ::testing::Test {
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
        m_board = boards::MakeBoard("debug-kernel", options, &error);
        ASSERT_NE(m_board, nullptr) << error;
        ASSERT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
    }

    // The target on the board of `options`, with the program loaded and debugging started.
    void Load(const std::string& options, const char* program = "hello.hex") {
        Attach(options);
        m_target = new yardlow::CKernelTarget("ExtMem=Separate");
        m_target->SetMessageSink(&m_sink);
        m_target->SetSerialTerminal(&m_terminal);
        uint32_t block[14] = {};
        block[0] = kCom - 1;
        block[1] = 19200;
        block[2] = 8;
        block[9] = 1;  // download
        m_target->SetCommSettings(reinterpret_cast<const comm_settings*>(block));
        ASSERT_EQ(m_target->LoadProgram(ProgramPath(program).c_str()), SIM_OK) << Messages();
        ASSERT_EQ(m_target->Reset(), SIM_OK);
        Forget();
    }
    // Forgets what was said so far.
    void Forget() {
        m_sink.messages.clear();
        m_terminal.sent.clear();
        m_board->Log().Clear();
    }

    boards::DebugKernel& Kernel() { return dynamic_cast<boards::KernelBoard&>(*m_board).Kernel(); }
    CKernelLink& Link() { return m_target->Link(); }

    std::string Messages() const {
        std::string text;
        for (const auto& message : m_sink.messages) {
            text += message.second + "\n";
        }
        return text;
    }
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
    std::vector<BYTE> Sent(bool fromHost) const {
        std::vector<BYTE> bytes;
        for (const WireByte& b : Wire()) {
            if (b.fromHost == fromHost) {
                bytes.push_back(b.byte);
            }
        }
        return bytes;
    }
    // The program bytes the board holds at `address`.
    std::vector<BYTE> Code(uint32_t address, size_t count) {
        const std::vector<uint8_t>& code = Kernel().Code();
        return std::vector<BYTE>(code.begin() + address, code.begin() + address + count);
    }

    w32test::clock::VirtualTimeScope m_virtualTime;
    std::unique_ptr<boards::Board> m_board;
    yardlow::CKernelTarget* m_target = nullptr;
    RecordingSink m_sink;
    RecordingTerminal m_terminal;
};

}  // namespace kerneltest
