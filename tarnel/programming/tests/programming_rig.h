// Jobs queued to the programming thread against simulated boards on a virtual port, on virtual
// time, and the statuses the thread posted.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "boards/board.h"
#include "comms/comms.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/programming/job_queue.h"
#include "tarnel/programming/operation_status.h"
#include "w32/messages.h"
#include "w32test/clock.h"
#include "w32test/vport.h"

namespace programming_test {

// One posted status: its code, value, and the text of a block-carrying code.
struct Posted {
    UINT code = 0;
    LPARAM value = 0;
    std::string text;
};

bool CarriesBlock(UINT code);

// "49", "6=2048", "60 'Erase PIC16F877A...'": how tests write the sequences they expect.
std::string Describe(const Posted& p);
std::vector<std::string> Describe(const std::vector<Posted>& posted);
// The sequence without the position statuses (9).
std::vector<std::string> WithoutPositions(const std::vector<Posted>& posted);
std::vector<LPARAM> Values(const std::vector<Posted>& posted, UINT code);
int Count(const std::vector<Posted>& posted, UINT code);

// Answers the thread's questions as a script says (No once the script is used up) and keeps what
// was asked.
class ScriptedQuestions : public IProgrammingQuestions {
public:
    void Answer(std::initializer_list<BOOL> answers);
    std::vector<std::string> Asked();
    BOOL AskYesNo(const char* question) override;

private:
    std::mutex m_mutex;
    std::deque<BOOL> m_answers;
    std::vector<std::string> m_asked;
};

// A queue whose thread can be made to fail to start, or held at its start.
class TestQueue : public CJobQueue {
public:
    TestQueue();
    ~TestQueue() override;

    bool m_failThreadCreation = false;

    // While held, a thread that StartJob starts waits before it takes its first job: a test can
    // queue several jobs before the first one can end the run (a failed port opening drops the
    // jobs queued with it, but not those queued after the thread ended).
    void HoldStart();
    void ReleaseStart();

protected:
    HANDLE CreateProgrammingThread() override;

private:
    static DWORD WINAPI GatedThreadProc(LPVOID queue);
    HANDLE m_gate;  // manual reset; set while threads may start
};

// Holds whichever thread feeds the board its `holdAt`-th byte (1-based) until Release: a way to
// keep the programming thread busy while a test queues more jobs or destroys the queue. Also sets
// a cancel word when the `cancelAt`-th byte arrives, as STOP pressed at that moment would.
template <class B>
class Held : public B {
public:
    template <class... Args>
    explicit Held(Args&&... args) : B(std::forward<Args>(args)...) {}

    void HoldAt(size_t byteNumber) { m_holdAt = byteNumber; }
    void CancelAt(size_t byteNumber, CancelWord* cancel) {
        m_cancelAt = byteNumber;
        m_cancel = cancel;
    }
    // Waits (real time, bounded) until a thread is held; false when none came.
    bool WaitUntilHeld();
    void Release();
    size_t BytesSeen() const { return m_seen; }

protected:
    void OnByte(BYTE byte, bool garbled) override {
        ++m_seen;
        if (m_seen == m_holdAt) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_held = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_released; });
        }
        if (m_seen == m_cancelAt && m_cancel != nullptr) {
            m_cancel->store(1);
        }
        B::OnByte(byte, garbled);
    }

private:
    size_t m_seen = 0;
    size_t m_holdAt = 0;
    size_t m_cancelAt = 0;
    CancelWord* m_cancel = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    bool m_released = false;
};

template <class B>
bool Held<B>::WaitUntilHeld() {
    w32test::clock::OutsideWaitScope waiting;  // the clock may move meanwhile
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_held; });
}

template <class B>
void Held<B>::Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
}

class ProgrammingRig : public ::testing::Test {
protected:
    static const int kCom = 7;

    ProgrammingRig();
    ~ProgrammingRig() override;

    // Puts `board` on the port; the rig keeps it until the test ends.
    template <class B>
    B& Put(std::unique_ptr<B> board) {
        B& b = *board;
        w32test::vport::Detach(kCom);
        m_board = std::move(board);
        EXPECT_TRUE(w32test::vport::Attach(kCom, m_board.get()));
        return b;
    }

    // A job on `area` (whole, no marks unless given) for the rig's windows and cancel word.
    std::unique_ptr<JobRequest> Job(JobOp op, BYTE device, BYTE kind, std::vector<BYTE>* area,
                                    std::vector<BYTE>* marks = nullptr, DWORD startCell = 0);
    // A job without an area (connection check, board ID, set type, security bits).
    std::unique_ptr<JobRequest> Job(JobOp op, BYTE device = 160, DWORD size = 0);

    // Queues the jobs one after the other, waits until the thread has ended and returns what it
    // posted to the jobs' window.
    std::vector<Posted> Run(std::vector<std::unique_ptr<JobRequest>> jobs);
    std::vector<Posted> Run(std::unique_ptr<JobRequest> job);
    // Waits (real time, bounded) until the queue's thread has ended, taking the posts meanwhile.
    // The test's thread takes part in virtual time: its waits for other threads are outside
    // waits, so that the programming thread's sleeps and time-outs go on meanwhile.
    void WaitUntilIdle();
    // The posts taken so far, and those to the main window.
    std::vector<Posted> TakePosted();
    std::vector<Posted> TakeMainPosted();

    // Asserts that no handle of the port is left open: another object opens it.
    void ExpectPortFree();
    uint64_t Now() const { return w32test::clock::NowMicros(); }

    w32test::clock::VirtualTimeScope m_virtualTime;
    CAppSettings m_settings;
    ScriptedQuestions m_questions;
    CancelWord m_cancel{0};
    HWND m_window = nullptr;
    HWND m_mainWindow = nullptr;
    std::unique_ptr<boards::Board> m_board;
    std::unique_ptr<TestQueue> m_queue;

private:
    void TakeMessages();
    std::vector<Posted> m_posted;
    std::vector<Posted> m_mainPosted;
};

}  // namespace programming_test
