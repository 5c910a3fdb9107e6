// A debug board running the debug kernel on a virtual port under virtual time, with the board
// debugger's target loaded onto it, and the conversation as the board's log has it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "boards/board_session.h"
#include "boards/debug_kernel.h"
#include "kernel_target.h"

namespace kerneltest {

constexpr int kCom = 9;

inline std::string ProgramPath(const char* name) {
    return std::string(FWT_SOURCE_DIR) + "/targets/yardlow/tests/programs/" + name;
}

using boardtest::WireByte;

class KernelSession : public boardtest::BoardSession<yardlow::CKernelTarget> {
protected:
    KernelSession() : BoardSession(kCom) {}

    void Attach(const std::string& options) { AttachBoard("debug-kernel", options); }

    // The target on the board of `options`, with the program loaded and debugging started.
    void Load(const std::string& options, const char* program = "hello.hex") {
        Attach(options);
        Connect(new yardlow::CKernelTarget("ExtMem=Separate"), 19200, true);
        ASSERT_EQ(m_target->LoadProgram(ProgramPath(program).c_str()), SIM_OK) << Messages();
        ASSERT_EQ(m_target->Reset(), SIM_OK);
        Forget();
    }

    boards::DebugKernel& Kernel() { return dynamic_cast<boards::KernelBoard&>(*m_board).Kernel(); }
    CKernelLink& Link() { return m_target->Link(); }

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
};

}  // namespace kerneltest
