// Reading an area of the chip into the job's buffer, block by block, through the device's
// back-end.
#include <cstring>

#include "block_walk.h"
#include "device_backend.h"
#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"

JobOutcome ReadJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Read Error");
    DeviceBackend& device = objects.Backend();
    device.SelectArea(job, Transfer::ReadOrVerify);
    bool words = device_rules::IsWordArea(job);
    for (DWORD c = job.startCell;;) {
        if (run.Cancelled(job)) {
            device.Leave(run);
            PostStatus(job.statusWindow, kStatusCancelled);
            return JobOutcome::Cancelled;
        }
        if (c >= job.size) {
            break;
        }
        // The back-end may take another number of cells, never past the end of the area.
        DWORD cells = job.size - c < kBlockCells ? job.size - c : kBlockCells;
        if (device.ReadBlock(run, job, c, &cells) != BOARD_OK) {
            device.Leave(run);
            objects.PostError();
            return JobOutcome::Failed;
        }
        DWORD done = c + cells;
        PostStatus(job.statusWindow, kStatusPosition, static_cast<LPARAM>(words ? done / 2 : done));
        if (job.marks != nullptr) {
            std::memset(job.marks + c, 1, cells);
        }
        c = done;
        if (c >= job.size) {
            break;  // the last block: no cancel test after it
        }
    }
    device.Leave(run);
    return JobOutcome::Done;
}
