// Area jobs of the documents: the resident-loader choice and the hand-over to the queue.
#include "tarnel/shell/job_builder.h"

#include <memory>

#include "tarnel/images/chip_table.h"
#include "tarnel/shell/document_host.h"

BOOL ChooseResidentLoader(uint8_t deviceCode, BYTE& residentLoader) {
    residentLoader = 0;
    if (deviceCode != kDeviceHc908) {
        return TRUE;
    }
    int index = -1;
    if (!DocumentHost().Choices().ChooseResidentLoader(index)) {
        return FALSE;
    }
    switch (index) {
        case 0:
            residentLoader = 2;
            return TRUE;
        case 1:
            residentLoader = 1;
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL QueueAreaJob(const AreaJob& area) {
    IDocumentHost& host = DocumentHost();
    auto job = std::make_unique<JobRequest>();  // zeroed: the reserved bytes too
    job->op = area.operation;
    job->area = area.cells;
    job->marks = area.marks;
    job->size = area.size;
    job->statusWindow = host.StatusWindow();
    host.Cancel() = 0;
    job->cancel = &host.Cancel();
    job->deviceCode = ChipTable::GetDeviceCode(host.Settings().ChipName());
    job->memoryKind = area.kind;
    job->startCell = area.startCell;
    if (!ChooseResidentLoader(static_cast<uint8_t>(job->deviceCode), job->loaderChoice)) {
        return FALSE;
    }
    host.StartJob(std::move(job));
    return TRUE;
}
