// The cancel tests and questions of a run of the programming thread.
#include "job_run.h"

BOOL CJobRun::Ask(const char* question) {
    if (m_environment.questions == nullptr || Stopping()) {
        return FALSE;
    }
    return m_environment.questions->AskYesNo(question);
}

bool CJobRun::Cancelled(const JobRequest& job) const {
    return Stopping() || (job.cancel != nullptr && job.cancel->load() != 0);
}
