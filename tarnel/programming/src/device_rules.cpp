// The device-code rules of the programming operations.
#include "device_rules.h"

namespace device_rules {

bool IsPic(BYTE device) { return device == 9 || device == 10; }

bool IsBoardChip(BYTE device) { return device == 160 || device == 161 || device == 169; }

bool IsBootLoaderChip(BYTE device) {
    return device == 163 || (device >= 165 && device <= 168) || device == 170 || device == 171;
}

bool LeavesLoaderMode(BYTE device) {
    return device == 163 || device == 168 || device == 170 || device == 171;
}

bool IsMemoryBoard(BYTE device) { return device == 253 || device == 254; }

bool IsWordArea(const JobRequest& job) {
    return IsPic(DeviceOf(job)) &&
           (job.memoryKind == kMemoryCode || job.memoryKind == kMemorySpecial);
}

DWORD CellCount(const JobRequest& job) {
    bool wordKind = job.memoryKind == kMemoryCode || job.memoryKind == kMemorySpecial;
    return wordKind && DeviceOf(job) < 160 ? job.size >> 1 : job.size;
}

void SetChipType(CChipProtocol& chip, BYTE device) {
    switch (device) {
        case 9:
            chip.SetType(14);
            break;
        case 10:
            chip.SetType(16);
            break;
        case 160:
        case 161:
            chip.SetType(1);
            break;
        case 163:
            chip.SetType(2);
            break;
        case 165:
        case 167:
            chip.SetType(8);
            break;
        case 166:
            chip.SetType(9);
            break;
        case 168:
            chip.SetType(10);
            break;
        case 169:
            chip.SetType(11);
            break;
        case 170:
            chip.SetType(12);
            break;
        case 171:
            chip.SetType(15);
            break;
        default:
            break;
    }
}

void SetMemorySelector(CChipProtocol& chip, const JobRequest& job, Transfer transfer) {
    bool write = transfer == Transfer::Write;
    if (IsPic(DeviceOf(job))) {
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
