// The job queue of the device programmer and the programming thread that serves it.
//
// The user interface queues jobs (StartJob) and asks whether the thread runs (IsRunning); the
// programming thread, started when a job enters the empty queue, opens the port named by the
// "CommPort" setting, runs the jobs in order and reports every step by posting
// WM_OPERATION_STATUS to each job's status window (operation_status.h). It frees each job after
// running it, frees every remaining job after a failure or a cancel, and ends when the queue is
// empty. The program keeps one queue for its whole life.
#pragma once

#include <atomic>
#include <memory>

#include "classlib/collections.h"
#include "tarnel/programming/app_settings.h"
#include "tarnel/programming/job_request.h"
#include "tarnel/programming/programming_questions.h"
#include "w32/threads.h"

// What the programming thread takes from the program: the settings (CommPort), the main window
// (where the board's own error codes go as kStatusBoardError) and the answers to its questions. The
// pointed-to objects must outlive the queue's thread.
struct ProgrammingEnvironment {
    const CAppSettings* settings = nullptr;
    HWND mainWindow = nullptr;
    IProgrammingQuestions* questions = nullptr;  // none: every question is answered No
};

class CJobQueue : private CPtrArray {
public:
    CJobQueue();
    // Stops the thread at its next cancel test, waits for it to end, then frees the jobs left.
    ~CJobQueue() override;
    CJobQueue(const CJobQueue&) = delete;
    CJobQueue& operator=(const CJobQueue&) = delete;

    // Read by each new run of the thread; set it before the first job.
    void SetEnvironment(const ProgrammingEnvironment& environment);

    // Appends the job, which belongs to the queue from here on. When a thread already serves the
    // queue: the new count (the job's cancel word is left alone: a STOP raised now is meant for
    // the running job). Otherwise it lowers the job's cancel word, starts the thread (suspended,
    // then at idle priority, then resumed) and returns the resume result; when the thread cannot be
    // started it frees the job, posts kStatusCannotExecute (value 0) to the job's status window and
    // returns the post's result.
    int StartJob(std::unique_ptr<JobRequest> job);
    // Under the lock: the first job (it stays queued), or null.
    JobRequest* GetFirst();
    // Under the lock: drops the first entry without freeing it; the new first job, or null.
    JobRequest* RemoveFirst();
    int GetCount();
    // Under the lock: frees every queued job and empties the queue; 1.
    int RemoveAll();
    // TRUE while the thread last started has not ended.
    BOOL IsRunning();

    // The thread's function; `queue` is the CJobQueue.
    static DWORD WINAPI ThreadProc(LPVOID queue);

protected:
    // Creates the programming thread suspended; null when it cannot. Tests put a failure here.
    virtual HANDLE CreateProgrammingThread();

private:
    enum class RunEnd { QueueEmpty, Stopped };

    // The thread's life: runs, each on a freshly opened port, until the queue is empty when the
    // thread looks under the lock.
    void Serve();
    // Opens the port for the first job and runs jobs until none is left or the run stops.
    RunEnd RunJobs();
    // Frees the queued jobs; the caller holds the lock.
    void FreeAllLocked();

    CRITICAL_SECTION m_lock;
    HANDLE m_thread;  // the thread last started; closed when the next one replaces it
    // Guarded by the lock: a thread serves the queue. Set by StartJob when it starts one, cleared
    // by the thread only when it finds the queue empty under the lock; so a job queued at any
    // moment is run by the serving thread or starts a new one.
    bool m_serving;
    std::atomic<bool> m_stopping;          // the destructor asks the thread to stop
    ProgrammingEnvironment m_environment;  // guarded by the lock
    BYTE m_sequence;  // the connection check's sequence byte; the serving thread's only
};
