// Comparing the job's counted cells with the chip, block by block, through the device's back-end;
// every differing cell is posted.
#include "block_walk.h"
#include "device_backend.h"
#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"

JobOutcome VerifyJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Verify Error");
    DeviceBackend& device = objects.Backend();
    HWND window = job.statusWindow;
    device.SelectArea(job, Transfer::ReadOrVerify);
    device.BeforeVerify(run, job);
    const DWORD start = job.startCell;
    const bool words = device_rules::IsWordArea(job);
    const bool wordCells = objects.m_facts.wordAreas;
    const DWORD areaCode = device_rules::MismatchAreaCode(job.memoryKind) << 24;
    DWORD differences = 0;
    JobOutcome outcome = WalkBlocks(run, job, start, [&](const CellBlock& block) {
        BYTE chip[32];
        DWORD cells = 0;
        if (device.VerifyBlock(run, job, start, block, chip, &cells) != BOARD_OK) {
            return false;
        }
        DWORD done = block.closedAt + 1;
        PostStatus(window, kStatusPosition, static_cast<LPARAM>(words ? done / 2 : done));
        for (DWORD j = 0; j < cells; ++j) {
            DWORD cell = block.first + j;
            if (job.area[cell] == chip[j]) {
                continue;
            }
            ++differences;
            DWORD index = wordCells && job.memoryKind == kMemorySpecial ? cell / 2 : cell;
            PostStatus(window, kStatusMismatch, static_cast<LPARAM>(areaCode | index));
            if (wordCells && job.memoryKind == kMemoryCode) {
                // Both bytes of the word are marked, those that lie in the job.
                const DWORD even = ((start + cell) & ~1u) - start;
                for (DWORD half = even; half != even + 2; ++half) {
                    if (half < job.size) {
                        PostStatus(window, kStatusMismatch, static_cast<LPARAM>(areaCode | half));
                    }
                }
            }
        }
        return true;
    });
    if (outcome == JobOutcome::Cancelled) {
        PostStatus(window, kStatusCancelled);
        device.Leave(run);
        return outcome;
    }
    if (outcome == JobOutcome::Failed) {
        objects.PostError();
        return outcome;
    }
    PostStatus(window, kStatusPosition, static_cast<LPARAM>(device_rules::CellCount(job)));
    PostStatus(window, kStatusDifferences, static_cast<LPARAM>(differences));
    device.Leave(run);
    // Cells that did not compare fail this verify only: the areas after it are still compared.
    return differences == 0 ? JobOutcome::Done : JobOutcome::Differed;
}
