// Writing the job's counted cells to the chip, block by block, and the end record of the
// boot-loader chips.
#include <cstring>

#include "block_walk.h"
#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"
#include "w32/clock.h"

namespace {

const BYTE kPicPadding = 0x3F;

// What the PIC18 chip keeps of each configuration byte (pairs swapped, as the area holds them).
const BYTE kPic18ConfigMask[16] = {0x00, 0x27, 0x0F, 0x0F, 0x00, 0x01, 0x85, 0x00,
                                   0x0F, 0xC0, 0x0F, 0xE0, 0x0F, 0x40, 0x00, 0x00};

// The PIC special area as the chip must take it, changed in the area itself. A PIC16 keeps the
// chip's own calibration word (read back first; not used when that read fails); a PIC18 gets its
// configuration bytes masked and its fixed bits set.
void PrepareSpecialArea(CJobRun& run, JobRequest& job, JobObjects& objects) {
    if (job.size < 16) {
        return;
    }
    if (objects.m_device == 9) {
        BYTE chip[16];
        BYTE selector = objects.m_chip.MemoryKind();
        objects.m_chip.SetMemoryKind(0xFF);
        int result = objects.m_chip.ReadBlock(run.Port(), 0, sizeof chip, chip);
        objects.m_chip.SetMemoryKind(selector);
        if (result == BOARD_OK) {
            job.area[12] = chip[13];
            job.area[13] = chip[12];
        }
    } else {
        for (int j = 0; j < 16; ++j) {
            job.area[j] &= kPic18ConfigMask[j ^ 1];
        }
        job.area[7] |= 0x04;
        job.area[13] |= 0x0F;
        job.area[12] |= 0x40;
    }
}

// Sends one block. A PIC data block covers the 16 cells from its first, whatever their marks, but
// never runs past the end of the area; a PIC word block is its WordSpan.
int WriteBlockOf(CJobRun& run, JobRequest& job, JobObjects& objects, DWORD start,
                 const CellBlock& block) {
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    const BYTE* from = job.area + block.first;
    WORD address = static_cast<WORD>(start + block.first);
    if (device_rules::IsBoardChip(device)) {
        return objects.m_chip.WriteBlock(port, address, block.count, from);
    }
    if (device == 162) {
        return objects.m_eeprom.WriteBlock(port, address, block.count, from);
    }
    if (device == 164) {
        port.SetTimeOut(10000);
        return objects.m_board.WriteBlock(port, address, block.count, from);
    }
    if (device_rules::IsBootLoaderChip(device)) {
        return objects.m_chip.WriteHexRecords(port, address, block.count, from, objects.Text());
    }
    if (device_rules::IsMemoryBoard(device)) {
        port.SetTimeOut(100);
        return objects.m_memory.WriteBlock(port, start + block.first,
                                           static_cast<WORD>(block.count), from,
                                           device == 253 ? TRUE : FALSE);
    }
    if (device_rules::IsPic(device)) {
        port.SetTimeOut(500);
        DWORD left = job.size - block.first;
        DWORD cells = left < kBlockCells ? left : kBlockCells;
        BYTE packet[32];
        std::memset(packet, kPicPadding, sizeof packet);
        if (job.memoryKind == kMemoryData) {
            for (DWORD j = 0; j < cells; ++j) {
                packet[2 * j] = from[j];
            }
            return objects.m_chip.WriteBlock(port, address, cells * 2, packet);
        }
        // Both bytes of every word go, a byte outside the job as padding.
        const WordSpan span = WordSpanOf(start, job.size, block.first);
        for (DWORD place = 0; place < span.places; ++place) {
            DWORD cell = 0;
            if (CellAtPlace(start, job.size, span, place, &cell)) {
                packet[place] = job.area[cell];
            }
        }
        return objects.m_chip.WriteBlock(port, static_cast<WORD>(span.address), span.places,
                                         packet);
    }
    return BOARD_LINE_FAILED;
}

// The chip keeps the boot vector and status byte that start the program written, then starts it.
JobOutcome EndBootLoaderWrite(CJobRun& run, JobObjects& objects) {
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    if (device_rules::LeavesLoaderMode(device)) {
        if (objects.m_chip.ProgramSpecialBytes(port, objects.Text()) != BOARD_OK) {
            objects.PostError();  // reported, yet the data are written
        }
        objects.LeaveLoaderMode(run);
        return JobOutcome::Done;
    }
    int result = objects.m_chip.ProgramSpecialBytes(port, objects.Text());
    w32::Sleep(100);
    port.SetRTS();
    w32::Sleep(100);
    port.ResetRTS();  // the chip starts
    if (result != BOARD_OK) {
        objects.PostError();
        return JobOutcome::Failed;
    }
    return JobOutcome::Done;
}

}  // namespace

JobOutcome WriteJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Write Error");
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    HWND window = job.statusWindow;
    device_rules::SetChipType(objects.m_chip, device);
    device_rules::SetMemorySelector(objects.m_chip, job, device_rules::Transfer::Write);
    if (device == 164 && run.Ask(IProgrammingQuestions::kEraseFlashFirst)) {
        if (objects.m_board.Erase(port) != BOARD_OK) {
            PostText(window, kStatusErrorText, "Erase error ");
            return JobOutcome::Failed;
        }
        PostText(window, kStatusInfoText, "Erase success ");
    }
    if (device_rules::IsPic(device) && job.memoryKind == kMemorySpecial) {
        PrepareSpecialArea(run, job, objects);
    }
    w32::Sleep(100);
    objects.SetText("Write Error");
    if (device == 169 && job.memoryKind == kMemoryData) {
        job.startCell = 16;  // the Kestrix data lie behind its 16 ID bytes
    }
    const DWORD start = job.startCell;
    const bool words = device_rules::IsWordArea(job);
    JobOutcome outcome = WalkBlocks(run, job, start, [&](const CellBlock& block) {
        if (WriteBlockOf(run, job, objects, start, block) != BOARD_OK) {
            return false;
        }
        DWORD done = block.closedAt + 1;
        PostStatus(window, kStatusPosition, static_cast<LPARAM>(words ? done / 2 : done));
        return true;
    });
    if (outcome == JobOutcome::Done && device == 254 && objects.m_memory.FlushBlocks(port)) {
        outcome = JobOutcome::Failed;
    }
    if (outcome == JobOutcome::Cancelled) {
        objects.LeaveLoaderMode(run);
        PostStatus(window, kStatusCancelled);
        return outcome;
    }
    if (outcome == JobOutcome::Failed) {
        objects.LeaveLoaderMode(run);
        objects.PostError();
        return outcome;
    }
    PostStatus(window, kStatusPosition, static_cast<LPARAM>(device_rules::CellCount(job)));
    if (device_rules::IsBootLoaderChip(device)) {
        return EndBootLoaderWrite(run, objects);
    }
    return JobOutcome::Done;
}
