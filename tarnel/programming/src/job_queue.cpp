// The job queue: the jobs under one lock, and the start of the programming thread.
#include "tarnel/programming/job_queue.h"

#include "section_lock.h"
#include "status_post.h"
#include "w32/handles.h"

CJobQueue::CJobQueue() : m_thread(nullptr), m_serving(false), m_stopping(false), m_sequence(0) {
    w32::InitializeCriticalSection(&m_lock);
}

CJobQueue::~CJobQueue() {
    HANDLE thread;
    {
        CSectionLock lock(m_lock);
        m_stopping = true;
        thread = m_thread;
        m_thread = nullptr;
    }
    if (thread != nullptr) {
        w32::WaitForSingleObject(thread, INFINITE);
        w32::CloseHandle(thread);
    }
    RemoveAll();
    w32::DeleteCriticalSection(&m_lock);
}

void CJobQueue::SetEnvironment(const ProgrammingEnvironment& environment) {
    CSectionLock lock(m_lock);
    m_environment = environment;
}

HANDLE CJobQueue::CreateProgrammingThread() {
    return w32::CreateThread(nullptr, 0, &CJobQueue::ThreadProc, this, CREATE_SUSPENDED, nullptr);
}

int CJobQueue::StartJob(std::unique_ptr<JobRequest> job) {
    if (!job) {
        return 0;
    }
    const HWND window = job->statusWindow;
    CancelWord* const cancel = job->cancel;
    {
        CSectionLock lock(m_lock);
        if (m_stopping) {
            return 0;  // the queue is going: nothing starts any more
        }
        bool queued = false;
        try {
            Add(job.get());
            job.release();  // the queue's from here on
            queued = true;
        } catch (...) {
            // No room for it: the job is freed on the way out, reported like a thread that did
            // not start.
        }
        if (queued) {
            int count = static_cast<int>(GetSize());
            if (m_serving) {
                return count;  // a STOP raised meanwhile is meant for the running job: it stays
            }
            // A new run: a STOP left over from an earlier one must not cancel it. Whoever queues
            // the job (a document, or the frame, which leaves the word as it stands) need not
            // know whether one is left.
            if (cancel != nullptr) {
                cancel->store(0);
            }
            HANDLE thread = CreateProgrammingThread();
            if (thread != nullptr) {
                if (m_thread != nullptr) {
                    w32::CloseHandle(m_thread);  // that thread has left the queue
                }
                m_thread = thread;
                m_serving = true;
                w32::SetThreadPriority(thread, THREAD_PRIORITY_IDLE);
                return static_cast<int>(w32::ResumeThread(thread));
            }
            // Nothing will serve the queue: its jobs (this one alone, since the queue was idle)
            // are freed rather than left for a thread that never comes.
            FreeAllLocked();
        }
    }
    return PostStatus(window, kStatusCannotExecute, 0);
}

JobRequest* CJobQueue::GetFirst() {
    CSectionLock lock(m_lock);
    return IsEmpty() ? nullptr : static_cast<JobRequest*>(GetAt(0));
}

JobRequest* CJobQueue::RemoveFirst() {
    CSectionLock lock(m_lock);
    if (IsEmpty()) {
        return nullptr;
    }
    RemoveAt(0);
    return IsEmpty() ? nullptr : static_cast<JobRequest*>(GetAt(0));
}

int CJobQueue::GetCount() {
    CSectionLock lock(m_lock);
    return static_cast<int>(GetSize());
}

int CJobQueue::RemoveAll() {
    CSectionLock lock(m_lock);
    FreeAllLocked();
    return 1;
}

void CJobQueue::FreeAllLocked() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete static_cast<JobRequest*>(GetAt(i));
    }
    CPtrArray::RemoveAll();
}

BOOL CJobQueue::IsRunning() {
    CSectionLock lock(m_lock);
    DWORD exitCode = 0;
    return m_thread != nullptr && w32::GetExitCodeThread(m_thread, &exitCode) &&
           exitCode == STILL_ACTIVE;
}
