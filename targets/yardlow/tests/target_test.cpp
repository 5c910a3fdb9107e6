// The board debugger's target where a session transcript cannot show it: which host sink hears
// it, a stop from another thread against the run it ends, and the program on the board after a
// run whose breakpoints did not all go in.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "kernel_fixture.h"
#include "sim_factory.h"
#include "w32/clock.h"
#include "w32/modules.h"

namespace {

using kerneltest::KernelSession;

// The test program's bytes from 0x0800 (programs/hello.asm); past them the board's flash is
// erased, as nothing beyond the program is downloaded.
constexpr size_t kProgramSize = 0x6B;

class Target : public KernelSession {
protected:
    // The program as the host loaded it (its copy of program memory), from `address`.
    std::vector<BYTE> Loaded(uint32_t address, size_t count) {
        std::vector<BYTE> whole(0x10000);
        uint32_t read = 0;
        EXPECT_EQ(m_target->ReadMemory(0, whole.data(), 0x10000, &read, yardlow::kSpaceProgram),
                  SIM_OK);
        EXPECT_EQ(read, 0x10000u);
        return std::vector<BYTE>(whole.begin() + address, whole.begin() + address + count);
    }

    // A run to a breakpoint the program never reaches at 0x0860, which the host stops from
    // another thread after a second: the program still runs when the run tries to put the
    // breakpoint's bytes back, so they stay planted.
    void RunStoppedWithItsBreakpointLeftPlanted() {
        int32_t index = 0;
        ASSERT_EQ(m_target->AddBreakpoint(0x0860, &index), SIM_OK);
        std::atomic<bool> ready{false};
        std::thread host([this, &ready] {
            w32test::clock::TakePart();
            ready.store(true);
            w32::Sleep(1000);
            m_target->Stop();
        });
        while (!ready.load()) {
            std::this_thread::yield();
        }
        EXPECT_EQ(m_target->RunSteps(-1), SIM_EXECUTION_STOPPED);
        {
            w32test::clock::OutsideWaitScope outside;
            host.join();
        }
        ASSERT_EQ(Code(0x0860, 3), std::vector<BYTE>(kBreakpointCall, kBreakpointCall + 3));
        ASSERT_TRUE(m_target->Link().HasUsedSlots());
        Forget();
    }
};

const std::vector<BYTE> kNeverBytes = {0x02, 0x08, 0x60};  // LJMP never, at 0x0860

TEST_F(Target, TheOptionTextChoosesExternalDataByItsValueInAnyCase) {
    using yardlow::CKernelTarget;
    using yardlow::ExtMemMode;
    EXPECT_EQ(CKernelTarget("ExtMem=separate").GetExtMemMode(), ExtMemMode::Separate);
    EXPECT_EQ(CKernelTarget("ExtMem=OVERLAPPED").GetExtMemMode(), ExtMemMode::Overlapped);
    EXPECT_EQ(CKernelTarget("extmem=Separate").GetExtMemMode(), ExtMemMode::None);
    EXPECT_EQ(CKernelTarget("ExtMem=Separated").GetExtMemMode(), ExtMemMode::None);
    EXPECT_EQ(CKernelTarget(nullptr).GetExtMemMode(), ExtMemMode::None);
}

TEST_F(Target, EachTargetReportsToItsOwnSinkOnlyWhileItLives) {
    Attach("kernel-fault=low-pc");
    yardlow::CSimFactory factory;
    RecordingSink refused;
    EXPECT_EQ(factory.CreateTarget(&refused, nullptr, nullptr, "8052", "", 0), nullptr);
    EXPECT_EQ(refused.Texts(), std::vector<std::string>{"The requested chip ID '8052' is not "
                                                        "supported by the Brontal-A Debugger."});
    RecordingSink first;
    ISimTarget* earlier = factory.CreateTarget(&first, nullptr, nullptr, "8051", "", 0);
    ASSERT_NE(earlier, nullptr);
    earlier->Destroy(kSimDestroyFree);
    EXPECT_EQ(first.releases, 1);

    m_target = static_cast<yardlow::CKernelTarget*>(
        factory.CreateTarget(&m_sink, nullptr, &m_terminal, "8051", "", 0));
    ASSERT_NE(m_target, nullptr);
    uint32_t block[14] = {kerneltest::kCom - 1, 19200, 8, 0, 0, 0, 0, 0, 0, 1};
    m_target->SetCommSettings(reinterpret_cast<const comm_settings*>(block));
    ASSERT_EQ(m_target->LoadProgram(kerneltest::ProgramPath("hello.hex").c_str()), SIM_OK);
    ASSERT_EQ(m_target->Reset(), SIM_OK);
    Forget();
    // The kernel reports a PC inside itself: the warning goes to this target's sink alone.
    ASSERT_EQ(m_target->StepInstruction(), SIM_OK);
    EXPECT_NE(Messages().find("WARNING: Invalid program counter, PC=0x30."), std::string::npos);
    EXPECT_EQ(refused.messages.size(), 1u);
    EXPECT_TRUE(first.messages.empty());
}

TEST_F(Target, AStopFromAnotherThreadHoldsTheBoardOnlyOnceTheRunsExchangesHaveEnded) {
    Load("");
    // Breakpoints never reached: after the stop the run still tries to put their bytes back,
    // one read time-out each.
    int32_t index = 0;
    for (uint32_t address : {0x0860u, 0x0900u, 0x0910u}) {
        ASSERT_EQ(m_target->AddBreakpoint(address, &index), SIM_OK);
    }
    std::atomic<bool> ready{false};
    std::atomic<int32_t> stopped{-1};
    std::thread host([this, &ready, &stopped] {
        w32test::clock::TakePart();
        ready.store(true);
        w32::Sleep(1000);
        stopped.store(m_target->Stop());
    });
    while (!ready.load()) {
        std::this_thread::yield();
    }
    EXPECT_EQ(m_target->RunSteps(-1), SIM_EXECUTION_STOPPED);
    {
        w32test::clock::OutsideWaitScope outside;
        host.join();
    }
    EXPECT_EQ(stopped.load(), SIM_OK);
    EXPECT_FALSE(m_target->IsExecuting());
    EXPECT_NE(Messages().find("Stop Debugger1.Please wait...\nStop Debugger2.Please wait...\n"),
              std::string::npos)
        << Messages();
    // The board was held (RTS set) after the last byte the run sent, not while it was still
    // trying to put the breakpoints' bytes back, and stays held.
    EXPECT_TRUE(m_board->Rts());
    const std::vector<boards::Record> log = m_board->Log().Records();
    size_t lastHostByte = 0;
    size_t lastHold = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].what.compare(0, 6, "host> ") == 0) {
            lastHostByte = i;
        }
        if (log[i].what == "rts 1") {
            lastHold = i;
        }
        EXPECT_NE(log[i].what, "rts 0") << "the board was let run again";
    }
    EXPECT_GT(lastHold, lastHostByte);
    uint32_t pc = 0;
    ASSERT_EQ(m_target->GetPC(&pc), SIM_OK);
    EXPECT_EQ(pc, 0xFFFFu);
}

// A host that shows the program's output on its own thread: the run's terminal output waits for
// that thread, which may be busy stopping the run. It gives up after a minute of clock time, so
// that a stop that waits for the run for ever fails the test instead of hanging it.
class HostThreadTerminal : public ISimSerialTerminal {
public:
    void SIM_CALL Transmit(int32_t, const uint8_t*, uint32_t) override {
        m_entered.store(true);
        const uint64_t start = w32test::clock::NowMicros();
        uint64_t now = start;
        while (!m_free.load() && now - start < 60000000u) {
            now = w32test::clock::WaitForAdvance(now, 10);
        }
    }
    void SIM_CALL Release() override {}

    bool Entered() const { return m_entered.load(); }
    void Free() { m_free.store(true); }

private:
    std::atomic<bool> m_entered{false};
    std::atomic<bool> m_free{false};
};

TEST_F(Target, AStopThatTheRunCannotAnswerGivesUpAndLeavesTheBoardToTheNextStop) {
    Load("");
    HostThreadTerminal terminal;
    m_target->SetSerialTerminal(&terminal);
    int32_t index = 0;
    ASSERT_EQ(m_target->AddBreakpoint(0x0860, &index), SIM_OK);
    std::atomic<bool> ready{false};
    std::atomic<int32_t> stopped{-1};
    std::thread host([this, &terminal, &ready, &stopped] {
        w32test::clock::TakePart();
        ready.store(true);
        // The program's greeting reaches the terminal, which waits for this thread.
        while (!terminal.Entered()) {
            w32::Sleep(1);
        }
        stopped.store(m_target->Stop());
        terminal.Free();
    });
    while (!ready.load()) {
        std::this_thread::yield();
    }
    const uint64_t start = w32test::clock::NowMicros();
    EXPECT_EQ(m_target->RunSteps(-1), SIM_EXECUTION_STOPPED);
    {
        w32test::clock::OutsideWaitScope outside;
        host.join();
    }
    EXPECT_EQ(stopped.load(), SIM_EXECUTION_STOPPED);
    // The stop waited well beyond the longest exchange, and not much more.
    const uint64_t waited = w32test::clock::NowMicros() - start;
    EXPECT_GT(waited, 25500000u);
    EXPECT_LT(waited, 30000000u);
    // It did not hold the board or clear the model under the run.
    for (const boards::Record& record : m_board->Log().Records()) {
        EXPECT_NE(record.what, "rts 1");
    }
    uint32_t pc = 0;
    ASSERT_EQ(m_target->GetPC(&pc), SIM_OK);
    EXPECT_NE(pc, 0xFFFFu);
    // The next stop does it.
    m_target->SetSerialTerminal(&m_terminal);
    EXPECT_EQ(m_target->Stop(), SIM_OK);
    EXPECT_TRUE(m_board->Rts());
    ASSERT_EQ(m_target->GetPC(&pc), SIM_OK);
    EXPECT_EQ(pc, 0xFFFFu);
}

TEST_F(Target, ARunWhoseBreakpointsDidNotAllGoInLeavesTheProgramAsLoaded) {
    // The kernel refuses its second program write: the second breakpoint's LCALL.
    Load("code-write-fault=2");
    const std::vector<BYTE> program = Loaded(0x0800, kProgramSize);
    ASSERT_EQ(Code(0x0800, kProgramSize), program);
    int32_t index = 0;
    for (uint32_t address : {0x0846u, 0x084Cu, 0x0853u}) {
        ASSERT_EQ(m_target->AddBreakpoint(address, &index), SIM_OK);
    }
    EXPECT_EQ(m_target->RunSteps(-1), SIM_EXECUTION_STOPPED);
    EXPECT_EQ(Code(0x0800, kProgramSize), program);
    EXPECT_FALSE(m_target->Link().HasUsedSlots());
    // The next run plants all three and stops at the first.
    ASSERT_EQ(m_target->RunSteps(-1), SIM_OK) << Messages();
    uint32_t pc = 0;
    ASSERT_EQ(m_target->GetPC(&pc), SIM_OK);
    EXPECT_EQ(pc, 0x0846u);
    EXPECT_EQ(Code(0x0800, kProgramSize), program);
}

TEST_F(Target, BreakpointBytesARunLeftPlantedAreBackBeforeTheNextSessionStarts) {
    Load("");
    RunStoppedWithItsBreakpointLeftPlanted();
    ASSERT_EQ(m_target->Reset(), SIM_OK);
    EXPECT_EQ(Code(0x0860, 3), kNeverBytes);
    EXPECT_FALSE(m_target->Link().HasUsedSlots());
    BYTE shown[3] = {};
    uint32_t read = 0;
    ASSERT_EQ(m_target->ReadMemory(0x0860, shown, 3, &read, yardlow::kSpaceProgram), SIM_OK);
    EXPECT_EQ(std::vector<BYTE>(shown, shown + 3), kNeverBytes);
}

TEST_F(Target, BreakpointBytesLeftPlantedGoBackWhenTheTargetGoesFromAHeldBoard) {
    Load("");
    RunStoppedWithItsBreakpointLeftPlanted();
    ASSERT_TRUE(m_board->Rts());
    m_target->Destroy(kSimDestroyFree);
    m_target = nullptr;
    EXPECT_EQ(Code(0x0860, 3), kNeverBytes);
    // The kernel was let run for the restore and the board held again before the port closed.
    std::vector<std::string> lines;
    for (const boards::Record& record : m_board->Log().Records()) {
        const bool wire =
            record.what.compare(0, 5, "host>") == 0 || record.what.compare(0, 6, "board>") == 0;
        if (!wire) {
            lines.push_back(record.what);
        } else if (lines.empty() || lines.back() != "bytes") {
            lines.push_back("bytes");
        }
    }
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + 4),
        (std::vector<std::string>{"rts 0", "kernel: up at 19200 baud, V1.06", "bytes", "rts 1"}));
}

TEST_F(Target, ARestoreThatFailsFailsTheResetAndIsTriedAgainBeforeProgramMemoryIsRead) {
    // The kernel refuses its second program write: the restore at the reset.
    Load("code-write-fault=2");
    RunStoppedWithItsBreakpointLeftPlanted();
    EXPECT_EQ(m_target->Reset(), SIM_EXECUTION_STOPPED);
    EXPECT_TRUE(m_target->Link().HasUsedSlots());
    BYTE shown[3] = {};
    uint32_t read = 0;
    ASSERT_EQ(m_target->ReadMemory(0x0860, shown, 3, &read, yardlow::kSpaceProgram), SIM_OK);
    EXPECT_EQ(std::vector<BYTE>(shown, shown + 3), kNeverBytes);
    EXPECT_FALSE(m_target->Link().HasUsedSlots());
}

TEST_F(Target, ARestoreThatFailsIsTriedAgainBeforeTheNextStep) {
    Load("code-write-fault=2");
    RunStoppedWithItsBreakpointLeftPlanted();
    EXPECT_EQ(m_target->Reset(), SIM_EXECUTION_STOPPED);
    ASSERT_EQ(m_target->StepInstruction(), SIM_OK) << Messages();
    EXPECT_EQ(Code(0x0860, 3), kNeverBytes);
    EXPECT_FALSE(m_target->Link().HasUsedSlots());
}

TEST_F(Target, APortWrittenLowReachesTheBoardLowButForTheSerialLinesPins) {
    Load("");
    for (const char* port : {"Port0", "Port1", "Port2", "Port3"}) {
        m_target->SetRegister(port, 0x00);
    }
    // After the last write the block goes out whole: IP, P0 to P3, TL0 and TH0.
    const std::vector<BYTE> host = Sent(true);
    ASSERT_GE(host.size(), 14u);
    EXPECT_EQ(std::vector<BYTE>(host.end() - 12, host.end() - 4),
              (std::vector<BYTE>{KSFR_P0 + 4, 0x00, KSFR_P1 + 4, 0x00, KSFR_P2 + 4, 0x00,
                                 KSFR_P3 + 4, 0x03}));
}

TEST_F(Target, TheKernelImageIsLookedForBesideALoadedCorvanecModuleFirst) {
    Attach("");
    m_target = new yardlow::CKernelTarget("");
    m_target->SetMessageSink(&m_sink);
    uint32_t block[14] = {kerneltest::kCom - 1, 19200, 8, 0, 0, 0, 0, 0, 0, 1};
    m_target->SetCommSettings(reinterpret_cast<const comm_settings*>(block));
    HMODULE module = w32::LoadLibraryA(CORVANEC_MODULE);
    ASSERT_NE(module, nullptr);
    // Its folder holds no kernel image.
    EXPECT_EQ(m_target->LoadProgram(kerneltest::ProgramPath("hello.hex").c_str()), SIM_LOAD_FAILED);
    // The folder as the system names it: "corvanec_module", a separator, the image.
    const std::string messages = Messages();
    const size_t image = messages.find("t89c51rx2_kernel.hex' into memory\n");
    ASSERT_NE(image, std::string::npos) << messages;
    EXPECT_EQ(messages.substr(image - 16, 15), "corvanec_module") << messages;
    w32::FreeLibrary(module);
    // Without it, beside the program.
    EXPECT_EQ(m_target->LoadProgram(kerneltest::ProgramPath("hello.hex").c_str()), SIM_OK)
        << Messages();
}

TEST_F(Target, TheCallStackTextIsWrittenThoughTheAnswerIsNotSupported) {
    Load("");
    ASSERT_EQ(m_target->StepInstruction(), SIM_OK);  // LJMP main: a frame of its own
    char text[256] = "untouched";
    EXPECT_EQ(m_target->GetCallStackText(text, sizeof text), SIM_NOT_SUPPORTED);
    EXPECT_STREQ(text, "0x0800:()\r\n0x0830:( LJMP from 0x0803, SFP:0x0007)\r\n");
}

}  // namespace
