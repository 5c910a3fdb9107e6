// The simulation-kernel link against a simulated board: the rate search, the start-up before the
// first instruction, the board's registers read and written, a board that falls silent, and no
// port at all.
#include <gtest/gtest.h>

#include "kernel_test_support.h"
#include "w32/clock.h"
#include "w32/errors.h"

namespace ostrel::testing {
namespace {

using Lines = std::vector<std::string>;

// mov p1,#55h / mov a,p3 / cpl p1.0 / mov b,p3 / sjmp 0
const KernelProgram kPortProgram = {
    {0x0000, {0x75, 0x90, 0x55, 0xE5, 0xB0, 0xB2, 0x90, 0x85, 0xB0, 0xF0, 0x80, 0xF4}}};

// Answers the probe with a text of its own at its framing (the board of a kernel whose version
// text is not the usual one).
class ProbeAnswerBoard : public boards::Board {
public:
    ProbeAnswerBoard(DWORD baud, std::string answer)
        : Board(Line(baud)), m_answer(std::move(answer)) {}

protected:
    void OnByte(BYTE byte, bool garbled) override {
        if (!garbled && byte == 0x7F) {
            SendAfter(100, m_answer);
        }
    }

private:
    static boards::LineSettings Line(DWORD baud) {
        boards::LineSettings line;
        line.baud = baud;
        return line;
    }
    std::string m_answer;
};

// A kernel at 57600 baud whose board puts a byte on the line as RTS falls (a glitch of the
// reset, or the output of the program it starts): the byte waits in the host's receive buffer
// when the probe goes out.
class ResetGlitchBoard : public ProbeAnswerBoard {
public:
    ResetGlitchBoard() : ProbeAnswerBoard(57600, "V1.00") {}

protected:
    void OnRts(bool on) override {
        if (!on) {
            Send(std::vector<BYTE>{0x00});
        }
    }
};

class KernelLink : public KernelTest {
protected:
    void Detect(bool expected) {
        sink_.messages.clear();
        EXPECT_EQ(target_->DetectKernelBaud(), expected);
    }
};

TEST_F(KernelLink, TheKernelIsFoundAtEachRateOfTheSearchListInItsTurn) {
    const Lines search = FruitlessSearch(2400);
    const uint32_t rates[] = {57600, 38400, 28800, 19200, 9600, 4800, 2400};
    for (size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(rates[i]);
        AttachKernelBoard(rates[i]);
        HostSettings host;
        host.baud = 2400;  // the port's own rate: tried last
        Prepare(kPortProgram, host);
        Detect(true);
        Lines expected = {"Detecting simulation kernel baud rate..."};
        expected.insert(expected.end(), search.begin(), search.begin() + (i == 6 ? 8 : i + 1));
        expected.push_back("Simulation Kernel V1.00 detected");
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(target_->GetHardwarePortsActive(), 1);
        EXPECT_EQ(PortBaud(), rates[i]);  // the port stays at the kernel's rate
        TearDown();
        board_.reset();
    }
}

TEST_F(KernelLink, EachProbeFollowsAResetPulseOf50MsHighAnd50MsLow) {
    AttachKernelBoard(38400);
    Prepare(kPortProgram);
    Detect(true);
    const boards::Transcript& log = board_->Log();
    for (uint64_t from = 0, probes = 0; probes < 2; ++probes) {
        const uint64_t high = log.TimeOf("rts 1", from);
        const uint64_t low = log.TimeOf("rts 0", high);
        const uint64_t probe = log.TimeOf("host> ", low);  // 57600 garbled, then 38400
        ASSERT_NE(probe, boards::Transcript::kNever) << log.Text();
        EXPECT_EQ(low - high, 50000u);
        // and the byte's own time on the wire, up to 10 bits at 38400 baud
        EXPECT_GT(probe - low, 50000u);
        EXPECT_LE(probe - low, 50261u);
        from = probe;
    }
}

TEST_F(KernelLink, AVersionIsTakenOnlyWithADotAsItsThirdCharacter) {
    struct Case {
        const char* answer;
        bool found;
    };
    for (const Case& c : {Case{"V1.05", true}, Case{"V1005", false}, Case{"W1.05", false}}) {
        SCOPED_TRACE(c.answer);
        board_ = std::make_unique<ProbeAnswerBoard>(19200, c.answer);
        ASSERT_TRUE(w32test::vport::Attach(kKernelCom, board_.get()));
        Prepare(kPortProgram);
        Detect(c.found);
        EXPECT_EQ(target_->GetHardwarePortsActive(), c.found ? 1 : 0);
        if (c.found) {
            EXPECT_EQ(Messages().back(), "Simulation Kernel V1.05 detected");
        } else {
            EXPECT_EQ(Messages(),
                      Join({"Detecting simulation kernel baud rate..."}, FruitlessSearch(19200)));
        }
        TearDown();
        board_.reset();
    }
}

TEST_F(KernelLink, AByteThatCameWithTheResetIsNotTakenForTheKernelsAnswer) {
    board_ = std::make_unique<ResetGlitchBoard>();
    ASSERT_TRUE(w32test::vport::Attach(kKernelCom, board_.get()));
    Prepare(kPortProgram);
    Detect(true);
    EXPECT_EQ(Messages(), (Lines{"Detecting simulation kernel baud rate...", "Trying 57600 baud...",
                                 "Simulation Kernel V1.00 detected"}));
    // The byte is thrown away after the pulse, just before the probe.
    const boards::Transcript& log = board_->Log();
    const uint64_t low = log.TimeOf("rts 0", 0);
    const uint64_t purge = log.TimeOf("purge rx", low);
    ASSERT_NE(purge, boards::Transcript::kNever) << log.Text();
    EXPECT_EQ(purge - low, 50000u);
    EXPECT_LE(purge, log.TimeOf("host> 7F", purge));
}

TEST_F(KernelLink, AtStartUpTheKernelIsFoundAndTheProgramUsesTheBoardsPorts) {
    AttachKernelBoard(19200, true, "p3=0x3C");
    HostSettings host;
    host.baud = 9600;
    Prepare(kPortProgram, host);
    Steps(1);
    EXPECT_EQ(Messages(),
              (Lines{"Detecting simulation kernel baud rate...", "Trying 57600 baud...",
                     "Trying 38400 baud...", "Trying 28800 baud...", "Trying 19200 baud...",
                     "Simulation Kernel V1.00 detected", "Using hardware ports in simulation"}));
    Steps(1);
    EXPECT_EQ(Reg("ACC"), 0x3Cu);  // the board's pins, not the simulated latch FFh
    // The kernel took the write of P1 before it answered the read of P3.
    EXPECT_EQ(KernelBoard().Latch(1), 0x55);
    KernelBoard().Drive(3, 0xF0);
    Steps(2);
    EXPECT_EQ(KernelBoard().Latch(1), 0x54);
    EXPECT_EQ(Reg("B"), 0xF0u);
    EXPECT_EQ(Messages().size(), 7u);  // the start-up runs once
    // A reset of the target sets the board's ports as well, once the kernel has taken the writes.
    ASSERT_EQ(target_->Reset(), SIM_OK);
    w32::Sleep(10);
    EXPECT_EQ(KernelBoard().Latch(1), 0xFF);
}

TEST_F(KernelLink, RegisterReadsAndWritesReachTheBoard) {
    AttachKernelBoard(57600, true, "p2=0xA5");
    Prepare(kPortProgram);
    Detect(true);
    board_->Log().Clear();
    sink_.messages.clear();
    EXPECT_EQ(target_->WriteBoardSfr(0x90, 0x66), 0);
    EXPECT_EQ(target_->WriteBoardSfr(0xF0, 0x12), 0);  // B: any register, not only the ports
    uint8_t value = 0;
    EXPECT_EQ(target_->ReadBoardSfr(0x90, &value), 0);
    EXPECT_EQ(value, 0x66);
    EXPECT_EQ(target_->ReadBoardSfr(0xA0, &value), 0);
    EXPECT_EQ(value, 0xA5);
    EXPECT_EQ(target_->ReadBoardSfr(0xF0, &value), 0);
    EXPECT_EQ(value, 0x12);
    EXPECT_EQ(board_->Log().Events(),
              "host> 90\nhost> 66 'f'\nhost> F0\nhost> 12\nhost> 10\nport P1 66\n"
              "board> 66 'f'\nhost> 20 ' '\nboard> A5\nhost> 70 'p'\nboard> 12\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KernelLink, ABoardThatStopsAnsweringIsWarnedAboutOnEachPortReadAndTheSimulatedValueUsed) {
    AttachKernelBoard(57600, true, "p3=0x3C");
    Prepare(kPortProgram);
    Steps(1);
    KernelBoard().FallSilent();
    sink_.messages.clear();
    Steps(3);
    const char* const kNoReply = "WARNING: Can not update SFR from the board. Board does not reply";
    // mov a,p3; cpl p1.0 reads the latch, not the board; mov b,p3
    EXPECT_EQ(Messages(), (Lines{kNoReply, kNoReply}));
    EXPECT_EQ(Reg("ACC"), 0xFFu);
    EXPECT_EQ(Reg("B"), 0xFFu);
    EXPECT_EQ(Reg("Port1"), 0x54u);
    uint8_t value = 0x77;
    EXPECT_EQ(target_->ReadBoardSfr(0xB0, &value), COMMS_READ_TIMEOUT);
    EXPECT_EQ(value, 0x77);
}

TEST_F(KernelLink, WithoutAPortTheStartUpWarnsAndTheProgramRunsOnSimulatedPorts) {
    Load(kPortProgram);  // no settings from the host: the port, COM1, was never opened
    target_->SetHardwarePortMode(1);
    Steps(2);
    EXPECT_EQ(Messages(), (Lines{"WARNING: Can not open COM1",
                                 "Please check COM port under Tools->Options->Loader",
                                 "WARNING: Using simulated ports ( not hardware ports ) in "
                                 "simulation "}));
    EXPECT_EQ(Pc(), 0x0005u);  // both instructions ran
    EXPECT_EQ(Reg("ACC"), 0xFFu);
    EXPECT_EQ(target_->GetHardwarePortsActive(), 0);
}

TEST_F(KernelLink, APortThatDoesNotOpenIsNamedAndTheRegisterLinkFailsAtOnce) {
    HostSettings host;
    host.port = 8;  // COM9: no board there
    Prepare(kPortProgram, host);
    Steps(1);
    EXPECT_EQ(Messages().front(), "WARNING: Can not open COM9");
    EXPECT_EQ(Messages().size(), 3u);
    sink_.messages.clear();
    uint8_t value = 0x77;
    EXPECT_EQ(target_->ReadBoardSfr(0x90, &value), COMMS_NOT_OPEN);
    EXPECT_EQ(value, 0x77);
    EXPECT_EQ(target_->WriteBoardSfr(0x90, 1), COMMS_NOT_OPEN);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KernelLink, WithoutHardwarePortModeNothingIsAskedOfTheBoard) {
    AttachKernelBoard(19200);
    Prepare(kPortProgram);
    target_->SetHardwarePortMode(0);
    board_->Log().Clear();
    Steps(4);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(board_->Log().Events(), "");
    EXPECT_EQ(KernelBoard().Latch(1), 0xFF);
}

}  // namespace
}  // namespace ostrel::testing
