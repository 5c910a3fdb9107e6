// Writing the job's counted cells to the chip, block by block, through the device's back-end.
#include "block_walk.h"
#include "device_backend.h"
#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"
#include "w32/clock.h"

JobOutcome WriteJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Write Error");
    DeviceBackend& device = objects.Backend();
    HWND window = job.statusWindow;
    device.SelectArea(job, Transfer::Write);
    if (!device.BeforeWrite(run, job)) {
        return JobOutcome::Failed;
    }
    w32::Sleep(100);
    objects.SetText("Write Error");
    const DWORD start = job.startCell;
    const bool words = device_rules::IsWordArea(job);
    JobOutcome outcome = WalkBlocks(run, job, start, [&](const CellBlock& block) {
        if (device.WriteBlock(run, job, start, block) != BOARD_OK) {
            return false;
        }
        DWORD done = block.closedAt + 1;
        PostStatus(window, kStatusPosition, static_cast<LPARAM>(words ? done / 2 : done));
        return true;
    });
    if (outcome == JobOutcome::Done && device.AfterBlocks(run) != BOARD_OK) {
        outcome = JobOutcome::Failed;
    }
    if (outcome == JobOutcome::Cancelled) {
        device.Leave(run);
        PostStatus(window, kStatusCancelled);
        return outcome;
    }
    if (outcome == JobOutcome::Failed) {
        device.Leave(run);
        objects.PostError();
        return outcome;
    }
    PostStatus(window, kStatusPosition, static_cast<LPARAM>(device_rules::CellCount(job)));
    return device.EndWrite(run);
}
