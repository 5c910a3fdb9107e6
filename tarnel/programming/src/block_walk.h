// The blocks of a read, write or verify, and the byte order of the PIC word areas.
#pragma once

#include "job_run.h"
#include "programming_operations.h"

// At most this many cells go in one block, and no block crosses a 16-cell line of the address.
constexpr DWORD kBlockCells = 16;

// In the PIC code and special areas the two bytes of each word change places between the area
// buffer and the packet. `count` bytes from `from` go to `to`; an odd last byte has no partner and
// goes as it is. For blocks that start on a word (reads from the area's first cell).
void SwapWordBytes(const BYTE* from, BYTE* to, DWORD count);

// The packet of a write or verify block in a PIC word area. A word is the area's cells 2k and
// 2k+1 counted from the area's first cell, wherever the job starts in it, so the packet begins at
// the word holding the block's first cell (the cell before it when that cell is odd) and holds
// whole words: at most 16 cells, none past the word holding the job's last cell.
struct WordSpan {
    DWORD address;  // of the packet's first place, in the area
    DWORD places;
};
WordSpan WordSpanOf(DWORD start, DWORD jobSize, DWORD first);
// The job's cell (its buffer index) that travels in `place` of the span's packet, the word's
// other byte; false when that byte lies outside the job.
bool CellAtPlace(DWORD start, DWORD jobSize, const WordSpan& span, DWORD place, DWORD* cell);

// A run of counted cells: the first, how many, and the cell whose examination closed it.
struct CellBlock {
    DWORD first;
    DWORD count;
    DWORD closedAt;
};

// Walks the job's cells 0 to size - 1 with the start address `start`: a cell counts when the job
// has no marks or its mark is not 0. A block of counted cells is closed when it holds 16 cells,
// at the last cell of a 16-cell line of the address (start + cell), at the area's last cell, or
// at a cell that does not count (which is not part of it). `process(block)` sends or reads each
// block and answers false when it failed. The cancel word is tested after every cell.
template <class Process>
JobOutcome WalkBlocks(CJobRun& run, const JobRequest& job, DWORD start, Process process) {
    DWORD count = 0;
    DWORD first = 0;
    for (DWORD i = 0; i < job.size; ++i) {
        bool counted = job.marks == nullptr || job.marks[i] != 0;
        if (counted) {
            if (count == 0) {
                first = i;
            }
            ++count;
        }
        bool close = count > 0 && (!counted || count == kBlockCells || ((start + i) & 0xF) == 0xF ||
                                   i + 1 == job.size);
        if (close) {
            if (!process(CellBlock{first, count, i})) {
                return JobOutcome::Failed;
            }
            count = 0;
        }
        if (run.Cancelled(job)) {
            return JobOutcome::Cancelled;
        }
    }
    return JobOutcome::Done;
}
