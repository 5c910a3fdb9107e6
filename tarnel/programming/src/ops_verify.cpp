// Comparing the job's counted cells with the chip, block by block; every differing cell is posted.
#include <cstring>

#include "block_walk.h"
#include "device_rules.h"
#include "job_objects.h"
#include "programming_operations.h"

namespace {

// Reads back the block into `chip`; `*cells` is how many cells it covers (a PIC data block: the
// 16 cells from its first, but never past the end of the area). A PIC word block is read as its
// WordSpan and each of the block's cells taken from its word.
int ReadBackBlock(CJobRun& run, JobRequest& job, JobObjects& objects, DWORD start,
                  const CellBlock& block, BYTE* chip, DWORD* cells) {
    CComms& port = run.Port();
    BYTE device = objects.m_device;
    WORD address = static_cast<WORD>(start + block.first);
    *cells = block.count;
    if (device == 160 || device == 161) {
        return objects.m_chip.ReadBlock(port, address, block.count, chip);
    }
    if (device == 169) {
        // The board compares on its side and answers with the chip's bytes.
        std::memcpy(chip, job.area + block.first, block.count);
        return objects.m_chip.CompareBlock(port, address, block.count, chip);
    }
    if (device == 162) {
        return objects.m_eeprom.ReadBlock(port, address, block.count, chip);
    }
    if (device == 164) {
        return objects.m_board.ReadBlock(port, address, block.count, chip);
    }
    if (device_rules::IsBootLoaderChip(device)) {
        int result = objects.m_chip.ReadRecord(port, address, block.count, chip, objects.Text());
        if (result != BOARD_OK) {
            objects.m_chip.ResetToRun(port);  // every boot-loader chip starts again
        }
        return result;
    }
    if (device_rules::IsMemoryBoard(device)) {
        port.SetTimeOut(100);
        return objects.m_memory.ReadBlock(port, start + block.first, static_cast<WORD>(block.count),
                                          chip);
    }
    if (device_rules::IsPic(device)) {
        BYTE packet[32];
        int result;
        if (job.memoryKind == kMemoryData) {
            DWORD left = job.size - block.first;
            *cells = left < kBlockCells ? left : kBlockCells;
            result = objects.m_chip.ReadBlock(port, address, *cells * 2, packet);
            for (DWORD j = 0; j < *cells; ++j) {
                chip[j] = packet[2 * j];
            }
        } else {
            const WordSpan span = WordSpanOf(start, job.size, block.first);
            result = objects.m_chip.ReadBlock(port, static_cast<WORD>(span.address), span.places,
                                              packet);
            for (DWORD place = 0; place < span.places; ++place) {
                DWORD cell = 0;
                if (CellAtPlace(start, job.size, span, place, &cell) && cell >= block.first &&
                    cell < block.first + block.count) {
                    chip[cell - block.first] = packet[place];
                }
            }
        }
        return result;
    }
    return BOARD_LINE_FAILED;
}

// The PIC's calibration bytes (places 12 and 13 of the special area) never differ: they are taken
// from the chip first. Not when that read fails: its bytes are not the chip's.
void TakeCalibrationBytes(CJobRun& run, JobRequest& job, JobObjects& objects) {
    if (job.size < 16) {
        return;
    }
    BYTE chip[16];
    BYTE selector = objects.m_chip.MemoryKind();
    objects.m_chip.SetMemoryKind(0xFF);
    int result = objects.m_chip.ReadBlock(run.Port(), 0, sizeof chip, chip);
    objects.m_chip.SetMemoryKind(selector);
    if (result == BOARD_OK) {
        job.area[12] = chip[13];
        job.area[13] = chip[12];
    }
}

}  // namespace

JobOutcome VerifyJob(CJobRun& run, JobRequest& job) {
    JobObjects objects(job, "Verify Error");
    BYTE device = objects.m_device;
    HWND window = job.statusWindow;
    device_rules::SetChipType(objects.m_chip, device);
    device_rules::SetMemorySelector(objects.m_chip, job, device_rules::Transfer::ReadOrVerify);
    const bool pic = device_rules::IsPic(device);
    if (pic && job.memoryKind == kMemorySpecial) {
        TakeCalibrationBytes(run, job, objects);
    }
    if (device == 169 && job.memoryKind == kMemoryData) {
        job.startCell = 16;
    }
    const DWORD start = job.startCell;
    const bool words = device_rules::IsWordArea(job);
    const DWORD areaCode = device_rules::MismatchAreaCode(job.memoryKind) << 24;
    DWORD differences = 0;
    JobOutcome outcome = WalkBlocks(run, job, start, [&](const CellBlock& block) {
        BYTE chip[32];
        DWORD cells = 0;
        if (ReadBackBlock(run, job, objects, start, block, chip, &cells) != BOARD_OK) {
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
            DWORD index = pic && job.memoryKind == kMemorySpecial ? cell / 2 : cell;
            PostStatus(window, kStatusMismatch, static_cast<LPARAM>(areaCode | index));
            if (pic && job.memoryKind == kMemoryCode) {
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
        objects.LeaveLoaderMode(run);
        return outcome;
    }
    if (outcome == JobOutcome::Failed) {
        objects.PostError();
        return outcome;
    }
    PostStatus(window, kStatusPosition, static_cast<LPARAM>(device_rules::CellCount(job)));
    PostStatus(window, kStatusDifferences, static_cast<LPARAM>(differences));
    objects.LeaveLoaderMode(run);
    // Cells that did not compare fail this verify only: the areas after it are still compared.
    return differences == 0 ? JobOutcome::Done : JobOutcome::Differed;
}
