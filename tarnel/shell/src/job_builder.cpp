// Area jobs of the documents: the resident-loader choice and the hand-over to the queue.
#include "tarnel/shell/job_builder.h"

#include "tarnel/core/chip_table.h"
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

BOOL QueueAreaJob(const AreaJob& job) {
    const uint8_t device = ChipTable::GetDeviceCode(DocumentHost().GetCurrentChip());
    BYTE residentLoader = 0;
    if (!ChooseResidentLoader(device, residentLoader)) {
        return FALSE;
    }
    (void)job;
    return FALSE;
}
