// Reading an area of the chip into the job's buffer, block by block.
#include <cstring>

#include "block_walk.h"
#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"

namespace {

// Reads the block of `*cells` cells at cell c into the area; a PIC block may take fewer cells
// than asked (the data area 16, the code area 32) and says how many in `*cells`. It never runs
// past the end of the area.
int ReadCells(CJobRun& run, JobRequest& job, JobObjects& objects, DWORD c, DWORD* cells) {
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    BYTE* to = job.area + c;
    WORD address = static_cast<WORD>(c);
    DWORD left = job.size - c;
    if (device_rules::IsBoardChip(device)) {
        if (device == 169 && job.memoryKind == kMemoryData) {
            address = static_cast<WORD>(c + 16);
        }
        return objects.m_chip.ReadBlock(port, address, *cells, to);
    }
    if (device == 162) {
        return objects.m_eeprom.ReadBlock(port, address, *cells, to);
    }
    if (device == 164) {
        return objects.m_board.ReadBlock(port, address, *cells, to);
    }
    if (device_rules::IsBootLoaderChip(device)) {
        return objects.m_chip.ReadRecord(port, address, *cells, to, objects.Text());
    }
    if (device_rules::IsMemoryBoard(device)) {
        port.SetTimeOut(100);
        return objects.m_memory.ReadBlock(port, c, static_cast<WORD>(*cells), to);
    }
    if (device_rules::IsPic(device)) {
        BYTE packet[32];
        int result = BOARD_LINE_FAILED;
        switch (job.memoryKind) {
            case kMemoryData:
                // Each data cell travels in the even place of a 2-byte pair.
                *cells = left < 16 ? left : 16;
                result = objects.m_chip.ReadBlock(port, address, *cells * 2, packet);
                for (DWORD j = 0; result == BOARD_OK && j < *cells; ++j) {
                    to[j] = packet[2 * j];
                }
                return result;
            case kMemoryCode:
            case kMemorySpecial:
                *cells = job.memoryKind == kMemoryCode ? 32 : 16;
                *cells = left < *cells ? left : *cells;
                result = objects.m_chip.ReadBlock(port, address, *cells, packet);
                if (result == BOARD_OK) {
                    SwapWordBytes(packet, to, *cells);
                }
                return result;
            default:
                return result;
        }
    }
    return BOARD_LINE_FAILED;
}

}  // namespace

JobOutcome ReadJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Read Error");
    device_rules::SetChipType(objects.m_chip, objects.m_device);
    device_rules::SetMemorySelector(objects.m_chip, job, device_rules::Transfer::ReadOrVerify);
    bool words = device_rules::IsWordArea(job);
    for (DWORD c = job.startCell;;) {
        if (run.Cancelled(job)) {
            objects.LeaveLoaderMode(run);
            PostStatus(job.statusWindow, kStatusCancelled);
            return JobOutcome::Cancelled;
        }
        if (c >= job.size) {
            break;
        }
        DWORD cells = job.size - c < kBlockCells ? job.size - c : kBlockCells;
        if (ReadCells(run, job, objects, c, &cells) != BOARD_OK) {
            objects.LeaveLoaderMode(run);
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
    objects.LeaveLoaderMode(run);
    return JobOutcome::Done;
}
