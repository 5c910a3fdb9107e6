// The job queue with its thread: one thread for the jobs queued while it runs, a thread that cannot
// start, the queue destroyed under a running job, and many producers while the thread comes and
// goes.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>
#include <thread>

#include "boards/programmer_board.h"
#include "programming_rig.h"
#include "protocol_rig.h"

namespace {

using boards::ProgrammerBoard;
using programming_test::Count;
using programming_test::Describe;
using programming_test::Held;
using programming_test::Posted;
using programming_test::Values;
using programming_test::WithoutPositions;

typedef std::vector<std::string> Lines;

class JobQueueTest : public programming_test::ProgrammingRig {};

int Opens(const boards::Board& board) {
    int opens = 0;
    for (const std::string& e : protocol_test::LineEvents(board.Log())) {
        opens += e.rfind("open ", 0) == 0 ? 1 : 0;
    }
    return opens;
}

TEST_F(JobQueueTest, AnIdleQueueHasNoJobAndNoThread) {
    EXPECT_FALSE(m_queue->IsRunning());
    EXPECT_EQ(m_queue->GetCount(), 0);
    EXPECT_EQ(m_queue->GetFirst(), nullptr);
    EXPECT_EQ(m_queue->RemoveFirst(), nullptr);
    EXPECT_EQ(m_queue->RemoveAll(), 1);
}

TEST_F(JobQueueTest, JobsQueuedWhileTheThreadRunsAreRunByItInOrder) {
    auto& board = Put(std::make_unique<Held<ProgrammerBoard>>());
    board.HoldAt(1);
    // The first job starts the thread (the resume result: it was suspended once); the others
    // only join the queue and get its count.
    EXPECT_EQ(m_queue->StartJob(Job(kJobCheckConnection, 160, 1)), 1);
    ASSERT_TRUE(board.WaitUntilHeld());
    EXPECT_TRUE(m_queue->IsRunning());
    EXPECT_EQ(m_queue->StartJob(Job(kJobCheckConnection, 160, 2)), 2);
    EXPECT_EQ(m_queue->StartJob(Job(kJobCheckConnection, 160, 3)), 3);
    EXPECT_EQ(m_queue->GetCount(), 3);
    board.Release();
    WaitUntilIdle();
    EXPECT_EQ(Describe(TakePosted()),
              (Lines{"3=1", "14", "4", "3=2", "14", "4", "3=3", "14", "4"}));
    EXPECT_EQ(Opens(board), 1);
    EXPECT_FALSE(m_queue->IsRunning());
    EXPECT_EQ(m_queue->GetCount(), 0);
}

TEST_F(JobQueueTest, AThreadThatCannotStartFreesItsJobAndSaysSo) {
    Put(std::make_unique<ProgrammerBoard>());
    m_queue->m_failThreadCreation = true;
    EXPECT_EQ(m_queue->StartJob(Job(kJobCheckConnection)), TRUE);  // the post's result
    EXPECT_EQ(m_queue->GetCount(), 0);
    EXPECT_FALSE(m_queue->IsRunning());
    EXPECT_EQ(Describe(TakePosted()), (Lines{"0"}));
    // The queue is not wedged: the next job starts a thread.
    m_queue->m_failThreadCreation = false;
    EXPECT_EQ(Describe(Run(Job(kJobCheckConnection))), (Lines{"3", "14", "4"}));
}

TEST_F(JobQueueTest, DestroyingTheQueueStopsItsThreadAndFreesEveryJob) {
    auto& board = Put(std::make_unique<Held<ProgrammerBoard>>());
    board.HoldAt(3 + 6 + 1);  // the second block's request of the read
    std::vector<BYTE> area(64, 0);
    m_queue->StartJob(Job(kJobRead, 160, kMemoryCode, &area));
    ASSERT_TRUE(board.WaitUntilHeld());
    m_queue->StartJob(Job(kJobCheckConnection));

    CJobQueue* queue = m_queue.get();
    w32test::clock::OutsideWaitScope waiting;
    std::thread destroyer([this] { m_queue.reset(); });
    // A queue being destroyed takes no new job: once it refuses one, the thread has been asked to
    // stop, and the destructor waits for it.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (queue->StartJob(Job(kJobCheckConnection)) != 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    board.Release();
    destroyer.join();
    // The read stopped before its next block; no job after it ran.
    EXPECT_EQ(Describe(TakePosted()), (Lines{"46", "15=64", "9=16", "9=32", "53"}));
    EXPECT_EQ(protocol_test::HostBytes(board.Log()).size(), 3u + 6 + 6);
    ExpectPortFree();
}

TEST_F(JobQueueTest, AStopLeftFromAnEarlierRunDoesNotCancelTheNextOne) {
    Put(std::make_unique<ProgrammerBoard>());
    m_cancel = 1;  // pressed after the last operation had ended
    std::vector<BYTE> area(64, 0);
    EXPECT_EQ(WithoutPositions(Run(Job(kJobRead, 160, kMemoryCode, &area))),
              (Lines{"46", "15=64", "16"}));
    EXPECT_EQ(m_cancel.load(), 0);
}

TEST_F(JobQueueTest, AJobJoiningARunningQueueLeavesAStopForTheRunningJob) {
    auto& board = Put(std::make_unique<Held<ProgrammerBoard>>());
    board.HoldAt(3 + 6 + 1);  // the second block's request of the read
    std::vector<BYTE> area(64, 0);
    m_queue->StartJob(Job(kJobRead, 160, kMemoryCode, &area));
    ASSERT_TRUE(board.WaitUntilHeld());
    m_cancel = 1;  // STOP
    EXPECT_EQ(m_queue->StartJob(Job(kJobCheckConnection)), 2);
    EXPECT_EQ(m_cancel.load(), 1);
    board.Release();
    WaitUntilIdle();
    // The read stops; the job queued behind it goes with it.
    EXPECT_EQ(WithoutPositions(TakePosted()), (Lines{"46", "15=64", "53"}));
    EXPECT_EQ(m_cancel.load(), 1);
}

// A port that takes its time (in real time) to be closed: its transmit buffer, emptied only when
// the port closes, empties slowly. The thread lingers where it decides to end.
class SlowToClose : public ProgrammerBoard {
protected:
    void OnPurge(DWORD flags) override {
        if ((flags & PURGE_TXCLEAR) != 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    }
};

// Many threads queue jobs while the programming thread ends and starts again: every job runs once
// (its connection check carries the job's number as its cell count), none is lost, and no two
// threads ever hold the port at once.
TEST_F(JobQueueTest, ManyProducersWhileTheThreadComesAndGoes) {
    Put(std::make_unique<SlowToClose>());
    const int kProducers = 6;
    const int kJobsEach = 80;
    std::atomic<bool> go{false};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            std::mt19937 random(static_cast<uint32_t>(p + 1));
            while (!go.load()) {
                std::this_thread::yield();
            }
            for (int j = 0; j < kJobsEach; ++j) {
                m_queue->StartJob(Job(kJobCheckConnection, 160, p * kJobsEach + j + 1));
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 400));
            }
        });
    }
    // The user interface changes the port setting meanwhile (to the same port).
    std::thread settingsBar([&] {
        while (!go.load()) {
            std::this_thread::yield();
        }
        for (int i = 0; i < 200; ++i) {
            m_settings.SetCommPort("COM7");
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    });
    go = true;
    {
        w32test::clock::OutsideWaitScope waiting;
        for (std::thread& t : producers) {
            t.join();
        }
        settingsBar.join();
    }
    WaitUntilIdle();
    std::vector<Posted> posted = TakePosted();
    EXPECT_EQ(Count(posted, kStatusPortNotOpened), 0);
    EXPECT_EQ(Count(posted, kStatusConnectionValid), kProducers * kJobsEach);
    std::map<LPARAM, int> runs;
    for (LPARAM id : Values(posted, kStatusCheckingConnection)) {
        ++runs[id];
    }
    ASSERT_EQ(runs.size(), static_cast<size_t>(kProducers * kJobsEach));
    for (const auto& run : runs) {
        EXPECT_EQ(run.second, 1) << "job " << run.first;
    }
    EXPECT_EQ(m_queue->GetCount(), 0);
}

}  // namespace
