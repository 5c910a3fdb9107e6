// The chips that need a loader: the HC908 chip with its RAM-resident loader and its questions, and
// the 8051 flash chips programmed through their own serial boot loader.
#include <gtest/gtest.h>

#include "boards/boot_loader.h"
#include "boards/programmer_board.h"
#include "programming_rig.h"
#include "protocol_rig.h"
#include "w32test/handles.h"

namespace {

using boards::BootLoader;
using boards::BootLoaderBoard;
using boards::BootLoaderOptions;
using boards::ProgrammerBoard;
using boards::ProgrammerBoardOptions;
using programming_test::Count;
using programming_test::Describe;
using programming_test::Held;
using programming_test::Posted;
using programming_test::Values;
using programming_test::WithoutPositions;

typedef std::vector<std::string> Lines;

std::vector<BYTE> Pattern(size_t size, BYTE seed) {
    std::vector<BYTE> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<BYTE>(seed + i * 5);
    }
    return bytes;
}

// The statuses of a resident loader that starts: its range, the bytes of both images after each
// piece, and its version.
Lines LoaderStarts() {
    Lines lines = {"62=492"};
    for (int sent : {32, 64, 96, 128, 160, 177, 209, 241, 273, 305, 337, 369, 401, 433, 465, 492}) {
        lines.push_back("9=" + std::to_string(sent));
    }
    for (const char* line : {"60 'RAM resident loader activated'", "58 'RL07'", "63"}) {
        lines.push_back(line);
    }
    return lines;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

class Hc908Test : public programming_test::ProgrammingRig {
protected:
    // The HC908 chip's code area with only the cells from 0x8000 marked.
    void MarkFlash(size_t count) {
        m_area.assign(0x10000, 0);
        m_marks.assign(0x10000, 0);
        for (size_t i = 0; i < count; ++i) {
            m_area[0x8000 + i] = static_cast<BYTE>(0xC0 + i);
            m_marks[0x8000 + i] = 1;
        }
    }
    std::unique_ptr<JobRequest> FlashJob(JobOp op, BYTE loaderChoice) {
        std::unique_ptr<JobRequest> job = Job(op, 164, kMemoryCode, &m_area, &m_marks);
        job->loaderChoice = loaderChoice;
        return job;
    }

    std::vector<BYTE> m_area;
    std::vector<BYTE> m_marks;
};

TEST_F(Hc908Test, TheResidentLoaderIsUploadedBeforeTheFlashIsWritten) {
    ProgrammerBoard& board = Put(std::make_unique<ProgrammerBoard>());
    MarkFlash(20);
    std::vector<Posted> posted = Run(FlashJob(kJobWrite, 2));
    EXPECT_EQ(Describe(posted),
              Join({{"49", "6=65536"}, LoaderStarts(), {"9=32784", "9=32789", "9=65536", "7"}}));
    EXPECT_TRUE(board.ResidentLoaderRunning());
    EXPECT_EQ(board.Memory(1)[0x8013], 0xC0 + 19);
    // The write asked whether to erase first (and heard No).
    EXPECT_EQ(m_questions.Asked(), Lines{IProgrammingQuestions::kEraseFlashFirst});
}

TEST_F(Hc908Test, WithoutTheResidentLoaderTheFlashRefusesTheWrite) {
    Put(std::make_unique<ProgrammerBoard>());
    MarkFlash(4);
    EXPECT_EQ(Describe(Run(FlashJob(kJobWrite, 1))),
              (Lines{"49", "6=65536", "59 'Write Error'", "8"}));
}

TEST_F(Hc908Test, EraseFirstWhenTheUserSaysSo) {
    ProgrammerBoard& board = Put(std::make_unique<ProgrammerBoard>());
    board.Memory(1)[0x9000] = 0x00;
    MarkFlash(1);
    m_questions.Answer({TRUE});
    std::vector<Posted> posted = Run(FlashJob(kJobWrite, 2));
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"49", "6=65536", "62=492", "60 'RAM resident loader activated'", "58 'RL07'",
                     "63", "60 'Erase success '", "7"}));
    EXPECT_EQ(board.Memory(1)[0x9000], 0xFF);
}

TEST_F(Hc908Test, FiveRefusedTriesAskToReconnectThePower) {
    ProgrammerBoardOptions options;
    options.acceptSetTypeAt = 7;
    ProgrammerBoard& board = Put(std::make_unique<ProgrammerBoard>(options));
    MarkFlash(1);
    // No: the job is skipped with the last try's failure; the next job runs.
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(FlashJob(kJobWrite, 1));
    jobs.push_back(Job(kJobCheckConnection));
    Lines refused(5, "61 'Initialization. Please wait...'");
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              Join({{"49", "6=65536"}, refused, {"59 'Set Type Error.'", "21", "3", "14", "4"}}));
    EXPECT_EQ(m_questions.Asked(), Lines{IProgrammingQuestions::kReconnectPower});
    // The board's power line is dropped and raised between the rounds.
    std::vector<std::string> events = protocol_test::LineEvents(board.Log());
    EXPECT_NE(std::find(events.begin(), events.end(), "rts 0"), events.end());

    // Yes: five more tries, of which the second is accepted.
    ProgrammerBoard& patient = Put(std::make_unique<ProgrammerBoard>(options));
    m_questions.Answer({TRUE, FALSE});
    std::vector<Posted> posted = Run(FlashJob(kJobRead, 1));
    EXPECT_EQ(Count(posted, kStatusAdviceText), 6);
    EXPECT_EQ(Count(posted, kStatusReadDone), 1);
    EXPECT_EQ(patient.SetTypeTries(), 7);
}

TEST_F(Hc908Test, EraseHidesTheProgressOfTheLoaderWhateverItsResult) {
    ProgrammerBoard& board = Put(std::make_unique<ProgrammerBoard>());
    MarkFlash(1);
    EXPECT_EQ(WithoutPositions(Run(FlashJob(kJobErase, 2))),
              (Lines{"40=65536", "62=492", "60 'RAM resident loader activated'", "58 'RL07'", "63",
                     "65", "1"}));
    // Set type, 16 pieces, board word, start flag, start, version: the erase is reply 22.
    boards::Misbehaviour m;
    m.fault = boards::Fault::FailureStatus;
    m.atReply = 22;
    board.Misbehave(m);
    EXPECT_EQ(WithoutPositions(Run(FlashJob(kJobErase, 2))),
              (Lines{"40=65536", "62=492", "60 'RAM resident loader activated'", "58 'RL07'", "63",
                     "65", "59 'Erase Error'", "2"}));
}

TEST_F(Hc908Test, AFailedUploadReportsItsCodeAndSkipsTheJob) {
    ProgrammerBoard& board = Put(std::make_unique<ProgrammerBoard>());
    boards::Misbehaviour m;
    m.fault = boards::Fault::FailureStatus;
    m.atReply = 4;  // the third piece
    board.Misbehave(m);
    MarkFlash(1);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(FlashJob(kJobWrite, 2));
    jobs.push_back(Job(kJobCheckConnection));
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              (Lines{"49", "6=65536", "62=492", "9=32", "9=64", "59 'LOADING ERROR, ec = 2003'",
                     "64", "59 'SetType Error'", "21", "3", "14", "4"}));
}

// The bytes the board has taken when the loader's piece `piece` (1-based) has arrived whole: the
// set-type packet, then each piece's packet (six bytes and the data).
size_t BytesThroughPiece(int piece) {
    size_t bytes = 3;
    const int sizes[16] = {32, 32, 32, 32, 32, 17, 32, 32, 32, 32, 32, 32, 32, 32, 32, 27};
    for (int p = 0; p < piece; ++p) {
        bytes += 6 + sizes[p];
    }
    return bytes;
}

TEST_F(Hc908Test, CancelAfterEveryLoaderPieceSkipsOnlyThatJob) {
    for (int piece = 1; piece <= 16; ++piece) {
        SCOPED_TRACE(piece);
        m_cancel = 0;
        auto& board = Put(std::make_unique<Held<ProgrammerBoard>>());
        board.CancelAt(BytesThroughPiece(piece), &m_cancel);
        MarkFlash(1);
        std::vector<std::unique_ptr<JobRequest>> jobs;
        jobs.push_back(FlashJob(kJobWrite, 2));
        jobs.push_back(Job(kJobCheckConnection));
        std::vector<Posted> posted = Run(std::move(jobs));
        EXPECT_EQ(WithoutPositions(posted),
                  (Lines{"49", "6=65536", "62=492", "53", "64", "3", "14", "4"}));
        EXPECT_EQ(Count(posted, kStatusPosition), piece);
        EXPECT_FALSE(board.ResidentLoaderRunning());
        ExpectPortFree();
    }
}

// ---- the boot-loader chips ----

struct BootChip {
    BYTE device;
    const char* enter;      // the loader-mode line of the board's chips, or null
    const char* check;      // the connection line
    const char* frequency;  // the frequency line sent (by the chip type), or null
    DWORD rate;             // of the chip's talk
};

const BootChip kBoardChips[] = {
    {163, "Enter Wendra chip to Loader mode", "Check Connection with P89C51RXX", ":0100000218E5",
     19200},
    {168, "Enter Wendra chip to Loader mode", "Check Connection with P89C51RXX", ":010000020BF2",
     19200},
    {170, "Enter (A)T89C51Rx2 chip to Loader mode", "Check Connection with P89C51RXX",
     ":0100000218E5", 115200},
    {171, "Enter (A)T89C51Rx2 chip to Loader mode", "Check Connection with (A)T89C51RX2", nullptr,
     115200},
};

class BootLoaderTest : public programming_test::ProgrammingRig {
protected:
    // The programmer board at the run's rate with the chip's loader behind it.
    ProgrammerBoard& PutBoardWithLoader(BYTE device) {
        ProgrammerBoardOptions options;
        options.line.baud = device == 170 ? 9600 : 19200;
        options.bootLoader = true;
        options.loader.displayAfterZero = device == 163 || device == 168;
        return Put(std::make_unique<ProgrammerBoard>(options));
    }
    // The chip's loader alone on the line, at the run's rate of its device code.
    BootLoaderBoard& PutLoaderAlone(BYTE device) {
        BootLoaderOptions options;
        options.displayAfterZero = device != 167;
        options.bootsOnClearStatus = true;
        options.eraseMicros = 20000;
        DWORD baud = device == 166 ? 9600 : device == 167 ? 57600 : 19200;
        return Put(std::make_unique<BootLoaderBoard>(options, w32test::vport::LineSettings{baud}));
    }
    // The entry's statuses as the chip's table gives them.
    Lines Entry(const BootChip& chip) {
        Lines lines;
        if (chip.enter != nullptr) {
            lines.push_back(std::string("60 '") + chip.enter + "'");
        }
        lines.push_back(std::string("60 '") + chip.check + "'");
        if (chip.frequency != nullptr) {
            lines.push_back("60 'Specify Oscillator Frequency'");
        }
        return lines;
    }
};

TEST_F(BootLoaderTest, BoardChipsEnterTheLoaderWriteReadVerifyAndLeaveIt) {
    for (const BootChip& chip : kBoardChips) {
        SCOPED_TRACE(chip.device);
        ProgrammerBoard& board = PutBoardWithLoader(chip.device);
        std::vector<BYTE> area = Pattern(40, chip.device);
        std::vector<BYTE> back(area.size(), 0);
        std::vector<std::unique_ptr<JobRequest>> jobs;
        jobs.push_back(Job(kJobWrite, chip.device, kMemoryCode, &area));
        jobs.push_back(Job(kJobRead, chip.device, kMemoryCode, &back));
        jobs.push_back(Job(kJobVerify, chip.device, kMemoryCode, &area));
        std::vector<Posted> posted = Run(std::move(jobs));
        EXPECT_EQ(WithoutPositions(posted), Join({{"49", "6=40"},
                                                  Entry(chip),
                                                  {"7", "46", "15=40"},
                                                  Entry(chip),
                                                  {"16", "43", "52=40"},
                                                  Entry(chip),
                                                  {"54", "35"}}));
        EXPECT_EQ(back, area);
        BootLoader* loader = board.Chip();
        ASSERT_NE(loader, nullptr);
        EXPECT_EQ(std::vector<BYTE>(loader->Flash().begin(), loader->Flash().begin() + 40), area);
        // The end record: boot vector 0xFC, status byte 0; each job leaves the loader again.
        EXPECT_EQ(loader->BootVector(), 0xFC);
        EXPECT_EQ(loader->StatusByte(), 0);
        EXPECT_FALSE(board.InLoaderMode());
        const std::string log = board.Log().Events();
        EXPECT_NE(log.find("loader rate " + std::to_string(chip.rate)), std::string::npos);
        std::vector<BYTE> sent = protocol_test::HostBytes(board.Log());
        std::string text(sent.begin(), sent.end());
        if (chip.frequency != nullptr) {
            EXPECT_NE(text.find(chip.frequency), std::string::npos);
        } else {
            EXPECT_EQ(text.find(":01000002"), std::string::npos);
        }
        ExpectPortFree();
    }
}

TEST_F(BootLoaderTest, RateChangesOfTheLoaderLeaveNoHandleBehind) {
    // The port is opened again at 115200 baud for the loader and at 19200 to leave it, each time
    // by the thread's one port object.
    PutBoardWithLoader(171);
    Run(Job(kJobCheckConnection, 171));  // the queue now holds its thread's handle
    DWORD handles = w32test::handles::OpenCount();
    std::vector<BYTE> area = Pattern(32, 2);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobWrite, 171, kMemoryCode, &area));
    jobs.push_back(Job(kJobVerify, 171, kMemoryCode, &area));
    std::vector<Posted> posted = Run(std::move(jobs));
    EXPECT_EQ(Count(posted, kStatusVerifyDone), 1);
    EXPECT_EQ(w32test::handles::OpenCount(), handles);
    ExpectPortFree();
}

TEST_F(BootLoaderTest, ChipsAloneOnTheLineStartTheirProgramAfterTheWrite) {
    struct Case {
        BYTE device;
        const char* check;
        const char* frequency;
    };
    for (Case c : {Case{165, "Check Connection with P89C51RXX", ":010000020BF2"},
                   Case{166, "Check Connection with P89C51RXX", ":0100000205F8"},
                   Case{167, "Check Connection with (A)T89C51RX2", nullptr}}) {
        SCOPED_TRACE(c.device);
        BootLoaderBoard& board = PutLoaderAlone(c.device);
        std::vector<BYTE> area = Pattern(24, c.device);
        std::vector<BYTE> back(area.size(), 0);
        // Read and verify first: the write ends by starting the chip's program.
        std::copy(area.begin(), area.end(), board.Chip().Flash().begin());
        std::vector<std::unique_ptr<JobRequest>> jobs;
        jobs.push_back(Job(kJobRead, c.device, kMemoryCode, &back));
        jobs.push_back(Job(kJobVerify, c.device, kMemoryCode, &area));
        jobs.push_back(Job(kJobWrite, c.device, kMemoryCode, &area));
        std::vector<Posted> posted = Run(std::move(jobs));
        Lines entry = {std::string("60 '") + c.check + "'"};
        if (c.frequency != nullptr) {
            entry.push_back("60 'Specify Oscillator Frequency'");
        }
        EXPECT_EQ(WithoutPositions(posted), Join({{"46", "15=24"},
                                                  entry,
                                                  {"16", "43", "52=24"},
                                                  entry,
                                                  {"54", "35", "49", "6=24"},
                                                  entry,
                                                  {"7"}}));
        EXPECT_EQ(back, area);
        EXPECT_TRUE(board.Chip().Running());
        EXPECT_EQ(board.Chip().StatusByte(), 0);
        std::vector<BYTE> sent = protocol_test::HostBytes(board.Log());
        std::string text(sent.begin(), sent.end());
        EXPECT_EQ(text.find(":01000002") != std::string::npos, c.frequency != nullptr);
        if (c.frequency != nullptr) {
            EXPECT_NE(text.find(c.frequency), std::string::npos);
        }
    }
}

TEST_F(BootLoaderTest, EraseTakesItsTimeAndLeavesTheLoader) {
    ProgrammerBoard& board = PutBoardWithLoader(171);
    board.Chip()->Flash()[0x100] = 0x12;
    std::vector<BYTE> area(0x10000, 0);
    EXPECT_EQ(Describe(Run(Job(kJobErase, 171, kMemoryCode, &area))),
              Join({{"40=65536"},
                    Entry(kBoardChips[3]),
                    {"60 'It takes few seconds.Please wait...'", "1"}}));
    EXPECT_EQ(board.Chip()->Flash()[0x100], 0xFF);
    EXPECT_FALSE(board.InLoaderMode());

    // The loader's own text replaces the error text when it refuses.
    PutBoardWithLoader(171);
    boards::Misbehaviour m;
    m.fault = boards::Fault::FailureStatus;
    m.atReply = 2;  // set type, then the erase line
    static_cast<ProgrammerBoard*>(m_board.get())->Misbehave(m);
    EXPECT_EQ(
        Describe(Run(Job(kJobErase, 171, kMemoryCode, &area))),
        Join({{"40=65536"},
              Entry(kBoardChips[3]),
              {"60 'It takes few seconds.Please wait...'", "59 'Invalid Chip Erasing '", "2"}}));
}

TEST_F(BootLoaderTest, AFailedEndRecordIsReportedAndFailsOnlyTheChipsAloneOnTheLine) {
    // The board's chips: set type, frequency (not 171), the data line, then the end record.
    for (const BootChip& chip : {kBoardChips[0], kBoardChips[3]}) {
        SCOPED_TRACE(chip.device);
        ProgrammerBoard& board = PutBoardWithLoader(chip.device);
        boards::Misbehaviour m;
        m.fault = boards::Fault::FailureStatus;
        m.atReply = chip.frequency != nullptr ? 4 : 3;
        board.Misbehave(m);
        std::vector<BYTE> area = Pattern(16, 1);
        std::vector<Posted> posted = Run(Job(kJobWrite, chip.device, kMemoryCode, &area));
        EXPECT_EQ(WithoutPositions(posted),
                  Join({{"49", "6=16"}, Entry(chip), {"59 'Invalid Bytes Erasing'", "7"}}));
        EXPECT_FALSE(board.InLoaderMode());
    }
    // The chip alone: frequency, the data line, then the end record.
    BootLoaderBoard& alone = PutLoaderAlone(165);
    boards::Misbehaviour m;
    m.fault = boards::Fault::FailureStatus;
    m.atReply = 3;
    alone.Misbehave(m);
    std::vector<BYTE> area = Pattern(16, 1);
    std::vector<Posted> posted = Run(Job(kJobWrite, 165, kMemoryCode, &area));
    EXPECT_EQ(WithoutPositions(posted),
              (Lines{"49", "6=16", "60 'Check Connection with P89C51RXX'",
                     "60 'Specify Oscillator Frequency'", "59 'Invalid Bytes Erasing'", "8"}));
}

TEST_F(BootLoaderTest, ALoaderThatWillNotEnterSkipsTheJob) {
    ProgrammerBoardOptions options;
    options.bootLoader = true;
    options.chipTypes = {};
    Put(std::make_unique<ProgrammerBoard>(options));
    std::vector<BYTE> area(16, 0);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobWrite, 163, kMemoryCode, &area));
    jobs.push_back(Job(kJobCheckConnection));
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              (Lines{"49", "6=16", "60 'Enter Wendra chip to Loader mode'",
                     "59 'Can not enter Wendra chip to Loader mode'", "21", "3", "14", "4"}));
}

TEST_F(BootLoaderTest, SecurityBitsPostTheirOwnLinesAndNoEndStatus) {
    ProgrammerBoard& board = PutBoardWithLoader(171);
    std::vector<std::unique_ptr<JobRequest>> jobs;
    jobs.push_back(Job(kJobSetSecurityBits, 171));
    jobs.push_back(Job(kJobCheckConnection));
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              Join({Entry(kBoardChips[3]),
                    {"66", "60 'Security Bits'", "61 'Memory of (A)T89C51RD2 is locked (level=2)'",
                     "67 'Security Bits Success'", "66", "3", "14", "4"}}));
    EXPECT_TRUE(board.Chip()->SecurityBitsSet());
    EXPECT_FALSE(board.InLoaderMode());

    // Refused: the loader's text, and the job still counts as done.
    ProgrammerBoard& refusing = PutBoardWithLoader(171);
    boards::Misbehaviour m;
    m.fault = boards::Fault::FailureStatus;
    m.atReply = 2;
    refusing.Misbehave(m);
    jobs.clear();
    jobs.push_back(Job(kJobSetSecurityBits, 171));
    jobs.push_back(Job(kJobCheckConnection));
    EXPECT_EQ(Describe(Run(std::move(jobs))),
              Join({Entry(kBoardChips[3]),
                    {"66", "60 'Security Bits'", "59 'Invalid Security Bits Settings'", "3", "14",
                     "4"}}));
}

}  // namespace
