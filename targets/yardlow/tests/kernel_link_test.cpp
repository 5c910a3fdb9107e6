// The debug-kernel link against a board that runs the program: the reports byte by byte, the
// program's own output in front of them, every way a report or answer goes wrong, the memory
// commands' limits, and breakpoints that leave the program as it was loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "kernel_fixture.h"
#include "w32/clock.h"

namespace {

using kerneltest::KernelSession;
using kerneltest::WireByte;
using Bytes = std::vector<BYTE>;

constexpr BYTE kBreakHeader[] = {'Z', 'M', 0xA5, 0xD4};
constexpr BYTE kBreakTrailer[] = {0x5B, 0x4C, 0xB5, 0xC4};
// Addresses of the test program (programs/hello.asm).
constexpr uint32_t kCounting = 0x083F;
constexpr uint32_t kAgain = 0x0846;
constexpr uint32_t kBump = 0x084C;
constexpr uint32_t kKeep = 0x0853;
constexpr uint32_t kNever = 0x0860;

const char kNoReply[] = "ERROR: Board does not reply\nNOTE: Please check breakpoints\n";

class KernelLink : public KernelSession {};

TEST_F(KernelLink, AStepSendsTheBlockWithTheStepMaskAndAsksForTheRegistersAfterFourBytes) {
    Load("");
    KernelContext& context = Link().Context();
    context.ie = 0x85;
    context.acc = 0x11;
    ASSERT_TRUE(Link().Step());

    const std::vector<WireByte> wire = Wire();
    const Bytes host = Sent(true);
    ASSERT_EQ(host.size(), 1u + 41u + 1u);
    EXPECT_EQ(host[0], KCMD_STEP);
    EXPECT_EQ(host[1 + 32 + 4], 0x11);  // ACC in its place
    EXPECT_EQ(host[1 + 40], kStepInterruptMask);
    EXPECT_EQ(host[42], KCMD_READ_CONTEXT);
    // The request follows the fourth byte of the report, not before.
    const auto request = std::find_if(wire.begin(), wire.end(), [](const WireByte& b) {
        return b.fromHost && b.byte == KCMD_READ_CONTEXT;
    });
    EXPECT_EQ(std::count_if(wire.begin(), request, [](const WireByte& b) { return !b.fromHost; }),
              4);
    const Bytes board = Sent(false);
    ASSERT_EQ(board.size(), 42u);
    EXPECT_EQ(Bytes(board.begin(), board.begin() + 4), (Bytes{'Z', 0x09, 0x08, 0x30}));
    // LJMP main: the PC moved, the mask is the program's again.
    EXPECT_EQ(context.Pc(), 0x0830);
    EXPECT_EQ(context.ie, 0x85);
    EXPECT_EQ(context.sp, 7);
    EXPECT_EQ(context.acc, 0x11);
}

TEST_F(KernelLink, AFastStepReadsPcAndTheStackPointerBelowTheKernels) {
    Load("");
    ASSERT_TRUE(Link().FastStep());
    EXPECT_EQ(Sent(false), (Bytes{'Z', 0x09, 0x08, 0x30}));
    EXPECT_EQ(Link().Context().sp, 7);
    Link().Context().SetPc(0x0830);
    ASSERT_TRUE(Link().StepFromPc());
    EXPECT_EQ(Link().Context().Pc(), 0x0833);  // MOV SP,#5F done on the kernel's registers
    EXPECT_EQ(Link().Context().sp, 0x5F);
    ASSERT_TRUE(Link().ReadContext());
    EXPECT_EQ(Link().Context().sp, 0x5F);
}

TEST_F(KernelLink, TheProgramsOutputBeforeABreakReportGoesToTheTerminal) {
    Load("");
    ASSERT_TRUE(Link().SetSlot(0, kCounting));
    ASSERT_TRUE(Link().Go()) << Messages();
    EXPECT_EQ(Terminal(), "Hello\r\n");
    EXPECT_EQ(Link().Context().Pc(), kCounting);
    EXPECT_EQ(Link().Context().sp, 0x5F);
    const Bytes board = Sent(false);
    ASSERT_GE(board.size(), 49u + 7u);
    const Bytes report(board.end() - 49, board.end());
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 4), Bytes(kBreakHeader, kBreakHeader + 4));
    EXPECT_EQ(Bytes(report.end() - 4, report.end()), Bytes(kBreakTrailer, kBreakTrailer + 4));
    EXPECT_EQ(report[10], 0x08);  // PC after the LCALL: the breakpoint's address + 3
    EXPECT_EQ(report[11], 0x42);
    EXPECT_TRUE(Messages().empty()) << Messages();
}

TEST_F(KernelLink, StrayTextThatStartsWithZBeforeABreakReportIsTextAndTheReportStillCounts) {
    Load("kernel-fault=text");
    ASSERT_TRUE(Link().SetSlot(0, kCounting));
    ASSERT_TRUE(Link().Go()) << Messages();
    EXPECT_EQ(Terminal(), "Hello\r\nZap!\r\n");
    EXPECT_EQ(Link().Context().Pc(), kCounting);
}

TEST_F(KernelLink, ABreakReportWithAWrongTrailerIsABoardThatDoesNotReply) {
    Load("kernel-fault=trailer");
    ASSERT_TRUE(Link().SetSlot(0, kCounting));
    EXPECT_FALSE(Link().Go());
    EXPECT_EQ(Messages(), kNoReply);
    EXPECT_FALSE(Link().IsWaiting());
}

TEST_F(KernelLink, ABreakReportWithAWrongHeaderGoesToTheTerminalAndIsNotTaken) {
    Load("kernel-fault=header");
    ASSERT_TRUE(Link().SetSlot(0, kCounting));
    EXPECT_FALSE(Link().Go());
    EXPECT_EQ(Messages(), kNoReply);
    EXPECT_EQ(Terminal().substr(0, 9), "Hello\r\nZN");
    EXPECT_EQ(Link().Context().Pc(), 0x0800);
}

TEST_F(KernelLink, ACutReportEndsTheWaitUnanswered) {
    Load("kernel-fault=truncate kernel-fault-at=2");
    ASSERT_TRUE(Link().FastStep());  // the first report is whole
    EXPECT_FALSE(Link().StepFromPc());
    Link().Context().SetPc(0x0800);
    EXPECT_TRUE(Messages().empty());
    ASSERT_TRUE(Link().SetSlot(0, kCounting));
    EXPECT_TRUE(Link().Go());  // the third is whole again
}

TEST_F(KernelLink, AReportedPcInsideTheKernelIsTakenWithAWarning) {
    Load("kernel-fault=low-pc");
    ASSERT_TRUE(Link().SetSlot(0, kCounting));
    ASSERT_TRUE(Link().Go());
    EXPECT_EQ(Messages(),
              "WARNING: Invalid program counter, PC=0x42. Program counter should not be inside "
              "the kernel debugger memory area.\n");
    EXPECT_EQ(Link().Context().Pc(), 0x003F);
}

TEST_F(KernelLink, TheRegisterBlocksSfrsNeverTravelAndTheOthersDo) {
    Load("");
    Link().Context().sp = 0x42;
    BYTE value = 0;
    ASSERT_TRUE(Link().ReadSfr(KSFR_SP, &value));
    EXPECT_EQ(value, 0x42);
    EXPECT_TRUE(Link().WriteSfr(KSFR_B, 0x33));
    EXPECT_EQ(Link().Context().b, 0x33);
    EXPECT_TRUE(Sent(true).empty());

    ASSERT_TRUE(Link().WriteSfr(KSFR_P1, 0x5A));
    ASSERT_TRUE(Link().ReadSfr(KSFR_P1, &value));
    EXPECT_EQ(value, 0x5A);
    EXPECT_EQ(Sent(true), (Bytes{0x0C, 0x5A, 0x08}));
    EXPECT_FALSE(Link().ReadSfr(0x02, &value));
    EXPECT_FALSE(Link().WriteSfr(0xD0, 0));
    EXPECT_EQ(Sent(true).size(), 3u);
}

TEST_F(KernelLink, InternalRamBelow0x20IsTheRegisterBlocks) {
    Load("");
    for (int i = 0; i < 32; ++i) {
        Link().Context().ram[i] = static_cast<BYTE>(0x80 + i);
    }
    const Bytes ram(0x40, 0x66);
    ASSERT_TRUE(Link().WriteIram(0x40, 0x40, ram.data()));
    Forget();
    BYTE out[0x20] = {};
    ASSERT_TRUE(Link().ReadIram(0x20, 0x10, out));
    EXPECT_EQ(Sent(true), (Bytes{KCMD_READ_IRAM, 0x10, 0x20}));
    EXPECT_EQ(out[0], 0x90);
    EXPECT_EQ(out[15], 0x9F);
    EXPECT_EQ(out[16], Kernel().InternalRam()[0x20]);
    EXPECT_EQ(Kernel().InternalRam()[0x7F], 0x66);
    EXPECT_FALSE(Link().ReadIram(0, 0x20, out));
    EXPECT_FALSE(Link().ReadIram(0x11, 0xF0, out));
    EXPECT_FALSE(Link().WriteIram(0x11, 0xF0, ram.data()));
}

TEST_F(KernelLink, ThreeHundredBytesOfExternalDataGoInTwoExchanges) {
    Load("");
    Bytes data(300);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<BYTE>(i * 7 + 1);
    }
    ASSERT_TRUE(Link().WriteXdata(300, 0x0200, data.data()));
    const Bytes host = Sent(true);
    ASSERT_EQ(host.size(), 4u + 255u + 4u + 45u);
    EXPECT_EQ(Bytes(host.begin(), host.begin() + 4), (Bytes{KCMD_WRITE_XDATA, 255, 0x00, 0x02}));
    EXPECT_EQ(Bytes(host.begin() + 259, host.begin() + 263),
              (Bytes{KCMD_WRITE_XDATA, 45, 0xFF, 0x02}));
    EXPECT_EQ(Sent(false), (Bytes{kKernelAck, kKernelAck}));
    const std::vector<uint8_t>& external = Kernel().ExternalData();
    EXPECT_EQ(Bytes(external.begin() + 0x0200, external.begin() + 0x0200 + 300), data);

    Bytes back(300);
    ASSERT_TRUE(Link().ReadXdata(300, 0x0200, back.data()));
    EXPECT_EQ(back, data);
    EXPECT_FALSE(Link().ReadXdata(0x101, 0x2F00, back.data()));
    EXPECT_FALSE(Link().ReadCodeMemory(0, 0x0800, back.data()));
}

TEST_F(KernelLink, AWriteTheKernelDoesNotAcknowledgeFails) {
    Load("kernel-fault=no-ack kernel-fault-at=2");
    const BYTE byte = 1;
    EXPECT_TRUE(Link().WriteXdata(1, 0x10, &byte));
    EXPECT_FALSE(Link().WriteIram(1, 0x30, &byte));
    EXPECT_TRUE(Link().WriteIram(1, 0x30, &byte));
}

TEST_F(KernelLink, ASilentKernelFailsEveryExchange) {
    Load("kernel-fault=silent kernel-fault-at=2");
    BYTE value = 0;
    EXPECT_TRUE(Link().ReadSfr(KSFR_P0, &value));
    EXPECT_FALSE(Link().ReadSfr(KSFR_P0, &value));
    EXPECT_FALSE(Link().FastStep());
    ASSERT_TRUE(Link().SetSlot(0, kCounting));
    EXPECT_FALSE(Link().Go());
}

TEST_F(KernelLink, PlantedBreakpointsComeOutAgainAndLeaveTheProgramAsLoaded) {
    Load("");
    const Bytes program = Code(0x0800, 0x80);
    const auto& flash = dynamic_cast<boards::ProgramStore&>(*m_board).LoadedCells();
    ASSERT_TRUE(Link().SetSlot(0, kAgain));
    ASSERT_TRUE(Link().SetSlot(3, kBump));
    ASSERT_TRUE(Link().SetSlot(9, kKeep));
    EXPECT_FALSE(Link().SetSlot(10, kNever));
    ASSERT_TRUE(Link().InsertBreakpoints());
    EXPECT_EQ(Code(kBump, 3), (Bytes{0x12, 0x00, 0x2E}));
    // The chip programmed its own flash: the LCALL would outlive a reset.
    EXPECT_EQ(flash.at(kBump), 0x12);
    EXPECT_EQ(flash.at(kBump + 2), 0x2E);
    Link().Context().SetPc(kBump + 2);
    EXPECT_FALSE(Link().IsPcClearOfBreakpoints());
    Link().Context().SetPc(kBump + 3);
    EXPECT_TRUE(Link().IsPcClearOfBreakpoints());
    ASSERT_TRUE(Link().RemoveBreakpoints());
    EXPECT_EQ(Code(0x0800, 0x80), program);
    EXPECT_EQ(flash.at(kBump), program[kBump - 0x0800]);
    EXPECT_FALSE(Link().HasUsedSlots());
    EXPECT_FALSE(Link().RemoveBreakpoints());  // nothing left to take out
}

TEST_F(KernelLink, AnInsertionThatFailsAtOneSlotRestoresOnlyTheSlotsItPlanted) {
    // The second program write of the kernel fails: slot 1's bytes were read, its LCALL refused.
    Load("code-write-fault=2");
    const Bytes program = Code(0x0800, 0x80);
    ASSERT_TRUE(Link().SetSlot(0, kAgain));
    ASSERT_TRUE(Link().SetSlot(1, kBump));
    ASSERT_TRUE(Link().SetSlot(2, kKeep));
    EXPECT_FALSE(Link().InsertBreakpoints());
    EXPECT_TRUE(Link().Slot(0).planted);
    EXPECT_TRUE(Link().Slot(1).planted);
    EXPECT_FALSE(Link().Slot(2).planted);
    Forget();
    ASSERT_TRUE(Link().RemoveBreakpoints());
    EXPECT_EQ(Code(0x0800, 0x80), program);
    // Slot 2 never went in: nothing was written at its address.
    const Bytes host = Sent(true);
    const Bytes keepWrite = {KCMD_WRITE_CODE, 3, 0x53, 0x08};
    EXPECT_EQ(std::search(host.begin(), host.end(), keepWrite.begin(), keepWrite.end()),
              host.end());
    EXPECT_FALSE(Link().HasUsedSlots());
}

TEST_F(KernelLink, ASlotWhoseRestoreFailedKeepsTheProgramsBytesForTheNextRestore) {
    Load("code-write-fault=3");
    const Bytes program = Code(0x0800, 0x80);
    ASSERT_TRUE(Link().SetSlot(0, kAgain));
    ASSERT_TRUE(Link().SetSlot(4, kKeep));
    ASSERT_TRUE(Link().InsertBreakpoints());
    EXPECT_FALSE(Link().RemoveBreakpoints());
    EXPECT_TRUE(Link().Slot(0).inUse);
    EXPECT_FALSE(Link().Slot(4).inUse);
    EXPECT_EQ(Code(kAgain, 3), (Bytes{0x12, 0x00, 0x2E}));
    EXPECT_FALSE(Link().ClearSlot(0));  // its bytes are not back yet
    EXPECT_FALSE(Link().SetSlot(0, kNever));
    ASSERT_TRUE(Link().RemoveBreakpoints());
    EXPECT_EQ(Code(0x0800, 0x80), program);
}

TEST_F(KernelLink, OnTheAt89s53ABreakpointAcross0x2000TravelsInTwoPicFramesEachWay) {
    Load("board=corvanec chip=at89s53 baud=19200");
    ASSERT_EQ(Link().GetBoardKind(), BOARD_KIND_S53_PIC);
    const auto& cells = dynamic_cast<boards::ProgramStore&>(*m_board).LoadedCells();
    ASSERT_TRUE(Link().SetSlot(0, 0x1FFF));
    ASSERT_TRUE(Link().InsertBreakpoints()) << int(Link().GetPicError());
    const Bytes host = Sent(true);
    const Bytes low = {PIC_READ, 1, 1, 0xFF, 0x1F, 0x23};
    const Bytes high = {PIC_READ, 5, 2, 0x00, 0x20, 0x2A};
    EXPECT_NE(std::search(host.begin(), host.end(), low.begin(), low.end()), host.end());
    EXPECT_NE(std::search(host.begin(), host.end(), high.begin(), high.end()), host.end());
    EXPECT_EQ(cells.at(0x1FFF), 0x12);
    EXPECT_EQ(cells.at(0x2001), 0x2E);
    // The PIC took every write frame: each paused where it needs its pauses.
    EXPECT_EQ(m_board->Log().Text().find("pic:"), std::string::npos);
    EXPECT_TRUE(Kernel().Up());  // run mode again: the kernel started afresh
    ASSERT_TRUE(Link().RemoveBreakpoints());
    EXPECT_EQ(cells.at(0x1FFF), 0xFF);
    EXPECT_EQ(cells.at(0x2000), 0xFF);
    EXPECT_EQ(cells.at(0x2001), 0xFF);
}

TEST_F(KernelLink, AbortEndsTheWaitForABreakpointThatIsNeverHitWithoutTheNoReplyLines) {
    Load("");
    // From the counting loop on the program prints nothing: the read gets no byte at all.
    Link().Context().SetPc(kCounting);
    Link().Context().sp = 0x5F;
    ASSERT_TRUE(Link().SetSlot(0, kNever));
    // The stopper takes part in virtual time before this thread first waits on the clock: its
    // half second passes while the link waits for the report.
    std::atomic<bool> ready{false};
    std::thread stopper([this, &ready] {
        w32test::clock::TakePart();
        ready.store(true);
        w32::Sleep(500);
        Link().Abort();
    });
    while (!ready.load()) {
        std::this_thread::yield();
    }
    EXPECT_FALSE(Link().Go());
    {
        w32test::clock::OutsideWaitScope outside;
        stopper.join();
    }
    EXPECT_TRUE(Messages().empty()) << Messages();
    EXPECT_FALSE(Link().IsWaiting());
    EXPECT_TRUE(Kernel().ProgramRunning());
}

}  // namespace
