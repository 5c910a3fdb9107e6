// The main frame's port against the programmer board on a virtual port: the reset pulse on
// opening, the Set Mode switch and the port handed back to the programming thread.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "boards/programmer_board.h"
#include "protocol_rig.h"
#include "tarnel/protocols/frame_port.h"

namespace {

using protocol_test::LineEvents;

// The RTS changes, and the port's openings and closings, in order.
std::vector<std::string> PortAndRts(const boards::Transcript& log) {
    std::vector<std::string> events;
    for (const std::string& e : LineEvents(log)) {
        if (e.compare(0, 4, "rts ") == 0 || e.compare(0, 4, "open") == 0 || e == "close") {
            events.push_back(e.compare(0, 4, "open") == 0 ? "open" : e);
        }
    }
    return events;
}

// The framing the port was last set to.
std::string LastFraming(const boards::Transcript& log) {
    std::string framing;
    for (const std::string& e : LineEvents(log)) {
        if (e.compare(0, 9, "settings ") == 0) {
            framing = e.substr(9);
        }
    }
    return framing;
}

class FramePortTest : public protocol_test::ProtocolRig {
protected:
    FramePortTest() : m_name("COM" + std::to_string(kCom)) {}

    boards::ProgrammerBoard& Board() {
        if (m_programmer == nullptr) {
            m_programmer = &Put(std::make_unique<boards::ProgrammerBoard>());
        }
        return *m_programmer;
    }

    void TearDown() override {
        m_frame.Close();
        ProtocolRig::TearDown();
    }

    CFramePort m_frame;
    std::string m_name;
    boards::ProgrammerBoard* m_programmer = nullptr;
};

TEST_F(FramePortTest, OpeningPulsesRtsForATenthOfASecondAtTheProgrammersRate) {
    boards::ProgrammerBoard& board = Board();
    EXPECT_EQ(m_frame.OpenedName(), "----");

    ASSERT_TRUE(m_frame.EnsureOpen(m_name.c_str()));

    EXPECT_TRUE(m_frame.IsOpen());
    EXPECT_EQ(m_frame.OpenedName(), m_name);
    EXPECT_EQ(PortAndRts(board.Log()), (std::vector<std::string>{"open", "rts 1", "rts 0"}));
    EXPECT_EQ(LastFraming(board.Log()), "19200 8N1");
    EXPECT_EQ(board.Log().TimeOf("rts 0") - board.Log().TimeOf("rts 1"), 100000u);
}

TEST_F(FramePortTest, SetModeTwiceGoesToRunThenProgramOnOnePortOpening) {
    boards::ProgrammerBoard& board = Board();

    EXPECT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kRunMode);
    EXPECT_TRUE(m_frame.IsRunMode());
    EXPECT_FALSE(board.Rts());
    EXPECT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kProgramMode);
    EXPECT_FALSE(m_frame.IsRunMode());
    EXPECT_TRUE(board.Rts());

    // Run mode keeps RTS low after the pulse; the line records changes only.
    EXPECT_EQ(PortAndRts(board.Log()),
              (std::vector<std::string>{"open", "rts 1", "rts 0", "rts 1"}));
}

TEST_F(FramePortTest, ClosingKeepsTheModeSoTheNextSetModeFlipsFromIt) {
    boards::ProgrammerBoard& board = Board();
    ASSERT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kRunMode);

    m_frame.Close();
    EXPECT_FALSE(m_frame.IsOpen());
    EXPECT_TRUE(m_frame.IsRunMode());
    // The programming thread can now open the port.
    CComms other;
    EXPECT_EQ(other.SetCommPort(kCom - 1), COMMS_OK);
    other.Deinstall();

    board.Log().Clear();
    EXPECT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kProgramMode);
    EXPECT_EQ(PortAndRts(board.Log()),
              (std::vector<std::string>{"open", "rts 1", "rts 0", "rts 1"}));
}

TEST_F(FramePortTest, ALongerNameIsNotTakenForThePortAlreadyOpen) {
    // A port name that begins like the open one is another port: it is opened in its place.
    boards::ProgrammerBoard& board = Board();
    ASSERT_TRUE(m_frame.EnsureOpen(m_name.c_str()));
    const std::string longer = m_name + "0";

    EXPECT_FALSE(m_frame.EnsureOpen(longer.c_str()));

    EXPECT_FALSE(m_frame.IsOpen());
    EXPECT_EQ(m_frame.OpenedName(), m_name);
    EXPECT_EQ(LineEvents(board.Log()).back(), "close");
}

TEST_F(FramePortTest, APortThatCannotBeOpenedLeavesTheModeAsItWas) {
    Board();
    ASSERT_TRUE(
        w32test::vport::FailNext(kCom, w32test::vport::CallKind::Open, 1, ERROR_ACCESS_DENIED));

    EXPECT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kPortNotOpened);
    EXPECT_FALSE(m_frame.IsRunMode());
    EXPECT_EQ(m_frame.OpenedName(), "----");
}

TEST_F(FramePortTest, ALineThatFailsPutsTheModeBack) {
    Board();
    ASSERT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kRunMode);
    ASSERT_TRUE(
        w32test::vport::FailNext(kCom, w32test::vport::CallKind::Lines, 1, ERROR_GEN_FAILURE));

    EXPECT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kLineFailed);
    EXPECT_TRUE(m_frame.IsRunMode());

    EXPECT_EQ(m_frame.SetMode(m_name.c_str()), CFramePort::kProgramMode);
    EXPECT_FALSE(m_frame.IsRunMode());
}

}  // namespace
