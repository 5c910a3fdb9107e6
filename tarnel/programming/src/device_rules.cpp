// The rules of a job that follow from its device's facts row.
#include "device_rules.h"

namespace device_rules {

namespace {

bool IsWordKind(BYTE memoryKind) {
    return memoryKind == kMemoryCode || memoryKind == kMemorySpecial;
}

}  // namespace

bool IsWordArea(const JobRequest& job) {
    return FactsOfJob(job).wordAreas && IsWordKind(job.memoryKind);
}

DWORD CellCount(const JobRequest& job) {
    return FactsOfJob(job).countsInWords && IsWordKind(job.memoryKind) ? job.size >> 1 : job.size;
}

void SetMemorySelector(CChipProtocol& chip, const JobRequest& job, Transfer transfer) {
    bool write = transfer == Transfer::Write;
    if (FactsOfJob(job).wordAreas) {
        switch (job.memoryKind) {
            case kMemoryData:
                chip.SetMemoryKind(write ? 0xFF : 5);
                break;
            case kMemoryCode:
                chip.SetMemoryKind(write ? 2 : 4);
                break;
            case kMemorySpecial:
                chip.SetMemoryKind(write ? 0 : 0xFF);
                break;
            default:
                break;
        }
    } else if (job.memoryKind == kMemoryData) {
        chip.SetMemoryKind(5);
    }
}

DWORD MismatchAreaCode(BYTE memoryKind) {
    switch (memoryKind) {
        case kMemoryCode:
            return 5;
        case kMemorySpecial:
            return 4;
        default:
            return 1;
    }
}

}  // namespace device_rules
