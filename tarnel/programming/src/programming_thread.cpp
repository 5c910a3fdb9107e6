// The programming thread: its port, the statuses around each job, and when it ends.
#include <cstdio>
#include <memory>
#include <new>

#include "device_rules.h"
#include "job_run.h"
#include "programming_operations.h"
#include "section_lock.h"
#include "status_post.h"
#include "tarnel/programming/job_queue.h"
#include "w32/clock.h"

namespace {

// Room for the settings text of the port: "COMn: baud=57600 parity=N data=8 stop=1".
const size_t kSettingsTextSize = 64;

// The rate of the whole run, chosen by its first job's device.
const char* SettingsFormat(const DeviceFacts& facts) {
    switch (facts.baud) {
        case 9600:
            return "%s: baud=9600 parity=N data=8 stop=1";
        case 57600:
            return "%s: baud=57600 parity=N data=8 stop=1";
        default:
            return "%s: baud=19200 parity=N data=8 stop=1";
    }
}

// Opens the port named by the CommPort setting and readies the board's lines. False when the port
// cannot be opened or set up, a name too long for the settings text included.
bool OpenRunPort(CComms& port, const ProgrammingEnvironment& environment, const JobRequest& first) {
    char name[kSettingsTextSize];
    if (environment.settings == nullptr || !environment.settings->CopyCommPort(name, sizeof name)) {
        return false;
    }
    char text[kSettingsTextSize];
    int length =
        std::snprintf(text, sizeof text, SettingsFormat(device_rules::FactsOfJob(first)), name);
    if (length < 0 || static_cast<size_t>(length) >= sizeof text) {
        return false;
    }
    port.SetCommPort(text);
    if (!port.IsInitialized()) {
        return false;
    }
    bool ready = port.SetDTR() == COMMS_OK;
    ready = port.SetRTS() == COMMS_OK && ready;
    w32::Sleep(100);
    ready = port.PurgeRcvBuffer() == COMMS_OK && ready;
    if (!ready) {
        return false;
    }
    port.SetTimeOut(100);
    return true;
}

// The start status of a read, write, erase or verify by the job's memory kind.
UINT StartStatus(const JobRequest& job, UINT code, UINT data, UINT special) {
    switch (job.memoryKind) {
        case kMemoryData:
            return data;
        case kMemorySpecial:
            return special;
        default:
            return code;
    }
}

// The Kestrix board names its two areas in place of the start status.
void PostKestrixStart(const JobRequest& job, const char* started, const char* idEnding) {
    char text[kStatusTextSize];
    std::snprintf(text, sizeof text, "%s%s", started,
                  job.memoryKind == kMemoryCode ? idEnding : " ( Kestrix CONFIG )...");
    PostText(job.statusWindow, kStatusInfoText, text);
}

enum class JobEnd { Next, EndRun };

// The end of a read, write or verify. A cancelled operation has posted kStatusCancelled and the run
// ends without an end status. Otherwise the end status goes out, also when STOP came after the last
// block; the run then ends as after a failure. A verify that found differences posts the failure
// and the run goes on.
JobEnd Finish(CJobRun& run, const JobRequest& job, JobOutcome outcome, UINT success, UINT failure) {
    if (outcome == JobOutcome::Cancelled) {
        return JobEnd::EndRun;
    }
    PostStatus(job.statusWindow, outcome == JobOutcome::Done ? success : failure);
    if (outcome == JobOutcome::Failed || run.Cancelled(job)) {
        return JobEnd::EndRun;
    }
    return JobEnd::Next;
}

JobEnd Ended(const JobRequest& job, int ok, UINT success, UINT failure) {
    PostStatus(job.statusWindow, ok ? success : failure);
    return ok ? JobEnd::Next : JobEnd::EndRun;
}

// One job with the statuses around its operation. Every chip operation begins with the
// set-chip-type step; when that fails (it has said why) only this job is skipped.
JobEnd RunJob(CJobRun& run, JobRequest& job) {
    const HWND window = job.statusWindow;
    const DeviceFacts& facts = device_rules::FactsOfJob(job);
    const LPARAM cells = static_cast<LPARAM>(device_rules::CellCount(job));
    switch (job.op) {
        case kJobCheckConnection:
            PostStatus(window, kStatusCheckingConnection, cells);
            return Ended(job, CheckConnectionJob(run, job), kStatusConnectionValid,
                         kStatusNoConnection);
        case kJobReadBoardId:
            PostStatus(window, kStatusBoardIdStarted);
            return Ended(job, ReadBoardIdJob(run, job), kStatusBoardIdDone, kStatusBoardIdFailed);
        case kJobSetChipType:
            SetChipTypeJob(run, job);
            return JobEnd::Next;
        case kJobRead:
            if (facts.namesAreasInStart) {
                PostKestrixStart(job, "Read started", " ( Kestrix ID )...");
            } else {
                PostStatus(window,
                           StartStatus(job, kStatusReadCode, kStatusReadData, kStatusReadSpecial));
            }
            PostStatus(window, kStatusReadRange, cells);
            if (!SetChipTypeJob(run, job)) {
                return JobEnd::Next;
            }
            return Finish(run, job, ReadJob(run, job), kStatusReadDone, kStatusReadFailed);
        case kJobWrite:
            if (facts.namesAreasInStart) {
                PostKestrixStart(job, "Write started", " ( Kestrix ID )...");
            } else {
                PostStatus(window, StartStatus(job, kStatusWriteCode, kStatusWriteData,
                                               kStatusWriteSpecial));
            }
            PostStatus(window, kStatusWriteRange, cells);
            if (!SetChipTypeJob(run, job)) {
                return JobEnd::Next;
            }
            return Finish(run, job, WriteJob(run, job), kStatusWriteDone, kStatusWriteFailed);
        case kJobErase:
            // The PIC chips name themselves; the PIC18 in place of the start status.
            if (facts.eraseTitle != nullptr) {
                PostText(window, kStatusInfoText, facts.eraseTitle);
            }
            if (facts.eraseStartStatus) {
                PostStatus(
                    window,
                    StartStatus(job, kStatusEraseCode, kStatusEraseData, kStatusEraseSpecial),
                    cells);
            }
            if (!SetChipTypeJob(run, job)) {
                return JobEnd::Next;
            }
            return Ended(job, EraseJob(run, job), kStatusEraseDone, kStatusEraseFailed);
        case kJobBlankCheck:
            PostStatus(window, kStatusBlankCheckStarted);
            if (!SetChipTypeJob(run, job)) {
                return JobEnd::Next;
            }
            return Ended(job, BlankCheckJob(run, job), kStatusBlankCheckDone,
                         kStatusBlankCheckFailed);
        case kJobVerify:
            if (facts.namesAreasInStart) {
                PostKestrixStart(job, "Verify started", " ( Kestrix ID)...");
            } else {
                PostStatus(window, StartStatus(job, kStatusVerifyCode, kStatusVerifyData,
                                               kStatusVerifySpecial));
            }
            PostStatus(window, kStatusVerifyRange, cells);
            if (!SetChipTypeJob(run, job)) {
                return JobEnd::Next;
            }
            return Finish(run, job, VerifyJob(run, job), kStatusVerifyDone, kStatusVerifyFailed);
        case kJobSetSecurityBits:
            if (SetChipTypeJob(run, job)) {
                SetSecurityBitsJob(run, job);
            }
            return JobEnd::Next;
        default:
            return JobEnd::Next;  // no such operation: the job is only freed
    }
}

}  // namespace

DWORD WINAPI CJobQueue::ThreadProc(LPVOID queue) {
    static_cast<CJobQueue*>(queue)->Serve();
    return 0;
}

void CJobQueue::Serve() {
    for (;;) {
        RunEnd end = RunJobs();
        // The decision to end is taken under the lock, with the port already closed: a job queued
        // before it is run here on a new run; one queued after it starts a new thread.
        CSectionLock lock(m_lock);
        if (end == RunEnd::Stopped) {
            FreeAllLocked();
        }
        if (IsEmpty()) {
            m_serving = false;
            return;
        }
    }
}

CJobQueue::RunEnd CJobQueue::RunJobs() {
    JobRequest* job = GetFirst();
    if (job == nullptr) {
        return RunEnd::QueueEmpty;
    }
    ProgrammingEnvironment environment;
    {
        CSectionLock lock(m_lock);
        environment = m_environment;
    }
    std::unique_ptr<CComms> port(new (std::nothrow) CComms);
    if (!port || !OpenRunPort(*port, environment, *job)) {
        PostStatus(job->statusWindow, kStatusPortNotOpened);
        return RunEnd::Stopped;
    }
    CJobRun run(*port, environment, m_sequence, m_stopping);
    RunEnd end = RunEnd::QueueEmpty;
    while (job != nullptr) {
        if (m_stopping || RunJob(run, *job) == JobEnd::EndRun) {
            end = RunEnd::Stopped;  // the running job is freed with the rest
            break;
        }
        JobRequest* done = job;
        job = RemoveFirst();
        delete done;
    }
    port->Deinstall();
    return end;
}
