// What one run of the programming thread lends the operations of its jobs: the port, the program's
// main window and questions, the connection check's sequence byte, and the cancel tests.
#pragma once

#include <atomic>

#include "comms/comms.h"
#include "tarnel/programming/job_queue.h"

class CJobRun {
public:
    CJobRun(CComms& port, const ProgrammingEnvironment& environment, BYTE& sequence,
            const std::atomic<bool>& stopping)
        : m_port(port), m_environment(environment), m_sequence(sequence), m_stopping(stopping) {}

    // The thread's own port object: every step of every job goes through it, so the port has one
    // owner even when a step opens it again at another rate.
    CComms& Port() { return m_port; }
    HWND MainWindow() const { return m_environment.mainWindow; }
    // The user's answer; No when nobody is there to answer or the queue is being destroyed.
    BOOL Ask(const char* question);
    // The sequence byte of the next connection check: one more than the last, wrapping at 256.
    BYTE NextSequence() { return ++m_sequence; }
    // The job's cancel word is set, or the queue is being destroyed.
    bool Cancelled(const JobRequest& job) const;
    bool Stopping() const { return m_stopping.load(); }

private:
    CComms& m_port;
    const ProgrammingEnvironment& m_environment;
    BYTE& m_sequence;
    const std::atomic<bool>& m_stopping;
};
