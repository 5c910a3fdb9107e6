// A target in hardware-port mode with a simulation-kernel board (or another board) on its board
// port, under virtual time, and the stand-in "CorvaneC" loader's record of its calls.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "boards/catalogue.h"
#include "boards/sim_kernel_board.h"
#include "corvanec_standin/corvanec_standin.h"
#include "engine/engine_bench.h"
#include "w32/modules.h"
#include "w32test/vport.h"

namespace ostrel::testing {

constexpr int kKernelCom = 5;

// Program pieces by address, as EngineTest loads them.
using KernelProgram = std::map<uint16_t, std::vector<uint8_t>>;
const std::string kKernelImage =
    std::string(FWT_SOURCE_DIR) + "/targets/ostrel/kernel/Pindrake.hex";

// The lines of a search that finds nothing, after its first line.
inline std::vector<std::string> FruitlessSearch(int portsOwnRate) {
    std::vector<std::string> lines = {"Trying 57600 baud...",
                                      "Trying 38400 baud...",
                                      "Trying 28800 baud...",
                                      "Trying 19200 baud...",
                                      "Trying 9600 baud...",
                                      "Trying 4800 baud...",
                                      "Try a baud rate that matches Loader baud rate last time"};
    lines.push_back("Trying " + std::to_string(portsOwnRate) + " baud...");
    return lines;
}

inline std::vector<std::string> Join(std::vector<std::string> a,
                                     const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The stand-in loader, held loaded by the test so that what it records outlives each upload.
class CorvanecStandIn {
public:
    CorvanecStandIn() : m_library(w32::LoadLibraryA("CorvaneC.dll")) {
        m_lastCall = w32::GetProcAs<CorvanecStandInLastCallFn>(m_library, kCorvanecStandInLastCall);
        m_setResult =
            w32::GetProcAs<CorvanecStandInSetResultFn>(m_library, kCorvanecStandInSetResult);
        if (m_setResult != nullptr) {
            m_setResult(0);
        }
    }
    ~CorvanecStandIn() {
        if (m_setResult != nullptr) {
            m_setResult(0);
        }
        if (m_library != nullptr) {
            w32::FreeLibrary(m_library);
        }
    }
    CorvanecStandIn(const CorvanecStandIn&) = delete;
    CorvanecStandIn& operator=(const CorvanecStandIn&) = delete;

    bool Loaded() const { return m_lastCall != nullptr && m_setResult != nullptr; }
    CorvanecStandInCall LastCall() const {
        CorvanecStandInCall call = {};
        m_lastCall(&call);
        return call;
    }
    void SetResult(int result) { m_setResult(result); }

private:
    HMODULE m_library;
    CorvanecStandInLastCallFn m_lastCall = nullptr;
    CorvanecStandInSetResultFn m_setResult = nullptr;
};

// Options of the settings block the host passes: port (0 = COM1), framing, kernel-loader byte.
struct HostSettings {
    int port = kKernelCom - 1;
    uint32_t baud = 19200;
    uint32_t dataBits = 8;
    uint32_t parity = 0;
    uint32_t stopBits = 0;
    uint8_t loaderByte = 0;
};

class KernelTest : public EngineTest {
protected:
    void TearDown() override {
        target_.reset();  // closes the board port before the board goes
        if (board_ != nullptr) {
            w32test::vport::Detach(kKernelCom);
        }
    }

    // A board of the catalogue on the board port.
    void AttachBoard(const std::string& kind, const std::string& options) {
        std::string error;
        board_ = boards::MakeBoard(kind, options, &error);
        ASSERT_NE(board_, nullptr) << error;
        ASSERT_TRUE(w32test::vport::Attach(kKernelCom, board_.get()));
    }
    // The kernel's board answering at `baud`, with the kernel in its flash or without.
    void AttachKernelBoard(uint32_t baud, bool withKernel = true,
                           const std::string& more = std::string()) {
        std::string options = "baud=" + std::to_string(baud);
        if (withKernel) {
            options += " image=" + kKernelImage;
        }
        AttachBoard("sim-kernel", options + (more.empty() ? "" : " " + more));
    }
    boards::SimKernelBoard& KernelBoard() { return dynamic_cast<boards::SimKernelBoard&>(*board_); }

    // Loads `program`, gives the target the host's settings and sets hardware-port mode.
    void Prepare(const KernelProgram& program, const HostSettings& host = HostSettings()) {
        Load(program);
        Connect(*target_, host);
        target_->SetHardwarePortMode(1);
    }
    static void Connect(C8051Target& target, const HostSettings& host) {
        uint32_t block[14] = {static_cast<uint32_t>(host.port), host.baud, host.dataBits,
                              host.parity, host.stopBits};
        uint8_t bytes[56];
        std::memcpy(bytes, block, sizeof bytes);
        bytes[40] = host.loaderByte;
        target.SetCommSettings(reinterpret_cast<const comm_settings*>(bytes));
    }
    // The rate the target's board port runs at, as the board sees it.
    DWORD PortBaud() const { return board_->HostLine().baud; }

    std::unique_ptr<boards::Board> board_;
};

}  // namespace ostrel::testing
