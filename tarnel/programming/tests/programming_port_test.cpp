// The programming thread's port: its rate, its lines, the failures of its opening, and the board
// packets of the connection check and board ID.
#include <gtest/gtest.h>

#include <algorithm>

#include "boards/boot_loader.h"
#include "boards/programmer_board.h"
#include "programming_rig.h"
#include "protocol_rig.h"

namespace {

using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;
using programming_test::Describe;
using programming_test::Posted;
using protocol_test::FixedReplyBoard;
using w32test::vport::CallKind;

class ProgrammingPortTest : public programming_test::ProgrammingRig {
protected:
    ProgrammerBoard& PutProgrammer(ProgrammerBoardOptions options = {}) {
        return Put(std::make_unique<ProgrammerBoard>(options));
    }
};

TEST_F(ProgrammingPortTest, TheRunOpensThePortRaisesItsLinesAndEndsClosed) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<Posted> posted = Run(Job(kJobCheckConnection));
    EXPECT_EQ(Describe(posted), (std::vector<std::string>{"3", "14", "4"}));
    // The port opens at the run's rate, DTR and RTS go up, and 100 ms later the receive buffer
    // is emptied; the run closes the port when it ends.
    EXPECT_EQ(
        protocol_test::LineEvents(board.Log()),
        (std::vector<std::string>{"open 9600 8N1", "settings 19200 8N1", "dtr 1", "rts 1",
                                  "purge rx", "purge rx", "purge tx", "dtr 0", "rts 0", "close"}));
    const boards::Transcript& log = board.Log();
    EXPECT_EQ(log.TimeOf("purge rx") - log.TimeOf("rts 1"), 100000u);
    EXPECT_FALSE(m_queue->IsRunning());
    EXPECT_EQ(m_queue->GetCount(), 0);
    ExpectPortFree();
}

TEST_F(ProgrammingPortTest, TheFirstJobsDeviceCodeSetsTheRateOfTheWholeRun) {
    struct Case {
        BYTE device;
        const char* framing;
    };
    for (Case c : {Case{167, "57600 8N1"}, Case{166, "9600 8N1"}, Case{170, "9600 8N1"},
                   Case{160, "19200 8N1"}, Case{9, "19200 8N1"}}) {
        SCOPED_TRACE(c.device);
        ProgrammerBoard& board = PutProgrammer();
        std::vector<std::unique_ptr<JobRequest>> jobs;
        jobs.push_back(Job(kJobCheckConnection, c.device));
        jobs.push_back(Job(kJobCheckConnection, 160));
        Run(std::move(jobs));
        std::vector<std::string> events = protocol_test::LineEvents(board.Log());
        ASSERT_GE(events.size(), 2u);
        // The port opens at 9600 baud and then takes the settings text's rate.
        std::string framing =
            events[1].rfind("settings ", 0) == 0 ? events[1].substr(9) : events[0].substr(5);
        EXPECT_EQ(framing, c.framing);
        // One opening for both jobs.
        EXPECT_EQ(std::count(events.begin(), events.end(), std::string("close")), 1);
    }
}

TEST_F(ProgrammingPortTest, APortThatCannotBeOpenedEndsTheRunWithStatus28) {
    PutProgrammer();
    ASSERT_TRUE(w32test::vport::FailNext(kCom, CallKind::Open, 1, ERROR_ACCESS_DENIED));
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobCheckConnection));
    jobs.push_back(Job(kJobReadBoardId));
    EXPECT_EQ(Describe(Run(std::move(jobs))), (std::vector<std::string>{"28"}));
    EXPECT_EQ(m_queue->GetCount(), 0);

    // The queue serves the next job as if nothing had happened.
    EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))), (std::vector<std::string>{"3", "14", "4"}));
}

TEST_F(ProgrammingPortTest, LinesOrPurgeThatFailWhileOpeningEndTheRunWithStatus28) {
    for (CallKind kind : {CallKind::Lines, CallKind::Purge, CallKind::Settings}) {
        ProgrammerBoard& board = PutProgrammer();
        ASSERT_TRUE(w32test::vport::FailNext(kCom, kind, 1, ERROR_GEN_FAILURE));
        EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))), (std::vector<std::string>{"28"}));
        EXPECT_TRUE(protocol_test::HostBytes(board.Log()).empty());
        ExpectPortFree();
    }
}

TEST_F(ProgrammingPortTest, APortNameTooLongForTheSettingsTextIsNotOpened) {
    ProgrammerBoard& board = PutProgrammer();
    m_settings.SetCommPort(std::string(80, 'C').c_str());
    EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))), (std::vector<std::string>{"28"}));
    EXPECT_TRUE(board.Log().Records().empty());
}

TEST_F(ProgrammingPortTest, ConnectionChecksCountTheirSequenceByteFromOne) {
    ProgrammerBoard& board = PutProgrammer();
    std::vector<std::unique_ptr<JobRequest>> jobs;
    for (int i = 0; i < 257; ++i) {
        jobs.push_back(Job(kJobCheckConnection));
    }
    std::vector<Posted> posted = Run(std::move(jobs));
    EXPECT_EQ(programming_test::Count(posted, kStatusConnectionValid), 257);
    // Each packet is 2, 0, sequence, check making the four add up to 0.
    std::vector<BYTE> sent = protocol_test::HostBytes(board.Log());
    ASSERT_EQ(sent.size(), 257u * 4);
    EXPECT_EQ((std::vector<BYTE>(sent.begin(), sent.begin() + 4)),
              (std::vector<BYTE>{2, 0, 1, 0xFD}));
    EXPECT_EQ(sent[255 * 4 + 2], 0);  // the 256th
    EXPECT_EQ(sent[256 * 4 + 2], 1);
    // The byte is the program's: the next run goes on from where this one stopped.
    board.Log().Clear();
    Run(Job(kJobCheckConnection));
    EXPECT_EQ(protocol_test::HostBytes(board.Log())[2], 2);
}

TEST_F(ProgrammingPortTest, TheBoardsOwnErrorGoesToTheMainWindow) {
    ProgrammerBoardOptions options;
    options.boardError = 4;
    PutProgrammer(options);
    EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))), (std::vector<std::string>{"3", "14", "5"}));
    EXPECT_EQ(Describe(TakeMainPosted()), (std::vector<std::string>{"27=4"}));

    // When the error's two bytes do not come, only the failure is reported.
    ProgrammerBoard& board = PutProgrammer(options);
    boards::Misbehaviour m;
    m.fault = boards::Fault::TruncatedAnswer;
    m.keepBytes = 2;
    board.Misbehave(m);
    EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))), (std::vector<std::string>{"3", "14", "5"}));
    EXPECT_TRUE(TakeMainPosted().empty());
}

TEST_F(ProgrammingPortTest, ConnectionCheckFailuresEachHaveTheirStatus) {
    struct Case {
        boards::Fault fault;
        const char* status;
    };
    for (Case c :
         {Case{boards::Fault::NoAnswer, "11"}, Case{boards::Fault::WrongCommand, "11"},
          Case{boards::Fault::WrongCheck, "13"}, Case{boards::Fault::TruncatedAnswer, "11"}}) {
        SCOPED_TRACE(c.status);
        ProgrammerBoard& board = PutProgrammer();
        boards::Misbehaviour m;
        m.fault = c.fault;
        board.Misbehave(m);
        EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))),
                  (std::vector<std::string>{"3", "14", c.status, "5"}));
    }
    // A reply with another sequence byte than the one sent.
    Put(std::make_unique<FixedReplyBoard>(std::vector<BYTE>{2, 0, 0x77, 0x87}));
    EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))),
              (std::vector<std::string>{"3", "14", "12", "5"}));
    // A failed write of the packet: status 10, and nothing read.
    PutProgrammer();
    ASSERT_TRUE(w32test::vport::FailNext(kCom, CallKind::Write, 1, ERROR_GEN_FAILURE));
    EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))), (std::vector<std::string>{"3", "10", "5"}));
}

TEST_F(ProgrammingPortTest, BoardIdPostsTheVersionBlocksFourCharacters) {
    ProgrammerBoardOptions options;
    options.version = {'Q', 'B', '3', '2'};
    PutProgrammer(options);
    std::vector<Posted> posted = Run(Job(kJobReadBoardId));
    EXPECT_EQ(Describe(posted), (std::vector<std::string>{"30", "58 'QB32'", "31"}));

    ProgrammerBoard& silent = PutProgrammer();
    boards::Misbehaviour m;
    m.fault = boards::Fault::NoAnswer;
    silent.Misbehave(m);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobReadBoardId));
    jobs.push_back(Job(kJobCheckConnection));  // freed unrun: a failure ends the run
    EXPECT_EQ(Describe(Run(std::move(jobs))), (std::vector<std::string>{"30", "32"}));
}

}  // namespace
